#include "controls/HistoryComboBox.h"

#include "text/Utf8.h"

#include <wx/arrstr.h>

namespace {

wxString FromBytes(const std::string& bytes)
{
    return wxString::FromUTF8(utf8::ToValid(bytes));
}

std::string ToBytes(const wxString& text)
{
    return text.utf8_string();
}

} // namespace

CHistoryComboBox::CHistoryComboBox(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                                   const wxSize& size, long style)
    : wxComboBox(parent, id, wxEmptyString, pos, size, 0, nullptr, style & ~wxCB_SORT)
{
    Bind(wxEVT_KEY_DOWN, &CHistoryComboBox::OnKeyDown, this);
    Bind(wxEVT_TEXT, &CHistoryComboBox::OnText, this);
}

std::string CHistoryComboBox::TextBytes() const
{
    return ToBytes(GetValue());
}

void CHistoryComboBox::ShowList()
{
    m_updating = true;
    wxArrayString items;
    for (const std::string& item : m_history.Items())
        items.Add(FromBytes(item));
    Set(items);
    if (m_history.Selection() >= 0)
        SetSelection(m_history.Selection());
    ChangeValue(FromBytes(m_history.EditText()));
    m_updating = false;
}

wxString CHistoryComboBox::LoadHistory(const std::string& section, const std::string& prefix,
                                       bool keepLast, const std::string& lastEntryValue,
                                       bool sorted)
{
    m_history.SetEditText(TextBytes());
    std::string last = m_history.Load(section, prefix, keepLast, lastEntryValue, sorted);
    ShowList();
    return FromBytes(last);
}

bool CHistoryComboBox::SaveHistory(bool addCurrent)
{
    m_history.SetEditText(TextBytes());
    bool ok = m_history.Save(addCurrent);
    ShowList();
    return ok;
}

void CHistoryComboBox::AddText(const wxString& text)
{
    m_history.SetEditText(TextBytes());
    m_history.Add(ToBytes(text));
    ShowList();
}

void CHistoryComboBox::OnKeyDown(wxKeyEvent& event)
{
    int key = event.GetKeyCode();
    m_history.KeyPressed(key == WXK_DELETE || key == WXK_BACK || key == WXK_NUMPAD_DELETE);
    event.Skip();
}

void CHistoryComboBox::OnText(wxCommandEvent& event)
{
    event.Skip();
    if (m_updating)
        return;
    m_history.SetEditText(TextBytes());
    if (!m_history.CompletesTyping() || m_completionQueued)
        return;
    // The native control places its cursor after the change is reported;
    // complete once it has settled.
    m_completionQueued = true;
    CallAfter(&CHistoryComboBox::CompleteNow);
}

void CHistoryComboBox::CompleteNow()
{
    m_completionQueued = false;
    long from = 0, to = 0;
    GetSelection(&from, &to);
    CHistoryList::Completion c = m_history.Complete(TextBytes(), from, to);
    if (c.item < 0)
        return;
    m_updating = true;
    ChangeValue(FromBytes(c.text));
    SetSelection(c.selFrom, c.selTo);
    m_updating = false;
}
