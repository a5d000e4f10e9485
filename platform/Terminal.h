// The console window of a command: the user's terminal emulator running
// /bin/sh with a script in which every value is shell-quoted. "Keep open"
// leaves an interactive shell behind the command (cmd /K); otherwise the
// window closes when the command ends (cmd /C).
#pragma once

#include <string>
#include <vector>

namespace platform {

// The terminal program with its own leading arguments: $TERMINAL (split
// into words as a command line) when it names a program that exists, else
// x-terminal-emulator, else xterm, each looked up in pathVar. Empty when none
// is found.
std::vector<std::string> FindTerminal(const char* terminalVar, const std::string& pathVar);
// FindTerminal on this process's $TERMINAL and PATH: the one lookup behind
// every console window Kib opens.
std::vector<std::string> UserTerminal();

// "cd -- 'dir' && 'prog' 'arg' ...", then, with keepOpen, an interactive
// shell. An empty workDir leaves out the cd; an empty command with keepOpen
// gives the shell alone.
std::string BuildTerminalScript(const std::vector<std::string>& command, const std::string& workDir,
                                bool keepOpen);

// The terminal's argv running "/bin/sh -c script" (the common -e convention).
std::vector<std::string> TerminalArgv(const std::vector<std::string>& terminal,
                                      const std::string& script);

// Starts the terminal detached, in workDir and with the environment given
// (null: this process's). Returns 0 or an errno; ENOENT when no terminal is
// found (UserTerminal() is empty).
int StartInTerminal(const std::vector<std::string>& command, const std::string& workDir,
                    bool keepOpen, const std::vector<std::string>* environment);

// A terminal with the user's shell and nothing else ("open a console").
int OpenTerminal(const std::string& workDir, const std::vector<std::string>* environment);

} // namespace platform
