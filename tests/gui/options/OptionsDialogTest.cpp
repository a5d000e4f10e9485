// The options dialog on a settings copy: its tree, number fields, colour
// and syntax lists, font pages, text blocks, browse buttons and bad input.
#include "OptionsTestSupport.h"

#include "controls/SimpleComboBox.h"
#include "options/DlgOptionsEditor.h"
#include "options/DlgOptionsEditorColor.h"
#include "options/DlgOptionsEditorFont.h"
#include "options/DlgOptionsEditorSyntax.h"
#include "options/DlgOptionsEditorTextblocks.h"
#include "options/DlgOptionsFullscreen.h"
#include "options/DlgOptionsGUI.h"
#include "options/DlgOptionsJavaCompiler.h"
#include "options/DlgOptionsJavaInterpreter.h"
#include "options/DlgOptionsJavaJDK.h"
#include "options/DlgOptionsOutputFont.h"
#include "options/FontComboBox.h"
#include "options/OptionDefaults.h"

#include <wx/dcmemory.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/vlbox.h>
#include <wx/spinbutt.h>
#include <wx/stattext.h>

using namespace opttest;
using P = COptionsDialog;

namespace {

const std::string kRange1to20 = "Geben Sie bitte eine ganze Zahl zwischen 1 und 20 ein.";
const std::string kNotANumber = "Geben Sie bitte eine ganze Zahl ein.";

wxTreeItemId FindItem(wxTreeCtrl* tree, const wxString& text)
{
    std::vector<wxTreeItemId> stack{tree->GetRootItem()};
    while (!stack.empty()) {
        wxTreeItemId it = stack.back();
        stack.pop_back();
        if (it != tree->GetRootItem() && tree->GetItemText(it) == text)
            return it;
        wxTreeItemIdValue cookie;
        for (wxTreeItemId c = tree->GetFirstChild(it, cookie); c.IsOk(); c = tree->GetNextChild(it, cookie))
            stack.push_back(c);
    }
    return wxTreeItemId();
}

} // namespace

TEST_F(OptionsDialogTest, TreeHoldsThreeExpandedGroupsAndOutputfensterBetweenTheFirstTwo)
{
    Open();
    EXPECT_EQ(dialog->GetTitle().utf8_string(), "Optionen");
    EXPECT_EQ(dialog->GetPageCount(), 11);
    EXPECT_EQ(TreeOutline(dialog->Tree(), dialog->Tree()->GetRootItem()),
              (std::vector<std::string>{"Benutzeroberfläche [+]", "  Fullscreen", "Outputfenster",
                                        "Java JDK [+]", "  Compiler", "  Interpreter", "Editor [+]", "  Farben",
                                        "  Schriftart", "  Syntax Highlighting", "  Textblöcke"}));
    // Page 0 first, its title in the caption bar; every item has its icon.
    EXPECT_EQ(dialog->GetActiveIndex(), P::PAGE_GUI);
    EXPECT_EQ(dialog->PageCaption(dialog->GetActiveIndex()).utf8_string(), "Benutzeroberfläche");
    wxTreeItemId fullscreen = FindItem(dialog->Tree(), "Fullscreen");
    ASSERT_TRUE(fullscreen.IsOk());
    EXPECT_GE(dialog->Tree()->GetItemImage(fullscreen), 0);
    EXPECT_EQ(dialog->Tree()->GetId(), CTreePropertySheet::kTreeId);
    // The caption bar starts 8 pixels lower than the bare sheet's margin.
    EXPECT_EQ(dialog->CaptionBar()->GetPosition().y, CTreePropertySheet::kMargin + 8);
    EXPECT_EQ(dialog->CaptionBar()->GetSize().y, CTreePropertySheet::kCaptionHeight);
    EXPECT_EQ(dialog->FindWindow(wxID_APPLY), nullptr);
}

TEST_F(OptionsDialogTest, CaptionBarIsTheGradientWithTheTitle)
{
    Open();
    Show(P::PAGE_EDITOR);
    wxWindow* bar = dialog->CaptionBar();
    const wxSize size = bar->GetClientSize();
    wxBitmap bmp(size);
    {
        wxMemoryDC dc(bmp);
        dialog->PaintCaptionBar(dc, size);
    }
    wxImage img = bmp.ConvertToImage();
    // Blue at the left end, silver at the right, per column.
    const int w = size.x;
    auto at = [&](int x) { return colours::Rgb(img.GetRed(x, 1), img.GetGreen(x, 1), img.GetBlue(x, 1)); };
    EXPECT_EQ(at(0), colours::Rgb(0, 0, 255));
    const int x = w - 1;
    EXPECT_EQ(at(x), colours::Rgb(192 * x / w, 192 * x / w, (255 * (w - x) + 192 * x) / w));
    // The white title text stands in its left part.
    int white = 0;
    for (int y = 0; y < size.y; ++y)
        for (int px = 0; px < 60; ++px)
            white += img.GetRed(px, y) > 200 && img.GetGreen(px, y) > 200 ? 1 : 0;
    EXPECT_GT(white, 5);
}

