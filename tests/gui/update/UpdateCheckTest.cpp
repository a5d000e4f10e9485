// "Auf neue &Version prüfen" in the real main window against an HTTP server
// on 127.0.0.1: the three messages with their texts, the INFO page through
// a stand-in browser (and never when it is no web address), the progress
// window that keeps painting and stops the check, and failures of every
// kind. With KIB_SCREENSHOT_DIR set, the progress window and the real
// message boxes are saved as PNGs.
#include "gui/app/ShellTestSupport.h"

#include "controls/DialogButtons.h"
#include "resources/CommandIds.h"
#include "support/HttpTestServer.h"
#include "support/ScopedEnv.h"
#include "update/UpdateProgressDialog.h"

#include <gtk/gtk.h>
#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/timer.h>

#include <chrono>
#include <cstdlib>

using kibtest::CHttpTestServer;
using kibtest::PumpEvents;
using Clock = std::chrono::steady_clock;

namespace {

const char kPath[] = "/versioninfo/kibversion.verinfo";
const char kCaption[] = "Im Web nach einer neuen Version suchen...";
const char kFailed[] = "Beim überprüfen der Version ist, während dem Versuch online zu gehen, ein Fehler "
                       "aufgetreten. Bitte gehen Sie manuell online und versuchen Sie es erneut.";

std::string VersionFile(const std::string& version, const std::string& info)
{
    return "[VERSIONINFO]\r\nTITLE=Kib\r\nVERSION=" + version + "\r\nDATE=01.12.2026\r\nSIZE=2,5 MB\r\nINFO=" + info +
           "\r\n";
}

void Shot(const char* name)
{
    const char* out = std::getenv("KIB_SCREENSHOT_DIR");
    if (!out || !*out)
        return;
    std::string cmd = std::string("import -window root '") + out + "/" + name + ".png'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
}

CUpdateProgressDialog* ShownProgress()
{
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* d = dynamic_cast<CUpdateProgressDialog*>(w); d && d->IsShown())
            return d;
    return nullptr;
}

// Runs act once, after ms, while a modal or nested loop runs.
void After(int ms, std::function<void()> act)
{
    auto* timer = new wxTimer();
    timer->Bind(wxEVT_TIMER, [timer, act](wxTimerEvent&) {
        act();
        wxTheApp->CallAfter([timer] { delete timer; });
    });
    timer->StartOnce(ms);
}

class UpdateCheckTest : public kibtest::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ASSERT_TRUE(Start());
        Frame()->Move(0, 0);
        Frame()->SetSize(wxSize(1000, 700));
        PumpEvents(30);
    }

    void UseUrl(const std::string& url) { setenv("KIB_UPDATE_URL", url.c_str(), 1); }

    void Check()
    {
        Frame()->RouteCommand(kib::ID_HELP_UPDATE);
        PumpEvents(10);
    }

    kibtest::CScopedEnv url{"KIB_UPDATE_URL", nullptr};
};

} // namespace

TEST_F(UpdateCheckTest, ANewerVersionOffersItsPageAndYesOpensIt)
{
    CHttpTestServer server([](CHttpTestServer&, int fd, const std::string&) {
        CHttpTestServer::Respond(fd, 200, VersionFile("99.0", "https://example.org/kib/neu.html"));
    });
    UseUrl(server.Url(kPath));
    dialogs.answers = {wxYES};
    Check();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].caption, kCaption);
    EXPECT_EQ(dialogs.asked[0].text, "Eine neue Version von KIB ist verfügbar.\n\nDetails:\nVersion: \t99.0\nDatum: "
                                     "\t01.12.2026\nGröße: \t2,5 MB\n\nWollen Sie die Webseite von KIB besuchen?");
    EXPECT_EQ(dialogs.asked[0].style & (wxYES_NO | wxOK), wxYES_NO);
    EXPECT_EQ(shellOpened, (std::vector<std::string>{"open:https://example.org/kib/neu.html"}));
    EXPECT_EQ(ShownProgress(), nullptr) << "the progress window is gone";
    EXPECT_TRUE(Frame()->IsEnabled()) << "the frame takes input again";

    // "No" opens nothing.
    dialogs.asked.clear();
    dialogs.answers = {wxNO};
    Check();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(shellOpened.size(), 1u);
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_NE(server.Requests()[1].find("User-Agent: Orvane WWW Update Agent 2.2.0.0 ("), std::string::npos);
}

