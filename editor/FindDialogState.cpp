#include "editor/FindDialogState.h"

#include "editor/ReplaceSession.h"
#include "settings/HistoryList.h"
#include "settings/Profile.h"
#include "settings/RegistryKey.h"

namespace {

std::string ProgramKey(const char* sub)
{
    return std::string(kKibRegistryKey) + "\\" + sub;
}

void ReadFlag(CRegistryKey& key, const char* name, bool& flag)
{
    uint32_t v = 0;
    if (key.ReadDword(name, v))
        flag = v != 0;
}

} // namespace

uint32_t FindDialogValues::Flags() const
{
    return (matchCase ? SEARCH_MATCH_CASE : 0) | (wholeWords ? SEARCH_WHOLE_WORD : 0) | (upwards ? SEARCH_UP : 0);
}

FindDialogValues FindCommandDefaults(const RememberedSearch& remembered, const std::string* selectionText)
{
    FindDialogValues v;
    if (remembered.present) {
        v.text = remembered.text;
        v.matchCase = remembered.flags & SEARCH_MATCH_CASE;
        v.wholeWords = remembered.flags & SEARCH_WHOLE_WORD;
        v.upwards = remembered.flags & SEARCH_UP;
    } else {
        v.matchCase = profile::GetProfileInt("Find", "MatchCase", 0) != 0;
        v.wholeWords = profile::GetProfileInt("Find", "WholeWord", 0) != 0;
        v.text = CHistoryList::StoredText(profile::GetProfileString("Find", "FindWhat", ""));
    }
    if (selectionText)
        v.text = *selectionText;
    return v;
}

void ApplyEditFindKey(FindDialogValues& values)
{
    CRegistryKey key(HKEY_CURRENT_USER, ProgramKey("EditFind"), false);
    if (!key.IsOpen())
        return;
    ReadFlag(key, "MatchCase", values.matchCase);
    ReadFlag(key, "WholeWordsOnly", values.wholeWords);
    uint32_t direction = 0;
    if (key.ReadDword("Directon", direction))
        values.upwards = direction == 0;
}

void StoreFindDialogResult(const FindDialogValues& values, RememberedSearch& remembered)
{
    remembered.present = true;
    remembered.text = values.text;
    remembered.flags = values.Flags();
    profile::WriteProfileInt("Find", "MatchCase", values.matchCase ? 1 : 0);
    profile::WriteProfileInt("Find", "WholeWord", values.wholeWords ? 1 : 0);
    profile::WriteProfileString("Find", "FindWhat", values.text);
}

ReplaceDialogValues ReplaceCommandDefaults(bool withSelection)
{
    ReplaceDialogValues v;
    v.matchCase = profile::GetProfileInt("Replace", "MatchCase", 0) != 0;
    v.wholeWords = profile::GetProfileInt("Replace", "WholeWord", 0) != 0;
    v.searchText = CHistoryList::StoredText(profile::GetProfileString("Replace", "FindWhat", ""));
    v.replaceText = CHistoryList::StoredText(profile::GetProfileString("Replace", "ReplaceWith", ""));
    v.scope = withSelection ? REPLACE_SCOPE_SELECTION : REPLACE_SCOPE_FILE;
    CRegistryKey key(HKEY_CURRENT_USER, ProgramKey("EditReplace"), false);
    if (key.IsOpen()) {
        ReadFlag(key, "MatchCase", v.matchCase);
        ReadFlag(key, "WholeWordsOnly", v.wholeWords);
        uint32_t scope = 0;
        if (key.ReadDword("Scope", scope))
            v.scope = scope == 0 ? REPLACE_SCOPE_SELECTION : REPLACE_SCOPE_FILE;
    }
    return v;
}

bool SaveEditReplaceKey(const ReplaceDialogValues& values)
{
    CRegistryKey key(HKEY_CURRENT_USER, ProgramKey("EditReplace"), false);
    if (!key.IsOpen())
        return false;
    bool ok = key.WriteDword("Scope", values.scope == REPLACE_SCOPE_SELECTION ? 0u : 1u);
    ok = key.WriteDword("MatchCase", values.matchCase ? 1u : 0u) && ok;
    ok = key.WriteDword("WholeWordsOnly", values.wholeWords ? 1u : 0u) && ok;
    return ok;
}

void StoreReplaceProfile(const ReplaceDialogValues& values)
{
    profile::WriteProfileInt("Replace", "MatchCase", values.matchCase ? 1 : 0);
    profile::WriteProfileInt("Replace", "WholeWord", values.wholeWords ? 1 : 0);
    profile::WriteProfileString("Replace", "FindWhat", values.searchText);
    profile::WriteProfileString("Replace", "ReplaceWith", values.replaceText);
}
