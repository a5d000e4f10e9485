#include "controls/SimpleComboBox.h"

#include <wx/dc.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/vlbox.h>

class CSimpleComboBox::CItemList : public wxVListBox {
public:
    CItemList(CSimpleComboBox* owner)
        : wxVListBox(owner, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_SUNKEN), m_owner(owner)
    {
    }

protected:
    void OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const override
    {
        const Item& item = m_owner->m_items[n];
        const bool selected = IsSelected(n);
        dc.SetFont(GetFont());
        dc.SetTextForeground(wxSystemSettings::GetColour(selected ? wxSYS_COLOUR_HIGHLIGHTTEXT
                                                                  : wxSYS_COLOUR_WINDOWTEXT));
        int x = rect.x + 2;
        if (item.marked && m_owner->m_mark.IsOk())
            dc.DrawBitmap(m_owner->m_mark, x, rect.y + (rect.height - m_owner->m_mark.GetHeight()) / 2, true);
        // The text stands 12 pixels further right, marked or not.
        x += 12 + 2;
        wxCoord tw = 0, th = 0;
        dc.GetTextExtent(item.text, &tw, &th);
        dc.DrawText(item.text, x, rect.y + (rect.height - th) / 2);
    }
    // Every row has the same height; measuring text for each row of each
    // item-count change made filling the list quadratic in text layouts.
    wxCoord OnMeasureItem(size_t) const override
    {
        if (m_textHeight < 0)
            GetTextExtent("Xg", nullptr, &m_textHeight);
        return std::max<wxCoord>(m_owner->m_itemHeight, m_textHeight);
    }

public:
    bool SetFont(const wxFont& font) override
    {
        m_textHeight = -1;
        return wxVListBox::SetFont(font);
    }

private:
    CSimpleComboBox* m_owner;
    mutable wxCoord m_textHeight = -1;
};

CSimpleComboBox::CSimpleComboBox(wxWindow* parent, wxWindowID id, const wxSize& size)
    : wxPanel(parent, id, wxDefaultPosition, size)
{
    m_edit = new wxTextCtrl(this, wxID_ANY);
    m_list = new CItemList(this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_edit, 0, wxEXPAND);
    sizer->Add(m_list, 1, wxEXPAND);
    SetSizer(sizer);
    m_edit->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
        if (!m_quiet && m_onChange)
            m_onChange(false);
    });
    m_list->Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) {
        const int sel = GetSelection();
        if (sel < 0)
            return;
        m_quiet = true;
        m_edit->ChangeValue(m_items[static_cast<size_t>(sel)].text);
        m_quiet = false;
        if (m_onChange)
            m_onChange(true);
    });
}

void CSimpleComboBox::Append(const wxString& text, bool marked)
{
    Append(std::vector<wxString>{text}, marked);
}

void CSimpleComboBox::Append(const std::vector<wxString>& texts, bool marked)
{
    for (const wxString& text : texts)
        m_items.push_back(Item{text, marked});
    m_list->SetItemCount(m_items.size());
    m_list->Refresh();
}

void CSimpleComboBox::Clear()
{
    m_items.clear();
    m_list->SetItemCount(0);
    m_list->Refresh();
}

wxString CSimpleComboBox::GetString(int index) const
{
    return index >= 0 && index < GetCount() ? m_items[static_cast<size_t>(index)].text : wxString();
}

bool CSimpleComboBox::IsMarked(int index) const
{
    return index >= 0 && index < GetCount() && m_items[static_cast<size_t>(index)].marked;
}

int CSimpleComboBox::FindString(const wxString& text) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].text.CmpNoCase(text) == 0)
            return static_cast<int>(i);
    return -1;
}

int CSimpleComboBox::GetSelection() const
{
    return m_list->GetSelection();
}

void CSimpleComboBox::SetSelection(int index)
{
    if (index < 0 || index >= GetCount()) {
        m_list->SetSelection(wxNOT_FOUND);
        return;
    }
    m_list->SetSelection(index);
    m_list->ScrollToRow(static_cast<size_t>(index));
    m_quiet = true;
    m_edit->ChangeValue(m_items[static_cast<size_t>(index)].text);
    m_quiet = false;
}

wxString CSimpleComboBox::GetValue() const
{
    return m_edit->GetValue();
}

void CSimpleComboBox::SetValue(const wxString& text)
{
    m_quiet = true;
    m_edit->ChangeValue(text);
    m_quiet = false;
}

void CSimpleComboBox::SetItemHeights(int editHeight, int itemHeight)
{
    m_itemHeight = itemHeight;
    m_edit->SetMinSize(wxSize(-1, std::max(editHeight, m_edit->GetBestSize().y)));
    m_list->RefreshAll();
    Layout();
}

wxVListBox* CSimpleComboBox::List() const
{
    return m_list;
}
