// What a save does with what it finds at the settings file's place: links
// followed only to settings files, damaged files kept as a backup first,
// and nothing written over anything else.
#include "settings/ParamFile.h"
#include "settings/ParamSaveReport.h"
#include "settings/Settings.h"
#include "settings/SettingsFileCheck.h"

#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>


using kibtest::CTempDir;
using kibtest::Entries;
using kibtest::ReadFile;
using kibtest::WriteFile;
using F = ESettingsFileFound;

namespace {

const char kNotSettings[] = "root:x:0:0:root:/root:/bin/bash\nanna:x:1000:1000::/home/anna:/bin/sh\n";

// A file as Kib writes it, with values away from their defaults.
std::string KibSettingsText()
{
    CSettings s;
    s.m_compilerPath = "/opt/jdk/bin/javac";
    s.m_interpreterPath = "/opt/jdk/bin/java";
    s.m_classPath = ".:/lib/eins.jar";
    s.m_tabWidth = 7;
    s.m_tools.push_back({"Liste", "-l", "/bin/ls", 1, 1});
    CParamFile f;
    s.Save(f, 96);
    return f.SaveToText();
}

bool IsLink(const std::string& p)
{
    struct stat st;
    return lstat(p.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

CParamSaveReport SaveDefaults(const std::string& file)
{
    CSettings s;
    CParamSaveReport report;
    s.SaveFile(file, 96, &report);
    return report;
}

} // namespace

TEST(SettingsFileLinks, ALinkToAFileThatIsNoSettingsFileIsNeverWrittenThrough)
{
    CTempDir dir;
    mkdir(dir.File("etc").c_str(), 0755);
    std::string victim = dir.File("etc/passwd");
    WriteFile(victim, kNotSettings);
    std::string file = dir.File("kibparam.xml");
    ASSERT_EQ(symlink("etc/passwd", file.c_str()), 0);

    CSettings loaded;
    loaded.LoadFile(file, 96);
    EXPECT_EQ(loaded, CSettings()) << "nothing of it reads as settings";
    CParamSaveReport report = SaveDefaults(file);
    EXPECT_EQ(report.outcome, CParamSaveReport::REFUSED);
    EXPECT_EQ(report.found, F::LinkToOther);
    EXPECT_EQ(report.linkTarget, victim);
    EXPECT_EQ(ReadFile(victim), kNotSettings);
    EXPECT_TRUE(IsLink(file));
    EXPECT_EQ(Entries(dir.File("etc")), std::vector<std::string>{"passwd"}) << "no backup of a file that is not ours";
    std::string text = report.Text(file);
    EXPECT_NE(text.find("wurde nicht geschrieben"), std::string::npos) << text;
    EXPECT_NE(text.find(victim), std::string::npos) << text;

    // An empty target, or one cut off, is no settings file to follow either.
    for (const std::string& content : {std::string(), KibSettingsText().substr(0, 300)}) {
        WriteFile(victim, content);
        EXPECT_EQ(SaveDefaults(file).outcome, CParamSaveReport::REFUSED);
        EXPECT_EQ(ReadFile(victim), content);
    }
    // Nor is a folder.
    unlink(file.c_str());
    ASSERT_EQ(symlink("etc", file.c_str()), 0);
    EXPECT_EQ(SaveDefaults(file).found, F::LinkToOther);
}

TEST(SettingsFileLinks, ALinkToASettingsFileIsFollowedAndStaysALink)
{
    CTempDir dir;
    mkdir(dir.File("shared").c_str(), 0755);
    std::string real = dir.File("shared/kibparam.xml");
    WriteFile(real, KibSettingsText());
    std::string file = dir.File("kibparam.xml");
    ASSERT_EQ(symlink("shared/kibparam.xml", file.c_str()), 0);

    CSettings s;
    s.LoadFile(file, 96);
    EXPECT_EQ(s.m_tabWidth, 7);
    s.m_tabWidth = 3;
    CParamSaveReport report;
    ASSERT_TRUE(s.SaveFile(file, 96, &report));
    EXPECT_EQ(report.outcome, CParamSaveReport::WRITTEN);
    EXPECT_EQ(report.found, F::LinkToSettings);
    EXPECT_TRUE(IsLink(file));
    CSettings back;
    back.LoadFile(real, 96);
    EXPECT_EQ(back.m_tabWidth, 3);
    EXPECT_EQ(back.m_compilerPath, "/opt/jdk/bin/javac");
    EXPECT_EQ(Entries(dir.File("shared")), std::vector<std::string>{"kibparam.xml"});
    EXPECT_TRUE(report.Text(file).empty());
}

TEST(SettingsFileLinks, DanglingLinksAndLoopsWriteNothing)
{
    CTempDir dir;
    std::string file = dir.File("kibparam.xml");
    ASSERT_EQ(symlink("nowhere/kibparam.xml", file.c_str()), 0);
    mkdir(dir.File("nowhere").c_str(), 0755);
    CParamSaveReport report = SaveDefaults(file);
    EXPECT_EQ(report.outcome, CParamSaveReport::REFUSED);
    EXPECT_EQ(report.found, F::DanglingLink);
    EXPECT_FALSE(kibtest::Exists(dir.File("nowhere/kibparam.xml")));
    EXPECT_NE(report.Text(file).find("das es nicht gibt"), std::string::npos);

    std::string a = dir.File("a.xml"), b = dir.File("b.xml");
    ASSERT_EQ(symlink("b.xml", a.c_str()), 0);
    ASSERT_EQ(symlink("a.xml", b.c_str()), 0);
    report = SaveDefaults(a);
    EXPECT_EQ(report.outcome, CParamSaveReport::REFUSED);
    EXPECT_EQ(report.found, F::LinkLoop);
    EXPECT_TRUE(IsLink(a));
    EXPECT_TRUE(IsLink(b));
    EXPECT_NE(report.Text(a).find("im Kreis"), std::string::npos);
}

TEST(SettingsFileDamage, ATruncatedFileKeepsItsValuesAndIsBackedUpBeforeTheFirstWrite)
{
    CTempDir dir;
    std::string file = dir.File("kibparam.xml");
    const std::string whole = KibSettingsText();
    // Cut in the middle of the tag after the interpreter's path.
    size_t cut = whole.find("<STOPAFTERRUN>") + 5;
    ASSERT_NE(cut, std::string::npos);
    const std::string truncated = whole.substr(0, cut);
    WriteFile(file, truncated);

    CSettings s;
    s.LoadFile(file, 96);
    EXPECT_EQ(s.m_compilerPath, "/opt/jdk/bin/javac") << "values before the cut are read";
    EXPECT_EQ(s.m_interpreterPath, "/opt/jdk/bin/java");
    EXPECT_EQ(s.m_tabWidth, 4) << "after the cut: the default";

    CParamSaveReport report;
    ASSERT_TRUE(s.SaveFile(file, 96, &report));
    EXPECT_EQ(report.outcome, CParamSaveReport::WRITTEN_AFTER_BACKUP);
    EXPECT_EQ(report.found, F::Damaged);
    EXPECT_EQ(report.backup, file + ".bad");
    EXPECT_EQ(ReadFile(file + ".bad"), truncated) << "the old file is kept byte for byte";
    CSettings back;
    back.LoadFile(file, 96);
    EXPECT_EQ(back, s) << "the new file holds what was read";
    std::string text = report.Text(file);
    EXPECT_NE(text.find("nicht vollständig gelesen"), std::string::npos) << text;
    EXPECT_NE(text.find(file + ".bad"), std::string::npos) << text;

    // The next save finds a settings file: no second backup, no message.
    report = SaveDefaults(file);
    EXPECT_EQ(report.outcome, CParamSaveReport::WRITTEN);
    EXPECT_FALSE(report.NeedsTelling());
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"kibparam.xml", "kibparam.xml.bad"}));
}

