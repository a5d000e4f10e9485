#include "resources/Artwork.h"

#include "resources/CommandIds.h"

#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/image.h>

#include <cmath>
#include <functional>
#include <memory>

namespace kib {

namespace {

using Painter = std::function<void(wxGraphicsContext&)>;

// Draws on a transparent image of size x size in a 16-unit coordinate space.
wxBitmap Draw(int size, const Painter& paint)
{
    wxImage img(size, size);
    img.InitAlpha();
    unsigned char* alpha = img.GetAlpha();
    std::fill(alpha, alpha + size * size, 0);
    {
        std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(img));
        if (gc) {
            gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
            gc->Scale(size / 16.0, size / 16.0);
            paint(*gc);
        }
    }
    return wxBitmap(img);
}

wxColour C(unsigned rgb)
{
    return wxColour((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
}

void Rect(wxGraphicsContext& gc, double x, double y, double w, double h, unsigned fill,
          unsigned line, double pen = 1.0)
{
    gc.SetBrush(wxBrush(C(fill)));
    gc.SetPen(wxPen(C(line), 1));
    gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(line)).Width(pen)));
    gc.DrawRectangle(x, y, w, h);
}

void Page(wxGraphicsContext& gc, double x, double y, double w, double h, unsigned fill = 0xffffff)
{
    wxGraphicsPath p = gc.CreatePath();
    p.MoveToPoint(x, y);
    p.AddLineToPoint(x + w - 3.5, y);
    p.AddLineToPoint(x + w, y + 3.5);
    p.AddLineToPoint(x + w, y + h);
    p.AddLineToPoint(x, y + h);
    p.CloseSubpath();
    gc.SetBrush(wxBrush(C(fill)));
    gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(0x5a6270)).Width(1)));
    gc.DrawPath(p);
    wxGraphicsPath fold = gc.CreatePath();
    fold.MoveToPoint(x + w - 3.5, y);
    fold.AddLineToPoint(x + w - 3.5, y + 3.5);
    fold.AddLineToPoint(x + w, y + 3.5);
    gc.StrokePath(fold);
}

void Lines(wxGraphicsContext& gc, double x, double y, double w, int n, unsigned colour = 0x8a94a6)
{
    gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(colour)).Width(1)));
    for (int i = 0; i < n; ++i)
        gc.StrokeLine(x, y + 2 * i, x + w, y + 2 * i);
}

void Arrow(wxGraphicsContext& gc, bool left, unsigned colour)
{
    gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(colour)).Width(2.2).Cap(wxCAP_BUTT)));
    gc.SetBrush(*wxTRANSPARENT_BRUSH);
    wxGraphicsPath arc = gc.CreatePath();
    if (left)
        arc.AddArc(8.5, 9.5, 4.5, M_PI * 1.05, M_PI * 2.25, true);
    else
        arc.AddArc(7.5, 9.5, 4.5, M_PI * 1.95, M_PI * 0.75, false);
    gc.StrokePath(arc);
    wxGraphicsPath head = gc.CreatePath();
    if (left) {
        head.MoveToPoint(0.8, 8.0);
        head.AddLineToPoint(6.5, 8.0);
        head.AddLineToPoint(3.5, 12.5);
    } else {
        head.MoveToPoint(15.2, 8.0);
        head.AddLineToPoint(9.5, 8.0);
        head.AddLineToPoint(12.5, 12.5);
    }
    head.CloseSubpath();
    gc.SetPen(*wxTRANSPARENT_PEN);
    gc.SetBrush(wxBrush(C(colour)));
    gc.FillPath(head);
}

