// Printing the view into PDF files, by Kib's own writer or through cairo,
// read back with poppler's pdfinfo and pdftotext: pagination, wrapping, line
// numbers, white-space marks, relayout per job, page ranges, non-ASCII text
// and margins; the own writer's pages against cairo's and its file's
// structure, in a TrueType face and in the OpenType-CFF face of the default
// settings' "Courier New".
#include "EditorTestUtil.h"
#include "support/CommandOutput.h"

#include "editor/PdfPrinter.h"
#include "editor/TextPrintout.h"
#include "platform/UserStore.h"
#include "settings/Profile.h"
#include "settings/Settings.h"
#include "text/Cp1252.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace edtest;

namespace {

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        out.push_back(line);
    return out;
}

// Lines with text, trailing blanks and the form feed removed.
std::vector<std::string> TextLines(const std::string& text)
{
    std::vector<std::string> out;
    for (std::string line : SplitLines(text)) {
        line.erase(std::remove(line.begin(), line.end(), '\f'), line.end());
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        if (!line.empty())
            out.push_back(line);
    }
    return out;
}

struct Word {
    double xMin, yMin, xMax, yMax;
    std::string text;
};

// The words of two PDFs page by page: the same text at the same places.
void ExpectSameWords(std::vector<Word> own, std::vector<Word> cairo, int page)
{
    // In reading order: the writers put the footer first and last.
    auto byPlace = [](const Word& a, const Word& b) {
        return std::lround(a.yMin) != std::lround(b.yMin) ? a.yMin < b.yMin : a.xMin < b.xMin;
    };
    std::sort(own.begin(), own.end(), byPlace);
    std::sort(cairo.begin(), cairo.end(), byPlace);
    ASSERT_EQ(own.size(), cairo.size()) << "page " << page;
    // The footer's words last: centred alike, though cairo's footer keeps
    // the face's own advance where the grid rounds it up to the cell.
    ASSERT_GE(own.size(), 2u);
    const size_t footer = own.size() - 2;
    EXPECT_EQ(own[footer].text, "Page");
    EXPECT_NEAR(own[footer].xMin + own.back().xMax, cairo[footer].xMin + cairo.back().xMax, 0.3) << "page " << page;
    EXPECT_NEAR(own[footer].yMin, cairo[footer].yMin, 0.3) << "page " << page;
    EXPECT_EQ(own.back().text, cairo.back().text) << "page " << page;
    for (size_t i = 0; i < footer; ++i) {
        EXPECT_EQ(own[i].text, cairo[i].text) << "page " << page;
        EXPECT_NEAR(own[i].xMin, cairo[i].xMin, 0.3) << own[i].text << " page " << page;
        EXPECT_NEAR(own[i].xMax, cairo[i].xMax, 0.3) << own[i].text << " page " << page;
        EXPECT_NEAR(own[i].yMin, cairo[i].yMin, 0.3) << own[i].text << " page " << page;
    }
}

class PrintTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        dir = std::filesystem::temp_directory_path() / ("kib-print-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        // Margins come from the profile: a store of the test's own.
        platform::CUserStore::Instance().SetFile((dir / "store.txt").string());
        view->SetLineNumbers(false);
        view->SetShowWhitespace(false);
        view->SetTabWidth(4);
    }
    void TearDown() override
    {
        platform::CUserStore::Instance().SetFile(platform::CUserStore::DefaultFile());
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
        EditorTest::TearDown();
    }

    void Margins(int left, int right, int top, int bottom)
    {
        profile::WriteProfileInt("PageSetup", "LeftMargin", left);
        profile::WriteProfileInt("PageSetup", "RightMargin", right);
        profile::WriteProfileInt("PageSetup", "TopMargin", top);
        profile::WriteProfileInt("PageSetup", "BottomMargin", bottom);
    }

    std::string Print(CTextPrintout& printout, int from = 0, int to = 0, const PdfPageSetup& page = {})
    {
        const std::string path = (dir / ("out" + std::to_string(++jobs) + ".pdf")).string();
        std::string error;
        EXPECT_TRUE(PrintToPdf(printout, path, page, from, to, &error)) << error;
        return path;
    }
    std::string Print(int from = 0, int to = 0, const PdfPageSetup& page = {})
    {
        CTextPrintout printout(view);
        return Print(printout, from, to, page);
    }

    static int Pages(const std::string& pdf)
    {
        std::smatch m;
        const std::string info = kibtest::CommandOutput("pdfinfo '" + pdf + "' 2>&1");
        if (!std::regex_search(info, m, std::regex("Pages:\\s+(\\d+)")))
            return -1;
        return std::stoi(m[1]);
    }
    static std::string PageText(const std::string& pdf, int page)
    {
        return kibtest::CommandOutput("pdftotext -layout -enc UTF-8 -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" +
                   pdf + "' - 2>/dev/null");
    }
    static std::string Info(const std::string& pdf, const std::string& field)
    {
        std::smatch m;
        const std::string info = kibtest::CommandOutput("pdfinfo '" + pdf + "' 2>&1");
        if (!std::regex_search(info, m, std::regex(field + ":\\s+([^\\n]*)")))
            return {};
        return m[1];
    }
    // Kib's writer names itself as the producer; cairo names cairo.
    static bool ByOwnWriter(const std::string& pdf) { return Info(pdf, "Producer") == "Kib"; }
    static std::vector<Word> Words(const std::string& pdf, int page)
    {
        std::vector<Word> words;
        const std::string html = kibtest::CommandOutput("pdftotext -bbox -enc UTF-8 -f " + std::to_string(page) + " -l " +
                                     std::to_string(page) + " '" + pdf + "' - 2>/dev/null");
        const std::regex re("<word xMin=\"(-?[0-9.]+)\" yMin=\"(-?[0-9.]+)\" xMax=\"(-?[0-9.]+)\" yMax=\"(-?[0-9.]+)\">([^<]*)</word>");
        for (auto it = std::sregex_iterator(html.begin(), html.end(), re); it != std::sregex_iterator(); ++it)
            words.push_back({std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), std::stod((*it)[4]),
                             (*it)[5]});
        return words;
    }

    // A page (no margins) whose text area holds exactly `lines` lines of the
    // printout's line height, below which the footer band lies.
    PdfPageSetup PageOfLines(int lines)
    {
        Margins(0, 0, 0, 0);
        CTextPrintout probe(view);
        Print(probe);
        const int h = probe.Layout().LineHeight();
        EXPECT_GT(h, 0);
        PdfPageSetup page;
        page.heightMm = (lines * h + h + h / 2) * 25.4 / page.dotsPerInch;
        return page;
    }

    // 200 numbered lines on pages of 60 lines: four pages.
    std::string PrintTwoHundredLines(CTextPrintout& printout, int from = 0, int to = 0)
    {
        SetText(Numbered(200));
        const PdfPageSetup page = PageOfLines(60);
        return Print(printout, from, to, page);
    }

    static std::string Numbered(int count, const char* word = "Zeile")
    {
        std::string text;
        for (int i = 1; i <= count; ++i)
            text += std::string(word) + " " + std::to_string(i) + "\r\n";
        text.resize(text.size() - 2);
        return text;
    }

    // A document of Windows-1252 bytes: a first line, then every character
    // from '!' on that `has` accepts, 32 to a line (not the no-break space
    // and soft hyphen, which read back as blanks or nothing).
    struct Cp1252Document {
        std::string bytes, lines; // lines: the characters' lines as UTF-8
    };
    static Cp1252Document Cp1252Characters(const std::string& firstLine, const std::function<bool(unsigned)>& has)
    {
        Cp1252Document doc;
        int count = 0;
        for (int b = 0x21; b <= 0xFF; ++b) {
            const unsigned c = cp1252::ToUnicode(static_cast<unsigned char>(b));
            if (b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D || b == 0xA0 ||
                b == 0xAD || !has(c))
                continue;
            doc.bytes.push_back(static_cast<char>(b));
            doc.lines += wxString(wxUniChar(c)).utf8_string();
            if (++count % 32 == 0) {
                doc.bytes += "\r\n";
                doc.lines += "\n";
            }
        }
        if (doc.lines.empty() || doc.lines.back() != '\n')
            doc.lines += "\n";
        doc.bytes = firstLine + "\r\n" + doc.bytes;
        return doc;
    }
    // Page 1 of pdf reads first, then the lines, then the footer.
    static void ExpectPageReads(const std::string& pdf, const std::string& first, const std::string& lines)
    {
        const std::vector<std::string> read = TextLines(PageText(pdf, 1));
        ASSERT_GE(read.size(), 2u);
        EXPECT_EQ(read[0], first);
        std::string printed;
        for (size_t i = 1; i + 1 < read.size(); ++i)
            printed += read[i] + "\n";
        EXPECT_EQ(printed, lines);
        EXPECT_NE(read.back().find("Page 1/1"), std::string::npos) << read.back();
    }

    std::filesystem::path dir;
    int jobs = 0;
};

