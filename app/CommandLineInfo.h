// The program's command line: one optional file name and the shell flags
// /p, /pt, /dde, /Automation, /Embedding, /Unregister and /Unregserver.
#pragma once

#include <string>
#include <vector>

class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister };

    // args without the program name.
    void Parse(const std::vector<std::string>& args);

    ShellCommand m_shellCommand = FileNew;
    bool m_showSplash = true;     // false after Embedding or Automation
    bool m_runEmbedded = false;
    bool m_runAutomated = false;
    std::string m_fileName;       // the first argument that is no flag
    std::string m_printerName;    // after /pt
    std::string m_driverName;
    std::string m_portName;

    // One of the shell's flag names (without "/" or "-").
    static bool IsKnownFlag(const std::string& flag);

private:
    void ParseFlag(const std::string& flag);
    void ParseParam(const std::string& param);
};
