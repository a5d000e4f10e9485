#include "app/FindComboBox.h"

#include "resources/CommandIds.h"
#include "resources/CommandMap.h"

#include <wx/toplevel.h>

CFindComboBox::CFindComboBox(wxWindow* parent, wxWindowID id, const wxSize& size)
    : wxComboBox(parent, id, wxEmptyString, wxDefaultPosition, size, 0, nullptr, wxCB_DROPDOWN)
{
    Bind(wxEVT_KEY_DOWN, &CFindComboBox::OnKeyDown, this);
}

void CFindComboBox::OnKeyDown(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    wxWindow* top = wxGetTopLevelParent(this);
    if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && top) {
        // Posted, as the command of this box, so that the key's own
        // handling is over before the search runs.
        auto* command = new wxCommandEvent(wxEVT_MENU, kib::ToWxId(kib::ID_EDIT_FIND_BOX));
        command->SetEventObject(this);
        wxQueueEvent(top, command);
        return;
    }
    if (key == WXK_ESCAPE && top) {
        top->SetFocus();
        return;
    }
    event.Skip();
}
