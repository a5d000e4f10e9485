// The find-in-files engine: walks a start folder (and its subfolders when
// asked), takes the files whose names match the filter, and yields each file
// with at least one occurrence of the search text and then its occurrences.
// It runs on the caller's thread in small steps and calls back between files
// so that the caller can keep its windows painted and cancel.
#pragma once

#include "workspace/FileFilter.h"
#include "workspace/FolderWalk.h"
#include "workspace/OccurrenceScanner.h"
#include "text/TextEncoding.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Search flags of the engine.
inline constexpr uint32_t FIND_WHOLE_WORD = 4;
inline constexpr uint32_t FIND_MATCH_CASE = 8;
inline constexpr uint32_t FIND_RECURSIVE = 64;

class CFileTextSearch {
public:
    // Gets the path of the file being read; returning false cancels the
    // search.
    using Poll = std::function<bool(const std::string& currentPath)>;

    CFileTextSearch();
    ~CFileTextSearch();
    CFileTextSearch(const CFileTextSearch&) = delete;
    CFileTextSearch& operator=(const CFileTextSearch&) = delete;

    // Sets the search up. The search text is UTF-8; each file is searched
    // for it in that file's encoding, decided as a document's is on load (a
    // file larger than the whole-file limit by its first buffer), and a
    // Windows-1252 file cannot hold a text with characters outside that code
    // page. False, with a search that yields nothing, for an empty search
    // text, an empty start folder, or a start folder that cannot be opened
    // or listed.
    bool Setup(std::string_view searchText, const std::string& startFolder, std::string_view filter,
               uint32_t flags);

    // poll is called before a file is read and between the reads of a large
    // file, at most once per interval (the first time at once).
    void SetPoll(Poll poll, std::chrono::milliseconds interval = std::chrono::milliseconds(40));

    // Moves to the next file that holds at least one occurrence; false when
    // the walk is over or was cancelled. Occurrences of the previous file
    // that were not asked for are skipped.
    bool NextFile();
    // The next occurrence in the current file, in file order, never
    // overlapping the previous one; lineText stays valid until the next
    // call of NextOccurrence or NextFile.
    bool NextOccurrence(FileOccurrence& occurrence);
    // Full path of the current file.
    const std::string& CurrentPath() const { return m_currentPath; }

    // Stops the walk: NextFile and NextOccurrence return false from now on.
    void Cancel();
    bool Cancelled() const { return m_cancelled; }

    // The result line of an occurrence in the current file, UTF-8: the path
    // as the file system gives it, the line decoded from the file's
    // encoding, the column counted in its characters (a byte order mark not
    // counted nor shown).
    std::string ResultLine(const FileOccurrence& occurrence) const;
    // The encoding of the current file.
    TextEncoding CurrentEncoding() const { return m_encoding; }

    uint32_t Flags() const { return m_flags; }
    const std::string& StartFolder() const { return m_walk.StartFolder(); }
    // The folder depth of the current file below the start folder.
    int Depth() const { return m_walk.Depth(); }
    size_t BufferCapacity() const { return m_scanner.Capacity(); }
    int FilesSearched() const { return m_filesSearched; }
    const CFolderWalk& Walk() const { return m_walk; }
    // The largest file read whole; larger ones are streamed.
    void SetMaxWholeFile(size_t bytes) { m_scanner.SetMaxWholeFile(bytes); }

private:
    bool PollNow(const std::string& path, bool force);
    // Decides the current file's encoding and sets the scanner's pattern for
    // it; false when the file cannot hold the search text.
    bool PrepareFile();

    CFileFilter m_filter;
    CFolderWalk m_walk;
    COccurrenceScanner m_scanner;
    uint32_t m_flags = 0;
    std::string m_textUtf8;
    std::string m_text1252;
    bool m_fitsCp1252 = true;
    TextEncoding m_encoding = TextEncoding::Utf8;
    TextEncoding m_patternEncoding = TextEncoding::Utf8;
    bool m_bom = false;
    bool m_active = false;
    bool m_cancelled = false;
    std::string m_currentPath;
    FileOccurrence m_pending;
    bool m_hasPending = false;
    int m_filesSearched = 0;
    Poll m_poll;
    std::chrono::milliseconds m_interval{40};
    std::chrono::steady_clock::time_point m_lastPoll{};
    bool m_polledOnce = false;
};
