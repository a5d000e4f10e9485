// The palette a colour picker drops down: an automatic entry, 40 named
// colour boxes and "Andere Farben..." for the system colour dialog. It holds
// the mouse while open, follows the pointer and the arrow keys, and tells
// its picker what was passed over, chosen or cancelled; it destroys itself
// when it closes.
#pragma once

#include "controls/ColourPaletteModel.h"

#include <wx/font.h>
#include <wx/popupwin.h>

class CColourPicker;
class wxActivateEvent;
class wxDC;

class CColourPalettePopup : public wxPopupWindow {
public:
    // Shown at once at the screen position pos (the picker's lower left
    // corner); empty texts leave their entries out.
    CColourPalettePopup(const wxPoint& pos, colours::Colour initial, CColourPicker* owner,
                        const wxString& automaticText, const wxString& customText);
    ~CColourPalettePopup() override;

    const CColourPaletteModel& Model() const { return m_model; }
    // The tool tip shown over a client point (empty away from the boxes).
    wxString TooltipAt(const wxPoint& client) const;

    // A key while open; false for keys the palette does not take.
    bool HandleKey(int wxKeyCode);
    // Closes as chosen or as cancelled (once).
    void Close(bool chosen);
    bool IsClosing() const { return m_closed; }
    // The picker goes away first: close without telling it anything.
    void DetachOwner();

private:
    void ChangeHover(int entry);
    void PaintBox(wxDC& dc, int index);
    void PaintCaptionEntry(wxDC& dc, int entry);
    void OnPaint(wxPaintEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnAppActivate(wxActivateEvent& event);
    void OnSysColourChanged(wxSysColourChangedEvent& event);

    CColourPaletteModel m_model;
    CColourPicker* m_owner;
    wxString m_automaticText;
    wxString m_customText;
    wxFont m_font;
    bool m_closed = false;
};
