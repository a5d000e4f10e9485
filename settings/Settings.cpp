#include "settings/Settings.h"

#include "settings/ExtensionList.h"
#include "settings/ParamFile.h"

#include <algorithm>

namespace {

// Lists stored as COUNT plus numbered entries: a corrupt count must not make
// the program build millions of empty entries.
constexpr int kMaxListEntries = 1024;

constexpr int kDefaultPpi = 96;

const char* const kHighlightNames[HL_COUNT] = {
    "KEYWORD", "OPERATOR", "COMMENT", "COMMENTMULTI", "COMMENTJAVADOC",
    "NUMBER",  "STRING",   "FUNCTION", "BRACEMATCH",
};

const CHighlightStyle kHighlightDefaults[HL_COUNT] = {
    {16711680, 16777215, 0}, // KEYWORD: blue
    {0, 16777215, 0},        // OPERATOR
    {37632, 16777215, 0},    // COMMENT: green 147
    {37632, 16777215, 0},    // COMMENTMULTI
    {37632, 15658734, 0},    // COMMENTJAVADOC on grey 238
    {6710886, 16777215, 0},  // NUMBER: grey 102
    {8388736, 16777215, 0},  // STRING: red 128, blue 128
    {10908492, 16777215, 0}, // FUNCTION
    {255, 65535, 0},         // BRACEMATCH: red on yellow
};

struct FontDefaults {
    const char* face;
    int charset, precision, quality, family, points;
};
constexpr FontDefaults kFontDefaults{"Courier New", 1, 3, 1, 49, 10};

std::string BlockKey(int index, const char* field)
{
    return "KIBPARAMS:GUI:TEMPLATES:T" + std::to_string(index + 1) + ":" + field;
}

std::string ToolKey(int index, const char* field)
{
    return "KIBPARAMS:TOOLS:TOOL" + std::to_string(index) + ":" + field;
}

std::string ReplaceAll(std::string s, const std::string& from, const std::string& to)
{
    size_t pos = 0;
    while ((pos = s.find(from, pos)) != std::string::npos) {
        s.replace(pos, from.size(), to);
        pos += to.size();
    }
    return s;
}

// ---- visitors: one list of keys serves defaults, loading and saving.

struct DefaultsVisitor {
    void Str(const char*, std::string& m, const char* def) { m = def; }
    void Int(const char*, int& m, int def) { m = def; }
    void Colour(const char*, COLORREF& m, COLORREF def) { m = def; }
    void Mask(const char*, std::vector<std::string>& m) { m.clear(); }
    void Font(const char*, CLogFont& f)
    {
        f = CLogFont();
        f.SetFaceName(kFontDefaults.face);
        f.lfCharSet = static_cast<uint8_t>(kFontDefaults.charset);
        f.lfOutPrecision = static_cast<uint8_t>(kFontDefaults.precision);
        f.lfQuality = static_cast<uint8_t>(kFontDefaults.quality);
        f.lfPitchAndFamily = static_cast<uint8_t>(kFontDefaults.family);
        f.SetPointSize(kFontDefaults.points, kDefaultPpi);
    }
    void Block(int index, CTextBlock& b) { b = CSettings::DefaultTextBlock(index); }
    void Tools(std::vector<CToolEntry>& t) { t.clear(); }
    void StartFiles(std::vector<std::string>& files, int& cur)
    {
        files.clear();
        cur = -1;
    }
};

struct LoadVisitor {
    const CParamFile& file;
    int ppi;