TEST_F(UpdateCheckTest, SameVersionMissingKeyAndOddCaseSayNoNewVersion)
{
    for (std::string body : {VersionFile(KIB_VERSION, "https://example.org"), std::string("[VERSIONINFO]\nTITLE=x\n"),
                             std::string("[vErSiOnInFo]\ninfo=http://x\nvErSiOn=0.0.1\n")}) {
        SCOPED_TRACE(body);
        CHttpTestServer server([body](CHttpTestServer&, int fd, const std::string&) {
            CHttpTestServer::Respond(fd, 200, body);
        });
        UseUrl(server.Url(kPath));
        dialogs.asked.clear();
        Check();
        ASSERT_EQ(dialogs.asked.size(), 1u);
        EXPECT_EQ(dialogs.asked[0].text, "Sorry, keine neue Version verfügbar.");
        EXPECT_EQ(dialogs.asked[0].caption, kCaption);
        EXPECT_EQ(dialogs.asked[0].style & (wxYES_NO | wxOK), wxOK);
    }
    // Odd case and order still find a newer version.
    CHttpTestServer server([](CHttpTestServer&, int fd, const std::string&) {
        CHttpTestServer::Respond(fd, 200, "; Kommentar\n[versioninfo]\nsize = 1 MB\ndate=heute\nversion = \"50.1\"\n");
    });
    UseUrl(server.Url(kPath));
    dialogs.asked.clear();
    Check();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_NE(dialogs.asked[0].text.find("Version: \t50.1\nDatum: \theute\nGröße: \t1 MB"), std::string::npos);
    EXPECT_TRUE(shellOpened.empty()) << "the default answer is No";
}

TEST_F(UpdateCheckTest, AnInfoThatIsNoWebAddressIsNeverOpened)
{
    for (const char* info : {"file:///etc/passwd", "javascript:alert(1)", "/usr/bin/xterm", "http://a b"}) {
        SCOPED_TRACE(info);
        std::string body = VersionFile("99.0", info);
        CHttpTestServer server([body](CHttpTestServer&, int fd, const std::string&) {
            CHttpTestServer::Respond(fd, 200, body);
        });
        UseUrl(server.Url(kPath));
        dialogs.asked.clear();
        dialogs.answers = {wxYES};
        Check();
        ASSERT_EQ(dialogs.asked.size(), 1u);
        EXPECT_TRUE(shellOpened.empty());
    }
}

TEST_F(UpdateCheckTest, TheProgressWindowPaintsWhileTheServerIsSilentAndCancelStopsIt)
{
    CHttpTestServer server([](CHttpTestServer& s, int, const std::string&) { s.WaitForStop(); });
    UseUrl(server.Url(kPath));
    int paints = 0;
    bool sawWindow = false, frameDisabled = false;
    int range = -1;
    std::string title, step;
    Clock::time_point cancelled;
    After(400, [&] {
        CUpdateProgressDialog* p = ShownProgress();
        if (!p)
            return;
        sawWindow = true;
        title = p->GetTitle().utf8_string();
        range = p->Bar()->GetRange();
        frameDisabled = !Frame()->IsEnabled();
        p->Bind(wxEVT_PAINT, [&paints](wxPaintEvent& e) {
            ++paints;
            e.Skip();
        });
        p->Refresh();
        After(400, [&] {
            CUpdateProgressDialog* p = ShownProgress();
            if (!p)
                return;
            step = p->StepText().utf8_string();
            Shot("update-progress");
            wxWindow* cancel = p->FindWindow(wxID_CANCEL);
            ASSERT_NE(cancel, nullptr);
            EXPECT_EQ(cancel->GetLabel(), "Abbrechen");
            cancelled = Clock::now();
            wxCommandEvent click(wxEVT_BUTTON, wxID_CANCEL);
            click.SetEventObject(cancel);
            cancel->GetEventHandler()->ProcessEvent(click);
        });
    });
    Check();
    auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - cancelled).count();
    EXPECT_TRUE(sawWindow);
    EXPECT_EQ(title, "Checking WWW for new version");
    EXPECT_EQ(range, 3);
    EXPECT_TRUE(frameDisabled) << "only the progress window takes input";
    EXPECT_GT(paints, 0) << "the window kept painting";
    EXPECT_EQ(step, "Initialisieren...") << "the request went out, no data came";
    EXPECT_LT(took, 3000) << "cancel ends the check at once";
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, kFailed);
    EXPECT_EQ(dialogs.asked[0].caption, kCaption);
    EXPECT_TRUE(Frame()->IsEnabled());
}

