#include "editor/PdfTextWriter.h"

#include "text/Utf8.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>

namespace pdf {

namespace {

uint32_t U32(const std::string& d, size_t at)
{
    return static_cast<uint32_t>(static_cast<unsigned char>(d[at])) << 24 |
           static_cast<uint32_t>(static_cast<unsigned char>(d[at + 1])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(d[at + 2])) << 8 |
           static_cast<unsigned char>(d[at + 3]);
}
uint16_t U16(const std::string& d, size_t at)
{
    return static_cast<uint16_t>(static_cast<unsigned char>(d[at]) << 8 | static_cast<unsigned char>(d[at + 1]));
}
int S16(const std::string& d, size_t at) { return static_cast<int16_t>(U16(d, at)); }

struct Table {
    size_t offset = 0, length = 0;
};

bool Fail(std::string* why, const char* text)
{
    if (why)
        *why = text;
    return false;
}

// A name fit for /BaseFont: printable ASCII without PDF delimiters.
std::string NameOf(std::string_view raw)
{
    std::string out;
    for (char c : raw)
        if (c > 32 && c < 127 && std::string_view("()<>[]{}/%#").find(c) == std::string_view::npos)
            out.push_back(c);
    return out.empty() ? "KibFont" : out.substr(0, 63);
}

std::string PostScriptName(const std::string& d, const Table& name)
{
    if (name.length < 6)
        return {};
    const size_t count = U16(d, name.offset + 2), strings = name.offset + U16(d, name.offset + 4);
    for (size_t i = 0; i < count && name.offset + 6 + (i + 1) * 12 <= name.offset + name.length; ++i) {
        const size_t rec = name.offset + 6 + i * 12;
        const int platform = U16(d, rec), id = U16(d, rec + 6);
        const size_t length = U16(d, rec + 8), at = strings + U16(d, rec + 10);
        if (id != 6 || at + length > name.offset + name.length)
            continue;
        std::string text;
        if (platform == 1) {
            text = d.substr(at, length);
        } else if (platform == 3 || platform == 0) {
            for (size_t k = 0; k + 1 < length; k += 2)
                text.push_back(static_cast<char>(U16(d, at + k) < 128 ? U16(d, at + k) : '_'));
        }
        if (!text.empty())
            return text;
    }
    return {};
}

// An INDEX of a CFF table at `at`: where its data ends, or 0 where it runs
// beyond `end`; first and last of element 0 when it has one.
size_t CffIndex(const std::string& d, size_t at, size_t end, size_t* first = nullptr, size_t* last = nullptr)
{
    if (at + 2 > end)
        return 0;
    const size_t count = U16(d, at);
    if (count == 0)
        return at + 2;
    if (at + 3 > end)
        return 0;
    const size_t offSize = static_cast<unsigned char>(d[at + 2]);
    const size_t offsets = at + 3;
    if (offSize < 1 || offSize > 4 || offsets + (count + 1) * offSize > end)
        return 0;
    auto offset = [&](size_t i) {
        size_t v = 0;
        for (size_t k = 0; k < offSize; ++k)
            v = v << 8 | static_cast<unsigned char>(d[offsets + i * offSize + k]);
        return v;
    };
    const size_t base = offsets + (count + 1) * offSize - 1; // offsets count from 1
    const size_t dataEnd = base + offset(count);
    if (offset(0) != 1 || offset(count) < 1 || dataEnd > end)
        return 0;
    if (first && last) {
        *first = base + offset(0);
        *last = base + offset(1);
        if (*last < *first || *last > dataEnd)
            return 0;
    }
    return dataEnd;
}

// Whether the 'CFF ' table holds one font whose glyphs are named, not keyed
// by CIDs: then a CIDFontType0 selects its glyphs by glyph id, the codes
// Kib writes. A CID-keyed font maps CIDs through its charset instead.
bool NameKeyedCff(const std::string& d, const Table& cff, std::string* why)
{
    const size_t end = cff.offset + cff.length;
    if (cff.length < 4 || d[cff.offset] != 1)
        return Fail(why, "not a CFF table of version 1");
    const size_t names = cff.offset + static_cast<unsigned char>(d[cff.offset + 2]);
    const size_t topDicts = CffIndex(d, names, end);
    if (topDicts == 0 || U16(d, names) != 1)
        return Fail(why, "a CFF table of other than one font");
    size_t at = 0, dictEnd = 0;
    if (CffIndex(d, topDicts, end, &at, &dictEnd) == 0 || U16(d, topDicts) != 1)
        return Fail(why, "a CFF table without its top dictionary");
    // Operands are skipped by their lead byte; ROS (12 30) comes first in a
    // CID-keyed font, but any position counts.
    while (at < dictEnd) {
        const int b = static_cast<unsigned char>(d[at]);
        if (b == 12) {
            if (at + 1 < dictEnd && static_cast<unsigned char>(d[at + 1]) == 30)
                return Fail(why, "CID-keyed CFF outlines");
            at += 2;
        } else if (b <= 21 || (b >= 32 && b <= 246)) {
            at += 1;
        } else if (b >= 247 && b <= 254) {
            at += 2;
        } else if (b == 28) {
            at += 3;
        } else if (b == 29) {
            at += 5;
        } else if (b == 30) { // a real: nibbles up to one of 0xF
            ++at;
            while (at < dictEnd && (d[at] & 0x0F) != 0x0F && (d[at] & 0xF0) != 0xF0)
                ++at;
            ++at;
        } else {
            return Fail(why, "a CFF top dictionary that cannot be read");
        }
    }
    return true;
}

void AppendHex4(std::string& out, unsigned value)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    out.push_back(kHex[value >> 12 & 15]);
    out.push_back(kHex[value >> 8 & 15]);
    out.push_back(kHex[value >> 4 & 15]);
    out.push_back(kHex[value & 15]);
}

void AppendUtf16Hex(std::string& out, char32_t c)
{
    if (c >= 0x10000) {
        c -= 0x10000;
        AppendHex4(out, 0xD800 + static_cast<unsigned>(c >> 10));
        AppendHex4(out, 0xDC00 + static_cast<unsigned>(c & 0x3FF));
    } else {
        AppendHex4(out, static_cast<unsigned>(c));
    }
}

// Text as a UTF-16BE hex string with its byte-order mark.
std::string TextString(std::string_view utf8)
{
    std::string out = "<FEFF";
    const char* s = utf8.data();
    const int length = static_cast<int>(utf8.size());
    for (int i = 0; i < length;) {
        int n = 1;
        AppendUtf16Hex(out, utf8::Decode(s, length, i, n));
        i += std::max(1, n);
    }
    return out + ">";
}

} // namespace

