// The question whether to reload a file that another program changed: the
// path and the question, sized to the text, "&Ja" and "&Nein", and the two
// check boxes for reloading without asking next time.
#pragma once

#include <wx/dialog.h>

class wxCheckBox;
class wxStaticText;

class CReloadQuestionDlg : public wxDialog {
public:
    static constexpr int kTextId = 1093;
    static constexpr int kThisFileId = 1091;
    static constexpr int kAllOfTypeId = 1092;

    // showAllOfType: whether the second check box is offered.
    CReloadQuestionDlg(wxWindow* parent, const wxString& caption, const wxString& text, bool showAllOfType);

    void SetReloadThisFile(bool on);
    void SetReloadAllOfType(bool on);
    bool ReloadThisFile() const;
    bool ReloadAllOfType() const;

    wxStaticText* TextControl() const { return m_text; }
    wxCheckBox* ThisFileBox() const { return m_thisFile; }
    wxCheckBox* AllOfTypeBox() const { return m_allOfType; }
    // The text's extent in the dialog font: the widest line plus one
    // average character, the line heights summed.
    static wxSize TextExtent(wxWindow& window, const wxString& text);

private:
    wxStaticText* m_text;
    wxCheckBox* m_thisFile;
    wxCheckBox* m_allOfType;
};
