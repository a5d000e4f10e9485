#include "kitprobe/SearchAnimation.h"

#include "kitprobe/KitprobeArt.h"

#include <wx/dcbuffer.h>
#include <wx/graphics.h>

#include <memory>

CSearchAnimation::CSearchAnimation(wxWindow* parent, wxWindowID id, const wxSize& size)
    : wxWindow(parent, id, wxDefaultPosition, size, wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE),
      m_timer(this)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetMinSize(size);
    Bind(wxEVT_PAINT, &CSearchAnimation::OnPaint, this);
    Bind(wxEVT_TIMER, &CSearchAnimation::OnTimer, this);
}

CSearchAnimation::~CSearchAnimation()
{
    m_timer.Stop();
}

void CSearchAnimation::Play()
{
    m_frame = 0;
    m_played = 0;
    m_timer.Start(kFrameMs);
    Refresh();
}

void CSearchAnimation::Stop()
{
    m_timer.Stop();
}

void CSearchAnimation::OnTimer(wxTimerEvent&)
{
    m_frame = (m_frame + 1) % kFrames;
    ++m_played;
    Refresh(false);
}

void CSearchAnimation::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    ++m_paints;
    dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour()));
    dc.Clear();
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
    if (!gc)
        return;
    wxSize size = GetClientSize();
    kitprobe::DrawSearchFrame(*gc, size.x, size.y, m_frame, kFrames);
}
