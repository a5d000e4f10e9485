// The modal replace dialog "Ersetzen": search and replacement texts with
// their histories, whole words, match case and the scope (the selection the
// dialog was opened with, or the whole file). Its buttons find, replace one
// and replace all matches through a CReplaceSession on the edit view.
#pragma once

#include "editor/FindDialogState.h"
#include "editor/ReplaceSession.h"

#include <wx/dialog.h>

#include <functional>

class CHistoryComboBox;
class CTextEditView;
class wxButton;
class wxCheckBox;
class wxRadioButton;

class CReplaceDialog : public wxDialog, public CReplaceTarget {
public:
    // Control ids.
    enum {
        IDC_SEARCH_TEXT = 8605,
        IDC_REPLACE_TEXT = 7026,
        IDC_WHOLE_WORD = 8603,
        IDC_MATCH_CASE = 8604,
        IDC_SCOPE_SELECTION = 8613,
        IDC_SCOPE_FILE = 8614,
        IDC_FIND_NEXT = 8610,
        IDC_REPLACE = 8607,
        IDC_REPLACE_ALL = 8608,
    };
    using MessageFn = std::function<void(wxWindow* parent, const wxString& text)>;

    // defaults: the command's values (profile and "EditReplace"). With a
    // selection the block is [selBegin, selEnd) and the first search starts
    // at its beginning, else at caret.
    CReplaceDialog(wxWindow* parent, CTextEditView& view, const ReplaceDialogValues& defaults,
                   bool withSelection, TextPos selBegin, TextPos selEnd, TextPos caret, MessageFn message);

    const ReplaceDialogValues& Values() const { return m_values; }
    const CReplaceSession& Session() const { return m_session; }

    CHistoryComboBox* SearchBox() const { return m_search; }
    CHistoryComboBox* ReplaceBox() const { return m_replace; }
    wxCheckBox* WholeWordBox() const { return m_wholeWord; }
    wxCheckBox* MatchCaseBox() const { return m_matchCase; }
    wxRadioButton* SelectionButton() const { return m_scopeSelection; }
    wxRadioButton* FileButton() const { return m_scopeFile; }
    wxButton* FindNextButton() const { return m_findNext; }
    wxButton* ReplaceButton() const { return m_replaceOne; }
    wxButton* ReplaceAllButton() const { return m_replaceAll; }

    // CReplaceTarget
    const CTextBuffer& ReplaceBuffer() const override;
    void SelectFound(TextPos pos, int length) override;
    bool ReplaceSelection(std::string_view text) override;
    void ShowMessage(int id, const std::string& searchText, int count) override;
    void RefuseCharacter(char32_t cp) override;

private:
    void TakeValues();
    void UpdateButtons();
    void OnCancel(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void Finish();

    CTextEditView& m_view;
    MessageFn m_message;
    ReplaceDialogValues m_values;
    CReplaceSession m_session;
    CTextBuffer m_emptyBuffer;
    CHistoryComboBox* m_search = nullptr;
    CHistoryComboBox* m_replace = nullptr;
    wxCheckBox* m_wholeWord = nullptr;
    wxCheckBox* m_matchCase = nullptr;
    wxRadioButton* m_scopeSelection = nullptr;
    wxRadioButton* m_scopeFile = nullptr;
    wxButton* m_findNext = nullptr;
    wxButton* m_replaceOne = nullptr;
    wxButton* m_replaceAll = nullptr;
};
