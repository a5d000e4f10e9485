// Every setting of kibparam.xml with its default, and how the whole set is
// read from and written to the file. The main frame owns one instance.
#pragma once

#include "settings/LogFont.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CParamFile;
struct CParamSaveReport;

using COLORREF = uint32_t; // 0x00BBGGRR

constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b)
{
    return (r & 0xff) | ((g & 0xff) << 8) | ((b & 0xff) << 16);
}

// Syntax colour classes with settings, in the order of the file.
enum EHighlight {
    HL_KEYWORD,
    HL_OPERATOR,
    HL_COMMENT,
    HL_COMMENTMULTI,
    HL_COMMENTJAVADOC,
    HL_NUMBER,
    HL_STRING,
    HL_FUNCTION,
    HL_BRACEMATCH,
    HL_COUNT
};

// Style bits of a highlight class.
enum : int { STYLE_BOLD = 1, STYLE_ITALIC = 2 };

struct CHighlightStyle {
    COLORREF foreground = 0;
    COLORREF background = 0;
    int style = 0;
    bool operator==(const CHighlightStyle&) const = default;
};

struct CTextBlock {
    std::string name;
    std::string content; // may hold CR, LF, TAB and the caret marker 0xA7
    bool operator==(const CTextBlock&) const = default;
};

// One entry of the Tools menu; the fields are its keys under
// "KIBPARAMS:TOOLS:TOOL%d".
struct CToolEntry {
    std::string name; // NAME: the menu text
    std::string args; // ARGS: arguments with the $file ... $destpath macros
    std::string path; // PATH: the program or document started
    int stop = 1;     // STOP: 1 runs it in a terminal that stays open
    int save = 1;     // SAVE: 0 nothing, 1 the active document, 2 all documents
    bool operator==(const CToolEntry&) const = default;
};

class CSettings {
public:
    static constexpr int kTextBlocks = 12;

    CSettings();

    // Every setting to its default.
    void ResetToDefaults();

    // Reads every key (a missing one gives its default); ppi is the screen's
    // vertical pixels per inch, for the font heights.
    void Load(const CParamFile& file, int ppi);
    // Sets every key, in the order that fixes the file's layout.
    void Save(CParamFile& file, int ppi) const;

    // Load/Save on a file name; a missing file gives the defaults, a file
    // cut off the values read before the cut. The save follows the rules of
    // CParamFile::Save; report says what it did.
    void LoadFile(const std::string& fileName, int ppi);
    bool SaveFile(const std::string& fileName, int ppi, CParamSaveReport* report = nullptr) const;

    static std::string EscapeBlock(const std::string& content);
    static std::string UnescapeBlock(const std::string& stored);
    static CTextBlock DefaultTextBlock(int index); // 0..11

    // Compiler
    std::string m_compilerPath;
    int m_setDestinationPath;
    std::string m_destinationPath;
    int m_debugInfo;
    int m_optimize;
    int m_noWarnings;
    int m_status;
    int m_deprecated;
    int m_autoSaveBeforeCompile;
    int m_autoSaveBeforeCompileType;
    // Interpreter and JDK extras
    std::string m_interpreterPath;
    int m_stopAfterRun;
    int m_captureOutput;
    std::string m_appletViewerPath;
    std::string m_docuPath;
    std::string m_classPath;
    // User interface at start
    int m_showSplash;
    int m_reopenFiles;
    int m_skin;
    int m_editorTabs;
    int m_openMaximized;
    std::vector<std::string> m_fileExtensions; // the explorer's list, from FILENAMEMASK
    // Output bar font
    CLogFont m_outputFont;
    // Full-screen mode
    int m_fullScreenShowToolbar;
    int m_fullScreenShowOutput;
    int m_fullScreenShowStatus;
    int m_fullScreenShowWorkspace;
    // Text blocks T1..T12
    std::array<CTextBlock, kTextBlocks> m_textBlocks;
    // Editor behaviour
    int m_autoIndent;
    int m_reopenAfterChange;
    int m_tabWidth;
    int m_showTabsAndSpaces;
    int m_showLineNumbers;
    int m_insertTabsAsSpaces;
    int m_indentAfterBracket;
    int m_drawColumnGuide;
    int m_columnGuidePos;
    int m_matchBrace;
    // Editor window colours
    COLORREF m_windowForeground;
    COLORREF m_windowBackground;
    COLORREF m_selectionForeground;
    COLORREF m_selectionBackground;
    COLORREF m_marginForeground;
    COLORREF m_marginBackground;
    // Syntax colours
    std::array<CHighlightStyle, HL_COUNT> m_highlight;
    // Editor font
    CLogFont m_editorFont;
    // User tools
    std::vector<CToolEntry> m_tools;
    // Start files; -1: none chosen (written, never read)
    std::vector<std::string> m_startFiles;
    int m_curStartFile;

    bool operator==(const CSettings&) const = default;
};

// What start-up reads before the main frame exists.
struct CStartupSettings {
    int showSplash = 1;
    int reopenFiles = 0;
    int openMaximized = 1;
};

CStartupSettings ReadStartupSettings(const std::string& paramFileName);
