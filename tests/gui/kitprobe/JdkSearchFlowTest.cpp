// Kitprobe's course with scripted answers: the window stays alive while the
// worker walks, the result dialog sits on the progress window, and the
// settings file is written only on "&Ja" and OK.
#include "gui/GuiTestMain.h"
#include "kitprobe/JdkSearch.h"
#include "kitprobe/JdkSearchFlow.h"
#include "kitprobe/KitprobeDialogs.h"
#include "kitprobe/SearchAnimation.h"
#include "kitprobe/SearchProgressDlg.h"
#include "kitprobe/SearchResultDlg.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/combobox.h>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>

namespace {

class CScriptedDialogs : public IKitprobeDialogs {
public:
    bool AskSearch() override
    {
        ++asked;
        return answerYes;
    }
    bool ChooseResults(wxWindow* owner, const CJdkFinds& finds, CJdkChoices& choices) override
    {
        ++shown;
        ownerWasProgress = owner && dynamic_cast<CSearchProgressDlg*>(owner) && owner->IsShown();
        // The real dialog's contents, without waiting for a user.
        CSearchResultDlg dlg(owner, finds);
        if (edit)
            edit(dlg);
        choices = dlg.Choices();
        seen = choices;
        return answerOk;
    }

    void Tell(wxWindow* owner, const wxString& text, bool error) override
    {
        told.push_back(text.utf8_string());
        toldError = error;
        tellOwnerWasProgress = owner && dynamic_cast<CSearchProgressDlg*>(owner);
    }

    bool answerYes = true;
    bool answerOk = true;
    std::vector<std::string> told;
    bool toldError = false;
    bool tellOwnerWasProgress = false;
    std::function<void(CSearchResultDlg&)> edit;
    int asked = 0, shown = 0;
    bool ownerWasProgress = false;
    CJdkChoices seen;
};

void MakeExe(const std::string& path)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << "#!/bin/sh\n";
    chmod(path.c_str(), 0755);
}

TEST(JdkSearchFlowTest, NeinSearchesAndWritesNothing)
{
    kibtest::CTempDir tmp;
    CScriptedDialogs dialogs;
    dialogs.answerYes = false;
    bool searched = false, done = false;
    CJdkSearchFlow flow(dialogs, tmp.File("kibparam.xml"), [&](const CJdkWalker::Progress&) {
        searched = true;
        return CJdkFinds();
    });
    flow.Start([&] { done = true; });
    EXPECT_TRUE(done);
    EXPECT_EQ(flow.Outcome(), CJdkSearchFlow::DECLINED);
    EXPECT_FALSE(searched);
    EXPECT_EQ(dialogs.shown, 0);
    EXPECT_EQ(flow.ProgressWindow(), nullptr);
    EXPECT_FALSE(kibtest::Exists(tmp.File("kibparam.xml")));
}

