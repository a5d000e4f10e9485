// Child output on its way into an output pane: every line feed becomes
// CR LF. A CR LF the child wrote stays one CR LF, also when the two bytes
// arrive in different chunks; a carriage return alone stays as it is.
// Output in Windows-1252 becomes UTF-8, the panes' text; UTF-8 passes as it
// is. One converter per output stream.
#pragma once

#include "text/TextEncoding.h"

#include <string>
#include <string_view>

namespace toolchain {

class CPaneTextConverter {
public:
    std::string Convert(std::string_view chunk);
    void Reset(TextEncoding childOutput = TextEncoding::Utf8)
    {
        m_afterCR = false;
        m_encoding = childOutput;
    }

private:
    bool m_afterCR = false; // the last byte converted was a carriage return
    TextEncoding m_encoding = TextEncoding::Utf8;
};

} // namespace toolchain