TEST_F(PrintTest, TwoHundredLinesOnSixtyLinePagesGiveFourPagesEachOnItsOwnPage)
{
    CTextPrintout printout(view);
    const std::string pdf = PrintTwoHundredLines(printout);
    ASSERT_EQ(Pages(pdf), 4);
    // Every page carries its own lines and footer (none is empty).
    for (int p = 1; p <= 4; ++p) {
        const std::vector<std::string> lines = TextLines(PageText(pdf, p));
        const int first = (p - 1) * 60 + 1, last = std::min(200, p * 60);
        ASSERT_EQ(static_cast<int>(lines.size()), last - first + 2) << "page " << p;
        EXPECT_EQ(lines.front(), "Zeile " + std::to_string(first)) << "page " << p;
        EXPECT_EQ(lines[lines.size() - 2], "Zeile " + std::to_string(last)) << "page " << p;
        EXPECT_NE(lines.back().find("Page " + std::to_string(p) + "/4"), std::string::npos) << lines.back();
    }
    // The footer is centred on the page (no margins: the band spans it).
    for (const Word& w : Words(pdf, 3))
        if (w.text == "3/4") {
            const double pageWidth = 210.0 / 25.4 * 72.0;
            EXPECT_NEAR((w.xMin + w.xMax) / 2, pageWidth / 2 + 9, 12); // "Page 3/4": the second word sits right of centre
        }
}

TEST_F(PrintTest, LongLineWrapsAndCountsItsWholeHeight)
{
    std::string text = Numbered(70);
    const PdfPageSetup page = PageOfLines(60);
    CTextPrintout probe(view);
    Print(probe, 0, 0, page);
    const int cells = probe.Layout().TextArea().Width() / probe.CharWidth();
    ASSERT_GT(cells, 20);
    // A first line of words, two and a half rows long.
    std::string longLine;
    int words = 0;
    while (static_cast<int>(longLine.size()) < cells * 5 / 2) {
        longLine += "wort" + std::to_string(words++) + " ";
    }
    longLine += "ende";
    SetText(longLine + "\r\n" + text);
    CTextPrintout printout(view);
    const std::string pdf = Print(printout, 0, 0, page);
    // 3 rows + lines 2..58 fill the 60 rows of page 1.
    ASSERT_EQ(printout.Layout().PageCount(), 0); // discarded at the job's end
    ASSERT_EQ(Pages(pdf), 2);
    const std::vector<std::string> first = TextLines(PageText(pdf, 1));
    ASSERT_EQ(first.size(), 61u);
    EXPECT_EQ(first[0].rfind("wort0 ", 0), 0u);
    EXPECT_EQ(first[2].substr(first[2].size() - 4), "ende");
    EXPECT_EQ(first[59], "Zeile 57");
    EXPECT_EQ(TextLines(PageText(pdf, 2)).front(), "Zeile 58");
    // No word is split: every row ends at a word's end.
    for (int r = 0; r < 3; ++r)
        EXPECT_LE(static_cast<int>(first[r].size()), cells) << first[r];
}

TEST_F(PrintTest, ALineThatJustFillsARowTakesOneAndOneCellMoreTakesTwo)
{
    view->SetLineNumbers(true);
    const PdfPageSetup page = PageOfLines(60);
    CTextPrintout probe(view);
    Print(probe, 0, 0, page);
    const int width = probe.Layout().TextArea().Width() / probe.CharWidth() - 6; // beside "%4d: "
    ASSERT_GT(width, 20);
    // A tab (4 cells), x up to the row's end and a last character of
    // `cells` cells; the long line has one "y" more and wraps inside it.
    struct Last {
        std::string bytes;
        int cells;
    };
    auto line = [&](const Last& last, bool over) {
        return "\t" + std::string(static_cast<size_t>(width - 4 - last.cells), 'x') + last.bytes + (over ? "y" : "");
    };
    const std::vector<std::vector<Last>> documents = {
        {{"x", 1}},                                      // ASCII (the platform's encoding)
        {{"\xE4", 1}, {"x", 1}},                         // Windows-1252
        {{"x", 1}, {"\xC3\xA4", 1}, {"\xE6\x97\xA5", 2}}, // UTF-8, a wide character among them
    };
    for (size_t d = 0; d < documents.size(); ++d) {
        const std::vector<Last>& lasts = documents[d];
        // Lines 1-58 fill 59 rows (line 31 takes two); line 59 needs two more.
        std::string text;
        for (int i = 1; i <= 60; ++i)
            text += line(lasts[static_cast<size_t>(i) % lasts.size()], i == 31 || i == 59) + "\r\n";
        SetText(text + "ende");
        if (d > 0) {
            ASSERT_EQ(buffer->Encoding(), d == 2 ? TextEncoding::Utf8 : TextEncoding::Cp1252);
        }
        CTextPrintout printout(view);
        const std::string pdf = Print(printout, 0, 0, page);
        ASSERT_EQ(Pages(pdf), 2) << "document " << d;
        const std::vector<std::string> first = TextLines(PageText(pdf, 1)), second = TextLines(PageText(pdf, 2));
        ASSERT_EQ(first.size(), 60u) << "document " << d; // 59 rows and the footer
        EXPECT_NE(first[58].find("58:"), std::string::npos) << first[58];
        ASSERT_FALSE(second.empty());
        EXPECT_NE(second[0].find("59:"), std::string::npos) << second[0];
        EXPECT_EQ(second[1].find(':'), std::string::npos) << second[1]; // its second row: the "y"
    }
}

