// "Compilieren": the small window without buttons that names the file being
// compiled while the compiler runs. Modeless; the view that compiles owns it.
#pragma once

#include <wx/dialog.h>

#include <string>

class wxStaticText;

class CCompileProgressDialog : public wxDialog {
public:
    static constexpr int kFileTextId = 1005;

    // sourcePath: the full path (bytes); shown compacted to the window's room.
    CCompileProgressDialog(wxWindow* parent, const std::string& sourcePath);

    // "Die Datei <compacted path>" as shown.
    wxString FileText() const;

private:
    wxStaticText* m_file = nullptr;
};
