#include "settings/ParamFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>

using kibtest::CTempDir;

namespace {

std::string Get(const CParamFile& f, const std::string& key)
{
    std::string v;
    return f.GetString(key, v, "<default>") ? v : "<default>";
}

} // namespace

TEST(ParamFileWriter, KibfilesExampleIsWrittenByteForByte)
{
    CParamFile f;
    f.SetInt("KIBFILES:COUNT", 2);
    f.SetString("KIBFILES:FILE2", "C:\\Java\\World.java");
    f.SetString("KIBFILES:FILE1", "C:\\Java\\Hello.java");
    EXPECT_EQ(f.SaveToText(), "<KIBFILES>\r\n"
                              "<COUNT>2</COUNT>\r\n"
                              "<FILE1>C:\\Java\\Hello.java</FILE1>\r\n"
                              "<FILE2>C:\\Java\\World.java</FILE2>\r\n"
                              "</KIBFILES>\r\n");
}

TEST(ParamFileWriter, LeavesSortByteWiseBeforeChildrenInCreationOrder)
{
    CParamFile f;
    f.SetString("R:Z:LEAF", "z");
    for (int n : {10, 2, 0, 1})
        f.SetInt("R:STARTFILES:FILE" + std::to_string(n), n);
    f.SetInt("R:STARTFILES:CURFILE", -1);
    f.SetInt("R:STARTFILES:COUNT", 4);
    f.SetString("R:A:LEAF", "a");
    f.SetString("R:b", "lower");
    f.SetString("R:B", "upper");
    f.SetString("R:\xe4", "high byte sorts last");
    EXPECT_EQ(f.SaveToText(), "<R>\r\n"
                              "<B>upper</B>\r\n"
                              "<b>lower</b>\r\n"
                              "<\xe4>high byte sorts last</\xe4>\r\n"
                              "<Z>\r\n<LEAF>z</LEAF>\r\n</Z>\r\n"
                              "<STARTFILES>\r\n"
                              "<COUNT>4</COUNT>\r\n<CURFILE>-1</CURFILE>\r\n"
                              "<FILE0>0</FILE0>\r\n<FILE1>1</FILE1>\r\n"
                              "<FILE10>10</FILE10>\r\n<FILE2>2</FILE2>\r\n"
                              "</STARTFILES>\r\n"
                              "<A>\r\n<LEAF>a</LEAF>\r\n</A>\r\n"
                              "</R>\r\n");
}

TEST(ParamFileWriter, ALeafSetTwiceKeepsOneLineWithTheLastValue)
{
    CParamFile f;
    f.SetString("K:E:V", "one");
    f.SetString("K:E:V", "two");
    EXPECT_EQ(f.SaveToText(), "<K>\r\n<E>\r\n<V>two</V>\r\n</E>\r\n</K>\r\n");
}

TEST(ParamFileWriter, LineEndsInValuesBecomeCrLfAndNothingIsEscaped)
{
    CParamFile f;
    f.SetString("K:V", "a\nb & <c> \"d\"");
    EXPECT_EQ(f.SaveToText(), "<K>\r\n<V>a\r\nb & <c> \"d\"</V>\r\n</K>\r\n");
    CParamFile back;
    back.LoadFromText("<K>\n<V>a\nb</V>\n</K>\n");
    EXPECT_EQ(Get(back, "K:V"), "a\nb");
}

TEST(ParamFileWriter, SetStringKeepsZeroBytesAndSetIntWritesDecimal)
{
    CParamFile f;
    f.SetString("K:V", std::string("ab\0cd", 5));
    f.SetInt("K:N", -2147483647 - 1);
    EXPECT_EQ(Get(f, "K:V"), std::string("ab\0cd", 5));
    EXPECT_EQ(Get(f, "K:N"), "-2147483648");
    CParamFile back;
    back.LoadFromText(CParamFile::FromTextMode(f.SaveToText()));
    EXPECT_EQ(Get(back, "K:V"), std::string("ab\0cd", 5));
    EXPECT_TRUE(back.ReadCompletely());
}

