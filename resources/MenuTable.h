// Kib's menus, tool bars and key tables as data: the menu bars 128 (no
// document) and 129 (document open), the popups, the standard tool bar and
// the frame's and the editor's key tables. The UI builds wx objects from it.
#pragma once

#include <string>
#include <vector>

namespace kib {

struct MenuItemDef {
    enum Kind { Item, Separator, Popup };
    Kind kind = Item;
    std::string text; // UTF-8, "&" marks the mnemonic, "\t" starts the shown key
    int id = 0;       // command for an item; 0 for separators and popups
    std::vector<MenuItemDef> children;
};

// The items of menu resource res (for a menu bar: its popups); an empty
// list for an unknown resource.
const std::vector<MenuItemDef>& MenuResource(int res);

// Depth-first search for a command; null when the menu does not hold it.
const MenuItemDef* FindMenuItem(const std::vector<MenuItemDef>& items, int id);

// Buttons of a tool bar resource in order; 0 stands for a separator.
const std::vector<int>& ToolbarResource(int res);

// Modifier bits and key codes of the key tables (Windows virtual-key codes:
// letters and digits are their upper-case ASCII codes).
enum KeyModifier { KMOD_NONE = 0, KMOD_CTRL = 1, KMOD_SHIFT = 2, KMOD_ALT = 4 };
enum VirtualKey {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_ESCAPE = 0x1B,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_F1 = 0x70, // ... VK_F12 = 0x7B
};

struct KeyDef {
    int modifiers; // KeyModifier bits
    int key;       // VirtualKey or 'A'..'Z', '0'..'9'
    int command;
};

// Key table 128 (the frame's), 160 (the explorer's) or 22901 (the editor's);
// empty when unknown.
const std::vector<KeyDef>& KeyTable(int res);

// The command a key gives in a table, or 0.
int LookupKey(const std::vector<KeyDef>& table, int modifiers, int key);

} // namespace kib
