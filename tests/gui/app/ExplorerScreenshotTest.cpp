// Scenes of the "Explorer" tab for the eye: a small project expanded with
// one of its files open, the context menu over a file and its properties
// window. With
// KIB_SCREENSHOT_DIR set each is saved as a PNG there.
#include "ShellTestSupport.h"

#include "app/WorkspaceBar.h"
#include "resources/CommandIds.h"
#include "resources/CommandMap.h"
#include "workspace/ExplorerTreeCtrl.h"
#include "workspace/FilePropertiesWindow.h"

#include <wx/aui/auibook.h>
#include <wx/menu.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <sys/stat.h>

using namespace kibtest;
using namespace kib;

namespace {

void Shot(const char* name)
{
    PumpEvents(200);
    const char* out = std::getenv("KIB_SCREENSHOT_DIR");
    if (!out || !*out)
        return;
    std::string cmd = std::string("import -window root '") + out + "/" + name + ".png'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
}

class ExplorerScreenshot : public ShellTest {};

} // namespace

TEST_F(ExplorerScreenshot, ProjectTreeAndItsContextMenu)
{
    for (const char* d : {"projekt", "projekt/src", "projekt/src/de", "projekt/src/de/kib", "projekt/lib", "projekt/doc"})
        ASSERT_EQ(mkdir((dir + d).c_str(), 0755), 0);
    File("projekt/src/de/kib/Rechner.java", "package de.kib;\r\n\r\npublic class Rechner {\r\n}\r\n");
    File("projekt/src/de/kib/Hallo.java", "package de.kib;\r\n\r\npublic class Hallo {\r\n"
                                            "\tpublic static void main(String[] args) {\r\n"
                                            "\t\tSystem.out.println(\"Hallo\");\r\n\t}\r\n}\r\n");
    File("projekt/src/de/kib/Alt.jav", "class Alt {}\r\n");
    File("projekt/src/de/kib/notizen.txt", "x");
    File("projekt/Start.java", "class Start {}\r\n");
    params["KIBPARAMS:GUI:STARTUP:FILENAMEMASK"] = "*.java;*.jav";
    // The project is the home folder here, a drive of its own at the start.
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    setenv("HOME", (dir + "projekt").c_str(), 1);
    const bool started = Start();
    setenv("HOME", savedHome.c_str(), 1);
    ASSERT_TRUE(started);
    CMainFrame* frame = Frame();
    frame->SetSize(wxRect(0, 0, 1100, 760));
    frame->Raise();
    CExplorerTreeCtrl* tree = frame->WorkspaceBar()->GetExplorerTree();
    wxAuiNotebook* tabs = frame->WorkspaceBar()->GetTabWindow();
    tabs->SetSelection(1);
    frame->Layout();
    wxAuiPaneInfo& pane = wxAuiManager::GetManager(frame->WorkspaceBar())->GetPane(frame->WorkspaceBar());
    pane.BestSize(300, 400).MinSize(300, 200);
    wxAuiManager::GetManager(frame->WorkspaceBar())->Update();
    ASSERT_TRUE(tree->SelectPath(dir + "projekt/src/de/kib/Hallo.java", false).IsOk());
    tree->ScrollTo(tree->ComputerItem());
    ASSERT_TRUE(tree->RunCommand(ID_EXPLORER_OPEN));
    tree->SetFocus();
    tree->EnsureVisible(tree->GetSelection());
    PumpEvents(300);
    Shot("explorer-project");

    // The real menu over the selected file, photographed while it is up
    // and then closed with Escape.
    bool shown = false;
    CTreeFileCtrl::SetPopupRunner([&](CTreeFileCtrl& self, wxMenu& menu, const wxPoint& pt) {
        wxTimer timer;
        timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            shown = true;
            // As the menu's update pass left it on the screen.
            EXPECT_TRUE(menu.IsEnabled(ToWxId(ID_EXPLORER_OPEN)));
            EXPECT_FALSE(menu.IsEnabled(ToWxId(ID_EXPLORER_RENAME)));
            EXPECT_FALSE(menu.IsEnabled(ToWxId(ID_EXPLORER_DELETE)));
            EXPECT_TRUE(menu.IsEnabled(ToWxId(ID_EXPLORER_PROPERTIES)));
            Shot("explorer-context-menu");
            wxUIActionSimulator().Char(WXK_ESCAPE);
        });
        timer.StartOnce(600);
        self.PopupMenu(&menu, pt);
        return wxID_NONE;
    });
    wxRect r;
    ASSERT_TRUE(tree->GetBoundingRect(tree->GetSelection(), r, true));
    wxUIActionSimulator().MouseMove(tree->ClientToScreen(wxPoint(r.x + r.width / 2, r.y + r.height / 2)));
    PumpEvents(50);
    tree->ShowContextMenu(wxPoint(r.x + r.width / 2, r.y + r.height / 2));
    CTreeFileCtrl::SetPopupRunner({});
    EXPECT_TRUE(shown);

    // "Eigenschaften..." of the file.
    ASSERT_TRUE(tree->RunCommand(ID_EXPLORER_PROPERTIES));
    PumpEvents(300);
    Shot("explorer-properties");
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* p = dynamic_cast<CFilePropertiesWindow*>(w))
            p->Destroy();
}
