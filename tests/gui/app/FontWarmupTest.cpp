// The font look-up done on another core while the main window is built:
// the window's text measures the same whether it runs or not.
#include "app/FontWarmup.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/bitmap.h>
#include <wx/font.h>

#include <memory>

namespace {

wxSize Extent(const wxString& face, int points)
{
    wxBitmap bitmap(10, 10);
    wxMemoryDC dc(bitmap);
    dc.SetFont(wxFont(wxFontInfo(points).FaceName(face)));
    return dc.GetTextExtent(wxString::FromUTF8("class Grüße { int größe; }"));
}

} // namespace

TEST(FontWarmup, TextMeasuresTheSameWhileItRunsAndAfter)
{
    wxSize during, duringOutput;
    {
        // Two at once, as a second window's start would make them.
        CFontWarmup first;
        auto second = std::make_unique<CFontWarmup>();
        during = Extent("Courier New", 10);
        duringOutput = Extent("Courier", 9);
    }
    EXPECT_GT(during.x, 0);
    EXPECT_EQ(during, Extent("Courier New", 10));
    EXPECT_EQ(duringOutput, Extent("Courier", 9));
}
