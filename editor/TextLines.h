// Read access to the lines a view shows (one empty line without a buffer),
// for the core classes that work on a view's text without knowing the view.
#pragma once

#include "text/TextEncoding.h"

#include <cstdint>

class ITextLines {
public:
    virtual ~ITextLines() = default;
    virtual int LineCount() const = 0;
    virtual int LineLength(int line) const = 0;
    virtual const char* LineChars(int line) const = 0;
    // How the bytes of the lines make characters.
    virtual TextEncoding Encoding() const = 0;
    // out[k]: the display length of line first + k at tabWidth when it is
    // known without a look at its bytes, else -1 (here: nothing is known).
    // One call for many lines: a walk over every line of a big file pays two
    // calls per line otherwise.
    virtual void KnownLengths(int first, int count, int tabWidth, int32_t* out) const
    {
        (void)first;
        (void)tabWidth;
        for (int k = 0; k < count; ++k)
            out[k] = -1;
    }
};