TEST(SettingsFileDamage, GarbageAForeignRootAndStrayTextAreKeptToo)
{
    std::string garbage;
    for (int i = 0; i < 3000; ++i)
        garbage += static_cast<char>((i * 7919) % 251);
    const std::string cases[] = {
        garbage,
        kNotSettings,
        "<KIBFILES>\r\n<COUNT>1</COUNT>\r\n</KIBFILES>\r\n",
        "<?xml version=\"1.0\"?>\r\n<KIBPARAMS>\r\n<X>1</X>\r\n</KIBPARAMS>\r\n",
        "Notiz: Pfade\r\n" + KibSettingsText(),
    };
    for (const std::string& old : cases) {
        CTempDir dir;
        std::string file = dir.File("kibparam.xml");
        WriteFile(file, old);
        CParamSaveReport report = SaveDefaults(file);
        EXPECT_EQ(report.outcome, CParamSaveReport::WRITTEN_AFTER_BACKUP) << old.substr(0, 40);
        EXPECT_EQ(ReadFile(file + ".bad"), old);
        CSettings back;
        back.LoadFile(file, 96);
        EXPECT_EQ(back, CSettings());
    }
}

TEST(SettingsFileDamage, ABackupNeverReplacesAnOlderOne)
{
    CTempDir dir;
    std::string file = dir.File("kibparam.xml");
    WriteFile(file + ".bad", "older backup");
    WriteFile(file + ".bad.1", "an even older one");
    WriteFile(file, "<KIBPARAMS><JDK>cut");
    CParamSaveReport report = SaveDefaults(file);
    EXPECT_EQ(report.outcome, CParamSaveReport::WRITTEN_AFTER_BACKUP);
    EXPECT_EQ(report.backup, file + ".bad.2");
    EXPECT_EQ(ReadFile(file + ".bad"), "older backup");
    EXPECT_EQ(ReadFile(file + ".bad.1"), "an even older one");
    EXPECT_EQ(ReadFile(file + ".bad.2"), "<KIBPARAMS><JDK>cut");

    // The same damage again (a backup was made, the write then failed):
    // the backup that holds exactly it is taken, no new one.
    WriteFile(file, "<KIBPARAMS><JDK>cut");
    report = SaveDefaults(file);
    EXPECT_EQ(report.backup, file + ".bad.2");
    EXPECT_FALSE(kibtest::Exists(file + ".bad.3"));

    // Every name taken: the damaged file stays and nothing is written.
    for (int n = 3; n < 100; ++n)
        WriteFile(file + ".bad." + std::to_string(n), "x");
    WriteFile(file, "garbage");
    report = SaveDefaults(file);
    EXPECT_EQ(report.outcome, CParamSaveReport::REFUSED);
    EXPECT_EQ(report.found, F::Damaged);
    EXPECT_EQ(ReadFile(file), "garbage");
    EXPECT_NE(report.Text(file).find("keine Sicherungskopie"), std::string::npos);
}

