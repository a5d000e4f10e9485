#include "support/ProcessCheck.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace kibtest {

std::vector<int> ReadPids(const std::string& path)
{
    std::vector<int> pids;
    std::ifstream in(path);
    int pid;
    while (in >> pid)
        pids.push_back(pid);
    return pids;
}

bool ProcessEnded(int pid)
{
    if (pid <= 0)
        return true;
    if (kill(pid, 0) != 0 && errno == ESRCH)
        return true;
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return true; // gone between the two looks
    std::istringstream fields(stat.substr(close + 1));
    char state = 0;
    fields >> state;
    return state == 'Z' || state == 'X';
}

bool WaitProcessesEnded(const std::vector<int>& pids, int ms)
{
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        bool all = true;
        for (int pid : pids)
            all = all && ProcessEnded(pid);
        if (all)
            return true;
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace kibtest
