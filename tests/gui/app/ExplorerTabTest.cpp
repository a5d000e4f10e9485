// The "Explorer" tab of the workspace bar in the running program: it shows
// the files of the setting's mask, starts at the home folder, follows a
// mask changed in the options, and opens a .java file as a Kib document.
#include "ShellTestSupport.h"

#include "app/WorkspaceBar.h"
#include "resources/CommandIds.h"
#include "workspace/ExplorerTreeCtrl.h"
#include "workspace/MountTable.h"

#include <wx/aui/auibook.h>

#include <sys/stat.h>

using namespace kibtest;
using namespace kib;

namespace {

class ExplorerTabTest : public ShellTest {
protected:
    CExplorerTreeCtrl* Explorer() { return Frame()->WorkspaceBar()->GetExplorerTree(); }
    std::vector<std::string> Children(const wxTreeItemId& item)
    {
        std::vector<std::string> out;
        wxTreeItemIdValue cookie;
        for (wxTreeItemId c = Explorer()->GetFirstChild(item, cookie); c.IsOk(); c = Explorer()->GetNextChild(item, cookie))
            out.push_back(Explorer()->GetItemText(c).utf8_string());
        return out;
    }
};

} // namespace

TEST_F(ExplorerTabTest, TabShowsTheMaskOfTheSettingsAndOpensAJavaFile)
{
    ASSERT_EQ(mkdir((dir + "src").c_str(), 0755), 0);
    const std::string hello = File("src/Hallo.java", "class Hallo {}\r\n");
    File("src/readme.txt", "x");
    File("src/Alt.jav", "class Alt {}\r\n");
    params["KIBPARAMS:GUI:STARTUP:FILENAMEMASK"] = "*.java;*.jav";
    ASSERT_TRUE(Start());
    wxAuiNotebook* tabs = Frame()->WorkspaceBar()->GetTabWindow();
    ASSERT_EQ(tabs->GetPageCount(), 2u);
    EXPECT_EQ(tabs->GetPageText(1).utf8_string(), "Explorer");
    EXPECT_EQ(tabs->GetPage(1), Explorer());
    EXPECT_EQ(Explorer()->GetId(), CWorkspaceBar::kExplorerId);
    EXPECT_EQ(Explorer()->GetMask(), ".java;.jav;");
    // It starts at the home folder.
    EXPECT_EQ(Explorer()->ItemToPath(Explorer()->GetSelection()), CMountTable::HomeFolder());

    ASSERT_TRUE(Explorer()->SelectPath(dir + "src", true).IsOk());
    EXPECT_EQ(Children(Explorer()->GetSelection()), (std::vector<std::string>{"Alt.jav", "Hallo.java"}));

    // "&Öffnen" on the file: a Kib document, listed under "Dateien".
    ASSERT_TRUE(Explorer()->SelectPath(hello, false).IsOk());
    ASSERT_TRUE(Explorer()->IsCommandEnabled(ID_EXPLORER_OPEN));
    ASSERT_TRUE(Explorer()->RunCommand(ID_EXPLORER_OPEN));
    PumpEvents(50);
    ASSERT_EQ(app->Docs().Documents().size(), 1u);
    EXPECT_EQ(app->Docs().Documents().front()->GetPathName(), hello);
    ASSERT_NE(Frame()->ActiveView(), nullptr);
    EXPECT_EQ(Frame()->ActiveView()->GetDocument()->GetPathName(), hello);
    // Opening it again brings the same document, no second one.
    ASSERT_TRUE(Explorer()->RunCommand(ID_EXPLORER_OPEN));
    EXPECT_EQ(app->Docs().Documents().size(), 1u);
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(ExplorerTabTest, MaskFromTheOptionsRefreshesTheTree)
{
    ASSERT_EQ(mkdir((dir + "src").c_str(), 0755), 0);
    File("src/A.java", "x");
    File("src/b.txt", "x");
    ASSERT_TRUE(Start());
    // The setting's default is empty: folders only.
    EXPECT_EQ(Explorer()->GetMask(), "");
    ASSERT_TRUE(Explorer()->SelectPath(dir + "src", true).IsOk());
    EXPECT_TRUE(Children(Explorer()->GetSelection()).empty());

    CSettings& s = Frame()->Settings();
    s.m_fileExtensions = {".txt"};
    Frame()->ApplyOptionsToViews();
    EXPECT_EQ(Explorer()->GetMask(), ".txt;");
    // The selection comes back after the refresh.
    EXPECT_EQ(Explorer()->ItemToPath(Explorer()->GetSelection()), dir + "src");
    // It could not be expanded before; now it has its button and opens.
    EXPECT_FALSE(Explorer()->IsExpanded(Explorer()->GetSelection()));
    EXPECT_TRUE(Explorer()->ItemHasChildren(Explorer()->GetSelection()));
    Explorer()->Expand(Explorer()->GetSelection());
    EXPECT_EQ(Children(Explorer()->GetSelection()), (std::vector<std::string>{"b.txt"}));
}