double FontFace::Width(uint16_t glyph) const
{
    if (advances.empty())
        return 0;
    const uint16_t units = advances[std::min<size_t>(glyph, advances.size() - 1)];
    return units * 1000.0 / unitsPerEm;
}

bool ParseFont(std::string data, FontFace& face, std::string* why)
{
    const std::string& d = data;
    if (d.size() < 12)
        return Fail(why, "too short for a font");
    const uint32_t version = U32(d, 0);
    const bool cff = version == 0x4F54544F; // 'OTTO'
    if (version != 0x00010000 && version != 0x74727565 && !cff) // 'true'
        return Fail(why, "not a TrueType or OpenType font file");
    const size_t tables = U16(d, 4);
    if (12 + tables * 16 > d.size())
        return Fail(why, "table directory beyond the file");
    std::map<std::string, Table> dir;
    for (size_t i = 0; i < tables; ++i) {
        const size_t rec = 12 + i * 16;
        const Table t{U32(d, rec + 8), U32(d, rec + 12)};
        if (t.offset > d.size() || t.length > d.size() - t.offset)
            return Fail(why, "a table beyond the file");
        dir[d.substr(rec, 4)] = t;
    }
    if (cff) {
        const auto outlines = dir.find("CFF ");
        if (outlines == dir.end())
            return Fail(why, "no CFF table (CFF2 outlines?)");
        if (!NameKeyedCff(d, outlines->second, why))
            return false;
    }
    for (const char* required : {"head", "hhea", "hmtx", "maxp"})
        if (!dir.count(required))
            return Fail(why, "a font table is missing");
    if (!cff && (!dir.count("glyf") || !dir.count("loca")))
        return Fail(why, "a TrueType table is missing");
    const Table head = dir["head"], hhea = dir["hhea"], hmtx = dir["hmtx"], maxp = dir["maxp"];
    if (head.length < 54 || hhea.length < 36 || maxp.length < 6)
        return Fail(why, "a font table is too short");
    face.unitsPerEm = U16(d, head.offset + 18);
    if (face.unitsPerEm < 16)
        return Fail(why, "bad units per em");
    face.xMin = S16(d, head.offset + 36);
    face.yMin = S16(d, head.offset + 38);
    face.xMax = S16(d, head.offset + 40);
    face.yMax = S16(d, head.offset + 42);
    face.ascent = S16(d, hhea.offset + 4);
    face.descent = S16(d, hhea.offset + 6);
    face.capHeight = face.ascent;
    if (auto os2 = dir.find("OS/2"); os2 != dir.end() && os2->second.length >= 90 && U16(d, os2->second.offset) >= 2)
        face.capHeight = S16(d, os2->second.offset + 88);
    if (auto post = dir.find("post"); post != dir.end() && post->second.length >= 16) {
        face.italicAngle = static_cast<int>(std::lround(static_cast<int32_t>(U32(d, post->second.offset + 4)) / 65536.0));
        face.fixedPitch = U32(d, post->second.offset + 12) != 0;
    }
    face.glyphCount = U16(d, maxp.offset + 4);
    const size_t metrics = U16(d, hhea.offset + 34);
    if (metrics == 0 || metrics * 4 > hmtx.length)
        return Fail(why, "bad horizontal metrics");
    face.advances.resize(metrics);
    for (size_t g = 0; g < metrics; ++g)
        face.advances[g] = U16(d, hmtx.offset + g * 4);
    if (auto name = dir.find("name"); name != dir.end())
        face.postScriptName = NameOf(PostScriptName(d, name->second));
    else
        face.postScriptName = NameOf("");
    face.cff = cff;
    face.data = std::move(data);
    return true;
}

