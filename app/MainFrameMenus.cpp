// The main frame's menus: the menu bar with and without a document, the
// menus filled as they open (recent files, tools, start files, text blocks,
// date and time, toolbars) and the context menu of the document tabs.
#include "app/MainFrame.h"

#include "app/ChildFrame.h"
#include "app/KibApp.h"
#include "editor/DateTimeList.h"
#include "resources/CommandIds.h"
#include "resources/CommandMap.h"
#include "resources/MenuBuilder.h"
#include "resources/MenuTable.h"
#include "resources/StringTable.h"

#include <wx/aui/auibook.h>
#include <wx/menu.h>

#include <algorithm>
#include <ctime>

using namespace kib;

namespace {

bool MenuContains(wxMenu* menu, int command)
{
    return menu->FindChildItem(ToWxId(command)) != nullptr;
}

void ClearMenu(wxMenu* menu)
{
    while (menu->GetMenuItemCount() > 0)
        menu->Destroy(menu->FindItemByPosition(0));
}

} // namespace

bool CMainFrame::UsingDocumentMenu() const
{
    return GetMenuBar() == m_docMenu;
}

void CMainFrame::UpdateMenuBar()
{
    bool document = !m_app || m_app->Docs().DocumentCount() > 0;
    ShowMenuBarFor(document);
}

void CMainFrame::ShowMenuBarFor(bool document)
{
    if (document && !m_docMenu) {
        m_docMenu = BuildMenuBar(IDR_KIBTYPE);
        RegisterSpecialMenus(m_docMenu, IDR_KIBTYPE);
    }
    wxMenuBar* wanted = document ? m_docMenu : m_mainMenu;
    if (wanted && GetMenuBar() != wanted)
        SetMenuBar(wanted);
}

void CMainFrame::RegisterSpecialMenus(wxMenuBar* bar, int res)
{
    const std::vector<MenuItemDef>& defs = MenuResource(res);
    std::function<void(wxMenu*)> walk = [&](wxMenu* menu) {
        if (MenuContains(menu, ID_VIEW_TOOLBARS_PLACEHOLDER) && !menu->FindItem(ToWxId(ID_VIEW_STATUS_BAR)))
            m_specialMenus[menu] = MENU_TOOLBARS;
        else if (menu->FindItem(ToWxId(ID_STARTFILE_CURRENT)) && !menu->FindItem(ToWxId(ID_JAVA_COMPILE)))
            m_specialMenus[menu] = MENU_STARTFILE;
        else if (menu->FindItem(ToWxId(ID_INSERT_DATETIME_DUMMY)) && !menu->FindItem(ToWxId(ID_INSERT_USERNAME)))
            m_specialMenus[menu] = MENU_DATETIME;
        else if (menu->FindItem(ToWxId(ID_INSERT_USERNAME)) && !menu->FindItem(ToWxId(ID_GOTO_LINE)))
            m_specialMenus[menu] = MENU_INSERT;
        else if (menu->FindItem(ToWxId(ID_TOOLS_CONFIGURE)))
            m_specialMenus[menu] = MENU_TOOLS;
        else if (menu->FindItem(ToWxId(ID_APP_EXIT)))
            m_specialMenus[menu] = MENU_FILE;
        for (wxMenuItem* item : menu->GetMenuItems())
            if (item->IsSubMenu())
                walk(item->GetSubMenu());
    };
    (void)defs;
    for (size_t i = 0; i < bar->GetMenuCount(); ++i)
        walk(bar->GetMenu(i));
    for (auto& [menu, kind] : m_specialMenus)
        if (kind == MENU_FILE || kind == MENU_TOOLS || kind == MENU_INSERT || kind == MENU_TOOLBARS ||
            kind == MENU_STARTFILE)
            FillSpecialMenu(menu, kind);
}

void CMainFrame::FillSpecialMenu(wxMenu* menu, int kind)
{
    switch (kind) {
    case MENU_TOOLBARS: FillToolbarsMenu(menu); break;
    case MENU_STARTFILE: FillStartFileMenu(menu); break;
    case MENU_DATETIME: FillDateTimeMenu(menu); break;
    case MENU_TOOLS: FillToolsMenu(menu); break;
    case MENU_INSERT: FillInsertMenu(menu); break;
    case MENU_FILE: FillRecentFiles(menu); break;
    }
}

