// The colour picker and its palette in a frame of their own: the boxes and
// their tool tips, the keys, Escape, clicks outside, the automatic and the
// custom entries, track selection, the messages to the parent and the
// palette's place near the screen's bottom.
#include "OptionsTestSupport.h"

#include <wx/app.h>
#include <wx/display.h>
#include <wx/settings.h>

using namespace opttest;
using M = CColourPaletteModel;

namespace {

struct Message {
    wxEventType type;
    colours::Colour colour;
    int id;
};

class ColourPickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new wxFrame(nullptr, wxID_ANY, "picker test", wxPoint(50, 50), wxSize(300, 200));
        auto* panel = new wxPanel(frame);
        picker = new CColourPicker(panel, 1052, wxString(), wxPoint(20, 20), wxSize(100, -1));
        for (const wxEventTypeTag<wxCommandEvent>& type :
             {MSG_COLOUR_CHANGED, MSG_PALETTE_OPENED, MSG_PALETTE_CLOSED, MSG_COLOUR_CHOSEN, MSG_COLOUR_CANCELLED})
            panel->Bind(type, [this](wxCommandEvent& e) {
                messages.push_back({e.GetEventType(), static_cast<colours::Colour>(e.GetInt()), e.GetId()});
            });
        frame->Show();
        kibtest::PumpEvents(30);
    }
    void TearDown() override
    {
        frame->Destroy();
        kibtest::PumpEvents(20);
    }
    CColourPalettePopup* Open(colours::Colour c)
    {
        picker->SetColour(c);
        messages.clear();
        picker->OpenPalette();
        kibtest::PumpEvents(20);
        return picker->Palette();
    }
    int Count(wxEventType type) const
    {
        int n = 0;
        for (const Message& m : messages)
            n += m.type == type ? 1 : 0;
        return n;
    }
    void Motion(CColourPalettePopup* palette, const wxPoint& p)
    {
        wxMouseEvent e(wxEVT_MOTION);
        e.SetPosition(p);
        e.SetEventObject(palette);
        palette->GetEventHandler()->ProcessEvent(e);
    }
    wxPoint Centre(CColourPalettePopup* palette, int index)
    {
        const M::Rect r = palette->Model().BoxRect(index);
        return wxPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    wxFrame* frame = nullptr;
    CColourPicker* picker = nullptr;
    std::vector<Message> messages;
};

} // namespace

TEST_F(ColourPickerTest, FortyBoxesWithTheirNamesAsToolTips)
{
    CColourPalettePopup* palette = Open(colours::Rgb(255, 0, 0));
    ASSERT_NE(palette, nullptr);
    EXPECT_TRUE(palette->IsShown());
    EXPECT_TRUE(palette->HasCapture());
    // Below the button's lower left corner.
    EXPECT_EQ(palette->GetScreenPosition(), picker->ClientToScreen(wxPoint(0, picker->GetClientSize().y)));
    for (int i = 0; i < colours::kCount; ++i) {
        EXPECT_EQ(palette->TooltipAt(Centre(palette, i)).utf8_string(), colours::TableName(i)) << i;
        Motion(palette, Centre(palette, i));
        EXPECT_EQ(palette->Model().Hovered(), i);
        EXPECT_EQ(palette->GetToolTipText().utf8_string(), colours::TableName(i));
    }
    // Every entry passed was told to the parent; the button did not follow.
    EXPECT_EQ(Count(MSG_COLOUR_CHANGED), 40);
    EXPECT_EQ(messages.back().colour, colours::Rgb(255, 255, 255));
    EXPECT_EQ(messages.back().id, 1052);
    EXPECT_EQ(picker->GetColour(), colours::Rgb(255, 0, 0));
    EXPECT_EQ(palette->Model().Chosen(), 16);
    // The captions.
    const M::Rect a = palette->Model().AutomaticRect();
    Motion(palette, wxPoint(a.left + 4, a.top + 4));
    EXPECT_EQ(palette->Model().Hovered(), M::kAutomatic);
    EXPECT_EQ(messages.back().colour, colours::kAutomatic);
    palette->HandleKey(WXK_ESCAPE);
}

TEST_F(ColourPickerTest, KeysMoveAndEnterChooses)
{
    CColourPalettePopup* palette = Open(colours::Rgb(0, 0, 255)); // Blue, 13
    EXPECT_EQ(Count(MSG_PALETTE_OPENED), 1);
    EXPECT_EQ(messages[0].colour, colours::Rgb(0, 0, 255));
    EXPECT_TRUE(palette->HandleKey(WXK_RIGHT)); // onto the chosen entry
    EXPECT_EQ(palette->Model().Hovered(), 13);
    palette->HandleKey(WXK_DOWN);
    EXPECT_EQ(palette->Model().Hovered(), 21);
    palette->HandleKey(WXK_LEFT);
    EXPECT_EQ(palette->Model().Hovered(), 20);
    EXPECT_FALSE(palette->HandleKey('a')); // other keys pass on
    messages.clear();
    palette->HandleKey(WXK_RETURN);
    kibtest::PumpEvents(10);
    EXPECT_FALSE(picker->IsActive());
    EXPECT_EQ(picker->GetColour(), colours::Rgb(127, 255, 212)); // Aqua
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].type, MSG_PALETTE_CLOSED);
    EXPECT_EQ(messages[1].type, MSG_COLOUR_CHOSEN);
    EXPECT_EQ(messages[1].colour, colours::Rgb(127, 255, 212));
}

