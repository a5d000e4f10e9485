// Writing the chosen paths into kibparam.xml: only the four keys change.
#include "kitprobe/JdkParamWriter.h"
#include "settings/ParamFile.h"
#include "settings/Settings.h"
#include "support/TempDir.h"
#include "unit/kitprobe/KitprobeTestUtil.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using kibtest::ReadFile;

const char* const kNothing = CJdkParamWriter::kNothingFound;

// The file as Kib writes it, with some settings away from their defaults.
std::string WriteKibFile(const std::string& path)
{
    CSettings s;
    s.m_compilerPath = "/old/bin/javac";
    s.m_interpreterPath = "/old/bin/java";
    s.m_appletViewerPath = "/old/bin/appletviewer";
    s.m_docuPath = "/old/docs/index.html";
    s.m_classPath = ".:/lib/a.jar";
    s.m_tabWidth = 3;
    s.m_textBlocks[2].content = "if (a < b) {\r\n\t\xa7\r\n}";
    EXPECT_TRUE(s.SaveFile(path, 96));
    return ReadFile(path);
}

std::string ReplaceLine(std::string text, const std::string& from, const std::string& to)
{
    size_t pos = text.find(from);
    EXPECT_NE(pos, std::string::npos) << from;
    EXPECT_EQ(text.find(from, pos + 1), std::string::npos) << from << " twice";
    if (pos != std::string::npos)
        text.replace(pos, from.size(), to);
    return text;
}

TEST(JdkParamWriterTest, KibFileKeepsEveryOtherByteAndGetsTheFourKeys)
{
    kibtest::CTempDir tmp;
    std::string file = tmp.File("kibparam.xml");
    std::string before = WriteKibFile(file);

    CJdkChoices c{"/jdk/bin/javac", "/jdk/bin/java", "/jdk/bin/appletviewer",
                  "/jdk/bin/javadoc", "/jdk/docs/index.html"};
    ASSERT_EQ(CJdkParamWriter::Update(file, c), CJdkParamWriter::WRITTEN);

    std::string expected = before;
    expected = ReplaceLine(expected, "<PATH>/old/bin/javac</PATH>\r\n",
                           "<PATH>/jdk/bin/javac</PATH>\r\n");
    expected = ReplaceLine(expected, "<PATH>/old/bin/java</PATH>\r\n",
                           "<PATH>/jdk/bin/java</PATH>\r\n");
    expected = ReplaceLine(expected, "<AVPATH>/old/bin/appletviewer</AVPATH>\r\n",
                           "<AVPATH>/jdk/bin/appletviewer</AVPATH>\r\n");
    expected = ReplaceLine(expected, "<DOCUPATH>/old/docs/index.html</DOCUPATH>\r\n",
                           "<DOCUPATH>/jdk/docs/index.html</DOCUPATH>\r\n");
    std::string after = ReadFile(file);
    EXPECT_EQ(after, expected);
    EXPECT_EQ(after.find("javadoc"), std::string::npos); // shown, never stored

    // Kib reads every other setting back as it wrote it.
    CSettings old, now;
    kibtest::WriteFile(tmp.File("before.xml"), before);
    old.LoadFile(tmp.File("before.xml"), 96);
    now.LoadFile(file, 96);
    EXPECT_EQ(now.m_compilerPath, "/jdk/bin/javac");
    now.m_compilerPath = old.m_compilerPath;
    now.m_interpreterPath = old.m_interpreterPath;
    now.m_appletViewerPath = old.m_appletViewerPath;
    now.m_docuPath = old.m_docuPath;
    EXPECT_TRUE(now == old);
}

TEST(JdkParamWriterTest, NothingFoundLeavesTheKeyAsItWas)
{
    kibtest::CTempDir tmp;
    std::string file = tmp.File("kibparam.xml");
    std::string before = WriteKibFile(file);
    ASSERT_EQ(CJdkParamWriter::Update(file, {kNothing, kNothing, kNothing, kNothing, kNothing}),
              CJdkParamWriter::WRITTEN);
    EXPECT_EQ(ReadFile(file), before);

    ASSERT_EQ(CJdkParamWriter::Update(file, {"/new/javac", kNothing, kNothing, "/x", kNothing}),
              CJdkParamWriter::WRITTEN);
    EXPECT_EQ(ReadFile(file), ReplaceLine(before, "<PATH>/old/bin/javac</PATH>",
                                          "<PATH>/new/javac</PATH>"));
}

