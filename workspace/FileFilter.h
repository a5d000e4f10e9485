// The file-name filter of find in files: a comma-separated list of patterns
// with "*" and "?", where "*" stops at dots ("*" matches names without a dot,
// "*.*" names with one or more, "*.java" A.java but not A.b.java).
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CFileFilter {
public:
    CFileFilter() = default;
    explicit CFileFilter(std::string_view filter) { Set(filter); }

    // Trims the filter of white space, splits it at runs of commas and trims
    // each piece of blanks. Any length is accepted.
    void Set(std::string_view filter);

    // The pieces are tried from the last to the first, up to the first empty
    // one: a filter that ends in a comma, or is empty, matches nothing.
    bool Matches(std::string_view fileName) const;

    // The pieces in the order they are tried.
    const std::vector<std::string>& Pieces() const { return m_pieces; }

    // One piece against a file name (without its folder); ASCII letters are
    // compared without regard to case.
    static bool MatchPiece(std::string_view name, std::string_view piece);

private:
    std::vector<std::string> m_pieces;
};