TEST_F(OptionsDialogTest, SheetPlacesItemsByTheirFlagsAndParentsArePages)
{
    auto* sheet = new CTreePropertySheet(120, "Blatt", frame, 0);
    auto page = [&](const char* title) {
        auto* p = new wxPanel(sheet->PageParent());
        p->SetLabel(title);
        return p;
    };
    wxPanel* a = page("Eltern");
    wxPanel* b = page("Kind");
    wxPanel* c = page("Danach");
    wxPanel* d = page("Titel der Seite");
    sheet->AddPage(CTreePropertySheet::TPS_OPEN_GROUP, a, wxNullBitmap, "Eltern");
    sheet->AddPage(CTreePropertySheet::TPS_LAST_CHILD, b, wxNullBitmap, "Kind");
    sheet->AddPage(CTreePropertySheet::TPS_CHILD, c, wxNullBitmap, "Danach");
    sheet->AddPage(CTreePropertySheet::TPS_CHILD, d, wxNullBitmap); // empty caption
    sheet->Show();
    kibtest::PumpEvents(30);
    EXPECT_EQ(TreeOutline(sheet->Tree(), sheet->Tree()->GetRootItem()),
              (std::vector<std::string>{"Eltern [-]", "  Kind", "Danach", "Titel der Seite"}));
    EXPECT_EQ(sheet->PageCaption(3).utf8_string(), "Titel der Seite");
    // Choosing the parent shows its own page.
    sheet->Tree()->SelectItem(FindItem(sheet->Tree(), "Danach"));
    EXPECT_EQ(sheet->GetActivePage(), c);
    sheet->Tree()->SelectItem(FindItem(sheet->Tree(), "Eltern"));
    kibtest::PumpEvents(20);
    EXPECT_EQ(sheet->GetActivePage(), a);
    EXPECT_TRUE(a->IsShown());
    EXPECT_FALSE(c->IsShown());
    sheet->Tree()->SelectItem(FindItem(sheet->Tree(), "Titel der Seite"));
    EXPECT_EQ(sheet->GetActivePage(), d);
    EXPECT_EQ(sheet->PageCaption(sheet->GetActiveIndex()).utf8_string(), "Titel der Seite");
    sheet->Destroy();
}

TEST_F(OptionsDialogTest, GroupsNestAndCloseInnermostFirst)
{
    auto* sheet = new CTreePropertySheet(120, "Blatt", frame, 2);
    const char* titles[] = {"A", "B", "C", "D", "E"};
    const int flags[] = {CTreePropertySheet::TPS_OPEN_GROUP | CTreePropertySheet::TPS_EXPANDED,
                         CTreePropertySheet::TPS_OPEN_GROUP | CTreePropertySheet::TPS_EXPANDED,
                         CTreePropertySheet::TPS_LAST_CHILD, CTreePropertySheet::TPS_LAST_CHILD,
                         CTreePropertySheet::TPS_CHILD};
    for (int i = 0; i < 5; ++i) {
        auto* p = new wxPanel(sheet->PageParent());
        sheet->AddPage(flags[i], p, wxNullBitmap, titles[i]);
    }
    sheet->Show();
    kibtest::PumpEvents(30);
    EXPECT_EQ(TreeOutline(sheet->Tree(), sheet->Tree()->GetRootItem()),
              (std::vector<std::string>{"A [+]", "  B [+]", "    C", "  D", "E"}));
    EXPECT_EQ(sheet->GetActiveIndex(), 2); // the first page shown
    sheet->Destroy();
}

TEST_F(OptionsDialogTest, TabWidthOutOfRangeIsRefusedAndTheDialogStaysOpen)
{
    Open();
    auto* tab = Control<wxTextCtrl>(P::PAGE_EDITOR, CDlgOptionsEditor::kTabWidthId);
    for (const char* bad : {"0", "21"}) {
        Type(tab, bad);
        script.messages.clear();
        EXPECT_FALSE(PressOk()) << bad;
        ASSERT_EQ(script.messages, std::vector<std::string>{kRange1to20}) << bad;
        EXPECT_TRUE(dialog->IsShown());
        EXPECT_EQ(dialog->GetActiveIndex(), P::PAGE_EDITOR); // the page with the field
        EXPECT_EQ(dialog->Edited().m_tabWidth, 4);          // nothing taken yet
    }
    Type(tab, "vier");
    script.messages.clear();
    EXPECT_FALSE(PressOk());
    EXPECT_EQ(script.messages, std::vector<std::string>{kNotANumber});
    // Another page is refused while the field is wrong.
    script.messages.clear();
    dialog->Tree()->SelectItem(FindItem(dialog->Tree(), "Farben"));
    kibtest::PumpEvents(10);
    EXPECT_EQ(dialog->GetActiveIndex(), P::PAGE_EDITOR);
    EXPECT_EQ(script.messages, std::vector<std::string>{kNotANumber});

    // The guide column accepts 0 though its spin button stops at 1.
    Type(tab, "8");
    auto* guide = Control<wxTextCtrl>(P::PAGE_EDITOR, CDlgOptionsEditor::kGuideColumnId);
    auto* guideSpin = Control<wxSpinButton>(P::PAGE_EDITOR, CDlgOptionsEditor::kGuideSpinId);
    EXPECT_EQ(guideSpin->GetMin(), 1);
    EXPECT_EQ(guideSpin->GetMax(), 200);
    Type(guide, "0");
    script.messages.clear();
    EXPECT_TRUE(PressOk());
    EXPECT_TRUE(script.messages.empty());
    EXPECT_EQ(dialog->Edited().m_tabWidth, 8);
    EXPECT_EQ(dialog->Edited().m_columnGuidePos, 0);
}

