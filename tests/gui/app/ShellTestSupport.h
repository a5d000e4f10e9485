// A test's own program folder and per-user store, scripted dialogs, and the
// application started in-process on them.
#pragma once

#include "app/ChildFrame.h"
#include "app/KibApp.h"
#include "app/KibDoc.h"
#include "app/KibView.h"
#include "app/MainFrame.h"
#include "app/ShellOpen.h"
#include "app/UserDialogs.h"
#include "resources/CommandMap.h"
#include "gui/GuiTestMain.h"
#include "settings/ParamFile.h"
#include "platform/UserStore.h"
#include "settings/RegistryKey.h"
#include "toolchain/WarmCompiler.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/msgdlg.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

// gtest prints a rectangle as "(x, y) wxh".
inline void PrintTo(const wxRect& r, std::ostream* os)
{
    *os << "(" << r.x << ", " << r.y << ") " << r.width << "x" << r.height;
}

namespace kibtest {

struct AskedMessage {
    std::string text;
    std::string caption;
    long style;
};

class CScriptedDialogs : public IUserDialogs {
public:
    int MessageBox(wxWindow*, const wxString& text, const wxString& caption, long style) override
    {
        asked.push_back({text.utf8_string(), caption.utf8_string(), style});
        if (!answers.empty()) {
            int a = answers.front();
            answers.pop_front();
            return a;
        }
        return (style & wxYES_NO) ? wxNO : wxOK;
    }
    bool OpenFiles(wxWindow*, const wxString& filter, wxArrayString& paths) override
    {
        openFilter = filter.utf8_string();
        for (const std::string& p : openPaths)
            paths.Add(wxString::FromUTF8(p));
        return !openPaths.empty();
    }
    bool SaveAs(wxWindow*, const wxString&, wxString& path) override
    {
        proposedSaveName = path.utf8_string();
        if (saveAsPath.empty())
            return false;
        path = wxString::FromUTF8(saveAsPath);
        return true;
    }
    bool GoToLine(wxWindow*, int maxLine, int& line) override
    {
        if (goToLine <= 0)
            return false;
        line = goToLine;
        return true;
    }
    void About(wxWindow*) override { ++aboutShown; }
    bool PrinterSetup(wxWindow* parent, printjob::PrintSetup& setup) override
    {
        ++printerSetupShown;
        if (realPrinterSetup)
            return IUserDialogs::PrinterSetup(parent, setup);
        return false;
    }
    // The print dialog: what it was given, and the answer (none: cancel).
    bool Print(wxWindow*, printjob::PrintRequest& request) override
    {
        printAsked.push_back(request);
        if (!printAnswer)
            return false;
        request = *printAnswer;
        return true;
    }
    bool realPrinterSetup = false;
    std::vector<printjob::PrintRequest> printAsked;
    std::optional<printjob::PrintRequest> printAnswer;
    bool Customize(wxWindow*, std::vector<BarChoice>& bars) override
    {
        customizeAsked = bars;
        if (customizeAnswer.empty())
            return false;
        for (size_t i = 0; i < bars.size() && i < customizeAnswer.size(); ++i)
            bars[i].shown = customizeAnswer[i];
        return true;
    }
    // The tool chain's dialogs: scripted answers, or the real windows (which
    // a test then drives) when realToolDialogs is set.
    bool RunArguments(wxWindow* parent, std::string& arguments) override
    {
        if (realToolDialogs)
            return IUserDialogs::RunArguments(parent, arguments);
        ++argumentsAsked;
        if (!argumentsAnswer)
            return false;
        arguments = *argumentsAnswer;
        return true;
    }
    bool ConfigureStartFiles(wxWindow* parent, std::vector<std::string>& files) override
    {
        if (realToolDialogs)
            return IUserDialogs::ConfigureStartFiles(parent, files);
        startFilesShown = files;
        if (!startFilesAnswer)
            return false;
        files = *startFilesAnswer;
        return true;
    }
    // The file dialog: the answer when one is set, else the real one.
    bool ChooseFile(wxWindow* parent, const wxString& presetName, wxString& path) override
    {
        if (!chooseFileAnswer)
            return IUserDialogs::ChooseFile(parent, presetName, path);
        chooseFileAsked.push_back({presetName.utf8_string(), path.utf8_string()});
        if (chooseFileAnswer->empty())
            return false;
        path = wxString::FromUTF8(*chooseFileAnswer);
        return true;
    }
    bool ConfigureTools(wxWindow* parent, std::vector<CToolEntry>& tools) override
    {
        if (realToolDialogs)
            return IUserDialogs::ConfigureTools(parent, tools);
        toolsShown = tools;
        if (!toolsAnswer)
            return false;
        tools = *toolsAnswer;
        return true;
    }
    int AppletPage(wxWindow* parent) override
    {
        if (realToolDialogs)
            return IUserDialogs::AppletPage(parent);
        ++appletAsked;
        return appletAnswer;
    }

