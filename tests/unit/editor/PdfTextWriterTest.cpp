// Kib's PDF writer: the TrueType tables it reads and refuses, and the file it
// writes (cross-reference offsets, glyph strings and their corrections, the
// ToUnicode map, document information).
#include "editor/PdfTextWriter.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

void Put16(std::string& out, unsigned v)
{
    out.push_back(static_cast<char>(v >> 8 & 0xFF));
    out.push_back(static_cast<char>(v & 0xFF));
}
void Put32(std::string& out, uint32_t v)
{
    Put16(out, v >> 16);
    Put16(out, v & 0xFFFF);
}

// A font file of the given tables (tag -> contents) behind a version tag.
std::string FontFile(const std::map<std::string, std::string>& tables, uint32_t version = 0x00010000)
{
    std::string out;
    Put32(out, version);
    Put16(out, static_cast<unsigned>(tables.size()));
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, 0);
    size_t offset = 12 + tables.size() * 16;
    std::string bodies;
    for (const auto& [tag, body] : tables) {
        out += tag;
        Put32(out, 0); // checksum, not read
        Put32(out, static_cast<uint32_t>(offset + bodies.size()));
        Put32(out, static_cast<uint32_t>(body.size()));
        bodies += body;
        while (bodies.size() % 4)
            bodies.push_back('\0');
    }
    return out + bodies;
}

// The tables of a monospaced face of 2048 units, four glyphs of 1233
// units' advance, named "Test-Mono".
std::map<std::string, std::string> MonoTables()
{
    std::string head(54, '\0');
    head[18] = 0x08; // units per em 2048
    head[19] = 0x00;
    auto set16 = [](std::string& t, size_t at, int v) {
        t[at] = static_cast<char>(v >> 8 & 0xFF);
        t[at + 1] = static_cast<char>(v & 0xFF);
    };
    set16(head, 36, -100);
    set16(head, 38, -500);
    set16(head, 40, 1300);
    set16(head, 42, 1900);
    std::string hhea(36, '\0');
    set16(hhea, 4, 1556);
    set16(hhea, 6, -492);
    set16(hhea, 34, 2); // two long metrics: the last advance repeats
    std::string hmtx;
    Put16(hmtx, 1233);
    Put16(hmtx, 0);
    Put16(hmtx, 1233);
    Put16(hmtx, 0);
    std::string maxp(6, '\0');
    set16(maxp, 4, 4);
    std::string post(32, '\0');
    post[15] = 1; // fixed pitch
    std::string name;
    Put16(name, 0);
    Put16(name, 1);
    Put16(name, 6 + 12);
    Put16(name, 1); // Macintosh
    Put16(name, 0);
    Put16(name, 0);
    Put16(name, 6); // PostScript name
    Put16(name, 11);
    Put16(name, 0);
    name += "Test (Mono)"; // delimiters are dropped from the name
    return {{"glyf", std::string(8, '\0')}, {"loca", std::string(10, '\0')}, {"head", head}, {"hhea", hhea},
            {"hmtx", hmtx}, {"maxp", maxp}, {"post", post}, {"name", name}};
}

pdf::FontFace MonoFace()
{
    pdf::FontFace face;
    std::string why;
    EXPECT_TRUE(pdf::ParseFont(FontFile(MonoTables()), face, &why)) << why;
    return face;
}

TEST(PdfTextWriterTest, ReadsTheTablesOfAFontFaceAndRefusesOtherFiles)
{
    const pdf::FontFace face = MonoFace();
    EXPECT_EQ(face.unitsPerEm, 2048);
    EXPECT_EQ(face.yMin, -500);
    EXPECT_EQ(face.ascent, 1556);
    EXPECT_EQ(face.descent, -492);
    EXPECT_TRUE(face.fixedPitch);
    EXPECT_EQ(face.glyphCount, 4);
    EXPECT_EQ(face.postScriptName, "TestMono");
    EXPECT_NEAR(face.Width(1), 1233 * 1000.0 / 2048, 1e-9);
    EXPECT_NEAR(face.Width(3), 1233 * 1000.0 / 2048, 1e-9); // beyond the long metrics

    pdf::FontFace other;
    std::string why;
    EXPECT_FALSE(pdf::ParseFont(FontFile(MonoTables(), 0x4F54544F), other, &why)); // 'OTTO': CFF outlines
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(pdf::ParseFont(FontFile(MonoTables(), 0x74746366), other)); // 'ttcf': a collection
    std::map<std::string, std::string> noGlyf = MonoTables();
    noGlyf.erase("glyf");
    EXPECT_FALSE(pdf::ParseFont(FontFile(noGlyf), other));
    const std::string whole = FontFile(MonoTables());
    EXPECT_FALSE(pdf::ParseFont(whole.substr(0, whole.size() - 40), other)); // a table cut off
    EXPECT_FALSE(pdf::ParseFont(whole.substr(0, 30), other));
    EXPECT_FALSE(pdf::ParseFont("", other));
    std::map<std::string, std::string> badMetrics = MonoTables();
    badMetrics["hmtx"] = std::string(4, '\0'); // two metrics announced, one there
    EXPECT_FALSE(pdf::ParseFont(FontFile(badMetrics), other));
    EXPECT_FALSE(pdf::LoadFont("/nonexistent/font.ttf", other, &why));
}

