// "Textblöcke": the names and contents of the twelve text blocks, chosen by
// their function key, with "&Standard wiederherstellen" and "&Löschen" for
// the shown content.
#pragma once

#include "options/CurrentEntryList.h"
#include "options/OptionsPage.h"
#include "settings/Settings.h"

class wxListBox;
class wxTextCtrl;

class CDlgOptionsEditorTextblocks : public COptionsPage {
public:
    static constexpr int kKeyListId = 1007, kNameId = 1027, kContentId = 1008, kRestoreId = 1010,
                         kDeleteId = 1009;

    CDlgOptionsEditorTextblocks(wxWindow* parent, const COptionsContext& context, CSettings& settings);

    wxListBox* KeyList() const { return m_keys; }
    wxTextCtrl* NameField() const { return m_name; }
    wxTextCtrl* ContentField() const { return m_content; }

    void SelectBlock(int index);
    void RestoreShown();
    void DeleteShown();

private:
    CTextBlock Shown() const;
    void Show(const CTextBlock& block);

    CCurrentEntryList<CTextBlock> m_blocks;
    wxListBox* m_keys = nullptr;
    wxTextCtrl* m_name = nullptr;
    wxTextCtrl* m_content = nullptr;
    // The shown entry's bytes and their text as the fields read it back:
    // fields left alone give the bytes back unchanged.
    CTextBlock m_shownBytes;
    wxString m_shownName;
    wxString m_shownContent;
};