TEST_F(ColourPickerTest, EscapeAClickOutsideAndLeavingTheApplicationRestoreTheColour)
{
    const colours::Colour start = colours::Rgb(255, 215, 0); // Gold
    CColourPalettePopup* palette = Open(start);
    palette->HandleKey(WXK_RIGHT);
    palette->HandleKey(WXK_RIGHT);
    picker->SetTrackSelection(false);
    messages.clear();
    palette->HandleKey(WXK_ESCAPE);
    kibtest::PumpEvents(10);
    EXPECT_EQ(picker->GetColour(), start);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].type, MSG_COLOUR_CANCELLED);
    EXPECT_EQ(messages[1].colour, start);

    // A release outside the palette.
    palette = Open(start);
    Motion(palette, Centre(palette, 0));
    wxMouseEvent up(wxEVT_LEFT_UP);
    up.SetPosition(wxPoint(-30, -30));
    palette->GetEventHandler()->ProcessEvent(up);
    kibtest::PumpEvents(10);
    EXPECT_FALSE(picker->IsActive());
    EXPECT_EQ(picker->GetColour(), start);
    EXPECT_EQ(Count(MSG_COLOUR_CANCELLED), 1);

    // A release inside chooses.
    palette = Open(start);
    Motion(palette, Centre(palette, 3));
    wxMouseEvent inside(wxEVT_LEFT_UP);
    inside.SetPosition(Centre(palette, 3));
    palette->GetEventHandler()->ProcessEvent(inside);
    kibtest::PumpEvents(10);
    EXPECT_EQ(picker->GetColour(), colours::Rgb(0, 85, 0));
    EXPECT_EQ(Count(MSG_COLOUR_CHOSEN), 1);

    // Another application becomes active.
    palette = Open(start);
    palette->HandleKey(WXK_RIGHT);
    palette->HandleKey(WXK_RIGHT);
    wxActivateEvent deactivate(wxEVT_ACTIVATE_APP, false);
    wxTheApp->ProcessEvent(deactivate);
    kibtest::PumpEvents(30);
    EXPECT_FALSE(picker->IsActive());
    EXPECT_EQ(picker->GetColour(), start);
    EXPECT_EQ(Count(MSG_COLOUR_CANCELLED), 1);
}

TEST_F(ColourPickerTest, KeysReachThePaletteThroughTheButtonAndNotTheWindowAround)
{
    CColourPalettePopup* palette = Open(colours::Rgb(0, 0, 0));
    (void)palette;
    picker->SetFocus();
    wxKeyEvent right(wxEVT_CHAR_HOOK);
    right.m_keyCode = WXK_RIGHT;
    right.SetEventObject(picker);
    picker->GetEventHandler()->ProcessEvent(right);
    EXPECT_EQ(picker->Palette()->Model().Hovered(), 0);
    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    escape.SetEventObject(picker);
    bool reachedFrame = false;
    picker->GetParent()->Bind(wxEVT_CHAR_HOOK, [&](wxKeyEvent& e) {
        reachedFrame = true;
        e.Skip();
    });
    picker->GetEventHandler()->ProcessEvent(escape);
    kibtest::PumpEvents(10);
    EXPECT_FALSE(picker->IsActive());
    EXPECT_FALSE(reachedFrame);
    // Space opens it again.
    wxKeyEvent space(wxEVT_CHAR_HOOK);
    space.m_keyCode = WXK_SPACE;
    space.SetEventObject(picker);
    picker->GetEventHandler()->ProcessEvent(space);
    EXPECT_TRUE(picker->IsActive());
    picker->Palette()->HandleKey(WXK_ESCAPE);
    kibtest::PumpEvents(10);
}

