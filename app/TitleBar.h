// Appends status texts to a child frame's caption. Each item names a command
// whose update (routed like a menu item's) sets the item's text and whether it
// is shown; the caption is rewritten only when the joined texts change.
#pragma once

#include <string>
#include <vector>

class CChildFrame;

class CTitleBar {
public:
    struct Item {
        std::string text;
        int command = 0;
        bool shown = true;
    };

    void SetItems(const std::vector<int>& commands);
    // Runs the items' updates and applies a changed suffix to the caption.
    void Update(CChildFrame& frame);

    const std::vector<Item>& Items() const { return m_items; }
    // Forget the applied suffix (the caption was rebuilt from elsewhere).
    void Invalidate() { m_lastSuffix = "\x01"; }

private:
    std::vector<Item> m_items;
    std::string m_lastSuffix;
    std::string m_suffix;
};
