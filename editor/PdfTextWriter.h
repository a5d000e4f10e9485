// A PDF of text pages in one face: the face's file embedded whole (TrueType
// as FontFile2, OpenType with CFF outlines as FontFile3) under a Type0 font
// with Identity-H glyph codes, a ToUnicode
// map of the glyphs used so that the text can be read back, one content
// stream per page, uncompressed. What printing needs and nothing more; much
// cheaper than a general PDF surface, which subsets and deflates fonts.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace pdf {

// The tables of a font file the writer needs: TrueType ('glyf' outlines) or
// OpenType with a name-keyed 'CFF ' table, whose glyph ids serve as CIDs.
struct FontFace {
    std::string data; // the whole file
    bool cff = false;
    int unitsPerEm = 1000;
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    int ascent = 0, descent = 0, capHeight = 0;
    int italicAngle = 0;
    bool fixedPitch = false;
    std::string postScriptName;
    std::vector<uint16_t> advances; // by glyph, in font units
    int glyphCount = 0;

    // Advance of a glyph in thousandths of the em.
    double Width(uint16_t glyph) const;
};

// Parses data as one of those; false, with the reason, for anything else
// (CFF2 or CID-keyed CFF outlines, collections, truncated or inconsistent
// tables).
bool ParseFont(std::string data, FontFace& face, std::string* why = nullptr);
bool LoadFont(const std::string& path, FontFace& face, std::string* why = nullptr);

// One glyph at its origin on the baseline, in device units from the page's
// top left corner.
struct Glyph {
    uint16_t id = 0;
    char32_t ch = 0; // the character it shows, for the ToUnicode map
    double x = 0, y = 0;
};

class CPdfTextWriter {
public:
    // Pages of widthPt by heightPt; glyph positions in units of which
    // unitsPerInch make an inch. Text of fontSize units, its advances
    // stretched by horizontalScale.
    CPdfTextWriter(const FontFace& face, double widthPt, double heightPt, double unitsPerInch,
                   double fontSize, double horizontalScale);

    // A page with glyphs, in reading order (a run of glyphs on one baseline
    // becomes one string). False when a glyph stands for another
    // character than before (its code would read back as only one of them);
    // the document is then of no use.
    bool AddPage(const std::vector<Glyph>& glyphs);
    int PageCount() const { return static_cast<int>(m_pageObjects.size()); }

    // The whole file; title and created go into the document information.
    std::string Finish(std::string_view title, std::time_t created);

private:
    int NewObject(); // its number, starting at the current end of the file
    void AppendNumber(std::string& out, double value);

    const FontFace& m_face;
    double m_widthPt, m_heightPt, m_scale, m_fontSize, m_hscale;
    std::string m_out;
    std::vector<size_t> m_offsets; // by object number - 1
    std::vector<int> m_pageObjects;
    int m_pagesObject = 0, m_fontObject = 0;
    std::vector<char32_t> m_unicodeOf; // by glyph, 0: unused
    std::string m_content;             // the page being written
};

} // namespace pdf