TEST_F(PrintTest, LineNumbersAreFourWideAndEmptyLinesCarryNone)
{
    view->SetLineNumbers(true);
    std::string text;
    for (int i = 1; i <= 12; ++i)
        text += (i == 3 || i == 9 ? std::string() : "text " + std::to_string(i)) + "\r\n";
    text += "last";
    SetText(text);
    CTextPrintout printout(view);
    const std::string pdf = Print(printout);
    const double cell = printout.CharWidth() * 72.0 / 600, line = printout.Layout().LineHeight() * 72.0 / 600;
    const double left = 10.0 / 25.4 * 72.0; // the default margin
    std::map<std::string, Word> numbers;
    for (const Word& w : Words(pdf, 1))
        if (w.text.size() >= 2 && w.text.back() == ':')
            numbers[w.text] = w;
    // "%4d: ": line 7 is three blanks, "7", ":" and a blank; 10 two blanks.
    ASSERT_TRUE(numbers.count("7:") && numbers.count("10:") && numbers.count("13:"));
    EXPECT_NEAR(numbers["7:"].xMin, left + 3 * cell, 0.5);
    EXPECT_NEAR(numbers["10:"].xMin, left + 2 * cell, 0.5);
    EXPECT_NEAR(numbers["7:"].xMax, numbers["10:"].xMax, 0.5);
    EXPECT_NE(PageText(pdf, 1).find("7: text 7"), std::string::npos);
    // Empty lines carry no number but keep their height.
    EXPECT_EQ(numbers.count("3:"), 0u);
    EXPECT_EQ(numbers.count("9:"), 0u);
    EXPECT_EQ(numbers.size(), 11u);
    ASSERT_TRUE(numbers.count("2:") && numbers.count("4:"));
    EXPECT_NEAR(numbers["4:"].yMin - numbers["2:"].yMin, 2 * line, 0.5);
    EXPECT_NEAR(numbers["5:"].yMin - numbers["4:"].yMin, line, 0.5);
}

TEST_F(PrintTest, WhiteSpaceMarksPrintWhenTheViewShowsThem)
{
    SetText("a\tb c");
    const std::string plain = PageText(Print(), 1);
    EXPECT_NE(plain.find("b c"), std::string::npos) << plain;
    EXPECT_EQ(plain.find("\xC2\xBB"), std::string::npos) << plain;
    view->SetShowWhitespace(true);
    CTextPrintout printout(view);
    const std::string pdf = Print(printout);
    const std::string shown = PageText(pdf, 1);
    EXPECT_NE(shown.find("b\xE2\x80\xA2" "c"), std::string::npos) << shown;
    // The tab is "»" and blanks to the next stop: "b" is in the fifth cell.
    const double cell = printout.CharWidth() * 72.0 / 600;
    std::vector<Word> words = Words(pdf, 1);
    ASSERT_GE(words.size(), 2u);
    EXPECT_EQ(words[0].text, "a\xC2\xBB");
    EXPECT_EQ(words[1].text, "b\xE2\x80\xA2" "c");
    EXPECT_NEAR(words[1].xMin - words[0].xMin, 4 * cell, 0.5);
}

TEST_F(PrintTest, PrintingAgainAfterDeletingHalfLaysTheShorterTextOut)
{
    SetText(Numbered(200));
    const PdfPageSetup page = PageOfLines(60);
    CTextPrintout printout(view);
    EXPECT_EQ(Pages(Print(printout, 0, 0, page)), 4);
    ASSERT_TRUE(buffer->DeleteRange(nullptr, 100, 0, 199, 9));
    ASSERT_EQ(buffer->LineCount(), 101);
    const std::string pdf = Print(printout, 0, 0, page);
    EXPECT_EQ(Pages(pdf), 2);
    EXPECT_NE(PageText(pdf, 2).find("Page 2/2"), std::string::npos);
}

TEST_F(PrintTest, PagesBeyondTheLastPrintNothing)
{
    CTextPrintout printout(view);
    const std::string pdf = PrintTwoHundredLines(printout, 3, 10);
    ASSERT_EQ(Pages(pdf), 2);
    EXPECT_NE(PageText(pdf, 1).find("Page 3/4"), std::string::npos);
    EXPECT_NE(PageText(pdf, 2).find("Page 4/4"), std::string::npos);
    // Asked directly, the printout has no fifth page and draws none.
    CTextPrintout direct(view);
    Print(direct, 1, 1, PageOfLines(60));
    EXPECT_FALSE(direct.HasPage(5));
}

