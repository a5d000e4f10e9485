#include "controls/ColourPalettePopup.h"

#include "controls/ColourPicker.h"

#include <wx/app.h>
#include <wx/dcbuffer.h>
#include <wx/display.h>
#include <wx/settings.h>

#include <algorithm>

using colours::Colour;

namespace {

wxColour Sys(wxSystemColour c)
{
    return wxSystemSettings::GetColour(c);
}

wxRect ToRect(const CColourPaletteModel::Rect& r)
{
    return wxRect(r.left, r.top, r.Width(), r.Height());
}

// A one-pixel 3-D edge: topLeft on the top and left sides.
void Edge(wxDC& dc, const wxRect& r, const wxColour& topLeft, const wxColour& bottomRight)
{
    if (r.width <= 0 || r.height <= 0)
        return;
    dc.SetPen(wxPen(topLeft));
    dc.DrawLine(r.GetLeft(), r.GetBottom(), r.GetLeft(), r.GetTop());
    dc.DrawLine(r.GetLeft(), r.GetTop(), r.GetRight(), r.GetTop());
    dc.SetPen(wxPen(bottomRight));
    dc.DrawLine(r.GetRight(), r.GetTop(), r.GetRight(), r.GetBottom());
    dc.DrawLine(r.GetLeft(), r.GetBottom(), r.GetRight() + 1, r.GetBottom());
}

void Raised(wxDC& dc, const wxRect& r)
{
    Edge(dc, r, Sys(wxSYS_COLOUR_BTNHIGHLIGHT), Sys(wxSYS_COLOUR_BTNSHADOW));
}

void Sunken(wxDC& dc, const wxRect& r)
{
    Edge(dc, r, Sys(wxSYS_COLOUR_BTNSHADOW), Sys(wxSYS_COLOUR_BTNHIGHLIGHT));
}

} // namespace

CColourPalettePopup::CColourPalettePopup(const wxPoint& pos, Colour initial, CColourPicker* owner,
                                         const wxString& automaticText, const wxString& customText)
    : wxPopupWindow(owner, wxBORDER_NONE),
      m_model(initial, !automaticText.empty(), !customText.empty()), m_owner(owner),
      m_automaticText(automaticText), m_customText(customText),
      m_font(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT))
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetFont(m_font);
    int tw = 0, th = 0;
    for (const wxString* text : {&m_automaticText, &m_customText}) {
        if (text->empty())
            continue;
        int w = 0, h = 0;
        GetTextExtent(*text, &w, &h, nullptr, nullptr, &m_font);
        tw = std::max(tw, w);
        th = std::max(th, h);
    }
    int edge = wxSystemSettings::GetMetric(wxSYS_EDGE_X, this);
    if (edge <= 0)
        edge = 2;
    int display = wxDisplay::GetFromPoint(pos);
    wxRect screen = wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetGeometry();
    const int pickerTop = owner ? owner->GetScreenPosition().y : pos.y;
    m_model.Layout(pos.x, pos.y, edge, tw, th,
                   CColourPaletteModel::Rect{screen.GetLeft(), screen.GetTop(), screen.GetRight() + 1,
                                             screen.GetBottom() + 1},
                   pickerTop);
    const auto& win = m_model.Window();
    SetSize(win.left, win.top, win.Width(), win.Height());

    Bind(wxEVT_PAINT, &CColourPalettePopup::OnPaint, this);
    Bind(wxEVT_MOTION, &CColourPalettePopup::OnMotion, this);
    Bind(wxEVT_LEFT_UP, &CColourPalettePopup::OnLeftUp, this);
    Bind(wxEVT_KEY_DOWN, &CColourPalettePopup::OnKeyDown, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CColourPalettePopup::OnCaptureLost, this);
    Bind(wxEVT_SYS_COLOUR_CHANGED, &CColourPalettePopup::OnSysColourChanged, this);
    wxTheApp->Bind(wxEVT_ACTIVATE_APP, &CColourPalettePopup::OnAppActivate, this);

    Show();
    CaptureMouse();
}

CColourPalettePopup::~CColourPalettePopup()
{
    wxTheApp->Unbind(wxEVT_ACTIVATE_APP, &CColourPalettePopup::OnAppActivate, this);
    if (HasCapture())
        ReleaseMouse();
}

void CColourPalettePopup::DetachOwner()
{
    // The picker is being destroyed and takes this child window with it.
    m_owner = nullptr;
    m_closed = true;
    if (HasCapture())
        ReleaseMouse();
    Hide();
}

wxString CColourPalettePopup::TooltipAt(const wxPoint& client) const
{
    int e = m_model.EntryAt(client.x, client.y);
    return e >= 0 ? wxString::FromUTF8(std::string(colours::TableName(e))) : wxString();
}

void CColourPalettePopup::ChangeHover(int entry)
{
    if (m_closed)
        return;
    Colour report = m_model.Hover(entry);
    Refresh();
    if (m_owner)
        m_owner->PaletteColourChanged(report);
}

bool CColourPalettePopup::HandleKey(int key)
{
    if (m_closed)
        return false;
    switch (key) {
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
    case WXK_SPACE:
        Close(true);
        return true;
    case WXK_ESCAPE:
        m_model.Cancel();
        Close(false);
        return true;
    case WXK_LEFT:
    case WXK_NUMPAD_LEFT:
        ChangeHover(m_model.Move(CColourPaletteModel::KEY_LEFT));
        return true;
    case WXK_UP:
    case WXK_NUMPAD_UP:
        ChangeHover(m_model.Move(CColourPaletteModel::KEY_UP));
        return true;
    case WXK_RIGHT:
    case WXK_NUMPAD_RIGHT:
        ChangeHover(m_model.Move(CColourPaletteModel::KEY_RIGHT));
        return true;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN:
        ChangeHover(m_model.Move(CColourPaletteModel::KEY_DOWN));
        return true;
    default:
        return false;
    }
}