TEST_F(UpdateCheckTest, RefusedConnectionsAndOtherSchemesFailWithTheSameMessage)
{
    for (std::string url : {"http://127.0.0.1:" + std::to_string(CHttpTestServer::ClosedPort()) + kPath,
                            std::string("file:///etc/passwd"), std::string("ftp://127.0.0.1/")}) {
        SCOPED_TRACE(url);
        UseUrl(url);
        dialogs.asked.clear();
        Check();
        ASSERT_EQ(dialogs.asked.size(), 1u);
        EXPECT_EQ(dialogs.asked[0].text, kFailed);
        EXPECT_EQ(dialogs.asked[0].style & (wxYES_NO | wxOK), wxOK);
        EXPECT_TRUE(shellOpened.empty());
    }
}

TEST(UpdateProgressDialog, FourStepsAdvanceTheBarWithTheirTexts)
{
    wxFrame owner(nullptr, wxID_ANY, "owner");
    int cancels = 0;
    CUpdateProgressDialog dlg(&owner, 3, [&] { ++cancels; });
    EXPECT_EQ(dlg.StepText(), "");
    const char* texts[] = {"Verbinden...", "Initialisieren...", "Daten vom Server beziehen...", "Daten auswerten..."};
    for (int step = 0; step < 4; ++step) {
        dlg.OnStep(step);
        EXPECT_EQ(dlg.StepText(), wxString::FromUTF8(texts[step]));
        EXPECT_EQ(dlg.Bar()->GetValue(), std::min(step + 1, 3));
    }
    dlg.OnStep(4);
    dlg.OnStep(-1);
    EXPECT_EQ(dlg.StepText(), "Daten auswerten...") << "other steps are ignored";
    dlg.Close();
    dlg.Close();
    EXPECT_EQ(cancels, 1) << "closing stops the check once";
}

// --- The real message boxes on screen ---------------------------------------------

namespace {

// Answers the toolkit's message box shown now with a response.
void AnswerGtkMessageBox(int response)
{
    GList* all = gtk_window_list_toplevels();
    for (GList* l = all; l; l = l->next)
        if (GTK_IS_MESSAGE_DIALOG(l->data) && gtk_widget_get_visible(GTK_WIDGET(l->data)))
            gtk_dialog_response(GTK_DIALOG(l->data), response);
    g_list_free(all);
}

class ScreenDialogs : public kibtest::CScriptedDialogs {
public:
    int MessageBox(wxWindow* parent, const wxString& text, const wxString& caption, long style) override
    {
        kibtest::CScriptedDialogs::MessageBox(parent, text, caption, style);
        std::string name = shotName;
        After(500, [name, style] {
            Shot(name.c_str());
            AnswerGtkMessageBox((style & wxYES_NO) ? GTK_RESPONSE_NO : GTK_RESPONSE_OK);
        });
        return ShowMessageBox(parent, text, caption, style);
    }
    std::string shotName;
};

} // namespace

TEST_F(UpdateCheckTest, MessagesOnScreen)
{
    ScreenDialogs screen;
    SetUserDialogs(&screen);
    struct Scene {
        const char* shot;
        std::string body; // empty: a refused connection
    };
    for (const Scene& scene : {Scene{"update-newer", VersionFile("2.4.1", "https://example.org/kib")},
                               Scene{"update-none", VersionFile(KIB_VERSION, "https://example.org/kib")},
                               Scene{"update-failed", ""}}) {
        SCOPED_TRACE(scene.shot);
        std::unique_ptr<CHttpTestServer> server;
        if (!scene.body.empty()) {
            std::string body = scene.body;
            server = std::make_unique<CHttpTestServer>([body](CHttpTestServer&, int fd, const std::string&) {
                CHttpTestServer::Respond(fd, 200, body);
            });
            UseUrl(server->Url(kPath));
        } else {
            UseUrl("http://127.0.0.1:" + std::to_string(CHttpTestServer::ClosedPort()) + kPath);
        }
        screen.shotName = scene.shot;
        screen.asked.clear();
        Check();
        ASSERT_EQ(screen.asked.size(), 1u) << "the box was answered";
    }
    SetUserDialogs(&dialogs);
    EXPECT_TRUE(shellOpened.empty()) << "No was answered";
}
