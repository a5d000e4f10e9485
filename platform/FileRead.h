// Reading a whole regular file into memory, refusing folders and devices.
#pragma once

#include <string>

namespace platform {

// True when path is a regular file that could be read completely; err gets
// the errno of a failure (EISDIR for a folder).
bool ReadWholeFile(const std::string& path, std::string& out, int* err = nullptr);

} // namespace platform
