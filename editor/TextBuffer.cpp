#include "editor/TextBuffer.h"

#include "platform/AtomicFile.h"
#include "platform/BigBlock.h"
#include "platform/ContentHash.h"
#include "text/Transcode.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <system_error>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr size_t kDetectBlock = 32768;
constexpr size_t kSaveChunk = 1 << 20;
constexpr size_t kReadChunk = 256 << 10;
// From this size on a second core splits the bytes of a load into lines.
constexpr size_t kSideSplitFrom = size_t(4) << 20;

const char* Terminator(int style)
{
    switch (style) {
    case EOL_LFCR:
        return "\n\r";
    case EOL_LF:
        return "\n";
    default:
        return "\r\n";
    }
}

bool ValidStyle(int style)
{
    return style == EOL_CRLF || style == EOL_LFCR || style == EOL_LF;
}

// Only the first LF of the first block decides.
int DetectStyle(const char* data, size_t size)
{
    size_t block = std::min(size, kDetectBlock);
    const char* lf = block ? static_cast<const char*>(std::memchr(data, '\n', block)) : nullptr;
    if (!lf)
        return EOL_CRLF;
    size_t j = static_cast<size_t>(lf - data);
    if (j > 0 && data[j - 1] == '\r')
        return EOL_CRLF;
    if (j + 1 < block && data[j + 1] == '\r')
        return EOL_LFCR;
    return EOL_LF;
}

size_t CountByte(const char* p, size_t n, char c)
{
    size_t count = 0;
    const char* end = p + n;
    while (p < end) {
        const char* q = static_cast<const char*>(std::memchr(p, c, static_cast<size_t>(end - p)));
        if (!q)
            break;
        ++count;
        p = q + 1;
    }
    return count;
}

// Splits bytes into lines with the terminator matcher of the style, as they
// are read: a byte that does not continue the terminator resets the match
// without being tested against its first byte again. For CR LF that means an
// LF ends a line exactly when an odd number of CRs directly precedes it within
// the line ("x CR CR LF y" is one line); for LF CR likewise a CR after an odd
// run of LFs. Lines point into the block; those without a tab and a byte
// above 7F are marked plain (their display length is their length), and so
// are those that only start with tabs, with the number of them.
class CLineSplitter {
public:
    explicit CLineSplitter(CLineTable& table) : m_table(table) {}

    void Begin(const char* base, size_t start, int style)
    {
        m_base = base;
        m_lineStart = m_scan = start;
        m_style = style;
        m_stop = style == EOL_LFCR ? '\r' : '\n';
        m_lastSpecial = kNone;
    }
    // Bytes up to end are there; false for a line or line count too large.
    bool Feed(size_t end)
    {
        const char* b = m_base;
        size_t i = m_scan;
#if defined(__SSE2__)
        // Sixteen bytes at a time: a line of code is shorter than a call of
        // memchr is worth.
        const __m128i stop = _mm_set1_epi8(m_stop), tab = _mm_set1_epi8('\t');
        for (; i + 16 <= end; i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
            unsigned stops = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, stop)));
            const unsigned special = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(v, _mm_cmpeq_epi8(v, tab))));
            unsigned from = 0; // bits below it are counted
            for (; stops; stops &= stops - 1) {
                const unsigned bit = static_cast<unsigned>(__builtin_ctz(stops));
                Mark(i, special & ((1u << bit) - 1) & ~((1u << from) - 1));
                if (!Stop(i + bit))
                    return false;
                from = bit + 1;
            }
            Mark(i, special & ~((1u << from) - 1));
        }
#endif
        for (; i < end; ++i) {
            const unsigned char c = static_cast<unsigned char>(b[i]);
            if (c == static_cast<unsigned char>(m_stop)) {
                if (!Stop(i))
                    return false;
            } else if (c == '\t' || c >= 0x80) {
                m_lastSpecial = i;
            }
        }
        m_scan = end;
        return true;
    }
    bool Finish(size_t end) { return Feed(end) && Push(m_lineStart, end); }

private:
    // At q the last byte of a terminator, if the style's matcher says so.
    bool Stop(size_t q)
    {
        size_t lineEnd = q;
        if (m_style != EOL_LF) {
            // CR LF: count the CRs before the LF; LF CR: the other way round.
            const char first = m_style == EOL_CRLF ? '\r' : '\n';
            size_t r = q;
            while (r > m_lineStart && m_base[r - 1] == first)
                --r;
            if (!((q - r) & 1))
                return true;
            lineEnd = q - 1;
        }
        if (!Push(m_lineStart, lineEnd))
            return false;
        m_lineStart = q + 1;
        return true;
    }
    bool Push(size_t from, size_t to)
    {
        if (to - from > static_cast<size_t>(CLineTable::kMaxLineLength) || m_table.Count() >= CLineTable::kMaxLines)
            return false;
        // Indented with tabs and plain after them: every byte up to the last
        // special one is a tab.
        int plainAfter = -1;
        if (m_lastSpecial == kNone) {
            plainAfter = 0;
        } else if (m_lastSpecial >= from && m_lastSpecial < to &&
                   m_lastSpecial - from < static_cast<size_t>(CLineTable::kMaxLeadTabs)) {
            const size_t last = m_lastSpecial - from;
            size_t tabs = 0;
            while (tabs <= last && m_base[from + tabs] == '\t')
                ++tabs;
            if (tabs > last)
                plainAfter = static_cast<int>(tabs);
        }
        m_table.PushBorrowed(m_base + from, static_cast<int32_t>(to - from), plainAfter);
        m_lastSpecial = kNone;
        return true;
    }
    // bits: the special bytes of the current line among the sixteen at i.
    void Mark(size_t i, unsigned bits)
    {
        if (bits)
            m_lastSpecial = i + 31 - static_cast<size_t>(__builtin_clz(bits));
    }

    CLineTable& m_table;
    const char* m_base = nullptr;
    size_t m_lineStart = 0;
    size_t m_scan = 0;
    int m_style = EOL_LF;
    char m_stop = '\n';
    static constexpr size_t kNone = ~size_t(0);
    size_t m_lastSpecial = kNone; // the line's last tab or byte above 7F so far
};

