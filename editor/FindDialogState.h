// What the find and replace dialogs open with and keep when they close: the
// profile sections "Find" and "Replace", the keys "EditFind" and
// "EditReplace" below the program's key, and the view's remembered search.
#pragma once

#include "editor/TextSearch.h"

#include <string>

// History sections and prefixes of the dialogs' combo boxes.
inline constexpr char kEditFindHistorySection[] = "\\EditFind\\SearchKeys";
inline constexpr char kEditReplaceSearchSection[] = "\\EditReplace\\SearchKeys";
inline constexpr char kEditReplaceTextSection[] = "\\EditReplace\\ReplaceText";
inline constexpr char kSearchKeyPrefix[] = "SearchKey";
inline constexpr char kReplaceTextPrefix[] = "ReplaceText";
inline constexpr char kHistoryLastEntry[] = "LastEntry";
inline constexpr int kFindHistoryLimit = 10;

struct FindDialogValues {
    std::string text;
    bool matchCase = false;
    bool wholeWords = false;
    bool upwards = false; // "&Rückwärts"; the dialog's direction 0, else 1

    uint32_t Flags() const;
};

// The find command's defaults: the view's remembered search, else the
// profile section "Find" (downwards); then the selected text when the
// selection lies within one line (selectionText non-null).
FindDialogValues FindCommandDefaults(const RememberedSearch& remembered, const std::string* selectionText);

// The find dialog's opening: each of "MatchCase", "WholeWordsOnly" and
// "Directon" (0 upwards, 1 downwards) of the key "EditFind" that exists
// replaces its default. Nothing of the find dialog is ever written there.
void ApplyEditFindKey(FindDialogValues& values);

// After the find dialog closed, whatever button closed it: the remembered
// search is set and the profile section "Find" written (not the direction).
void StoreFindDialogResult(const FindDialogValues& values, RememberedSearch& remembered);

struct ReplaceDialogValues {
    std::string searchText;
    std::string replaceText;
    bool matchCase = false;
    bool wholeWords = false;
    int scope = -1; // REPLACE_SCOPE_SELECTION or REPLACE_SCOPE_FILE
};

// The replace command's defaults from the profile section "Replace", the
// scope from whether there is a selection; then the dialog's opening lets
// each of "MatchCase", "WholeWordsOnly" and "Scope" of "EditReplace" that
// exists replace its value.
ReplaceDialogValues ReplaceCommandDefaults(bool withSelection);

// The replace dialog's closing: "Scope", "MatchCase" and "WholeWordsOnly"
// into "EditReplace", only if that key already exists (the histories are
// saved after this, by the combo boxes). False when nothing was written.
bool SaveEditReplaceKey(const ReplaceDialogValues& values);

// After the replace dialog closed: the profile section "Replace".
void StoreReplaceProfile(const ReplaceDialogValues& values);
