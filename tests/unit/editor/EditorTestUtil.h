// Helpers for the editor tests: a view that records the notices it gets, the
// lines of a buffer as strings, and running a check as an unprivileged user
// (permission bits do not stop root).
#pragma once

#include "editor/TextBuffer.h"
#include "support/Unprivileged.h"

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

} // namespace edtest