bool LoadFont(const std::string& path, FontFace& face, std::string* why)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Fail(why, "the font file cannot be read");
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return Fail(why, "the font file cannot be read");
    return ParseFont(std::move(data), face, why);
}

CPdfTextWriter::CPdfTextWriter(const FontFace& face, double widthPt, double heightPt, double unitsPerInch,
                               double fontSize, double horizontalScale)
    : m_face(face), m_widthPt(widthPt), m_heightPt(heightPt), m_scale(72.0 / unitsPerInch),
      m_fontSize(fontSize * 72.0 / unitsPerInch), m_hscale(horizontalScale)
{
    // The high-bit comment line marks the file as binary for transports.
    // OpenType font files came with PDF 1.6.
    m_out = face.cff ? "%PDF-1.6\n" : "%PDF-1.4\n";
    m_out += "%\xE2\xE3\xCF\xD3\n";
    m_pagesObject = NewObject();
    m_fontObject = NewObject();
    m_unicodeOf.assign(65536, 0);
}

int CPdfTextWriter::NewObject()
{
    m_offsets.push_back(0);
    return static_cast<int>(m_offsets.size());
}

void CPdfTextWriter::AppendNumber(std::string& out, double value)
{
    // Thousandths of a point are far below anything a printer resolves.
    const double rounded = std::round(value * 1000.0) / 1000.0;
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, rounded == 0 ? 0.0 : rounded,
                                   std::chars_format::fixed, 3);
    if (ec != std::errc()) {
        out += '0';
        return;
    }
    char* last = end;
    while (last > buffer && last[-1] == '0')
        --last;
    if (last > buffer && last[-1] == '.')
        --last;
    out.append(buffer, last);
}

