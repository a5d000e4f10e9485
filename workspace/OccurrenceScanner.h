// Finds the occurrences of a search text in one file after the other, through
// one reused buffer: line and column of each, and the text of its line.
// Files up to a size limit are read whole; larger ones stream through the
// buffer, so memory stays bounded whatever the file's size.
#pragma once

#include "text/TextEncoding.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

struct FileOccurrence {
    int64_t offset = 0; // byte offset in the file
    int64_t line = 0;   // 1 + the line feeds in front of it
    int64_t column = 0; // 1 + the bytes since the nearest CR, LF or NUL in front
    // The line that holds it, from behind that CR, LF or NUL to the next one;
    // only its first 40 bytes when it has 1000 bytes or more. Valid until the
    // next call of the scanner.
    std::string_view lineText;
};

class COccurrenceScanner {
public:
    static constexpr size_t kInitialCapacity = 65535;
    static constexpr size_t kGrowthSlack = 1000;
    static constexpr size_t kDefaultMaxWholeFile = size_t(64) << 20;
    static constexpr size_t kLongLine = 1000;
    static constexpr size_t kLongLineCut = 40;

    // initialCapacity: the buffer's first size (tests use small ones).
    explicit COccurrenceScanner(size_t initialCapacity = kInitialCapacity);
    ~COccurrenceScanner();
    COccurrenceScanner(const COccurrenceScanner&) = delete;
    COccurrenceScanner& operator=(const COccurrenceScanner&) = delete;

    // The pattern is bytes in the file's encoding. Bytes are compared as they
    // are with matchCase; without it the characters are case-folded in that
    // encoding (text/CharCase.h: umlauts, "ß" as "ss"), so an occurrence may
    // be longer or shorter than the pattern. A pattern of ASCII letters only
    // matches those letters in either case (and "ß" when it holds "ss"). With
    // wholeWord an occurrence has no word character of the encoding right in
    // front of it or behind it (the file's start and end count as none). An
    // empty pattern has no occurrences.
    void SetPattern(std::string_view pattern, bool matchCase, bool wholeWord,
                    TextEncoding encoding = TextEncoding::Utf8);

    // Files whose bytes and a NUL do not fit the buffer make it grow to their
    // length plus kGrowthSlack, up to this limit; larger files stream
    // through the buffer as it is.
    void SetMaxWholeFile(size_t bytes) { m_maxWholeFile = bytes; }

    // Called between two reads of a streamed file; returning false cancels
    // the rest of that file (Cancelled() then tells).
    void SetPoll(std::function<bool()> poll) { m_poll = std::move(poll); }

    // Starts on a file; fd stays the caller's. False when it cannot be read
    // (the file then has no occurrences).
    bool Open(int fd);
    // The same over bytes in memory (copied or streamed like a file).
    bool OpenMemory(std::string_view bytes);
    // The next occurrence, behind the previous one (occurrences never
    // overlap); false at the end of the file, on a read error or a cancel.
    bool Next(FileOccurrence& occurrence);
    // Forgets the current file (the buffer stays for the next one).
    void Close();

    // The bytes read so far of the file just opened: all of it when
    // ReadWhole(), else its start.
    std::string_view FirstBytes() const { return std::string_view(m_data ? m_data : "", m_winLen); }
    bool ReadWhole() const { return m_eof; }

    size_t Capacity() const { return m_capacity; }
    bool Cancelled() const { return m_cancelled; }
    // Frees the buffer; the next file allocates it anew.
    void ReleaseBuffer();

private:
    bool Start(int64_t size);
    bool Fill();
    void Slide();
    void Account(int64_t to);
    bool FindCandidate(int64_t from, int64_t lastStart, int64_t& found, int64_t& length) const;
    size_t MatchFolded(const char* text, size_t avail) const;
    bool IsWordBefore(int64_t offset) const;
    bool IsWordAt(int64_t offset) const;
    void MakeLineText(int64_t at);
    const char* At(int64_t offset) const { return m_data + (offset - m_winBase); }
    size_t MinWindow() const;

    std::string m_pattern; // case-folded when !m_matchCase
    bool m_matchCase = true;
    bool m_wholeWord = false;
    TextEncoding m_encoding = TextEncoding::Utf8;
    bool m_folding = false;                // compared character by character
    int64_t m_reach = 0;                   // the most bytes an occurrence covers
    std::array<bool, 256> m_firstBytes{}; // bytes an occurrence may start with when folding
    size_t m_maxWholeFile = kDefaultMaxWholeFile;
    std::function<bool()> m_poll;

    std::unique_ptr<char[]> m_buffer;
    char* m_data = nullptr;
    size_t m_initialCapacity;
    size_t m_capacity;

    // The source.
    int m_fd = -1;
    std::string_view m_memory;
    size_t m_memoryPos = 0;
    int64_t m_remaining = 0; // bytes of the file not read yet
    bool m_open = false;
    bool m_readFailed = false;
    bool m_cancelled = false;

    // The window of the file in the buffer.
    int64_t m_winBase = 0;
    size_t m_winLen = 0;
    bool m_eof = false;

    // Scan state, in file offsets.
    int64_t m_pos = 0;       // where the next candidate may start
    int64_t m_counted = 0;   // line feeds and breaks counted up to here
    int64_t m_lineNo = 1;
    int64_t m_lineStart = 0; // behind the last break in front of m_counted
    bool m_lineLong = false; // that line has 1000 bytes or more, m_lineHead holds its start
    std::string m_lineHead;
    int64_t m_textLineStart = -1; // the line m_lineText was made for
    std::string m_lineText;
};
