#include "workspace/FindProgressWindow.h"

#include <wx/button.h>
#include <wx/dcbuffer.h>
#include <wx/graphics.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <cmath>
#include <memory>

namespace {

wxString U(const char* utf8)
{
    return wxString::FromUTF8(utf8);
}

} // namespace

CFindAnimation::CFindAnimation(wxWindow* parent, wxWindowID id)
    : wxWindow(parent, id, wxDefaultPosition, wxSize(96, 64)), m_timer(this)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetMinSize(wxSize(96, 64));
    Bind(wxEVT_PAINT, &CFindAnimation::OnPaint, this);
    Bind(wxEVT_TIMER, &CFindAnimation::OnTimer, this);
}

void CFindAnimation::Play()
{
    m_timer.Start(kFrameMs);
}

void CFindAnimation::Stop()
{
    m_timer.Stop();
}

void CFindAnimation::OnTimer(wxTimerEvent&)
{
    m_frame = (m_frame + 1) % kFrameCount;
    ++m_framesShown;
    Refresh(false);
}

// A folder on the left sends pages to a sheet on the right, over whose
// lines a magnifier moves, line by line.
void CFindAnimation::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    const wxSize size = GetClientSize();
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
    if (!gc)
        return;
    const double w = size.x, h = size.y;
    const double phase = static_cast<double>(m_frame) / kFrameCount;

    // The folder.
    gc->SetPen(wxPen(wxColour(150, 110, 20), 1));
    gc->SetBrush(wxBrush(wxColour(240, 200, 80)));
    gc->DrawRectangle(4, h * 0.42, w * 0.30, h * 0.42);
    gc->DrawRectangle(4, h * 0.36, w * 0.12, h * 0.08);
    // A page on its way from the folder to the sheet.
    const double t = phase;
    const double px = 8 + t * (w * 0.45 - 8), py = h * 0.40 - std::sin(t * M_PI) * h * 0.28;
    gc->SetPen(wxPen(wxColour(120, 120, 120), 1));
    gc->SetBrush(wxBrush(wxColour(255, 255, 255, 200)));
    gc->DrawRectangle(px, py, w * 0.10, h * 0.16);

    // The sheet with its lines.
    const double sx = w * 0.50, sy = 4, sw = w * 0.44, sh = h - 8;
    gc->SetPen(wxPen(wxColour(110, 110, 110), 1));
    gc->SetBrush(*wxWHITE_BRUSH);
    gc->DrawRectangle(sx, sy, sw, sh);
    const int lines = 5;
    gc->SetPen(wxPen(wxColour(70, 90, 160), 2));
    for (int i = 0; i < lines; ++i) {
        const double ly = sy + 8 + i * (sh - 14) / (lines - 1);
        const double lw = sw - 12 - ((i * 7) % 3) * 6;
        gc->StrokeLine(sx + 6, ly, sx + 6 + lw * 0.9, ly);
    }
    // The magnifier: along one line per part of the cycle.
    const double along = std::fmod(phase * lines, 1.0);
    const int line = static_cast<int>(phase * lines) % lines;
    const double mx = sx + 10 + along * (sw - 24);
    const double my = sy + 8 + line * (sh - 14) / (lines - 1);
    const double r = std::min(w, h) * 0.13;
    gc->SetPen(wxPen(wxColour(40, 40, 40), 3));
    gc->StrokeLine(mx + r * 0.7, my + r * 0.7, mx + r * 1.7, my + r * 1.7);
    gc->SetPen(wxPen(wxColour(40, 40, 40), 2));
    gc->SetBrush(wxBrush(wxColour(200, 230, 255, 140)));
    gc->DrawEllipse(mx - r, my - r, 2 * r, 2 * r);
}

CFindProgressWindow::CFindProgressWindow(wxWindow* parent)
    : wxDialog(parent, 7027, U("Suche in Dateien"), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxCLOSE_BOX)
{
    m_animation = new CFindAnimation(this, IDC_ANIMATION);
    m_file = new wxStaticText(this, IDC_FILE_NAME, wxString(), wxDefaultPosition, wxSize(380, -1),
                              wxST_ELLIPSIZE_MIDDLE | wxST_NO_AUTORESIZE);
    auto* searching = new wxStaticText(this, wxID_ANY, U("wird durchsucht"));
    m_cancelButton = new wxButton(this, wxID_CANCEL, U("Abbrechen"));

    auto* texts = new wxBoxSizer(wxVERTICAL);
    texts->Add(m_file, 0, wxEXPAND | wxBOTTOM, 6);
    texts->Add(searching);
    auto* upper = new wxBoxSizer(wxHORIZONTAL);
    upper->Add(m_animation, 0, wxRIGHT, 12);
    upper->Add(texts, 1, wxALIGN_CENTER_VERTICAL);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(upper, 0, wxEXPAND | wxALL, 10);
    top->Add(m_cancelButton, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    SetSizerAndFit(top);

    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_cancel = true; }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { m_cancel = true; });
    m_animation->Play();
}

CFindProgressWindow::~CFindProgressWindow()
{
    m_animation->Stop();
}

void CFindProgressWindow::SetFileName(const std::string& path)
{
    if (path == m_shownPath)
        return;
    m_shownPath = path;
    wxString text = wxString::FromUTF8(path);
    if (text.empty() && !path.empty())
        text = wxString(path.c_str(), wxConvISO8859_1); // not UTF-8: show the bytes
    m_file->SetLabelText(text);
}

wxString CFindProgressWindow::FileNameShown() const
{
    return m_file->GetLabelText();
}
