// The Java line classifier's rules written out step by step, slow and plain,
// as the oracle the editor's classifier is checked against (unit tests,
// fuzzing, the JDK corpus). It shares no code with editor/JavaColoring.cpp:
// only the public names of states and classes.
#pragma once

#include "editor/JavaColoring.h"

#include <string_view>
#include <vector>

namespace reference {

// Questions about the characters of one line; a position outside the line
// holds no character and answers every question with false.
class CLineChars {
public:
    explicit CLineChars(std::string_view line) : m_line(line) {}

    int Size() const { return static_cast<int>(m_line.size()); }
    bool Inside(int i) const { return i >= 0 && i < Size(); }
    bool Equals(int i, char wanted) const { return Inside(i) && m_line[static_cast<size_t>(i)] == wanted; }

    bool Blank(int i) const
    {
        if (!Inside(i))
            return false;
        const unsigned char b = Byte(i);
        return b == ' ' || (b >= 0x09 && b <= 0x0D);
    }
    bool LetterLike(int i) const
    {
        if (!Inside(i))
            return false;
        const unsigned char b = Byte(i);
        return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b == '_' || b >= 0x80;
    }
    bool Digit(int i) const { return Inside(i) && Byte(i) >= '0' && Byte(i) <= '9'; }
    bool WordChar(int i) const { return LetterLike(i) || Digit(i); }
    // A "." that sits between two characters neither of which is letter-like
    // (and not at the line start) is part of a number.
    bool DotInNumber(int i) const { return i > 0 && Equals(i, '.') && !LetterLike(i - 1) && !LetterLike(i + 1); }
    std::string_view Piece(int from, int to) const
    {
        return m_line.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
    }

private:
    unsigned char Byte(int i) const { return static_cast<unsigned char>(m_line[static_cast<size_t>(i)]); }