TEST(SettingsFileDamage, CompleteAndBlankFilesAreReplacedWithoutABackup)
{
    for (const std::string& old : {KibSettingsText(), std::string(), std::string(" \r\n\r\n"),
                                   std::string("<>\r\n</>\r\n")}) {
        CTempDir dir;
        std::string file = dir.File("kibparam.xml");
        WriteFile(file, old);
        CParamSaveReport report = SaveDefaults(file);
        EXPECT_EQ(report.outcome, CParamSaveReport::WRITTEN);
        EXPECT_EQ(report.found, F::Settings);
        EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"kibparam.xml"});
    }
    // Nothing there: made new.
    CTempDir dir;
    CParamSaveReport report = SaveDefaults(dir.File("kibparam.xml"));
    EXPECT_EQ(report.outcome, CParamSaveReport::WRITTEN);
    EXPECT_EQ(report.found, F::Missing);
}

TEST(SettingsFileDamage, FoldersAndUnreadableFilesAreLeftAlone)
{
    CTempDir dir;
    std::string folder = dir.File("kibparam.xml");
    mkdir(folder.c_str(), 0755);
    CParamSaveReport report = SaveDefaults(folder);
    EXPECT_EQ(report.outcome, CParamSaveReport::REFUSED);
    EXPECT_EQ(report.found, F::NotAFile);

    chmod(dir.Path().c_str(), 0777);
    std::string locked = dir.File("locked.xml");
    WriteFile(locked, KibSettingsText());
    chmod(locked.c_str(), 0222);
    EXPECT_UNPRIVILEGED_OK([&] {
        CParamSaveReport r = SaveDefaults(locked);
        if (r.outcome != CParamSaveReport::REFUSED || r.found != F::Unreadable)
            return 1;
        return r.Text(locked).find("Zugriff verweigert") == std::string::npos ? 2 : 0;
    });
    chmod(locked.c_str(), 0644);
    EXPECT_EQ(ReadFile(locked), KibSettingsText());
}

TEST(SettingsFileNul, ANulByteInAValueSurvivesSaveAndLoad)
{
    CTempDir dir;
    std::string file = dir.File("kibparam.xml");
    CSettings s;
    s.m_classPath = std::string("/lib/a.jar\0/lib/b.jar", 21);
    s.m_textBlocks[4].content = std::string("x\0y", 3);
    ASSERT_TRUE(s.SaveFile(file, 96));
    CSettings back;
    back.LoadFile(file, 96);
    EXPECT_EQ(back.m_classPath, s.m_classPath);
    EXPECT_EQ(back.m_textBlocks[4].content, s.m_textBlocks[4].content);
    EXPECT_EQ(SaveDefaults(file).found, F::Settings) << "such a file is still read completely";
}
