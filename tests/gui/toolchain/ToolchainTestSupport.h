// Kib started in-process with a JDK (or stand-in tools) in its settings,
// scripted dialogs, and helpers to drive the compile and run commands
// and to read and click the output panes.
#pragma once

#include "gui/app/ShellTestSupport.h"

#include "app/OutputBar.h"
#include "controls/OutputPane.h"
#include "resources/CommandIds.h"
#include "resources/CommandMap.h"
#include "toolchain/AppletPageDialog.h"
#include "toolchain/CompilerOutputEdit.h"
#include "toolchain/ProcessRunner.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/utils.h>

#include <functional>

#include <dirent.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace tctest {

using kibtest::PumpEvents;
using kibtest::PumpUntil;

inline const char* const kJdks[] = {"/usr/lib/jvm/java-17-openjdk-amd64",
                                    "/usr/lib/jvm/temurin-25-jdk-amd64"};

inline std::string JdkName(const std::string& jdk)
{
    return jdk.find("temurin") != std::string::npos ? "Temurin25" : "OpenJdk17";
}

inline std::string Data(const std::string& name)
{
    return std::string(KIB_TEST_DATA) + "/toolchain/" + name;
}

inline bool Exists(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

// Entries of a /proc folder (open descriptors, threads).
// The nth line from line `from` on that holds javac's caret (a "^" after
// blanks only); -1 when there is none.
inline int CaretLine(COutputPane* pane, int nth = 1, int from = 1)
{
    for (int l = from, found = 0; l < pane->GetLineCount(); ++l) {
        const std::string& t = pane->GetLineText(l);
        if (t.find('^') != std::string::npos && t.find_first_not_of(" \t") == t.find('^') && ++found == nth)
            return l;
    }
    return -1;
}

inline int CountEntries(const char* dir)
{
    int n = 0;
    if (DIR* d = opendir(dir)) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.')
                ++n;
        closedir(d);
    }
    return n;
}

// The shown dialog of type T, or null.
template <class T>
T* FindDialog()
{
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* d = dynamic_cast<T*>(w); d && d->IsShown())
            return d;
    return nullptr;
}

inline void Click(wxWindow* dialog, int id)
{
    wxWindow* button = dialog->FindWindow(id);
    ASSERT_NE(button, nullptr) << id;
    wxCommandEvent e(wxEVT_BUTTON, id);
    e.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(e);
}

// Runs what a modal dialog of type T should do once it is up.
template <class T>
void WhenShown(std::function<void(T*)> act)
{
    wxTheApp->CallAfter([act] {
        T* dlg = nullptr;
        for (int i = 0; i < 200 && !(dlg = FindDialog<T>()); ++i)
            wxMilliSleep(5);
        if (dlg)
            act(dlg);
    });
}

class ToolchainTest : public kibtest::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        params["KIBPARAMS:GUI:STARTUP:REOPENFILES"] = "0";
    }

    // Starts Kib with the JDK's compiler and interpreter, output captured,
    // nothing saved before compiling.
    bool StartWith(const std::string& compiler, const std::string& interpreter)
    {
        if (!Start())
            return false;
        CSettings& s = Frame()->Settings();
        s.m_compilerPath = compiler;
        s.m_interpreterPath = interpreter;
        s.m_captureOutput = 1;
        s.m_autoSaveBeforeCompile = 0;
        s.m_classPath.clear();
        s.m_startFiles.clear();
        s.m_curStartFile = -1;
        Frame()->SetSize(wxSize(1100, 800));
        PumpEvents(30);
        return true;
    }

    // A file of the data folder copied to folder/name (folder made).
    std::string Put(const std::string& folder, const std::string& name, const std::string& from)
    {
        std::filesystem::create_directories(folder);
        std::string path = folder + "/" + name;
        kibtest::WriteFile(path, kibtest::ReadFile(Data(from)));
        return path;
    }

    // A stand-in program: an executable /bin/sh script.
    std::string Script(const std::string& name, const std::string& body)
    {
        std::string path = dir + name;
        kibtest::WriteFile(path, "#!/bin/sh\n" + body);
        chmod(path.c_str(), 0755);
        return path;
    }

    CKibView* OpenView(const std::string& path)
    {
        CKibDoc* doc = Open(path);
        PumpEvents(20);
        return doc ? doc->GetFirstView() : nullptr;
    }

    COutputPane* CompilerPane() const { return Frame()->OutputBar()->GetPane(COutputBar::PANE_COMPILER); }
    CCompilerOutputEdit* CompilerEdit() const { return dynamic_cast<CCompilerOutputEdit*>(CompilerPane()); }
    COutputPane* ProgramPane() const { return Frame()->OutputBar()->GetPane(COutputBar::PANE_OUTPUT); }

    // The view's command has ended (the exit notice was handled).
    bool WaitIdle(CKibView* view, int ms = 120000)
    {
        return kibtest::PumpUntil(
            [&] { return view->CommandMode() == 0 && !view->Runner().HoldsChild(); }, ms);
    }

    void Command(int id) { Frame()->RouteCommand(id); }

    // Compiles through the command of the active view and waits for its end.
    bool CompileAndWait(CKibView* view, int command = kib::ID_JAVA_COMPILE)
    {
        Frame()->ActivateDocument(view->GetDocument());
        PumpEvents(10);
        Command(command);
        return WaitIdle(view);
    }

    static int LineHeight(COutputPane* pane)
    {
        wxClientDC dc(pane);
        dc.SetFont(pane->GetOutputFont());
        return dc.GetCharHeight();
    }

    // A client point inside a pane line (scrolled into view first).
    static wxPoint PointOfLine(COutputPane* pane, int line)
    {
        pane->ScrollToLine(std::max(0, line - 1));
        kibtest::PumpEvents(5);
        int h = LineHeight(pane);
        return wxPoint(12, (line - pane->FirstVisibleLine()) * h + h / 2);
    }

    // The mouse events of a double-click on a pane line.
    static void DoubleClick(COutputPane* pane, int line)
    {
        wxPoint pt = PointOfLine(pane, line);
        EXPECT_EQ(pane->PositionFromPoint(pt).line, line);
        for (wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_LEFT_DOWN, wxEVT_LEFT_DCLICK,
                                 wxEVT_LEFT_UP}) {
            wxMouseEvent e(type);
            e.SetPosition(pt);
            e.m_leftDown = type != wxEVT_LEFT_UP;
            e.SetEventObject(pane);
            pane->GetEventHandler()->ProcessEvent(e);
        }
        kibtest::PumpEvents(10);
    }

    CKibView* ActiveView() const { return Frame()->ActiveView(); }

};

} // namespace tctest
