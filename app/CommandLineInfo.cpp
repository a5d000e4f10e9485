#include "app/CommandLineInfo.h"

#include <strings.h>

void CCommandLineInfo::Parse(const std::vector<std::string>& args)
{
    for (const std::string& a : args) {
        // Paths start with "/" here: a slash makes a flag only when one of
        // the shell's flag names follows.
        if (a.size() > 1 && (a[0] == '-' || (a[0] == '/' && IsKnownFlag(a.substr(1)))))
            ParseFlag(a.substr(1));
        else
            ParseParam(a);
    }
    if (m_shellCommand == FileNew && !m_fileName.empty())
        m_shellCommand = FileOpen;
}

bool CCommandLineInfo::IsKnownFlag(const std::string& flag)
{
    return flag == "p" || flag == "pt" || flag == "dde" || strcasecmp(flag.c_str(), "Embedding") == 0 ||
           strcasecmp(flag.c_str(), "Automation") == 0 || strcasecmp(flag.c_str(), "Unregister") == 0 ||
           strcasecmp(flag.c_str(), "Unregserver") == 0;
}

void CCommandLineInfo::ParseFlag(const std::string& flag)
{
    // "p", "pt" and "dde" only in this letter case; the others in any case.
    if (flag == "p") {
        m_shellCommand = FilePrint;
    } else if (flag == "pt") {
        m_shellCommand = FilePrintTo;
    } else if (flag == "dde") {
        m_shellCommand = FileDDE;
    } else if (strcasecmp(flag.c_str(), "Embedding") == 0) {
        m_runEmbedded = true;
        m_showSplash = false;
    } else if (strcasecmp(flag.c_str(), "Automation") == 0) {
        m_runAutomated = true;
        m_showSplash = false;
    } else if (strcasecmp(flag.c_str(), "Unregister") == 0 ||
               strcasecmp(flag.c_str(), "Unregserver") == 0) {
        m_shellCommand = AppUnregister;
    }
}

void CCommandLineInfo::ParseParam(const std::string& param)
{
    if (m_fileName.empty())
        m_fileName = param;
    else if (m_shellCommand == FilePrintTo && m_printerName.empty())
        m_printerName = param;
    else if (m_shellCommand == FilePrintTo && m_driverName.empty())
        m_driverName = param;
    else if (m_shellCommand == FilePrintTo && m_portName.empty())
        m_portName = param;
    // further file names are ignored
}
