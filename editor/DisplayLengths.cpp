#include "editor/DisplayLengths.h"

#include "platform/BigBlock.h"
#include "text/TextLayout.h"

#include <algorithm>
#include <system_error>
#include <thread>

namespace {

template <class V, class T>
void ResizeCache(V& v, size_t n, T fill)
{
    // Exact size the first time; a little room when the text grows later,
    // so that typing line breaks does not double the cache.
    if (n > v.capacity()) {
        v.reserve(v.empty() ? n : n + n / 32 + 64);
        platform::AskHugePages(v.data(), v.capacity() * sizeof(T));
    }
    v.resize(n, fill);
}

} // namespace

void CDisplayLengths::SetTabWidth(int width)
{
    m_tabWidth = width;
    Clear();
}

void CDisplayLengths::Clear()
{
    std::vector<int32_t>().swap(m_lengths);
    m_max = -1;
}

void CDisplayLengths::Resize()
{
    size_t n = static_cast<size_t>(m_text.LineCount());
    if (m_lengths.size() != n)
        ResizeCache(m_lengths, n, -1);
}

int CDisplayLengths::Measure(int line, TextEncoding encoding) const
{
    // A line as loaded may need no look at its bytes.
    int32_t known = -1;
    m_text.KnownLengths(line, 1, m_tabWidth, &known);
    if (known >= 0)
        return known;
    return textlayout::DisplayLength(m_text.LineChars(line), m_text.LineLength(line), m_tabWidth, encoding);
}

int CDisplayLengths::Get(int line)
{
    if (line < 0 || line >= m_text.LineCount())
        return 0;
    if (m_lengths.size() != static_cast<size_t>(m_text.LineCount()))
        Resize();
    int32_t& cached = m_lengths[static_cast<size_t>(line)];
    if (cached < 0)
        cached = Measure(line, m_text.Encoding());
    return cached;
}

int CDisplayLengths::ScanRange(int from, int to, TextEncoding encoding)
{
    int maxLen = 0;
    // The lines that must be laid out are scattered over a large text
    // that is no longer in the cache: their bytes are fetched for a
    // batch of them at once instead of one miss after another.
    constexpr int kBatch = 32;
    int batch[kBatch];
    int waiting = 0;
    auto layOut = [&] {
        for (int k = 0; k < waiting; ++k) {
            int32_t& cached = m_lengths[static_cast<size_t>(batch[k])];
            cached = Measure(batch[k], encoding);
            maxLen = std::max(maxLen, static_cast<int>(cached));
        }
        waiting = 0;
    };
    // Lines as loaded mostly need no look at their bytes: their lengths come
    // from the text a block of lines at a time.
    constexpr int kBlock = 4096;
    int32_t known[kBlock];
    for (int b = from; b < to; b += kBlock) {
        const int n = std::min(kBlock, to - b);
        m_text.KnownLengths(b, n, m_tabWidth, known);
        for (int k = 0; k < n; ++k) {
            const int i = b + k;
            int32_t& cached = m_lengths[static_cast<size_t>(i)];
            if (cached < 0)
                cached = known[k];
            if (cached >= 0) {
                maxLen = std::max(maxLen, static_cast<int>(cached));
                continue;
            }
            const char* chars = m_text.LineChars(i);
            const int length = m_text.LineLength(i);
            if (chars && length > 0) {
                __builtin_prefetch(chars);
                __builtin_prefetch(chars + length - 1);
            }
            batch[waiting++] = i;
            if (waiting == kBatch)
                layOut();
        }
    }
    layOut();
    return maxLen;
}

int CDisplayLengths::Max()
{
    if (m_max < 0) {
        // Every line once: the checks of Get are made once for all of them.
        const int count = m_text.LineCount();
        Resize();
        const TextEncoding encoding = m_text.Encoding();
        // A big text is scanned in two halves at once: the text does not
        // change while this waits, and the halves write apart.
        int upper = 0;
        std::thread other;
        int split = count;
        if (count >= kParallelFrom && std::thread::hardware_concurrency() > 1) {
            split = count / 2;
            try {
                other = std::thread([&] { upper = ScanRange(split, count, encoding); });
            } catch (const std::system_error&) {
                split = count;
            }
        }
        int maxLen = ScanRange(0, split, encoding);
        if (other.joinable()) {
            other.join();
            maxLen = std::max(maxLen, upper);
        }
        m_max = maxLen;
    }
    return m_max;
}

void CDisplayLengths::Forget(int line)
{
    // Keeps the longest-line width without a walk over every line: it only
    // has to be recomputed when the longest line itself got shorter.
    int32_t& cached = m_lengths[static_cast<size_t>(line)];
    int32_t old = cached;
    cached = -1;
    if (m_max < 0)
        return;
    int now = Get(line);
    if (now >= m_max)
        m_max = now;
    else if (old < 0 || old == m_max)
        m_max = -1;
}

void CDisplayLengths::LineChanged(int line)
{
    const int count = m_text.LineCount();
    if (m_lengths.size() == static_cast<size_t>(count) && line >= 0 && line < count)
        Forget(line);
}

void CDisplayLengths::LinesChanged(const TextChange* change, int line)
{
    const int count = m_text.LineCount();
    if (change && !m_lengths.empty() && line >= 0) {
        const int sy = change->start.y, ey = change->end.y;
        const size_t oldCount = m_lengths.size();
        if (change->kind == TextChange::Insertion &&
            oldCount + static_cast<size_t>(ey - sy) == static_cast<size_t>(count) && sy >= 0 &&
            static_cast<size_t>(sy) < oldCount) {
            if (m_lengths.capacity() < static_cast<size_t>(count))
                m_lengths.reserve(static_cast<size_t>(count) + static_cast<size_t>(count) / 32 + 64);
            m_lengths.insert(m_lengths.begin() + sy + 1, static_cast<size_t>(ey - sy), -1);
            Forget(sy);
            for (int i = sy + 1; i <= ey && m_max >= 0; ++i)
                m_max = std::max(m_max, Get(i));
            return;
        }
        if (change->kind == TextChange::Deletion &&
            oldCount == static_cast<size_t>(count) + static_cast<size_t>(ey - sy) && sy >= 0 &&
            static_cast<size_t>(ey) < oldCount) {
            for (int i = sy + 1; i <= ey; ++i) {
                int32_t old = m_lengths[static_cast<size_t>(i)];
                if (old < 0 || old == m_max)
                    m_max = -1;
            }
            m_lengths.erase(m_lengths.begin() + sy + 1, m_lengths.begin() + ey + 1);
            Forget(sy);
            return;
        }
    }
    size_t keep = line < 0 ? 0 : std::min(m_lengths.size(), static_cast<size_t>(line));
    ResizeCache(m_lengths, static_cast<size_t>(count), -1);
    std::fill(m_lengths.begin() + static_cast<std::ptrdiff_t>(keep), m_lengths.end(), -1);
    m_max = -1;
}
