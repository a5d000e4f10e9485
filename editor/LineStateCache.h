// The per-line cache of classifier states a view keeps: one byte per line.
// A state not yet known is found by walking back to the nearest known line
// and classifying forward without runs. A change only lowers the mark below
// which states are known (cheap even for huge texts); states after the
// change are kept as hints, so that reclassifying forward stops as soon as a
// line reaches the state it had before.
#pragma once

#include "editor/JavaColoring.h"

#include <cstdint>
#include <functional>
#include <vector>

class CTextBuffer;
class TextChange;

class CLineStateCache {
public:
    // Computes the state at the end of a line from the state before it.
    using Classifier = std::function<LineState(LineState state, const char* chars, int length)>;

    // Defaults to the Java classifier. States must use only the ST_* bits.
    CLineStateCache();
    explicit CLineStateCache(Classifier classifier);

    void SetClassifier(Classifier classifier);

    // Everything unknown, sized for lineCount lines (after NOTIFY_RESET, or
    // when a view attaches).
    void Reset(int lineCount);
    // Follows a buffer notice (the arguments of OnBufferChange and the
    // buffer's line count after the change).
    void OnBufferChange(uint32_t flags, int line, const TextChange* change, int lineCount);

    // The state in which line starts: 0 for line 0, else the state at the
    // end of line - 1, classifying forward from the nearest known line.
    LineState StateBefore(const CTextBuffer& buffer, int line);
    LineState StateAfter(const CTextBuffer& buffer, int line) { return StateBefore(buffer, line + 1); }
    // Stores the state at the end of line, as computed by painting (with the
    // state StateBefore gave for it).
    void Store(int line, LineState state);

    bool IsKnown(int line) const { return line >= 0 && line < m_valid; }
    // Lines whose states are known: always 0 ... KnownCount()-1.
    int KnownCount() const { return m_valid; }
    size_t BytesPerLine() const { return sizeof(uint8_t); }
    // How many lines were classified to answer queries (for tests and tuning).
    long long LinesClassified() const { return m_classified; }

private:
    static uint8_t Encode(LineState s) { return static_cast<uint8_t>((s & 0x1F) | ((s & ST_JAVADOC) ? 0x20 : 0)); }
    static LineState Decode(uint8_t b) { return (b & 0x1F) | ((b & 0x20) ? ST_JAVADOC : 0); }
    void Invalidate(int line);

    Classifier m_classify;
    std::vector<uint8_t> m_states;
    int m_valid = 0; // states of lines below this are right
    // Lines m_valid ... m_staleEnd-1 hold states that were right before the
    // changes since; each of them still follows from its predecessor's stored
    // state, except the lines m_dirtyLo ... m_dirtyHi, whose text changed,
    // and the line m_valid itself.
    int m_staleEnd = 0;
    int m_dirtyLo = 0, m_dirtyHi = -1;
    long long m_classified = 0;
};