// Turns the bytes of a file into lines while it is read, each byte touched
// while it is fresh in the cache: the encoding is decided over all of them,
// the lines are split from the moment the line-end style is known. The block
// the bytes are in may move (a file that grew while read): the lines then
// start again.
class CLoader {
public:
    CLoader(CLineTable& table, int style, TextEncoding plainEncoding, size_t expected)
        : m_table(table), m_askedStyle(style), m_plain(plainEncoding), m_expected(expected), m_split(table)
    {
    }

    // The first size bytes at base are read; false for a line or line count
    // too large.
    bool Feed(const char* base, size_t size)
    {
        if (m_detectHere)
            m_detect.Feed(std::string_view(base, size));
        if (m_started && base != m_base)
            Restart();
        if (!m_started && !Start(base, size, false, -1))
            return true;
        return m_split.Feed(size);
    }

    bool Finish(const char* base, size_t size, int& style, textencoding::Decision& encoding)
    {
        encoding = m_detect.Finish(std::string_view(base, size), m_plain);
        if (m_started && base != m_base)
            Restart();
        // A mark in front of bytes that are no valid UTF-8 stays in the text.
        const size_t start = encoding.bom ? textencoding::kBom.size() : 0;
        if (m_started && m_start != start)
            Restart();
        if (!m_started)
            Start(base, size, true, static_cast<int>(start));
        style = m_style;
        return m_split.Finish(size);
    }

    // The detector, fed by the caller while detectHere is false (the lines
    // are then split on another thread).
    textencoding::CDetector& Detector() { return m_detect; }
    void DetectHere(bool here) { m_detectHere = here; }

private:
    void Restart()
    {
        m_table.Clear();
        m_started = false;
    }

    // Begins the lines once the start (after a byte order mark, while the
    // bytes may still be UTF-8) and the style are known; start -1: from the
    // bytes.
    bool Start(const char* base, size_t size, bool final, int start)
    {
        const std::string_view bom = textencoding::kBom;
        if (start < 0) {
            if (size < bom.size() && !final)
                return false;
            start = std::string_view(base, std::min(size, bom.size())) == bom ? static_cast<int>(bom.size()) : 0;
        }
        const size_t from = static_cast<size_t>(start);
        const bool detect = !ValidStyle(m_askedStyle);
        if (detect && size - from < kDetectBlock && !final)
            return false;
        m_style = detect ? DetectStyle(base + from, size - from) : m_askedStyle;
        // Room for the lines, from the lines of the first megabyte.
        const size_t sample = std::min(size - from, size_t(1) << 20);
        const size_t lfs = CountByte(base + from, sample, '\n');
        const size_t total = std::max(size, m_expected) - from;
        size_t estimate = final && sample == size - from ? lfs + 1
                                                         : (lfs + 1) * (total / std::max<size_t>(sample, 1) + 1) / 8 * 9 + 64;
        m_table.Reserve(std::min(estimate, static_cast<size_t>(CLineTable::kMaxLines) + 1));
        m_base = base;
        m_start = from;
        m_split.Begin(base, from, m_style);
        m_started = true;
        return true;
    }

    CLineTable& m_table;
    const int m_askedStyle;
    const TextEncoding m_plain;
    const size_t m_expected;
    textencoding::CDetector m_detect;
    CLineSplitter m_split;
    const char* m_base = nullptr;
    size_t m_start = 0;
    int m_style = EOL_CRLF;
    bool m_started = false;
    bool m_detectHere = true;
};

// Splits the bytes of a big load into lines on another core, while the
// reader reads them, hashes them for the file watch and checks their
// encoding: each is a pass over every byte. It sees only the bytes the
// reader published, and must be finished before the block moves or goes and
// before the loader is used again.
class CSideSplit {
public:
    CSideSplit(const char* base, CLoader& loader) : m_base(base), m_loader(loader), m_thread([this] { Run(); }) {}
    ~CSideSplit() { Finish(); }
    CSideSplit(const CSideSplit&) = delete;
    CSideSplit& operator=(const CSideSplit&) = delete;

    // The first size bytes are read.
    void Publish(size_t size)
    {
        m_avail.store(size, std::memory_order_release);
        m_avail.notify_one();
    }
    // A line or line count too large for the table: the load cannot succeed.
    bool Failed() const { return m_failed.load(std::memory_order_acquire); }
    // Returns once every published byte is split (or the split failed).
    void Finish()
    {
        if (!m_thread.joinable())
            return;
        m_avail.fetch_or(kStop, std::memory_order_release);
        m_avail.notify_one();
        m_thread.join();
    }

private:
    static constexpr size_t kStop = size_t(1) << (sizeof(size_t) * 8 - 1);

    void Run()
    {
        size_t done = 0;
        for (;;) {
            const size_t v = m_avail.load(std::memory_order_acquire);
            const size_t avail = v & ~kStop;
            if (avail == done) {
                if (v & kStop)
                    return;
                m_avail.wait(v, std::memory_order_acquire);
                continue;
            }
            if (!m_loader.Feed(m_base, avail)) {
                m_failed.store(true, std::memory_order_release);
                return;
            }
            done = avail;
        }
    }

    const char* const m_base;
    CLoader& m_loader;
    std::atomic<size_t> m_avail{0};
    std::atomic<bool> m_failed{false};
    std::thread m_thread; // last: starts when the rest is set
};

void StartSideSplit(std::optional<CSideSplit>& side, size_t capacity, const char* base, CLoader& loader)
{
    if (capacity >= kSideSplitFrom && std::thread::hardware_concurrency() > 1) {
        try {
            side.emplace(base, loader);
        } catch (const std::system_error&) {
            // No thread to be had: the reader does it all.
        }
    }
}

struct ActionEntry {
    int code;
    const char* name;
};

