// Starting programs without a shell: argv, working directory, environment
// and standard handles are given explicitly. Used by the process runner and
// for programs the IDE starts and forgets (terminals).
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

// Standard handle choices besides a descriptor of the caller's.
inline constexpr int kStdNull = -1;    // /dev/null
inline constexpr int kStdInherit = -2; // the caller's own handle

struct SpawnRequest {
    std::vector<std::string> argv;  // argv[0] is the program; see FindProgram
    std::string workDir;            // empty: the caller's current folder
    const std::vector<std::string>* environment = nullptr; // "NAME=value"; null: CurrentEnvironment()
    int stdinFd = kStdNull;
    int stdoutFd = kStdInherit;
    int stderrFd = kStdInherit;
    bool newProcessGroup = true;    // the child leads a process group of its own
};

// The program file for argv[0]: a name with a slash is made absolute against
// the current folder; a bare name is looked up in the folders of pathVar (the
// first executable regular file wins). A bare name that is not found comes
// back unchanged, so that the start fails with ENOENT.
std::string FindProgram(const std::string& name, const std::string& pathVar);

// Starts the program and returns 0 with *pid set, or the errno of the failure
// (ENOENT: no such program or folder, EACCES: not executable or a folder,
// ENOTDIR ...). The child gets a default signal mask and dispositions and no
// descriptor of the caller beyond its three standard handles. The caller must
// reap the child.
int Spawn(const SpawnRequest& request, pid_t* pid);

// Starts the program detached (it is not a child of the caller, so nothing
// needs to wait for it) and returns 0 or the errno of the failure, including a
// failure of the program's exec.
int SpawnDetached(const SpawnRequest& request);

// Whether the process group holds a process that has not ended, other than
// `except` (a zombie counts as ended). Yes, no, or unknown when the process
// table cannot be read.
enum class GroupState { Empty, Members, Unknown };
GroupState ProcessGroupState(pid_t pgid, pid_t except);

// The environment children get: this process's, as "NAME=value" entries,
// with every variable changed by SetOwnVariable as it was before.
std::vector<std::string> CurrentEnvironment();

// Sets (value null: removes) a variable for this process alone; children
// started with CurrentEnvironment() or a null SpawnRequest::environment keep
// the user's value. For start-up, before other threads run.
void SetOwnVariable(const std::string& name, const char* value);

// The environment with the variable set to value (every earlier entry of that
// name replaced by one entry, or the entry appended).
std::vector<std::string> WithVariable(std::vector<std::string> environment,
                                      const std::string& name, const std::string& value);

// The value of a variable in an environment, or null when it is missing.
const char* FindVariable(const std::vector<std::string>& environment, const std::string& name);

} // namespace platform
