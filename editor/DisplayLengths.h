// The display length (columns after tab expansion) of every line of a view,
// computed when first asked and kept across edits, and the longest of them
// for the horizontal scroll bar, kept without a walk over every line where
// an edit allows it.
#pragma once

#include "editor/TextChange.h"
#include "editor/TextLines.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CDisplayLengths {
public:
    explicit CDisplayLengths(const ITextLines& text) : m_text(text) {}

    // A new tab width drops every length.
    void SetTabWidth(int width);
    int TabWidth() const { return m_tabWidth; }

    // Forgets everything (a new text).
    void Clear();
    // Columns of the whole line; 0 outside the text.
    int Get(int line);
    int Max();

    // After a change inside one line (line counts as they are now).
    void LineChanged(int line);
    // After any other change from line on; change, when given, lets the kept
    // lengths move with the inserted or deleted lines.
    void LinesChanged(const TextChange* change, int line);

    // From this many lines on, the longest is searched on two cores.
    static constexpr int kParallelFrom = 1 << 17;

    size_t Memory() const { return m_lengths.capacity() * sizeof(int32_t); }

private:
    void Resize();
    void Forget(int line);
    int Measure(int line, TextEncoding encoding) const;
    // Fills the unknown lengths of lines from..to-1 and returns their longest.
    int ScanRange(int from, int to, TextEncoding encoding);

    const ITextLines& m_text;
    int m_tabWidth = 4;
    std::vector<int32_t> m_lengths; // -1: not known yet
    int m_max = -1;                 // -1: not known yet
};
