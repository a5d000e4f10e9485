// Non-ASCII sources through the real JDKs, with Kib's environment in a
// German UTF-8 and in the C locale: compiling, the program's output in its
// pane, and the jump to a message that stands behind non-ASCII text.
#include "ToolchainTestSupport.h"

#include "toolchain/ToolchainTexts.h"

#include <cstdlib>

using namespace tctest;

namespace {

struct Case {
    const char* jdk;
    const char* locale;
};

const Case kCases[] = {{kJdks[0], "de_DE.UTF-8"}, {kJdks[0], "C"}, {kJdks[1], "de_DE.UTF-8"}, {kJdks[1], "C"}};

class EncodingCompileTest : public ToolchainTest, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override
    {
        ToolchainTest::SetUp();
        jdk = GetParam().jdk;
        if (!Exists(jdk + "/bin/javac"))
            GTEST_SKIP() << "no JDK at " << jdk;
        const char* old = std::getenv("LC_ALL");
        savedAll = old ? std::optional<std::string>(old) : std::nullopt;
        setenv("LC_ALL", GetParam().locale, 1);
        ASSERT_TRUE(StartWith(jdk + "/bin/javac", jdk + "/bin/java"));
    }
    void TearDown() override
    {
        if (savedAll)
            setenv("LC_ALL", savedAll->c_str(), 1);
        else
            unsetenv("LC_ALL");
        ToolchainTest::TearDown();
    }

    std::string jdk;
    std::optional<std::string> savedAll;
};

const char kUtf8Source[] = "// Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln: \xE2\x82\xAC \xE4\xB8\xAD\n"
                           "public class Gruss {\n"
                           "    public static void main(String[] args) {\n"
                           "        String s = \"\xE4\xB8\xAD\xC3\x9F\";\n"
                           "        System.out.println(\"Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\");\n"
                           "    }\n"
                           "}\n";

} // namespace

INSTANTIATE_TEST_SUITE_P(JdksAndLocales, EncodingCompileTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                             return JdkName(info.param.jdk) + (info.param.locale[0] == 'C' ? "_C" : "_de");
                         });

TEST_P(EncodingCompileTest, Utf8FileCompilesAndRunsAndThePaneShowsTheUmlauts)
{
    std::string src = dir + "src/Gruss.java";
    std::filesystem::create_directories(dir + "src");
    kibtest::WriteFile(src, kUtf8Source);
    CKibView* view = OpenView(src);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument()->Buffer().Encoding(), TextEncoding::Utf8);
    ASSERT_TRUE(CompileAndWait(view));
    EXPECT_EQ(CompilerPane()->GetText(), "Compile " + src + "....\r\n\r\nCompilierung beendet");
    EXPECT_TRUE(Exists(dir + "src/Gruss.class"));
    Command(kib::ID_JAVA_RUN);
    ASSERT_TRUE(WaitIdle(view));
    EXPECT_EQ(ProgramPane()->GetLineText(0), "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC") << ProgramPane()->GetText();
}

TEST_P(EncodingCompileTest, WindowsFileCompilesWithItsEncodingNamedInTheHeading)
{
    std::string src = dir + "src/Win.java";
    std::filesystem::create_directories(dir + "src");
    kibtest::WriteFile(src, "// Gr\xFC\xDF" "e aus K\xF6ln\npublic class Win { String s = \"\xE4\xF6\xFC\"; }\n");
    CKibView* view = OpenView(src);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument()->Buffer().Encoding(), TextEncoding::Cp1252);
    ASSERT_TRUE(CompileAndWait(view));
    EXPECT_EQ(CompilerPane()->GetText(),
              "Compile " + src + " -encoding windows-1252....\r\n\r\nCompilierung beendet");
    EXPECT_TRUE(Exists(dir + "src/Win.class"));
}

TEST_P(EncodingCompileTest, AnErrorBehindNonAsciiTextJumpsToItsCharacter)
{
    std::string src = dir + "src/Bad.java";
    std::filesystem::create_directories(dir + "src");
    const std::string line = "    String s = \"\xE4\xB8\xAD\xC3\x9F\"; int x = \"Gr\xC3\xBC\xC3\x9F" "e\";";
    kibtest::WriteFile(src, "public class Bad {\n" + line + "\n}\n");
    CKibView* view = OpenView(src);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(CompileAndWait(view));
    COutputPane* pane = CompilerPane();
    const int caretLine = CaretLine(pane);
    ASSERT_GT(caretLine, 0) << pane->GetText();
    // The excerpt is shown as javac wrote it, in UTF-8.
    EXPECT_EQ(pane->GetLineText(caretLine - 1), line) << pane->GetText();
    view->GoToPosition(1, 0);
    DoubleClick(pane, caretLine);
    EXPECT_EQ(view->GetCaretPos().y, 1);
    EXPECT_EQ(view->GetCaretPos().x, static_cast<int>(line.find("\"Gr"))) << pane->GetText();
}