// Display names of the undo actions, as the Undo and Redo menu items show them.
constexpr ActionEntry kActions[] = {
    {ACT_UNKNOWN, "Unbekannt"},
    {ACT_PASTE, "Einfügen"},
    {ACT_DELSEL, "Selektion löschen"},
    {ACT_CUT, "Ausschneiden"},
    {ACT_TYPING, "Eingabe"},
    {ACT_BACKSPACE, "Backspace"},
    {ACT_INDENT, "Einrücken"},
    {ACT_DRAGDROP, "Drag & Drop"},
    {ACT_REPLACE, "Ersetzen"},
    {ACT_DELETE, "Löschen"},
    {ACT_AUTOINDENT, "Automatischens Einrücken"},
    {ACT_AUTOCOMPLETE, "Automatisches Vervollständigen"},
    {ACT_AUTOEXPAND, "Automatisches Expandieren"},
    {ACT_LOWERCASE, "In Kleinbuchstaben umwandeln"},
    {ACT_UPPERCASE, "In Großbuchstaben umwandeln"},
    {ACT_SWAPCASE, "Zeichen umkehren"},
    {ACT_CAPITALIZE, "Erster Buchstabe gross"},
    {ACT_SENTENCE, "In Satzform wandeln"},
    {ACT_UNCOMMENT, "Selektion einkommentieren"},
    {ACT_COMMENT, "Selektion auskommentieren"},
    {ACT_TABS_TO_SPACES, "Tabs in Spaces umwandeln"},
    {ACT_SPACES_TO_TABS, "Spaces in Tabs umwandeln"},
    {ACT_CONVERT_ENCODING, "Kodierung umwandeln"},
};

bool SingleFlag(uint32_t flag)
{
    return flag != 0 && (flag & (flag - 1)) == 0 && (flag & LINE_FLAGS_ALL) == flag;
}

// Frees a malloc'ed block unless ownership was passed on.
struct BlockGuard {
    char* p;
    ~BlockGuard() { std::free(p); }
    char* Release()
    {
        char* r = p;
        p = nullptr;
        return r;
    }
};

} // namespace

CTextBuffer::CTextBuffer() = default;

CTextBuffer::~CTextBuffer() = default;

// ---------------------------------------------------------------- loading

void CTextBuffer::KnownLengths(int first, int count, int tabWidth, int32_t* out) const
{
    const int lines = m_lines.Count();
    const int from = std::clamp(first, 0, lines), to = std::clamp(first + std::max(0, count), from, lines);
    std::fill(out, out + std::max(0, from - first), -1);
    if (to > from)
        m_lines.KnownLengths(from, to - from, tabWidth, out + (from - first));
    std::fill(out + std::max(0, to - first), out + std::max(0, count), -1);
}

void CTextBuffer::Adopt(CLineTable& table, int style, textencoding::Decision encoding, bool readOnly)
{
    m_encoding = encoding.encoding;
    m_bom = encoding.bom;
    m_lines.Swap(table);
    table.Clear();
    m_history.clear();
    m_groupStarts = 0;
    m_eolStyle = style;
    m_initialised = true;
    m_readOnly = readOnly;
    m_modified = false;
    m_groupOpen = m_groupStartPending = false;
    m_undoLimit = 1024;
    m_undoPos = m_savedPos = 0;
    m_lastError = 0;
    m_filePath.clear();
    m_fileMode = -1;
    m_splitHardLink = false;
    m_lastLoad = LoadedFile();
    NotifyViews(nullptr, nullptr, NOTIFY_RESET, -1);
    m_lastChange = TextPos::None();
}

bool CTextBuffer::LoadFile(const std::string& path, int style, TextEncoding plainEncoding)
{
    m_lastChange = TextPos::None();
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        m_lastError = errno;
        return false;
    }
    // A folder, a pipe or a device is no document (and a pipe could block
    // for ever).
    if (!S_ISREG(st.st_mode)) {
        m_lastError = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        m_lastError = errno;
        return false;
    }
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        m_lastError = errno ? errno : EINVAL;
        close(fd);
        return false;
    }
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);

    // The whole file is read before anything of the old text is given up, so
    // a read error at any point leaves the buffer as it was. One spare byte
    // tells whether the file grew since fstat. It is read in pieces that the
    // hash for the file watch and the split into lines see while they are
    // still in the cache.
    size_t capacity = static_cast<size_t>(st.st_size) + 1;
    BlockGuard block{static_cast<char*>(std::malloc(capacity))};
    if (!block.p) {
        m_lastError = ENOMEM;
        close(fd);
        return false;
    }
    // The read would otherwise stop for a page fault on every page it fills.
    platform::PrepareBigBlock(block.p, capacity);
    CLineTable table;
    CLoader loader(table, style, plainEncoding, static_cast<size_t>(st.st_size));
    platform::CContentHash hash;
    // Destroyed first: its thread reads the block and fills the loader's lines.
    std::optional<CSideSplit> side;
    loader.DetectHere(false);
    StartSideSplit(side, capacity, block.p, loader);
    loader.DetectHere(!side);
    auto tooLarge = [&] {
        m_lastError = EFBIG;
        close(fd);
        return false;
    };
    size_t size = 0;
    for (;;) {
        if (size == capacity) {
            // The file grew while read: the block moves, the reader goes on alone.
            if (side) {
                side->Finish();
                const bool failed = side->Failed();
                side.reset();
                loader.DetectHere(true);
                if (failed)
                    return tooLarge();
            }
            size_t bigger = capacity + capacity / 2 + kDetectBlock;
            char* p = static_cast<char*>(std::realloc(block.p, bigger));
            if (!p) {
                m_lastError = ENOMEM;
                close(fd);
                return false;
            }
            block.p = p;
            capacity = bigger;
        }
        ssize_t n = read(fd, block.p + size, std::min(capacity - size, kReadChunk));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            m_lastError = errno;
            close(fd);
            return false;
        }
        if (n == 0)
            break;
        hash.Update(block.p + size, static_cast<size_t>(n));
        size += static_cast<size_t>(n);
        if (side) {
            side->Publish(size);
            loader.Detector().Feed(std::string_view(block.p, size));
            if (side->Failed())
                return tooLarge();
        } else if (!loader.Feed(block.p, size)) {
            return tooLarge();
        }
    }
    if (side) {
        side->Finish();
        if (side->Failed())
            return tooLarge();
        side.reset();
    }
    close(fd);

    bool readOnly = access(path.c_str(), W_OK) != 0;
    textencoding::Decision encoding;
    if (!loader.Finish(block.p, size, style, encoding)) {
        m_lastError = EFBIG;
        return false;
    }
    table.AdoptBlock(block.Release());
    Adopt(table, style, encoding, readOnly);
    // Should the file go while it is open, a save makes it anew like this.
    m_filePath = path;
    m_fileMode = static_cast<int>(st.st_mode & 0777);
    m_lastLoad.valid = true;
    m_lastLoad.size = hash.Size();
    m_lastLoad.contentHash = hash.Value();
    m_lastLoad.stamp = platform::FileStamp::Of(st);
    return true;
}