TEST(ParamFileWriter, SetterRenamesAForeignRootAndKeepsItsContent)
{
    CParamFile f;
    f.LoadFromText("<OTHER><EDITOR><X>1</X></EDITOR><Y>2</Y></OTHER>");
    int32_t v = 7;
    EXPECT_FALSE(f.GetInt("KIBPARAMS:EDITOR:TABWIDTH", v, 4));
    EXPECT_EQ(v, 4);
    EXPECT_TRUE(f.SetInt("KIBPARAMS:EDITOR:TABWIDTH", 8));
    EXPECT_EQ(f.Tree().Root().m_name, "KIBPARAMS");
    // What was set can be read back, and the old content is still there.
    EXPECT_TRUE(f.GetInt("KIBPARAMS:EDITOR:TABWIDTH", v, 4));
    EXPECT_EQ(v, 8);
    EXPECT_EQ(Get(f, "KIBPARAMS:EDITOR:X"), "1");
    EXPECT_EQ(Get(f, "KIBPARAMS:Y"), "2");
    EXPECT_EQ(f.Tree().Root().m_children.size(), 1u);
}

TEST(ParamFileWriter, NewTreeIsNamedByTheFirstSetterAndUnusableKeysAreRefused)
{
    CParamFile f;
    EXPECT_FALSE(f.SetString("NOCOLON", "x"));
    EXPECT_FALSE(f.SetString("", "x"));
    EXPECT_TRUE(f.SetString("ROOT:LEAF", "x"));
    EXPECT_EQ(f.SaveToText(), "<ROOT>\r\n<LEAF>x</LEAF>\r\n</ROOT>\r\n");
    CParamFile empty;
    EXPECT_EQ(empty.SaveToText(), "<>\r\n</>\r\n");
}

TEST(ParamFileKeys, SplitKeyKeepsEmptySegmentsButNoTrailingOne)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(CParamFile::SplitKey("A:B:C"), (V{"A", "B", "C"}));
    EXPECT_EQ(CParamFile::SplitKey("A::C"), (V{"A", "", "C"}));
    EXPECT_EQ(CParamFile::SplitKey(":A"), (V{"", "A"}));
    EXPECT_EQ(CParamFile::SplitKey("A:"), (V{"A"}));
    EXPECT_EQ(CParamFile::SplitKey("A"), (V{"A"}));
    EXPECT_EQ(CParamFile::SplitKey(""), V{});
}

TEST(ParamFileKeys, EmptySegmentsNameElementsWithEmptyNames)
{
    CParamFile f;
    f.SetString("R::V", "x");
    EXPECT_EQ(Get(f, "R::V"), "x");
    EXPECT_EQ(Get(f, "R:V"), "<default>");
    EXPECT_EQ(f.SaveToText(), "<R>\r\n<>\r\n<V>x</V>\r\n</>\r\n</R>\r\n");
}

TEST(ParamFileKeys, SegmentsCompareExactlyAndElementsAreNotLeaves)
{
    CParamFile f;
    f.LoadFromText("<K><E><V>1</V></E></K>");
    EXPECT_EQ(Get(f, "K:E:V"), "1");
    EXPECT_EQ(Get(f, "k:E:V"), "<default>");
    EXPECT_EQ(Get(f, "K:E:V "), "<default>");
    EXPECT_EQ(Get(f, "K:E"), "<default>");
    EXPECT_EQ(Get(f, "K:X:V"), "<default>");
    EXPECT_EQ(Get(f, "K"), "<default>");
}

