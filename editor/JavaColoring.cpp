#include "editor/JavaColoring.h"

#include <cstring>

namespace {

enum : uint8_t {
    kSpace = 1,  // 0x20 and 0x09-0x0D
    kIdent = 2,  // letters, digits, "_", 0x80-0xFF
    kLetter = 4, // letters, "_", 0x80-0xFF
};

struct CharTable {
    uint8_t bits[256];
    constexpr CharTable() : bits()
    {
        for (int c = 0; c < 256; ++c) {
            uint8_t b = 0;
            if (c == 0x20 || (c >= 0x09 && c <= 0x0D))
                b |= kSpace;
            bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
            if (letter)
                b |= kLetter | kIdent;
            if (c >= '0' && c <= '9')
                b |= kIdent;
            bits[c] = b;
        }
    }
};
constexpr CharTable kChars;

inline uint8_t Bits(const char* c, int n, int i)
{
    // Outside the line there is no character of any kind.
    return (i < 0 || i >= n) ? 0 : kChars.bits[static_cast<unsigned char>(c[i])];
}

inline bool IsSpace(const char* c, int n, int i) { return Bits(c, n, i) & kSpace; }
inline bool IsIdent(const char* c, int n, int i) { return Bits(c, n, i) & kIdent; }
inline bool IsLetter(const char* c, int n, int i) { return Bits(c, n, i) & kLetter; }
inline bool Is(const char* c, int n, int i, char ch) { return i >= 0 && i < n && c[i] == ch; }

// "." between two characters that are not letter-like belongs to a number.
inline bool IsNumberDot(const char* c, int n, int i)
{
    return Is(c, n, i, '.') && i > 0 && !IsLetter(c, n, i - 1) && !IsLetter(c, n, i + 1);
}

constexpr const char* kKeywords[] = {
    "abstract", "default",  "goto",      "null",     "synchronized", "boolean",    "do",
    "if",       "package",  "this",      "break",    "double",       "implements", "private",
    "threadsafe", "byte",   "else",      "import",   "protected",    "throw",      "byvalue",
    "extends",  "instanceof", "public",  "transient", "case",        "false",      "int",
    "return",   "true",     "catch",     "final",    "interface",    "short",      "try",
    "char",     "finally",  "long",      "static",   "void",         "class",      "float",
    "native",   "super",    "while",     "const",    "for",          "new",        "switch",
    "continue", "throws",
};
static_assert(sizeof(kKeywords) / sizeof(kKeywords[0]) == 51);

struct RunSink {
    ColorBlock* runs;
    int capacity;
    int count = 0;

    void Add(int start, int cls)
    {
        if (count > 0 && runs[count - 1].start > start)
            return;
        if (count < capacity)
            runs[count++] = {start, cls};
    }
};

// The keywords grouped by length, so that a token is compared only with the
// few entries of its own length.
struct KeywordIndex {
    static constexpr int kMaxLength = 12;
    const char* byLength[kMaxLength + 1][16] = {};
    int count[kMaxLength + 1] = {};
    constexpr KeywordIndex()
    {
        for (const char* kw : kKeywords) {
            int n = 0;
            while (kw[n])
                ++n;
            byLength[n][count[n]++] = kw;
        }
    }
};
constexpr KeywordIndex kKeywordIndex;

// Bytes that matter to the state inside code when no runs are wanted.
struct StateOnlyTable {
    bool stop[256];
    constexpr StateOnlyTable() : stop()
    {
        stop[static_cast<unsigned char>('/')] = stop[static_cast<unsigned char>('"')] =
            stop[static_cast<unsigned char>('\'')] = true;
    }
};
constexpr StateOnlyTable kStateOnly;

inline int Find(const char* c, int n, int i, char ch)
{
    const void* p = std::memchr(c + i, ch, static_cast<size_t>(n - i));
    return p ? static_cast<int>(static_cast<const char*>(p) - c) : n;
}

// Moves i past a stretch of positions whose only effect on the classifier is
// known in advance (nothing pending): the inside of literals and comments up
// to a possible end, identifiers and blanks in code. Returns the next position
// that needs the full rules; the flags are updated as those positions would
// have updated them.
inline int Skip(LineState s, const char* c, int n, int i, bool withRuns, int& tokenStart, bool& lineStart,
                bool& openedComment, bool& openedJavadoc)
{
    if (s & ST_LINECOMMENT)
        return i;
    if (s & (ST_STRING | ST_CHAR))
        return Find(c, n, i, (s & ST_STRING) ? '"' : '\'');
    if (s & (ST_BLOCKCOMMENT | ST_JAVADOC)) {
        const int j = Find(c, n, i, '/');
        if (j > i) {
            if (s & ST_BLOCKCOMMENT)
                openedComment = false;
            else
                openedJavadoc = false;
        }
        return j;
    }
    // In code, "/" followed by "/" or "*" must be seen as a pair.
    if (i > 0 && c[i - 1] == '/')
        return i;
    if (s & ST_DIRECTIVE)
        return Find(c, n, i, '/');
    int j = i;
    if (!withRuns) {
        if (lineStart)
            return i;
        while (j < n && !kStateOnly.stop[static_cast<unsigned char>(c[j])])
            ++j;
    } else if (kChars.bits[static_cast<unsigned char>(c[i])] & kIdent) {
        while (j < n && (kChars.bits[static_cast<unsigned char>(c[j])] & kIdent))
            ++j;
        if (tokenStart == -1)
            tokenStart = i;
        lineStart = false;
    } else if (tokenStart == -1) {
        while (j < n && (kChars.bits[static_cast<unsigned char>(c[j])] & kSpace))
            ++j;
    }
    if (j > i)
        openedComment = openedJavadoc = false;
    return j;
}

} // namespace