void CTextBuffer::TakeLoadedFrom(CTextBuffer& loaded)
{
    m_lastChange = TextPos::None();
    CLineTable table;
    table.Swap(loaded.m_lines);
    textencoding::Decision encoding;
    encoding.encoding = loaded.m_encoding;
    encoding.bom = loaded.m_bom;
    Adopt(table, loaded.m_eolStyle, encoding, loaded.m_readOnly);
    m_filePath = loaded.m_filePath;
    m_fileMode = loaded.m_fileMode;
    m_lastLoad = loaded.m_lastLoad;
    loaded.m_lastLoad = LoadedFile();
}

bool CTextBuffer::LoadFromMemory(std::string_view bytes, int style, TextEncoding plainEncoding)
{
    m_lastChange = TextPos::None();
    char* copy = static_cast<char*>(std::malloc(bytes.size() + 1));
    if (!copy) {
        m_lastError = ENOMEM;
        return false;
    }
    if (!bytes.empty())
        std::memcpy(copy, bytes.data(), bytes.size());
    BlockGuard guard{copy};
    CLineTable table;
    CLoader loader(table, style, plainEncoding, bytes.size());
    textencoding::Decision encoding;
    if (!loader.Finish(copy, bytes.size(), style, encoding)) {
        m_lastError = EFBIG;
        return false;
    }
    table.AdoptBlock(guard.Release());
    Adopt(table, style, encoding, false);
    return true;
}

void CTextBuffer::InitEmpty(int style, TextEncoding encoding)
{
    CLineTable table;
    table.PushBorrowed(nullptr, 0);
    Adopt(table, ValidStyle(style) ? style : EOL_CRLF, textencoding::Decision{encoding, false}, false);
}

void CTextBuffer::DiscardAll()
{
    m_lines.Clear();
    m_history.clear();
    m_groupStarts = 0;
    m_undoPos = m_savedPos = 0;
    m_groupOpen = m_groupStartPending = false;
    m_initialised = false;
    m_lastChange = TextPos::None();
}

// ---------------------------------------------------------------- saving

bool CTextBuffer::SaveFile(const std::string& path, int style, bool clearModified)
{
    // A discarded buffer has no text; writing it would empty the file.
    if (!m_initialised) {
        m_lastError = EINVAL;
        return false;
    }
    if (!ValidStyle(style))
        style = m_eolStyle;
    const char* term = Terminator(style);
    const size_t termLen = std::strlen(term);

    platform::CAtomicFileWriter writer("CRE");
    if (m_fileMode >= 0 && path == m_filePath)
        writer.SetModeForNewFile(static_cast<unsigned>(m_fileMode));
    if (!writer.Open(path)) {
        m_lastError = writer.Error();
        return false;
    }
    // Lines still in the block they were read from lie next to each other
    // with their terminators between them: such stretches go out in one
    // write, straight from the block. Everything else is gathered in chunks.
    std::unique_ptr<char[]> chunk(new char[kSaveChunk]);
    size_t used = 0;
    bool ok = true;
    if (m_bom) {
        std::memcpy(chunk.get(), textencoding::kBom.data(), textencoding::kBom.size());
        used = textencoding::kBom.size();
    }
    auto put = [&](const char* p, size_t n) {
        if (used > 0 && (used + n > kSaveChunk || n > kSaveChunk / 4)) {
            ok = ok && writer.Write(chunk.get(), used);
            used = 0;
        }
        if (n > kSaveChunk / 4) {
            ok = ok && writer.Write(p, n);
        } else if (n > 0) {
            std::memcpy(chunk.get() + used, p, n);
            used += n;
        }
    };
    const int count = m_lines.Count();
    for (int i = 0; ok && i < count;) {
        const char* start = m_lines.Chars(i);
        int j = i;
        if (m_lines.IsInBlock(i)) {
            while (j + 1 < count && m_lines.IsInBlock(j + 1)) {
                const char* endOfLine = m_lines.Chars(j) + m_lines.Length(j);
                if (endOfLine + termLen != m_lines.Chars(j + 1) || std::memcmp(endOfLine, term, termLen) != 0)
                    break;
                ++j;
            }
        }
        put(start, static_cast<size_t>(m_lines.Chars(j) + m_lines.Length(j) - start));
        if (j + 1 < count)
            put(term, termLen);
        i = j + 1;
    }
    if (ok && used)
        ok = writer.Write(chunk.get(), used);
    if (!ok || !writer.Commit()) {
        m_lastError = writer.Error() ? writer.Error() : EIO;
        writer.Abort();
        return false;
    }
    m_lastError = 0;
    // The file had other names, which keep the text it had: the document
    // now has a file of its own.
    m_splitHardLink = writer.TargetLinkCount() > 1;
    m_filePath = path;
    m_fileMode = static_cast<int>(writer.Mode() & 0777);
    if (clearModified) {
        MarkModified(false);
        m_savedPos = m_undoPos;
    }
    return true;
}