void Folder(wxGraphicsContext& gc, double dy = 0)
{
    wxGraphicsPath back = gc.CreatePath();
    back.MoveToPoint(1, 3 + dy);
    back.AddLineToPoint(6, 3 + dy);
    back.AddLineToPoint(7.5, 4.5 + dy);
    back.AddLineToPoint(14, 4.5 + dy);
    back.AddLineToPoint(14, 13.5);
    back.AddLineToPoint(1, 13.5);
    back.CloseSubpath();
    gc.SetBrush(wxBrush(C(0xd9a21b)));
    gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(0x8a5f00)).Width(1)));
    gc.DrawPath(back);
    wxGraphicsPath front = gc.CreatePath();
    front.MoveToPoint(1, 13.5);
    front.AddLineToPoint(3.5, 7 + dy);
    front.AddLineToPoint(15.5, 7 + dy);
    front.AddLineToPoint(13.5, 13.5);
    front.CloseSubpath();
    gc.SetBrush(wxBrush(C(0xf6cd4e)));
    gc.DrawPath(front);
}

// A coffee cup: Kib's sign for Java sources.
void Cup(wxGraphicsContext& gc, double x, double y, double s, unsigned body, unsigned steam)
{
    gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(steam)).Width(0.9 * s)));
    for (int i = 0; i < 2; ++i) {
        wxGraphicsPath p = gc.CreatePath();
        double sx = x + (2.2 + 2.2 * i) * s;
        p.MoveToPoint(sx, y + 4 * s);
        p.AddCurveToPoint(sx - 1.2 * s, y + 2.8 * s, sx + 1.2 * s, y + 1.8 * s, sx, y);
        gc.StrokePath(p);
    }
    wxGraphicsPath cup = gc.CreatePath();
    cup.MoveToPoint(x, y + 5 * s);
    cup.AddLineToPoint(x + 7 * s, y + 5 * s);
    cup.AddCurveToPoint(x + 7 * s, y + 9 * s, x + 5.5 * s, y + 10 * s, x + 3.5 * s, y + 10 * s);
    cup.AddCurveToPoint(x + 1.5 * s, y + 10 * s, x, y + 9 * s, x, y + 5 * s);
    cup.CloseSubpath();
    gc.SetPen(*wxTRANSPARENT_PEN);
    gc.SetBrush(wxBrush(C(body)));
    gc.FillPath(cup);
    gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(body)).Width(1.1 * s)));
    gc.SetBrush(*wxTRANSPARENT_BRUSH);
    wxGraphicsPath handle = gc.CreatePath();
    handle.AddArc(x + 7.2 * s, y + 7 * s, 1.5 * s, -M_PI / 2, M_PI / 2, true);
    gc.StrokePath(handle);
}

