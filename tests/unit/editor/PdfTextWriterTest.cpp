// Kib's PDF writer: the TrueType and OpenType-CFF tables it reads and
// refuses, and the file it writes (cross-reference offsets, glyph strings
// and their corrections, the ToUnicode map, document information, the
// embedded face's objects).
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

TEST(PdfTextWriterTest, ReadsTheTablesOfATrueTypeFaceAndRefusesOtherFiles)
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
    EXPECT_FALSE(pdf::ParseFont(FontFile(MonoTables(), 0x4F54544F), other, &why)); // 'OTTO' without 'CFF '
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

// A CFF table of one font: header, Name INDEX, Top DICT INDEX of the given
// dictionary, empty String and Global Subr INDEXes.
std::string CffTable(const std::string& topDict, const std::vector<std::string>& names = {"Test-Mono"})
{
    auto index = [](const std::vector<std::string>& items) {
        std::string out;
        Put16(out, static_cast<unsigned>(items.size()));
        if (items.empty())
            return out;
        out.push_back(1); // offsets of one byte
        unsigned offset = 1;
        out.push_back(static_cast<char>(offset));
        for (const std::string& item : items)
            out.push_back(static_cast<char>(offset += static_cast<unsigned>(item.size())));
        for (const std::string& item : items)
            out += item;
        return out;
    };
    return std::string("\x01\x00\x04\x01", 4) + index(names) + index({topDict}) + index({}) + index({});
}

// A name-keyed dictionary: a real and a two-byte integer whose bytes look
// like the ROS operator, then CharStrings.
const std::string kNameKeyedDict("\x1E\x5C\x3F\x8B\x0C\x07" // FontMatrix-like: 5E-3 0
                                 "\x1C\x0C\x1E\x11",
                                 10);
// CID-keyed: Registry, Ordering, Supplement and ROS.
const std::string kCidKeyedDict("\x8B\x8B\x8B\x0C\x1E\x8B\x11", 7);

std::map<std::string, std::string> CffTables(const std::string& cff)
{
    std::map<std::string, std::string> tables = MonoTables();
    tables.erase("glyf");
    tables.erase("loca");
    tables["maxp"][0] = 0; // version 0.5, as CFF faces have it
    tables["maxp"][1] = 0;
    tables["maxp"][2] = 0x50;
    tables["CFF "] = cff;
    return tables;
}

constexpr uint32_t kOtto = 0x4F54544F;

TEST(PdfTextWriterTest, ReadsAnOpenTypeFaceWithNameKeyedCffOutlinesAndRefusesOtherOutlines)
{
    pdf::FontFace face;
    std::string why;
    ASSERT_TRUE(pdf::ParseFont(FontFile(CffTables(CffTable(kNameKeyedDict)), kOtto), face, &why)) << why;
    EXPECT_TRUE(face.cff);
    EXPECT_EQ(face.unitsPerEm, 2048);
    EXPECT_EQ(face.glyphCount, 4);
    EXPECT_EQ(face.descent, -492);
    EXPECT_EQ(face.postScriptName, "TestMono");
    EXPECT_NEAR(face.Width(2), 1233 * 1000.0 / 2048, 1e-9);
    EXPECT_FALSE(MonoFace().cff);

    pdf::FontFace other;
    auto refused = [&](const std::map<std::string, std::string>& tables, const char* what) {
        why.clear();
        EXPECT_FALSE(pdf::ParseFont(FontFile(tables, kOtto), other, &why)) << what;
        EXPECT_FALSE(why.empty()) << what;
    };
    refused(CffTables(CffTable(kCidKeyedDict)), "CID-keyed");
    std::map<std::string, std::string> cff2 = CffTables("");
    cff2.erase("CFF ");
    cff2["CFF2"] = CffTable(kNameKeyedDict);
    refused(cff2, "CFF2 only");
    std::string version2 = CffTable(kNameKeyedDict);
    version2[0] = 2;
    refused(CffTables(version2), "version 2 under the CFF tag");
    refused(CffTables(CffTable(kNameKeyedDict, {"A", "B"})), "a font set of two");
    const std::string whole = CffTable(kNameKeyedDict);
    refused(CffTables(whole.substr(0, 12)), "the top dictionary cut off");
    refused(CffTables(CffTable(std::string("\x8B\xFF\x11", 3))), "a reserved byte in the dictionary");
    std::map<std::string, std::string> noMetrics = CffTables(whole);
    noMetrics.erase("hmtx");
    refused(noMetrics, "no hmtx");
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

TEST(PdfTextWriterTest, ACffFaceIsEmbeddedWholeAsAnOpenTypeFileUnderACidFontOfType0)
{
    pdf::FontFace face;
    ASSERT_TRUE(pdf::ParseFont(FontFile(CffTables(CffTable(kNameKeyedDict)), kOtto), face));
    pdf::CPdfTextWriter writer(face, 595.276, 841.89, 600, 100, 1);
    ASSERT_TRUE(writer.AddPage({{1, U'\u00A7', 600, 1200}, {3, U'\u00FC', 600 + 1233.0 / 2048 * 100, 1200}}));
    const std::string pdf = writer.Finish("t", 0);
    ASSERT_EQ(pdf.rfind("%PDF-1.6\n", 0), 0u);
    const std::map<int, std::string> objects = Objects(pdf);
    EXPECT_NE(Find(objects, "BT\n").find("1 0 0 1 72 697.89 Tm[<00010003>]TJ\n"), std::string::npos);
    EXPECT_NE(Find(objects, "/Subtype/Type0").find("/BaseFont/TestMono-Identity-H/Encoding/Identity-H"),
              std::string::npos);
    EXPECT_TRUE(Find(objects, "/CIDFontType2").empty());
    // Its CIDs are the glyph ids: no map to them.
    const std::string cid = Find(objects, "/CIDFontType0");
    EXPECT_NE(cid.find("/BaseFont/TestMono/"), std::string::npos) << cid;
    EXPECT_EQ(cid.find("CIDToGIDMap"), std::string::npos) << cid;
    EXPECT_NE(cid.find("/W[1[602.051]3[602.051]]"), std::string::npos) << cid;
    const std::string descriptor = Find(objects, "/FontDescriptor/FontName");
    EXPECT_NE(descriptor.find("/FontBBox[-48.828 -244.141 634.766 927.734]"), std::string::npos) << descriptor;
    EXPECT_NE(descriptor.find("/Ascent 759.766/Descent -240.234"), std::string::npos) << descriptor;
    EXPECT_NE(descriptor.find("/FontFile3 "), std::string::npos) << descriptor;
    EXPECT_EQ(descriptor.find("/FontFile2"), std::string::npos) << descriptor;
    const std::string file = Find(objects, "/Subtype/OpenType");
    EXPECT_NE(file.find("<</Subtype/OpenType/Length " + std::to_string(face.data.size()) + ">>\nstream\n" + face.data),
              std::string::npos);
    EXPECT_EQ(pdf.find("/Length1"), std::string::npos);
    EXPECT_NE(Find(objects, "beginbfchar").find("<0001><00A7>\n<0003><00FC>\n"), std::string::npos);
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
