// Path splitting and joining in the manner of drive/folder/name/extension
// (the drive is always empty on POSIX), and the separators of this platform.
#pragma once

#include <string>
#include <string_view>

namespace platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
inline constexpr char kListSeparator = ';';
#else
inline constexpr char kPathSeparator = '/';
inline constexpr char kListSeparator = ':';
#endif

bool IsPathSeparator(char c);

struct SplitPathResult {
    std::string drive; // "C:" on Windows, always empty here
    std::string dir;   // folder part including its final separator, or empty
    std::string fname; // name without extension
    std::string ext;   // from the last "." of the last component, dot included
};

SplitPathResult SplitPath(std::string_view path);

// Joins the four parts; a separator is added after a non-empty folder that
// lacks one, and a "." before an extension that lacks one.
std::string MakePath(std::string_view drive, std::string_view dir, std::string_view fname,
                     std::string_view ext);

// dir + separator (when dir is non-empty and does not end in one) + name.
std::string JoinPath(std::string_view dir, std::string_view name);

// Drive and folder of a path, ending in a separator (empty for a bare name).
std::string DirectoryOf(std::string_view path);

// The last component (name and extension).
std::string FileNameOf(std::string_view path);

// Makes a path absolute against the current directory and removes "." and
// ".." components and doubled separators lexically (symbolic links are not
// resolved). An empty path gives the current directory.
std::string AbsolutePath(std::string_view path);

// Ensures a trailing separator (an empty string stays empty).
std::string WithTrailingSeparator(std::string_view dir);

} // namespace platform
