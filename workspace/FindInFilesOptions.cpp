#include "workspace/FindInFilesOptions.h"

#include "settings/RegistryKey.h"
#include "workspace/FileTextSearch.h"

namespace {

std::string KeyPath()
{
    return std::string(kKibRegistryKey) + "\\" + kFindInFilesKey;
}

void ReadFlag(CRegistryKey& key, const char* name, bool& flag)
{
    uint32_t v = 0;
    if (key.ReadDword(name, v))
        flag = v != 0;
}

} // namespace

uint32_t FindInFilesOptions::EngineFlags() const
{
    return (wholeWords ? FIND_WHOLE_WORD : 0) | (matchCase ? FIND_MATCH_CASE : 0) |
           (recursive ? FIND_RECURSIVE : 0);
}

FindInFilesOptions LoadFindInFilesOptions()
{
    FindInFilesOptions o;
    CRegistryKey key(HKEY_CURRENT_USER, KeyPath(), false);
    if (!key.IsOpen())
        return o;
    uint32_t pane = 0;
    if (key.ReadDword("SearchPane", pane))
        o.searchPane = pane == 1 ? 1 : 0;
    ReadFlag(key, "MatchCase", o.matchCase);
    ReadFlag(key, "WholeWordsOnly", o.wholeWords);
    ReadFlag(key, "Recursive", o.recursive);
    return o;
}

bool SaveFindInFilesOptions(const FindInFilesOptions& options)
{
    CRegistryKey key(HKEY_CURRENT_USER, KeyPath(), false);
    if (!key.IsOpen())
        return false;
    bool ok = key.WriteDword("SearchPane", options.searchPane == 1 ? 1u : 0u);
    ok = key.WriteDword("MatchCase", options.matchCase ? 1u : 0u) && ok;
    ok = key.WriteDword("WholeWordsOnly", options.wholeWords ? 1u : 0u) && ok;
    ok = key.WriteDword("Recursive", options.recursive ? 1u : 0u) && ok;
    return ok;
}
