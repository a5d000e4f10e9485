// The result dialog "Ergebnis": one drop-down box per kind of find, each with
// its paths sorted and the alphabetically first chosen, or the single item
// "nichts gefunden". The boxes' texts may be edited before OK.
#pragma once

#include "kitprobe/JdkFinds.h"
#include "kitprobe/JdkParamWriter.h"

#include <wx/dialog.h>

#include <array>
#include <string>
#include <vector>

class wxComboBox;

class CSearchResultDlg : public wxDialog {
public:
    enum {
        IDC_COMPILER = 1002,
        IDC_DOCGENERATOR = 1003,
        IDC_INTERPRETER = 1004,
        IDC_APPLETVIEWER = 1005,
        IDC_DOCUMENTATION = 1006
    };

    CSearchResultDlg(wxWindow* parent, const CJdkFinds& finds);

    // The texts of the five boxes as they stand, as bytes: an item left as
    // it was shown gives the found path unchanged.
    CJdkChoices Choices() const;
    wxComboBox* Combo(EJdkFind kind) const { return m_combos[kind]; }

private:
    std::string BoxBytes(EJdkFind kind) const;

    std::array<wxComboBox*, FIND_KINDS> m_combos{};
    std::array<std::vector<std::string>, FIND_KINDS> m_items; // bytes of each item
};
