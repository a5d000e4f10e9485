// "Eigenschaften...": a small window of Kib's own with a file's or folder's
// path, type, size, modification time, permissions and owner (this platform
// has no shell property sheet). Not modal; it closes with its button.
#pragma once

#include <wx/dialog.h>

#include <string>

class CFilePropertiesWindow : public wxDialog {
public:
    // Shows a new window for path over parent and returns it.
    static CFilePropertiesWindow* Show(wxWindow* parent, const std::string& path);

    // The rows as shown: label and value (tests read them).
    const std::vector<std::pair<wxString, wxString>>& Rows() const { return m_rows; }

    // The pieces, for tests: "rwxr-x--- (0750)" and the type's text.
    static wxString PermissionText(unsigned mode);

private:
    CFilePropertiesWindow(wxWindow* parent, const std::string& path);

    std::vector<std::pair<wxString, wxString>> m_rows;
};