bool CJavaColoring::IsKeyword(const char* chars, int length)
{
    if (length < 2 || length > KeywordIndex::kMaxLength || chars[0] < 'a' || chars[0] > 'w')
        return false;
    for (int i = 0; i < kKeywordIndex.count[length]; ++i) {
        const char* kw = kKeywordIndex.byLength[length][i];
        if (kw[0] == chars[0] && std::memcmp(kw, chars, static_cast<size_t>(length)) == 0)
            return true;
    }
    return false;
}

bool CJavaColoring::IsNumberToken(const char* chars, int length)
{
    if (length <= 0)
        return false;
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (length > 2 && chars[0] == '0' && chars[1] == 'x') {
        for (int i = 2; i < length; ++i) {
            char c = chars[i];
            if (!digit(c) && !(c >= 'A' && c <= 'F') && !(c >= 'a' && c <= 'f'))
                return false;
        }
        return true;
    }
    if (!digit(chars[0]))
        return false;
    for (int i = 1; i < length; ++i) {
        char c = chars[i];
        if (!digit(c) && c != '+' && c != '-' && c != '.' && c != 'E' && c != 'e')
            return false;
    }
    return true;
}

LineState CJavaColoring::ClassifyLine(LineState state, const char* chars, int length,
                                      std::vector<ColorBlock>& runs)
{
    runs.resize(static_cast<size_t>(RunCapacityFor(length)));
    int count = 0;
    LineState s = ClassifyLine(state, chars, length, runs.data(), static_cast<int>(runs.size()), count);
    runs.resize(static_cast<size_t>(count));
    return s;
}