TEST_F(PrintTest, EveryWindows1252CharacterPrintsAsItself)
{
    // Every byte with a character, in a document that is no UTF-8.
    const Cp1252Document doc = Cp1252Characters("Gr\xFC\xDF" "e \xA7 3 \x84\x93", [](unsigned) { return true; });
    SetText(doc.bytes);
    ASSERT_EQ(buffer->Encoding(), TextEncoding::Cp1252);
    ExpectPageReads(Print(), "Grüße § 3 „“", doc.lines);
}

TEST_F(PrintTest, Utf8DocumentPrintsItsCharacters)
{
    SetText("// Grüße aus Köln § — Ελληνικά, Кириллица, 日本語 ✓\r\nint x = 1;");
    ASSERT_EQ(buffer->Encoding(), TextEncoding::Utf8);
    const std::vector<std::string> lines = TextLines(PageText(Print(), 1));
    ASSERT_GE(lines.size(), 2u);
    // pdftotext may widen the gaps around wide characters.
    std::string first = lines[0];
    EXPECT_NE(first.find("Grüße aus Köln § — Ελληνικά, Кириллица,"), std::string::npos) << first;
    EXPECT_NE(first.find("日本語"), std::string::npos) << first;
    EXPECT_NE(first.find("✓"), std::string::npos) << first;
}

TEST_F(PrintTest, RowsOfTheFaceAndOfFallbackFontsMixOnOnePageAndKeepTheCellGrid)
{
    // Greek and Cyrillic are in the face (the grid), the CJK line needs a
    // fallback font; characters met before are printed again from the face.
    SetText("alpha = Ελληνικά;\r\n"
            "theta = 日本語テキスト;\r\n"
            "gamma = Кириллица;\r\n"
            "delta = Ελληνικά Кириллица;\r\n"
            "omega = Грек Ω ß € ✓;");
    const std::string pdf = Print();
    const std::vector<std::string> lines = TextLines(PageText(pdf, 1));
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], "alpha = Ελληνικά;");
    EXPECT_NE(lines[1].find("日本語"), std::string::npos) << lines[1];
    EXPECT_EQ(lines[2], "gamma = Кириллица;");
    EXPECT_EQ(lines[3], "delta = Ελληνικά Кириллица;");
    EXPECT_EQ(lines[4], "omega = Грек Ω ß € ✓;");
    // "=" stands in column 6 of every line: the glyphs sit on the cells.
    std::vector<double> equals;
    for (const Word& w : Words(pdf, 1))
        if (w.text == "=")
            equals.push_back(w.xMin);
    ASSERT_EQ(equals.size(), 5u);
    for (double x : equals)
        EXPECT_NEAR(x, equals[0], 0.2);
    // "delta = " and the word after: the cell width times eight.
    std::vector<Word> words = Words(pdf, 1);
    auto at = [&](const std::string& text, double minY) {
        for (const Word& w : words)
            if (w.text == text && w.yMin >= minY)
                return w;
        return Word{};
    };
    const Word delta = at("delta", 0), greek = at("Ελληνικά", delta.yMin - 1);
    EXPECT_NEAR(greek.xMin - delta.xMin, 8 * (equals[0] - delta.xMin) / 6, 0.3);
}

TEST_F(PrintTest, MarginsOfZeroAndOfOneHundredMillimetres)
{
    SetText(Numbered(300));
    const double mmToPt = 72.0 / 25.4;
    Margins(0, 0, 0, 0);
    std::string pdf = Print();
    std::vector<Word> words = Words(pdf, 1);
    ASSERT_FALSE(words.empty());
    EXPECT_EQ(words[0].text, "Zeile");
    EXPECT_LT(words[0].xMin, 1.5);
    EXPECT_LT(words[0].yMin, 3.0);

    Margins(10000, 10000, 10000, 10000);
    pdf = Print();
    const int pages = Pages(pdf);
    words = Words(pdf, 1);
    ASSERT_FALSE(words.empty());
    // The text stays inside the 10 mm by 97 mm between the margins; the
    // footer below it is centred on the same area.
    double lowestText = 0;
    for (const Word& w : words) {
        if (w.text.rfind("Page", 0) == 0 || w.text.find('/') != std::string::npos)
            continue;
        EXPECT_GE(w.xMin, 100 * mmToPt - 2) << w.text;
        EXPECT_LE(w.xMax, 110 * mmToPt + 2) << w.text;
        EXPECT_GE(w.yMin, 100 * mmToPt - 2) << w.text;
        lowestText = std::max(lowestText, w.yMax);
    }
    EXPECT_LE(lowestText, 197 * mmToPt + 2);
    // Each "Zeile N" wraps into two rows: 300 lines need many pages.
    EXPECT_GT(pages, 300 * 2 / 40);
}

} // namespace

