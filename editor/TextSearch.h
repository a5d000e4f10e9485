// Finding text in a CTextBuffer line by line (a match never spans a line
// break), and the buffer side of selecting a match and replacing it. The find
// and replace dialogs, F3 and the toolbar box of the views call these.
#pragma once

#include "editor/TextBuffer.h"
#include "editor/TextPos.h"

#include <cstdint>
#include <string>
#include <string_view>

class CTextBufferListener;

// Search flags.
inline constexpr uint32_t SEARCH_MATCH_CASE = 0x01;
inline constexpr uint32_t SEARCH_WHOLE_WORD = 0x02;
inline constexpr uint32_t SEARCH_UP = 0x10;

// The whole-word rule of a Windows-1252 byte: its letters, digits and "_"
// (UTF-8 documents: charcase::IsWordChar on their characters).
bool IsSearchWordChar(unsigned char c);

// The find and replace controls hold UTF-8 text; a document is searched for
// those characters in its own encoding. A text with a character that the
// document's encoding cannot hold gives an empty pattern, which finds
// nothing.
std::string DocumentSearchText(const CTextBuffer& buffer, std::string_view controlText);

// Searches pattern (bytes in the buffer's encoding) from start within
// [blockBegin, blockEnd). Downwards a match
// that starts at or after blockEnd is not taken (one that starts before it
// and runs past it is); upwards the block only moves a start that lies before
// blockBegin. wrap restarts once: downwards at blockBegin, upwards at the last
// line. Without SEARCH_MATCH_CASE both sides are case-folded in the buffer's
// encoding (text/CharCase.h), so a match may be longer or shorter than the
// pattern ("ss" finds "ß"); matchLength receives its length in bytes. A
// match starts and ends on whole characters, and with SEARCH_WHOLE_WORD has
// no word character of the encoding right beside it. An empty pattern and an
// empty block find nothing. Positions outside the text are clamped to it.
bool SearchInRange(const CTextBuffer& buffer, std::string_view pattern, TextPos start,
                   TextPos blockBegin, TextPos blockEnd, uint32_t flags, bool wrap,
                   TextPos& found, int* matchLength = nullptr);

// SearchInRange over the whole text: (0, 0) to the end of the last line.
bool SearchText(const CTextBuffer& buffer, std::string_view pattern, TextPos start,
                uint32_t flags, bool wrap, TextPos& found, int* matchLength = nullptr);

// Where caret, anchor and selection go when a match of length bytes at pos
// is selected: caret and anchor behind the match, the selection over it.
struct FoundSelection {
    TextPos caret;
    TextPos anchor;
    TextPos selStart;
    TextPos selEnd;
};
FoundSelection SelectFoundPositions(TextPos pos, int length);

// The two edits of replacing a selection: the selection is deleted
// (ACT_DELSEL) and text inserted at its start (ACT_REPLACE), each as an undo
// group of its own. insertStart and insertEnd receive where the new text
// lies. False, with nothing changed, for an empty selection or a failed
// deletion (read-only buffer, positions outside the text); when only the
// insertion fails the deletion stays and insertEnd equals insertStart.
bool ReplaceRange(CTextBuffer& buffer, CTextBufferListener* source, TextPos selStart,
                  TextPos selEnd, std::string_view text, TextPos& insertStart,
                  TextPos& insertEnd);

// Where text inserted at start ends: CR or CR LF breaks a line there, a
// lone LF is an ordinary character.
TextPos InsertedTextEnd(TextPos start, std::string_view text);

// Moves a block limit across the replacement of a searchLength-byte match
// at foundPos by replaceText: a limit on that line behind the match start
// shifts by the difference in length (and down with any line break in
// replaceText, as does a limit on a later line), but never in front of the
// match.
void AdjustForReplacement(TextPos& limit, TextPos foundPos, int searchLength,
                          std::string_view replaceText);

// The search F3 and Shift+F3 repeat: set when the find dialog closes.
struct RememberedSearch {
    bool present = false;
    std::string text;
    uint32_t flags = 0;
};

// F3 (reverse false) and Shift+F3 (reverse true, SEARCH_UP inverted for this
// search only): searches from the caret with wrap on. False when nothing is
// remembered or nothing was found. The remembered text is the dialog's.
bool FindAgain(const CTextBuffer& buffer, const RememberedSearch& search, TextPos caret,
               bool reverse, TextPos& found, int* matchLength = nullptr);

// The text the find dialog proposes for a selection, as UTF-8: its
// characters when the ordered selection is not empty, lies within one line
// and holds no byte that is no valid UTF-8 (which no control can show), else
// nothing.
bool ProposedSearchText(const CTextBuffer& buffer, TextPos selStart, TextPos selEnd,
                        std::string& text);