    std::string_view m_line;
};

inline bool IsKeywordToken(std::string_view token)
{
    // The table, in its own order, separated by blanks.
    constexpr std::string_view table =
        "abstract default goto null synchronized boolean do if package this break double implements private "
        "threadsafe byte else import protected throw byvalue extends instanceof public transient case false "
        "int return true catch final interface short try char finally long static void class float native "
        "super while const for new switch continue throws";
    size_t at = 0;
    while (at < table.size()) {
        size_t blank = table.find(' ', at);
        if (blank == std::string_view::npos)
            blank = table.size();
        if (table.substr(at, blank - at) == token)
            return true;
        at = blank + 1;
    }
    return false;
}

inline bool IsNumberLike(std::string_view token)
{
    auto hex = [](char ch) { return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F'); };
    auto decimal = [](char ch) { return ch >= '0' && ch <= '9'; };
    if (token.size() > 2 && token[0] == '0' && token[1] == 'x') {
        for (char ch : token.substr(2))
            if (!hex(ch))
                return false;
        return true;
    }
    if (token.empty() || !decimal(token[0]))
        return false;
    for (char ch : token.substr(1))
        if (!decimal(ch) && ch != '+' && ch != '-' && ch != '.' && ch != 'E' && ch != 'e')
            return false;
    return true;
}

// One line run through the rules. Colour runs are collected only when asked
// for; a run starting before the last one kept is not taken.
class CLineOracle {
public:
    CLineOracle(LineState incoming, std::string_view line, bool wantRuns)
        : m_state(incoming), m_text(line), m_wantRuns(wantRuns)
    {
    }

    LineState Classify()
    {
        const int n = m_text.Size();
        if (n <= 1 && Has(ST_LINECOMMENT))
            return 0;
        m_atLineStart = (m_state & ~ST_BLOCKCOMMENT) == 0;
        for (int i = 0;; ++i) {
            if (m_examine)
                ExaminePosition(m_lookBack ? i - 1 : i);
            if (i == n)
                break;
            if (!Step(i))
                break;
            m_end = i + 1;
        }
        if (m_tokenFrom >= 0)
            ClassifyToken(m_tokenFrom, m_end);
        if (n > 0 && !m_text.Equals(n - 1, '\\') && Has(ST_LINECOMMENT))
            return 0;
        return m_state;
    }

    const std::vector<ColorBlock>& Runs() const { return m_runs; }

private:
    bool Has(LineState bit) const { return (m_state & bit) != 0; }

    void Append(int start, int colorClass)
    {
        if (!m_wantRuns)
            return;
        if (!m_runs.empty() && m_runs.back().start > start)
            return;
        m_runs.push_back({start, colorClass});
    }

    // Step 1: the class of the run that begins at p.
    void ExaminePosition(int p)
    {
        int cls = CI_OPERATOR;
        if (Has(ST_LINECOMMENT))
            cls = CI_COMMENT;
        else if (Has(ST_BLOCKCOMMENT))
            cls = CI_COMMENTMULTI;
        else if (Has(ST_JAVADOC))
            cls = CI_COMMENTJAVADOC;
        else if (Has(ST_STRING) || Has(ST_CHAR))
            cls = CI_STRING;
        else if (Has(ST_DIRECTIVE))
            cls = CI_DIRECTIVE;
        else if (m_text.Blank(p))
            cls = CI_WHITESPACE;
        else if (m_text.WordChar(p) || m_text.DotInNumber(p))
            cls = CI_WND;
        Append(p, cls);
        // An operator keeps the next position under examination.
        m_examine = m_lookBack = cls == CI_OPERATOR;
    }

    // Steps 3 to 8 at position i; false stops the line.
    bool Step(int i)
    {
        if (Has(ST_LINECOMMENT)) {
            Append(i, CI_COMMENT);
            return false;
        }
        if (Has(ST_STRING)) {
            LiteralEnd(i, '"', ST_STRING);
            return true;
        }
        if (Has(ST_CHAR)) {
            LiteralEnd(i, '\'', ST_CHAR);
            return true;
        }
        if (Has(ST_BLOCKCOMMENT)) {
            CommentEnd(i, ST_BLOCKCOMMENT, m_openedBlock);
            return true;
        }
        if (Has(ST_JAVADOC)) {
            CommentEnd(i, ST_JAVADOC, m_openedDoc);
            return true;
        }
        return CodeStep(i);
    }

    void LiteralEnd(int i, char quote, LineState bit)
    {
        if (!m_text.Equals(i, quote))
            return;
        bool escaped = false;
        if (i == 1)
            escaped = m_text.Equals(0, '\\');
        else if (i >= 2)
            escaped = m_text.Equals(i - 1, '\\') && !m_text.Equals(i - 2, '\\');
        if (!escaped) {
            m_state &= ~bit;
            m_examine = true;
        }
    }

    void CommentEnd(int i, LineState bit, bool& justOpened)
    {
        const bool closes = m_text.Equals(i, '/') &&
                            ((i >= 2 && m_text.Equals(i - 1, '*') && !justOpened) || (i == 1 && m_text.Equals(0, '*')));
        if (closes) {
            m_state &= ~bit;
            m_examine = true;
        }
        justOpened = false;
    }

    bool CodeStep(int i)
    {
        const bool afterSlash = i >= 1 && m_text.Equals(i - 1, '/');
        if (afterSlash && m_text.Equals(i, '/')) {
            Append(i - 1, CI_COMMENT);
            m_state |= ST_LINECOMMENT;
            return false;
        }
        if (Has(ST_DIRECTIVE)) {
            if (afterSlash && m_text.Equals(i, '*')) {
                Append(i - 1, CI_COMMENTMULTI);
                m_state |= ST_BLOCKCOMMENT;
            }
            return true;
        }
        if (m_text.Equals(i, '"')) {
            Append(i, CI_STRING);
            m_state |= ST_STRING;
            return true;
        }
        if (m_text.Equals(i, '\'') && !m_text.WordChar(i - 1)) {
            Append(i, CI_STRING);
            m_state |= ST_CHAR;
            return true;
        }
        if (afterSlash && m_text.Equals(i, '*')) {
            if (m_text.Equals(i + 1, '*')) {
                Append(i - 1, CI_COMMENTJAVADOC);
                m_state |= ST_JAVADOC;
                m_openedDoc = true;
            } else {
                Append(i - 1, CI_COMMENTMULTI);
                m_state |= ST_BLOCKCOMMENT;
                m_openedBlock = true;
            }
            return true;
        }
        m_openedBlock = m_openedDoc = false;
        if (m_atLineStart) {
            if (m_text.Equals(i, '#')) {
                Append(i, CI_DIRECTIVE);
                m_state |= ST_DIRECTIVE;
                return true;
            }
            if (!m_text.Blank(i))
                m_atLineStart = false;
        }
        if (!m_wantRuns)
            return true;
        if (m_text.WordChar(i) || m_text.DotInNumber(i)) {
            if (m_tokenFrom < 0)
                m_tokenFrom = i;
            return true;
        }
        if (m_tokenFrom >= 0) {
            ClassifyToken(m_tokenFrom, i);
            m_examine = m_lookBack = true;
            m_tokenFrom = -1;
        }
        return true;
    }

    void ClassifyToken(int from, int to)
    {
        const std::string_view token = m_text.Piece(from, to);
        if (IsKeywordToken(token)) {
            Append(from, CI_KEYWORD);
            return;
        }
        if (IsNumberLike(token)) {
            Append(from, CI_NUMBER);
            return;
        }
        int next = to;
        while (m_text.Blank(next))
            ++next;
        if (m_text.Equals(next, '('))
            Append(from, CI_FUNCTION);
    }

    LineState m_state;
    CLineChars m_text;
    bool m_wantRuns;
    std::vector<ColorBlock> m_runs;
    bool m_examine = true;
    bool m_lookBack = false;
    bool m_openedBlock = false;
    bool m_openedDoc = false;
    bool m_atLineStart = false;
    int m_tokenFrom = -1;
    int m_end = 0; // the position the loop stopped at
};

// The classifier's calling form: at most runCapacity runs are written.
inline LineState ClassifyLine(LineState state, const char* chars, int length, ColorBlock* runs, int runCapacity,
                              int& runCount)
{
    CLineOracle oracle(state, std::string_view(chars ? chars : "", static_cast<size_t>(length < 0 ? 0 : length)),
                       runs != nullptr);
    const LineState out = oracle.Classify();
    runCount = 0;
    for (const ColorBlock& run : oracle.Runs())
        if (runCount < runCapacity)
            runs[runCount++] = run;
    return out;
}

} // namespace reference