namespace {

TEST_F(PrintTest, JdkStringJavaPrintsEveryLineOnce)
{
    const std::string text = kibtest::JdkSourceFile("java.base/java/lang/String.java");
    if (text.empty())
        GTEST_SKIP() << "no JDK src.zip";
    ASSERT_GT(text.size(), 100000u);
    SetText(text);
    view->SetLineNumbers(true);
    CTextPrintout printout(view);
    const std::string pdf = Print(printout);
    const int pages = Pages(pdf);
    ASSERT_GT(pages, 50);
    // Every numbered line appears exactly once, in order, across the pages.
    const std::string all = kibtest::CommandOutput("pdftotext -layout -enc UTF-8 '" + pdf + "' - 2>/dev/null");
    const std::regex number("^\\s*(\\d+): ");
    int expected = 1, lastNumber = 0;
    for (const std::string& line : SplitLines(all)) {
        std::smatch m;
        if (!std::regex_search(line, m, number))
            continue;
        const int n = std::stoi(m[1]);
        while (expected < n && buffer->LineLength(expected - 1) == 0)
            ++expected; // empty lines are not numbered
        ASSERT_EQ(n, expected) << line;
        lastNumber = n;
        ++expected;
    }
    EXPECT_EQ(lastNumber + (buffer->LineLength(buffer->LineCount() - 1) == 0 ? 1 : 0), buffer->LineCount());
    EXPECT_NE(PageText(pdf, pages).find("Page " + std::to_string(pages) + "/" + std::to_string(pages)),
              std::string::npos);
    // Kib's writer printed it, the words where cairo puts them.
    EXPECT_TRUE(ByOwnWriter(pdf));
    PdfPageSetup throughCairo;
    throughCairo.cairoOnly = true;
    CTextPrintout again(view);
    const std::string cairo = Print(again, 0, 0, throughCairo);
    ASSERT_EQ(Pages(cairo), pages);
    for (int p : {1, pages / 2, pages})
        ExpectSameWords(Words(pdf, p), Words(cairo, p), p);
    if (const char* dir = std::getenv("KIB_SCREENSHOT_DIR"); dir && *dir) {
        std::filesystem::copy_file(pdf, std::string(dir) + "/print_String.pdf",
                                   std::filesystem::copy_options::overwrite_existing);
        EXPECT_EQ(std::system(("pdftoppm -r 70 -png -f 1 -l 2 '" + pdf + "' '" + dir + "/print_String'").c_str()), 0);
        EXPECT_EQ(std::system(("pdftoppm -r 70 -png -f 1 -l 2 '" + cairo + "' '" + dir + "/print_String_cairo'").c_str()),
                  0);
    }
}

} // namespace

