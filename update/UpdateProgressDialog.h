// Dialog 116 "Checking WWW for new version": a bar of the check's steps and
// the text of the step under way, with "Abbrechen" (and the close box) to
// stop the check.
#pragma once

#include <wx/dialog.h>

#include <functional>

class wxGauge;
class wxStaticText;

class CUpdateProgressDialog : public wxDialog {
public:
    enum { kBarId = 1021, kTextId = 1022 };

    // onCancel runs when the user stops the check.
    CUpdateProgressDialog(wxWindow* owner, int stepCount, std::function<void()> onCancel);

    // Steps 0 to 3: the bar advances by one and the step's text shows;
    // other numbers are ignored.
    void OnStep(int step);

    wxGauge* Bar() const { return m_bar; }
    wxString StepText() const;
    bool CancelRequested() const { return m_cancelled; }

private:
    void RequestCancel();

    wxGauge* m_bar = nullptr;
    wxStaticText* m_text = nullptr;
    std::function<void()> m_onCancel;
    bool m_cancelled = false;
};
