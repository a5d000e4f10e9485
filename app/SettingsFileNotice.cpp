#include "app/SettingsFileNotice.h"

#include "app/UserDialogs.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"
#include "settings/ParamSaveReport.h"

#include <wx/msgdlg.h>

void CSettingsFileNotice::Report(wxWindow* parent, const std::string& path,
                                 const CParamSaveReport& report)
{
    if (!report.NeedsTelling())
        return;
    // A refusal recurs with every save; a backup is made once per damage.
    std::string key = path + '\n' + std::to_string(report.outcome) + '\n' +
                      std::to_string(static_cast<int>(report.found)) + '\n' + report.backup;
    if (!m_told.insert(key).second)
        return;
    const std::string bytes = report.Text(path);
    wxString text = wxString::FromUTF8(bytes);
    if (text.empty())
        text = wxString(bytes.c_str(), wxConvISO8859_1);
    long icon = report.outcome == CParamSaveReport::REFUSED ? wxICON_ERROR : wxICON_WARNING;
    UserDialogs().MessageBox(parent, text, kib::KibText(kib::IDS_MSGBOX_CAPTION), wxOK | icon);
}
