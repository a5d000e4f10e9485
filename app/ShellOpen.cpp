#include "app/ShellOpen.h"

#include <wx/log.h>
#include <wx/mimetype.h>
#include <wx/utils.h>

#include <cstdlib>
#include <sstream>
#include <unistd.h>

namespace {

std::function<void(const std::string&)> g_hook;

// The program's full path when it is on PATH (or given with a slash).
std::string FindProgram(const std::string& name)
{
    if (name.empty())
        return {};
    if (name.find('/') != std::string::npos)
        return access(name.c_str(), X_OK) == 0 ? name : std::string();
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

} // namespace

void SetShellOpenHook(std::function<void(const std::string& what)> hook)
{
    g_hook = std::move(hook);
}

void ShellOpen(const std::string& target)
{
    if (g_hook) {
        g_hook("open:" + target);
        return;
    }
    wxLogNull quiet; // the shell's failure is not reported
    wxString t = wxString::FromUTF8(target);
    if (t.StartsWith("http://") || t.StartsWith("https://"))
        wxLaunchDefaultBrowser(t);
    else
        wxLaunchDefaultApplication(t);
}

bool OpenTerminal()
{
    std::string program;
    if (const char* term = std::getenv("TERMINAL"))
        program = FindProgram(term);
    if (program.empty())
        program = FindProgram("x-terminal-emulator");
    if (program.empty())
        program = FindProgram("xterm");
    if (program.empty())
        return false;
    if (g_hook) {
        g_hook("terminal:" + program);
        return true;
    }
    wxLogNull quiet;
    // No shell between: the program path is the whole argument vector.
    const char* argv[] = {program.c_str(), nullptr};
    // The terminal starts in the program's current folder (inherited).
    return wxExecute(argv, wxEXEC_ASYNC) > 0;
}
