#include "app/ShellOpen.h"

#include "platform/Process.h"
#include "platform/Terminal.h"

#include <wx/log.h>
#include <wx/mimetype.h>
#include <wx/utils.h>

#include <cstdlib>

namespace {

std::function<void(const std::string&)> g_hook;

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
    // xdg-open, as wx would use, but with the user's own environment.
    const char* path = std::getenv("PATH");
    platform::SpawnRequest request;
    request.argv = {platform::FindProgram("xdg-open", path ? path : "/usr/bin:/bin"), target};
    if (request.argv[0].find('/') != std::string::npos && platform::SpawnDetached(request) == 0)
        return;
    wxLogNull quiet; // the shell's failure is not reported
    wxString t = wxString::FromUTF8(target);
    if (t.StartsWith("http://") || t.StartsWith("https://"))
        wxLaunchDefaultBrowser(t);
    else
        wxLaunchDefaultApplication(t);
}

bool OpenTerminal()
{
    // The same terminal, with its own arguments, as the console runs get.
    std::vector<std::string> terminal = platform::UserTerminal();
    if (terminal.empty())
        return false;
    if (g_hook) {
        std::string what = "terminal:" + terminal[0];
        for (size_t i = 1; i < terminal.size(); ++i)
            what += " " + terminal[i];
        g_hook(what);
        return true;
    }
    // No working folder given: the terminal starts in the program's own.
    return platform::OpenTerminal({}, nullptr) == 0;
}
