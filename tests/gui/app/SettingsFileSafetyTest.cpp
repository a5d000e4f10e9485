// Kib's settings files at start and exit: a symbolic link is followed only to
// a settings file, a file that could not be read completely is kept as a
// backup before it is replaced, and the user hears of either once.
#include "ShellTestSupport.h"

#include "resources/CommandIds.h"
#include "settings/Settings.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace kibtest;
using namespace kib;

namespace {

const char kPasswd[] = "root:x:0:0:root:/root:/bin/bash\n";

bool Exists(const std::string& p)
{
    struct stat st;
    return lstat(p.c_str(), &st) == 0;
}

bool IsLink(const std::string& p)
{
    struct stat st;
    return lstat(p.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Kib's own file with a compiler path and the splash switched off.
std::string KibParamText()
{
    CSettings s;
    s.m_compilerPath = "/opt/jdk-21/bin/javac";
    s.m_showSplash = 0;
    s.m_tabWidth = 6;
    CParamFile f;
    s.Save(f, 96);
    return f.SaveToText();
}

int Mentions(const std::vector<AskedMessage>& asked, const std::string& what)
{
    int n = 0;
    for (const AskedMessage& m : asked)
        if (m.text.find(what) != std::string::npos)
            ++n;
    return n;
}

} // namespace

class SettingsFileSafety : public ShellTest {
protected:
    // Start on the files the test prepared, without rewriting kibparam.xml.
    bool StartAsIs()
    {
        params.clear();
        return Start();
    }
};

TEST_F(SettingsFileSafety, ExitNeverWritesThroughALinkToAFileThatIsNoSettingsFile)
{
    std::string victim = File("passwd", kPasswd);
    ASSERT_EQ(symlink(victim.c_str(), (dir + "kibparam.xml").c_str()), 0);
    ASSERT_TRUE(StartAsIs());
    EXPECT_TRUE(dialogs.asked.empty()) << "nothing to say before anything is written";
    ASSERT_TRUE(CloseFrame());
    EXPECT_EQ(ReadFile(victim), kPasswd);
    EXPECT_TRUE(IsLink(dir + "kibparam.xml"));
    ASSERT_EQ(Mentions(dialogs.asked, "kibparam.xml wurde nicht geschrieben"), 1);
    EXPECT_EQ(Mentions(dialogs.asked, victim), 1);
    EXPECT_EQ(dialogs.asked.back().caption, "KIB");
}

TEST_F(SettingsFileSafety, ALinkToASettingsFileIsFollowedAndStaysALink)
{
    std::string real = File("elsewhere.xml", KibParamText());
    ASSERT_EQ(symlink(real.c_str(), (dir + "kibparam.xml").c_str()), 0);
    ASSERT_TRUE(StartAsIs());
    EXPECT_EQ(Frame()->Settings().m_compilerPath, "/opt/jdk-21/bin/javac");
    Frame()->RouteCommand(ID_AUTOINDENT);
    ASSERT_TRUE(CloseFrame());
    EXPECT_TRUE(IsLink(dir + "kibparam.xml"));
    CSettings back;
    back.LoadFile(real, 96);
    EXPECT_EQ(back.m_autoIndent, 0);
    EXPECT_EQ(back.m_compilerPath, "/opt/jdk-21/bin/javac");
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(SettingsFileSafety, DanglingLinksAndLinkLoopsAreLeftAsTheyAre)
{
    ASSERT_EQ(symlink((dir + "gone/kibparam.xml").c_str(), (dir + "kibparam.xml").c_str()), 0);
    mkdir((dir + "gone").c_str(), 0755);
    ASSERT_EQ(symlink("kibfiles.xml", (dir + "loop.xml").c_str()), 0);
    ASSERT_EQ(symlink("loop.xml", (dir + "kibfiles.xml").c_str()), 0);
    ASSERT_TRUE(StartAsIs());
    ASSERT_TRUE(CloseFrame());
    EXPECT_FALSE(Exists(dir + "gone/kibparam.xml"));
    EXPECT_TRUE(IsLink(dir + "kibparam.xml"));
    EXPECT_TRUE(IsLink(dir + "kibfiles.xml"));
    EXPECT_EQ(Mentions(dialogs.asked, "das es nicht gibt"), 1);
    EXPECT_EQ(Mentions(dialogs.asked, "kibfiles.xml wurde nicht geschrieben"), 1);
    EXPECT_EQ(Mentions(dialogs.asked, "im Kreis"), 1);
}

TEST_F(SettingsFileSafety, TheOpenFilesListIsNeverWrittenThroughALinkToAnotherFile)
{
    std::string victim = File("notes.txt", "meine Notizen\n");
    ASSERT_EQ(symlink(victim.c_str(), (dir + "kibfiles.xml").c_str()), 0);
    ASSERT_TRUE(Start());
    ASSERT_TRUE(CloseFrame());
    EXPECT_EQ(ReadFile(victim), "meine Notizen\n");
    EXPECT_EQ(Mentions(dialogs.asked, "kibfiles.xml wurde nicht geschrieben"), 1);

    // A link to a real open-files list is followed.
    WriteFile(victim, "<KIBFILES>\r\n<COUNT>0</COUNT>\r\n</KIBFILES>\r\n");
    std::string a = File("A.java", "class A {}\r\n");
    dialogs.asked.clear();
    ASSERT_TRUE(Start());
    ASSERT_NE(Open(a), nullptr);
    ASSERT_TRUE(CloseFrame());
    EXPECT_TRUE(IsLink(dir + "kibfiles.xml"));
    EXPECT_NE(ReadFile(victim).find("<FILE1>" + a + "</FILE1>"), std::string::npos);
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(SettingsFileSafety, ATruncatedSettingsFileKeepsItsValuesAndIsBackedUpOnce)
{
    const std::string whole = KibParamText();
    const std::string truncated = whole.substr(0, whole.find("<TABWIDTH>") + 4);
    std::string file = File("kibparam.xml", truncated);
    ASSERT_TRUE(StartAsIs());
    EXPECT_EQ(Frame()->Settings().m_compilerPath, "/opt/jdk-21/bin/javac");
    EXPECT_EQ(Frame()->Settings().m_tabWidth, 4);
    // Saved twice: by the options' OK path and at exit; told once.
    Frame()->SaveSettings();
    ASSERT_TRUE(CloseFrame());
    EXPECT_EQ(ReadFile(file + ".bad"), truncated);
    EXPECT_FALSE(Exists(file + ".bad.1"));
    CSettings back;
    back.LoadFile(file, 96);
    EXPECT_EQ(back.m_compilerPath, "/opt/jdk-21/bin/javac");
    EXPECT_EQ(back.m_showSplash, 0);
    ASSERT_EQ(Mentions(dialogs.asked, "konnte nicht vollständig gelesen werden"), 1);
    EXPECT_EQ(Mentions(dialogs.asked, file + ".bad"), 1);
}

TEST_F(SettingsFileSafety, GarbageIsKeptNextToTheNewFile)
{
    std::string garbage;
    for (int i = 0; i < 4000; ++i)
        garbage += static_cast<char>((i * 131 + 7) % 256);
    std::string file = File("kibparam.xml", garbage);
    ASSERT_TRUE(StartAsIs());
    EXPECT_EQ(Frame()->Settings().m_compilerPath, "");
    ASSERT_TRUE(CloseFrame());
    EXPECT_EQ(ReadFile(file + ".bad"), garbage);
    CParamFile back;
    ASSERT_TRUE(back.Load(file));
    EXPECT_TRUE(back.IsSettingsFileOf("KIBPARAMS"));
    EXPECT_EQ(Mentions(dialogs.asked, "konnte nicht vollständig gelesen werden"), 1);
}
