#include "app/IndicatorStatusBar.h"

CIndicatorStatusBar::CIndicatorStatusBar(wxWindow* parent, wxWindowID id, long style, const wxString& name,
                                         int immediateField)
    : wxStatusBar(parent, id, style, name), m_immediateField(immediateField), m_timer(this)
{
    // The theme's font and colours, taken once: every paint's context would
    // ask the theme for them again, which costs more than the drawing.
    SetFont(GetFont());
    SetForegroundColour(GetForegroundColour());
    SetBackgroundColour(GetBackgroundColour());
    Bind(wxEVT_TIMER, &CIndicatorStatusBar::OnTimer, this, m_timer.GetId());
}

CIndicatorStatusBar::~CIndicatorStatusBar()
{
    m_timer.Stop();
}

void CIndicatorStatusBar::ReleaseWaitingPanes()
{
    m_timer.Stop();
    if (m_waiting.IsEmpty())
        return;
    for (wxRegionIterator it(m_waiting); it; ++it) {
        const wxRect r = it.GetRect();
        Refresh(true, &r);
    }
    m_waiting.Clear();
}

void CIndicatorStatusBar::OnTimer(wxTimerEvent&)
{
    ReleaseWaitingPanes();
}

void CIndicatorStatusBar::DrawField(wxDC& dc, int field, int textHeight)
{
    // A keystroke changes one or two panes; the bar would lay out and draw
    // the text of all eight.
    wxRect rect;
    if (GetFieldRect(field, rect) && GetUpdateRegion().Contains(rect.Inflate(2)) == wxOutRegion)
        return;
    wxStatusBar::DrawField(dc, field, textHeight);
}

void CIndicatorStatusBar::DoUpdateStatusText(int field)
{
    if (field == m_immediateField) {
        ReleaseWaitingPanes();
        wxStatusBar::DoUpdateStatusText(field);
        return;
    }
    wxRect rect;
    if (!GetFieldRect(field, rect))
        return;
    m_waiting.Union(rect);
    if (!m_timer.IsRunning())
        m_timer.StartOnce(kPaneDelayMs);
}
