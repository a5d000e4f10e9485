#include "settings/Settings.h"

#include "settings/ExtensionList.h"
#include "settings/ParamFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using kibtest::CTempDir;

namespace {

const std::string kGolden = std::string(KIB_TEST_DATA) + "/settings/kibparam_defaults.xml";

std::string SavedText(const CSettings& s, int ppi = 96)
{
    CParamFile f;
    s.Save(f, ppi);
    return f.SaveToText();
}

CSettings LoadedFrom(const std::string& text, int ppi = 96)
{
    CParamFile f;
    f.LoadFromText(text);
    CSettings s;
    s.Load(f, ppi);
    return s;
}

} // namespace

TEST(SettingsFile, FirstSaveWithoutAFileWritesExactlyTheDefaults)
{
    CTempDir dir;
    std::string file = dir.File("kibparam.xml");
    CSettings s;
    s.LoadFile(file, 96); // no file yet
    EXPECT_EQ(s, CSettings());
    ASSERT_TRUE(s.SaveFile(file, 96));
    std::string golden = kibtest::ReadFile(kGolden);
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(kibtest::ReadFile(file), golden);
}

TEST(SettingsFile, DefaultsMatchTheTables)
{
    CSettings s;
    EXPECT_EQ(s.m_stopAfterRun, 1);
    EXPECT_EQ(s.m_reopenFiles, 1);
    EXPECT_EQ(s.m_tabWidth, 4);
    EXPECT_EQ(s.m_columnGuidePos, 80);
    EXPECT_EQ(s.m_selectionBackground, RGB(112, 112, 191));
    EXPECT_EQ(s.m_marginBackground, RGB(234, 234, 234));
    EXPECT_EQ(s.m_highlight[HL_FUNCTION].foreground, RGB(76, 115, 166));
    EXPECT_EQ(s.m_highlight[HL_COMMENTJAVADOC].background, RGB(238, 238, 238));
    EXPECT_EQ(s.m_highlight[HL_BRACEMATCH].foreground, RGB(255, 0, 0));
    EXPECT_EQ(s.m_highlight[HL_BRACEMATCH].background, RGB(255, 255, 0));
    EXPECT_EQ(s.m_editorFont.FaceName(), "Courier New");
    EXPECT_EQ(s.m_editorFont.lfPitchAndFamily, 49);
    EXPECT_EQ(s.m_textBlocks[9].name, "class mit main");
    EXPECT_EQ(s.m_textBlocks[0].content, "if (\xA7)\r\n{\r\n}");
    EXPECT_EQ(s.m_curStartFile, -1);
    EXPECT_TRUE(s.m_tools.empty());
}

TEST(SettingsFile, EveryValueRoundTrips)
{
    CSettings s;
    s.m_compilerPath = "/opt/jdk/bin/javac";
    s.m_setDestinationPath = 1;
    s.m_destinationPath = "/tmp/classes dir";
    s.m_debugInfo = s.m_optimize = s.m_noWarnings = s.m_status = s.m_deprecated = 1;
    s.m_autoSaveBeforeCompile = 1;
    s.m_autoSaveBeforeCompileType = 1;
    s.m_interpreterPath = "/opt/jdk/bin/java";
    s.m_stopAfterRun = 0;
    s.m_captureOutput = 1;
    s.m_appletViewerPath = "/opt/jdk/bin/appletviewer";
    s.m_docuPath = "/opt/jdk/docs";
    s.m_classPath = ".:lib/x.jar";
    s.m_showSplash = 0;
    s.m_reopenFiles = 0;
    s.m_skin = 3;
    s.m_editorTabs = 0;
    s.m_openMaximized = 0;
    s.m_fileExtensions = {".java", ".class"};
    s.m_outputFont.SetFaceName("DejaVu Sans Mono");
    s.m_outputFont.SetPointSize(12, 96);
    s.m_outputFont.lfCharSet = 0;
    s.m_fullScreenShowToolbar = s.m_fullScreenShowOutput = 1;
    s.m_fullScreenShowStatus = s.m_fullScreenShowWorkspace = 1;
    s.m_textBlocks[4] = {"mein Block", "a < b && c > d\r\n\tx\\ty"};
    s.m_autoIndent = 0;
    s.m_tabWidth = 8;
    s.m_columnGuidePos = 100;
    s.m_windowBackground = RGB(1, 2, 3);
    s.m_highlight[HL_STRING] = {RGB(9, 8, 7), RGB(6, 5, 4), STYLE_BOLD | STYLE_ITALIC};
    s.m_editorFont.SetPointSize(14, 96);
    s.m_tools = {{"Javadoc", "$file", "/usr/bin/javadoc", 0, 2}, {"Leer", "", "", 1, 0}};
    s.m_startFiles = {"/a/Main.java", "/b/Other.java"};
    CSettings back = LoadedFrom(SavedText(s));
    EXPECT_EQ(back, s);
}

