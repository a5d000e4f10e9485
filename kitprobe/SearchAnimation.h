// The search animation of the progress window: plays its frames in a loop
// from the start, driven by a timer on the UI thread.
#pragma once

#include <wx/timer.h>
#include <wx/window.h>

class CSearchAnimation : public wxWindow {
public:
    static constexpr int kFrames = 24;
    static constexpr int kFrameMs = 60;

    CSearchAnimation(wxWindow* parent, wxWindowID id, const wxSize& size = wxSize(120, 72));
    ~CSearchAnimation() override;

    void Play(); // from the first frame, looping
    void Stop();
    int Frame() const { return m_frame; }
    // Frames shown since Play (keeps counting across loops).
    long FramesPlayed() const { return m_played; }
    long Paints() const { return m_paints; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnTimer(wxTimerEvent& event);

    wxTimer m_timer;
    int m_frame = 0;
    long m_played = 0;
    long m_paints = 0;
};