LineState CJavaColoring::ClassifyLine(LineState s, const char* c, int n, ColorBlock* runs,
                                      int runCapacity, int& runCount)
{
    RunSink sink{runs, runs ? runCapacity : 0};
    runCount = 0;
    if (n < 0)
        n = 0;
    bool pending = true;
    bool lookBack = false;
    bool openedComment = false;
    bool openedJavadoc = false;
    bool lineStart = (s & ~ST_BLOCKCOMMENT) == 0;
    int tokenStart = -1;
    int i = 0;

    if (n <= 1 && (s & ST_LINECOMMENT))
        return 0;

    auto classifyToken = [&](int t, int end) {
        const int k = end - t;
        if (IsKeyword(c + t, k)) {
            sink.Add(t, CI_KEYWORD);
        } else if (IsNumberToken(c + t, k)) {
            sink.Add(t, CI_NUMBER);
        } else {
            int j = end;
            while (j < n && IsSpace(c, n, j))
                ++j;
            if (Is(c, n, j, '('))
                sink.Add(t, CI_FUNCTION);
        }
    };

    for (;; ++i) {
        if (pending) {
            const int p = lookBack ? i - 1 : i;
            int cls;
            if (s & ST_LINECOMMENT)
                cls = CI_COMMENT;
            else if (s & ST_BLOCKCOMMENT)
                cls = CI_COMMENTMULTI;
            else if (s & ST_JAVADOC)
                cls = CI_COMMENTJAVADOC;
            else if (s & (ST_STRING | ST_CHAR))
                cls = CI_STRING;
            else if (s & ST_DIRECTIVE)
                cls = CI_DIRECTIVE;
            else if (IsSpace(c, n, p))
                cls = CI_WHITESPACE;
            else if (IsIdent(c, n, p) || IsNumberDot(c, n, p))
                cls = CI_WND;
            else
                cls = CI_OPERATOR;
            if (runs)
                sink.Add(p, cls);
            // After an operator the position is looked at once more, so that
            // a comment or literal starting there takes over its run.
            pending = lookBack = cls == CI_OPERATOR;
        } else if (i < n) {
            i = Skip(s, c, n, i, runs != nullptr, tokenStart, lineStart, openedComment, openedJavadoc);
        }
        if (i == n)
            break;
        if (s & ST_LINECOMMENT) {
            if (runs)
                sink.Add(i, CI_COMMENT);
            break;
        }
        if (s & (ST_STRING | ST_CHAR)) {
            const char quote = (s & ST_STRING) ? '"' : '\'';
            if (c[i] == quote) {
                bool escaped = (i == 1 && c[0] == '\\') || (i >= 2 && c[i - 1] == '\\' && c[i - 2] != '\\');
                if (!escaped) {
                    s &= ~((s & ST_STRING) ? ST_STRING : ST_CHAR);
                    pending = true;
                }
            }
            continue;
        }
        if (s & ST_BLOCKCOMMENT) {
            if ((i >= 2 && c[i] == '/' && c[i - 1] == '*' && !openedComment) ||
                (i == 1 && c[1] == '/' && c[0] == '*')) {
                s &= ~ST_BLOCKCOMMENT;
                pending = true;
            }
            openedComment = false;
            continue;
        }
        if (s & ST_JAVADOC) {
            if ((i >= 2 && c[i] == '/' && c[i - 1] == '*' && !openedJavadoc) ||
                (i == 1 && c[1] == '/' && c[0] == '*')) {
                s &= ~ST_JAVADOC;
                pending = true;
            }
            openedJavadoc = false;
            continue;
        }
        // Code, or a directive line.
        if (i >= 1 && c[i] == '/' && c[i - 1] == '/') {
            if (runs)
                sink.Add(i - 1, CI_COMMENT);
            s |= ST_LINECOMMENT;
            break;
        }
        if (s & ST_DIRECTIVE) {
            if (i >= 1 && c[i] == '*' && c[i - 1] == '/') {
                if (runs)
                    sink.Add(i - 1, CI_COMMENTMULTI);
                s |= ST_BLOCKCOMMENT;
            }
            continue;
        }
        if (c[i] == '"') {
            if (runs)
                sink.Add(i, CI_STRING);
            s |= ST_STRING;
            continue;
        }
        if (c[i] == '\'' && (i == 0 || !IsIdent(c, n, i - 1))) {
            if (runs)
                sink.Add(i, CI_STRING);
            s |= ST_CHAR;
            continue;
        }
        if (i >= 1 && c[i] == '*' && c[i - 1] == '/') {
            if (Is(c, n, i + 1, '*')) {
                if (runs)
                    sink.Add(i - 1, CI_COMMENTJAVADOC);
                s |= ST_JAVADOC;
                openedJavadoc = true;
            } else {
                if (runs)
                    sink.Add(i - 1, CI_COMMENTMULTI);
                s |= ST_BLOCKCOMMENT;
                openedComment = true;
            }
            continue;
        }
        openedComment = openedJavadoc = false;
        if (lineStart) {
            if (c[i] == '#') {
                if (runs)
                    sink.Add(i, CI_DIRECTIVE);
                s |= ST_DIRECTIVE;
                continue;
            }
            if (!IsSpace(c, n, i))
                lineStart = false;
        }
        if (!runs)
            continue;
        if (IsIdent(c, n, i) || IsNumberDot(c, n, i)) {
            if (tokenStart == -1)
                tokenStart = i;
            continue;
        }
        if (tokenStart >= 0) {
            classifyToken(tokenStart, i);
            pending = lookBack = true;
            tokenStart = -1;
        }
    }
    if (runs && tokenStart >= 0)
        classifyToken(tokenStart, i);

    runCount = sink.count;
    if (n > 0 && c[n - 1] != '\\' && (s & ST_LINECOMMENT))
        return 0;
    return s;
}