namespace {

TEST_F(PrintTest, PlainTextGoesThroughKibsWriterAndLandsWhereCairoPutsIt)
{
    // Line numbers, a wrapped line, white-space marks, umlauts, "§", a
    // page range: every word where cairo puts it, in a sound file.
    view->SetLineNumbers(true);
    view->SetShowWhitespace(true);
    std::string text;
    for (int i = 1; i <= 150; ++i)
        text += "\tGr\xC3\xBC\xC3\x9F" "e \xC2\xA7 " + std::to_string(i) + (i == 7 ? std::string(300, 'w') : "") +
                " { return x; }\r\n";
    SetText(text + "ende");
    PdfPageSetup page = PageOfLines(50);
    page.widthMm = 148; // A5 wide, not A4
    const std::string own = Print(2, 3, page);
    PdfPageSetup throughCairo = page;
    throughCairo.cairoOnly = true;
    const std::string cairo = Print(2, 3, throughCairo);
    EXPECT_TRUE(ByOwnWriter(own));
    EXPECT_FALSE(ByOwnWriter(cairo)) << Info(cairo, "Producer");
    EXPECT_EQ(Pages(own), 2);
    EXPECT_EQ(Info(own, "Page size"), Info(cairo, "Page size"));
    EXPECT_NE(Info(own, "Page size").find("419.528 x"), std::string::npos) << Info(own, "Page size");
    EXPECT_EQ(Info(own, "Title"), "Kib");
    for (int p = 1; p <= 2; ++p)
        ExpectSameWords(Words(own, p), Words(cairo, p), p);
    EXPECT_NE(PageText(own, 1).find("Gr\xC3\xBC\xC3\x9F" "e\xE2\x80\xA2\xC2\xA7"), std::string::npos);
    EXPECT_NE(PageText(own, 2).find("Page 3/"), std::string::npos);
    // The file's structure and its pages as a renderer sees them.
    EXPECT_EQ(kibtest::CommandOutput("qpdf --check '" + own + "' >/dev/null 2>&1 && echo sound"), "sound\n");
    EXPECT_EQ(kibtest::CommandOutput("pdftoppm -r 30 -png '" + own + "' '" + (dir / "page").string() +
                                     "' 2>&1 && echo rendered"),
              "rendered\n");
    EXPECT_EQ(kibtest::CommandOutput("pdffonts '" + own + "' | tail -n +3 | awk '{print $2, $3, $5, $6, $7}'"),
              "CID TrueType yes no yes\n");
}

TEST_F(PrintTest, ACharacterTheFaceLacksSendsTheWholeJobThroughCairo)
{
    // Page 1 is plain; page 2 holds an emoji, then CJK: the job is cairo's
    // from its first page, every character readable.
    SetText(Numbered(80) + "\r\nlast \xF0\x9F\x98\x80 smile\r\n\xE6\x97\xA5\xE6\x9C\xAC");
    const PdfPageSetup page = PageOfLines(60);
    const std::string pdf = Print(0, 0, page);
    EXPECT_FALSE(ByOwnWriter(pdf)) << Info(pdf, "Producer");
    ASSERT_EQ(Pages(pdf), 2);
    EXPECT_NE(PageText(pdf, 1).find("Zeile 1\n"), std::string::npos);
    const std::string second = PageText(pdf, 2);
    EXPECT_NE(second.find("Zeile 80"), std::string::npos) << second;
    EXPECT_NE(second.find("\xF0\x9F\x98\x80"), std::string::npos) << second;
    EXPECT_NE(second.find("\xE6\x97\xA5\xE6\x9C\xAC"), std::string::npos) << second;
    // Without them the same document is the own writer's.
    SetText(Numbered(80));
    EXPECT_TRUE(ByOwnWriter(Print(0, 0, page)));
}

TEST_F(PrintTest, CharactersThatMayShareAGlyphReadBackAsThemselves)
{
    // Micro sign and mu, ohm sign and omega, Angstrom sign and A-ring: a
    // face may draw each pair with one glyph, whose code then cannot read
    // back as both.
    SetText("micro \xC2\xB5 mu \xCE\xBC ohm \xE2\x84\xA6 omega \xCE\xA9 \xE2\x84\xAB \xC3\x85");
    const std::vector<std::string> lines = TextLines(PageText(Print(), 1));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "micro \xC2\xB5 mu \xCE\xBC ohm \xE2\x84\xA6 omega \xCE\xA9 \xE2\x84\xAB \xC3\x85");
}

TEST_F(PrintTest, EveryWindows1252CharacterGoesThroughKibsWriter)
{
    std::string bytes;
    for (int b = 0x20; b <= 0xFF; ++b)
        if (cp1252::ToUnicode(static_cast<unsigned char>(b)) != 0xFFFD && b != 0x7F && b != 0x81 && b != 0x8D &&
            b != 0x8F && b != 0x90 && b != 0x9D)
            bytes.push_back(static_cast<char>(b));
    SetText(bytes);
    ASSERT_EQ(buffer->Encoding(), TextEncoding::Cp1252);
    EXPECT_TRUE(ByOwnWriter(Print()));
}

TEST_F(PrintTest, AFileThatCannotBeWrittenIsReportedAndNotLeftBehind)
{
    SetText("text");
    CTextPrintout printout(view);
    std::string error;
    const std::string missing = (dir / "no-such-dir" / "out.pdf").string();
    EXPECT_FALSE(PrintToPdf(printout, missing, PdfPageSetup{}, 0, 0, &error));
    EXPECT_EQ(error, "Die Datei kann nicht geschrieben werden.");
    EXPECT_FALSE(std::filesystem::exists(missing));
    // A full device: the data does not reach the file.
    if (std::filesystem::exists("/dev/full")) {
        error.clear();
        CTextPrintout full(view);
        EXPECT_FALSE(PrintToPdf(full, "/dev/full", PdfPageSetup{}, 0, 0, &error));
        EXPECT_EQ(error, "Die Datei kann nicht geschrieben werden.");
        EXPECT_TRUE(std::filesystem::exists("/dev/full")); // a device is not removed
    }
}

} // namespace

