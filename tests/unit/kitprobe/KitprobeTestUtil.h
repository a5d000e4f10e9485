// Helpers for the Kitprobe tests: building folder trees with fake JDKs, and
// running a piece of a test in a child process (unprivileged, or in a mount
// namespace of its own) with its answer handed back as text.
#pragma once

#include <functional>
#include <string>

namespace kptest {

void MakeDirs(const std::string& path, unsigned mode = 0755);
// A file with the given mode (0755: an executable program).
void MakeFile(const std::string& path, unsigned mode = 0755);
void MakeLink(const std::string& target, const std::string& link);

enum class EChild { Ok, Skipped, Failed };

struct ChildResult {
    EChild status = EChild::Failed;
    std::string text; // what the child returned, or why it was skipped
};

// Runs fn in a forked child and returns its text. fn may call Skip(why) to
// report that the child could not set up what the test needs.
ChildResult RunInChild(const std::function<std::string()>& fn);
[[noreturn]] void Skip(const std::string& why);

// Drops root rights to "nobody" (permission bits then apply); false when
// that is not possible. Only for use inside RunInChild.
bool BecomeNobody();
// Moves the child into a private mount namespace; false when not allowed.
bool EnterPrivateMountNamespace();

} // namespace kptest
