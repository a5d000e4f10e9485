// Test helpers for processes a program under test started: pids written to a
// file by the processes themselves, and whether a process has ended (a zombie
// waiting for its parent counts as ended).
#pragma once

#include <string>
#include <vector>

namespace kibtest {

// The numbers in a file, one a line (missing file: none).
std::vector<int> ReadPids(const std::string& path);

// True when no process has the pid, or it is a zombie.
bool ProcessEnded(int pid);

// Waits up to ms for every pid to have ended; true when all have.
bool WaitProcessesEnded(const std::vector<int>& pids, int ms);

} // namespace kibtest
