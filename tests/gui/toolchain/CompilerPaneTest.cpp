// The compiler output pane in the running shell: double-clicks and the
// context menu 115 on messages of the JDK compiler's shape, the highlight,
// jumps through the main frame (tabs, four-digit lines, relative names),
// copy and clear.
#include "ToolchainTestSupport.h"

#include "resources/CommandMap.h"

#include <wx/menu.h>

using namespace tctest;
using kibtest::PumpEvents;
using kibtest::PumpUntil;
using Pos = COutputPane::Pos;

namespace {

class CompilerPaneTest : public ToolchainTest {
protected:
    void SetUp() override
    {
        ToolchainTest::SetUp();
        ASSERT_TRUE(StartWith("/bin/false", "/bin/false"));
        std::string text;
        for (int i = 1; i <= 1300; ++i)
            text += i == 7 ? "\t\tcall(a,\tb);\n" : "line " + std::to_string(i) + "\n";
        source = dir + "A.java";
        kibtest::WriteFile(source, text);
        pane = CompilerEdit();
        ASSERT_NE(pane, nullptr) << "the output bar makes the compiler pane a CCompilerOutputEdit";
    }

    void Fill(const std::string& text)
    {
        pane->Clear();
        pane->AppendText(text);
        PumpEvents(10);
    }

    std::string source;
    CCompilerOutputEdit* pane = nullptr;
};

} // namespace

TEST_F(CompilerPaneTest, DoubleClickOnAMessageWithTabsLandsOnTheByteTheCaretShows)
{
    // The caret under the tab between the arguments, then under "b".
    Fill("Compile " + source + "....\r\n" + source + ":7: error: first\r\n\t\tcall(a,\tb);\r\n\t\t       ^\r\n" +
         source + ":7: error: second\r\n\t\tcall(a,\tb);\r\n\t\t       \t^\r\n");
    for (int tabWidth : {4, 8}) {
        for (auto [clicked, index] : {std::pair{3, 9}, std::pair{6, 10}, std::pair{1, 9}, std::pair{5, 10}}) {
            CKibView* open = Frame()->OpenFileView(source);
            ASSERT_NE(open, nullptr);
            open->SetTabWidth(tabWidth);
            open->GoToPosition(1, 0);
            DoubleClick(pane, clicked);
            CKibView* view = ActiveView();
            ASSERT_EQ(view, open);
            EXPECT_EQ(view->GetCaretPos().y, 6);
            EXPECT_EQ(view->GetCaretPos().x, index) << "tab width " << tabWidth << ", clicked " << clicked;
            EXPECT_EQ(wxWindow::FindFocus(), view);
        }
    }
    EXPECT_EQ(app->Docs().Documents().size(), 1u);
    // The highlight: from the message line's start to two bytes past the caret.
    EXPECT_EQ(pane->GetAnchor(), (Pos{4, 0}));
    EXPECT_EQ(pane->GetCaret(), (Pos{6, 11})) << "two past the caret, within its line";
    EXPECT_EQ(pane->GetSelectedText(), source + ":7: error: second\r\n\t\tcall(a,\tb);\r\n\t\t       \t^");
}

TEST_F(CompilerPaneTest, MessageWithoutCaretLineIsNoDoubleClickJumpButTheMenuJumpsToItsLine)
{
    Fill("Compile " + source + "....\r\n" + source + ":1234: warning: no source excerpt follows\r\nnote\r\n");
    DoubleClick(pane, 1);
    DoubleClick(pane, 2);
    EXPECT_TRUE(app->Docs().Documents().empty()) << "a double-click needs the caret line";

    auto menu = pane->PrepareContextMenu(PointOfLine(pane, 2));
    ASSERT_EQ(menu->GetMenuItemCount(), 4u);
    EXPECT_EQ(menu->FindItemByPosition(0)->GetItemLabel(), wxString::FromUTF8("&Kopieren"));
    EXPECT_EQ(menu->FindItemByPosition(1)->GetItemLabel(), wxString::FromUTF8("&Löschen"));
    EXPECT_TRUE(menu->FindItemByPosition(2)->IsSeparator());
    EXPECT_EQ(menu->FindItemByPosition(3)->GetItemLabel(), wxString::FromUTF8("&Zum Fehler springen"));
    EXPECT_TRUE(menu->IsEnabled(kib::ToWxId(kib::ID_OUTPUT_GOTO_ERROR)));
    EXPECT_EQ(pane->MessageFile(), source);
    EXPECT_EQ(pane->MessageLine(), 1234);
    EXPECT_EQ(pane->MessageColumn(), 0);
    EXPECT_FALSE(pane->HasSelection()) << "nothing to highlight without a caret line";

    EXPECT_TRUE(pane->RunMenuCommand(kib::ID_OUTPUT_GOTO_ERROR));
    CKibView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument()->GetPathName(), source);
    EXPECT_EQ(view->GetCaretPos(), (TextPos{0, 1233}));
    EXPECT_EQ(wxWindow::FindFocus(), view);
}

