// Tells the user, once per event and session, that a save of kibparam.xml or
// kibfiles.xml kept a file it could not read as a backup, or wrote nothing
// because what lies at the file's place is not Kib's to replace.
#pragma once

#include <set>
#include <string>

class wxWindow;
struct CParamSaveReport;

class CSettingsFileNotice {
public:
    // Shows the report's message through the user dialogs when it needs
    // telling and this was not told before; parent may be null.
    void Report(wxWindow* parent, const std::string& path, const CParamSaveReport& report);

private:
    std::set<std::string> m_told;
};
