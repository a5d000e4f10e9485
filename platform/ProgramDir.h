// Where Kib keeps kibparam.xml and kibfiles.xml, and the per-user config
// folder used when that place cannot be written.
#pragma once

#include <string>

namespace platform {

// The per-user configuration folder of Kib ($XDG_CONFIG_HOME/kib/, by default
// ~/.config/kib/), ending in a separator. It is created when missing.
std::string UserConfigDirectory();

// The folder of the running program, ending in a separator: the folder of
// argv0 made absolute when argv0 holds a slash (a link to the program in
// another folder gets that folder), else the folder of /proc/self/exe. When
// that folder is not writable, the per-user config folder is used instead.
std::string ProgramDirectory(const char* argv0);

// The folder of the executable only, without the writability fallback.
std::string ExecutableDirectory(const char* argv0);

} // namespace platform
