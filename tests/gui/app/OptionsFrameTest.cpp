// "Einstellungen..." on the running application: Cancel leaves memory and
// kibparam.xml alone, OK reaches every open editor and writes the file, the
// values survive a restart, a broken kibparam.xml opens sanely, and the
// text-block keys and menus of the editor.
#include "ShellTestSupport.h"

#include "gui/options/OptionsTestSupport.h"
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
#include "resources/CommandIds.h"
#include "resources/MenuBuilder.h"
#include "resources/MenuTable.h"

#include <wx/radiobut.h>
#include <wx/uiaction.h>

#include <set>

using namespace kibtest;
using namespace kib;
using P = COptionsDialog;

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

template <class T = wxWindow>
T* Control(COptionsDialog& d, P::Page page, int id)
{
    return dynamic_cast<T*>(d.GetPage(page)->FindWindow(id));
}

// The dialog shown without a modal loop while the hook drives it, then
// closed with the button given.
int Drive(wxDialog& dialog, const std::function<void(COptionsDialog&)>& steps, int button)
{
    auto* options = dynamic_cast<COptionsDialog*>(&dialog);
    EXPECT_NE(options, nullptr);
    if (!options)
        return wxID_CANCEL;
    dialog.Show();
    PumpEvents(30);
    if (steps)
        steps(*options);
    dialog.SetReturnCode(0);
    opttest::Click(dialog.FindWindow(button));
    PumpEvents(10);
    return dialog.GetReturnCode() == 0 ? button : dialog.GetReturnCode();
}

class OptionsFrameTest : public ShellTest {
protected:
    void Script(std::function<void(COptionsDialog&)> steps, int button)
    {
        dialogs.modal = [steps, button](wxDialog& d) { return Drive(d, steps, button); };
    }
    std::string Stored() const { return ReadFile(dir + "kibparam.xml"); }
    // A point of a view's text area away from text, line numbers and the guide.
    static wxPoint EmptyPoint(CKibView* view)
    {
        const wxSize size = view->GetClientSize();
        return wxPoint(size.x / 2 + 3, size.y / 2);
    }
};

TEST_F(OptionsFrameTest, CancelAfterEditsLeavesMemoryAndTheFileAsTheyWere)
{
    ASSERT_TRUE(Start());
    // The complete file as the program writes it.
    Frame()->SaveSettings();
    const std::string before = Stored();
    ASSERT_FALSE(before.empty());
    const CSettings settings = Frame()->Settings();
    Script(
        [](COptionsDialog& d) {
            opttest::Type(Control<wxTextCtrl>(d, P::PAGE_EDITOR, CDlgOptionsEditor::kTabWidthId), "9");
            opttest::Toggle(Control<wxCheckBox>(d, P::PAGE_GUI, CDlgOptionsGUI::kTabsId));
            opttest::PickColour(d.PageAs<CDlgOptionsEditorColor>(P::PAGE_COLOURS)->Foreground(), 16);
            opttest::Type(d.PageAs<CDlgOptionsEditorTextblocks>(P::PAGE_TEXTBLOCKS)->NameField(), "neu");
            opttest::Type(d.PageAs<CDlgOptionsEditorFont>(P::PAGE_EDITOR_FONT)->SizeBox()->Edit(), "20");
        },
        wxID_CANCEL);
    EXPECT_TRUE(Frame()->RouteCommand(ID_OPTIONS));
    EXPECT_EQ(dialogs.modalRuns, 1);
    EXPECT_TRUE(Frame()->Settings() == settings);
    EXPECT_EQ(Stored(), before);
    EXPECT_EQ(Frame()->DocumentTabLocation() >= 0, true);
}

TEST_F(OptionsFrameTest, OkWithoutChangesStillWritesTheFile)
{
    ASSERT_TRUE(Start());
    std::remove((dir + "kibparam.xml").c_str());
    const CSettings settings = Frame()->Settings();
    Script({}, wxID_OK);
    Frame()->RouteCommand(ID_OPTIONS);
    EXPECT_TRUE(Frame()->Settings() == settings);
    const std::string written = Stored();
    EXPECT_NE(written.find("KIBPARAMS"), std::string::npos);
    // Writing again without changes gives the same bytes.
    Frame()->RouteCommand(ID_OPTIONS);
    EXPECT_EQ(Stored(), written);
}

