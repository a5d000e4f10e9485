// Document text moved from one encoding into the other, and the pieces of
// it that go into the output panes: whole strings, checked character by
// character, so that a character the target cannot hold is refused rather
// than replaced.
#pragma once

#include "text/TextEncoding.h"

#include <string>
#include <string_view>

namespace transcode {

struct Result {
    bool ok = true;
    std::string bytes;
    // When !ok: the byte offset (in the source) of the first character the
    // target encoding cannot hold, and that character.
    size_t badOffset = 0;
    char32_t badChar = 0;
};

// The bytes of text (in from) in to. Windows-1252 to UTF-8 always succeeds
// (the five bytes without a character become the C1 controls of the same
// value, which come back as those bytes). UTF-8 to Windows-1252 fails on the
// first character outside the code page; a byte that is no valid UTF-8 is
// kept as the byte it is. The same encoding on both sides copies.
Result Convert(std::string_view text, TextEncoding from, TextEncoding to);

// Text of the given encoding as UTF-8 for an output pane: Windows-1252 is
// decoded, UTF-8 is kept as it is (invalid bytes included: the pane shows
// them as placeholders).
std::string ToPaneText(std::string_view text, TextEncoding encoding);

// A text that the settings hold for a dialog (a history entry, the last
// search): UTF-8 as it is; anything else was written as Windows-1252 by an
// earlier version and is decoded from it.
std::string StoredTextToUtf8(std::string_view text);

// The length of bytes without a UTF-8 sequence cut off at its end (a
// buffer's end or a cut line): the start of such a last sequence, else the
// whole length.
size_t CompleteUtf8Prefix(std::string_view bytes);

} // namespace transcode
