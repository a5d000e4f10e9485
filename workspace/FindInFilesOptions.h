// The switches of the find-in-files dialog kept in the per-user store below
// "SOFTWARE\Orvane\KIB\FindInFiles": results pane, match case, whole words,
// subfolders.
#pragma once

#include <cstdint>

struct FindInFilesOptions {
    int32_t searchPane = 0; // 0 "Suchergebnisse 1", 1 "Suchergebnisse 2"
    bool matchCase = false;
    bool wholeWords = false;
    bool recursive = false;

    // The engine's flags (FIND_WHOLE_WORD, FIND_MATCH_CASE, FIND_RECURSIVE).
    uint32_t EngineFlags() const;
};

// The key below the program's key, and the history sections and prefixes of
// the dialog's three combo boxes.
inline constexpr char kFindInFilesKey[] = "FindInFiles";
inline constexpr char kFindInFilesSearchSection[] = "\\FindInFiles\\";
inline constexpr char kFindInFilesSearchPrefix[] = "SearchKey";
inline constexpr char kFindInFilesFilterSection[] = "\\FindInFiles";
inline constexpr char kFindInFilesFilterPrefix[] = "Filter";
inline constexpr char kFindInFilesFilterLast[] = "LastFilterEntry";
inline constexpr char kFindInFilesFolderSection[] = "\\FindInFiles";
inline constexpr char kFindInFilesFolderPrefix[] = "SearchDir";
inline constexpr char kFindInFilesFolderLast[] = "LastSearchEntry";
inline constexpr int kFindInFilesHistoryLimit = 10;

// What the dialog opens with: pane 0 and the three switches off, replaced by
// each value of the key that exists as a 32-bit integer (a value of another
// type is ignored). A pane index other than 0 or 1 gives pane 0.
FindInFilesOptions LoadFindInFilesOptions();

// Written when the dialog closes, after its histories (whose saving creates
// the key): the four values, into the key only if it exists. False when the
// key could not be opened or a value not written.
bool SaveFindInFilesOptions(const FindInFilesOptions& options);
