// The command tables of the shell's classes: no row hidden behind another,
// and the rows that map one action onto several commands reach the right
// bar or pane.
#include "ShellTestSupport.h"

#include "app/OutputBar.h"
#include "app/WorkspaceBar.h"
#include "resources/CommandIds.h"

using namespace kibtest;
using namespace kib;

TEST(ShellCommandTables, NoRowHidesAnother)
{
    EXPECT_FALSE(CMainFrame::CommandTable().HasOverlap());
    EXPECT_FALSE(CKibApp::CommandTable().HasOverlap());
    EXPECT_FALSE(CKibDoc::CommandTable().HasOverlap());
    EXPECT_FALSE(CKibView::CommandTable().HasOverlap());
}

TEST_F(ShellTest, EachBarCommandTogglesItsOwnBar)
{
    ASSERT_TRUE(Start());
    CMainFrame* f = Frame();
    struct {
        int command;
        wxWindow* bar;
    } bars[] = {{ID_VIEW_TOOLBAR, f->StandardToolBar()},
                {ID_VIEW_STATUS_BAR, f->GetStatusBar()},
                {ID_VIEW_WORKSPACE, f->WorkspaceBar()},
                {ID_VIEW_OUTPUT, f->OutputBar()}};
    for (auto& [command, bar] : bars) {
        SCOPED_TRACE(command);
        ASSERT_NE(bar, nullptr);
        bool shown = f->IsBarShown(bar);
        EXPECT_EQ(Query(f, command).checked, shown);
        ASSERT_TRUE(f->RouteCommand(command));
        EXPECT_EQ(f->IsBarShown(bar), !shown);
        EXPECT_EQ(Query(f, command).checked, !shown);
        // The others stay as they were.
        for (auto& other : bars) {
            if (other.command != command) {
                EXPECT_EQ(Query(f, other.command).checked, f->IsBarShown(other.bar));
            }
        }
        f->RouteCommand(command);
        EXPECT_EQ(f->IsBarShown(bar), shown);
    }
}

TEST_F(ShellTest, ViewRowsTellTheCaretPositionAndArrangeIsHandled)
{
    std::string path = File("Pos.java", "class Pos\r\n{\r\n}\r\n");
    ASSERT_TRUE(Start());
    CKibDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    doc->GetFirstView()->GoToPosition(2, 1);
    CCommandState line = Query(Frame(), ID_INDICATOR_LINE);
    CCommandState col = Query(Frame(), ID_INDICATOR_COL);
    EXPECT_TRUE(line.setText);
    EXPECT_EQ(line.text, "Zeile: 2");
    EXPECT_TRUE(col.setText);
    EXPECT_EQ(col.text, doc->GetFirstView()->ColumnStatusText());
    EXPECT_TRUE(Query(Frame(), ID_WINDOW_ARRANGE).enabled);
    EXPECT_TRUE(Frame()->RouteCommand(ID_WINDOW_ARRANGE));
    EXPECT_FALSE(Query(Frame(), ID_VIEW_USER_TOOLBAR1 + 3).enabled);
    EXPECT_FALSE(Frame()->RouteCommand(ID_VIEW_USER_TOOLBAR1 + 3));
}