void PaintCommand(wxGraphicsContext& gc, int command)
{
    switch (command) {
    case ID_FILE_NEW:
        Page(gc, 3, 1.5, 10, 13);
        gc.SetBrush(wxBrush(C(0xf5c400)));
        gc.SetPen(*wxTRANSPARENT_PEN);
        gc.DrawEllipse(9.5, 9.5, 5.5, 5.5);
        break;
    case ID_FILE_OPEN:
        Folder(gc);
        break;
    case ID_FILE_SAVE:
        Rect(gc, 1.5, 1.5, 13, 13, 0x2e5fa8, 0x173866);
        Rect(gc, 4, 1.5, 8, 5, 0xffffff, 0x173866);
        Rect(gc, 9.5, 2.5, 1.5, 3, 0x2e5fa8, 0x2e5fa8, 0.5);
        Rect(gc, 3.5, 9, 9, 5.5, 0xdfe6f0, 0x173866);
        break;
    case ID_FILE_PRINT:
        Page(gc, 4, 1, 8, 7);
        Rect(gc, 1.5, 6.5, 13, 6, 0x9aa3ad, 0x4a525c);
        Rect(gc, 4, 10.5, 8, 4.5, 0xffffff, 0x4a525c);
        gc.SetBrush(wxBrush(C(0x3fbf3f)));
        gc.SetPen(*wxTRANSPARENT_PEN);
        gc.DrawEllipse(11.5, 7.8, 1.6, 1.6);
        break;
    case ID_EDIT_CUT: {
        gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(0x606870)).Width(1.4)));
        gc.StrokeLine(5.5, 1.5, 10.5, 10);
        gc.StrokeLine(10.5, 1.5, 5.5, 10);
        gc.SetBrush(*wxTRANSPARENT_BRUSH);
        gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(0xb02020)).Width(1.6)));
        gc.DrawEllipse(2, 10, 4.5, 4.5);
        gc.DrawEllipse(9.5, 10, 4.5, 4.5);
        break;
    }
    case ID_EDIT_COPY:
        Page(gc, 1.5, 1.5, 8, 10);
        Lines(gc, 3, 5, 5, 3);
        Page(gc, 6.5, 4.5, 8, 10);
        Lines(gc, 8, 8, 5, 3);
        break;
    case ID_EDIT_PASTE:
        Rect(gc, 2, 2.5, 10, 12, 0xb07a3a, 0x6b4516);
        Rect(gc, 4.5, 1, 5, 3, 0xc8cdd2, 0x5a6270);
        Page(gc, 7, 6, 7.5, 9);
        Lines(gc, 8.5, 9.5, 4.5, 3);
        break;
    case ID_EDIT_FIND:
        gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(0x404850)).Width(1.6)));
        gc.SetBrush(wxBrush(C(0xcfe6ff)));
        gc.DrawEllipse(1.5, 1.5, 9, 9);
        gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(0x6b4516)).Width(2.6).Cap(wxCAP_ROUND)));
        gc.StrokeLine(9.5, 9.5, 14, 14);
        break;
    case ID_EDIT_UNDO:
        Arrow(gc, true, 0x2e5fa8);
        break;
    case ID_EDIT_REDO:
        Arrow(gc, false, 0x2e5fa8);
        break;
    case ID_JAVA_COMPILE: {
        // A page being turned into a class: page with a blue cog.
        Page(gc, 1.5, 1, 9, 12);
        Lines(gc, 3, 4, 5, 3);
        gc.SetBrush(wxBrush(C(0x2e5fa8)));
        gc.SetPen(*wxTRANSPARENT_PEN);
        wxGraphicsPath cog = gc.CreatePath();
        const double cx = 11, cy = 11;
        for (int i = 0; i < 16; ++i) {
            double a = i * M_PI / 8;
            double r = i % 2 ? 3.2 : 4.6;
            if (i == 0)
                cog.MoveToPoint(cx + r * std::cos(a), cy + r * std::sin(a));
            else
                cog.AddLineToPoint(cx + r * std::cos(a), cy + r * std::sin(a));
        }
        cog.CloseSubpath();
        gc.FillPath(cog);
        gc.SetBrush(wxBrush(C(0xffffff)));
        gc.DrawEllipse(cx - 1.4, cy - 1.4, 2.8, 2.8);
        break;
    }
    case ID_JAVA_RUN: {
        wxGraphicsPath p = gc.CreatePath();
        p.MoveToPoint(4, 2);
        p.AddLineToPoint(14, 8);
        p.AddLineToPoint(4, 14);
        p.CloseSubpath();
        gc.SetBrush(wxBrush(C(0x2e9e3a)));
        gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(0x1b6324)).Width(1)));
        gc.DrawPath(p);
        break;
    }
    case ID_JAVA_CONSOLE: {
        Rect(gc, 1, 2, 14, 12, 0x1c1f24, 0x5a6270);
        gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(0x7fe07f)).Width(1.3)));
        gc.StrokeLine(3.5, 5.5, 6, 8);
        gc.StrokeLine(6, 8, 3.5, 10.5);
        gc.StrokeLine(7.5, 11, 11.5, 11);
        break;
    }
    case ID_VIEW_WORKSPACE:
        Rect(gc, 1.5, 2, 13, 12, 0xffffff, 0x4a525c);
        Rect(gc, 1.5, 2, 5, 12, 0x8fb4e3, 0x4a525c);
        break;
    case ID_VIEW_OUTPUT:
        Rect(gc, 1.5, 2, 13, 12, 0xffffff, 0x4a525c);
        Rect(gc, 1.5, 9.5, 13, 4.5, 0x8fb4e3, 0x4a525c);
        break;
    case ID_VIEW_FULLSCREEN: {
        Rect(gc, 3.5, 3.5, 9, 9, 0xdfe6f0, 0x4a525c);
        gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(0x2e5fa8)).Width(1.6)));
        const double c[4][2] = {{1, 1}, {15, 1}, {1, 15}, {15, 15}};
        for (auto& p : c) {
            double dx = p[0] < 8 ? 4 : -4, dy = p[1] < 8 ? 4 : -4;
            gc.StrokeLine(p[0], p[1], p[0] + dx, p[1]);
            gc.StrokeLine(p[0], p[1], p[0], p[1] + dy);
        }
        break;
    }
    case ID_APP_ABOUT: {
        gc.SetBrush(wxBrush(C(0x2e5fa8)));
        gc.SetPen(*wxTRANSPARENT_PEN);
        gc.DrawEllipse(1, 1, 14, 14);
        gc.SetBrush(wxBrush(C(0xffffff)));
        gc.DrawEllipse(7, 3.5, 2.2, 2.2);
        gc.DrawRectangle(7, 6.8, 2.2, 6);
        break;
    }
    default:
        break;
    }
}