TEST(JdkParamWriterTest, MissingFileBecomesTheEmptyRootOrHoldsOnlyTheChosenKeys)
{
    kibtest::CTempDir tmp;
    std::string file = tmp.File("kibparam.xml");
    ASSERT_EQ(CJdkParamWriter::Update(file, {kNothing, kNothing, kNothing, kNothing, kNothing}),
              CJdkParamWriter::WRITTEN);
    EXPECT_EQ(ReadFile(file), "<>\r\n</>\r\n");

    std::string other = tmp.File("other.xml");
    ASSERT_EQ(CJdkParamWriter::Update(other, {"/j/javac", kNothing, kNothing, kNothing,
                                              "/j/docs/index.html"}),
              CJdkParamWriter::WRITTEN);
    EXPECT_EQ(ReadFile(other), "<KIBPARAMS>\r\n<JDK>\r\n<COMPILER>\r\n<PATH>/j/javac</PATH>\r\n"
                               "</COMPILER>\r\n<EXTRAS>\r\n<DOCUPATH>/j/docs/index.html</DOCUPATH>"
                               "\r\n</EXTRAS>\r\n</JDK>\r\n</KIBPARAMS>\r\n");
}

TEST(JdkParamWriterTest, TypedAndClearedTextsAreStoredButUnstorableOnesAreNot)
{
    kibtest::CTempDir tmp;
    std::string file = tmp.File("kibparam.xml");
    std::string before = WriteKibFile(file);
    ASSERT_EQ(CJdkParamWriter::Update(file, {"", "Nichts gefunden", "/a<b>/appletviewer",
                                             kNothing, "nichts gefunden "}),
              CJdkParamWriter::WRITTEN);
    CParamFile f;
    f.Load(file);
    std::string v;
    EXPECT_TRUE(f.GetString(CJdkParamWriter::kCompilerKey, v, "?"));
    EXPECT_EQ(v, "");
    f.GetString(CJdkParamWriter::kInterpreterKey, v, "?");
    EXPECT_EQ(v, "Nichts gefunden"); // only the exact text means nothing
    f.GetString(CJdkParamWriter::kAppletViewerKey, v, "?");
    EXPECT_EQ(v, "/old/bin/appletviewer");
    f.GetString(CJdkParamWriter::kDocumentationKey, v, "?");
    EXPECT_EQ(v, "nichts gefunden ");
}

TEST(JdkParamWriterTest, AFileThatCannotBeReadIsNotReplaced)
{
    kibtest::CTempDir tmp;
    // A folder of that name can be neither read nor replaced.
    kptest::MakeDirs(tmp.File("kibparam.xml"));
    EXPECT_EQ(CJdkParamWriter::Update(tmp.File("kibparam.xml"), {"/j", "", "", "", ""}),
              CJdkParamWriter::UNREADABLE);

    // A settings file the user may write but not read: rewriting it from an
    // empty tree would lose every setting.
    std::string file = tmp.File("locked/kibparam.xml");
    kptest::MakeDirs(tmp.File("locked"), 0777);
    std::string before = WriteKibFile(file);
    chmod(file.c_str(), 0222);
    chmod(tmp.Path().c_str(), 0755);
    kptest::ChildResult r = kptest::RunInChild([&] {
        if (!kptest::BecomeNobody())
            kptest::Skip("cannot drop root rights");
        return std::to_string(CJdkParamWriter::Update(file, {"/j", "/j", "/j", "/j", "/j"}));
    });
    if (r.status == kptest::EChild::Skipped)
        GTEST_SKIP() << r.text;
    ASSERT_EQ(r.status, kptest::EChild::Ok) << r.text;
    EXPECT_EQ(r.text, std::to_string(CJdkParamWriter::UNREADABLE));
    chmod(file.c_str(), 0644);
    EXPECT_EQ(ReadFile(file), before);
}

TEST(JdkParamWriterTest, AFailedWriteLeavesTheOldFile)
{
    kibtest::CTempDir tmp;
    std::string file = tmp.File("kibparam.xml");
    std::string before = WriteKibFile(file);
    {
        kibtest::CFileSizeLimit full(100); // as on a full disk
        EXPECT_EQ(CJdkParamWriter::Update(file, {"/j", "/j", "/j", "/j", "/j"}),
                  CJdkParamWriter::WRITE_FAILED);
    }
    EXPECT_EQ(ReadFile(file), before);
}

} // namespace
