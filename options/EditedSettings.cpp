#include "options/EditedSettings.h"

#include "settings/Settings.h"

void CopyEditedSettings(const CSettings& edited, CSettings& target)
{
    const int autoIndent = target.m_autoIndent;
    auto tools = std::move(target.m_tools);
    auto startFiles = std::move(target.m_startFiles);
    const int curStartFile = target.m_curStartFile;
    target = edited;
    target.m_autoIndent = autoIndent;
    target.m_tools = std::move(tools);
    target.m_startFiles = std::move(startFiles);
    target.m_curStartFile = curStartFile;
}
