// Helpers for the editor tests: a view that records the notices it gets, the
// lines of a buffer as strings, and running a check as an unprivileged user
// (permission bits do not stop root).
#pragma once

#include "editor/TextBuffer.h"

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

namespace edtest {

struct Notice {
    std::string view;
    CTextBufferListener* source;
    bool hasChange;
    TextChange::Kind kind;
    TextPos start, end;
    uint32_t flags;
    int line;
};

// Records notices into a log shared by several views (to see their order)
// and moves a caret with every change notice.
class CRecordingView : public CTextBufferListener {
public:
    CRecordingView(std::string name, std::vector<Notice>* log) : m_name(std::move(name)), m_log(log) {}

    void OnBufferChange(CTextBufferListener* source, const TextChange* change, uint32_t flags,
                        int line) override
    {
        Notice n{m_name, source, change != nullptr, change ? change->kind : TextChange::Insertion,
                 change ? change->start : TextPos::None(), change ? change->end : TextPos::None(),
                 flags, line};
        m_log->push_back(n);
        if (change)
            change->AdjustPosition(caret);
    }
    void AfterEditGroup(int action, const std::string& text) override
    {
        afterEdit.emplace_back(action, text);
        if (onAfterEdit)
            onAfterEdit(action, text);
    }

    TextPos caret;
    std::vector<std::pair<int, std::string>> afterEdit;
    std::function<void(int, const std::string&)> onAfterEdit;

private:
    std::string m_name;
    std::vector<Notice>* m_log;
};

inline std::vector<std::string> Lines(const CTextBuffer& b)
{
    std::vector<std::string> v;
    for (int i = 0; i < b.LineCount(); ++i)
        v.emplace_back(b.LineText(i));
    return v;
}

inline void Load(CTextBuffer& b, std::string_view bytes, int style = -1)
{
    if (!b.LoadFromMemory(bytes, style))
        throw std::runtime_error("LoadFromMemory failed");
}

// Exit code of RunUnprivileged when root could not become "nobody".
inline constexpr int kCannotDropRoot = 99;

// Runs check in a child process as the user "nobody" when this process is
// root (else as this user) and returns its exit code; -1 when it could not
// run. check must not use gtest assertions; it reports through its result.
inline int RunUnprivileged(const std::function<int()>& check)
{
    pid_t pid = fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(kCannotDropRoot);
        _exit(check());
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace edtest

// For tests that need permission bits to bite: runs check unprivileged and
// skips (with the reason) when root cannot drop its privileges here.
#define EXPECT_UNPRIVILEGED_OK(...)                                                                     \
    do {                                                                                              \
        const int rc_ = edtest::RunUnprivileged(__VA_ARGS__);                                              \
        if (rc_ == edtest::kCannotDropRoot)                                                           \
            GTEST_SKIP() << "running as root and cannot switch to user nobody, so permission bits "   \
                            "cannot be tested here";                                                  \
        EXPECT_EQ(rc_, 0) << "the unprivileged check failed at step " << rc_;                         \
    } while (0)