    void Str(const char* key, std::string& m, const char* def) { file.GetString(key, m, def); }
    void Int(const char* key, int& m, int def)
    {
        // A value that is no number counts as present: m keeps what it held.
        int32_t v = m;
        file.GetInt(key, v, def);
        m = v;
    }
    void Colour(const char* key, COLORREF& m, COLORREF def)
    {
        int32_t v = static_cast<int32_t>(m);
        file.GetInt(key, v, static_cast<int32_t>(def));
        m = static_cast<COLORREF>(v);
    }
    void Mask(const char* key, std::vector<std::string>& m)
    {
        std::string mask;
        file.GetString(key, mask, "");
        m = CExtensionList::Split(mask);
    }
    void Font(const char* prefix, CLogFont& f)
    {
        const std::string p = prefix;
        std::string face;
        file.GetString(p + "FACENAME", face, kFontDefaults.face);
        f.SetFaceName(face);
        auto byteField = [&](const char* name, uint8_t& field, int def) {
            int32_t v = field;
            file.GetInt(p + name, v, def);
            field = static_cast<uint8_t>(v & 0xff);
        };
        byteField("CHARSET", f.lfCharSet, kFontDefaults.charset);
        byteField("PRECISION", f.lfOutPrecision, kFontDefaults.precision);
        byteField("QUALITY", f.lfQuality, kFontDefaults.quality);
        byteField("FAMILY", f.lfPitchAndFamily, kFontDefaults.family);
        int32_t points = f.PointSize(ppi);
        file.GetInt(p + "HEIGHT", points, kFontDefaults.points);
        f.SetPointSize(points, ppi);
    }
    void Block(int index, CTextBlock& b)
    {
        CTextBlock def = CSettings::DefaultTextBlock(index);
        std::string stored;
        if (file.GetString(BlockKey(index, "CONTENT"), stored, ""))
            b.content = CSettings::UnescapeBlock(stored);
        else
            b.content = def.content;
        file.GetString(BlockKey(index, "NAME"), b.name, def.name);
    }
    void Tools(std::vector<CToolEntry>& tools)
    {
        int32_t count = 0;
        file.GetInt("KIBPARAMS:TOOLS:COUNT", count, 0);
        count = std::clamp<int32_t>(count, 0, kMaxListEntries);
        tools.clear();
        for (int n = 0; n < count; ++n) {
            CToolEntry t;
            file.GetString(ToolKey(n, "NAME"), t.name, "");
            file.GetString(ToolKey(n, "ARGS"), t.args, "");
            file.GetString(ToolKey(n, "PATH"), t.path, "");
            file.GetInt(ToolKey(n, "STOP"), t.stop, 1);
            file.GetInt(ToolKey(n, "SAVE"), t.save, 1);
            tools.push_back(std::move(t));
        }
    }
    void StartFiles(std::vector<std::string>& files, int& cur)
    {
        int32_t count = 0;
        file.GetInt("KIBPARAMS:STARTFILES:COUNT", count, 0);
        count = std::clamp<int32_t>(count, 0, kMaxListEntries);
        files.clear();
        for (int n = 0; n < count; ++n) {
            std::string f;
            file.GetString("KIBPARAMS:STARTFILES:FILE" + std::to_string(n), f, "");
            files.push_back(std::move(f));
        }
        // The chosen start file is not remembered across runs.
        cur = -1;
    }
};

struct SaveVisitor {
    CParamFile& file;
    int ppi;