TEST_F(ColourPickerTest, TheAutomaticColourAndAColourOutsideTheTable)
{
    CColourPalettePopup* palette = Open(colours::kAutomatic);
    EXPECT_EQ(palette->Model().Chosen(), M::kAutomatic);
    palette->HandleKey(WXK_ESCAPE);
    kibtest::PumpEvents(30);
    picker->Refresh();
    picker->Update();
    kibtest::PumpEvents(30);
    // The face in the system's button colour.
    const wxRect arrow = picker->ArrowRect();
    const wxPoint face(arrow.x / 2, picker->GetClientSize().y / 2);
    EXPECT_EQ(ScreenPixel(picker, face), FromWxColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    picker->SetColour(colours::Rgb(0, 147, 0));
    kibtest::PumpEvents(30);
    EXPECT_EQ(ScreenPixel(picker, face), colours::Rgb(0, 147, 0));

    palette = Open(colours::Rgb(1, 2, 3));
    EXPECT_EQ(palette->Model().Chosen(), M::kCustom);
    palette->HandleKey(WXK_ESCAPE);
    kibtest::PumpEvents(10);
}

TEST_F(ColourPickerTest, OtherColoursRunTheColourDialog)
{
    std::vector<colours::Colour> offered;
    bool answer = false;
    picker->SetColourDialog([&](wxWindow*, colours::Colour& c) {
        offered.push_back(c);
        if (answer)
            c = colours::Rgb(10, 20, 30);
        return answer;
    });
    const colours::Colour start = colours::Rgb(0, 0, 139);
    CColourPalettePopup* palette = Open(start);
    const M::Rect custom = palette->Model().CustomRect();
    Motion(palette, wxPoint(custom.left + 5, custom.top + 5));
    EXPECT_EQ(palette->Model().Hovered(), M::kCustom);
    messages.clear();
    palette->HandleKey(WXK_RETURN); // the dialog is cancelled
    kibtest::PumpEvents(10);
    EXPECT_EQ(offered, std::vector<colours::Colour>{start});
    EXPECT_EQ(picker->GetColour(), start);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].type, MSG_COLOUR_CANCELLED);

    answer = true;
    palette = Open(start);
    palette->HandleKey(WXK_RIGHT);
    palette->HandleKey(WXK_UP); // from Dark blue in the first row: the automatic entry
    palette->HandleKey(WXK_UP); // from there: the custom entry
    EXPECT_EQ(palette->Model().Hovered(), M::kCustom);
    palette->HandleKey(WXK_SPACE);
    kibtest::PumpEvents(10);
    EXPECT_EQ(picker->GetColour(), colours::Rgb(10, 20, 30));
    EXPECT_EQ(Count(MSG_COLOUR_CHOSEN), 1);
}

TEST_F(ColourPickerTest, TrackSelectionAndTheTextMode)
{
    picker->SetTrackSelection(true);
    CColourPalettePopup* palette = Open(colours::Rgb(0, 0, 0));
    Motion(palette, Centre(palette, 16));
    EXPECT_EQ(picker->GetColour(), colours::Rgb(255, 0, 0));
    palette->HandleKey(WXK_ESCAPE);
    kibtest::PumpEvents(10);
    EXPECT_EQ(picker->GetColour(), colours::Rgb(0, 0, 0));

    picker->SetTrackSelection(false);
    picker->SetSelectionMode(CColourPicker::SELECT_TEXT);
    picker->SetBackColour(colours::Rgb(255, 255, 255));
    palette = Open(colours::Rgb(0, 0, 0));
    palette->HandleKey(WXK_RIGHT);
    palette->HandleKey(WXK_RIGHT);
    palette->HandleKey(WXK_RETURN);
    kibtest::PumpEvents(10);
    EXPECT_EQ(picker->GetTextColour(), colours::Rgb(165, 42, 0));
    EXPECT_EQ(picker->GetBackColour(), colours::Rgb(255, 255, 255));
}

TEST_F(ColourPickerTest, WithoutCaptionsTheEntriesAreAbsent)
{
    picker->SetAutomaticText(nullptr);
    const wxString empty;
    picker->SetCustomText(&empty);
    CColourPalettePopup* palette = Open(colours::Rgb(1, 2, 3));
    EXPECT_FALSE(palette->Model().HasAutomatic());
    EXPECT_FALSE(palette->Model().HasCustom());
    EXPECT_EQ(palette->Model().Chosen(), M::kNone);
    EXPECT_EQ(palette->GetSize().y, 5 * palette->Model().BoxSize() + 2 * palette->Model().Margin());
    palette->HandleKey(WXK_ESCAPE);
    kibtest::PumpEvents(10);
    // The captions come from the string table.
    CColourPicker fresh(frame, wxID_ANY);
    EXPECT_EQ(fresh.AutomaticText().utf8_string(), "Automatisch");
    EXPECT_EQ(fresh.CustomText().utf8_string(), "Andere Farben...");
}

TEST_F(ColourPickerTest, NearTheScreensBottomThePaletteOpensAbove)
{
    const wxRect screen = wxDisplay(0u).GetGeometry();
    frame->Move(100, screen.GetBottom() - 80);
    kibtest::PumpEvents(50);
    CColourPalettePopup* palette = Open(0);
    const wxRect r = palette->GetScreenRect();
    EXPECT_LE(r.GetBottom(), picker->GetScreenPosition().y);
    EXPECT_EQ(r.GetBottom() + 1, picker->GetScreenPosition().y);
    palette->HandleKey(WXK_ESCAPE);
    kibtest::PumpEvents(10);
}

TEST_F(ColourPickerTest, ThePickerGoingFirstTakesItsPaletteAlong)
{
    Open(0);
    ASSERT_TRUE(picker->IsActive());
    picker->Destroy();
    picker = nullptr;
    kibtest::PumpEvents(30);
    // Nothing may reach the frame from a palette whose picker is gone.
    EXPECT_EQ(Count(MSG_COLOUR_CHOSEN) + Count(MSG_COLOUR_CANCELLED), 0);
}