std::string CTextBuffer::SaveToMemory(int style) const
{
    if (!ValidStyle(style))
        style = m_eolStyle;
    const char* term = Terminator(style);
    const int count = m_lines.Count();
    size_t total = 0;
    for (int i = 0; i < count; ++i)
        total += static_cast<size_t>(m_lines.Length(i));
    if (count > 1)
        total += static_cast<size_t>(count - 1) * std::strlen(term);
    std::string out;
    out.reserve(total + textencoding::kBom.size());
    if (m_bom)
        out.append(textencoding::kBom);
    for (int i = 0; i < count; ++i) {
        out.append(m_lines.Chars(i), static_cast<size_t>(m_lines.Length(i)));
        if (i + 1 < count)
            out.append(term);
    }
    return out;
}

// ---------------------------------------------------------------- access

void CTextBuffer::ExtractText(int startLine, int startChar, int endLine, int endChar,
                              std::string& text, const char* separator) const
{
    text.clear();
    const int count = m_lines.Count();
    if (startLine < 0 || endLine >= count || startLine > endLine || startChar < 0 || endChar < 0)
        return;
    startChar = std::min(startChar, m_lines.Length(startLine));
    endChar = std::min(endChar, m_lines.Length(endLine));
    if (startLine == endLine) {
        if (endChar > startChar)
            text.assign(m_lines.Chars(startLine) + startChar, static_cast<size_t>(endChar - startChar));
        return;
    }
    if (!separator)
        separator = "\r\n";
    const size_t sepLen = std::strlen(separator);
    size_t total = 0;
    for (int i = startLine; i <= endLine; ++i)
        total += static_cast<size_t>(m_lines.Length(i)) + sepLen;
    text.reserve(total);
    text.append(m_lines.Chars(startLine) + startChar,
                static_cast<size_t>(m_lines.Length(startLine) - startChar));
    text.append(separator, sepLen);
    for (int i = startLine + 1; i < endLine; ++i) {
        text.append(m_lines.Chars(i), static_cast<size_t>(m_lines.Length(i)));
        text.append(separator, sepLen);
    }
    text.append(m_lines.Chars(endLine), static_cast<size_t>(endChar));
}

// ---------------------------------------------------------------- views

void CTextBuffer::RegisterView(CTextBufferListener* view)
{
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CTextBuffer::UnregisterView(CTextBufferListener* view)
{
    auto it = std::find(m_views.begin(), m_views.end(), view);
    if (it == m_views.end())
        return;
    if (m_notifyDepth > 0) {
        // A view that leaves during a notice is skipped, not moved under the loop.
        *it = nullptr;
        m_viewsRemoved = true;
    } else {
        m_views.erase(it);
    }
}

void CTextBuffer::NotifyViews(CTextBufferListener* source, const TextChange* change,
                              uint32_t flags, int line)
{
    ++m_notifyDepth;
    const size_t n = m_views.size();
    for (size_t i = 0; i < n; ++i)
        if (CTextBufferListener* v = m_views[i])
            v->OnBufferChange(source, change, flags, line);
    if (--m_notifyDepth == 0 && m_viewsRemoved) {
        m_views.erase(std::remove(m_views.begin(), m_views.end(), nullptr), m_views.end());
        m_viewsRemoved = false;
    }
}

// ---------------------------------------------------------------- raw edits

bool CTextBuffer::ValidPos(int line, int pos) const
{
    return m_initialised && line >= 0 && line < m_lines.Count() && pos >= 0 &&
           pos <= m_lines.Length(line);
}

bool CTextBuffer::RawInsert(CTextBufferListener* source, int line, int pos, std::string_view text,
                            int& endLine, int& endChar)
{
    if (!m_initialised || line < 0 || line >= m_lines.Count() || pos < 0)
        return false;
    pos = std::min(pos, m_lines.Length(line));
    if (m_readOnly)
        return false;

    // Text taken from this very line would move under the edit.
    std::string copy;
    const char* own = m_lines.Chars(line);
    if (!text.empty() && text.data() < own + m_lines.Capacity(line) && own < text.data() + text.size()) {
        copy.assign(text);
        text = copy;
    }

    const char* p = text.data();
    const char* end = p + text.size();
    if (!std::memchr(p, '\r', text.size())) {
        Piece one{p, static_cast<int32_t>(text.size())};
        if (text.size() > static_cast<size_t>(CLineTable::kMaxLineLength))
            return false;
        return InsertPieces(source, line, pos, &one, 1, endLine, endChar);
    }
    // A CR, or CR LF, breaks the line; a lone LF is text.
    std::vector<Piece> pieces;
    const char* start = p;
    while (p < end) {
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(end - p)));
        if (!cr)
            break;
        pieces.push_back({start, static_cast<int32_t>(cr - start)});
        p = cr + 1;
        if (p < end && *p == '\n')
            ++p;
        start = p;
    }
    pieces.push_back({start, static_cast<int32_t>(end - start)});
    return InsertPieces(source, line, pos, pieces.data(), pieces.size(), endLine, endChar);
}

