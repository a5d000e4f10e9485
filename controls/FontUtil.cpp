#include "controls/FontUtil.h"

#include <wx/dcscreen.h>

#include <cmath>
#include <cstdlib>

int ScreenPixelsPerInch()
{
    wxScreenDC dc;
    int ppi = dc.GetPPI().y;
    return ppi > 0 ? ppi : 96;
}

wxFont FontFromLogFont(const CLogFont& lf, int ppi)
{
    int points = lf.lfHeight == 0 ? 10 : std::abs(MulDiv(lf.lfHeight, 72, ppi));
    if (points <= 0)
        points = 10;
    // Bits 0-1 of pitch-and-family: 1 fixed pitch; bits 4-7: 0x30 modern.
    bool fixed = (lf.lfPitchAndFamily & 0x03) == 1 || (lf.lfPitchAndFamily & 0xF0) == 0x30;
    wxFontInfo info(points);
    info.Family(fixed ? wxFONTFAMILY_TELETYPE : wxFONTFAMILY_DEFAULT);
    std::string face = lf.FaceName();
    if (!face.empty())
        info.FaceName(wxString::FromUTF8(face));
    if (lf.lfWeight >= 700)
        info.Bold();
    if (lf.lfItalic)
        info.Italic();
    wxFont font(info);
    if (!font.IsOk())
        font = wxFont(wxFontInfo(points).Family(wxFONTFAMILY_TELETYPE));
    return font;
}
