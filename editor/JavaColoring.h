// Java syntax colouring: the colour classes every painter uses, the line
// state that carries comments and literals from one line to the next, and
// the classifier that turns one line into colour runs.
#pragma once

#include <cstdint>
#include <vector>

// Colour classes.
enum : int {
    CI_WHITESPACE = 0,     // a run that starts at white space inside code (colours of CI_WND)
    CI_WND = 1,            // ordinary text; the window background
    CI_MARGIN = 2,         // selection margin and line numbers
    CI_SELECTION = 3,      // selected text
    CI_KEYWORD = 4,
    CI_FUNCTION = 5,       // identifier followed by "("
    CI_COMMENT = 6,        // "//" to the end of the line
    CI_COMMENTMULTI = 7,   // "/*" ... "*/"
    CI_COMMENTJAVADOC = 8, // "/**" ... "*/"
    CI_NUMBER = 9,
    CI_OPERATOR = 10,
    CI_STRING = 11,        // string and character literals, quotes included
    CI_DIRECTIVE = 12,     // a line whose first non-blank character is "#"
    CI_BRACEMATCH = 13,    // the partner of the brace at the caret
    CI_COLUMNGUIDE = 20,
};

// The state at the end of a line; the state before line 0 is 0.
using LineState = uint32_t;
inline constexpr LineState ST_LINECOMMENT = 0x0001; // continued only after a trailing backslash
inline constexpr LineState ST_DIRECTIVE = 0x0002;
inline constexpr LineState ST_BLOCKCOMMENT = 0x0004;
inline constexpr LineState ST_STRING = 0x0008;
inline constexpr LineState ST_CHAR = 0x0010;
inline constexpr LineState ST_JAVADOC = 0x0100;
inline constexpr LineState ST_ALL = 0x011F;
inline constexpr LineState LINESTATE_UNKNOWN = 0xFFFFFFFF;

// A colour run: it lasts from start to the next run's start (or the line end).
struct ColorBlock {
    int32_t start;
    int32_t colorClass;
};

class CJavaColoring {
public:
    // Room a caller should give ClassifyLine for a line of length n.
    static constexpr int RunCapacityFor(int n) { return 3 * n + 4; }

    // Classifies one line, starting in state (the state at the end of the
    // previous line). With runs, appends colour runs in order of their start
    // (at most runCapacity; a run starting before the previous one is
    // dropped); without (runs null), only the state is computed, which is
    // the same. Returns the state at the end of the line.
    static LineState ClassifyLine(LineState state, const char* chars, int length, ColorBlock* runs,
                                  int runCapacity, int& runCount);
    // State only.
    static LineState ClassifyLine(LineState state, const char* chars, int length)
    {
        int n;
        return ClassifyLine(state, chars, length, nullptr, 0, n);
    }
    // Runs into a vector (resized to the runs found).
    static LineState ClassifyLine(LineState state, const char* chars, int length,
                                  std::vector<ColorBlock>& runs);

    // One of the 51 keywords (compared case-sensitively, whole token).
    static bool IsKeyword(const char* chars, int length);
    // "0x" followed by hex digits, or a decimal digit followed by digits and
    // "+", "-", ".", "E", "e". 0X1F, 10L and 1.5f are not numbers.
    static bool IsNumberToken(const char* chars, int length);
};