TEST(JdkSearchFlowTest, WindowRepaintsAndAnimatesWhileTheWorkerWalks)
{
    kibtest::CTempDir tmp;
    CScriptedDialogs dialogs;
    std::mutex m;
    std::condition_variable cv;
    bool release = false;
    std::atomic<bool> onUiThread{false};
    const auto uiThread = std::this_thread::get_id();

    CJdkSearchFlow flow(dialogs, tmp.File("kibparam.xml"),
                        [&](const CJdkWalker::Progress& progress) {
                            onUiThread = std::this_thread::get_id() == uiThread;
                            progress("/usr/lib/jvm/java-17-openjdk-amd64/lib/security/");
                            std::unique_lock<std::mutex> lock(m);
                            cv.wait(lock, [&] { return release; }); // a huge folder
                            CJdkFinds finds;
                            finds.Add(FIND_COMPILER, "/usr/lib/jvm/b/bin/javac");
                            finds.Add(FIND_COMPILER, "/usr/lib/jvm/a/bin/javac");
                            return finds;
                        });
    bool done = false;
    flow.Start([&] { done = true; });
    CSearchProgressDlg* progress = flow.ProgressWindow();
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->IsShown());
    EXPECT_EQ(wxTheApp->GetTopWindow(), progress);

    // The UI thread is free: the folder shows, frames advance, paints happen.
    ASSERT_TRUE(kibtest::PumpUntil([&] { return progress->Folder() == "/usr/lib/jvm/java-17-openjdk-amd64/lib/security/"; }, 5000));
    CSearchAnimation* anim = progress->Animation();
    long frames = anim->FramesPlayed(), paints = anim->Paints();
    ASSERT_TRUE(kibtest::PumpUntil([&] { return anim->FramesPlayed() >= frames + 8; }, 10000));
    EXPECT_GT(anim->Paints(), paints);
    EXPECT_TRUE(flow.Searching());
    EXPECT_FALSE(done);
    EXPECT_FALSE(onUiThread);
    if (const char* shots = std::getenv("KIB_KITPROBE_SHOTS")) {
        std::string cmd = std::string("mkdir -p '") + shots + "' && import -window root '" +
                          shots + "/kitprobe-progress.png'";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
    }

    {
        std::lock_guard<std::mutex> lock(m);
        release = true;
    }
    cv.notify_all();
    ASSERT_TRUE(kibtest::PumpUntil([&] { return done; }, 10000));
    EXPECT_EQ(flow.Outcome(), CJdkSearchFlow::WRITTEN);
    EXPECT_TRUE(dialogs.ownerWasProgress);
    EXPECT_EQ(dialogs.seen.compiler, "/usr/lib/jvm/a/bin/javac");
    EXPECT_EQ(flow.ProgressWindow(), nullptr);
    EXPECT_EQ(kibtest::ReadFile(tmp.File("kibparam.xml")),
              "<KIBPARAMS>\r\n<JDK>\r\n<COMPILER>\r\n<PATH>/usr/lib/jvm/a/bin/javac</PATH>\r\n"
              "</COMPILER>\r\n</JDK>\r\n</KIBPARAMS>\r\n");
}

TEST(JdkSearchFlowTest, RealWalkOfATreeThroughTheResultDialog)
{
    kibtest::CTempDir tmp;
    // Hidden, so a walk of the whole machine at the same time never sees it.
    std::string root = tmp.File(".drive");
    MakeExe(root + "/jdk-b/bin/javac");
    MakeExe(root + "/jdk-a/bin/JAVAC");
    MakeExe(root + "/jdk-a/bin/java");
    MakeExe(root + "/jdk-a/bin/javadoc");
    std::filesystem::create_directories(root + "/jdk-a/docs/tooldocs");
    setenv(CJdkSearch::kTestDrivesVariable, root.c_str(), 1);

    std::string file = tmp.File("kibparam.xml");
    kibtest::WriteFile(file, "<KIBPARAMS>\r\n<EDITOR>\r\n<TABWIDTH>4</TABWIDTH>\r\n</EDITOR>\r\n"
                             "</KIBPARAMS>\r\n");
    CScriptedDialogs dialogs;
    dialogs.edit = [](CSearchResultDlg& dlg) {
        dlg.Combo(FIND_INTERPRETER)->SetValue("/typed/java");
    };
    bool done = false;
    CJdkSearchFlow flow(dialogs, file);
    flow.Start([&] { done = true; });
    ASSERT_TRUE(kibtest::PumpUntil([&] { return done; }, 30000));
    unsetenv(CJdkSearch::kTestDrivesVariable);

    EXPECT_EQ(flow.Outcome(), CJdkSearchFlow::WRITTEN);
    EXPECT_EQ(dialogs.seen.compiler, root + "/jdk-a/bin/JAVAC");
    EXPECT_EQ(dialogs.seen.docGenerator, root + "/jdk-a/bin/javadoc");
    EXPECT_EQ(dialogs.seen.appletViewer, "nichts gefunden");
    EXPECT_EQ(kibtest::ReadFile(file),
              "<KIBPARAMS>\r\n<EDITOR>\r\n<TABWIDTH>4</TABWIDTH>\r\n</EDITOR>\r\n<JDK>\r\n"
              "<COMPILER>\r\n<PATH>" + root + "/jdk-a/bin/JAVAC</PATH>\r\n</COMPILER>\r\n"
              "<INTERPRETER>\r\n<PATH>/typed/java</PATH>\r\n</INTERPRETER>\r\n<EXTRAS>\r\n"
              "<DOCUPATH>" + root + "/jdk-a/docs/index.html</DOCUPATH>\r\n</EXTRAS>\r\n</JDK>\r\n"
              "</KIBPARAMS>\r\n");
}

