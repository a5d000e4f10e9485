#include "kitprobe/KitprobeArt.h"

#include <wx/bitmap.h>
#include <wx/brush.h>
#include <wx/graphics.h>
#include <wx/icon.h>
#include <wx/image.h>

#include <cmath>
#include <memory>

namespace kitprobe {

namespace {

const wxColour kFolderBack(214, 160, 52);
const wxColour kFolderFront(246, 200, 90);
const wxColour kFolderEdge(150, 104, 24);
const wxColour kPaper(252, 252, 246);
const wxColour kRim(60, 64, 72);
const wxColour kHandle(122, 72, 32);

wxGraphicsPen Pen(wxGraphicsContext& gc, const wxColour& colour, double width,
                  wxPenCap cap = wxCAP_BUTT)
{
    return gc.CreatePen(wxGraphicsPenInfo(colour, width).Cap(cap));
}

// A folder filling the box (x, y, w, h), with a sheet of paper sticking out.
void DrawFolder(wxGraphicsContext& gc, double x, double y, double w, double h)
{
    double edge = std::max(1.0, w / 40);
    double r = w / 14;
    gc.SetPen(Pen(gc, kFolderEdge, edge));
    gc.SetBrush(wxBrush(kFolderBack));
    wxGraphicsPath back = gc.CreatePath();
    back.MoveToPoint(x, y + h * 0.12);
    back.AddLineToPoint(x + w * 0.38, y + h * 0.12);
    back.AddLineToPoint(x + w * 0.46, y + h * 0.24);
    back.AddLineToPoint(x + w, y + h * 0.24);
    back.AddLineToPoint(x + w, y + h);
    back.AddLineToPoint(x, y + h);
    back.CloseSubpath();
    gc.DrawPath(back);

    gc.SetPen(Pen(gc, wxColour(170, 170, 160), edge));
    gc.SetBrush(wxBrush(kPaper));
    gc.DrawRectangle(x + w * 0.12, y, w * 0.7, h * 0.7);
    gc.SetPen(Pen(gc, wxColour(160, 170, 200), edge));
    for (int i = 1; i <= 3; ++i) {
        double ly = y + h * 0.1 * i + h * 0.04;
        gc.StrokeLine(x + w * 0.2, ly, x + w * 0.72, ly);
    }

    gc.SetPen(Pen(gc, kFolderEdge, edge));
    gc.SetBrush(wxBrush(kFolderFront));
    gc.DrawRoundedRectangle(x, y + h * 0.38, w, h * 0.62, r);
}

// A magnifying glass with its lens centred at (cx, cy).
void DrawGlass(wxGraphicsContext& gc, double cx, double cy, double radius)
{
    double hx = radius * 0.72, hy = radius * 0.72; // where the handle leaves the rim
    double len = radius * 1.15;
    gc.SetPen(Pen(gc, kHandle, std::max(2.0, radius * 0.42), wxCAP_ROUND));
    gc.StrokeLine(cx + hx, cy + hy, cx + hx + len, cy + hy + len);

    gc.SetPen(Pen(gc, kRim, std::max(1.5, radius * 0.22)));
    gc.SetBrush(wxBrush(wxColour(190, 225, 250, 150)));
    gc.DrawEllipse(cx - radius, cy - radius, 2 * radius, 2 * radius);

    // A glint on the glass.
    gc.SetPen(Pen(gc, wxColour(255, 255, 255, 220), std::max(1.0, radius * 0.16), wxCAP_ROUND));
    gc.SetBrush(*wxTRANSPARENT_BRUSH);
    wxGraphicsPath arc = gc.CreatePath();
    arc.AddArc(cx, cy, radius * 0.62, M_PI * 1.05, M_PI * 1.45, true);
    gc.StrokePath(arc);
}

wxIcon MakeIcon(int size)
{
    wxImage image(size, size);
    image.InitAlpha();
    unsigned char* alpha = image.GetAlpha();
    std::fill(alpha, alpha + size * size, 0);
    {
        std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(image));
        if (gc) {
            gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
            double s = size;
            DrawFolder(*gc, s * 0.04, s * 0.10, s * 0.72, s * 0.62);
            DrawGlass(*gc, s * 0.58, s * 0.56, s * 0.21);
        }
    }
    wxIcon icon;
    icon.CopyFromBitmap(wxBitmap(image));
    return icon;
}

} // namespace

wxIconBundle ProgramIcons()
{
    wxIconBundle icons;
    for (int size : {16, 24, 32, 48, 64})
        icons.AddIcon(MakeIcon(size));
    return icons;
}

void DrawSearchFrame(wxGraphicsContext& gc, double w, double h, int frame, int frames)
{
    gc.SetAntialiasMode(wxANTIALIAS_DEFAULT);
    double fh = h * 0.62, fw = fh * 1.3;
    double fx = (w - fw) / 2, fy = (h - fh) / 2 + h * 0.04;
    DrawFolder(gc, fx, fy, fw, fh);

    // The glass circles over the folder, once per loop.
    double a = 2 * M_PI * (frames > 0 ? static_cast<double>(frame % frames) / frames : 0);
    double radius = h * 0.2;
    double cx = w / 2 + std::cos(a) * fw * 0.32 - radius * 0.3;
    double cy = h / 2 + std::sin(a) * fh * 0.22 - radius * 0.2;
    DrawGlass(gc, cx, cy, radius);
}

} // namespace kitprobe
