// "Datei auswählen": one start file, typed or picked with "...".
#pragma once

#include <wx/dialog.h>

#include <functional>

class wxTextCtrl;

class CStartFileEntryDialog : public wxDialog {
public:
    static constexpr int kPathId = 1083;
    static constexpr int kBrowseId = 1037;

    // Picks a file for "..."; false on cancel. The default shows the file
    // dialog with "*.java" as the name.
    using Browser = std::function<bool(wxWindow* parent, wxString& path)>;

    CStartFileEntryDialog(wxWindow* parent, const wxString& path, Browser browse = {});

    wxString Path() const;
    void SetPath(const wxString& path);
    // "...": the chosen full path replaces the field's text.
    void Browse();

private:
    wxTextCtrl* m_path = nullptr;
    Browser m_browse;
};