TEST_P(EncodingCompileTest, AnUmlautTypedIntoANewFileCompiles)
{
    Command(kib::ID_FILE_NEW);
    PumpEvents(20);
    CKibView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument()->Buffer().Encoding(), TextEncoding::Utf8);
    std::string src = dir + "src/Neu.java";
    std::filesystem::create_directories(dir + "src");
    // A new (empty) file takes the locale's encoding: UTF-8 in both.
    kibtest::WriteFile(src, "");
    CKibView* file = OpenView(src);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->GetDocument()->Buffer().Encoding(), TextEncoding::Utf8);
    // Typed as the keyboard sends it: characters, Enter as a carriage return.
    for (wxUniChar c : wxString::FromUTF8("// ä\rclass Neu {}\r")) {
        wxKeyEvent ch(wxEVT_CHAR);
        ch.SetEventObject(file);
        ch.m_uniChar = static_cast<wxChar>(c.GetValue());
        ch.m_keyCode = c.GetValue() < 0x80 ? static_cast<int>(c.GetValue()) : WXK_NONE;
        file->GetEventHandler()->ProcessEvent(ch);
    }
    ASSERT_TRUE(file->GetDocument()->OnSaveDocument(src));
    const std::string saved = kibtest::ReadFile(src);
    EXPECT_EQ(saved.substr(0, 6), "// \xC3\xA4\r") << saved;
    EXPECT_NE(saved.find("class Neu {}"), std::string::npos) << saved;
    ASSERT_TRUE(CompileAndWait(file));
    EXPECT_TRUE(Exists(dir + "src/Neu.class")) << CompilerPane()->GetText();
}

TEST_F(ToolchainTest, TheStatusBarNamesTheActiveDocumentsEncoding)
{
    ASSERT_TRUE(Start());
    std::filesystem::create_directories(dir + "src");
    kibtest::WriteFile(dir + "src/U.java", "// Gr\xC3\xBC\xC3\x9F" "e\n");
    kibtest::WriteFile(dir + "src/B.java", "\xEF\xBB\xBF// Gr\xC3\xBC\xC3\x9F" "e\n");
    kibtest::WriteFile(dir + "src/W.java", "// Gr\xFC\xDF" "e\n");
    auto paneOf = [&](const std::string& name) {
        CKibView* view = OpenView(dir + "src/" + name);
        EXPECT_NE(view, nullptr);
        Frame()->ActivateDocument(view->GetDocument());
        Frame()->UpdateStatusPanes();
        return Frame()->StatusText(CMainFrame::PANE_ENCODING).utf8_string();
    };
    EXPECT_EQ(paneOf("U.java"), "UTF-8");
    EXPECT_EQ(paneOf("B.java"), "UTF-8 (BOM)");
    EXPECT_EQ(paneOf("W.java"), "Windows-1252");
    // Back to the first tab.
    EXPECT_EQ(paneOf("U.java"), "UTF-8");
}

TEST_F(ToolchainTest, ASourceWithAByteOrderMarkIsExplainedInTheCompilerPane)
{
    ASSERT_TRUE(Start());
    std::filesystem::create_directories(dir + "src");
    const std::string src = dir + "src/Bom.java";
    kibtest::WriteFile(src, "\xEF\xBB\xBF// Gr\xC3\xBC\xC3\x9F" "e\nclass Bom {}\n");
    CKibView* view = OpenView(src);
    ASSERT_NE(view, nullptr);
    CompileAndWait(view);
    COutputPane* pane = CompilerPane();
    ASSERT_GT(pane->GetLineCount(), 2);
    EXPECT_EQ(pane->GetLineText(1), toolchain::kPaneBomHint) << pane->GetText();
    // javac indeed refuses the mark, and the file is left as it was.
    EXPECT_NE(pane->GetText().find("\\ufeff"), std::string::npos) << pane->GetText();
    EXPECT_EQ(kibtest::ReadFile(src).substr(0, 3), "\xEF\xBB\xBF");
}