TEST(SettingsFile, ElementsFollowTheSaveOrder)
{
    std::string text = SavedText(CSettings());
    auto pos = [&](const std::string& tag) { return text.find("<" + tag + ">\r\n"); };
    std::vector<std::string> order = {"JDK",       "COMPILER",   "INTERPRETER", "EXTRAS", "GUI",
                                      "STARTUP",   "FULLSCREEN", "TEMPLATES",   "T1",     "T2",
                                      "T10",       "T12",        "OUTBAR",      "EDITOR", "COLOR",
                                      "WND",       "SELECTION",  "MARGIN",      "HIGHLIGHT",
                                      "KEYWORD",   "BRACEMATCH", "TOOLS",       "STARTFILES"};
    for (size_t i = 1; i < order.size(); ++i)
        EXPECT_LT(pos(order[i - 1]), pos(order[i])) << order[i - 1] << " before " << order[i];
}

TEST(SettingsFile, TextBlocksAreEscapedOnDiskAndRestoredOnLoad)
{
    CSettings s;
    s.m_textBlocks[0].content = "a<b>\r\nc";
    std::string text = SavedText(s);
    EXPECT_NE(text.find("<CONTENT>a&lt;b&gt;\\r\\nc</CONTENT>"), std::string::npos);
    EXPECT_NE(text.find("<CONTENT>else\\r\\n{\\r\\n}</CONTENT>"), std::string::npos);
    EXPECT_EQ(LoadedFrom(text).m_textBlocks[0].content, "a<b>\r\nc");
}

TEST(SettingsFile, BlockEscapingIsNotReversibleForBackslashNOrEntities)
{
    // Known limits of the stored form: "\n" typed in a block comes back as a
    // line end, "&lt;" as "<"; "&" and backslashes are not escaped.
    EXPECT_EQ(CSettings::UnescapeBlock(CSettings::EscapeBlock("\"a\\nb\"")), "\"a\nb\"");
    EXPECT_EQ(CSettings::UnescapeBlock(CSettings::EscapeBlock("x &lt; y")), "x < y");
    EXPECT_EQ(CSettings::EscapeBlock("\n\r<>&\\"), "\\n\\r&lt;&gt;&\\");
    EXPECT_EQ(CSettings::UnescapeBlock("\\\\n"), "\\\n");
}

TEST(SettingsFile, FontHeightIsHeldInLogicalUnitsOfTheScreen)
{
    CSettings at96 = LoadedFrom("");
    EXPECT_EQ(at96.m_editorFont.lfHeight, -13);
    EXPECT_NE(SavedText(at96, 96).find("<HEIGHT>10</HEIGHT>"), std::string::npos);
    CSettings at120 = LoadedFrom("", 120);
    EXPECT_EQ(at120.m_editorFont.lfHeight, -17);
    EXPECT_NE(SavedText(at120, 120).find("<HEIGHT>10</HEIGHT>"), std::string::npos);
    CSettings big = LoadedFrom("<KIBPARAMS><EDITOR><FONT><HEIGHT>11</HEIGHT></FONT></EDITOR></KIBPARAMS>");
    EXPECT_EQ(big.m_editorFont.lfHeight, -15);
    EXPECT_EQ(big.m_editorFont.PointSize(96), 11);
}

TEST(SettingsFile, FontFieldsAreCutToTheirSizes)
{
    CSettings s = LoadedFrom("<KIBPARAMS><OUTBAR><FONT>"
                             "<FACENAME>A very long face name that never ends at all</FACENAME>"
                             "<CHARSET>257</CHARSET><QUALITY>-1</QUALITY></FONT></OUTBAR></KIBPARAMS>");
    EXPECT_EQ(s.m_outputFont.FaceName(), "A very long face name that neve");
    EXPECT_EQ(s.m_outputFont.FaceName().size(), 31u);
    EXPECT_EQ(s.m_outputFont.lfCharSet, 1);
    EXPECT_EQ(s.m_outputFont.lfQuality, 255);
    EXPECT_EQ(s.m_outputFont.lfOutPrecision, 3) << "missing keys keep their defaults";
}

TEST(SettingsFile, ToolCountWithMissingToolsGivesDefaultRecords)
{
    CSettings s = LoadedFrom("<KIBPARAMS><TOOLS><COUNT>2</COUNT><TOOL0><NAME>Eins</NAME>"
                             "<PATH>/bin/true</PATH><STOP>0</STOP><SAVE>2</SAVE></TOOL0>"
                             "</TOOLS></KIBPARAMS>");
    ASSERT_EQ(s.m_tools.size(), 2u);
    EXPECT_EQ(s.m_tools[0], (CToolEntry{"Eins", "", "/bin/true", 0, 2}));
    EXPECT_EQ(s.m_tools[1], (CToolEntry{"", "", "", 1, 1}));
}

