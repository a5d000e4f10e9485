#include "editor/LineStateCache.h"

#include "editor/TextBuffer.h"
#include "editor/TextChange.h"

#include <algorithm>

CLineStateCache::CLineStateCache()
    : m_classify([](LineState s, const char* c, int n) { return CJavaColoring::ClassifyLine(s, c, n); })
{
}

CLineStateCache::CLineStateCache(Classifier classifier) : m_classify(std::move(classifier)) {}

void CLineStateCache::SetClassifier(Classifier classifier)
{
    m_classify = std::move(classifier);
    Reset(static_cast<int>(m_states.size()));
}

void CLineStateCache::Reset(int lineCount)
{
    m_states.assign(static_cast<size_t>(std::max(lineCount, 0)), 0xFF);
    m_valid = 0;
    m_staleEnd = 0;
    m_dirtyLo = 0;
    m_dirtyHi = -1;
}

void CLineStateCache::Invalidate(int line)
{
    // Called after the table was spliced; line is the first changed line
    // (already in the new numbering) and [m_dirtyLo, m_dirtyHi] is up to date.
    if (m_staleEnd <= line) {
        m_staleEnd = 0;
        m_dirtyHi = -1;
    }
    m_valid = std::min(m_valid, line);
    if (m_staleEnd <= m_valid) {
        m_staleEnd = 0;
        m_dirtyHi = -1;
    }
}

void CLineStateCache::OnBufferChange(uint32_t flags, int line, const TextChange* change, int lineCount)
{
    if (flags & NOTIFY_RESET) {
        Reset(lineCount);
        return;
    }
    if (flags & NOTIFY_FLAGS)
        return; // only a line's flags changed, not its text
    const int oldCount = static_cast<int>(m_states.size());
    if (line < 0 || line >= std::max(oldCount, 1)) {
        Reset(lineCount);
        return;
    }
    const int known = std::max(m_valid, m_staleEnd);
    const bool hadStale = m_staleEnd > m_valid;
    // Classifying forward overwrote the states below m_valid, so the stale
    // line at m_valid may no longer follow from its predecessor.
    if (hadStale)
        m_dirtyHi = std::max(m_dirtyHi, m_valid);
    int lo = line, hi = line, newKnown = known;
    if (lineCount != oldCount) {
        if (!change) {
            Reset(lineCount);
            return;
        }
        const int d = change->end.y - change->start.y;
        const int delta = change->kind == TextChange::Insertion ? d : -d;
        if (change->start.y != line || d < 0 || oldCount + delta != lineCount ||
            (delta < 0 && line + d >= oldCount)) {
            Reset(lineCount);
            return;
        }
        // Splice so that each kept line's predecessor holds the state it was
        // computed from: new entries go before the changed line, and a join
        // keeps the state of the last joined line.
        auto at = m_states.begin() + line;
        if (delta > 0) {
            m_states.insert(at, static_cast<size_t>(delta), 0xFF);
            hi = line + delta;
        } else {
            m_states.erase(at, at + d);
        }
        auto shift = [&](int j) {
            if (j < line)
                return j;
            if (delta > 0)
                return j + delta;
            return j < line + d ? line : j - d;
        };
        if (known > line)
            newKnown = delta > 0 ? known + delta : (known <= line + d ? line : known - d);
        if (hadStale) {
            m_dirtyLo = shift(m_dirtyLo);
            m_dirtyHi = shift(m_dirtyHi);
        }
    }
    if (known > line) {
        if (hadStale) {
            lo = std::min(lo, m_dirtyLo);
            hi = std::max(hi, m_dirtyHi);
        }
        m_dirtyLo = lo;
        m_dirtyHi = hi;
        m_staleEnd = newKnown;
    }
    Invalidate(line);
}

LineState CLineStateCache::StateBefore(const CTextBuffer& buffer, int line)
{
    const int count = buffer.LineCount();
    if (static_cast<int>(m_states.size()) != count)
        Reset(count);
    if (line <= 0 || count == 0)
        return 0;
    const int target = std::min(line, count) - 1;
    if (target < m_valid)
        return Decode(m_states[static_cast<size_t>(target)]);
    LineState s = m_valid == 0 ? 0 : Decode(m_states[static_cast<size_t>(m_valid - 1)]);
    for (int k = m_valid; k <= target; ++k) {
        s = m_classify(s, buffer.LineChars(k), buffer.LineLength(k));
        ++m_classified;
        const uint8_t e = Encode(s);
        if (k < m_staleEnd && k >= m_dirtyHi && m_states[static_cast<size_t>(k)] == e) {
            // Reached the state this line had before: everything after it
            // that was known still holds.
            m_valid = m_staleEnd;
            m_staleEnd = 0;
            m_dirtyHi = -1;
            if (target < m_valid)
                return Decode(m_states[static_cast<size_t>(target)]);
            k = m_valid - 1;
            s = Decode(m_states[static_cast<size_t>(k)]);
            continue;
        }
        m_states[static_cast<size_t>(k)] = e;
        m_valid = k + 1;
    }
    if (m_staleEnd <= m_valid) {
        m_staleEnd = 0;
        m_dirtyHi = -1;
    }
    return s;
}

void CLineStateCache::Store(int line, LineState state)
{
    // Only the next unknown line can be trusted: its predecessor is known.
    if (line != m_valid || line < 0 || line >= static_cast<int>(m_states.size()))
        return;
    const uint8_t e = Encode(state);
    if (line < m_staleEnd && line >= m_dirtyHi && m_states[static_cast<size_t>(line)] == e) {
        m_valid = m_staleEnd;
        m_staleEnd = 0;
        m_dirtyHi = -1;
        return;
    }
    m_states[static_cast<size_t>(line)] = e;
    m_valid = line + 1;
    if (m_staleEnd <= m_valid) {
        m_staleEnd = 0;
        m_dirtyHi = -1;
    }
}