TEST(ParamFileGetInt, ReadsLikeAStream)
{
    CParamFile f;
    f.LoadFromText("<K><A> 4 </A><B>12abc</B><C>-7</C><D>+3</D><E>abc</E><F></F>"
                            "<G>\t\n 9</G><H>99999999999</H><I>-99999999999</I><J>-</J>"
                            "<L>0x1F</L></K>");
    int32_t v = 0;
    EXPECT_TRUE(f.GetInt("K:A", v, 0));
    EXPECT_EQ(v, 4);
    EXPECT_EQ(Get(f, "K:A"), " 4 ");
    f.GetInt("K:B", v, 0);
    EXPECT_EQ(v, 12);
    f.GetInt("K:C", v, 0);
    EXPECT_EQ(v, -7);
    f.GetInt("K:D", v, 0);
    EXPECT_EQ(v, 3);
    f.GetInt("K:G", v, 0);
    EXPECT_EQ(v, 9);
    f.GetInt("K:H", v, 0);
    EXPECT_EQ(v, 2147483647);
    f.GetInt("K:I", v, 0);
    EXPECT_EQ(v, -2147483647 - 1);
    f.GetInt("K:L", v, 0);
    EXPECT_EQ(v, 0);
    // Not a number: found, and the output keeps what it held.
    for (const char* key : {"K:E", "K:F", "K:J"}) {
        v = 55;
        EXPECT_TRUE(f.GetInt(key, v, 1)) << key;
        EXPECT_EQ(v, 55) << key;
    }
    // Absent: the default, or untouched without one.
    v = 55;
    EXPECT_FALSE(f.GetInt("K:ZZ", v, 1));
    EXPECT_EQ(v, 1);
    v = 55;
    EXPECT_FALSE(f.GetInt("K:ZZ", v));
    EXPECT_EQ(v, 55);
}

TEST(ParamFileReader, RoundTripsEverythingThatWasSet)
{
    CTempDir dir;
    CParamFile out;
    out.SetString("KIBPARAMS:JDK:COMPILER:PATH", "/usr/lib/jvm/bin/javac");
    out.SetString("KIBPARAMS:JDK:EXTRAS:CLASSPATH", " .:/lib/a b.jar ");
    out.SetString("KIBPARAMS:EMPTY", "");
    out.SetString("KIBPARAMS:MULTI", "one\ntwo\n");
    out.SetString("KIBPARAMS:HIGH", "\xe4\xf6\xfc\xdf\x80");
    out.SetInt("KIBPARAMS:EDITOR:TABWIDTH", 4);
    ASSERT_TRUE(out.Save(dir.File("p.xml")));
    CParamFile in;
    ASSERT_TRUE(in.Load(dir.File("p.xml")));
    EXPECT_EQ(Get(in, "KIBPARAMS:JDK:COMPILER:PATH"), "/usr/lib/jvm/bin/javac");
    EXPECT_EQ(Get(in, "KIBPARAMS:JDK:EXTRAS:CLASSPATH"), " .:/lib/a b.jar ");
    EXPECT_EQ(Get(in, "KIBPARAMS:EMPTY"), "");
    EXPECT_EQ(Get(in, "KIBPARAMS:MULTI"), "one\ntwo\n");
    EXPECT_EQ(Get(in, "KIBPARAMS:HIGH"), "\xe4\xf6\xfc\xdf\x80");
    EXPECT_EQ(in.SaveToText(), out.SaveToText());
    EXPECT_EQ(kibtest::ReadFile(dir.File("p.xml")), out.SaveToText());
}

TEST(ParamFileReader, IgnoresTextBetweenElementsAndOutsideTheRoot)
{
    CParamFile f;
    f.LoadFromText("junk before\n<K>\n   <E>\n\t\t<V>1</V>  trailing\n</E>\nnoise</K>after");
    EXPECT_EQ(Get(f, "K:E:V"), "1");
}

TEST(ParamFileReader, DeclarationOrCommentFirstLoadsAsEmpty)
{
    CParamFile f;
    f.LoadFromText("<?xml version=\"1.0\"?>\n<K><V>1</V></K>\n");
    EXPECT_EQ(Get(f, "K:V"), "<default>");
    EXPECT_EQ(f.Tree().Root().m_name, "");
    CParamFile g;
    g.LoadFromText("<!-- comment --><K><V>1</V></K>");
    EXPECT_EQ(Get(g, "K:V"), "<default>");
}

TEST(ParamFileReader, UnclosedTagEndsOnlyItsOwnLevel)
{
    CParamFile f;
    f.LoadFromText("<K><A>1</A><E><B>2</B><OPEN><C>3</C></E><D>4</D></K>");
    EXPECT_EQ(Get(f, "K:A"), "1");
    EXPECT_EQ(Get(f, "K:E:B"), "2");
    EXPECT_EQ(Get(f, "K:E:C"), "<default>");
    EXPECT_EQ(Get(f, "K:D"), "4") << "the outer level goes on after the element";
}

