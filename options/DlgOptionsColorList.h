// The base of the colour pages ("Farben", "Syntax Highlighting"): a list of
// colour classes whose current entry's foreground, background and (on the
// syntax page) style show on two colour pickers and style checks, and a
// button that restores the stored defaults.
#pragma once

#include "options/CurrentEntryList.h"
#include "options/OptionsPage.h"
#include "settings/Settings.h"

#include <functional>

class CColourPicker;
class wxButton;
class wxCheckBox;
class wxListBox;

class CDlgOptionsColorList : public COptionsPage {
public:
    static constexpr int kListId = 1053, kBackgroundId = 1054, kRestoreId = 1055;
    static constexpr int kBoldId = 1108, kItalicId = 1127, kUnderlineId = 1093;

    struct Entry {
        int labelId; // string table id of the list text
        CHighlightStyle value;
    };
    // Takes the entries' values in list order on OK.
    using Store = std::function<void(const std::vector<CHighlightStyle>& values)>;

    // foregroundId: 1052 on "Farben", 1056 on "Syntax Highlighting".
    CDlgOptionsColorList(wxWindow* parent, const COptionsContext& context, const wxString& title,
                         const std::vector<Entry>& entries, std::vector<CHighlightStyle> defaults, bool withStyle,
                         int foregroundId, Store store);

    wxListBox* List() const { return m_list; }
    CColourPicker* Foreground() const { return m_foreground; }
    CColourPicker* Background() const { return m_background; }
    wxCheckBox* Bold() const { return m_bold; }
    wxCheckBox* Italic() const { return m_italic; }
    const CCurrentEntryList<CHighlightStyle>& Entries() const { return m_entries; }

    // The list's selection moved (what a click in the list does).
    void SelectEntry(int index);
    // "&Standards wiederherstellen".
    void RestoreDefaults();

private:
    CHighlightStyle Shown() const;
    void Show(const CHighlightStyle& value);
    void OnColourChosen(wxCommandEvent& event);

    std::vector<CHighlightStyle> m_defaults;
    CCurrentEntryList<CHighlightStyle> m_entries;
    bool m_withStyle;
    wxListBox* m_list = nullptr;
    CColourPicker* m_foreground = nullptr;
    CColourPicker* m_background = nullptr;
    wxCheckBox* m_bold = nullptr;
    wxCheckBox* m_italic = nullptr;
    int m_otherStyleBits = 0; // bits the checks do not show (underline)
};