TEST_F(OptionsDialogTest, GuideColumn201IsRefused)
{
    Open();
    Show(P::PAGE_GUI);
    Type(Control<wxTextCtrl>(P::PAGE_EDITOR, CDlgOptionsEditor::kGuideColumnId), "201");
    EXPECT_FALSE(PressOk());
    EXPECT_EQ(script.messages,
              std::vector<std::string>{"Geben Sie bitte eine ganze Zahl zwischen 0 und 200 ein."});
    EXPECT_EQ(dialog->GetActiveIndex(), P::PAGE_EDITOR);
}

TEST_F(OptionsDialogTest, SpinButtonsMoveTheirNumbers)
{
    Open();
    auto* tab = Control<wxTextCtrl>(P::PAGE_EDITOR, CDlgOptionsEditor::kTabWidthId);
    auto* spin = Control<wxSpinButton>(P::PAGE_EDITOR, CDlgOptionsEditor::kTabWidthSpinId);
    EXPECT_EQ(spin->GetMin(), 1);
    EXPECT_EQ(spin->GetMax(), 20);
    EXPECT_EQ(spin->GetValue(), 4);
    wxSpinEvent up(wxEVT_SPIN, spin->GetId());
    up.SetEventObject(spin);
    up.SetPosition(5);
    spin->GetEventHandler()->ProcessEvent(up);
    EXPECT_EQ(tab->GetValue(), "5");
    Type(tab, "12");
    EXPECT_EQ(spin->GetValue(), 12);
}

TEST_F(OptionsDialogTest, AColourChangedSurvivesGoingToAnotherEntryAndBack)
{
    Open();
    Show(P::PAGE_COLOURS);
    auto* page = Page<CDlgOptionsEditorColor>(P::PAGE_COLOURS);
    EXPECT_EQ(page->List()->GetCount(), 3u);
    EXPECT_EQ(page->List()->GetString(0).utf8_string(), "Editorfenster");
    EXPECT_EQ(page->List()->GetString(1).utf8_string(), "Selektion");
    EXPECT_EQ(page->List()->GetString(2).utf8_string(), "Selektionsrand (links)");
    EXPECT_EQ(page->List()->GetSelection(), 0);
    EXPECT_EQ(page->Foreground()->GetId(), 1052);
    EXPECT_EQ(page->Foreground()->GetColour(), 0u);
    EXPECT_EQ(page->Background()->GetColour(), 16777215u);
    PickColour(page->Foreground(), 16); // Red
    EXPECT_EQ(page->Foreground()->GetColour(), colours::Rgb(255, 0, 0));
    Choose(page->List(), 1);
    EXPECT_EQ(page->Foreground()->GetColour(), 16777215u);
    EXPECT_EQ(page->Background()->GetColour(), 12546160u);
    Choose(page->List(), 0);
    EXPECT_EQ(page->Foreground()->GetColour(), colours::Rgb(255, 0, 0));
    EXPECT_TRUE(PressOk());
    EXPECT_EQ(dialog->Edited().m_windowForeground, colours::Rgb(255, 0, 0));
    EXPECT_EQ(dialog->Edited().m_selectionForeground, 16777215u);
}

TEST_F(OptionsDialogTest, AutomaticOnAnEditorColourTakesTheSystemColour)
{
    Open();
    Show(P::PAGE_COLOURS);
    auto* page = Page<CDlgOptionsEditorColor>(P::PAGE_COLOURS);
    CColourPicker* fg = page->Foreground();
    fg->OpenPalette();
    fg->Palette()->HandleKey(WXK_RIGHT); // the chosen Black
    fg->Palette()->HandleKey(WXK_LEFT);  // the automatic entry
    EXPECT_EQ(fg->Palette()->Model().Hovered(), CColourPaletteModel::kAutomatic);
    fg->Palette()->HandleKey(WXK_RETURN);
    kibtest::PumpEvents(10);
    EXPECT_NE(fg->GetColour(), colours::kAutomatic);
    EXPECT_EQ(fg->GetColour(), FromWxColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT)));
}

