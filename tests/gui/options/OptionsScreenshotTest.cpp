// Every page of the options dialog, and the colour palette open over it.
// With KIB_SCREENSHOT_DIR set each scene is saved as a PNG of the screen.
#include "OptionsTestSupport.h"

#include "options/DlgOptionsColorList.h"
#include "options/DlgOptionsEditorSyntax.h"

using namespace opttest;

TEST_F(OptionsDialogTest, EveryPageAndThePaletteOnScreen)
{
    Open();
    static const char* kNames[COptionsDialog::PAGE_COUNT] = {
        "options-01-gui",        "options-02-fullscreen", "options-03-outputfont", "options-04-jdk",
        "options-05-compiler",   "options-06-interpreter", "options-07-editor",    "options-08-colours",
        "options-09-editorfont", "options-10-syntax",     "options-11-textblocks"};
    for (int page = 0; page < COptionsDialog::PAGE_COUNT; ++page) {
        Show(static_cast<COptionsDialog::Page>(page));
        EXPECT_EQ(dialog->GetActiveIndex(), page);
        EXPECT_TRUE(dialog->GetPage(page)->IsShown());
        Screenshot(kNames[page]);
    }
    Show(COptionsDialog::PAGE_SYNTAX);
    auto* syntax = Page<CDlgOptionsEditorSyntax>(COptionsDialog::PAGE_SYNTAX);
    syntax->Foreground()->OpenPalette();
    kibtest::PumpEvents(50);
    ASSERT_TRUE(syntax->Foreground()->IsActive());
    CColourPalettePopup* palette = syntax->Foreground()->Palette();
    EXPECT_TRUE(palette->IsShown());
    palette->HandleKey(WXK_RIGHT);
    palette->HandleKey(WXK_DOWN);
    Screenshot("options-12-palette");
    palette->HandleKey(WXK_ESCAPE);
    kibtest::PumpEvents(20);
    EXPECT_FALSE(syntax->Foreground()->IsActive());
}
