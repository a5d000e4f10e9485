// Opening documents and web pages with the desktop's default programs, and a
// terminal window, without any message on failure.
#pragma once

#include <functional>
#include <string>

// Opens a file or an address ("http..." goes to the browser).
void ShellOpen(const std::string& target);
// Opens the user's terminal (platform::UserTerminal) in the program's current
// folder; false when none could be started.
bool OpenTerminal();

// Tests see what would be opened instead of starting programs; an empty
// function restores the real behaviour. what is "open:<target>" or
// "terminal:<program> <its arguments>" (separated by blanks).
void SetShellOpenHook(std::function<void(const std::string& what)> hook);
