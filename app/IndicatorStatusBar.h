// The main frame's status bar. The line, column and key panes change with
// nearly every keystroke; they are drawn a moment after the change, all
// together, so that the keystroke's own text and the next keystroke come
// first. Only the message pane, shown before a lengthy step, is drawn at
// once.
#pragma once

#include <wx/region.h>
#include <wx/statusbr.h>
#include <wx/timer.h>

class CIndicatorStatusBar : public wxStatusBar {
public:
    // How long a changed pane may wait: below a frame or two, not seen.
    static constexpr int kPaneDelayMs = 30;

    CIndicatorStatusBar(wxWindow* parent, wxWindowID id, long style, const wxString& name, int immediateField);
    ~CIndicatorStatusBar() override;

    // Whether changed panes wait to be drawn.
    bool HasWaitingPanes() const { return !m_waiting.IsEmpty(); }
    // Marks the waiting panes for drawing now.
    void ReleaseWaitingPanes();

protected:
    void DrawField(wxDC& dc, int field, int textHeight) override;
    void DoUpdateStatusText(int field) override;

private:
    void OnTimer(wxTimerEvent& event);

    int m_immediateField;
    wxRegion m_waiting;
    wxTimer m_timer;
};