TEST_F(OptionsDialogTest, RestoreWithOperatorsSelectedKeepsTheOperatorColoursShown)
{
    settings.m_highlight[HL_KEYWORD].foreground = colours::Rgb(1, 2, 3);
    settings.m_highlight[HL_STRING] = {colours::Rgb(9, 9, 9), colours::Rgb(8, 8, 8), STYLE_ITALIC};
    Open();
    Show(P::PAGE_SYNTAX);
    auto* page = Page<CDlgOptionsEditorSyntax>(P::PAGE_SYNTAX);
    ASSERT_EQ(page->List()->GetCount(), 9u);
    EXPECT_EQ(page->List()->GetString(7).utf8_string(), "Operatoren");
    EXPECT_EQ(page->List()->GetString(3).utf8_string(), "Einzeilige Kommentare ( // )");
    EXPECT_EQ(page->Foreground()->GetId(), 1056);
    Choose(page->List(), 7);
    EXPECT_EQ(page->Foreground()->GetColour(), 0u); // the settings' operator colour
    PickColour(page->Foreground(), 11);           // Green
    Toggle(page->Bold());
    Click(dialog->GetPage(P::PAGE_SYNTAX)->FindWindow(CDlgOptionsColorList::kRestoreId));
    // The buttons still show the operators' colours...
    EXPECT_EQ(page->Foreground()->GetColour(), colours::Rgb(0, 147, 0));
    Choose(page->List(), 0);
    // ...which the operators keep; Schlüsselwörter shows its default.
    EXPECT_EQ(page->Foreground()->GetColour(), 16711680u);
    EXPECT_EQ(page->Entries().Value(7), (CHighlightStyle{colours::Rgb(0, 147, 0), 16777215, STYLE_BOLD}));
    EXPECT_TRUE(PressOk());
    const CSettings& e = dialog->Edited();
    EXPECT_EQ(e.m_highlight[HL_OPERATOR], (CHighlightStyle{colours::Rgb(0, 147, 0), 16777215, STYLE_BOLD}));
    EXPECT_EQ(e.m_highlight[HL_KEYWORD].foreground, 16711680u);
    EXPECT_EQ(e.m_highlight[HL_STRING], (CHighlightStyle{8388736, 16777215, 0}));
}

TEST_F(OptionsDialogTest, StyleChecksEditTheStyleBits)
{
    settings.m_highlight[HL_COMMENT].style = STYLE_ITALIC | 4; // 4: underline, not shown
    Open();
    auto* page = Page<CDlgOptionsEditorSyntax>(P::PAGE_SYNTAX);
    Choose(page->List(), 3);
    EXPECT_FALSE(page->Bold()->GetValue());
    EXPECT_TRUE(page->Italic()->GetValue());
    auto* underline = dynamic_cast<wxCheckBox*>(
        dialog->GetPage(P::PAGE_SYNTAX)->FindWindow(CDlgOptionsColorList::kUnderlineId));
    ASSERT_NE(underline, nullptr);
    EXPECT_FALSE(underline->IsEnabled());
    Toggle(page->Bold());
    EXPECT_TRUE(PressOk());
    EXPECT_EQ(dialog->Edited().m_highlight[HL_COMMENT].style, STYLE_BOLD | STYLE_ITALIC | 4);
}

TEST_F(OptionsDialogTest, FontListHoldsNoProportionalFont)
{
    Open();
    Show(P::PAGE_EDITOR_FONT);
    auto* page = Page<CDlgOptionsEditorFont>(P::PAGE_EDITOR_FONT);
    CFontComboBox* faces = page->FaceBox();
    ASSERT_GT(faces->GetCount(), 0);
    wxBitmap bmp(10, 10);
    wxMemoryDC dc(bmp);
    for (int i = 0; i < faces->GetCount(); ++i) {
        wxFont f(wxFontInfo(12).FaceName(faces->GetString(i)));
        dc.SetFont(f);
        const int narrow = dc.GetTextExtent("iiiiiiii").x, wide = dc.GetTextExtent("WWWWWWWW").x;
        EXPECT_EQ(narrow, wide) << faces->GetString(i).utf8_string();
        EXPECT_TRUE(faces->IsMarked(i));
        if (i > 0) {
            EXPECT_LT(faces->GetString(i - 1).CmpNoCase(faces->GetString(i)), 0);
        }
    }
    // Proportional faces that are installed are not offered.
    EXPECT_EQ(faces->FindString("DejaVu Sans"), -1);
    EXPECT_EQ(faces->FindString("DejaVu Serif"), -1);
    // Sizes, and "Courier New" (not installed) stays as stored.
    EXPECT_EQ(page->SizeBox()->GetCount(), 16);
    EXPECT_EQ(page->SizeBox()->GetString(0), "8");
    EXPECT_EQ(page->SizeBox()->GetString(15), "72");
    EXPECT_EQ(faces->GetValue(), "Courier New");
    EXPECT_EQ(page->SizeBox()->GetValue(), "10");
}