void CMainFrame::RefreshMenus(bool recentOnly)
{
    for (auto& [menu, kind] : m_specialMenus)
        if (!recentOnly || kind == MENU_FILE)
            FillSpecialMenu(menu, kind);
    m_recentGeneration = m_app ? m_app->Docs().RecentFiles().Generation() : 0;
}

void CMainFrame::OnMenuOpen(wxMenuEvent& event)
{
    // A menu that changes is filled while its parent opens: GTK does not
    // lay out again a menu changed while it is being shown. Top-level
    // menus (recent files, tools) are filled when their data changes.
    wxMenu* opened = event.GetMenu();
    if (opened) {
        for (auto& [menu, kind] : m_specialMenus) {
            if (menu == opened)
                continue;
            for (wxMenu* p = menu->GetParent(); p; p = p->GetParent())
                if (p == opened) {
                    FillSpecialMenu(menu, kind);
                    break;
                }
        }
    }
    event.Skip();
}

void CMainFrame::PreparePopupMenu(wxMenu* menu)
{
    if (!menu)
        return;
    if (MenuContains(menu, ID_VIEW_TOOLBARS_PLACEHOLDER))
        FillToolbarsMenu(menu);
    for (wxMenuItem* item : menu->GetMenuItems()) {
        if (!item->IsSubMenu())
            continue;
        wxMenu* sub = item->GetSubMenu();
        if (MenuContains(sub, ID_INSERT_DATETIME_DUMMY) && !sub->FindItem(ToWxId(ID_INSERT_USERNAME)))
            FillDateTimeMenu(sub);
        else if (sub->FindItem(ToWxId(ID_INSERT_USERNAME)))
            FillInsertMenu(sub);
        PreparePopupMenu(sub);
    }
}

void CMainFrame::FillToolbarsMenu(wxMenu* menu)
{
    ClearMenu(menu);
    AppendMenuItems(menu, MenuResource(IDR_TOOLBARS_POPUP));
}

void CMainFrame::FillStartFileMenu(wxMenu* menu)
{
    ClearMenu(menu);
    menu->AppendCheckItem(ToWxId(ID_STARTFILE_CURRENT), wxString::FromUTF8("&Aktuelle Datei"));
    menu->AppendSeparator();
    const auto& files = m_settings.m_startFiles;
    int n = 0;
    for (const std::string& f : files) {
        if (ID_STARTFILE_FIRST + n > ID_STARTFILE_LAST)
            break;
        wxString label = Display(f);
        label.Replace("&", "&&");
        menu->AppendCheckItem(ToWxId(ID_STARTFILE_FIRST + n), label);
        ++n;
    }
    if (n > 0)
        menu->AppendSeparator();
    menu->Append(ToWxId(ID_STARTFILE_CONFIGURE), wxString::FromUTF8("&Einstellen..."));
}

void CMainFrame::FillDateTimeMenu(wxMenu* menu)
{
    // The date and time as of now, in the formats of the user's locale.
    CDateTimeList& list = CDateTimeList::Program();
    list.Rebuild(std::time(nullptr));
    ClearMenu(menu);
    const int count = std::min<int>(static_cast<int>(list.Entries().size()),
                                    ID_INSERT_DATETIME_LAST - ID_INSERT_DATETIME_FIRST + 1);
    for (int i = 0; i < count; ++i) {
        wxString label = wxString::FromUTF8(list.Entries()[static_cast<size_t>(i)]);
        label.Replace("&", "&&");
        menu->Append(ToWxId(ID_INSERT_DATETIME_FIRST + i), label);
    }
}

void CMainFrame::FillInsertMenu(wxMenu* menu)
{
    // Keep user name, the date/time popup and the separator; the twelve
    // text blocks follow.
    while (menu->GetMenuItemCount() > 3)
        menu->Destroy(menu->FindItemByPosition(3));
    if (menu->GetMenuItemCount() < 3)
        menu->AppendSeparator();
    for (int n = 1; n <= CSettings::kTextBlocks; ++n) {
        wxString name = Display(m_settings.m_textBlocks[static_cast<size_t>(n - 1)].name);
        name.Replace("&", "&&");
        menu->Append(ToWxId(ID_TOOLS_CONFIGURE + n), wxString::Format("%s\tCtrl+Shift+F%d", name, n));
    }
}

