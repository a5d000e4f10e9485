// The splash picture shown while Kib starts: 2000 ms, or until the first
// click or key press, which then has no other effect.
#pragma once

#include <wx/bitmap.h>
#include <wx/frame.h>
#include <wx/timer.h>

class wxEvent;

class CSplashScreen : public wxFrame {
public:
    static constexpr int kTimerId = 1;
    static constexpr int kDurationMs = 2000;

    static void EnableSplashScreen(bool enable);
    static bool IsSplashEnabled();
    // Shows the splash over owner (over the screen while owner is hidden),
    // unless splashes are off or one is already shown.
    static void ShowSplashScreen(wxWindow* owner);
    // The current splash, or null.
    static CSplashScreen* Current();
    // Hides a shown splash on a mouse press or key press; true when it did,
    // and the event must then go no further.
    static bool PreTranslateAppMessage(const wxEvent& event);
    // Destroys the splash and repaints the owner at once.
    void HideSplashScreen();

    ~CSplashScreen() override;

private:
    CSplashScreen(wxWindow* owner, const wxBitmap& bitmap);
    void OnPaint(wxPaintEvent& event);

    wxBitmap m_bitmap;
    wxTimer m_timer;
    bool m_hiding = false;
};
