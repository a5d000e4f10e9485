// The modeless progress window of find in files, "Suche in Dateien": an
// animation of a magnifier going over a page, the file being searched, and
// "Abbrechen", which asks the search to stop.
#pragma once

#include <wx/dialog.h>
#include <wx/timer.h>

class wxButton;
class wxStaticText;

// The animation: a fixed cycle of frames drawn in code, played over and
// over while the window is shown.
class CFindAnimation : public wxWindow {
public:
    static constexpr int kFrameCount = 16;
    static constexpr int kFrameMs = 70;

    CFindAnimation(wxWindow* parent, wxWindowID id);

    int Frame() const { return m_frame; }
    // Frames shown since the start (for tests: the animation runs).
    long FramesShown() const { return m_framesShown; }
    void Play();
    void Stop();

private:
    void OnPaint(wxPaintEvent& event);
    void OnTimer(wxTimerEvent& event);

    wxTimer m_timer;
    int m_frame = 0;
    long m_framesShown = 0;
};

class CFindProgressWindow : public wxDialog {
public:
    enum { IDC_FILE_NAME = 1005, IDC_ANIMATION = 1085 };

    explicit CFindProgressWindow(wxWindow* parent);
    ~CFindProgressWindow() override;

    // Shows the full path of the file being searched (UTF-8 bytes of a file name).
    void SetFileName(const std::string& path);
    wxString FileNameShown() const;

    // "Abbrechen", Escape in the window or its close box was used.
    bool CancelRequested() const { return m_cancel; }
    CFindAnimation* Animation() const { return m_animation; }
    wxButton* CancelButton() const { return m_cancelButton; }

private:
    CFindAnimation* m_animation = nullptr;
    wxStaticText* m_file = nullptr;
    wxButton* m_cancelButton = nullptr;
    std::string m_shownPath;
    bool m_cancel = false;
};