// The options dialog's tree icons.
void PaintOptionsPage(wxGraphicsContext& gc, int resource)
{
    switch (resource) {
    case kIconOptionsGui: // a window with its title bar
        Rect(gc, 1.5, 2.5, 13, 11, 0xffffff, 0x4a525c);
        Rect(gc, 1.5, 2.5, 13, 3, 0x2e5fa8, 0x173866);
        break;
    case kIconOptionsFullscreen: // a screen filled edge to edge
        Rect(gc, 1.5, 2, 13, 9.5, 0x2e5fa8, 0x4a525c);
        Rect(gc, 6, 11.5, 4, 2, 0x9aa3ad, 0x4a525c, 0.5);
        Rect(gc, 4, 13.5, 8, 1.2, 0x9aa3ad, 0x4a525c, 0.5);
        break;
    case kIconOptionsOutput: // a console with lines of output
        Rect(gc, 1.5, 2.5, 13, 11, 0x1e2630, 0x4a525c);
        Lines(gc, 3.5, 5.5, 7, 3, 0x8fe08f);
        break;
    case kIconOptionsJdk:
        Cup(gc, 3, 2.5, 1.15, 0x8a4b16, 0x9aa3ad);
        break;
    case kIconOptionsCompiler: { // a gear
        gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(0x4a525c)).Width(2.4)));
        for (int i = 0; i < 4; ++i) {
            double a = i * M_PI / 4;
            gc.StrokeLine(8 - 6.3 * std::cos(a), 8 - 6.3 * std::sin(a), 8 + 6.3 * std::cos(a),
                          8 + 6.3 * std::sin(a));
        }
        gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(0x4a525c)).Width(1)));
        gc.SetBrush(wxBrush(C(0x9aa3ad)));
        gc.DrawEllipse(3.2, 3.2, 9.6, 9.6);
        gc.SetBrush(wxBrush(C(0xffffff)));
        gc.DrawEllipse(6, 6, 4, 4);
        break;
    }
    case kIconOptionsInterpreter: { // a start arrow
        wxGraphicsPath p = gc.CreatePath();
        p.MoveToPoint(4, 2.5);
        p.AddLineToPoint(13, 8);
        p.AddLineToPoint(4, 13.5);
        p.CloseSubpath();
        gc.SetBrush(wxBrush(C(0x2e9a3e)));
        gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(0x1d6428)).Width(1)));
        gc.DrawPath(p);
        break;
    }
    case kIconOptionsEditor:
        Page(gc, 2.5, 1.5, 11, 13);
        Lines(gc, 4.5, 5.5, 7, 4);
        break;
    case kIconOptionsColours: { // four colour boxes
        const unsigned fills[4] = {0xd83a3a, 0x2e9a3e, 0x2e5fa8, 0xf5c400};
        for (int i = 0; i < 4; ++i)
            Rect(gc, 1.5 + 7 * (i % 2), 1.5 + 7 * (i / 2), 6, 6, fills[i], 0x4a525c);
        break;
    }
    case kIconOptionsFont: { // a large letter A
        gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(0x173866)).Width(2).Cap(wxCAP_BUTT)));
        gc.StrokeLine(2.5, 14, 8, 2);
        gc.StrokeLine(8, 2, 13.5, 14);
        gc.StrokeLine(4.7, 9.5, 11.3, 9.5);
        break;
    }
    case kIconOptionsSyntax: // a page with coloured lines
        Page(gc, 2.5, 1.5, 11, 13);
        Lines(gc, 4.5, 5.5, 7, 1, 0x2e5fa8);
        Lines(gc, 4.5, 7.5, 5, 1, 0x2e9a3e);
        Lines(gc, 4.5, 9.5, 6, 1, 0x8a2be2);
        Lines(gc, 4.5, 11.5, 4, 1, 0xd83a3a);
        break;
    case kIconOptionsTextblocks: { // braces
        gc.SetPen(gc.CreatePen(wxGraphicsPenInfo(C(0x2e5fa8)).Width(1.6)));
        gc.SetBrush(*wxTRANSPARENT_BRUSH);
        for (int side = 0; side < 2; ++side) {
            const double d = side == 0 ? 1 : -1, x = side == 0 ? 5.5 : 10.5;
            wxGraphicsPath p = gc.CreatePath();
            p.MoveToPoint(x + 1.5 * d, 2);
            p.AddCurveToPoint(x - 0.5 * d, 2, x, 3, x, 5);
            p.AddCurveToPoint(x, 7, x - 1.5 * d, 8, x - 2 * d, 8);
            p.AddCurveToPoint(x - 1.5 * d, 8, x, 9, x, 11);
            p.AddCurveToPoint(x, 13, x - 0.5 * d, 14, x + 1.5 * d, 14);
            gc.StrokePath(p);
        }
        break;
    }
    default:
        break;
    }
}

} // namespace

