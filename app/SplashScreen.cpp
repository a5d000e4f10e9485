#include "app/SplashScreen.h"

#include "resources/Artwork.h"

#include <wx/dcclient.h>
#include <wx/display.h>

namespace {
bool g_enabled = false;
CSplashScreen* g_splash = nullptr;
} // namespace

void CSplashScreen::EnableSplashScreen(bool enable)
{
    g_enabled = enable;
}

bool CSplashScreen::IsSplashEnabled()
{
    return g_enabled;
}

CSplashScreen* CSplashScreen::Current()
{
    return g_splash;
}

void CSplashScreen::ShowSplashScreen(wxWindow* owner)
{
    if (!g_enabled || g_splash)
        return;
    wxBitmap bmp = kib::SplashBitmap();
    if (!bmp.IsOk())
        return;
    g_splash = new CSplashScreen(owner, bmp);
}

CSplashScreen::CSplashScreen(wxWindow* owner, const wxBitmap& bitmap)
    : wxFrame(owner, wxID_ANY, wxEmptyString, wxPoint(0, 0),
              wxSize(bitmap.GetWidth(), bitmap.GetHeight()),
              wxFRAME_NO_TASKBAR | wxBORDER_NONE | wxFRAME_TOOL_WINDOW | wxSTAY_ON_TOP |
                  (owner ? wxFRAME_FLOAT_ON_PARENT : 0)),
      m_bitmap(bitmap), m_timer(this, kTimerId)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetMinSize(wxSize(bitmap.GetWidth(), bitmap.GetHeight()));
    SetSize(bitmap.GetWidth(), bitmap.GetHeight());
    Bind(wxEVT_PAINT, &CSplashScreen::OnPaint, this);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { HideSplashScreen(); }, kTimerId);
    // Centre over the owner while it is visible, else over the work area.
    if (owner && owner->IsShown()) {
        CentreOnParent();
    } else {
        int d = wxDisplay::GetFromPoint(wxPoint(0, 0));
        wxRect area = wxDisplay(d == wxNOT_FOUND ? 0u : static_cast<unsigned>(d)).GetClientArea();
        SetPosition(wxPoint(area.x + (area.width - bitmap.GetWidth()) / 2,
                            area.y + (area.height - bitmap.GetHeight()) / 2));
    }
    Show();
    Update();
    m_timer.StartOnce(kDurationMs);
}

CSplashScreen::~CSplashScreen()
{
    if (g_splash == this)
        g_splash = nullptr;
}

void CSplashScreen::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    dc.DrawBitmap(m_bitmap, 0, 0);
}

void CSplashScreen::HideSplashScreen()
{
    if (m_hiding)
        return;
    m_hiding = true;
    m_timer.Stop();
    wxWindow* owner = GetParent();
    if (g_splash == this)
        g_splash = nullptr;
    Hide();
    Destroy();
    if (owner) {
        owner->Refresh();
        owner->Update();
    }
}

bool CSplashScreen::PreTranslateAppMessage(const wxEvent& event)
{
    if (!g_splash)
        return false;
    wxEventType t = event.GetEventType();
    if (t == wxEVT_LEFT_DOWN || t == wxEVT_RIGHT_DOWN || t == wxEVT_MIDDLE_DOWN ||
        t == wxEVT_KEY_DOWN || t == wxEVT_CHAR_HOOK) {
        g_splash->HideSplashScreen();
        return true;
    }
    return false;
}