bool CTextBuffer::InsertPieces(CTextBufferListener* source, int line, int pos, const Piece* pieces,
                               size_t count, int& endLine, int& endChar)
{
    const int32_t len = m_lines.Length(line);
    const int32_t cap = m_lines.Capacity(line);
    const int32_t tailLen = len - pos;
    const int64_t maxLen = CLineTable::kMaxLineLength;
    if (count == 1) {
        const int32_t n = pieces[0].length;
        if (static_cast<int64_t>(len) + n > maxLen)
            return false;
        int32_t newCap = CLineTable::Grow(CLineTable::Grow(cap, pos + n), len + n);
        if (n > 0) {
            char* d = m_lines.MakeWritable(line, newCap);
            if (tailLen > 0)
                std::memmove(d + pos + n, d + pos, static_cast<size_t>(tailLen));
            std::memcpy(d + pos, pieces[0].data, static_cast<size_t>(n));
            m_lines.SetLength(line, len + n);
        }
        endLine = line;
        endChar = pos + n;
        InsertionChange change(TextPos(pos, line), TextPos(endChar, endLine));
        NotifyViews(source, &change, NOTIFY_ONELINE | NOTIFY_WIDTH, line);
    } else {
        const Piece& last = pieces[count - 1];
        if (static_cast<int64_t>(pos) + pieces[0].length > maxLen ||
            static_cast<int64_t>(last.length) + tailLen > maxLen ||
            static_cast<int64_t>(m_lines.Count()) + static_cast<int64_t>(count) > CLineTable::kMaxLines)
            return false;
        std::string tail(m_lines.Chars(line) + pos, static_cast<size_t>(tailLen));
        std::vector<CLineTable::NewLine> fresh(count - 1);
        for (size_t k = 1; k < count; ++k) {
            CLineTable::NewLine& nl = fresh[k - 1];
            nl.a = pieces[k].data;
            nl.na = pieces[k].length;
            nl.b = nullptr;
            nl.nb = 0;
            nl.capacity = CLineTable::CapacityFor(nl.na);
        }
        CLineTable::NewLine& tailLine = fresh.back();
        tailLine.b = tail.data();
        tailLine.nb = tailLen;
        tailLine.capacity = CLineTable::Grow(tailLine.capacity, tailLine.na + tailLen);
        // New lines first: should that allocation fail, nothing has changed.
        m_lines.InsertAfter(line, fresh.data(), fresh.size());
        const int32_t n0 = pieces[0].length;
        char* d = m_lines.MakeWritable(line, CLineTable::Grow(cap, pos + n0));
        if (n0 > 0)
            std::memcpy(d + pos, pieces[0].data, static_cast<size_t>(n0));
        m_lines.SetLength(line, pos + n0);
        endLine = line + static_cast<int>(count) - 1;
        endChar = last.length;
        InsertionChange change(TextPos(pos, line), TextPos(endChar, endLine));
        NotifyViews(source, &change, NOTIFY_LINECOUNT | NOTIFY_WIDTH, line);
    }
    if (!m_modified)
        MarkModified(true);
    m_lastChange = TextPos(endChar, endLine);
    return true;
}

bool CTextBuffer::RawDelete(CTextBufferListener* source, int startLine, int startChar, int endLine,
                            int endChar)
{
    if (!ValidPos(startLine, startChar) || !ValidPos(endLine, endChar) ||
        TextPos(endChar, endLine) < TextPos(startChar, startLine))
        return false;
    if (m_readOnly)
        return false;
    uint32_t flags;
    if (startLine == endLine) {
        const int32_t len = m_lines.Length(startLine);
        if (endChar > startChar) {
            char* d = m_lines.MakeWritable(startLine, m_lines.Capacity(startLine));
            if (endChar < len)
                std::memmove(d + startChar, d + endChar, static_cast<size_t>(len - endChar));
            m_lines.SetLength(startLine, len - (endChar - startChar));
        }
        flags = NOTIFY_ONELINE | NOTIFY_WIDTH;
    } else {
        const char* tail = m_lines.Chars(endLine) + endChar;
        const int32_t tailLen = m_lines.Length(endLine) - endChar;
        if (static_cast<int64_t>(startChar) + tailLen > CLineTable::kMaxLineLength)
            return false;
        // Line endLine still holds the tail while it is copied.
        char* d = m_lines.MakeWritable(
            startLine, CLineTable::Grow(m_lines.Capacity(startLine), startChar + tailLen));
        if (tailLen > 0)
            std::memcpy(d + startChar, tail, static_cast<size_t>(tailLen));
        m_lines.SetLength(startLine, startChar + tailLen);
        m_lines.Erase(startLine + 1, endLine - startLine);
        flags = NOTIFY_LINECOUNT | NOTIFY_WIDTH;
    }
    DeletionChange change(TextPos(startChar, startLine), TextPos(endChar, endLine));
    NotifyViews(source, &change, flags, startLine);
    if (!m_modified)
        MarkModified(true);
    m_lastChange = TextPos(startChar, startLine);
    return true;
}

// ---------------------------------------------------------------- recorded edits

void CTextBuffer::OpenUndoGroup(bool mergeWithPrevious)
{
    m_groupOpen = true;
    m_groupRecorded = false;
    m_groupStartPending = m_undoPos == 0 || !mergeWithPrevious;
}

void CTextBuffer::CloseUndoGroup(CTextBufferListener* source)
{
    // Only a group that recorded something is followed up: a command that
    // changed nothing must not re-run the follow-up of an older change (an
    // Enter's indentation, say).
    if (source && m_undoPos > 0 && m_groupRecorded && !m_inAfterEditGroup) {
        m_groupStartPending = true;
        const UndoRecord& last = m_history[static_cast<size_t>(m_undoPos - 1)];
        // Copies: the callback's own records may drop this one from the history.
        const int action = last.action;
        const std::string text = last.text;
        m_inAfterEditGroup = true;
        source->AfterEditGroup(action, text);
        m_inAfterEditGroup = false;
    }
    m_groupOpen = false;
}

bool CTextBuffer::InsertTextAt(CTextBufferListener* source, int line, int pos, std::string_view text,
                               int& endLine, int& endChar, int action)
{
    if (!m_initialised || line < 0 || line >= m_lines.Count() || pos < 0)
        return false;
    // The record names where the text really went, so that Undo removes
    // exactly it even when the caller asked for a column past the line end.
    const int start = std::min(pos, m_lines.Length(line));
    std::string recorded(text);
    if (!RawInsert(source, line, start, recorded, endLine, endChar))
        return false;
    const bool ownGroup = !m_groupOpen;
    if (ownGroup)
        OpenUndoGroup(false);
    AddRecord(true, TextPos(start, line), TextPos(endChar, endLine), action, std::move(recorded), nullptr);
    if (ownGroup)
        CloseUndoGroup(source);
    return true;
}