TEST(ParamFileReader, TwoTopLevelContainersMergeIntoOneRootNamedLast)
{
    CParamFile f;
    f.LoadFromText("<A><X>1</X><C1><Y>2</Y></C1></A>\n<B><Z>3</Z><C2><W>4</W></C2></B>");
    EXPECT_EQ(f.Tree().Root().m_name, "B");
    EXPECT_EQ(Get(f, "B:X"), "1");
    EXPECT_EQ(Get(f, "B:Z"), "3");
    EXPECT_EQ(Get(f, "B:C1:Y"), "2");
    EXPECT_EQ(Get(f, "B:C2:W"), "4");
}

TEST(ParamFileReader, LaterLeafOfTheSameNameWins)
{
    CParamFile f;
    f.LoadFromText("<K><V>1</V><V>2</V></K>");
    EXPECT_EQ(Get(f, "K:V"), "2");
}

TEST(ParamFileReader, AttributesAreKeptButNeverWritten)
{
    CParamFile f;
    f.LoadFromText("<K a=\"1\"><V b=\"2\">x</V><E c><W>y</W></E><F ><U>z</U></F></K>");
    EXPECT_EQ(f.Tree().Root().m_attributes, "a=\"1\"");
    EXPECT_EQ(f.Tree().Root().m_leaves.at("V").attributes, "b=\"2\"");
    EXPECT_EQ(f.Tree().Root().m_leaves.at("V").value, "x");
    EXPECT_EQ(f.Tree().Root().m_children[0]->m_attributes, "c");
    EXPECT_EQ(f.Tree().Root().m_children[1]->m_attributes, "") << "a single blank is no attribute";
    EXPECT_EQ(Get(f, "K:E:W"), "y");
    EXPECT_EQ(f.SaveToText().find('='), std::string::npos);
}

TEST(ParamFileReader, SelfClosingTagsAreEmptyLeavesAndHarmless)
{
    CParamFile f;
    f.LoadFromText("<K><A/><B x=\"1\"/><C>3</C><E><F /><G>7</G></E></K>");
    EXPECT_EQ(Get(f, "K:A"), "");
    EXPECT_EQ(Get(f, "K:B"), "");
    EXPECT_EQ(Get(f, "K:C"), "3");
    EXPECT_EQ(Get(f, "K:E:F"), "");
    EXPECT_EQ(Get(f, "K:E:G"), "7");
}

TEST(ParamFileReader, TopLevelLeavesAndNamelessElementsAreIgnoredSafely)
{
    CParamFile f;
    f.LoadFromText("<TOP>1</TOP><><X><Y>1</Y></X></><K><V>2</V><><W>3</W></></K><><Q>4</Q></>");
    EXPECT_EQ(f.Tree().Root().m_name, "K");
    EXPECT_EQ(Get(f, "K:V"), "2");
    EXPECT_EQ(Get(f, "K:W"), "<default>");
    EXPECT_EQ(Get(f, "K:X:Y"), "<default>");
    // A leaf with an empty name is not reported.
    CParamFile g;
    g.LoadFromText("<K><>v</><V>1</V></K>");
    EXPECT_EQ(g.Tree().Root().m_leaves.size(), 1u);
}

TEST(ParamFileReader, ValuesWithAngleBracketsFollowTheFormatsOwnRules)
{
    CParamFile f;
    f.SetString("K:A", "x > y");
    f.SetString("K:B", "if (a < b)");
    f.SetString("K:C", "after");
    CParamFile back;
    back.LoadFromText(f.SaveToText());
    EXPECT_EQ(Get(back, "K:A"), "x > y") << "a lone > is harmless";
    // A "<" makes the reader take the leaf for a container; neighbours survive.
    EXPECT_EQ(Get(back, "K:B"), "<default>");
    EXPECT_EQ(Get(back, "K:C"), "after");
}