wxBitmap ToolbarBitmap(int command, int size)
{
    return Draw(size, [command](wxGraphicsContext& gc) { PaintCommand(gc, command); });
}

wxBitmap OptionsPageIcon(int resource)
{
    return Draw(16, [resource](wxGraphicsContext& gc) { PaintOptionsPage(gc, resource); });
}

wxBitmap ScalableFontMark()
{
    // Two overlapping T's, 12 pixels wide, on a transparent ground.
    wxImage img(12, 12);
    img.InitAlpha();
    std::fill(img.GetAlpha(), img.GetAlpha() + 144, 0);
    {
        std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(img));
        if (gc) {
            gc->SetPen(gc->CreatePen(wxGraphicsPenInfo(C(0x5a6270)).Width(1.6).Cap(wxCAP_BUTT)));
            gc->StrokeLine(0.5, 1.5, 7, 1.5);
            gc->StrokeLine(3.75, 1.5, 3.75, 9);
            gc->SetPen(gc->CreatePen(wxGraphicsPenInfo(C(0x2e5fa8)).Width(1.6).Cap(wxCAP_BUTT)));
            gc->StrokeLine(4.5, 4.5, 11.5, 4.5);
            gc->StrokeLine(8, 4.5, 8, 11.5);
        }
    }
    return wxBitmap(img);
}

