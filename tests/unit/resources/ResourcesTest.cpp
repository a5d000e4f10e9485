#include "resources/CommandIds.h"
#include "resources/CommandMap.h"
#include "resources/MenuTable.h"
#include "resources/StringTable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace kib;

namespace {

void CollectIds(const std::vector<MenuItemDef>& items, std::vector<int>& ids)
{
    for (const MenuItemDef& it : items) {
        if (it.kind == MenuItemDef::Item)
            ids.push_back(it.id);
        else if (it.kind == MenuItemDef::Popup)
            CollectIds(it.children, ids);
    }
}

} // namespace

TEST(CommandMap, EveryDesignNumberRoundTripsOutsideTheReservedRange)
{
    std::set<int> seen;
    for (int lo : {1, 7000, 10090, 32768, 57344}) {
        int hi = lo == 1 ? 4998 : lo == 7000 ? 8030 : lo == 10090 ? 10099 : lo == 32768 ? 37999 : 61487;
        for (int id = lo; id <= hi; ++id) {
            int wx = ToWxId(id);
            ASSERT_GT(wx, 0) << id;
            ASSERT_LT(wx, 32767) << id;
            ASSERT_FALSE(wx >= 4999 && wx <= 5999) << id;
            ASSERT_TRUE(seen.insert(wx).second) << "two numbers share wx id " << wx;
            ASSERT_EQ(FromWxId(wx), id);
        }
    }
    EXPECT_EQ(ToWxId(7000), 7000);
    EXPECT_EQ(ToWxId(ID_JAVA_COMPILE), 12817);
    EXPECT_EQ(ToWxId(ID_FILE_NEW), 27600);
    EXPECT_EQ(ToWxId(50000), kNoWxId);
    EXPECT_EQ(ToWxId(0), kNoWxId);
    EXPECT_EQ(FromWxId(5000), -1); // wx's own ids are no Kib commands
}

TEST(StringTable, PromptsTooltipsAndTemplate)
{
    EXPECT_FALSE(StringTableHasDuplicates());
    EXPECT_EQ(CommandPrompt(ID_FILE_NEW), "Erstellt ein neues Dokument.");
    EXPECT_EQ(CommandTooltip(ID_FILE_NEW), "Neu");
    EXPECT_EQ(CommandPrompt(ID_VIEW_FULLSCREEN), "Schaltet in den Vollbildschirm-Modus");
    EXPECT_EQ(CommandTooltip(ID_VIEW_FULLSCREEN), "");
    EXPECT_EQ(CommandTooltip(ID_VIEW_OUTPUT), "Ausgang ein-/ausschalten");
    EXPECT_EQ(LoadKibString(IDS_IDLE_MESSAGE), "Bereit");
    EXPECT_EQ(LoadKibString(ID_HELP_UPDATE), ""); // no prompt for the version check
    std::string_view templ = LoadKibString(IDS_DOC_TEMPLATE);
    EXPECT_EQ(TemplateSubstring(templ, 0), "");
    EXPECT_EQ(TemplateSubstring(templ, 1), "Kib");
    EXPECT_EQ(TemplateSubstring(templ, 3), "Kib Files (*.java)");
    EXPECT_EQ(TemplateSubstring(templ, 4), ".java");
    EXPECT_EQ(TemplateSubstring(templ, 6), "Kib Document");
    EXPECT_EQ(TemplateSubstring(templ, 7), "");
}

TEST(MenuTable, MainMenuHoldsNoDocumentCommands)
{
    std::vector<int> ids;
    CollectIds(MenuResource(IDR_MAINFRAME), ids);
    std::set<int> s(ids.begin(), ids.end());
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_PRINT_SETUP, ID_FILE_MRU_FILE1, ID_APP_EXIT,
                   ID_OPTIONS, ID_TOOLS_CONFIGURE, ID_VIEW_TOOLBARS_PLACEHOLDER, ID_APP_ABOUT})
        EXPECT_TRUE(s.count(id)) << id;
    for (int id : {ID_FILE_SAVE_ALL, ID_JAVA_COMPILE, ID_WINDOW_NEW, ID_WINDOW_CASCADE,
                   ID_WINDOW_TILE_HORZ, ID_FILE_SAVE})
        EXPECT_FALSE(s.count(id)) << id;
}