TEST(ParamFileReader, CrLfIsReadAsLfButALoneCrStays)
{
    CTempDir dir;
    kibtest::WriteFile(dir.File("f.xml"), "<K>\r\n<V>a\r\nb\rc</V>\r\n</K>\r\n");
    CParamFile f;
    ASSERT_TRUE(f.Load(dir.File("f.xml")));
    EXPECT_EQ(Get(f, "K:V"), "a\nb\rc");
}

TEST(ParamFileReader, MissingFileKeepsTheTreeAndEmptyFileClearsIt)
{
    CTempDir dir;
    CParamFile f;
    f.SetString("K:V", "1");
    EXPECT_FALSE(f.Load(dir.File("missing.xml")));
    EXPECT_EQ(Get(f, "K:V"), "1");
    kibtest::WriteFile(dir.File("empty.xml"), "");
    EXPECT_TRUE(f.Load(dir.File("empty.xml")));
    EXPECT_EQ(Get(f, "K:V"), "<default>");
    EXPECT_FALSE(f.Load(dir.Path())) << "a folder is not a settings file";
}

TEST(ParamFileReader, NulBytesAndGarbageNeverCrash)
{
    using namespace std::string_literals;
    std::string text = "<K><V>a\0b</V><W>\0\0</W></K>\0<\0>\0</\0>"s;
    CParamFile f;
    f.LoadFromText(text);
    EXPECT_EQ(Get(f, "K:V"), std::string("a\0b", 3));
    std::string garbage;
    uint32_t x = 12345;
    for (int i = 0; i < 1 << 20; ++i) {
        x = x * 1103515245 + 12345;
        garbage += "<</>> \0/"[(x >> 16) % 8];
        garbage += static_cast<char>(x >> 24);
    }
    CParamFile g;
    g.LoadFromText(garbage);
    g.SaveToText();
}

