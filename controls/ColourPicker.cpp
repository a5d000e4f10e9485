#include "controls/ColourPicker.h"

#include "controls/ColourPalettePopup.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/colordlg.h>
#include <wx/dcbuffer.h>
#include <wx/renderer.h>
#include <wx/settings.h>

#include <algorithm>

using colours::Colour;

wxDEFINE_EVENT(MSG_COLOUR_CHANGED, wxCommandEvent);
wxDEFINE_EVENT(MSG_PALETTE_OPENED, wxCommandEvent);
wxDEFINE_EVENT(MSG_PALETTE_CLOSED, wxCommandEvent);
wxDEFINE_EVENT(MSG_COLOUR_CHOSEN, wxCommandEvent);
wxDEFINE_EVENT(MSG_COLOUR_CANCELLED, wxCommandEvent);

wxColour ToWxColour(Colour c, const wxColour& fallback)
{
    if (c == colours::kAutomatic)
        return fallback;
    return wxColour(static_cast<unsigned char>(colours::Red(c)), static_cast<unsigned char>(colours::Green(c)),
                    static_cast<unsigned char>(colours::Blue(c)));
}

Colour FromWxColour(const wxColour& c)
{
    return colours::Rgb(c.Red(), c.Green(), c.Blue());
}

namespace {

int Metric(wxSystemMetric which, const wxWindow* win, int fallback)
{
    int v = wxSystemSettings::GetMetric(which, win);
    return v > 0 ? v : fallback;
}

int EdgeX(const wxWindow* w) { return Metric(wxSYS_EDGE_X, w, 2); }
int EdgeY(const wxWindow* w) { return Metric(wxSYS_EDGE_Y, w, 2); }

} // namespace

CColourPicker::CColourPicker(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                             const wxSize& size)
    : wxControl(parent, id, pos, size, wxBORDER_NONE | wxWANTS_CHARS),
      m_back(FromWxColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE))),
      m_text(FromWxColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT))),
      m_automaticText(kib::KibText(kib::IDS_COLOUR_AUTOMATIC)),
      m_customText(kib::KibText(kib::IDS_COLOUR_CUSTOM))
{
    SetLabel(label);
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    // The button keeps its place and is sized to hold the arrow.
    wxSize best = DoGetBestSize();
    wxSize now = GetSize();
    SetInitialSize(wxSize(std::max(now.x, best.x), best.y));
    Bind(wxEVT_PAINT, &CColourPicker::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CColourPicker::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CColourPicker::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CColourPicker::OnLeftUp, this);
    Bind(wxEVT_CHAR_HOOK, &CColourPicker::OnCharHook, this);
    Bind(wxEVT_SET_FOCUS, &CColourPicker::OnFocus, this);
    Bind(wxEVT_KILL_FOCUS, &CColourPicker::OnFocus, this);
}

CColourPicker::~CColourPicker()
{
    if (m_palette) {
        m_palette->DetachOwner();
        m_palette = nullptr;
    }
}

int CColourPicker::ArrowSize() const
{
    // This toolkit's scroll bar metrics are small next to its text: the
    // arrow is at least as high as a line of the button's text with room.
    return std::max({5 * EdgeX(this), Metric(wxSYS_HTHUMB_X, this, 16), 5 * EdgeY(this),
                     Metric(wxSYS_VTHUMB_Y, this, 16), GetCharHeight() + 6});
}

wxSize CColourPicker::DoGetBestSize() const
{
    const int arrow = ArrowSize();
    int width = 2 * (EdgeX(this) + arrow);
    if (!GetLabel().empty()) {
        int tw = 0, th = 0;
        GetTextExtent(GetLabel(), &tw, &th);
        width = std::max(width, tw + arrow + 6 * EdgeX(this));
    }
    return wxSize(width, arrow + 2 * EdgeY(this));
}

wxRect CColourPicker::ArrowRect() const
{
    const wxSize size = GetClientSize();
    const int arrow = ArrowSize(), ex = EdgeX(this), ey = EdgeY(this);
    return wxRect(wxPoint(size.x - arrow - ex, ey), wxPoint(size.x - ex - 1, size.y - ey - 1));
}

Colour CColourPicker::GetColour() const
{
    return m_mode == SELECT_TEXT ? m_text : m_back;
}

void CColourPicker::SetColour(Colour colour)
{
    if (m_mode == SELECT_TEXT)
        SetTextColour(colour);
    else
        SetBackColour(colour);
}

void CColourPicker::SetBackColour(Colour colour)
{
    m_back = colour;
    Refresh();
    Update();
}

void CColourPicker::SetTextColour(Colour colour)
{
    m_text = colour;
    Refresh();
    Update();
}

void CColourPicker::SetAutomaticText(const wxString* text)
{
    m_automaticText = text ? *text : wxString();
}

void CColourPicker::SetCustomText(const wxString* text)
{
    m_customText = text ? *text : wxString();
}

void CColourPicker::Notify(const wxEventType& type, Colour colour)
{
    wxCommandEvent e(type, GetId());
    e.SetEventObject(this);
    e.SetInt(static_cast<int>(colour));
    ProcessWindowEvent(e);
}