bool CTextBuffer::DeleteRange(CTextBufferListener* source, int startLine, int startChar, int endLine,
                              int endChar, int action)
{
    if (!ValidPos(startLine, startChar) || !ValidPos(endLine, endChar) ||
        TextPos(endChar, endLine) < TextPos(startChar, startLine) || m_readOnly)
        return false;
    std::string text;
    ExtractText(startLine, startChar, endLine, endChar, text);
    std::unique_ptr<std::vector<int32_t>> pieces;
    if (startLine < endLine) {
        // A CR inside a line would read back as a line break: keep the line
        // lengths so that Undo restores the lines exactly.
        bool cr = false;
        for (int i = startLine; i <= endLine && !cr; ++i) {
            int from = i == startLine ? startChar : 0;
            int to = i == endLine ? endChar : m_lines.Length(i);
            cr = to > from && std::memchr(m_lines.Chars(i) + from, '\r', static_cast<size_t>(to - from));
        }
        if (cr) {
            pieces = std::make_unique<std::vector<int32_t>>();
            for (int i = startLine; i <= endLine; ++i) {
                int from = i == startLine ? startChar : 0;
                int to = i == endLine ? endChar : m_lines.Length(i);
                pieces->push_back(to - from);
            }
        }
    } else if (std::memchr(text.data(), '\r', text.size())) {
        pieces = std::make_unique<std::vector<int32_t>>(1, static_cast<int32_t>(text.size()));
    }
    if (!RawDelete(source, startLine, startChar, endLine, endChar))
        return false;
    const bool ownGroup = !m_groupOpen;
    if (ownGroup)
        OpenUndoGroup(false);
    AddRecord(false, TextPos(startChar, startLine), TextPos(endChar, endLine), action, std::move(text),
              std::move(pieces));
    if (ownGroup)
        CloseUndoGroup(source);
    return true;
}

void CTextBuffer::AddRecord(bool insertion, TextPos start, TextPos end, int action, std::string text,
                            std::unique_ptr<std::vector<int32_t>> pieces)
{
    // Redo records go; a saved state among them can never come back.
    while (static_cast<int>(m_history.size()) > m_undoPos) {
        if (m_history.back().flags & UNDO_BEGINGROUP)
            --m_groupStarts;
        m_history.pop_back();
    }
    if (m_savedPos > m_undoPos)
        m_savedPos = -1;

    // At the cap the oldest whole group goes, so that the history always
    // starts at a group start. A single group larger than the cap is kept
    // whole while it grows (so that its Undo restores everything), and goes
    // as a whole when the next group starts.
    const bool continuesGroup = !m_groupStartPending && !m_history.empty();
    if (static_cast<int>(m_history.size()) >= m_undoLimit && !(continuesGroup && m_groupStarts <= 1)) {
        size_t k = 1;
        while (k < m_history.size() && !(m_history[k].flags & UNDO_BEGINGROUP))
            ++k;
        for (size_t i = 0; i < k; ++i) {
            if (m_history.front().flags & UNDO_BEGINGROUP)
                --m_groupStarts;
            m_history.pop_front();
        }
        if (m_savedPos >= 0)
            m_savedPos = m_savedPos - static_cast<int>(k) < 0 ? -1 : m_savedPos - static_cast<int>(k);
    }

    UndoRecord rec;
    rec.flags = insertion ? UNDO_INSERT : 0;
    if (m_groupStartPending || m_history.empty()) {
        m_groupStartPending = false;
        rec.flags |= UNDO_BEGINGROUP;
        ++m_groupStarts;
    }
    rec.start = start;
    rec.end = end;
    rec.action = action;
    rec.text = std::move(text);
    rec.pieces = std::move(pieces);
    m_history.push_back(std::move(rec));
    m_undoPos = static_cast<int>(m_history.size());
    m_groupRecorded = true;
}

void CTextBuffer::ApplyInsertRecord(const UndoRecord& rec)
{
    int endLine, endChar;
    if (!rec.pieces) {
        RawInsert(nullptr, rec.start.y, rec.start.x, rec.text, endLine, endChar);
        return;
    }
    if (!ValidPos(rec.start.y, rec.start.x) || m_readOnly)
        return;
    std::vector<Piece> pieces;
    const char* p = rec.text.data();
    for (int32_t len : *rec.pieces) {
        pieces.push_back({p, len});
        p += len + 2; // the CR LF between the lines
    }
    InsertPieces(nullptr, rec.start.y, rec.start.x, pieces.data(), pieces.size(), endLine, endChar);
}

bool CTextBuffer::ConvertEncoding(CTextBufferListener* source, TextEncoding to, EncodingFailure* failure)
{
    if (!m_initialised || m_readOnly || to == m_encoding)
        return false;
    const TextEncoding from = m_encoding;
    const int count = m_lines.Count();
    // Everything is checked before anything changes.
    if (to == TextEncoding::Cp1252) {
        for (int y = 0; y < count; ++y) {
            const transcode::Result r = transcode::Convert(LineText(y), from, to);
            if (!r.ok) {
                if (failure)
                    *failure = EncodingFailure{y, static_cast<int>(r.badOffset), r.badChar};
                return false;
            }
        }
    }
    const bool ownGroup = !m_groupOpen;
    if (ownGroup)
        OpenUndoGroup(false);
    const std::string change{static_cast<char>(from), static_cast<char>(m_bom), static_cast<char>(to), '\0'};
    AddRecord(false, TextPos(0, 0), TextPos(0, 0), ACT_CONVERT_ENCODING, change, nullptr);
    m_history.back().flags |= UNDO_ENCODING;
    ApplyEncodingRecord(m_history.back(), true);
    for (int y = 0; y < count; ++y) {
        // A line's stretches between CR bytes (characters of the line) are
        // replaced from their first to their last non-ASCII byte, right to
        // left so that the offsets in front stay; ASCII is the same bytes in
        // both encodings and a UTF-8 sequence has no ASCII byte.
        const std::string line(LineText(y));
        int end = static_cast<int>(line.size());
        while (end > 0) {
            int start = end;
            while (start > 0 && line[static_cast<size_t>(start - 1)] != '\r')
                --start;
            int first = start, last = end;
            while (first < last && static_cast<unsigned char>(line[static_cast<size_t>(first)]) < 0x80)
                ++first;
            while (last > first && static_cast<unsigned char>(line[static_cast<size_t>(last - 1)]) < 0x80)
                --last;
            if (first < last) {
                const std::string_view stretch(line.data() + first, static_cast<size_t>(last - first));
                const std::string bytes = transcode::Convert(stretch, from, to).bytes;
                int endLine = 0, endChar = 0;
                DeleteRange(source, y, first, y, last, ACT_CONVERT_ENCODING);
                InsertTextAt(source, y, first, bytes, endLine, endChar, ACT_CONVERT_ENCODING);
            }
            end = start - 1; // in front of the CR
        }
    }
    if (ownGroup)
        CloseUndoGroup(source);
    MarkModified(true);
    return true;
}