    // A dialog run modally: the test's hook drives it and answers, or the
    // real modal loop when there is none.
    int RunModal(wxDialog& dialog) override
    {
        if (!modal)
            return IUserDialogs::RunModal(dialog);
        ++modalRuns;
        return modal(dialog);
    }
    std::function<int(wxDialog&)> modal;
    int modalRuns = 0;

    // The reload question: what it said, and the answers in turn ("&Ja" with
    // the first check box set or not); "&Nein" when none is left.
    bool ReloadQuestion(wxWindow*, const wxString& text, bool& reloadThisFile, bool* reloadAllOfType) override
    {
        reloadAsked.push_back(text.utf8_string());
        reloadTypeBoxOffered.push_back(reloadAllOfType != nullptr);
        if (whileReloadAsked) {
            auto hook = std::move(whileReloadAsked);
            whileReloadAsked = nullptr;
            hook();
        }
        if (reloadAnswers.empty())
            return false;
        ReloadAnswer a = reloadAnswers.front();
        reloadAnswers.pop_front();
        if (a.yes)
            reloadThisFile = a.reloadThisFile;
        return a.yes;
    }
    struct ReloadAnswer {
        bool yes;
        bool reloadThisFile = false;
    };
    std::vector<std::string> reloadAsked;
    std::vector<bool> reloadTypeBoxOffered;
    std::deque<ReloadAnswer> reloadAnswers;
    // Run once while the next question is open (as its modal loop would).
    std::function<void()> whileReloadAsked;

    std::vector<BarChoice> customizeAsked;
    std::vector<bool> customizeAnswer;

    bool realToolDialogs = false;
    // Set: ChooseFile answers with it ("" for cancel) and records (preset, path).
    std::optional<std::string> chooseFileAnswer;
    std::vector<std::pair<std::string, std::string>> chooseFileAsked;
    std::vector<CToolEntry> toolsShown;
    std::optional<std::vector<CToolEntry>> toolsAnswer;
    int argumentsAsked = 0;
    std::optional<std::string> argumentsAnswer;
    std::vector<std::string> startFilesShown;
    std::optional<std::vector<std::string>> startFilesAnswer;
    int appletAsked = 0;
    int appletAnswer = wxID_CANCEL;