void CColourPicker::OpenPalette()
{
    if (m_palette || !IsEnabled())
        return;
    const wxPoint corner = ClientToScreen(wxPoint(0, GetClientSize().y));
    m_palette = new CColourPalettePopup(corner, GetColour(), this, m_automaticText, m_customText);
    Refresh();
    Notify(MSG_PALETTE_OPENED, GetColour());
}

void CColourPicker::PaletteColourChanged(Colour colour)
{
    if (m_track)
        SetColour(colour);
    Notify(MSG_COLOUR_CHANGED, colour);
}

void CColourPicker::PaletteClosed(bool chosen, Colour colour)
{
    m_palette = nullptr;
    m_pressed = false;
    SetColour(colour);
    Notify(MSG_PALETTE_CLOSED, colour);
    Notify(chosen ? MSG_COLOUR_CHOSEN : MSG_COLOUR_CANCELLED, colour);
}

bool CColourPicker::RunColourDialog(Colour& colour)
{
    return m_dialog ? m_dialog(this, colour) : RunSystemColourDialog(this, colour);
}

bool RunSystemColourDialog(wxWindow* parent, Colour& colour)
{
    wxColourData data;
    data.SetChooseFull(true);
    data.SetColour(ToWxColour(colour, wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW)));
    wxColourDialog dlg(parent, &data);
    if (dlg.ShowModal() != wxID_OK)
        return false;
    colour = FromWxColour(dlg.GetColourData().GetColour());
    return true;
}

void CColourPicker::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    const wxSize size = GetClientSize();
    const bool enabled = IsEnabled();
    const bool selected = m_pressed || m_palette != nullptr;
    const int ex = EdgeX(this), ey = EdgeY(this);
    const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    const wxColour shadow = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
    const wxColour highlight = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT);

    dc.SetBackground(wxBrush(face));
    dc.Clear();

    // The arrow, pushed while the palette is open.
    int flags = 0;
    if (selected)
        flags |= wxCONTROL_PRESSED;
    if (!enabled)
        flags |= wxCONTROL_DISABLED;
    const wxRect arrow = ArrowRect();
    wxRendererNative::Get().DrawComboBoxDropButton(this, dc, arrow, flags);

    // A sunken edge around the whole button.
    wxRect r(0, 0, size.x, size.y);
    dc.SetPen(wxPen(shadow));
    dc.DrawLine(r.GetLeft(), r.GetBottom(), r.GetLeft(), r.GetTop());
    dc.DrawLine(r.GetLeft(), r.GetTop(), r.GetRight(), r.GetTop());
    dc.SetPen(wxPen(highlight));
    dc.DrawLine(r.GetRight(), r.GetTop(), r.GetRight(), r.GetBottom());
    dc.DrawLine(r.GetLeft(), r.GetBottom(), r.GetRight() + 1, r.GetBottom());
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_3DDKSHADOW)));
    dc.DrawLine(r.GetLeft() + 1, r.GetBottom() - 1, r.GetLeft() + 1, r.GetTop() + 1);
    dc.DrawLine(r.GetLeft() + 1, r.GetTop() + 1, r.GetRight() - 1, r.GetTop() + 1);
    r.Deflate(ex, ey);
    r.width = std::max(0, arrow.x - r.x);

    // The face: the system's when disabled or automatic.
    const wxColour fill = !enabled || m_back == colours::kAutomatic ? face : ToWxColour(m_back);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(fill));
    dc.DrawRectangle(r);

    const wxString label = GetLabel();
    if (!label.empty()) {
        dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
        dc.SetFont(GetFont());
        if (!enabled) {
            dc.SetTextForeground(highlight);
            wxRect offset = r;
            offset.Offset(1, 1);
            dc.DrawLabel(label, offset, wxALIGN_CENTER);
            dc.SetTextForeground(shadow);
        } else {
            dc.SetTextForeground(ToWxColour(m_text, *wxBLACK));
        }
        dc.DrawLabel(label, r, wxALIGN_CENTER);
    }
    if (HasFocus())
        wxRendererNative::Get().DrawFocusRect(this, dc, wxRect(r).Deflate(1), 0);
}

void CColourPicker::OnLeftDown(wxMouseEvent& event)
{
    if (!IsEnabled())
        return;
    SetFocus();
    m_pressed = true;
    Refresh();
    event.Skip();
}

void CColourPicker::OnLeftUp(wxMouseEvent& event)
{
    const bool wasPressed = m_pressed;
    m_pressed = false;
    Refresh();
    // A click: pressed and released over the button.
    if (wasPressed && wxRect(GetClientSize()).Contains(event.GetPosition()))
        OpenPalette();
}

void CColourPicker::OnCharHook(wxKeyEvent& event)
{
    // While the palette is open every key is the palette's, so that neither
    // Escape nor Enter reaches the dialog around the picker.
    if (m_palette) {
        if (!m_palette->HandleKey(event.GetKeyCode()))
            event.Skip();
        return;
    }
    const int key = event.GetKeyCode();
    const bool plain = !event.HasAnyModifiers();
    if ((plain && (key == WXK_SPACE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER || key == WXK_F4)) ||
        (key == WXK_DOWN && event.GetModifiers() == wxMOD_ALT)) {
        OpenPalette();
        return;
    }
    event.Skip();
}

void CColourPicker::OnFocus(wxFocusEvent& event)
{
    Refresh();
    event.Skip();
}
