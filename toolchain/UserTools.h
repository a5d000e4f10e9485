// Starting a user tool of the Tools menu: the values of the argument macros
// for the active document, the argument text made into argv with each macro
// value as one unsplittable piece, and the way the program is started
// (terminal, directly, or through the desktop's opener).
#pragma once

#include "settings/Settings.h"

#include <string>
#include <vector>

namespace toolchain {

// What the macros stand for, all empty for a document without a path.
struct CToolMacroValues {
    std::string file;     // $file: file name without extension
    std::string source;   // $source: file name with ".java"
    std::string klass;    // $class: file name with ".class"
    std::string path;     // $path: the document's folder with its trailing separator
    std::string destpath; // $destpath: the compiler's destination folder, unchanged
    std::string workDir;  // the folder the tool starts in
};

CToolMacroValues ToolMacroValues(const std::string& documentPath, const std::string& destinationPath);

// The argument text cut into typed text and macro values, in the order
// $file, $source, $class, $path, $destpath, each scanned left to right and
// case-sensitively; no value is ever scanned again for macros.
struct CToolArgPiece {
    std::string text;
    bool value = false; // inserted by a macro
};
std::vector<CToolArgPiece> ExpandToolMacros(const std::string& arguments, const CToolMacroValues& values);

// The pieces joined: the argument string as the tool's command line shows it.
std::string ToolArgumentText(const std::vector<CToolArgPiece>& pieces);

// The argument words: the typed text is split by the quoting rules of
// SplitCommandLine, a macro value stays inside its word as it is, however
// many blanks, quotes or shell characters it holds.
std::vector<std::string> ToolArguments(const std::string& arguments, const CToolMacroValues& values);

enum class EToolStart {
    Terminal, // argv in the user's terminal, which stays open afterwards
    Direct,   // an executable started as argv
    Opener,   // a document handed to the desktop's opener (xdg-open)
    Missing,  // nothing to start: the program is neither a program nor a file
};

struct CToolLaunch {
    EToolStart how = EToolStart::Missing;
    std::vector<std::string> argv; // program first; for Opener: the opener and the document
    std::string workDir;
    std::string program; // the tool's program as configured, for messages
};

// How tool starts for the document (empty path: a document never saved).
// pathVar is the PATH that bare program names are looked up in.
CToolLaunch BuildToolLaunch(const CToolEntry& tool, const std::string& documentPath,
                            const std::string& destinationPath, const std::string& pathVar);

// Starts it detached; 0 or the errno of the failure (ENOENT for Missing and
// when no terminal or opener exists).
int StartToolLaunch(const CToolLaunch& launch);

// The tools that have a command (7000 + index): the first 21.
inline constexpr int kMaxRunnableTools = 21;

} // namespace toolchain
