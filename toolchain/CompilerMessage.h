// Finds the JDK compiler message around a line of the compiler output pane:
// the message line ("<file>.java:<line>: ...") at or above it and the caret
// line below that, whose "^" stands under the faulty character.
#pragma once

#include "text/TextEncoding.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace toolchain {

struct CCompilerMessage {
    bool messageFound = false; // a ".java:" line was found: file and line are set
    bool caretFound = false;   // its caret line was found: column and highlight are set
    // Both found: what a double-click needs to jump.
    bool Complete() const { return messageFound && caretFound; }

    std::string file;  // full path of the source file
    int line = 0;      // 1-based line the message names; 0 when it names none
    int column = 0;    // 1-based column of the character under the caret; 0 without caret line
    int caretIndex = -1; // byte index of "^" in the caret line

    int messageLine = -1; // pane line indexes
    int caretLine = -1;
    // The highlighted range, in (pane line, byte) positions, end exclusive:
    // from the start of the message line to two bytes past the caret (at most
    // the end of the caret line).
    int selStartLine = -1, selStartColumn = 0;
    int selEndLine = -1, selEndColumn = 0;
};

// Looks upwards from clickedLine (the pane's first line, the "Compile" line,
// is never examined) for the first line holding ".java:", then downwards from
// that line for the first line made of blanks and tabs and a "^". Relative
// file names are taken relative to baseDir (the compiler's working folder;
// empty: the current folder).
CCompilerMessage RecognizeCompilerMessage(const std::vector<std::string>& paneLines,
                                          int clickedLine, const std::string& baseDir = {});
// The same over lineCount lines read through lineAt, so that a large pane
// need not be copied.
CCompilerMessage RecognizeCompilerMessage(int lineCount,
                                          const std::function<std::string_view(int)>& lineAt,
                                          int clickedLine, const std::string& baseDir = {});

// The byte index in a source line of the character javac's caret stands
// under. javac puts one blank (or the tab) per UTF-16 unit of the line in
// front of it: a character above U+FFFF counts twice, one of Windows-1252
// once, and a byte order mark that the document keeps out of its first line
// (bomBefore) once. Clamped to the line.
int SourceIndexOfCaret(std::string_view line, int caretIndex, TextEncoding encoding, bool bomBefore);

// The pane's text as lines without their terminators (CR LF, LF or CR).
std::vector<std::string> SplitPaneLines(std::string_view text);

} // namespace toolchain
