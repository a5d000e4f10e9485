#include "toolchain/JavaCommands.h"

#include "platform/AtomicFile.h"
#include "platform/CommandLine.h"
#include "platform/LocaleCodeset.h"
#include "platform/Path.h"
#include "platform/Process.h"
#include "platform/Terminal.h"
#include "settings/Settings.h"

#include <cstdlib>

namespace toolchain {

using platform::QuoteArgument;

CSourceLocation LocateSource(const std::string& sourcePath)
{
    CSourceLocation loc;
    loc.path = sourcePath;
    platform::SplitPathResult parts = platform::SplitPath(sourcePath);
    std::string folder = parts.drive + parts.dir;
    // Drop the trailing separator, but a file in the root keeps the root.
    while (folder.size() > 1 && platform::IsPathSeparator(folder.back()))
        folder.pop_back();
    loc.folder = folder;
    loc.name = parts.fname;
    loc.fileName = parts.fname + parts.ext;
    return loc;
}

std::string IdeClassPath()
{
    const char* cp = std::getenv("CLASSPATH");
    return cp ? cp : "";
}

std::vector<std::string> ChildEnvironment(const std::string& classPath)
{
    return ChildConsoleFor(classPath).environment;
}

CChildConsole ChildConsoleFor(const std::string& classPath)
{
    return Utf8Console(platform::WithVariable(platform::CurrentEnvironment(), "CLASSPATH", classPath),
                       &platform::CodesetOfLocale);
}

std::string ClassPathArgument(const std::vector<std::string>& pieces)
{
    std::string out;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i)
            out.push_back(platform::kListSeparator);
        out += QuoteArgument(pieces[i]);
    }
    return out;
}

CCompileCommand BuildCompileCommand(const CSettings& s, const std::string& sourcePath,
                                    const std::string& ideClassPath, const std::string& sourceEncoding)
{
    CSourceLocation loc = LocateSource(sourcePath);
    std::string line = QuoteArgument(s.m_compilerPath) + "  -classpath " +
                       ClassPathArgument({ideClassPath, loc.folder, s.m_classPath}) +
                       " -sourcepath " + QuoteArgument(loc.folder);
    if (!sourceEncoding.empty())
        line += " -encoding " + sourceEncoding;
    if (s.m_debugInfo)
        line += " -g";
    if (s.m_optimize)
        line += " -O";
    if (s.m_noWarnings)
        line += " -nowarn";
    if (s.m_status)
        line += " -verbose";
    if (s.m_deprecated)
        line += " -deprecation";
    if (s.m_setDestinationPath)
        line += " -d " + QuoteArgument(s.m_destinationPath);
    line += " " + QuoteArgument(sourcePath);
    return {line, loc.folder, sourceEncoding};
}

std::string CRunCommand::ConsoleScript() const
{
    return platform::BuildTerminalScript(consoleCommand, workDir, keepOpen);
}

CRunCommand BuildRunCommand(const CSettings& s, const std::string& sourcePath,
                            const std::string& arguments, const std::string& ideClassPath)
{
    CSourceLocation loc = LocateSource(sourcePath);
    CRunCommand run;
    run.captured = s.m_captureOutput == 1;
    run.className = loc.name;
    run.workDir = loc.folder;
    run.keepOpen = s.m_stopAfterRun != 0;
    run.commandLine = QuoteArgument(s.m_interpreterPath) + " -classpath " +
                      ClassPathArgument({ideClassPath, s.m_classPath, loc.folder}) + " " +
                      QuoteArgument(loc.name) + " " + arguments;
    // The same class path unquoted: in the terminal it is one shell-quoted word.
    std::string classPath = ideClassPath + platform::kListSeparator + s.m_classPath +
                            platform::kListSeparator + loc.folder;
    run.consoleCommand = {s.m_interpreterPath, "-classpath", classPath, loc.name};
    for (std::string& word : platform::SplitCommandLine(arguments))
        run.consoleCommand.push_back(std::move(word));
    return run;
}

std::string CAppletCommand::ConsoleScript() const
{
    return platform::BuildTerminalScript(consoleCommand, workDir, keepOpen);
}

CAppletCommand BuildAppletCommand(const CSettings& s, const std::string& sourcePath)
{
    CSourceLocation loc = LocateSource(sourcePath);
    CAppletCommand applet;
    platform::SplitPathResult parts = platform::SplitPath(sourcePath);
    applet.pagePath = parts.drive + parts.dir + parts.fname + ".html";
    applet.pageName = loc.name + ".html";
    applet.name = loc.name;
    applet.workDir = loc.folder;
    applet.consoleCommand = {s.m_appletViewerPath, applet.pageName};
    applet.keepOpen = true;
    return applet;
}

std::string AppletPageText(const std::string& name)
{
    return "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\n"
           "<html><head><title>KIB started applet</title></head><body>\n"
           "<applet code=\"" +
           name + ".class\" width=100 height=100></applet></body></html>";
}

bool WriteAppletPage(const CAppletCommand& applet, int* err)
{
    return platform::AtomicWriteFile(applet.pagePath, AppletPageText(applet.name), err);
}

int StartConsoleCommand(const std::vector<std::string>& command, const std::string& workDir,
                        bool keepOpen, const std::vector<std::string>& environment)
{
    return platform::StartInTerminal(command, workDir, keepOpen, &environment);
}

} // namespace toolchain