TEST_F(OptionsFrameTest, OkAfterTheFirstPageOnlyWritesWhatEveryPageBuiltWrites)
{
    ASSERT_TRUE(Start());
    Frame()->SaveSettings();
    const std::string before = Stored();
    ASSERT_FALSE(before.empty());
    const CSettings settings = Frame()->Settings();
    // Every page built and confirmed.
    Script(
        [](COptionsDialog& d) {
            for (int i = 0; i < P::PAGE_COUNT; ++i)
                EXPECT_NE(d.GetPage(i), nullptr) << i;
        },
        wxID_OK);
    std::remove((dir + "kibparam.xml").c_str());
    EXPECT_TRUE(Frame()->RouteCommand(ID_OPTIONS));
    EXPECT_EQ(Stored(), before);
    // Only the first page built: the same bytes.
    Script(
        [](COptionsDialog& d) {
            EXPECT_NE(d.CreatedPage(P::PAGE_GUI), nullptr);
            for (int i = 1; i < P::PAGE_COUNT; ++i)
                EXPECT_EQ(d.CreatedPage(i), nullptr) << i;
        },
        wxID_OK);
    std::remove((dir + "kibparam.xml").c_str());
    EXPECT_TRUE(Frame()->RouteCommand(ID_OPTIONS));
    EXPECT_EQ(Stored(), before);
    EXPECT_TRUE(Frame()->Settings() == settings);
    EXPECT_EQ(dialogs.modalRuns, 2);
}

TEST_F(OptionsFrameTest, OkRecoloursEveryOpenEditorAtOnce)
{
    params["KIBPARAMS:GUI:STARTUP:EDITORTABS"] = "0"; // windows side by side
    ASSERT_TRUE(Start());
    Frame()->SetSize(0, 0, 1000, 760);
    std::vector<CKibView*> views;
    for (int i = 0; i < 2; ++i)
        views.push_back(app->Docs().NewDocument()->GetFirstView());
    Frame()->RouteCommand(ID_WINDOW_TILE_VERT);
    PumpEvents(100);
    opttest::Screenshot("options_editors_before");
    const wxImage old = opttest::ScreenImage();
    for (CKibView* v : views)
        ASSERT_EQ(opttest::PixelAt(old, v, EmptyPoint(v)), 16777215u) << "white before";
    const colours::Colour gold = colours::Rgb(255, 215, 0);
    Script(
        [](COptionsDialog& d) {
            auto* page = d.PageAs<CDlgOptionsEditorColor>(P::PAGE_COLOURS);
            opttest::PickColour(page->Background(), 25); // Gold
        },
        wxID_OK);
    Frame()->RouteCommand(ID_OPTIONS);
    opttest::Screenshot("options_ok_recoloured_editors");
    EXPECT_EQ(Frame()->Settings().m_windowBackground, gold);
    EXPECT_FALSE(Frame()->DocumentTabsShown());
    // One screen after the dialog: every window already shows the colour.
    const wxImage now = opttest::ScreenImage();
    for (CKibView* v : views) {
        EXPECT_EQ(opttest::PixelAt(now, v, EmptyPoint(v)), gold);
        EXPECT_EQ(v->BackColor(1), gold);
    }
}