TEST(SettingsFile, CorruptListCountsStayBounded)
{
    CSettings s = LoadedFrom("<KIBPARAMS><TOOLS><COUNT>2000000000</COUNT></TOOLS>"
                             "<STARTFILES><COUNT>-5</COUNT></STARTFILES></KIBPARAMS>");
    EXPECT_LE(s.m_tools.size(), 1024u);
    EXPECT_TRUE(s.m_startFiles.empty());
}

TEST(SettingsFile, CurFileIsWrittenButNeverRead)
{
    CSettings s;
    s.m_startFiles = {"/x/A.java", "/x/B.java"};
    s.m_curStartFile = 1;
    std::string text = SavedText(s);
    EXPECT_NE(text.find("<CURFILE>1</CURFILE>"), std::string::npos);
    CSettings back = LoadedFrom(text);
    EXPECT_EQ(back.m_startFiles, s.m_startFiles);
    EXPECT_EQ(back.m_curStartFile, -1);
}

TEST(SettingsFile, FileNameMaskBecomesTheExplorersExtensions)
{
    CSettings s = LoadedFrom("<KIBPARAMS><GUI><STARTUP><FILENAMEMASK>*.java;*.class</FILENAMEMASK>"
                             "</STARTUP></GUI></KIBPARAMS>");
    EXPECT_EQ(s.m_fileExtensions, (std::vector<std::string>{".java", ".class"}));
    EXPECT_NE(SavedText(s).find("<FILENAMEMASK>.java;.class;</FILENAMEMASK>"), std::string::npos);
    EXPECT_EQ(CExtensionList::Split(";;*.java;;README;dir.d/file;x.tar.gz;"),
              (std::vector<std::string>{".java", "", "", ".gz"}));
    EXPECT_EQ(CExtensionList::Join({}), "");
}

TEST(SettingsFile, BrokenValuesKeepTheirDefaultsAndSpareTheOthers)
{
    CSettings s = LoadedFrom("<KIBPARAMS><EDITOR><TABWIDTH>breit</TABWIDTH><COLUMNGUIDEPOS>72"
                             "</COLUMNGUIDEPOS><COLOR>oops</COLOR></EDITOR><JDK><COMPILER>"
                             "<PATH>/j/javac</PATH></COMPILER></JDK></KIBPARAMS>");
    EXPECT_EQ(s.m_tabWidth, 4);
    EXPECT_EQ(s.m_columnGuidePos, 72);
    EXPECT_EQ(s.m_windowBackground, 16777215u);
    EXPECT_EQ(s.m_compilerPath, "/j/javac");
}

TEST(SettingsFile, UnknownKeysAreNotCarriedOverByASave)
{
    CTempDir dir;
    std::string file = dir.File("kibparam.xml");
    kibtest::WriteFile(file, "<KIBPARAMS>\r\n<FOREIGN>1</FOREIGN>\r\n</KIBPARAMS>\r\n");
    CSettings s;
    s.LoadFile(file, 96);
    ASSERT_TRUE(s.SaveFile(file, 96));
    EXPECT_EQ(kibtest::ReadFile(file), kibtest::ReadFile(kGolden));
}

TEST(SettingsFile, GarbageFileGivesDefaults)
{
    std::string junk;
    for (int i = 0; i < 100000; ++i)
        junk += static_cast<char>((i * 7 + i / 13) & 0xff);
    EXPECT_EQ(LoadedFrom(junk), CSettings());
}

TEST(StartupSettings, ReadTheirOwnDefaults)
{
    CTempDir dir;
    CStartupSettings none = ReadStartupSettings(dir.File("kibparam.xml"));
    EXPECT_EQ(none.showSplash, 1);
    EXPECT_EQ(none.reopenFiles, 0);
    EXPECT_EQ(none.openMaximized, 1);
    kibtest::WriteFile(dir.File("kibparam.xml"),
                       "<KIBPARAMS><GUI><STARTUP><SHOWSPLASH>0</SHOWSPLASH><REOPENFILES>1"
                       "</REOPENFILES><OPENMAXIMIZED>0</OPENMAXIMIZED></STARTUP></GUI></KIBPARAMS>");
    CStartupSettings set = ReadStartupSettings(dir.File("kibparam.xml"));
    EXPECT_EQ(set.showSplash, 0);
    EXPECT_EQ(set.reopenFiles, 1);
    EXPECT_EQ(set.openMaximized, 0);
}

TEST(MulDiv, RoundsHalfAwayFromZero)
{
    EXPECT_EQ(MulDiv(10, 96, 72), 13);
    EXPECT_EQ(MulDiv(-13, 72, 96), -10);
    EXPECT_EQ(MulDiv(3, 1, 2), 2);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(5, 5, 0), -1);
    EXPECT_EQ(MulDiv(2000000000, 2, 1), -1);
}
