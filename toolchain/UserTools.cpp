#include "toolchain/UserTools.h"

#include "platform/CommandLine.h"
#include "platform/Path.h"
#include "platform/Process.h"
#include "platform/Terminal.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace toolchain {

namespace {

// A scheme followed by "://": an address for the opener, not a file.
bool LooksLikeAddress(const std::string& s)
{
    size_t colon = s.find("://");
    if (colon == std::string::npos || colon == 0)
        return false;
    for (size_t i = 0; i < colon; ++i) {
        char c = s[i];
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

CToolMacroValues ToolMacroValues(const std::string& documentPath, const std::string& destinationPath)
{
    CToolMacroValues v;
    v.destpath = destinationPath;
    if (documentPath.empty())
        return v;
    platform::SplitPathResult parts = platform::SplitPath(documentPath);
    v.file = parts.fname;
    v.source = parts.fname + ".java";
    v.klass = parts.fname + ".class";
    // No short names here: the folder as it is, with its separator.
    v.path = platform::WithTrailingSeparator(parts.drive + parts.dir);
    v.workDir = parts.drive + parts.dir;
    if (v.workDir.size() > 1 && platform::IsPathSeparator(v.workDir.back()))
        v.workDir.pop_back();
    return v;
}

std::vector<CToolArgPiece> ExpandToolMacros(const std::string& arguments, const CToolMacroValues& values)
{
    std::vector<CToolArgPiece> pieces;
    if (!arguments.empty())
        pieces.push_back({arguments, false});
    const std::pair<const char*, const std::string*> macros[] = {
        {"$file", &values.file},     {"$source", &values.source},     {"$class", &values.klass},
        {"$path", &values.path},     {"$destpath", &values.destpath},
    };
    for (const auto& [name, value] : macros) {
        const std::string macro = name;
        std::vector<CToolArgPiece> next;
        for (CToolArgPiece& piece : pieces) {
            if (piece.value) {
                next.push_back(std::move(piece));
                continue;
            }
            size_t from = 0;
            for (size_t at; (at = piece.text.find(macro, from)) != std::string::npos; from = at + macro.size()) {
                if (at > from)
                    next.push_back({piece.text.substr(from, at - from), false});
                next.push_back({*value, true});
            }
            if (from < piece.text.size())
                next.push_back({piece.text.substr(from), false});
        }
        pieces = std::move(next);
    }
    return pieces;
}

std::string ToolArgumentText(const std::vector<CToolArgPiece>& pieces)
{
    std::string text;
    for (const CToolArgPiece& p : pieces)
        text += p.text;
    return text;
}

std::vector<std::string> ToolArguments(const std::string& arguments, const CToolMacroValues& values)
{
    std::vector<CToolArgPiece> pieces = ExpandToolMacros(arguments, values);
    std::vector<platform::CommandPiece> split;
    split.reserve(pieces.size());
    for (const CToolArgPiece& p : pieces)
        split.push_back({p.text, p.value});
    return platform::SplitCommandLine(split);
}

CToolLaunch BuildToolLaunch(const CToolEntry& tool, const std::string& documentPath,
                            const std::string& destinationPath, const std::string& pathVar)
{
    CToolMacroValues values = ToolMacroValues(documentPath, destinationPath);
    CToolLaunch launch;
    launch.program = tool.path;
    launch.workDir = values.workDir;
    if (tool.path.empty())
        return launch;
    std::vector<std::string> args = ToolArguments(tool.args, values);
    if (tool.stop == 1) {
        launch.how = EToolStart::Terminal;
        launch.argv.push_back(tool.path);
        launch.argv.insert(launch.argv.end(), args.begin(), args.end());
        return launch;
    }
    std::string program = platform::FindProgram(tool.path, pathVar);
    struct stat st {};
    bool exists = program.find('/') != std::string::npos && stat(program.c_str(), &st) == 0;
    if (exists && S_ISREG(st.st_mode) && access(program.c_str(), X_OK) == 0) {
        launch.how = EToolStart::Direct;
        launch.argv.push_back(program);
        launch.argv.insert(launch.argv.end(), args.begin(), args.end());
    } else if (exists || LooksLikeAddress(tool.path)) {
        // A document takes no arguments: the opener gets it alone.
        launch.how = EToolStart::Opener;
        launch.argv = {platform::FindProgram("xdg-open", pathVar), exists ? program : tool.path};
    }
    return launch;
}

int StartToolLaunch(const CToolLaunch& launch)
{
    switch (launch.how) {
    case EToolStart::Missing: return ENOENT;
    case EToolStart::Terminal: return platform::StartInTerminal(launch.argv, launch.workDir, true, nullptr);
    case EToolStart::Direct:
    case EToolStart::Opener: break;
    }
    if (launch.argv.empty() || launch.argv[0].find('/') == std::string::npos)
        return ENOENT;
    platform::SpawnRequest request;
    request.argv = launch.argv;
    request.workDir = launch.workDir;
    return platform::SpawnDetached(request);
}

} // namespace toolchain
