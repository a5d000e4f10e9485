// The command lines of the JDK tools: compiling a source file, running its
// class captured or in a terminal, and the applet viewer on the generated
// page; plus the child environment and the applet page itself.
#pragma once

#include "toolchain/ChildConsole.h"

#include <string>
#include <vector>

class CSettings;

namespace toolchain {

// Where a source file lives and what its class is called.
struct CSourceLocation {
    std::string path;      // the full path as given
    std::string folder;    // its folder without the trailing separator ("/" for the root)
    std::string name;      // the file name without extension: the class name
    std::string fileName;  // name and extension
};
CSourceLocation LocateSource(const std::string& sourcePath);

// The IDE's own CLASSPATH, empty when it is not set.
std::string IdeClassPath();

// What compiler and interpreter get: this process's environment with
// CLASSPATH set to classPath (present even when empty), and a UTF-8 console
// where the locale would give the child ASCII only (see Utf8Console).
std::vector<std::string> ChildEnvironment(const std::string& classPath);
// The same with what the child writes its output in.
CChildConsole ChildConsoleFor(const std::string& classPath);

// The class path of the command line: the quoted pieces joined with the
// platform's list separator ("a":"b":"c").
std::string ClassPathArgument(const std::vector<std::string>& pieces);

struct CCompileCommand {
    std::string commandLine; // for CProcessRunner::StartChild
    std::string workDir;     // the source folder
    std::string sourceEncoding; // the -encoding given, "" for none
};

// "<compiler>"  -classpath "<CLASSPATH>":"<folder>":"<extra>" -sourcepath
// "<folder>", then "-encoding <sourceEncoding>" when one is given, -g, -O,
// -nowarn, -verbose, -deprecation as switched on, -d "<destination>" when
// set, and the quoted source file.
CCompileCommand BuildCompileCommand(const CSettings& settings, const std::string& sourcePath,
                                    const std::string& ideClassPath,
                                    const std::string& sourceEncoding = {});

struct CRunCommand {
    bool captured = false;   // output into the program pane through the runner
    std::string className;
    std::string workDir;     // the source folder
    // Captured: "<java>" -classpath "<CLASSPATH>":"<extra>":"<folder>" "<class>" <arguments>
    std::string commandLine;
    // In a terminal: the same as argv (the arguments split as a command line),
    // run by the terminal's shell with every word quoted.
    std::vector<std::string> consoleCommand;
    bool keepOpen = false;   // the terminal stays open with a shell afterwards
    // The /bin/sh script the terminal runs.
    std::string ConsoleScript() const;
};

// arguments are the text typed for the run, put into the command line as typed.
CRunCommand BuildRunCommand(const CSettings& settings, const std::string& sourcePath,
                            const std::string& arguments, const std::string& ideClassPath);

struct CAppletCommand {
    std::string pagePath;    // <folder>/<name>.html
    std::string pageName;    // <name>.html, relative to workDir
    std::string name;        // the file name without extension
    std::string workDir;     // the source folder
    std::vector<std::string> consoleCommand; // <viewer> <name>.html
    bool keepOpen = true;
    std::string ConsoleScript() const;
};
CAppletCommand BuildAppletCommand(const CSettings& settings, const std::string& sourcePath);

// The generated applet page for a class name, byte for byte.
std::string AppletPageText(const std::string& name);
// Writes the page (replacing it atomically); false with *err set on failure.
bool WriteAppletPage(const CAppletCommand& applet, int* err = nullptr);

// Starts a console command in a terminal; 0 or an errno.
int StartConsoleCommand(const std::vector<std::string>& command, const std::string& workDir,
                        bool keepOpen, const std::vector<std::string>& environment);

} // namespace toolchain
