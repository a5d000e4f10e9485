// A real JDK source in the edit view with the IDE's default settings, white
// space marks, the column guide, a selection and a brace match; and bad
// input (binary bytes, NUL bytes, a 20 MB line). With KIB_SCREENSHOT_DIR set
// each scene is also saved as a PNG of the screen (scripts/screenshot-editor.sh).
#include "support/CommandOutput.h"
#include "EditorTestUtil.h"

#include "settings/Settings.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace edtest;

namespace {

class ScreenshotTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        frame->SetSize(wxSize(1000, 720));
        frame->Layout();
        CSettings settings;
        settings.m_showTabsAndSpaces = 1;
        view->ApplySettings(settings);
        Pump(50);
    }
    void Shot(const char* name)
    {
        view->Refresh();
        view->Update();
        Pump(200);
        const char* dir = std::getenv("KIB_SCREENSHOT_DIR");
        if (!dir || !*dir)
            return;
        std::string cmd = std::string("import -window root '") + dir + "/" + name + ".png'";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
};

TEST_F(ScreenshotTest, JdkSourceWithSelectionGuideMarksAndBraceMatch)
{
    std::string text = kibtest::JdkSourceFile("java.base/java/util/ArrayDeque.java");
    ASSERT_GT(text.size(), 10000u) << "src.zip not readable";
    SetText(text);
    ASSERT_EQ(buffer->LineEndStyle(), EOL_LF);
    // Find a method with a body to scroll to, and a brace to stand after.
    int line = -1;
    for (int i = 0; i < buffer->LineCount(); ++i)
        if (Line(i).find("public void addFirst(E e) {") != std::string::npos) {
            line = i;
            break;
        }
    ASSERT_GE(line, 0);
    view->ScrollToTopLine(line - 12);
    // A selection of three lines above the method.
    view->SetAnchorPos(TextPos(4, line - 4));
    view->SetSelectionRange(TextPos(4, line - 4), TextPos(12, line - 2));
    view->MoveCaretTo(TextPos(12, line - 2));
    Focus();
    // Then the caret right after the method's opening brace: the closing
    // brace a few lines below is highlighted.
    int brace = static_cast<int>(Line(line).find('{'));
    view->PutCaret(TextPos(brace + 1, line));
    TextPos match = view->GetBraceMatchPos();
    ASSERT_TRUE(match.IsValid());
    EXPECT_GT(match.y, line);
    EXPECT_EQ(buffer->LineChars(match.y)[match.x], '}');
    // Keep the selection visible next to the match: select again, keeping
    // the caret away from any brace would drop the highlight, so the
    // selection is set without moving the caret.
    view->SetSelectionRange(TextPos(4, line - 4), TextPos(12, line - 2));
    ASSERT_TRUE(view->GetBraceMatchPos().IsValid());
    Shot("editor-jdk-source");
    EXPECT_GT(view->PaintCount(), 0);
}

TEST_F(ScreenshotTest, BinaryBytesNulAndControlCharactersKeepOneCellEach)
{
    std::string bin;
    for (int i = 0; i < 256; ++i)
        bin.push_back(static_cast<char>(i));
    const std::string nulCode("int a\0b = 1;", 12);
    const std::string nuls(3, '\0');
    std::string text = "// bytes 0-255 follow, then NUL bytes inside code\r\n" + bin + "\r\n" + nulCode +
                       "\r\n" + nuls + "\r\nend";
    SetText(text);
    // Every byte is one cell (tabs apart), whatever glyph stands for it.
    EXPECT_GE(view->DisplayLength(1), 256);
    EXPECT_EQ(view->DisplayLength(3), 3);
    view->PutCaret(TextPos(5, 2));
    Key(WXK_RIGHT);
    EXPECT_EQ(view->GetCaretPos(), TextPos(6, 2));
    Type("x");
    EXPECT_EQ(buffer->LineLength(2), 13);
    EXPECT_EQ(Line(2), std::string("int a\0xb = 1;", 13));
    Shot("editor-binary");
}

TEST_F(ScreenshotTest, TwentyMegabyteLinePaintsOnlyWhatIsVisible)
{
    std::string line;
    line.reserve(20u << 20);
    while (line.size() < (20u << 20))
        line += "int value = compute(a, b) + 42; /* c */ ";
    SetText("class Big {\r\n" + line + "\r\n}");
    view->PutCaret(TextPos(0, 1));
    view->Refresh();
    view->Update();
    Pump(50);
    EXPECT_EQ(view->DisplayLength(1), static_cast<int>(line.size()));
    // End of the line scrolls far right; typing there repaints only there.
    Key(WXK_END);
    EXPECT_EQ(view->GetCaretPos(), TextPos(static_cast<int>(line.size()), 1));
    EXPECT_GT(view->GetFirstColumn(), static_cast<int>(line.size()) - 200);
    Type("x;");
    EXPECT_EQ(buffer->LineLength(1), static_cast<int>(line.size()) + 2);
    view->Update();
    Key(WXK_HOME);
    EXPECT_EQ(view->GetFirstColumn(), 0);
    Shot("editor-20mb-line");
    // The view's caches stay small: the painting runs are released.
    EXPECT_LT(view->CacheMemory(), 4096u);
}

} // namespace
