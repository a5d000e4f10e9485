// The progress window "Kitprobe" shown while the drives are walked: the
// search animation and the folder being searched. It has no close button,
// and refuses to close: the search cannot be cancelled.
#pragma once

#include <wx/dialog.h>

class CSearchAnimation;
class wxStaticText;

class CSearchProgressDlg : public wxDialog {
public:
    enum { IDC_ANIMATE = 1000, IDC_FOLDER = 1001 };

    explicit CSearchProgressDlg(wxWindow* parent);

    void SetFolder(const wxString& folder);
    const wxString& Folder() const { return m_folder; }
    CSearchAnimation* Animation() const { return m_animation; }
    // Lets the window close again (once the search is over).
    void AllowClose() { m_mayClose = true; }

private:
    void OnClose(wxCloseEvent& event);

    CSearchAnimation* m_animation;
    wxStaticText* m_folderText;
    wxString m_folder;
    bool m_mayClose = false;
};