void CTextBuffer::ApplyEncodingRecord(const UndoRecord& rec, bool after)
{
    if (rec.text.size() < 4)
        return;
    m_encoding = static_cast<TextEncoding>(rec.text[after ? 2 : 0]);
    m_bom = rec.text[after ? 3 : 1] != 0;
    // Every line is shown anew in the other encoding.
    NotifyViews(nullptr, nullptr, NOTIFY_WIDTH, -1);
}

bool CTextBuffer::UndoStep(TextPos& cursor)
{
    if (!CanUndoStep())
        return false;
    bool moved = false;
    for (;;) {
        --m_undoPos;
        const UndoRecord& rec = m_history[static_cast<size_t>(m_undoPos)];
        if (rec.flags & UNDO_ENCODING) {
            ApplyEncodingRecord(rec, false);
            if (!moved)
                cursor = rec.start;
        } else if (rec.flags & UNDO_INSERT) {
            RawDelete(nullptr, rec.start.y, rec.start.x, rec.end.y, rec.end.x);
            cursor = rec.start;
            moved = true;
        } else {
            ApplyInsertRecord(rec);
            cursor = rec.end;
            moved = true;
        }
        if ((rec.flags & UNDO_BEGINGROUP) || m_undoPos == 0)
            break;
    }
    MarkModified(m_undoPos != m_savedPos);
    return true;
}

bool CTextBuffer::RedoStep(TextPos& cursor)
{
    if (!CanRedoStep())
        return false;
    const int size = static_cast<int>(m_history.size());
    do {
        const UndoRecord& rec = m_history[static_cast<size_t>(m_undoPos)];
        if (rec.flags & UNDO_ENCODING) {
            ApplyEncodingRecord(rec, true);
            cursor = rec.start;
        } else if (rec.flags & UNDO_INSERT) {
            ApplyInsertRecord(rec);
            cursor = rec.end;
        } else {
            RawDelete(nullptr, rec.start.y, rec.start.x, rec.end.y, rec.end.x);
            cursor = rec.start;
        }
        ++m_undoPos;
    } while (m_undoPos < size && !(m_history[static_cast<size_t>(m_undoPos)].flags & UNDO_BEGINGROUP));
    MarkModified(m_undoPos != m_savedPos);
    return true;
}

void CTextBuffer::UndoDescription(std::string& text) const
{
    text.clear();
    int i = m_undoPos - 1;
    if (i < 0)
        return;
    while (i > 0 && !(m_history[static_cast<size_t>(i)].flags & UNDO_BEGINGROUP))
        --i;
    ActionName(m_history[static_cast<size_t>(i)].action, text);
}

void CTextBuffer::RedoDescription(std::string& text) const
{
    text.clear();
    if (CanRedoStep())
        ActionName(m_history[static_cast<size_t>(m_undoPos)].action, text);
}

bool CTextBuffer::ActionName(int action, std::string& text) const
{
    for (const ActionEntry& e : kActions) {
        if (e.code == action) {
            text = e.name;
            return true;
        }
    }
    return false;
}

void CTextBuffer::MarkModified(bool modified)
{
    m_modified = modified;
}

// ---------------------------------------------------------------- line flags

int CTextBuffer::FindFlaggedLine(uint32_t flag) const
{
    if (!SingleFlag(flag))
        return -1;
    const int count = m_lines.Count();
    for (int i = 0; i < count; ++i)
        if (m_lines.Flags(i) & flag)
            return i;
    return -1;
}

void CTextBuffer::ChangeLineFlag(int line, uint32_t flag, bool set, bool unique)
{
    if (!SingleFlag(flag))
        return;
    if (line == -1) {
        line = FindFlaggedLine(flag);
        if (line < 0)
            return;
        unique = false;
    }
    if (line < 0 || line >= m_lines.Count())
        return;
    const uint32_t old = m_lines.Flags(line);
    const uint32_t now = set ? (old | flag) : (old & ~flag);
    if (now == old)
        return;
    if (set && unique) {
        int prev = FindFlaggedLine(flag);
        if (prev >= 0) {
            m_lines.SetFlags(prev, m_lines.Flags(prev) & ~flag);
            NotifyViews(nullptr, nullptr, NOTIFY_ONELINE | NOTIFY_FLAGS, prev);
        }
    }
    m_lines.SetFlags(line, now);
    NotifyViews(nullptr, nullptr, NOTIFY_ONELINE | NOTIFY_FLAGS, line);
}

int CTextBuffer::NextMarkedLine(int line) const
{
    const int count = m_lines.Count();
    if (count == 0)
        return -1;
    int from = line;
    if (line >= 0 && line < count && (m_lines.Flags(line) & LINE_MARK))
        from = line + 1;
    for (int i = std::max(from, 0); i < count; ++i)
        if (m_lines.Flags(i) & LINE_MARK)
            return i;
    for (int i = 0; i < count; ++i)
        if (m_lines.Flags(i) & LINE_MARK)
            return i;
    return -1;
}

int CTextBuffer::PreviousMarkedLine(int line) const
{
    const int count = m_lines.Count();
    if (count == 0)
        return -1;
    int from = line;
    if (line >= 0 && line < count && (m_lines.Flags(line) & LINE_MARK))
        from = line - 1;
    for (int i = std::min(from, count - 1); i >= 0; --i)
        if (m_lines.Flags(i) & LINE_MARK)
            return i;
    for (int i = count - 1; i >= 0; --i)
        if (m_lines.Flags(i) & LINE_MARK)
            return i;
    return -1;
}