    std::vector<AskedMessage> asked;
    std::deque<int> answers;
    std::vector<std::string> openPaths;
    std::string openFilter;
    std::string saveAsPath;
    std::string proposedSaveName;
    int goToLine = 0;
    int aboutShown = 0;
    int printerSetupShown = 0;
};

inline std::string MakeTempDir()
{
    char tmpl[] = "/tmp/kibguiXXXXXX";
    const char* d = mkdtemp(tmpl);
    return std::string(d ? d : "/tmp") + "/";
}

inline void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = MakeTempDir();
        setenv("XDG_CONFIG_HOME", (dir + "cfg").c_str(), 1);
        setenv("XDG_CACHE_HOME", (dir + "cache").c_str(), 1);
        SetUserDialogs(&dialogs);
        SetShellOpenHook([this](const std::string& what) { shellOpened.push_back(what); });
        wxTheApp->SetExitOnFrameDelete(false);
        params["KIBPARAMS:GUI:STARTUP:SHOWSPLASH"] = "0";
    }

    void TearDown() override
    {
        Shutdown();
        SetUserDialogs(nullptr);
        SetShellOpenHook({});
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    // Writes kibparam.xml from params and starts the application.
    bool Start(const std::vector<std::string>& args = {})
    {
        CParamFile file;
        for (const auto& [key, value] : params)
            file.SetString(key, value);
        if (!params.empty())
            file.Save(dir + "kibparam.xml");
        // The warm compile server only where a test asks for it: each one
        // costs a JVM in the background.
        {
            platform::CUserStore::Instance().SetFile(platform::CUserStore::DefaultFile());
            CRegistryKey warm(HKEY_CURRENT_USER, std::string(kKibRegistryKey) + "\\" + toolchain::kWarmCompilerKey,
                              true);
            warm.WriteDword(toolchain::kWarmCompilerValue, warmCompiler ? 1 : 0);
        }
        app = std::make_unique<CKibApp>();
        std::vector<std::string> argv = {dir + "kib"};
        argv.insert(argv.end(), args.begin(), args.end());
        bool ok = app->InitInstance(argv);
        PumpEvents(30);
        return ok;
    }

    // Closes the way a user does (close request); true when the frame went.
    bool CloseFrame()
    {
        CMainFrame* frame = Frame();
        if (!frame)
            return true;
        frame->Close();
        PumpUntil([] { return CMainFrame::Instance() == nullptr; }, 3000);
        return CMainFrame::Instance() == nullptr;
    }

    // Ends without questions (test clean-up).
    void Shutdown()
    {
        if (app && app->MainFrame()) {
            app->Docs().CloseAllDocuments();
            app->MainFrame()->Destroy();
            PumpUntil([] { return CMainFrame::Instance() == nullptr; }, 3000);
        }
        if (app)
            app->ExitInstance();
        app.reset();
        PumpEvents(10);
    }

    CMainFrame* Frame() const { return CMainFrame::Instance(); }

    CKibDoc* Open(const std::string& path) { return app->Docs().OpenDocumentFile(path); }

    std::string File(const std::string& name, const std::string& bytes)
    {
        WriteFile(dir + name, bytes);
        return dir + name;
    }

    std::string StoredKibFiles() const { return ReadFile(dir + "kibfiles.xml"); }

    std::string dir;
    bool warmCompiler = false; // the warm compile server stays on for this test
    std::map<std::string, std::string> params;
    std::unique_ptr<CKibApp> app;
    CScriptedDialogs dialogs;
    std::vector<std::string> shellOpened;
};

// Whether a window's own update handler enables the command, as it does for
// the items of a popup menu the window shows.
inline bool EnabledForPopup(wxWindow* window, int command)
{
    wxUpdateUIEvent e(kib::ToWxId(command));
    e.SetEventObject(window);
    window->ProcessWindowEvent(e);
    return e.GetSetEnabled() && e.GetEnabled();
}

inline void SetClipboardText(const std::string& utf8)
{
    wxClipboardLocker lock;
    wxTheClipboard->SetData(new wxTextDataObject(wxString::FromUTF8(utf8)));
}

inline std::string ClipboardText()
{
    wxClipboardLocker lock;
    wxTextDataObject data;
    return wxTheClipboard->GetData(data) ? data.GetText().utf8_string() : std::string();
}

inline CCommandState Query(CMainFrame* frame, int command)
{
    CCommandState s;
    s.enabled = true;
    frame->RouteUpdate(command, s);
    return s;
}

} // namespace kibtest
