// Child output on its way into an output pane: every line feed becomes
// CR LF. A CR LF the child wrote stays one CR LF, also when the two bytes
// arrive in different chunks; a carriage return alone stays as it is.
// One converter per output stream.
#pragma once

#include <string>
#include <string_view>

namespace toolchain {

class CPaneTextConverter {
public:
    std::string Convert(std::string_view chunk);
    void Reset() { m_afterCR = false; }

private:
    bool m_afterCR = false; // the last byte converted was a carriage return
};

} // namespace toolchain