TEST(ParamFileReader, DeepNestingNeitherOverflowsTheStackNorTakesLong)
{
    const int kDepth = 100000;
    std::string text;
    for (int i = 0; i < kDepth; ++i)
        text += "<E" + std::to_string(i) + ">";
    text += "<LEAF>deep</LEAF>";
    for (int i = kDepth - 1; i >= 0; --i)
        text += "</E" + std::to_string(i) + ">";
    auto start = std::chrono::steady_clock::now();
    CParamFile f;
    f.LoadFromText(text);
    std::string key;
    for (int i = 0; i < kDepth; ++i)
        key += "E" + std::to_string(i) + ":";
    key += "LEAF";
    EXPECT_EQ(Get(f, key), "deep");
    std::string saved = f.SaveToText();
    EXPECT_EQ(saved.size(), text.size() + 2 * (2 * kDepth + 1));
    // Same names at every level: the first closing tag ends the outer element.
    std::string same;
    for (int i = 0; i < kDepth; ++i)
        same += "<A>";
    same += "x";
    for (int i = 0; i < kDepth; ++i)
        same += "</A>";
    CParamFile g;
    g.LoadFromText(same);
    (void)g;
    // A generous bound that only a quadratic reader would miss.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST(ParamFileReader, LargeFileLoadsAndKeepsEveryValue)
{
    CTempDir dir;
    std::string text = "<K>\r\n";
    const int kLeaves = 1000000;
    for (int i = 0; i < kLeaves; ++i)
        text += "<V" + std::to_string(i) + ">value number " + std::to_string(i) + " padding padding</V" +
                std::to_string(i) + ">\r\n";
    text += "</K>\r\n";
    ASSERT_GT(text.size(), 50u * 1000 * 1000);
    kibtest::WriteFile(dir.File("big.xml"), text);
    CParamFile f;
    ASSERT_TRUE(f.Load(dir.File("big.xml")));
    EXPECT_EQ(Get(f, "K:V0"), "value number 0 padding padding");
    EXPECT_EQ(Get(f, "K:V999999"), "value number 999999 padding padding");
    EXPECT_EQ(f.Tree().Root().m_leaves.size(), static_cast<size_t>(kLeaves));
}

TEST(ParamFileReader, KnowsWhetherItUnderstoodTheWholeText)
{
    CParamFile written;
    written.SetString("K:E:V", "1");
    written.SetString("K:W", " two ");
    const std::string complete[] = {written.SaveToText(), "", " \n\n", "<>\n</>\n",
                                    "<K>\n  <V>1</V>\n\t<A/>\n</K>\n", "<K a=\"1\"><V>x</V></K>"};
    for (const std::string& text : complete) {
        CParamFile f;
        f.LoadFromText(CParamFile::FromTextMode(text));
        EXPECT_TRUE(f.ReadCompletely()) << text;
    }
    const std::string incomplete[] = {
        "junk<K><V>1</V></K>",           "<K><V>1</V></K>after",     "<K><V>1</V>noise</K>",
        "<?xml version=\"1.0\"?><K></K>", "<!-- c --><K><V>1</V></K>", "<TOP>1</TOP>",
        "<K><V>1</V>",                   "<K><V>1</V></K><",         "<K><>lost</></K>",
        "<A><X>1</X></A><B><Y>2</Y></B>", "<K><><V>1</V></></K>",     "<K><V>1</V></K></K>",
    };
    for (const std::string& text : incomplete) {
        CParamFile f;
        f.LoadFromText(text);
        EXPECT_FALSE(f.ReadCompletely()) << text;
    }
    CParamFile f;
    f.LoadFromText("<K><V>1</V></K>");
    EXPECT_TRUE(f.IsSettingsFileOf("K"));
    EXPECT_FALSE(f.IsSettingsFileOf("KIBPARAMS"));
    f.LoadFromText("");
    EXPECT_TRUE(f.IsSettingsFileOf("KIBPARAMS"));
}

TEST(ParamFileReader, AFileCutOffKeepsEverythingBeforeTheCut)
{
    CParamFile whole;
    whole.SetString("KIBPARAMS:JDK:COMPILER:DEBUGINFO", "1");
    whole.SetString("KIBPARAMS:JDK:COMPILER:PATH", "/opt/jdk/bin/javac");
    whole.SetString("KIBPARAMS:JDK:INTERPRETER:PATH", "/opt/jdk/bin/java");
    whole.SetString("KIBPARAMS:EDITOR:TABWIDTH", "8");
    const std::string text = CParamFile::FromTextMode(whole.SaveToText());
    const size_t interpreter = text.find("/opt/jdk/bin/java<");
    ASSERT_NE(interpreter, std::string::npos);

    // Cut inside the interpreter's value: that value may be short, so it is
    // dropped; what was closed before stays.
    CParamFile f;
    f.LoadFromText(text.substr(0, interpreter + 8));
    EXPECT_FALSE(f.ReadCompletely());
    EXPECT_EQ(Get(f, "KIBPARAMS:JDK:COMPILER:PATH"), "/opt/jdk/bin/javac");
    EXPECT_EQ(Get(f, "KIBPARAMS:JDK:COMPILER:DEBUGINFO"), "1");
    EXPECT_EQ(Get(f, "KIBPARAMS:JDK:INTERPRETER:PATH"), "<default>");
    EXPECT_EQ(Get(f, "KIBPARAMS:EDITOR:TABWIDTH"), "<default>");

    // Cut at every byte: never a value that differs from the whole file's.
    for (size_t cut = 0; cut < text.size(); ++cut) {
        CParamFile part;
        part.LoadFromText(text.substr(0, cut));
        for (const char* key : {"KIBPARAMS:JDK:COMPILER:DEBUGINFO", "KIBPARAMS:JDK:COMPILER:PATH",
                                "KIBPARAMS:JDK:INTERPRETER:PATH", "KIBPARAMS:EDITOR:TABWIDTH"}) {
            std::string v = Get(part, key);
            if (v != "<default>") {
                EXPECT_EQ(v, Get(whole, key)) << "cut at " << cut << ", " << key;
            }
        }
    }
    // Cut only after the last closing tag but before its line end: whole.
    CParamFile nearly;
    nearly.LoadFromText(text.substr(0, text.size() - 1));
    EXPECT_EQ(Get(nearly, "KIBPARAMS:EDITOR:TABWIDTH"), "8");
}