TEST_F(CompilerPaneTest, TheFirstLineAndLinesWithoutAMessageAboveOfferNoJump)
{
    Fill(source + ":3: error: on the first line\r\n    ^\r\nplain text\r\n");
    DoubleClick(pane, 0);
    DoubleClick(pane, 1);
    EXPECT_TRUE(app->Docs().Documents().empty());
    auto menu = pane->PrepareContextMenu(PointOfLine(pane, 2));
    EXPECT_FALSE(menu->IsEnabled(kib::ToWxId(kib::ID_OUTPUT_GOTO_ERROR)));
    EXPECT_EQ(pane->MessageLine(), 0);
    EXPECT_TRUE(pane->MessageFile().empty());
    EXPECT_TRUE(menu->IsEnabled(kib::ToWxId(kib::ID_EDIT_COPY))) << "the caret stands behind the text";
    EXPECT_TRUE(menu->IsEnabled(kib::ToWxId(kib::ID_EDIT_CLEAR)));
    pane->RunMenuCommand(kib::ID_OUTPUT_GOTO_ERROR);
    EXPECT_TRUE(app->Docs().Documents().empty());

    // A message line with no number reads as line 0: no jump from the menu.
    Fill("Compile\r\n" + source + ":: error: no number\r\n");
    menu = pane->PrepareContextMenu(PointOfLine(pane, 1));
    EXPECT_FALSE(menu->IsEnabled(kib::ToWxId(kib::ID_OUTPUT_GOTO_ERROR)));
}

TEST_F(CompilerPaneTest, RelativeNamesAreTakenFromTheCompilersFolderAndMissingFilesOpenNothing)
{
    Fill("Compile\r\nA.java:5: error: relative\r\nline 5\r\n  ^\r\n" + dir + "Gone.java:2: error: x\r\n  y\r\n  ^\r\n");
    pane->SetMessageFolder(dir.substr(0, dir.size() - 1));
    DoubleClick(pane, 3);
    ASSERT_NE(ActiveView(), nullptr);
    EXPECT_EQ(ActiveView()->GetDocument()->GetPathName(), source);
    EXPECT_EQ(ActiveView()->GetCaretPos(), (TextPos{2, 4}));
    size_t docs = app->Docs().Documents().size();
    dialogs.asked.clear();
    DoubleClick(pane, 6);
    EXPECT_EQ(app->Docs().Documents().size(), docs) << "a file that cannot be opened: no jump";
}

TEST_F(CompilerPaneTest, MenuCopiesTheHighlightedMessageAndClearsThePane)
{
    Fill("Compile\r\n" + source + ":2: error: e\r\nline 2\r\n^\r\n");
    auto menu = pane->PrepareContextMenu(PointOfLine(pane, 3));
    EXPECT_TRUE(pane->HasSelection());
    EXPECT_TRUE(menu->IsEnabled(kib::ToWxId(kib::ID_EDIT_COPY)));
    EXPECT_EQ(pane->GetSelectedText(), source + ":2: error: e\r\nline 2\r\n^");
    EXPECT_EQ(pane->MessageColumn(), 1);
    EXPECT_TRUE(pane->RunMenuCommand(kib::ID_EDIT_COPY));
    EXPECT_TRUE(pane->RunMenuCommand(kib::ID_EDIT_CLEAR));
    EXPECT_EQ(pane->GetText(), "");
    EXPECT_EQ(pane->GetTextLength(), 0u);
    // The remembered message stays until the next menu.
    EXPECT_EQ(pane->MessageLine(), 2);
    EXPECT_FALSE(pane->RunMenuCommand(kib::ID_EDIT_PASTE));
}

TEST_F(CompilerPaneTest, CopyIsOfferedWhileTheSelectionEndsPastTheStartAndNothingSelectedKeepsTheClipboard)
{
    auto offered = [&] {
        auto menu = pane->PrepareContextMenu(PointOfLine(pane, 1));
        bool inMenu = menu->IsEnabled(kib::ToWxId(kib::ID_EDIT_COPY));
        EXPECT_EQ(kibtest::EnabledForPopup(pane, kib::ID_EDIT_COPY), inMenu) << "the popup's update agrees";
        return inMenu;
    };
    EXPECT_FALSE(offered()) << "an empty pane";
    Fill("Compile A.java....\r\nCompilierung beendet\r\n");
    EXPECT_FALSE(pane->HasSelection());
    EXPECT_TRUE(offered()) << "output leaves the caret at the end";
    kibtest::SetClipboardText("vorher");
    EXPECT_TRUE(pane->RunMenuCommand(kib::ID_EDIT_COPY));
    EXPECT_EQ(kibtest::ClipboardText(), "vorher") << "an empty selection copies nothing";

    pane->SetSelection(Pos{0, 0}, Pos{0, 0});
    EXPECT_FALSE(offered()) << "the caret at the start";
    pane->SetSelection(Pos{0, 7}, Pos{0, 0});
    EXPECT_TRUE(offered()) << "a selection made backwards to the start";
    EXPECT_TRUE(pane->RunMenuCommand(kib::ID_EDIT_COPY));
    EXPECT_EQ(kibtest::ClipboardText(), "Compile");
    EXPECT_TRUE(pane->RunMenuCommand(kib::ID_EDIT_CLEAR));
    EXPECT_FALSE(offered()) << "a cleared pane";
}