TEST(MenuTable, DocumentMenuTextsAndNoDuplicateCommands)
{
    const auto& doc = MenuResource(IDR_KIBTYPE);
    std::vector<int> ids;
    CollectIds(doc, ids);
    std::map<int, int> count;
    for (int id : ids)
        ++count[id];
    for (auto [id, n] : count)
        EXPECT_EQ(n, 1) << "command " << id << " appears " << n << " times";
    EXPECT_EQ(FindMenuItem(doc, ID_JAVA_COMPILE_RUN)->text,
              "Compilieren und anschließend Starten\tStrg+F5");
    EXPECT_EQ(FindMenuItem(doc, ID_BOOKMARK_SET0 + 1)->text, "Markierung &1\tStrg+1");
    EXPECT_EQ(FindMenuItem(doc, ID_BOOKMARK_GOTO0 + 9)->text, "Markierung &9\tAlt+9");
    EXPECT_EQ(FindMenuItem(doc, ID_BOOKMARK_SET0), nullptr); // 0 only by key
    EXPECT_EQ(FindMenuItem(doc, ID_FILE_CLOSE_ALL)->text, "Alle sch&ließen");
    // The "Einfügen" popup as shipped: user name, the date/time popup, a separator.
    const MenuItemDef* source = nullptr;
    for (const auto& p : doc)
        if (p.text == "&Quellcode")
            source = &p;
    ASSERT_NE(source, nullptr);
    const MenuItemDef& insert = source->children.at(0);
    ASSERT_EQ(insert.children.size(), 3u);
    EXPECT_EQ(insert.children[0].id, ID_INSERT_USERNAME);
    EXPECT_EQ(insert.children[1].children.at(0).id, ID_INSERT_DATETIME_DUMMY);
    EXPECT_EQ(insert.children[2].kind, MenuItemDef::Separator);
}

TEST(MenuTable, EditorPopupOrder)
{
    const auto& m = MenuResource(IDR_EDITOR_POPUP);
    std::vector<std::string> top;
    for (const auto& it : m)
        top.push_back(it.kind == MenuItemDef::Separator ? "-" : it.text);
    std::vector<std::string> want = {"&Rückgängig\tCtrl+Z", "Wiederholen\tCtrl+Y", "-",
                                     "&Ausschneiden", "&Kopieren", "&Einfügen", "-",
                                     "&Suchen...\tStrg+F", "&Ersetzen...\tStrg+H",
                                     "Gehe zu &letzter Änderung\tStrg+B", "-", "Formatierung",
                                     "&Einfügen", "-", "&Setzen", "-", "Kommentare"};
    EXPECT_EQ(top, want);
}

TEST(KeyTables, FrameKeysGiveTheirCommands)
{
    const auto& t = KeyTable(IDR_MAINFRAME);
    EXPECT_EQ(LookupKey(t, KMOD_NONE, VK_F1 + 8), ID_JAVA_COMPILE);
    EXPECT_EQ(LookupKey(t, KMOD_CTRL, VK_F1 + 8), ID_JAVA_RUN);
    EXPECT_EQ(LookupKey(t, KMOD_SHIFT, VK_F1 + 8), ID_JAVA_RUN_ARGS);
    EXPECT_EQ(LookupKey(t, KMOD_CTRL, VK_F1 + 4), ID_JAVA_COMPILE_RUN);
    EXPECT_EQ(LookupKey(t, KMOD_CTRL | KMOD_ALT, 'O'), ID_COMMENT_SELECTION);
    EXPECT_EQ(LookupKey(t, KMOD_ALT, 'O'), 0);
    EXPECT_EQ(LookupKey(t, KMOD_CTRL | KMOD_SHIFT, VK_F1 + 11), ID_TEXTBLOCK12);
    EXPECT_EQ(LookupKey(t, KMOD_CTRL | KMOD_SHIFT, '9'), ID_TOOL_FIRST + 8);
    EXPECT_EQ(LookupKey(t, KMOD_CTRL, '0'), ID_BOOKMARK_SET0);
    EXPECT_EQ(LookupKey(t, KMOD_CTRL, 'Y'), 0); // redo is the editor's key
    EXPECT_EQ(LookupKey(KeyTable(IDR_EDITOR_KEYS), KMOD_CTRL, 'Y'), ID_EDIT_REDO);
    // No key is bound twice within one table.
    for (int res : {IDR_MAINFRAME, IDR_EDITOR_KEYS}) {
        std::set<std::pair<int, int>> keys;
        for (const KeyDef& k : KeyTable(res)) {
            EXPECT_TRUE(keys.insert({k.modifiers, k.key}).second)
                << "table " << res << " binds " << k.modifiers << "+" << k.key << " twice";
        }
    }
}

TEST(Toolbar, StandardButtonsInOrder)
{
    std::vector<int> want = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_FILE_PRINT, 0,
                             ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_EDIT_FIND, 0,
                             ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_JAVA_COMPILE, ID_JAVA_RUN, 0,
                             ID_JAVA_CONSOLE, 0, ID_VIEW_WORKSPACE, ID_VIEW_OUTPUT, 0,
                             ID_VIEW_FULLSCREEN, 0, ID_APP_ABOUT};
    EXPECT_EQ(ToolbarResource(IDR_MAINFRAME), want);
    // Every button has a tool tip except full screen, whose string is a prompt only.
    for (int id : ToolbarResource(IDR_MAINFRAME)) {
        if (id && id != ID_VIEW_FULLSCREEN && id != ID_APP_ABOUT) {
            EXPECT_FALSE(CommandTooltip(id).empty()) << id;
        }
    }
}
