// Runs a check in a child process as the user "nobody" when the tests run as
// root, so that permission bits bite as they do for a normal user.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace kibtest {

// Exit code of RunUnprivileged when root could not become "nobody".
inline constexpr int kCannotDropRoot = 99;

// Runs check in a child as "nobody" when this process is root (else as this
// user) and returns its exit code; -1 when it could not run. check must not
// use gtest assertions; it reports through its result (0 for success).
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

} // namespace kibtest

// For tests that need permission bits to bite: runs the check unprivileged and
// skips (with the reason) when root cannot drop its privileges here.
#define EXPECT_UNPRIVILEGED_OK(...)                                                                \
    do {                                                                                           \
        const int rc_ = kibtest::RunUnprivileged(__VA_ARGS__);                                     \
        if (rc_ == kibtest::kCannotDropRoot)                                                       \
            GTEST_SKIP() << "running as root and cannot switch to user nobody, so permission "     \
                            "bits cannot be tested here";                                          \
        EXPECT_EQ(rc_, 0) << "the unprivileged check failed at step " << rc_;                      \
    } while (0)