bool CPdfTextWriter::AddPage(const std::vector<Glyph>& glyphs)
{
    std::string& c = m_content;
    c.clear();
    c += "BT\n/F1 ";
    AppendNumber(c, m_fontSize);
    c += " Tf\n";
    if (std::abs(m_hscale - 1.0) > 1e-9) {
        AppendNumber(c, m_hscale * 100.0);
        c += " Tz\n";
    }
    // Within a run the pen follows the glyphs' advances; where a glyph is
    // not where the pen stands, the string carries the difference.
    const double advancePerUnit = m_fontSize * m_hscale / 1000.0;
    double penX = 0, runY = 0;
    bool inRun = false, inString = false;
    for (const Glyph& g : glyphs) {
        if (m_unicodeOf[g.id] == 0)
            m_unicodeOf[g.id] = g.ch;
        else if (m_unicodeOf[g.id] != g.ch)
            return false; // one glyph code could not read back as two characters
        const double x = g.x * m_scale, y = m_heightPt - g.y * m_scale;
        if (!inRun || std::abs(y - runY) > 1e-6) {
            if (inRun)
                c += inString ? ">]TJ\n" : "]TJ\n";
            c += "1 0 0 1 ";
            AppendNumber(c, x);
            c += ' ';
            AppendNumber(c, y);
            c += " Tm[<";
            inRun = inString = true;
            penX = x;
            runY = y;
        } else if (const double gap = x - penX; std::abs(gap) > 0.0005) {
            if (inString)
                c += '>';
            AppendNumber(c, -gap / advancePerUnit);
            c += '<';
            inString = true;
            penX = x;
        }
        AppendHex4(c, g.id);
        penX += m_face.Width(g.id) * advancePerUnit;
    }
    if (inRun)
        c += inString ? ">]TJ\n" : "]TJ\n";
    c += "ET\n";

    const int content = NewObject();
    m_offsets[static_cast<size_t>(content - 1)] = m_out.size();
    m_out += std::to_string(content) + " 0 obj\n<</Length " + std::to_string(c.size()) + ">>\nstream\n";
    m_out += c;
    m_out += "endstream\nendobj\n";
    const int page = NewObject();
    m_offsets[static_cast<size_t>(page - 1)] = m_out.size();
    m_out += std::to_string(page) + " 0 obj\n<</Type/Page/Parent " + std::to_string(m_pagesObject) +
             " 0 R/MediaBox[0 0 ";
    AppendNumber(m_out, m_widthPt);
    m_out += ' ';
    AppendNumber(m_out, m_heightPt);
    m_out += "]/Resources<</Font<</F1 " + std::to_string(m_fontObject) + " 0 R>>>>/Contents " +
             std::to_string(content) + " 0 R>>\nendobj\n";
    m_pageObjects.push_back(page);
    return true;
}

