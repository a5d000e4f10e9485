#include "editor/EditFindCommands.h"

#include "editor/FindDialog.h"
#include "editor/FindDialogState.h"
#include "editor/ReplaceDialog.h"
#include "editor/ReplaceSession.h"
#include "editor/TextEditView.h"
#include "editor/ViewSearch.h"
#include "resources/CommandIds.h"

#include <wx/toplevel.h>

using namespace kib;

wxWindow* CEditFindCommands::DialogParent() const
{
    wxWindow* top = wxGetTopLevelParent(&m_view);
    return top ? top : &m_view;
}

void CEditFindCommands::NotFound(const std::string& text)
{
    m_host.ShowFindMessage(DialogParent(), FindMessageText(IDS_FIND_NOT_FOUND, text));
}

const CEditFindCommands::Commands& CEditFindCommands::CommandTable()
{
    using Self = CEditFindCommands;
    static const Commands table = {
        {ID_EDIT_FIND, [](Self& f, int) { f.FindDialog(); }, [](Self& f, int) { return f.m_view.GetBuffer() != nullptr; }},
        {ID_EDIT_REPEAT, [](Self& f, int) { f.FindAgain(false); }, [](Self& f, int) { return f.m_remembered.present; }},
        {ID_EDIT_FIND_PREVIOUS, [](Self& f, int) { f.FindAgain(true); },
         [](Self& f, int) { return f.m_remembered.present; }},
        {ID_EDIT_REPLACE, [](Self& f, int) { f.ReplaceDialog(); }, [](Self& f, int) { return f.m_view.IsEditable(); }},
    };
    return table;
}

bool CEditFindCommands::HandleCommand(int command)
{
    return CommandTable().Handle(*this, command);
}

bool CEditFindCommands::QueryCommand(int command, CCommandState& state)
{
    return CommandTable().Query(*this, command, state);
}

void CEditFindCommands::FindDialog()
{
    if (!m_view.GetBuffer())
        return;
    TextPos selStart, selEnd;
    m_view.GetOrderedSelection(selStart, selEnd);
    std::string selected;
    const bool propose =
        m_view.IsSelection() && ProposedSearchText(*m_view.GetBuffer(), selStart, selEnd, selected);
    const FindDialogValues defaults = FindCommandDefaults(m_remembered, propose ? &selected : nullptr);
    {
        CFindDialog dialog(DialogParent(), m_view, defaults,
                           [this](wxWindow* parent, const wxString& text) { m_host.ShowFindMessage(parent, text); });
        m_host.RunFindDialog(dialog);
        StoreFindDialogResult(dialog.Values(), m_remembered);
    }
    m_view.SetFocus();
}

void CEditFindCommands::FindAgain(bool reverse)
{
    if (!m_remembered.present || !m_view.GetBuffer())
        return;
    TextPos match;
    int length = 0;
    if (::FindAgain(*m_view.GetBuffer(), m_remembered, m_view.GetCaretPos(), reverse, match, &length))
        SelectFoundInView(m_view, match, length);
    else
        NotFound(m_remembered.text);
}

bool CEditFindCommands::SearchFromCaret(const std::string& text)
{
    if (text.empty() || !m_view.GetBuffer())
        return false;
    TextPos match;
    int length = 0;
    const CTextBuffer& buffer = *m_view.GetBuffer();
    if (SearchText(buffer, DocumentSearchText(buffer, text), m_view.GetCaretPos(), 0, true, match, &length)) {
        SelectFoundInView(m_view, match, length);
        return true;
    }
    NotFound(text);
    return false;
}

void CEditFindCommands::ReplaceDialog()
{
    if (!m_view.IsEditable())
        return;
    const bool withSelection = m_view.IsSelection();
    TextPos selStart, selEnd;
    m_view.GetOrderedSelection(selStart, selEnd);
    const ReplaceDialogValues defaults = ReplaceCommandDefaults(withSelection);
    // The edit view keeps the saved selection in step with every change.
    if (withSelection)
        m_view.SaveSelection(selStart, selEnd);
    ReplaceDialogValues result;
    {
        CReplaceDialog dialog(DialogParent(), m_view, defaults, withSelection, selStart, selEnd,
                              m_view.GetCaretPos(),
                              [this](wxWindow* parent, const wxString& text) { m_host.ShowFindMessage(parent, text); });
        m_host.RunFindDialog(dialog);
        result = dialog.Values();
    }
    TextPos savedStart, savedEnd;
    if (withSelection && m_view.GetSavedSelection(savedStart, savedEnd)) {
        m_view.SetSelectionRange(savedStart, savedEnd);
        m_view.ForgetSavedSelection();
    }
    StoreReplaceProfile(result);
    m_view.SetFocus();
}