TEST_F(OptionsDialogTest, FontPageSizeArithmetic)
{
    settings.m_outputFont.lfHeight = -16; // 12 points at 96 pixels per inch
    settings.m_outputFont.lfCharSet = 0;
    Open();
    Show(P::PAGE_OUTPUT_FONT);
    auto* page = Page<CDlgOptionsOutputFont>(P::PAGE_OUTPUT_FONT);
    EXPECT_EQ(page->SizeBox()->GetValue(), "12");
    EXPECT_EQ(page->SizeBox()->GetSelection(), page->SizeBox()->FindString("12"));
    // A size from the list and a face from the list.
    const int mono = page->FaceBox()->FindString("Monospace") >= 0 ? page->FaceBox()->FindString("Monospace") : 0;
    const wxString face = page->FaceBox()->GetString(mono);
    page->FaceBox()->SetSelection(mono);
    wxCommandEvent pick(wxEVT_LISTBOX, page->FaceBox()->List()->GetId());
    pick.SetInt(mono);
    page->FaceBox()->List()->GetEventHandler()->ProcessEvent(pick);
    EXPECT_EQ(page->FaceBox()->GetValue(), face);
    Type(page->SizeBox()->Edit(), "14");
    EXPECT_EQ(page->Font().FaceName(), face.utf8_string());
    EXPECT_EQ(page->Font().lfHeight, -19); // -MulDiv(14, 96, 72)
    EXPECT_EQ(page->Font().lfCharSet, 1);
    EXPECT_EQ(page->Sample()->GetFont().GetFaceName(), face);
    // A size that is no number leaves the height alone.
    Type(page->SizeBox()->Edit(), "gross");
    EXPECT_EQ(page->Font().lfHeight, -19);
    EXPECT_TRUE(PressOk());
    EXPECT_EQ(dialog->Edited().m_outputFont.lfHeight, -19);
    EXPECT_EQ(dialog->Edited().m_outputFont.FaceName(), face.utf8_string());
    EXPECT_EQ(dialog->Edited().m_outputFont.lfPitchAndFamily, 49);
    // The editor font was not touched.
    EXPECT_EQ(dialog->Edited().m_editorFont, settings.m_editorFont);
}

TEST_F(OptionsDialogTest, TextBlocksPage)
{
    Open();
    Show(P::PAGE_TEXTBLOCKS);
    auto* page = Page<CDlgOptionsEditorTextblocks>(P::PAGE_TEXTBLOCKS);
    ASSERT_EQ(page->KeyList()->GetCount(), 12u);
    EXPECT_EQ(page->KeyList()->GetString(0), "F1");
    EXPECT_EQ(page->KeyList()->GetString(11), "F12");
    EXPECT_EQ(page->KeyList()->GetSelection(), 0);
    EXPECT_EQ(page->NameField()->GetValue().utf8_string(), "if-Anweisung");
    EXPECT_EQ(page->ContentField()->GetValue().utf8_string(), "if (§)\n{\n}");
    // Edit block 1, go to block 5, restore its content, come back.
    Type(page->NameField(), "wenn");
    Type(page->ContentField(), "if (§ == 0)\n{\n\tx();\n}");
    Choose(page->KeyList(), 4);
    EXPECT_EQ(page->NameField()->GetValue(), "private");
    EXPECT_EQ(page->ContentField()->GetValue(), "private");
    Click(dialog->GetPage(P::PAGE_TEXTBLOCKS)->FindWindow(CDlgOptionsEditorTextblocks::kRestoreId));
    EXPECT_EQ(page->ContentField()->GetValue(), "private ");
    EXPECT_EQ(page->NameField()->GetValue(), "private");
    Choose(page->KeyList(), 0);
    EXPECT_EQ(page->NameField()->GetValue(), "wenn");
    // "Löschen" empties the content, the name stays.
    Choose(page->KeyList(), 11);
    Click(dialog->GetPage(P::PAGE_TEXTBLOCKS)->FindWindow(CDlgOptionsEditorTextblocks::kDeleteId));
    EXPECT_EQ(page->ContentField()->GetValue(), "");
    EXPECT_EQ(page->NameField()->GetValue(), "class ohne main");
    EXPECT_TRUE(PressOk());
    const CSettings& e = dialog->Edited();
    EXPECT_EQ(e.m_textBlocks[0].name, "wenn");
    EXPECT_EQ(e.m_textBlocks[0].content, "if (\xA7 == 0)\r\n{\r\n\tx();\r\n}");
    EXPECT_EQ(e.m_textBlocks[4].content, "private ");
    EXPECT_EQ(e.m_textBlocks[11].content, "");
    EXPECT_EQ(e.m_textBlocks[11].name, "class ohne main");
    EXPECT_EQ(e.m_textBlocks[1], settings.m_textBlocks[1]);
}