std::string CPdfTextWriter::Finish(std::string_view title, std::time_t created)
{
    auto begin = [this](int object) {
        m_offsets[static_cast<size_t>(object - 1)] = m_out.size();
        m_out += std::to_string(object) + " 0 obj\n";
    };
    auto ref = [](int object) { return std::to_string(object) + " 0 R"; };

    begin(m_pagesObject);
    m_out += "<</Type/Pages/Count " + std::to_string(m_pageObjects.size()) + "/Kids[";
    for (size_t i = 0; i < m_pageObjects.size(); ++i)
        m_out += (i ? " " : "") + ref(m_pageObjects[i]);
    m_out += "]>>\nendobj\n";

    // The glyphs used, for the widths and the ToUnicode map.
    std::vector<uint16_t> used;
    for (size_t g = 0; g < m_unicodeOf.size(); ++g)
        if (m_unicodeOf[g] != 0)
            used.push_back(static_cast<uint16_t>(g));

    const int cidFont = NewObject(), descriptor = NewObject(), file = NewObject(), toUnicode = NewObject();
    const double em = 1000.0 / m_face.unitsPerEm;
    begin(m_fontObject);
    m_out += "<</Type/Font/Subtype/Type0/BaseFont/" + m_face.postScriptName + (m_face.cff ? "-Identity-H" : "") +
             "/Encoding/Identity-H/DescendantFonts[" + ref(cidFont) + "]/ToUnicode " + ref(toUnicode) +
             ">>\nendobj\n";

    begin(cidFont);
    // A CFF font's glyphs are chosen by CID directly (glyph ids, the font
    // being name-keyed); a TrueType one's through the map.
    m_out += std::string("<</Type/Font/Subtype/") + (m_face.cff ? "CIDFontType0" : "CIDFontType2") +
             "/BaseFont/" + m_face.postScriptName +
             "/CIDSystemInfo<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>/FontDescriptor " + ref(descriptor) +
             (m_face.cff ? "" : "/CIDToGIDMap/Identity") + "/DW ";
    AppendNumber(m_out, m_face.Width(used.empty() ? 0 : used.front()));
    m_out += "/W[";
    for (uint16_t g : used) {
        m_out += std::to_string(g) + "[";
        AppendNumber(m_out, m_face.Width(g));
        m_out += "]";
    }
    m_out += "]>>\nendobj\n";

    begin(descriptor);
    // Flags: nonsymbolic, and fixed pitch where the face says so.
    m_out += "<</Type/FontDescriptor/FontName/" + m_face.postScriptName +
             "/Flags " + std::to_string(32 | (m_face.fixedPitch ? 1 : 0)) + "/FontBBox[";
    AppendNumber(m_out, m_face.xMin * em);
    m_out += ' ';
    AppendNumber(m_out, m_face.yMin * em);
    m_out += ' ';
    AppendNumber(m_out, m_face.xMax * em);
    m_out += ' ';
    AppendNumber(m_out, m_face.yMax * em);
    m_out += "]/ItalicAngle " + std::to_string(m_face.italicAngle) + "/Ascent ";
    AppendNumber(m_out, m_face.ascent * em);
    m_out += "/Descent ";
    AppendNumber(m_out, m_face.descent * em);
    m_out += "/CapHeight ";
    AppendNumber(m_out, m_face.capHeight * em);
    m_out += (m_face.cff ? "/StemV 80/FontFile3 " : "/StemV 80/FontFile2 ") + ref(file) + ">>\nendobj\n";

    begin(file);
    if (m_face.cff)
        m_out += "<</Subtype/OpenType/Length " + std::to_string(m_face.data.size()) + ">>\nstream\n";
    else
        m_out += "<</Length " + std::to_string(m_face.data.size()) + "/Length1 " +
                 std::to_string(m_face.data.size()) + ">>\nstream\n";
    m_out += m_face.data;
    m_out += "\nendstream\nendobj\n";

    std::string cmap = "/CIDInit/ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                       "/CIDSystemInfo<</Registry(Adobe)/Ordering(UCS)/Supplement 0>>def\n"
                       "/CMapName/Adobe-Identity-UCS def\n/CMapType 2 def\n"
                       "1 begincodespacerange\n<0000><FFFF>\nendcodespacerange\n";
    for (size_t i = 0; i < used.size(); i += 100) {
        const size_t n = std::min<size_t>(100, used.size() - i);
        cmap += std::to_string(n) + " beginbfchar\n";
        for (size_t k = i; k < i + n; ++k) {
            cmap += '<';
            AppendHex4(cmap, used[k]);
            cmap += "><";
            AppendUtf16Hex(cmap, m_unicodeOf[used[k]]);
            cmap += ">\n";
        }
        cmap += "endbfchar\n";
    }
    cmap += "endcmap\nCMapName currentdict/CMap defineresource pop\nend\nend\n";
    begin(toUnicode);
    m_out += "<</Length " + std::to_string(cmap.size()) + ">>\nstream\n" + cmap + "endstream\nendobj\n";

    const int info = NewObject();
    begin(info);
    std::tm utc{};
    gmtime_r(&created, &utc);
    char date[32];
    std::strftime(date, sizeof date, "D:%Y%m%d%H%M%S+00'00'", &utc);
    m_out += "<</Producer(Kib)/Title" + TextString(title) + "/CreationDate(" + date + ")>>\nendobj\n";

    const int catalog = NewObject();
    begin(catalog);
    m_out += "<</Type/Catalog/Pages " + ref(m_pagesObject) + ">>\nendobj\n";

    const size_t xref = m_out.size();
    m_out += "xref\n0 " + std::to_string(m_offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : m_offsets) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        m_out += entry;
    }
    m_out += "trailer\n<</Size " + std::to_string(m_offsets.size() + 1) + "/Root " + ref(catalog) + "/Info " +
             ref(info) + ">>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return std::move(m_out);
}

} // namespace pdf