// One value on every page, OK, quit, start again: each value is back and
// the only lines of kibparam.xml that changed are the edited keys'.
TEST_F(OptionsFrameTest, EveryPagesValueSurvivesARestart)
{
    ASSERT_TRUE(Start());
    Script({}, wxID_OK);
    Frame()->RouteCommand(ID_OPTIONS);
    const std::string baseline = Stored();
    Script(
        [](COptionsDialog& d) {
            Control<wxRadioButton>(d, P::PAGE_GUI, CDlgOptionsGUI::kMacId)->SetValue(true);
            opttest::Toggle(Control<wxCheckBox>(d, P::PAGE_FULLSCREEN, CDlgOptionsFullscreen::kStatusId));
            opttest::Type(d.PageAs<CDlgOptionsOutputFont>(P::PAGE_OUTPUT_FONT)->SizeBox()->Edit(), "14");
            opttest::Type(Control<wxTextCtrl>(d, P::PAGE_JDK, CDlgOptionsJavaJDK::kClassPathId), "/lib/x.jar");
            opttest::Toggle(Control<wxCheckBox>(d, P::PAGE_COMPILER, CDlgOptionsJavaCompiler::kDeprecatedId));
            opttest::Type(Control<wxTextCtrl>(d, P::PAGE_INTERPRETER, CDlgOptionsJavaInterpreter::kPathId),
                          "/opt/jdk/bin/java");
            opttest::Type(Control<wxTextCtrl>(d, P::PAGE_EDITOR, CDlgOptionsEditor::kTabWidthId), "7");
            opttest::PickColour(d.PageAs<CDlgOptionsEditorColor>(P::PAGE_COLOURS)->Foreground(), 8);
            opttest::Type(d.PageAs<CDlgOptionsEditorFont>(P::PAGE_EDITOR_FONT)->SizeBox()->Edit(), "12");
            opttest::Toggle(d.PageAs<CDlgOptionsEditorSyntax>(P::PAGE_SYNTAX)->Bold());
            opttest::Type(d.PageAs<CDlgOptionsEditorTextblocks>(P::PAGE_TEXTBLOCKS)->NameField(), "wenn");
        },
        wxID_OK);
    Frame()->RouteCommand(ID_OPTIONS);
    EXPECT_EQ(Frame()->CurrentSkin(), 2);
    const std::string edited = Stored();
    ASSERT_TRUE(CloseFrame());
    app.reset();
    params.clear();
    ASSERT_TRUE(Start());
    const CSettings& s = Frame()->Settings();
    EXPECT_EQ(s.m_skin, 2);
    EXPECT_EQ(s.m_fullScreenShowStatus, 1);
    EXPECT_EQ(s.m_outputFont.lfHeight, -19);
    EXPECT_EQ(s.m_classPath, "/lib/x.jar");
    EXPECT_EQ(s.m_deprecated, 1);
    EXPECT_EQ(s.m_interpreterPath, "/opt/jdk/bin/java");
    EXPECT_EQ(s.m_tabWidth, 7);
    EXPECT_EQ(s.m_windowForeground, colours::Rgb(139, 0, 0));
    EXPECT_EQ(s.m_editorFont.lfHeight, -16);
    EXPECT_EQ(s.m_highlight[HL_KEYWORD].style, STYLE_BOLD);
    EXPECT_EQ(s.m_textBlocks[0].name, "wenn");

    const std::vector<std::string> a = Lines(baseline), b = Lines(edited);
    ASSERT_EQ(a.size(), b.size());
    // The file nests its keys; a changed line is one leaf. Both font sizes
    // are HEIGHT lines, stored in points.
    const std::multiset<std::string> expected = {
        "<SKIN>2</SKIN>", "<SHOWSTATUS>1</SHOWSTATUS>", "<HEIGHT>14</HEIGHT>", "<CLASSPATH>/lib/x.jar</CLASSPATH>",
        "<DEPRECATED>1</DEPRECATED>", "<PATH>/opt/jdk/bin/java</PATH>", "<TABWIDTH>7</TABWIDTH>",
        "<FOREGROUND>139</FOREGROUND>", "<HEIGHT>12</HEIGHT>", "<STYLE>1</STYLE>", "<NAME>wenn</NAME>"};
    std::multiset<std::string> changed;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) {
            std::string line = b[i];
            line.erase(0, line.find_first_not_of(" \t"));
            line.erase(line.find_last_not_of("\r") + 1);
            changed.insert(line);
        }
    EXPECT_EQ(changed, expected);
}

TEST_F(OptionsFrameTest, ABrokenKibparamOpensSanely)
{
    for (const char* key : {"EDITOR:TABWIDTH", "EDITOR:COLUMNGUIDEPOS", "GUI:STARTUP:SKIN",
                            "JDK:COMPILER:AUTOSAVEBEFORECOMPILETYPE", "EDITOR:SHOWLINENUMBERS",
                            "EDITOR:COLOR:WND:FOREGROUND", "EDITOR:HIGHLIGHT:KEYWORD:STYLE",
                            "EDITOR:FONT:HEIGHT", "OUTBAR:FONT:HEIGHT", "GUI:FULLSCREEN:SHOWSTATUS"})
        params[std::string("KIBPARAMS:") + key] = "x\x01y";
    params["KIBPARAMS:EDITOR:TABWIDTH"] = "-99999999999";
    params["KIBPARAMS:EDITOR:COLUMNGUIDEPOS"] = "100000";
    params["KIBPARAMS:EDITOR:FONT:FACENAME"] = "Gibt Es Nicht Mono";
    params["KIBPARAMS:GUI:TEMPLATES:T1:CONTENT"] = std::string(1 << 20, 'z');
    params["KIBPARAMS:GUI:TEMPLATES:T2:CONTENT"] = "a\rb\r\xA7";
    ASSERT_TRUE(Start());
    CKibView* view = app->Docs().NewDocument()->GetFirstView();
    std::string tabShown, guideShown;
    Script(
        [&](COptionsDialog& d) {
            tabShown = Control<wxTextCtrl>(d, P::PAGE_EDITOR, CDlgOptionsEditor::kTabWidthId)->GetValue().utf8_string();
            guideShown =
                Control<wxTextCtrl>(d, P::PAGE_EDITOR, CDlgOptionsEditor::kGuideColumnId)->GetValue().utf8_string();
            d.SetActivePage(P::PAGE_EDITOR_FONT);
            d.SetActivePage(P::PAGE_TEXTBLOCKS);
            PumpEvents(30);
        },
        wxID_OK);
    Frame()->RouteCommand(ID_OPTIONS);
    ASSERT_EQ(dialogs.modalRuns, 1);
    const int tab = std::stoi(tabShown), guide = std::stoi(guideShown);
    EXPECT_GE(tab, 1);
    EXPECT_LE(tab, 20);
    EXPECT_GE(guide, 0);
    EXPECT_LE(guide, 200);
    // OK went through (the shown values are valid) and the view took them.
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(view->GetTabWidth(), tab);
    EXPECT_EQ(Frame()->Settings().m_textBlocks[0].content.size(), 1u << 20);
    // The blocks still go into the editor.
    view->PutCaret(TextPos(0, 0));
    Frame()->RouteCommand(ID_TEXTBLOCK1 + 1);
    EXPECT_EQ(view->LineCount(), 3);
}