TEST(JdkSearchFlowTest, AbbrechenInTheResultWritesNothing)
{
    kibtest::CTempDir tmp;
    std::string file = tmp.File("kibparam.xml");
    kibtest::WriteFile(file, "<KIBPARAMS>\r\n</KIBPARAMS>\r\n");
    struct stat before {};
    stat(file.c_str(), &before);
    CScriptedDialogs dialogs;
    dialogs.answerOk = false;
    bool done = false;
    CJdkSearchFlow flow(dialogs, file, [](const CJdkWalker::Progress&) {
        CJdkFinds finds;
        finds.Add(FIND_COMPILER, "/j/bin/javac");
        return finds;
    });
    flow.Start([&] { done = true; });
    ASSERT_TRUE(kibtest::PumpUntil([&] { return done; }, 10000));
    EXPECT_EQ(flow.Outcome(), CJdkSearchFlow::CANCELLED);
    EXPECT_EQ(dialogs.shown, 1);
    struct stat after {};
    stat(file.c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino); // not even rewritten
    EXPECT_EQ(kibtest::ReadFile(file), "<KIBPARAMS>\r\n</KIBPARAMS>\r\n");
}

CJdkFinds OneCompiler(const CJdkWalker::Progress&)
{
    CJdkFinds finds;
    finds.Add(FIND_COMPILER, "/j/bin/javac");
    return finds;
}

// Runs the flow to its end with "&Ja" and OK.
CJdkSearchFlow::EOutcome RunToEnd(CScriptedDialogs& dialogs, const std::string& file)
{
    bool done = false;
    CJdkSearchFlow flow(dialogs, file, OneCompiler);
    flow.Start([&] { done = true; });
    EXPECT_TRUE(kibtest::PumpUntil([&] { return done; }, 10000));
    EXPECT_EQ(flow.Failed(), flow.Outcome() != CJdkSearchFlow::WRITTEN);
    return flow.Outcome();
}

TEST(JdkSearchFlowTest, ALinkToAnotherFileIsNotWrittenThroughAndTheUserIsTold)
{
    kibtest::CTempDir tmp;
    std::string victim = tmp.File("passwd");
    kibtest::WriteFile(victim, "root:x:0:0:root:/root:/bin/bash\n");
    std::string file = tmp.File("kibparam.xml");
    ASSERT_EQ(symlink("passwd", file.c_str()), 0);
    CScriptedDialogs dialogs;
    EXPECT_EQ(RunToEnd(dialogs, file), CJdkSearchFlow::REFUSED);
    EXPECT_EQ(kibtest::ReadFile(victim), "root:x:0:0:root:/root:/bin/bash\n");
    ASSERT_EQ(dialogs.told.size(), 1u);
    EXPECT_NE(dialogs.told[0].find("wurde nicht geschrieben"), std::string::npos) << dialogs.told[0];
    EXPECT_NE(dialogs.told[0].find(victim), std::string::npos) << dialogs.told[0];
    EXPECT_TRUE(dialogs.toldError);
    EXPECT_TRUE(dialogs.tellOwnerWasProgress);

    // Dangling, and a loop: nothing made, told why.
    unlink(file.c_str());
    ASSERT_EQ(symlink("nowhere.xml", file.c_str()), 0);
    CScriptedDialogs dangling;
    EXPECT_EQ(RunToEnd(dangling, file), CJdkSearchFlow::UNREADABLE);
    EXPECT_FALSE(kibtest::Exists(tmp.File("nowhere.xml")));
    ASSERT_EQ(dangling.told.size(), 1u);
    EXPECT_NE(dangling.told[0].find("das es nicht gibt"), std::string::npos) << dangling.told[0];
    unlink(file.c_str());
    ASSERT_EQ(symlink("kibparam.xml", file.c_str()), 0);
    CScriptedDialogs loop;
    EXPECT_NE(RunToEnd(loop, file), CJdkSearchFlow::WRITTEN);
    ASSERT_EQ(loop.told.size(), 1u);
    EXPECT_NE(loop.told[0].find("im Kreis"), std::string::npos) << loop.told[0];
}