    void Str(const char* key, const std::string& m, const char*) { file.SetString(key, m); }
    void Int(const char* key, const int& m, int) { file.SetInt(key, m); }
    void Colour(const char* key, const COLORREF& m, COLORREF)
    {
        file.SetInt(key, static_cast<int32_t>(m));
    }
    void Mask(const char* key, const std::vector<std::string>& m)
    {
        file.SetString(key, CExtensionList::Join(m));
    }
    void Font(const char* prefix, const CLogFont& f)
    {
        const std::string p = prefix;
        file.SetString(p + "FACENAME", f.FaceName());
        file.SetInt(p + "CHARSET", f.lfCharSet);
        file.SetInt(p + "PRECISION", f.lfOutPrecision);
        file.SetInt(p + "QUALITY", f.lfQuality);
        file.SetInt(p + "FAMILY", f.lfPitchAndFamily);
        file.SetInt(p + "HEIGHT", f.PointSize(ppi));
    }
    void Block(int index, const CTextBlock& b)
    {
        file.SetString(BlockKey(index, "CONTENT"), CSettings::EscapeBlock(b.content));
        file.SetString(BlockKey(index, "NAME"), b.name);
    }
    void Tools(const std::vector<CToolEntry>& tools)
    {
        file.SetInt("KIBPARAMS:TOOLS:COUNT", static_cast<int32_t>(tools.size()));
        for (size_t i = 0; i < tools.size(); ++i) {
            int n = static_cast<int>(i);
            file.SetString(ToolKey(n, "NAME"), tools[i].name);
            file.SetString(ToolKey(n, "ARGS"), tools[i].args);
            file.SetString(ToolKey(n, "PATH"), tools[i].path);
            file.SetInt(ToolKey(n, "STOP"), tools[i].stop);
            file.SetInt(ToolKey(n, "SAVE"), tools[i].save);
        }
    }
    void StartFiles(const std::vector<std::string>& files, const int& cur)
    {
        file.SetInt("KIBPARAMS:STARTFILES:COUNT", static_cast<int32_t>(files.size()));
        for (size_t i = 0; i < files.size(); ++i)
            file.SetString("KIBPARAMS:STARTFILES:FILE" + std::to_string(i), files[i]);
        file.SetInt("KIBPARAMS:STARTFILES:CURFILE", cur);
    }
};

// The keys in the order of the save, which also fixes the element order of
// the file. S is CSettings or const CSettings.
template <class S, class V>
void VisitAll(S& s, V& v)
{
    v.Str("KIBPARAMS:JDK:COMPILER:PATH", s.m_compilerPath, "");
    v.Int("KIBPARAMS:JDK:COMPILER:SETDESTINATIONPATH", s.m_setDestinationPath, 0);
    v.Str("KIBPARAMS:JDK:COMPILER:DESTINATIONPATH", s.m_destinationPath, "");
    v.Int("KIBPARAMS:JDK:COMPILER:DEBUGINFO", s.m_debugInfo, 0);
    v.Int("KIBPARAMS:JDK:COMPILER:OPTIMIZE", s.m_optimize, 0);
    v.Int("KIBPARAMS:JDK:COMPILER:NOWARNINGS", s.m_noWarnings, 0);
    v.Int("KIBPARAMS:JDK:COMPILER:STATUS", s.m_status, 0);
    v.Int("KIBPARAMS:JDK:COMPILER:DEPRECATED", s.m_deprecated, 0);
    v.Int("KIBPARAMS:JDK:COMPILER:AUTOSAVEBEFORECOMPILE", s.m_autoSaveBeforeCompile, 0);
    v.Int("KIBPARAMS:JDK:COMPILER:AUTOSAVEBEFORECOMPILETYPE", s.m_autoSaveBeforeCompileType, 0);

    v.Str("KIBPARAMS:JDK:INTERPRETER:PATH", s.m_interpreterPath, "");
    v.Int("KIBPARAMS:JDK:INTERPRETER:STOPAFTERRUN", s.m_stopAfterRun, 1);
    v.Int("KIBPARAMS:JDK:INTERPRETER:CAPTUREOUTPUT", s.m_captureOutput, 0);
    v.Str("KIBPARAMS:JDK:EXTRAS:AVPATH", s.m_appletViewerPath, "");
    v.Str("KIBPARAMS:JDK:EXTRAS:DOCUPATH", s.m_docuPath, "");
    v.Str("KIBPARAMS:JDK:EXTRAS:CLASSPATH", s.m_classPath, "");

    v.Int("KIBPARAMS:GUI:STARTUP:SHOWSPLASH", s.m_showSplash, 1);
    v.Int("KIBPARAMS:GUI:STARTUP:REOPENFILES", s.m_reopenFiles, 1);
    v.Int("KIBPARAMS:GUI:STARTUP:SKIN", s.m_skin, 0);
    v.Int("KIBPARAMS:GUI:STARTUP:EDITORTABS", s.m_editorTabs, 1);
    v.Int("KIBPARAMS:GUI:STARTUP:OPENMAXIMIZED", s.m_openMaximized, 1);
    v.Mask("KIBPARAMS:GUI:STARTUP:FILENAMEMASK", s.m_fileExtensions);

    v.Font("KIBPARAMS:OUTBAR:FONT:", s.m_outputFont);

    v.Int("KIBPARAMS:GUI:FULLSCREEN:SHOWTOOLBAR", s.m_fullScreenShowToolbar, 0);
    v.Int("KIBPARAMS:GUI:FULLSCREEN:SHOWOUTPUT", s.m_fullScreenShowOutput, 0);
    v.Int("KIBPARAMS:GUI:FULLSCREEN:SHOWSTATUS", s.m_fullScreenShowStatus, 0);
    v.Int("KIBPARAMS:GUI:FULLSCREEN:SHOWWORKSPACE", s.m_fullScreenShowWorkspace, 0);

    for (int i = 0; i < CSettings::kTextBlocks; ++i)
        v.Block(i, s.m_textBlocks[static_cast<size_t>(i)]);

    v.Int("KIBPARAMS:EDITOR:AUTOINDENT", s.m_autoIndent, 1);
    v.Int("KIBPARAMS:EDITOR:REOPENAFTERCHANGE", s.m_reopenAfterChange, 1);
    v.Int("KIBPARAMS:EDITOR:TABWIDTH", s.m_tabWidth, 4);
    v.Int("KIBPARAMS:EDITOR:SHOWTABSANDSPACES", s.m_showTabsAndSpaces, 0);
    v.Int("KIBPARAMS:EDITOR:SHOWLINENUMBERS", s.m_showLineNumbers, 1);
    v.Int("KIBPARAMS:EDITOR:INSERTTABSASSPACES", s.m_insertTabsAsSpaces, 0);
    v.Int("KIBPARAMS:EDITOR:INDENTAFTERBRACKET", s.m_indentAfterBracket, 1);
    v.Int("KIBPARAMS:EDITOR:DRAWCOLUMNGUIDE", s.m_drawColumnGuide, 1);
    v.Int("KIBPARAMS:EDITOR:COLUMNGUIDEPOS", s.m_columnGuidePos, 80);
    v.Int("KIBPARAMS:EDITOR:MATCHBRACE", s.m_matchBrace, 1);

    v.Colour("KIBPARAMS:EDITOR:COLOR:WND:FOREGROUND", s.m_windowForeground, 0);
    v.Colour("KIBPARAMS:EDITOR:COLOR:WND:BACKGROUND", s.m_windowBackground, 16777215);
    v.Colour("KIBPARAMS:EDITOR:COLOR:SELECTION:FOREGROUND", s.m_selectionForeground, 16777215);
    v.Colour("KIBPARAMS:EDITOR:COLOR:SELECTION:BACKGROUND", s.m_selectionBackground, 12546160);
    v.Colour("KIBPARAMS:EDITOR:COLOR:MARGIN:FOREGROUND", s.m_marginForeground, 12546160);
    v.Colour("KIBPARAMS:EDITOR:COLOR:MARGIN:BACKGROUND", s.m_marginBackground, 15395562);

    for (int c = 0; c < HL_COUNT; ++c) {
        const std::string base = std::string("KIBPARAMS:EDITOR:HIGHLIGHT:") + kHighlightNames[c];
        auto& h = s.m_highlight[static_cast<size_t>(c)];
        v.Colour((base + ":FOREGROUND").c_str(), h.foreground, kHighlightDefaults[c].foreground);
        v.Colour((base + ":BACKGROUND").c_str(), h.background, kHighlightDefaults[c].background);
        v.Int((base + ":STYLE").c_str(), h.style, kHighlightDefaults[c].style);
    }

    v.Font("KIBPARAMS:EDITOR:FONT:", s.m_editorFont);

    v.Tools(s.m_tools);
    v.StartFiles(s.m_startFiles, s.m_curStartFile);
}

} // namespace