TEST_F(OptionsDialogTest, DependentControlsFollowTheirBoxes)
{
    settings.m_captureOutput = 1;
    Open();
    auto* destCheck = Control<wxCheckBox>(P::PAGE_COMPILER, CDlgOptionsJavaCompiler::kDestinationCheckId);
    auto* dest = Control(P::PAGE_COMPILER, CDlgOptionsJavaCompiler::kDestinationId);
    auto* destBrowse = Control(P::PAGE_COMPILER, CDlgOptionsJavaCompiler::kDestinationBrowseId);
    EXPECT_FALSE(dest->IsEnabled());
    EXPECT_FALSE(destBrowse->IsEnabled());
    Toggle(destCheck);
    EXPECT_TRUE(dest->IsEnabled());
    EXPECT_TRUE(destBrowse->IsEnabled());
    auto* autoSave = Control<wxCheckBox>(P::PAGE_COMPILER, CDlgOptionsJavaCompiler::kAutoSaveId);
    auto* thisFile = Control<wxRadioButton>(P::PAGE_COMPILER, CDlgOptionsJavaCompiler::kThisFileId);
    EXPECT_FALSE(thisFile->IsEnabled());
    Toggle(autoSave);
    EXPECT_TRUE(thisFile->IsEnabled());
    thisFile->SetValue(true);

    auto* capture = Control<wxCheckBox>(P::PAGE_INTERPRETER, CDlgOptionsJavaInterpreter::kCaptureId);
    auto* stop = Control(P::PAGE_INTERPRETER, CDlgOptionsJavaInterpreter::kStopId);
    EXPECT_FALSE(stop->IsEnabled());
    Toggle(capture);
    EXPECT_TRUE(stop->IsEnabled());

    auto* guide = Control<wxCheckBox>(P::PAGE_EDITOR, CDlgOptionsEditor::kGuideId);
    auto* column = Control(P::PAGE_EDITOR, CDlgOptionsEditor::kGuideColumnId);
    EXPECT_TRUE(column->IsEnabled());
    Toggle(guide);
    EXPECT_FALSE(column->IsEnabled());
    EXPECT_FALSE(Control(P::PAGE_EDITOR, CDlgOptionsEditor::kGuideSpinId)->IsEnabled());

    auto* menu = Control<wxCheckBox>(P::PAGE_FULLSCREEN, CDlgOptionsFullscreen::kMenuId);
    EXPECT_TRUE(menu->GetValue());
    EXPECT_FALSE(menu->IsEnabled());

    EXPECT_TRUE(PressOk());
    EXPECT_EQ(dialog->Edited().m_setDestinationPath, 1);
    EXPECT_EQ(dialog->Edited().m_autoSaveBeforeCompile, 1);
    EXPECT_EQ(dialog->Edited().m_autoSaveBeforeCompileType, 1);
    EXPECT_EQ(dialog->Edited().m_captureOutput, 0);
    EXPECT_EQ(dialog->Edited().m_drawColumnGuide, 0);
}

TEST_F(OptionsDialogTest, BrowseButtonsOfferThisPlatformsNames)
{
    settings.m_compilerPath = "/opt/jdk/bin/javac";
    Open();
    script.fileAnswers = {"/usr/lib/jvm/java-17-openjdk-amd64/bin/javac"};
    Click(Control(P::PAGE_COMPILER, CDlgOptionsJavaCompiler::kPathBrowseId));
    Click(Control(P::PAGE_INTERPRETER, CDlgOptionsJavaInterpreter::kPathBrowseId)); // cancelled
    Click(Control(P::PAGE_JDK, CDlgOptionsJavaJDK::kAppletViewerBrowseId));
    Click(Control(P::PAGE_JDK, CDlgOptionsJavaJDK::kDocsBrowseId));
    EXPECT_EQ(script.filePresets, (std::vector<std::string>{"javac", "java", "appletviewer", "*.html"}));
    script.folderAnswers = {"/tmp/klassen"};
    Toggle(Control<wxCheckBox>(P::PAGE_COMPILER, CDlgOptionsJavaCompiler::kDestinationCheckId));
    Click(Control(P::PAGE_COMPILER, CDlgOptionsJavaCompiler::kDestinationBrowseId));
    EXPECT_EQ(script.folderTitles, std::vector<std::string>{"Zielpfad bestimmen"});
    EXPECT_TRUE(PressOk());
    EXPECT_EQ(dialog->Edited().m_compilerPath, "/usr/lib/jvm/java-17-openjdk-amd64/bin/javac");
    EXPECT_EQ(dialog->Edited().m_interpreterPath, ""); // the cancelled dialog left it
    EXPECT_EQ(dialog->Edited().m_destinationPath, "/tmp/klassen");
}

