// A "simple" combo box: an edit field above a list that is always open.
// Items may carry a mark drawn as a small picture in front of their text
// (the font list marks scalable fonts). Selecting an item copies its text
// into the field; every change of field or list is reported.
#pragma once

#include <wx/bitmap.h>
#include <wx/panel.h>

#include <functional>
#include <string>
#include <vector>

class wxTextCtrl;
class wxVListBox;

class CSimpleComboBox : public wxPanel {
public:
    // fromList: the change came from the list (its text is in the field).
    using ChangeHandler = std::function<void(bool fromList)>;

    CSimpleComboBox(wxWindow* parent, wxWindowID id, const wxSize& size = wxDefaultSize);

    void Append(const wxString& text, bool marked = false);
    // Many items at once (one re-layout of the list).
    void Append(const std::vector<wxString>& texts, bool marked = false);
    void Clear();
    int GetCount() const { return static_cast<int>(m_items.size()); }
    wxString GetString(int index) const;
    bool IsMarked(int index) const;
    // The item whose text equals text without regard to case, or -1.
    int FindString(const wxString& text) const;
    int GetSelection() const;
    // Selects an item (or none with -1) and puts its text into the field;
    // not reported.
    void SetSelection(int index);

    wxString GetValue() const;
    // Sets the field's text; not reported.
    void SetValue(const wxString& text);

    // The picture for marked items (drawn 12 pixels wide) and the heights
    // of the field and of a list item.
    void SetMarkBitmap(const wxBitmap& bitmap) { m_mark = bitmap; }
    void SetItemHeights(int editHeight, int itemHeight);
    void OnChange(ChangeHandler handler) { m_onChange = std::move(handler); }

    wxTextCtrl* Edit() const { return m_edit; }
    wxVListBox* List() const;

private:
    class CItemList;
    struct Item {
        wxString text;
        bool marked;
    };

    wxTextCtrl* m_edit = nullptr;
    CItemList* m_list = nullptr;
    std::vector<Item> m_items;
    wxBitmap m_mark;
    int m_itemHeight = 14;
    bool m_quiet = false;
    ChangeHandler m_onChange;
};