void CColourPalettePopup::Close(bool chosen)
{
    if (m_closed)
        return;
    m_closed = true;
    if (HasCapture())
        ReleaseMouse();
    if (!chosen) {
        m_model.Cancel();
    } else if (m_model.Hovered() == CColourPaletteModel::kCustom) {
        Hide();
        Colour c = m_model.Initial();
        if (m_owner && m_owner->RunColourDialog(c)) {
            m_model.SetCurrent(c);
        } else {
            chosen = false;
            m_model.Cancel();
        }
    }
    Hide();
    // Closing runs inside this window's own event handlers: it goes once
    // they have returned.
    wxTheApp->ScheduleForDestruction(this);
    CColourPicker* owner = m_owner;
    m_owner = nullptr;
    if (owner)
        owner->PaletteClosed(chosen, m_model.Current());
}

void CColourPalettePopup::OnMotion(wxMouseEvent& event)
{
    const wxPoint p = event.GetPosition();
    const int e = m_model.EntryAt(p.x, p.y);
    const wxString tip = TooltipAt(p);
    if (GetToolTipText() != tip) {
        if (tip.empty())
            UnsetToolTip();
        else
            SetToolTip(tip);
    }
    if (e != CColourPaletteModel::kNone && e != m_model.Hovered())
        ChangeHover(e);
}

void CColourPalettePopup::OnLeftUp(wxMouseEvent& event)
{
    const wxPoint screen = ClientToScreen(event.GetPosition());
    Close(GetScreenRect().Contains(screen));
}

void CColourPalettePopup::OnKeyDown(wxKeyEvent& event)
{
    if (!HandleKey(event.GetKeyCode()))
        event.Skip();
}

void CColourPalettePopup::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    Close(false);
}

void CColourPalettePopup::OnAppActivate(wxActivateEvent& event)
{
    event.Skip();
    if (!event.GetActive())
        CallAfter([this] { Close(false); });
}

void CColourPalettePopup::OnSysColourChanged(wxSysColourChangedEvent& event)
{
    Refresh();
    event.Skip();
}

void CColourPalettePopup::PaintBox(wxDC& dc, int index)
{
    const wxRect r = ToRect(m_model.BoxRect(index));
    const bool hovered = m_model.Hovered() == index;
    const bool chosen = m_model.Chosen() == index;
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(chosen && !hovered ? Sys(wxSYS_COLOUR_3DHIGHLIGHT) : Sys(wxSYS_COLOUR_BTNFACE)));
    dc.DrawRectangle(r);
    if (hovered)
        Raised(dc, wxRect(r).Deflate(1));
    if (chosen)
        Sunken(dc, r);
    const int inset = m_model.Margin() + 1;
    wxRect swatch = wxRect(r).Deflate(inset);
    dc.SetPen(wxPen(Sys(wxSYS_COLOUR_BTNSHADOW)));
    dc.SetBrush(wxBrush(ToWxColour(colours::TableColour(index))));
    dc.DrawRectangle(swatch);
}

void CColourPalettePopup::PaintCaptionEntry(wxDC& dc, int entry)
{
    const bool automatic = entry == CColourPaletteModel::kAutomatic;
    wxRect r = ToRect(automatic ? m_model.AutomaticRect() : m_model.CustomRect());
    const int m = m_model.Margin();
    const bool hovered = m_model.Hovered() == entry;
    const bool chosen = m_model.Chosen() == entry;
    if (!automatic) {
        r.y += 2 * m;
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(Sys(wxSYS_COLOUR_BTNFACE)));
        dc.DrawRectangle(r);
        // A separator line above "Andere Farben...".
        dc.SetPen(wxPen(Sys(wxSYS_COLOUR_BTNSHADOW)));
        dc.DrawLine(r.x + 2 * m, r.y - m, r.GetRight() - 2 * m, r.y - m);
        dc.SetPen(wxPen(Sys(wxSYS_COLOUR_BTNHIGHLIGHT)));
        dc.DrawLine(r.x + 2 * m, r.y - m + 1, r.GetRight() - 2 * m, r.y - m + 1);
    } else {
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(Sys(wxSYS_COLOUR_BTNFACE)));
        dc.DrawRectangle(r);
    }
    const wxRect inner = wxRect(r).Deflate(1);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(chosen && !hovered ? Sys(wxSYS_COLOUR_3DLIGHT) : Sys(wxSYS_COLOUR_BTNFACE)));
    dc.DrawRectangle(inner);
    if (automatic) {
        dc.SetPen(wxPen(Sys(wxSYS_COLOUR_BTNSHADOW)));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(wxRect(r).Deflate(2 * m));
    }
    if (hovered)
        Raised(dc, inner);
    if (chosen)
        Sunken(dc, r);
    dc.SetFont(m_font);
    dc.SetTextForeground(Sys(wxSYS_COLOUR_MENUTEXT));
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.DrawLabel(automatic ? m_automaticText : m_customText, r, wxALIGN_CENTER);
}

void CColourPalettePopup::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(Sys(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    if (m_model.HasAutomatic())
        PaintCaptionEntry(dc, CColourPaletteModel::kAutomatic);
    for (int i = 0; i < colours::kCount; ++i)
        PaintBox(dc, i);
    if (m_model.HasCustom())
        PaintCaptionEntry(dc, CColourPaletteModel::kCustom);
    Raised(dc, wxRect(GetClientSize()));
}