TEST_F(OptionsDialogTest, EveryPageReadsAndWritesItsSettings)
{
    Open();
    auto radio = [&](int id) { return Control<wxRadioButton>(P::PAGE_GUI, id); };
    EXPECT_TRUE(radio(CDlgOptionsGUI::kOfficeXpId)->GetValue());
    EXPECT_EQ(radio(CDlgOptionsGUI::kBuntId)->GetLabel().utf8_string(), "\"&Bunt\"-Look");
    EXPECT_EQ(radio(CDlgOptionsGUI::kWindowsId)->GetLabel().utf8_string(), "&Windows \"08/15\"");
    radio(CDlgOptionsGUI::kMacId)->SetValue(true);
    Toggle(Control<wxCheckBox>(P::PAGE_GUI, CDlgOptionsGUI::kTabsId));
    Type(Control<wxTextCtrl>(P::PAGE_GUI, CDlgOptionsGUI::kMaskId), "*.java;*.txt");
    Toggle(Control<wxCheckBox>(P::PAGE_FULLSCREEN, CDlgOptionsFullscreen::kStatusId));
    Type(Control<wxTextCtrl>(P::PAGE_JDK, CDlgOptionsJavaJDK::kClassPathId), "/lib/a.jar:/lib/b.jar");
    Toggle(Control<wxCheckBox>(P::PAGE_COMPILER, CDlgOptionsJavaCompiler::kDeprecatedId));
    Toggle(Control<wxCheckBox>(P::PAGE_EDITOR, CDlgOptionsEditor::kSplashId));
    EXPECT_TRUE(PressOk());
    const CSettings& e = dialog->Edited();
    EXPECT_EQ(e.m_skin, 2);
    EXPECT_EQ(e.m_editorTabs, 0);
    EXPECT_EQ(e.m_fileExtensions, (std::vector<std::string>{".java", ".txt"}));
    EXPECT_EQ(e.m_fullScreenShowStatus, 1);
    EXPECT_EQ(e.m_classPath, "/lib/a.jar:/lib/b.jar");
    EXPECT_EQ(e.m_deprecated, 1);
    EXPECT_EQ(e.m_showSplash, 0);
    // Everything else as it came in.
    CSettings expected = settings;
    expected.m_skin = 2;
    expected.m_editorTabs = 0;
    expected.m_fileExtensions = e.m_fileExtensions;
    expected.m_fullScreenShowStatus = 1;
    expected.m_classPath = e.m_classPath;
    expected.m_deprecated = 1;
    expected.m_showSplash = 0;
    EXPECT_TRUE(e == expected);
}

TEST_F(OptionsDialogTest, OkWithoutChangesGivesTheSameSettings)
{
    settings.m_fileExtensions = {".java", ""}; // a piece without a dot
    settings.m_compilerPath = "/opt/j\xFCrgen/javac"; // not UTF-8
    settings.m_showLineNumbers = 5;                    // a flag that is not 0 or 1
    settings.m_textBlocks[0].content = "a\rb\nc";      // CR and LF alone
    Open();
    EXPECT_EQ(Control<wxTextCtrl>(P::PAGE_COMPILER, CDlgOptionsJavaCompiler::kPathId)->GetValue().utf8_string(),
              "/opt/jürgen/javac");
    EXPECT_TRUE(PressOk());
    EXPECT_TRUE(dialog->Edited() == settings);
}

TEST_F(OptionsDialogTest, BadStoredValuesOpenSanely)
{
    settings.m_tabWidth = 500;
    settings.m_columnGuidePos = -7;
    settings.m_skin = 9;
    settings.m_autoSaveBeforeCompileType = 42;
    settings.m_windowForeground = 0xFF00FF00u;
    settings.m_highlight[HL_NUMBER].style = 255;
    settings.m_editorFont.SetFaceName("Nicht Installiert Mono");
    settings.m_editorFont.lfHeight = 0;
    settings.m_textBlocks[0].content = std::string(1 << 20, 'x');
    settings.m_textBlocks[1].content = std::string("a\0b\r\nc", 6);
    settings.m_textBlocks[2].content = "for (\xA7;;)\r{\r}";
    Open();
    EXPECT_EQ(Control<wxTextCtrl>(P::PAGE_EDITOR, CDlgOptionsEditor::kTabWidthId)->GetValue(), "20");
    EXPECT_EQ(Control<wxTextCtrl>(P::PAGE_EDITOR, CDlgOptionsEditor::kGuideColumnId)->GetValue(), "0");
    EXPECT_TRUE(Control<wxRadioButton>(P::PAGE_GUI, CDlgOptionsGUI::kOfficeXpId)->GetValue());
    EXPECT_EQ(Page<CDlgOptionsEditorColor>(P::PAGE_COLOURS)->Foreground()->GetColour(), 0x00FF00u);
    auto* font = Page<CDlgOptionsEditorFont>(P::PAGE_EDITOR_FONT);
    EXPECT_EQ(font->FaceBox()->GetValue(), "Nicht Installiert Mono");
    EXPECT_EQ(font->FaceBox()->GetSelection(), -1);
    EXPECT_TRUE(font->Sample()->GetFont().IsOk());
    auto* blocks = Page<CDlgOptionsEditorTextblocks>(P::PAGE_TEXTBLOCKS);
    EXPECT_EQ(blocks->ContentField()->GetValue().length(), 1u << 20);
    Choose(blocks->KeyList(), 1);
    Choose(blocks->KeyList(), 2);
    EXPECT_EQ(blocks->ContentField()->GetValue().utf8_string(), "for (§;;)\n{\n}");
    Choose(blocks->KeyList(), 0);
    EXPECT_TRUE(PressOk());
    const CSettings& e = dialog->Edited();
    EXPECT_EQ(e.m_tabWidth, 20);
    EXPECT_EQ(e.m_columnGuidePos, 0);
    EXPECT_EQ(e.m_skin, 0);
    EXPECT_EQ(e.m_autoSaveBeforeCompileType, 0);
    EXPECT_EQ(e.m_windowForeground, 0x00FF00u);
    EXPECT_EQ(e.m_highlight[HL_NUMBER].style, 255);
    // The blocks the user did not edit keep their bytes.
    EXPECT_EQ(e.m_textBlocks[0].content, settings.m_textBlocks[0].content);
    EXPECT_EQ(e.m_textBlocks[1].content, settings.m_textBlocks[1].content);
    EXPECT_EQ(e.m_textBlocks[2].content, settings.m_textBlocks[2].content);
    EXPECT_EQ(e.m_editorFont, settings.m_editorFont);
}

