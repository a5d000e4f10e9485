// Every modal question Kitprobe asks goes through this interface, so tests
// can answer in place of the user and a run without one never blocks.
#pragma once

#include "kitprobe/JdkFinds.h"
#include "kitprobe/JdkParamWriter.h"

#include <wx/string.h>

class wxWindow;

class IKitprobeDialogs {
public:
    virtual ~IKitprobeDialogs() = default;
    // The question before the search; true for "&Ja".
    virtual bool AskSearch() = 0;
    // The result dialog, owned by the progress window; true for OK, with
    // the boxes' texts in choices.
    virtual bool ChooseResults(wxWindow* owner, const CJdkFinds& finds, CJdkChoices& choices) = 0;
    // A message with "OK" only: why the settings file was not written, or
    // that a damaged one was kept as a backup (error picks the icon).
    virtual void Tell(wxWindow* owner, const wxString& text, bool error) = 0;
};

// The real dialogs, shown modally.
class CKitprobeDialogs : public IKitprobeDialogs {
public:
    bool AskSearch() override;
    bool ChooseResults(wxWindow* owner, const CJdkFinds& finds, CJdkChoices& choices) override;
    void Tell(wxWindow* owner, const wxString& text, bool error) override;
};