TEST_F(OptionsFrameTest, CtrlShiftFunctionKeysInsertTheBlocksAndTheMenuNamesThem)
{
    ASSERT_TRUE(Start());
    Frame()->Settings().m_textBlocks[11] = {"Zw\xF6lf", "zw\xA7lf"};
    CKibView* view = app->Docs().NewDocument()->GetFirstView();
    view->SetFocus();
    PumpEvents(50);
    wxUIActionSimulator sim;
    sim.KeyDown(WXK_F12, wxMOD_CONTROL | wxMOD_SHIFT);
    sim.KeyUp(WXK_F12, wxMOD_CONTROL | wxMOD_SHIFT);
    PumpUntil([&] { return view->LineLength(0) > 0; }, 2000);
    EXPECT_EQ(std::string(view->LineChars(0), static_cast<size_t>(view->LineLength(0))), "zwlf");
    EXPECT_EQ(view->GetCaretPos(), TextPos(2, 0));

    std::unique_ptr<wxMenu> popup(BuildMenu(MenuResource(IDR_EDITOR_POPUP)));
    Frame()->PreparePopupMenu(popup.get());
    wxMenuItem* block12 = popup->FindItem(ToWxId(ID_TEXTBLOCK12));
    ASSERT_NE(block12, nullptr);
    EXPECT_EQ(block12->GetItemLabel().utf8_string(), "Zwölf\tCtrl+Shift+F12");
    // The date-and-time submenu is rebuilt on opening from the locale.
    wxMenu* insert = nullptr;
    popup->FindItem(ToWxId(ID_INSERT_USERNAME), &insert);
    ASSERT_NE(insert, nullptr);
    wxMenu* dates = insert->FindItemByPosition(1)->GetSubMenu();
    ASSERT_NE(dates, nullptr);
    EXPECT_GE(dates->GetMenuItemCount(), 3u);
    EXPECT_EQ(dates->FindItem(ToWxId(ID_INSERT_DATETIME_DUMMY)), nullptr);
    wxMenuItem* first = dates->FindItem(ToWxId(ID_INSERT_DATETIME_FIRST));
    ASSERT_NE(first, nullptr);
    // Ctrl+Shift+D inserts the first entry as the menu showed it.
    view->SetFocus();
    view->PutCaret(TextPos(0, 0));
    PumpEvents(30);
    const int before = view->LineLength(0);
    sim.KeyDown('D', wxMOD_CONTROL | wxMOD_SHIFT);
    sim.KeyUp('D', wxMOD_CONTROL | wxMOD_SHIFT);
    PumpUntil([&] { return view->LineLength(0) > before; }, 2000);
    const std::string line(view->LineChars(0), static_cast<size_t>(view->LineLength(0)));
    EXPECT_EQ(wxString(line.c_str(), wxCSConv(wxFONTENCODING_CP1252), line.size()),
              first->GetItemLabelText() + "zwlf");
}

} // namespace

namespace {

// An editor after block 1 went in on an indented line (a screenshot scene
// with KIB_SCREENSHOT_DIR set).
TEST_F(OptionsFrameTest, ABlockInTheEditorOnScreen)
{
    const std::string path = File("Shape.java", "class Shape\r\n{\r\n    void draw()\r\n    {\r\n        \r\n    }\r\n}\r\n");
    ASSERT_TRUE(Start());
    CKibView* view = Open(path)->GetFirstView();
    view->PutCaret(TextPos(8, 4));
    Frame()->RouteCommand(ID_TEXTBLOCK1);
    EXPECT_EQ(std::string(view->LineChars(4), static_cast<size_t>(view->LineLength(4))), "        if ()");
    EXPECT_EQ(std::string(view->LineChars(6), static_cast<size_t>(view->LineLength(6))), "        }");
    EXPECT_EQ(view->GetCaretPos(), TextPos(12, 4));
    opttest::Screenshot("options-13-editor-block");
}

} // namespace
