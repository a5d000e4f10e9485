// Settings-file reader on arbitrary bytes: load, look keys up, write back,
// and read the written text again.
#include "settings/ParamFile.h"
#include "settings/Settings.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string raw(reinterpret_cast<const char*>(data), size);
    CParamFile f;
    f.LoadFromText(CParamFile::FromTextMode(raw));

    std::string s;
    int32_t v = 0;
    f.GetString("KIBPARAMS:EDITOR:TABWIDTH", s, "4");
    f.GetInt("KIBPARAMS:EDITOR:TABWIDTH", v, 4);
    f.GetInt("KIBFILES:COUNT", v);
    // Keys made from what was read: root, first child, first leaf.
    const CParamNode& root = f.Tree().Root();
    std::string key = root.m_name;
    if (!root.m_children.empty())
        key += ":" + root.m_children.front()->m_name;
    if (!root.m_leaves.empty())
        f.GetString(root.m_name + ":" + root.m_leaves.begin()->first, s, "");
    f.GetString(key + ":X", s, "");
    f.SetString(key + ":X", raw.substr(0, 64));

    CSettings settings;
    settings.Load(f, 96);

    std::string saved = f.SaveToText();
    CParamFile again;
    again.LoadFromText(CParamFile::FromTextMode(saved));
    again.SaveToText();
    return 0;
}
