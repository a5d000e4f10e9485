#include "workspace/FileFilter.h"

namespace {

bool IsWhite(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool Same(char a, char b)
{
    return FoldAscii(a) == FoldAscii(b);
}

} // namespace

void CFileFilter::Set(std::string_view filter)
{
    m_pieces.clear();
    while (!filter.empty() && IsWhite(filter.front()))
        filter.remove_prefix(1);
    while (!filter.empty() && IsWhite(filter.back()))
        filter.remove_suffix(1);

    // Pieces between runs of commas; a leading or trailing run leaves an
    // empty piece at that end.
    std::vector<std::string_view> split;
    size_t start = 0;
    for (;;) {
        const size_t comma = filter.find(',', start);
        if (comma == std::string_view::npos) {
            split.push_back(filter.substr(start));
            break;
        }
        split.push_back(filter.substr(start, comma - start));
        start = filter.find_first_not_of(',', comma);
        if (start == std::string_view::npos) {
            split.push_back(std::string_view());
            break;
        }
    }
    for (auto it = split.rbegin(); it != split.rend(); ++it) {
        std::string_view piece = *it;
        while (!piece.empty() && IsBlank(piece.front()))
            piece.remove_prefix(1);
        while (!piece.empty() && IsBlank(piece.back()))
            piece.remove_suffix(1);
        if (piece.empty())
            break;
        m_pieces.emplace_back(piece);
    }
}

bool CFileFilter::Matches(std::string_view fileName) const
{
    for (const std::string& piece : m_pieces)
        if (MatchPiece(fileName, piece))
            return true;
    return false;
}

// One pass over name and piece, without backtracking: a "*" is settled by
// the next piece character and by whether a dot is left in the name.
bool CFileFilter::MatchPiece(std::string_view name, std::string_view piece)
{
    size_t i = 0, j = 0;
    for (;;) {
        if (i == name.size())
            return j == piece.size();
        if (j < piece.size() && (Same(name[i], piece[j]) || piece[j] == '?')) {
            ++i;
            ++j;
            continue;
        }
        if (j == piece.size() || piece[j] != '*')
            return false;
        const bool dotLeft = name.find('.', i) != std::string_view::npos;
        const bool last = j + 1 == piece.size();
        if (!dotLeft) {
            if (last)
                return true;
            const char next = piece[j + 1];
            while (i < name.size() && !Same(name[i], next))
                ++i;
            if (i == name.size())
                return false;
            ++j;
        } else if (last && piece.substr(0, j).find('.') != std::string_view::npos) {
            // A final "*" behind the piece's dot stands for the rest of the
            // name, dots included: "*.*" takes a.b.c, every name with a dot.
            return true;
        } else if (!last && piece[j + 1] == '.') {
            i = name.find('.', i);
            ++j;
        } else {
            // Without a next character nothing is equal to it: the skip ends
            // at the dot with no match.
            const char next = last ? '\0' : piece[j + 1];
            while (i < name.size() && name[i] != '.' && (last || !Same(name[i], next)))
                ++i;
            if (i == name.size() || name[i] == '.')
                return false;
            ++j;
        }
    }
}