CSettings::CSettings()
{
    ResetToDefaults();
}

void CSettings::ResetToDefaults()
{
    DefaultsVisitor v;
    VisitAll(*this, v);
}

void CSettings::Load(const CParamFile& file, int ppi)
{
    LoadVisitor v{file, ppi};
    VisitAll(*this, v);
}

void CSettings::Save(CParamFile& file, int ppi) const
{
    SaveVisitor v{file, ppi};
    VisitAll(*this, v);
}

void CSettings::LoadFile(const std::string& fileName, int ppi)
{
    CParamFile file;
    file.Load(fileName);
    Load(file, ppi);
}

bool CSettings::SaveFile(const std::string& fileName, int ppi, CParamSaveReport* report) const
{
    // Nothing is loaded first: the file holds exactly the complete set.
    CParamFile file;
    Save(file, ppi);
    return file.Save(fileName, report);
}

std::string CSettings::EscapeBlock(const std::string& content)
{
    std::string s = ReplaceAll(content, "\n", "\\n");
    s = ReplaceAll(std::move(s), "\r", "\\r");
    s = ReplaceAll(std::move(s), "<", "&lt;");
    return ReplaceAll(std::move(s), ">", "&gt;");
}

std::string CSettings::UnescapeBlock(const std::string& stored)
{
    std::string s = ReplaceAll(stored, "\\n", "\n");
    s = ReplaceAll(std::move(s), "\\r", "\r");
    s = ReplaceAll(std::move(s), "&lt;", "<");
    return ReplaceAll(std::move(s), "&gt;", ">");
}

CTextBlock CSettings::DefaultTextBlock(int index)
{
    // "\xA7" marks where the caret goes after insertion.
    static const CTextBlock kDefaults[kTextBlocks] = {
        {"if-Anweisung", "if (\xA7)\r\n{\r\n}"},
        {"else-Block", "else\r\n{\r\n}"},
        {"for Schleife", "for (\xA7; ; )\r\n{\r\n}"},
        {"while Schleife", "while (\xA7)\r\n{\r\n}"},
        {"private", "private"},
        {"protected", "protected"},
        {"public", "public"},
        {"void", "void"},
        {"static", "static"},
        {"class mit main",
         "public class \xA7\r\n{\r\n\tpublic static void main (String args[])\r\n\t{\r\n\t}\r\n}"},
        {"class extends mit main",
         "public class \xA7 extends \r\n{\r\n\tpublic static void main (String "
         "args[])\r\n\t{\r\n\t}\r\n}"},
        {"class ohne main", "public class \xA7\r\n{\r\n}"},
    };
    if (index < 0 || index >= kTextBlocks)
        return {};
    return kDefaults[index];
}

CStartupSettings ReadStartupSettings(const std::string& paramFileName)
{
    CParamFile file;
    file.Load(paramFileName);
    CStartupSettings s;
    file.GetInt("KIBPARAMS:GUI:STARTUP:SHOWSPLASH", s.showSplash, 1);
    file.GetInt("KIBPARAMS:GUI:STARTUP:REOPENFILES", s.reopenFiles, 0);
    file.GetInt("KIBPARAMS:GUI:STARTUP:OPENMAXIMIZED", s.openMaximized, 1);
    return s;
}