wxBitmap SplashBitmap()
{
    wxBitmap bmp(kSplashWidth, kSplashHeight, 24);
    wxMemoryDC dc(bmp);
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
    if (!gc)
        return bmp;
    const double w = kSplashWidth, h = kSplashHeight;
    gc->SetBrush(gc->CreateLinearGradientBrush(0, 0, w, h, C(0x10284a), C(0x1f6f78)));
    gc->SetPen(*wxTRANSPARENT_PEN);
    gc->DrawRectangle(0, 0, w, h);
    // Soft rings behind the cup.
    for (int i = 0; i < 5; ++i) {
        double r = 60 + i * 28;
        gc->SetPen(gc->CreatePen(wxGraphicsPenInfo(wxColour(255, 255, 255, 18)).Width(10)));
        gc->SetBrush(*wxTRANSPARENT_BRUSH);
        gc->DrawEllipse(330 - r, 110 - r, 2 * r, 2 * r);
    }
    Cup(*gc, 270, 40, 13, 0xf2f2f2, 0xf5c400);
    wxFont big(wxFontInfo(64).Family(wxFONTFAMILY_SWISS).Bold());
    gc->SetFont(big, C(0xffffff));
    gc->DrawText("Kib", 28, 48);
    wxFont mid(wxFontInfo(13).Family(wxFONTFAMILY_SWISS));
    gc->SetFont(mid, C(0xcfe3ff));
    gc->DrawText(wxString::FromUTF8("Entwicklungsumgebung für Java"), 32, 148);
    gc->SetPen(gc->CreatePen(wxGraphicsPenInfo(C(0xf5c400)).Width(3)));
    gc->StrokeLine(32, 140, 190, 140);
    wxFont small(wxFontInfo(9).Family(wxFONTFAMILY_SWISS));
    gc->SetFont(small, C(0xa9c4e0));
    gc->DrawText(wxString::FromUTF8("Version " KIB_VERSION "  ·  Orvane"), 32, h - 30);
    gc.reset();
    dc.SelectObject(wxNullBitmap);
    return bmp;
}

wxImageList* CreateOpenFilesImageList()
{
    auto* list = new wxImageList(16, 16, true, 9);
    for (int i = 0; i < 9; ++i) {
        list->Add(Draw(16, [i](wxGraphicsContext& gc) {
            if (i == kImageRoot) {
                Page(gc, 1.5, 1, 9, 11, 0xe8eef6);
                Page(gc, 5.5, 4, 9, 11);
                Lines(gc, 7, 8, 5, 3);
            } else if (i == kImageJava) {
                Page(gc, 2, 1, 11, 14);
                Cup(gc, 3.5, 3.5, 0.95, 0x9b4a1a, 0xd98c2b);
            } else {
                Page(gc, 2.5, 1, 11, 14);
                Lines(gc, 4.5, 5, 6.5, 4);
            }
        }));
    }
    return list;
}

wxBitmap OpenFilesBitmap(int index)
{
    static std::unique_ptr<wxImageList> images(CreateOpenFilesImageList());
    return images->GetBitmap(index);
}

wxBitmap WorkspaceTabBitmap(int index)
{
    return Draw(16, [index](wxGraphicsContext& gc) {
        if (index == 0) {
            Page(gc, 1.5, 1, 9, 11, 0xe8eef6);
            Page(gc, 5.5, 4, 9, 11);
        } else {
            Folder(gc, 0);
        }
    });
}

wxIconBundle ProgramIcons()
{
    wxIconBundle bundle;
    for (int size : {16, 32, 48, 64}) {
        wxBitmap bmp = Draw(size, [](wxGraphicsContext& gc) {
            gc.SetBrush(gc.CreateLinearGradientBrush(0, 0, 16, 16, C(0x1c4f8c), C(0x1f6f78)));
            gc.SetPen(*wxTRANSPARENT_PEN);
            gc.DrawRoundedRectangle(0.5, 0.5, 15, 15, 3);
            Cup(gc, 3.2, 2.2, 1.0, 0xffffff, 0xf5c400);
        });
        wxIcon icon;
        icon.CopyFromBitmap(bmp);
        bundle.AddIcon(icon);
    }
    return bundle;
}

} // namespace kib