TEST_F(OptionsDialogTest, CancelLeavesTheSettingsCopyUntaken)
{
    Open();
    Type(Control<wxTextCtrl>(P::PAGE_EDITOR, CDlgOptionsEditor::kTabWidthId), "9");
    Click(dialog->FindWindow(wxID_CANCEL));
    kibtest::PumpEvents(10);
    // Pages write their values only on OK.
    EXPECT_EQ(dialog->Edited().m_tabWidth, 4);
}

namespace {

int WindowsUnder(wxWindow* window)
{
    int n = 0;
    for (wxWindow* child : window->GetChildren())
        n += 1 + WindowsUnder(child);
    return n;
}

} // namespace

TEST_F(OptionsDialogTest, OpeningBuildsOnlyTheFirstPageAndKeepsTheSize)
{
    // The dialog with every page built, as the size must be.
    auto* full = new COptionsDialog(frame, settings, script.Context());
    for (int i = 0; i < P::PAGE_COUNT; ++i)
        ASSERT_NE(full->GetPage(i), nullptr);
    full->Show();
    kibtest::PumpEvents(30);
    const wxSize size = full->GetSize();
    const wxSize area = full->PageParent()->GetSize();
    full->Destroy();
    kibtest::PumpEvents(10);

    Open();
    EXPECT_EQ(dialog->GetSize(), size);
    EXPECT_EQ(dialog->PageParent()->GetSize(), area);
    ASSERT_NE(dialog->CreatedPage(P::PAGE_GUI), nullptr);
    for (int i = 1; i < P::PAGE_COUNT; ++i)
        EXPECT_EQ(dialog->CreatedPage(i), nullptr) << i;
    EXPECT_EQ(dialog->PageParent()->GetChildren().size(), 1u);
    EXPECT_EQ(WindowsUnder(dialog->PageParent()), 1 + WindowsUnder(dialog->CreatedPage(P::PAGE_GUI)));
    // The tree has all eleven entries with their icons all the same.
    for (const char* text : {"Fullscreen", "Textblöcke", "Syntax Highlighting"}) {
        const wxTreeItemId item = FindItem(dialog->Tree(), wxString::FromUTF8(text));
        ASSERT_TRUE(item.IsOk()) << text;
        EXPECT_GE(dialog->Tree()->GetItemImage(item), 0) << text;
    }

    // Choosing an entry builds its page, filling the page area.
    dialog->Tree()->SelectItem(FindItem(dialog->Tree(), "Compiler"));
    kibtest::PumpEvents(20);
    EXPECT_EQ(dialog->GetActiveIndex(), P::PAGE_COMPILER);
    wxWindow* compiler = dialog->CreatedPage(P::PAGE_COMPILER);
    ASSERT_NE(compiler, nullptr);
    EXPECT_TRUE(compiler->IsShown());
    EXPECT_FALSE(dialog->CreatedPage(P::PAGE_GUI)->IsShown());
    EXPECT_EQ(compiler->GetSize(), dialog->PageParent()->GetClientSize());
    EXPECT_EQ(dialog->CreatedPage(P::PAGE_JDK), nullptr);
    EXPECT_EQ(dialog->GetSize(), size);
}

TEST_F(OptionsDialogTest, APageNeverShownChangesNothingOnOk)
{
    // Values its controls would have put right had the page been built.
    settings.m_tabWidth = 500;
    settings.m_columnGuidePos = -7;
    settings.m_autoSaveBeforeCompileType = 42;
    Open();
    ASSERT_EQ(dialog->CreatedPage(P::PAGE_EDITOR), nullptr);
    EXPECT_TRUE(PressOk());
    EXPECT_TRUE(dialog->Edited() == settings);
}
