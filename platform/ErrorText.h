// German descriptions of system error numbers, as the system's own error
// texts would read on a German machine; shared by Kib and Kitprobe.
#pragma once

#include <string>

namespace platform {

// A short German sentence for errno err (UTF-8).
std::string GermanErrorText(int err);

} // namespace platform
