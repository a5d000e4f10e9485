#include "editor/LineStateCache.h"

#include "editor/TextBuffer.h"
#include "unit/editor/EditorTestUtil.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Keeps a cache in step with a buffer, as a view does.
class CCachingView : public CTextBufferListener {
public:
    CCachingView(CTextBuffer& b) : buffer(b) { b.RegisterView(this); cache.Reset(b.LineCount()); }
    ~CCachingView() override { buffer.UnregisterView(this); }
    void OnBufferChange(CTextBufferListener*, const TextChange* change, uint32_t flags, int line) override
    {
        cache.OnBufferChange(flags, line, change, buffer.LineCount());
    }
    CTextBuffer& buffer;
    CLineStateCache cache;
};

std::vector<LineState> FullStates(const CTextBuffer& b)
{
    std::vector<LineState> v;
    LineState s = 0;
    for (int i = 0; i < b.LineCount(); ++i) {
        s = CJavaColoring::ClassifyLine(s, b.LineChars(i), b.LineLength(i));
        v.push_back(s);
    }
    return v;
}

} // namespace

TEST(LineStateCache, WalksBackToTheNearestKnownLine)
{
    CTextBuffer b;
    edtest::Load(b, "int a;\n/* open\nstill\n*/ x\n\"str\nend\";\n");
    CCachingView v(b);
    EXPECT_EQ(v.cache.StateBefore(b, 0), 0u);
    EXPECT_EQ(v.cache.StateBefore(b, 2), ST_BLOCKCOMMENT);
    EXPECT_EQ(v.cache.LinesClassified(), 2);
    EXPECT_EQ(v.cache.StateBefore(b, 1), 0u); // known, nothing classified
    EXPECT_EQ(v.cache.LinesClassified(), 2);
    EXPECT_EQ(v.cache.StateBefore(b, 5), ST_STRING);
    EXPECT_EQ(v.cache.LinesClassified(), 5);
    EXPECT_EQ(v.cache.StateAfter(b, 5), 0u);
    // Painting stores the next line's state.
    v.cache.Store(6, 0);
    EXPECT_EQ(v.cache.KnownCount(), 7);
    // Past the end: the state after the last line.
    EXPECT_EQ(v.cache.StateBefore(b, 100), 0u);
}

TEST(LineStateCache, EditsInvalidateFromTheChangedLineAndResync)
{
    CTextBuffer b;
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "int x" + std::to_string(i) + " = 1;\n";
    edtest::Load(b, text);
    CCachingView v(b);
    EXPECT_EQ(v.cache.StateBefore(b, 2000), 0u);
    const long long first = v.cache.LinesClassified();
    EXPECT_EQ(first, 2000);
    int el, ec;
    // An edit that does not change the state after its line: the lines after
    // it are known again as soon as the edited line is classified.
    ASSERT_TRUE(b.InsertTextAt(nullptr, 10, 0, "x", el, ec, ACT_TYPING));
    EXPECT_EQ(v.cache.KnownCount(), 10);
    EXPECT_EQ(v.cache.StateBefore(b, 1999), 0u);
    EXPECT_LE(v.cache.LinesClassified() - first, 2);
    // Opening a comment changes everything after it.
    ASSERT_TRUE(b.InsertTextAt(nullptr, 10, 0, "/*", el, ec, ACT_TYPING));
    EXPECT_EQ(v.cache.StateBefore(b, 1999), ST_BLOCKCOMMENT);
    // Flag changes leave the states alone; a reload forgets them all.
    const int known = v.cache.KnownCount();
    EXPECT_EQ(known, 1999);
    b.ChangeLineFlag(3, LINE_MARK, true, false);
    EXPECT_EQ(v.cache.KnownCount(), known);
    edtest::Load(b, "a\nb");
    EXPECT_EQ(v.cache.KnownCount(), 0);
}

TEST(LineStateCache, RandomEditsAgreeWithAFullClassification)
{
    std::mt19937 rng(77);
    const char* pieces[] = {"/*", "*/", "\"", "'", "//", "\\", "\r\n", "x", " ", "#", "/**", "\r\n\r\n"};
    for (int round = 0; round < 20; ++round) {
        CTextBuffer b;
        std::string text;
        for (int i = 0; i < 60; ++i)
            text += std::string(pieces[rng() % 12]) + "a" + pieces[rng() % 12] + "\r\n";
        edtest::Load(b, text);
        CCachingView v(b);
        for (int step = 0; step < 200; ++step) {
            const int line = static_cast<int>(rng() % static_cast<unsigned>(b.LineCount()));
            const int pos = static_cast<int>(rng() % static_cast<unsigned>(b.LineLength(line) + 1));
            int el, ec;
            if (rng() % 2) {
                ASSERT_TRUE(b.RawInsert(nullptr, line, pos, pieces[rng() % 12], el, ec));
            } else {
                const int l2 = std::min(b.LineCount() - 1, line + static_cast<int>(rng() % 4));
                const int p2 = l2 == line ? b.LineLength(line) : static_cast<int>(rng() % static_cast<unsigned>(b.LineLength(l2) + 1));
                ASSERT_TRUE(b.RawDelete(nullptr, line, pos, l2, p2));
            }
            // Look at a few lines, sometimes painting one (which stores its state).
            const std::vector<LineState> want = FullStates(b);
            for (int k = 0; k < 3; ++k) {
                const int q = static_cast<int>(rng() % static_cast<unsigned>(b.LineCount() + 1));
                ASSERT_EQ(v.cache.StateBefore(b, q), q == 0 ? 0u : want[static_cast<size_t>(q - 1)])
                    << "round " << round << " step " << step << " line " << q;
                if (q < b.LineCount() && rng() % 2)
                    v.cache.Store(q, want[static_cast<size_t>(q)]);
            }
        }
    }
}

TEST(LineStateCache, OneBytePerLine)
{
    CLineStateCache cache;
    cache.Reset(1000);
    EXPECT_EQ(cache.BytesPerLine(), 1u);
    // The base view classifies nothing: every state is 0.
    CLineStateCache plain([](LineState, const char*, int) { return LineState(0); });
    CTextBuffer b;
    edtest::Load(b, "/*\n\n");
    plain.Reset(b.LineCount());
    EXPECT_EQ(plain.StateBefore(b, 2), 0u);
}