// Objects of a written file by number, as the cross-reference table finds
// them; fails the test when an offset points elsewhere.
std::map<int, std::string> Objects(const std::string& pdf)
{
    std::map<int, std::string> objects;
    std::smatch m;
    EXPECT_TRUE(std::regex_search(pdf, m, std::regex("startxref\n(\\d+)\n%%EOF\n$")));
    const size_t xref = std::stoul(m[1]);
    EXPECT_EQ(pdf.compare(xref, 5, "xref\n"), 0);
    std::smatch head;
    const std::string table = pdf.substr(xref);
    EXPECT_TRUE(std::regex_search(table, head, std::regex("^xref\n0 (\\d+)\n0000000000 65535 f \n")));
    const int count = std::stoi(head[1]);
    size_t at = xref + static_cast<size_t>(head.length(0));
    for (int n = 1; n < count; ++n, at += 20) {
        const size_t offset = std::stoul(pdf.substr(at, 10));
        const std::string start = std::to_string(n) + " 0 obj\n";
        EXPECT_EQ(pdf.compare(offset, start.size(), start), 0) << "object " << n;
        objects[n] = pdf.substr(offset, pdf.find("endobj", offset) - offset);
    }
    EXPECT_NE(table.find("/Size " + std::to_string(count)), std::string::npos);
    return objects;
}

std::string Find(const std::map<int, std::string>& objects, const std::string& key)
{
    for (const auto& [n, text] : objects)
        if (text.find(key) != std::string::npos)
            return text;
    return {};
}

TEST(PdfTextWriterTest, WritesPagesTheCrossReferenceFindsWithGlyphStringsAndCorrections)
{
    const pdf::FontFace face = MonoFace();
    // 600 units an inch, a 100-unit face stretched to 1.2: a glyph's
    // advance is 1233/2048 * 100 * 1.2 = 72.246 units.
    pdf::CPdfTextWriter writer(face, 595.276, 841.89, 600, 100, 1.2);
    const double advance = 1233.0 / 2048 * 100 * 1.2;
    std::vector<pdf::Glyph> row = {{1, U'a', 600, 1200}, {2, U'b', 600 + advance, 1200},
                                   // a cell further on: the string carries the gap
                                   {3, U'\U0001F600', 600 + 3 * advance, 1200},
                                   // the next baseline starts a run of its own
                                   {1, U'a', 600, 1300}};
    ASSERT_TRUE(writer.AddPage(row));
    ASSERT_TRUE(writer.AddPage({}));
    EXPECT_EQ(writer.PageCount(), 2);
    const std::string pdf = writer.Finish("Grüße", 0);
    ASSERT_EQ(pdf.rfind("%PDF-1.4\n", 0), 0u);
    const std::map<int, std::string> objects = Objects(pdf);

    const std::string content = Find(objects, "BT\n");
    // Points: 600 units are 72 pt; y from the bottom of the page.
    EXPECT_NE(content.find("/F1 12 Tf\n120 Tz\n"), std::string::npos) << content;
    // The gap of one advance in thousandths of the em, negative: forward.
    EXPECT_NE(content.find("1 0 0 1 72 697.89 Tm[<00010002>-602.051<0003>]TJ\n"), std::string::npos) << content;
    EXPECT_NE(content.find("1 0 0 1 72 685.89 Tm[<0001>]TJ\n"), std::string::npos) << content;
    const std::string stream = content.substr(content.find("stream\n") + 7);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(content, m, std::regex("/Length (\\d+)")));
    EXPECT_EQ(stream.substr(std::stoul(m[1])), "endstream\n");

    const std::string pages = Find(objects, "/Type/Pages");
    EXPECT_NE(pages.find("/Count 2"), std::string::npos);
    EXPECT_NE(Find(objects, "/Type/Page/").find("/MediaBox[0 0 595.276 841.89]"), std::string::npos);
    EXPECT_NE(Find(objects, "/Subtype/Type0").find("/BaseFont/TestMono/Encoding/Identity-H"), std::string::npos);
    const std::string cid = Find(objects, "/CIDFontType2");
    EXPECT_NE(cid.find("/CIDToGIDMap/Identity"), std::string::npos);
    EXPECT_NE(cid.find("/W[1[602.051]2[602.051]3[602.051]]"), std::string::npos) << cid;
    const std::string descriptor = Find(objects, "/FontDescriptor/FontName");
    EXPECT_NE(descriptor.find("/Flags 33/FontBBox[-48.828 -244.141 634.766 927.734]"), std::string::npos)
        << descriptor;
    // The face file whole, its length as the stream says.
    const std::string file = Find(objects, "/Length1");
    EXPECT_NE(file.find("/Length " + std::to_string(face.data.size())), std::string::npos);
    EXPECT_NE(pdf.find(face.data), std::string::npos);
    // Each glyph's character, beyond the BMP as a surrogate pair.
    const std::string cmap = Find(objects, "beginbfchar");
    EXPECT_NE(cmap.find("3 beginbfchar\n<0001><0061>\n<0002><0062>\n<0003><D83DDE00>\nendbfchar"),
              std::string::npos)
        << cmap;
    const std::string info = Find(objects, "/Producer(Kib)");
    EXPECT_NE(info.find("/Title<FEFF0047007200FC00DF0065>"), std::string::npos) << info;
    EXPECT_NE(info.find("/CreationDate(D:19700101000000+00'00')"), std::string::npos) << info;
}

TEST(PdfTextWriterTest, AGlyphMetAsTwoCharactersIsRefused)
{
    const pdf::FontFace face = MonoFace();
    pdf::CPdfTextWriter writer(face, 100, 100, 72, 10, 1);
    ASSERT_TRUE(writer.AddPage({{1, U'\u00B5', 0, 10}, {1, U'\u00B5', 6, 10}}));
    // The same glyph as another character could not read back as both.
    EXPECT_FALSE(writer.AddPage({{1, U'\u03BC', 0, 10}}));
}

} // namespace
