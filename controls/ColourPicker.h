// A push button that shows a colour and drops down a CColourPalettePopup.
// In selection mode 2 (the default) the picked colour fills the button
// face, in mode 1 it colours the text. The parent hears of the palette's
// life through the MSG_* events below; each carries the picker's id and a
// colour in GetInt() (0x00BBGGRR, colours::kAutomatic for "Automatisch").
#pragma once

#include "controls/ColourTable.h"

#include <wx/control.h>
#include <wx/event.h>

#include <functional>

class CColourPalettePopup;

// The colour under the pointer or the keys changed (every entry passed).
wxDECLARE_EVENT(MSG_COLOUR_CHANGED, wxCommandEvent);   // 2025
wxDECLARE_EVENT(MSG_PALETTE_OPENED, wxCommandEvent);   // 2026, the picker's colour
wxDECLARE_EVENT(MSG_PALETTE_CLOSED, wxCommandEvent);   // 2027, the final colour
wxDECLARE_EVENT(MSG_COLOUR_CHOSEN, wxCommandEvent);    // 2028
wxDECLARE_EVENT(MSG_COLOUR_CANCELLED, wxCommandEvent); // 2029, the colour at opening

class CColourPicker : public wxControl {
public:
    enum SelectionMode { SELECT_TEXT = 1, SELECT_BACKGROUND = 2 };
    // Runs the system colour dialog on colour; false when it was cancelled.
    using ColourDialog = std::function<bool(wxWindow* parent, colours::Colour& colour)>;

    CColourPicker(wxWindow* parent, wxWindowID id, const wxString& label = wxString(),
                  const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize);
    ~CColourPicker() override;

    // The background colour in mode 2, the text colour in mode 1.
    colours::Colour GetColour() const;
    void SetColour(colours::Colour colour);
    colours::Colour GetBackColour() const { return m_back; }
    void SetBackColour(colours::Colour colour);
    colours::Colour GetTextColour() const { return m_text; }
    void SetTextColour(colours::Colour colour);
    // Captions of the palette's automatic and custom entries; null or empty
    // leaves the entry out.
    void SetAutomaticText(const wxString* text);
    void SetCustomText(const wxString* text);
    const wxString& AutomaticText() const { return m_automaticText; }
    const wxString& CustomText() const { return m_customText; }
    void SetSelectionMode(int mode) { m_mode = mode == SELECT_TEXT ? SELECT_TEXT : SELECT_BACKGROUND; }
    int GetSelectionMode() const { return m_mode; }
    void SetTrackSelection(bool on) { m_track = on; }
    bool GetTrackSelection() const { return m_track; }
    void SetColourDialog(ColourDialog dialog) { m_dialog = std::move(dialog); }

    // The palette is open.
    bool IsActive() const { return m_palette != nullptr; }
    CColourPalettePopup* Palette() const { return m_palette; }
    // Opens the palette below the button, as a click does.
    void OpenPalette();
    // The drop-down arrow's area in client coordinates.
    wxRect ArrowRect() const;

    // From the palette.
    void PaletteColourChanged(colours::Colour colour);
    void PaletteClosed(bool chosen, colours::Colour colour);
    bool RunColourDialog(colours::Colour& colour);

    bool AcceptsFocus() const override { return IsEnabled(); }

protected:
    wxSize DoGetBestSize() const override;

private:
    int ArrowSize() const;
    void Notify(const wxEventType& type, colours::Colour colour);
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnFocus(wxFocusEvent& event);

    colours::Colour m_back;
    colours::Colour m_text;
    int m_mode = SELECT_BACKGROUND;
    bool m_track = false;
    bool m_pressed = false;
    wxString m_automaticText;
    wxString m_customText;
    ColourDialog m_dialog;
    CColourPalettePopup* m_palette = nullptr;
};

// The system colour dialog, fully open, starting at colour; false when it
// was cancelled.
bool RunSystemColourDialog(wxWindow* parent, colours::Colour& colour);

// wxColour of a colour value (the automatic value gives fallback).
wxColour ToWxColour(colours::Colour colour, const wxColour& fallback = *wxBLACK);
colours::Colour FromWxColour(const wxColour& colour);