namespace {

// The file and the characters fontconfig gives for a family.
struct Match {
    std::string file;
    std::vector<std::pair<unsigned, unsigned>> ranges;
    bool Has(unsigned c) const
    {
        for (const auto& [first, last] : ranges)
            if (c >= first && c <= last)
                return true;
        return false;
    }
};

Match FontMatch(const std::string& family)
{
    Match m;
    std::istringstream out(kibtest::CommandOutput("fc-match -f '%{file}\\n%{charset}\\n' '" + family + "' 2>/dev/null"));
    std::getline(out, m.file);
    std::string range;
    while (out >> range) {
        const size_t dash = range.find('-');
        const unsigned first = static_cast<unsigned>(std::stoul(range.substr(0, dash), nullptr, 16));
        m.ranges.push_back({first, dash == std::string::npos
                                       ? first
                                       : static_cast<unsigned>(std::stoul(range.substr(dash + 1), nullptr, 16))});
    }
    return m;
}

bool IsCffFace(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    char tag[4] = {};
    return in.read(tag, 4) && std::string(tag, 4) == "OTTO";
}

// Grey pixels of a page rendered at 100 dpi, row by row.
std::string Rendered(const std::string& pdf, int page, const std::filesystem::path& dir)
{
    const std::string base = (dir / "grey").string();
    if (kibtest::CommandOutput("pdftoppm -gray -r 100 -singlefile -f " + std::to_string(page) + " -l " +
                               std::to_string(page) + " '" + pdf + "' '" + base + "' 2>&1 && echo rendered") !=
        "rendered\n")
        return {};
    std::ifstream in(base + ".pgm", std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    std::string pixels(static_cast<size_t>(width) * static_cast<size_t>(height), '\0');
    in.read(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return magic == "P5" && in ? pixels : std::string();
}

TEST_F(PrintTest, CourierNewOfTheDefaultSettingsGoesThroughKibsWriterAsItsOpenTypeFace)
{
    const Match courier = FontMatch("Courier New");
    if (!IsCffFace(courier.file))
        GTEST_SKIP() << "fontconfig gives no OpenType-CFF face for Courier New: " << courier.file;
    view->ApplySettings(CSettings());
    ASSERT_EQ(view->TextFont().GetFaceName(), "Courier New");
    view->SetLineNumbers(false);
    view->SetShowWhitespace(false);
    // Every Windows-1252 character the face has.
    const Cp1252Document doc =
        Cp1252Characters("Gr\xFC\xDF" "e \xA7 3 \xC4\xD6\xDC", [&](unsigned c) { return courier.Has(c); });
    ASSERT_GT(doc.bytes.size(), 200u) << courier.file;
    SetText(doc.bytes);
    ASSERT_EQ(buffer->Encoding(), TextEncoding::Cp1252);
    const std::string own = Print();
    PdfPageSetup throughCairo;
    throughCairo.cairoOnly = true;
    const std::string cairo = Print(0, 0, throughCairo);
    ASSERT_TRUE(ByOwnWriter(own)) << Info(own, "Producer");
    EXPECT_EQ(Info(own, "PDF version"), "1.6");
    ExpectPageReads(own, "Grüße § 3 ÄÖÜ", doc.lines);
    ExpectSameWords(Words(own, 1), Words(cairo, 1), 1);

    // The face embedded whole, as an OpenType file of CFF outlines.
    EXPECT_EQ(kibtest::CommandOutput("pdffonts '" + own + "' | tail -n +3 | awk '{print $2, $3, $4, $5, $7, $8, $9}'"),
              "CID Type 0C (OT) yes no yes\n");
    EXPECT_EQ(kibtest::CommandOutput("qpdf --check '" + own + "' >/dev/null 2>&1 && echo sound"), "sound\n");
    // The glyphs themselves: glyph ids must select the glyphs cairo draws
    // (a code read as another glyph would still read back as its text).
    const std::string ownPixels = Rendered(own, 1, dir), cairoPixels = Rendered(cairo, 1, dir);
    ASSERT_FALSE(ownPixels.empty());
    ASSERT_EQ(ownPixels.size(), cairoPixels.size());
    size_t ink = 0, differing = 0;
    for (size_t i = 0; i < ownPixels.size(); ++i) {
        const int a = static_cast<unsigned char>(ownPixels[i]), b = static_cast<unsigned char>(cairoPixels[i]);
        ink += a < 160;
        differing += std::abs(a - b) > 64;
    }
    EXPECT_GT(ink, 2000u);
    EXPECT_LE(differing, ink / 100) << differing << " of " << ink << " ink pixels differ from cairo's";
    if (const char* shots = std::getenv("KIB_SCREENSHOT_DIR"); shots && *shots) {
        EXPECT_EQ(std::system(("pdftoppm -r 70 -png -f 1 -l 1 '" + own + "' '" + shots + "/print_courier'").c_str()), 0);
        EXPECT_EQ(std::system(("pdftoppm -r 70 -png -f 1 -l 1 '" + cairo + "' '" + shots + "/print_courier_cairo'").c_str()),
                  0);
    }
}

} // namespace
