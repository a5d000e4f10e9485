#include "platform/Terminal.h"

#include "platform/CommandLine.h"
#include "platform/Process.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool Runnable(const std::string& path)
{
    struct stat st {};
    return path.find('/') != std::string::npos && stat(path.c_str(), &st) == 0 &&
           S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string PathVariable()
{
    const char* p = std::getenv("PATH");
    return p ? p : "/usr/local/bin:/usr/bin:/bin";
}

} // namespace

std::vector<std::string> FindTerminal(const char* terminalVar, const std::string& pathVar)
{
    if (terminalVar && *terminalVar) {
        std::vector<std::string> words = SplitCommandLine(terminalVar);
        if (!words.empty()) {
            words[0] = FindProgram(words[0], pathVar);
            if (Runnable(words[0]))
                return words;
        }
    }
    for (const char* name : {"x-terminal-emulator", "xterm"}) {
        std::string program = FindProgram(name, pathVar);
        if (Runnable(program))
            return {program};
    }
    return {};
}

std::vector<std::string> UserTerminal()
{
    return FindTerminal(std::getenv("TERMINAL"), PathVariable());
}

std::string BuildTerminalScript(const std::vector<std::string>& command, const std::string& workDir,
                                bool keepOpen)
{
    std::string script;
    if (!workDir.empty())
        script = "cd -- " + ShellQuote(workDir);
    if (!command.empty()) {
        if (!script.empty())
            script += " && ";
        for (size_t i = 0; i < command.size(); ++i) {
            if (i)
                script.push_back(' ');
            script += ShellQuote(command[i]);
        }
    }
    if (keepOpen) {
        if (!script.empty())
            script += "; ";
        script += "exec \"${SHELL:-/bin/sh}\" -i";
    }
    return script;
}

std::vector<std::string> TerminalArgv(const std::vector<std::string>& terminal,
                                      const std::string& script)
{
    std::vector<std::string> argv = terminal;
    argv.insert(argv.end(), {"-e", "/bin/sh", "-c", script});
    return argv;
}

int StartInTerminal(const std::vector<std::string>& command, const std::string& workDir,
                    bool keepOpen, const std::vector<std::string>* environment)
{
    std::vector<std::string> terminal = UserTerminal();
    if (terminal.empty())
        return ENOENT;
    SpawnRequest request;
    request.argv = TerminalArgv(terminal, BuildTerminalScript(command, workDir, keepOpen));
    request.workDir = workDir;
    request.environment = environment;
    return SpawnDetached(request);
}

int OpenTerminal(const std::string& workDir, const std::vector<std::string>* environment)
{
    std::vector<std::string> terminal = UserTerminal();
    if (terminal.empty())
        return ENOENT;
    SpawnRequest request;
    request.argv = terminal;
    request.workDir = workDir;
    request.environment = environment;
    return SpawnDetached(request);
}

} // namespace platform