void CMainFrame::FillToolsMenu(wxMenu* menu)
{
    while (menu->GetMenuItemCount() > 2)
        menu->Destroy(menu->FindItemByPosition(2));
    const auto& tools = m_settings.m_tools;
    if (tools.empty())
        return;
    menu->InsertSeparator(1);
    int n = 0;
    for (const CToolEntry& tool : tools) {
        wxString label = Display(tool.name);
        label.Replace("&", "&&");
        // Tools past the last command are listed, but nothing runs them.
        bool runnable = ID_TOOL_FIRST + n <= ID_TOOL_LAST;
        wxMenuItem* item =
            menu->Insert(static_cast<size_t>(2 + n), runnable ? ToWxId(ID_TOOL_FIRST + n) : wxID_ANY, label);
        if (!runnable)
            item->Enable(false);
        ++n;
    }
}

void CMainFrame::ToolsChanged()
{
    for (auto& [menu, kind] : m_specialMenus)
        if (kind == MENU_TOOLS)
            FillSpecialMenu(menu, kind);
}

void CMainFrame::FillRecentFiles(wxMenu* menu)
{
    for (int id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_LAST; ++id)
        if (wxMenuItem* item = menu->FindChildItem(ToWxId(id)))
            menu->Destroy(item);
    size_t exitPos = 0;
    if (!menu->FindChildItem(ToWxId(ID_APP_EXIT), &exitPos) || exitPos == 0)
        return;
    size_t pos = exitPos - 1; // before the separator above "Beenden"
    const auto& entries = m_app ? m_app->Docs().RecentFiles().Entries() : std::vector<std::string>();
    if (entries.empty()) {
        menu->Insert(pos, ToWxId(ID_FILE_MRU_FILE1), wxString::FromUTF8("Letzte Datei"),
                     Text(CommandPrompt(ID_FILE_MRU_FILE1)));
        return;
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        wxString path = Display(entries[i]);
        path.Replace("&", "&&");
        menu->Insert(pos + i, ToWxId(ID_FILE_MRU_FILE1 + static_cast<int>(i)),
                     wxString::Format("&%d %s", static_cast<int>(i + 1), path),
                     Text(CommandPrompt(ID_FILE_MRU_FILE1)));
    }
}

void CMainFrame::ShowTabContextMenu(CChildFrame* hit, const wxPoint& screenPos)
{
    m_tabWindow = hit;
    std::unique_ptr<wxMenu> menu(BuildMenu(MenuResource(IDR_MDITABS_POPUP)));
    PopupMenu(menu.get(), ScreenToClient(screenPos));
}

void CMainFrame::OnTabRightUp(wxAuiNotebookEvent& event)
{
    int sel = event.GetSelection();
    CChildFrame* hit = nullptr;
    if (sel != wxNOT_FOUND)
        hit = dynamic_cast<CChildFrame*>(m_client->GetPage(static_cast<size_t>(sel)));
    ShowTabContextMenu(hit, wxGetMousePosition());
}

void CMainFrame::OnClientContextMenu(wxContextMenuEvent& event)
{
    wxPoint screen = event.GetPosition() == wxDefaultPosition ? wxGetMousePosition() : event.GetPosition();
    wxWindow* source = dynamic_cast<wxWindow*>(event.GetEventObject());
    if (m_client->GetPageCount() == 0 || source == m_client) {
        // The empty client area: the tool bar menu.
        m_tabWindow = nullptr;
        std::unique_ptr<wxMenu> menu(BuildMenu(MenuResource(IDR_TOOLBARS_POPUP)));
        PopupMenu(menu.get(), ScreenToClient(screen));
        return;
    }
    if (dynamic_cast<wxAuiTabCtrl*>(source)) {
        wxPoint local = source->ScreenToClient(screen);
        wxWindow* page = nullptr;
        if (static_cast<wxAuiTabCtrl*>(source)->TabHitTest(local.x, local.y, &page))
            return; // a tab: its own right-click event shows the menu
        ShowTabContextMenu(nullptr, screen);
        return;
    }
    event.Skip();
}

void CMainFrame::OnPageChanged(wxAuiNotebookEvent& event)
{
    int sel = event.GetSelection();
    if (sel != wxNOT_FOUND)
        if (auto* child = dynamic_cast<CChildFrame*>(m_client->GetPage(static_cast<size_t>(sel))))
            ActivateChild(child);
    event.Skip();
}

void CMainFrame::OnPageClose(wxAuiNotebookEvent& event)
{
    // The tab's close button is a close request for that window.
    event.Veto();
    int sel = event.GetSelection();
    if (sel == wxNOT_FOUND)
        return;
    if (auto* child = dynamic_cast<CChildFrame*>(m_client->GetPage(static_cast<size_t>(sel))))
        CallAfter([this, child] { CloseChild(child); });
}

