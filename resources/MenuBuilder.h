// Builds wx menus, menu bars and accelerator tables from Kib's menu and key
// tables.
#pragma once

#include "resources/MenuTable.h"

#include <wx/accel.h>
#include <wx/menu.h>

#include <string>

namespace kib {

// Whether a command's menu item carries a check mark (built as wxITEM_CHECK).
bool IsCheckCommand(int command);

// The label wx gets for an item: the text with its shown key as the
// toolkit reads it ("Strg+" as "Ctrl+") and as the key tables bind it.
wxString MenuLabel(const MenuItemDef& item);
// The same for a label an update handler gives the command's item.
wxString MenuLabel(int command, const wxString& text);

// A menu with the items (popups become submenus); ids through ToWxId.
wxMenu* BuildMenu(const std::vector<MenuItemDef>& items);
// Appends the items to an existing menu.
void AppendMenuItems(wxMenu* menu, const std::vector<MenuItemDef>& items);
// A menu bar from resource 128 or 129.
wxMenuBar* BuildMenuBar(int res);

// A wx key code for a virtual key (0 when there is none).
int WxKeyCode(int virtualKey);

// The accelerator table of key table res (128 or 22901).
wxAcceleratorTable BuildAcceleratorTable(int res);

// A UTF-8 table text as wxString.
wxString Text(std::string_view utf8);
// The string table entry id as wxString.
wxString KibText(int id);
// A path for the user's eyes (UTF-8, or Latin-1 for other bytes).
wxString DisplayPath(const std::string& bytes);

} // namespace kib
