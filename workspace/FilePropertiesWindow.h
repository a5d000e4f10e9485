// "Eigenschaften...": a small window of Kib's own with a file's or folder's
// path, type, size, modification time, permissions and owner (this platform
// has no shell property sheet). Not modal; it closes with its button.
#pragma once

#include <wx/dialog.h>

#include <string>
#include <utility>
#include <vector>

class CFilePropertiesWindow : public wxDialog {
public:
    // Shows a new window for path over parent and returns it; what cannot
    // be found out within timeoutMs is shown as unreadable.
    static CFilePropertiesWindow* Show(wxWindow* parent, const std::string& path, int timeoutMs = 300);

    // The rows as shown: label and value (tests read them).
    const std::vector<std::pair<wxString, wxString>>& Rows() const { return m_rows; }

    // "rwxr-x--- (0750)".
    static wxString PermissionText(unsigned mode);

private:
    CFilePropertiesWindow(wxWindow* parent, const std::string& path, int timeoutMs);

    std::vector<std::pair<wxString, wxString>> m_rows;
};
