#include "app/TitleBar.h"

#include "app/ChildFrame.h"

void CTitleBar::SetItems(const std::vector<int>& commands)
{
    m_items.clear();
    for (int c : commands)
        m_items.push_back(Item{std::string(), c, true});
}

void CTitleBar::Update(CChildFrame& frame)
{
    m_suffix.clear();
    for (Item& item : m_items) {
        CCommandState state;
        state.enabled = true;
        if (frame.RouteUpdate(item.command, state)) {
            item.shown = state.enabled; // enabling shows, disabling hides
            if (state.setText)
                item.text = state.text;
        }
        if (item.shown)
            m_suffix += item.text;
    }
    if (m_suffix == m_lastSuffix)
        return;
    std::string caption = frame.GetCaption();
    std::string last = caption.empty() ? std::string() : caption.substr(caption.size() - 1);
    if (last != m_suffix) {
        frame.RebuildCaption();
        frame.SetCaption(frame.GetCaption() + m_suffix);
        m_lastSuffix = m_suffix;
    }
}
