// The find windows on screen: the find and replace dialogs over a document,
// the find-in-files dialog, its progress window during a search and a
// results pane with hits. With KIB_SCREENSHOT_DIR set each scene is saved as
// a PNG of the screen (scripts/screenshot-find.sh).
#include "FindTestSupport.h"

#include "app/OutputBar.h"
#include "controls/HistoryComboBox.h"
#include "controls/OutputPane.h"
#include "editor/FindDialog.h"
#include "editor/ReplaceDialog.h"
#include "resources/CommandIds.h"
#include "workspace/FindInFilesDialog.h"
#include "workspace/FindInFilesRun.h"
#include "workspace/FindProgressWindow.h"

#include <wx/choice.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

using namespace findtest;
using namespace kib;

namespace {

const char kSource[] =
    "public class Rechner\r\n"
    "{\r\n"
    "\tprivate int summe;\r\n"
    "\r\n"
    "\tpublic int addiere(int wert)\r\n"
    "\t{\r\n"
    "\t\tsumme += wert;\r\n"
    "\t\treturn summe;\r\n"
    "\t}\r\n"
    "}\r\n";

class FindScreenshotTest : public FindTest {
protected:
    void TearDown() override
    {
        CFindInFilesRun::SetHitObserver({});
        FindTest::TearDown();
    }
    CKibView* Begin()
    {
        CKibView* view = StartWith(kSource, "Rechner.java");
        if (!view)
            return nullptr;
        Frame()->SetSize(0, 0, 1280, 900);
        kibtest::PumpEvents(150);
        return view;
    }
    // Saves the screen when asked to; the scene is shown and painted first.
    void Shot(const char* name)
    {
        kibtest::PumpEvents(250);
        const char* dir = std::getenv("KIB_SCREENSHOT_DIR");
        if (!dir || !*dir)
            return;
        std::string cmd = std::string("import -window root '") + dir + "/" + name + ".png'";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
};

} // namespace

TEST_F(FindScreenshotTest, FindDialogOverAFoundMatch)
{
    CKibView* view = Begin();
    ASSERT_NE(view, nullptr);
    bool shown = false;
    findDialogs.script = [&](wxDialog& d) {
        auto& f = dynamic_cast<CFindDialog&>(d);
        f.SearchBox()->SetValue("summe");
        Check(f.MatchCaseBox(), true);
        Click(f.FindNextButton());
        Click(f.FindNextButton());
        shown = d.IsShown();
        Shot("find-dialog");
    };
    Frame()->RouteCommand(ID_EDIT_FIND);
    EXPECT_TRUE(shown);
    EXPECT_EQ(view->GetCaretPos(), TextPos(7, 6));
}

TEST_F(FindScreenshotTest, ReplaceDialogWithASelection)
{
    CKibView* view = Begin();
    ASSERT_NE(view, nullptr);
    Select(view, TextPos(0, 4), TextPos(0, 8));
    bool shown = false;
    findDialogs.script = [&](wxDialog& d) {
        auto& r = dynamic_cast<CReplaceDialog&>(d);
        r.SearchBox()->SetValue("summe");
        r.ReplaceBox()->SetValue("gesamt");
        Click(r.FindNextButton());
        shown = d.IsShown();
        Shot("replace-dialog");
    };
    Frame()->RouteCommand(ID_EDIT_REPLACE);
    EXPECT_TRUE(shown);
}

TEST_F(FindScreenshotTest, FindInFilesDialogProgressAndResults)
{
    CKibView* view = Begin();
    ASSERT_NE(view, nullptr);
    const std::string src = dir + "quellen";
    std::filesystem::create_directories(src + "/util");
    std::string body;
    for (int i = 0; i < 120; ++i)
        body += "\tint wert" + std::to_string(i) + " = summe + " + std::to_string(i) + ";\r\n";
    kibtest::WriteFile(src + "/Rechner.java", kSource);
    kibtest::WriteFile(src + "/util/Werte.java", body);
    bool dialogShown = false, progressShown = false;
    findDialogs.script = [&](wxDialog& d) {
        auto& f = dynamic_cast<CFindInFilesDialog&>(d);
        f.SearchBox()->SetValue("summe");
        f.FilterBox()->SetValue("*.java,*.jav");
        f.FolderBox()->SetValue(wxString::FromUTF8(src));
        Check(f.RecursiveBox(), true);
        f.PaneChoice()->SetSelection(1);
        dialogShown = d.IsShown();
        Shot("findinfiles-dialog");
        Click(f.SearchButton());
    };
    CFindInFilesRun::SetHitObserver([&](int results, CFindProgressWindow& progress) {
        std::this_thread::sleep_for(std::chrono::milliseconds(4));
        if (results == 60) {
            progressShown = progress.IsShown();
            Shot("findinfiles-progress");
        }
    });
    Frame()->RouteCommand(ID_EDIT_FIND_IN_FILES);
    EXPECT_TRUE(dialogShown);
    EXPECT_TRUE(progressShown);
    COutputPane* pane = Frame()->OutputBar()->GetPane(COutputBar::PANE_SEARCH2);
    EXPECT_EQ(pane->GetLineCount(), 1 + 3 + 120);
    Shot("findinfiles-results");
}

TEST_F(FindScreenshotTest, FindDialogWithCharactersBeyondTheCodePage)
{
    if (!Start())
        GTEST_SKIP() << "no application";
    CKibDoc* doc = Open(File("Gruss.java", "// Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln: \xE2\x82\xAC\r\n"
                                           "public class Gruss {\r\n"
                                           "    // \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, \xE4\xBD\xA0\xE5\xA5\xBD\r\n"
                                           "    String s = \"\xE4\xBD\xA0\xE5\xA5\xBD \xC3\x84rger\";\r\n"
                                           "}\r\n"));
    ASSERT_NE(doc, nullptr);
    CKibView* view = doc->GetFirstView();
    Frame()->SetSize(0, 0, 1280, 900);
    kibtest::PumpEvents(150);
    findDialogs.script = [&](wxDialog& d) {
        auto& f = dynamic_cast<CFindDialog&>(d);
        f.SearchBox()->SetValue(wxString::FromUTF8("\xE4\xBD\xA0\xE5\xA5\xBD \xC3\xA4RGER")); // "你好 äRGER"
        Click(f.FindNextButton());
        Shot("find-dialog-utf8");
    };
    Frame()->RouteCommand(ID_EDIT_FIND);
    EXPECT_EQ(view->GetCaretPos(), TextPos(29, 3));
    EXPECT_TRUE(Messages().empty());
}
