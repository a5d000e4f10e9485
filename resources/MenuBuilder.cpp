#include "resources/MenuBuilder.h"

#include "resources/CommandIds.h"
#include "resources/CommandMap.h"
#include "resources/StringTable.h"

#include <wx/event.h>

#include <vector>

namespace kib {

bool IsCheckCommand(int c)
{
    return c == ID_AUTOINDENT || c == ID_VIEW_TOOLBAR || c == ID_VIEW_STATUS_BAR ||
           c == ID_VIEW_WORKSPACE || c == ID_VIEW_OUTPUT ||
           (c >= ID_VIEW_USER_TOOLBAR1 && c <= ID_VIEW_USER_TOOLBAR10) ||
           c == ID_STARTFILE_CURRENT || (c >= ID_STARTFILE_FIRST && c <= ID_STARTFILE_LAST) ||
           c == ID_MDITAB_TOP || c == ID_MDITAB_BOTTOM || c == ID_EDIT_SWITCH_OVRMODE;
}

wxString Text(std::string_view utf8)
{
    return wxString::FromUTF8(utf8.data(), utf8.size());
}

wxString DisplayPath(const std::string& bytes)
{
    wxString s = wxString::FromUTF8(bytes);
    return s.empty() && !bytes.empty() ? wxString(bytes.c_str(), wxConvISO8859_1) : s;
}

wxString KibText(int id)
{
    return Text(LoadKibString(id));
}

namespace {

// "Ctrl+Alt+O" for a table key.
wxString KeyText(const KeyDef& k)
{
    wxString text;
    if (k.modifiers & KMOD_CTRL)
        text += "Ctrl+";
    if (k.modifiers & KMOD_ALT)
        text += "Alt+";
    if (k.modifiers & KMOD_SHIFT)
        text += "Shift+";
    return text + wxAcceleratorEntry(0, WxKeyCode(k.key)).ToRawString();
}

const KeyDef* TableKeyOf(int command)
{
    for (int res : {IDR_MAINFRAME, IDR_EDITOR_KEYS})
        for (const KeyDef& k : KeyTable(res))
            if (k.command == command)
                return &k;
    return nullptr;
}

} // namespace

wxString MenuLabel(const MenuItemDef& item)
{
    return MenuLabel(item.id, Text(item.text));
}

wxString MenuLabel(int command, const wxString& text)
{
    wxString shown = text.AfterFirst('\t');
    if (shown.empty())
        return text;
    // The menu shows (and GTK binds) the key after the tab: give it in the
    // form the toolkit reads, and as the key table has it, so that a shown
    // "Alt+O" cannot take the "Optionen" menu's Alt+O.
    shown.Replace("Strg+", "Ctrl+");
    if (const KeyDef* key = TableKeyOf(command)) {
        wxAcceleratorEntry parsed;
        wxAcceleratorEntry wanted((key->modifiers & KMOD_CTRL ? wxACCEL_CTRL : 0) |
                                      (key->modifiers & KMOD_SHIFT ? wxACCEL_SHIFT : 0) |
                                      (key->modifiers & KMOD_ALT ? wxACCEL_ALT : 0),
                                  WxKeyCode(key->key));
        if (!parsed.FromString("x\t" + shown) || parsed.GetFlags() != wanted.GetFlags() ||
            parsed.GetKeyCode() != wanted.GetKeyCode())
            shown = KeyText(*key);
    }
    return text.BeforeFirst('\t') + "\t" + shown;
}

void AppendMenuItems(wxMenu* menu, const std::vector<MenuItemDef>& items)
{
    for (const MenuItemDef& it : items) {
        switch (it.kind) {
        case MenuItemDef::Separator:
            menu->AppendSeparator();
            break;
        case MenuItemDef::Popup:
            menu->AppendSubMenu(BuildMenu(it.children), Text(it.text));
            break;
        case MenuItemDef::Item: {
            wxItemKind kind = IsCheckCommand(it.id) ? wxITEM_CHECK : wxITEM_NORMAL;
            menu->Append(ToWxId(it.id), MenuLabel(it), Text(CommandPrompt(it.id)), kind);
            break;
        }
        }
    }
}

wxMenu* BuildMenu(const std::vector<MenuItemDef>& items)
{
    auto* menu = new wxMenu;
    AppendMenuItems(menu, items);
    return menu;
}

wxMenuBar* BuildMenuBar(int res)
{
    auto* bar = new wxMenuBar;
    for (const MenuItemDef& it : MenuResource(res))
        if (it.kind == MenuItemDef::Popup)
            bar->Append(BuildMenu(it.children), Text(it.text));
    return bar;
}

int WxKeyCode(int vk)
{
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return vk;
    if (vk >= VK_F1 && vk < VK_F1 + 12)
        return WXK_F1 + (vk - VK_F1);
    switch (vk) {
    case VK_BACK: return WXK_BACK;
    case VK_TAB: return WXK_TAB;
    case VK_RETURN: return WXK_RETURN;
    case VK_ESCAPE: return WXK_ESCAPE;
    case VK_PRIOR: return WXK_PAGEUP;
    case VK_NEXT: return WXK_PAGEDOWN;
    case VK_END: return WXK_END;
    case VK_HOME: return WXK_HOME;
    case VK_LEFT: return WXK_LEFT;
    case VK_UP: return WXK_UP;
    case VK_RIGHT: return WXK_RIGHT;
    case VK_DOWN: return WXK_DOWN;
    case VK_INSERT: return WXK_INSERT;
    case VK_DELETE: return WXK_DELETE;
    default: return 0;
    }
}

wxAcceleratorTable BuildAcceleratorTable(int res)
{
    std::vector<wxAcceleratorEntry> entries;
    for (const KeyDef& k : KeyTable(res)) {
        int flags = (k.modifiers & KMOD_CTRL ? wxACCEL_CTRL : 0) |
                    (k.modifiers & KMOD_SHIFT ? wxACCEL_SHIFT : 0) |
                    (k.modifiers & KMOD_ALT ? wxACCEL_ALT : 0);
        int code = WxKeyCode(k.key);
        int id = ToWxId(k.command);
        if (code && id != kNoWxId)
            entries.emplace_back(flags, code, id);
    }
    return wxAcceleratorTable(static_cast<int>(entries.size()), entries.data());
}

} // namespace kib