TEST(JdkSearchFlowTest, ALinkToASettingsFileIsFollowedSilently)
{
    kibtest::CTempDir tmp;
    std::string real = tmp.File("real.xml");
    kibtest::WriteFile(real, "<KIBPARAMS>\r\n<EDITOR>\r\n<TABWIDTH>4</TABWIDTH>\r\n</EDITOR>\r\n"
                             "</KIBPARAMS>\r\n");
    std::string file = tmp.File("kibparam.xml");
    ASSERT_EQ(symlink("real.xml", file.c_str()), 0);
    CScriptedDialogs dialogs;
    EXPECT_EQ(RunToEnd(dialogs, file), CJdkSearchFlow::WRITTEN);
    struct stat st {};
    ASSERT_EQ(lstat(file.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_NE(kibtest::ReadFile(real).find("<PATH>/j/bin/javac</PATH>"), std::string::npos);
    EXPECT_NE(kibtest::ReadFile(real).find("<TABWIDTH>4</TABWIDTH>"), std::string::npos);
    EXPECT_TRUE(dialogs.told.empty());
}

TEST(JdkSearchFlowTest, AFailedWriteAndADamagedFileAreToldInGerman)
{
    kibtest::CTempDir tmp;
    std::string file = tmp.File("kibparam.xml");
    kibtest::WriteFile(file, "<KIBPARAMS>\r\n</KIBPARAMS>\r\n");
    CScriptedDialogs dialogs;
    {
        kibtest::CFileSizeLimit full(10); // as on a full disk
        EXPECT_EQ(RunToEnd(dialogs, file), CJdkSearchFlow::WRITE_FAILED);
    }
    EXPECT_EQ(kibtest::ReadFile(file), "<KIBPARAMS>\r\n</KIBPARAMS>\r\n");
    ASSERT_EQ(dialogs.told.size(), 1u);
    EXPECT_NE(dialogs.told[0].find("konnte nicht geschrieben werden"), std::string::npos) << dialogs.told[0];
    EXPECT_NE(dialogs.told[0].find("Die Datei ist zu groß."), std::string::npos) << dialogs.told[0];

    // Cut off: kept as a backup, the values before the cut and the new path written.
    const std::string cut = "<KIBPARAMS>\r\n<EDITOR>\r\n<TABWIDTH>6</TABWIDTH>\r\n<SHOWLINE";
    kibtest::WriteFile(file, cut);
    CScriptedDialogs damaged;
    EXPECT_EQ(RunToEnd(damaged, file), CJdkSearchFlow::WRITTEN);
    EXPECT_EQ(kibtest::ReadFile(file + ".bad"), cut);
    EXPECT_NE(kibtest::ReadFile(file).find("<TABWIDTH>6</TABWIDTH>"), std::string::npos);
    EXPECT_NE(kibtest::ReadFile(file).find("<PATH>/j/bin/javac</PATH>"), std::string::npos);
    ASSERT_EQ(damaged.told.size(), 1u);
    EXPECT_NE(damaged.told[0].find("als " + file + ".bad gesichert"), std::string::npos) << damaged.told[0];
    EXPECT_FALSE(damaged.toldError);
}

} // namespace
