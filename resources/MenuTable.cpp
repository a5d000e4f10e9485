#include "resources/MenuTable.h"

#include "resources/CommandIds.h"

#include <string>

namespace kib {

namespace {

using Items = std::vector<MenuItemDef>;

MenuItemDef I(const char* text, int id)
{
    return MenuItemDef{MenuItemDef::Item, text, id, {}};
}

MenuItemDef Sep()
{
    return MenuItemDef{MenuItemDef::Separator, "", 0, {}};
}

MenuItemDef P(const char* text, Items children)
{
    return MenuItemDef{MenuItemDef::Popup, text, 0, std::move(children)};
}

Items Bookmarks(int firstId, const char* key)
{
    Items items;
    for (int n = 1; n <= 9; ++n)
        items.push_back(MenuItemDef{MenuItemDef::Item,
                                    "Markierung &" + std::to_string(n) + "\t" + key + "+" +
                                        std::to_string(n),
                                    firstId + n,
                                    {}});
    return items;
}

Items FormattingItems()
{
    return {
        I("Kleinbuchstaben\tCtrl+L", ID_LOWERCASE),
        I("Großbuchstaben\tCtrl+U", ID_UPPERCASE),
        I("Erster Buchstabe gross\tCtrl+T", ID_CAPITALIZE),
        I("Satzform\tCtrl+J", ID_SENTENCE),
        I("Zeichen umkehren\tCtrl+I", ID_SWAPCASE),
        Sep(),
        I("Umwandlung Tabs in &Spaces", ID_TABS_TO_SPACES),
        I("Umwandlung Spaces in &Tabs", ID_SPACES_TO_TABS),
        Sep(),
        I("In &UTF-8 umwandeln", ID_CONVERT_TO_UTF8),
        I("In &Windows-1252 umwandeln", ID_CONVERT_TO_CP1252),
    };
}

Items CommentItems()
{
    return {
        I("Selektion auskommentieren\tAlt+O", ID_COMMENT_SELECTION),
        I("Selektion einkommentieren\tAlt+I", ID_UNCOMMENT_SELECTION),
    };
}

// The "Einfügen" popup as shipped: the text blocks and the date/time
// entries are added each time it opens.
MenuItemDef InsertPopup()
{
    return P("&Einfügen", {
                              I("Benutzername", ID_INSERT_USERNAME),
                              P("Datum / Uhrzeit", {I("Dummy", ID_INSERT_DATETIME_DUMMY)}),
                              Sep(),
                          });
}

MenuItemDef ViewPopup()
{
    return P("&Ansicht", {
                             P("&Toolbars", {I("Toolbars", ID_VIEW_TOOLBARS_PLACEHOLDER)}),
                             I("&Status Bar", ID_VIEW_STATUS_BAR),
                         });
}

MenuItemDef HelpPopup()
{
    return P("&?", {
                       I("&Hilfethemen", ID_HELP_FINDER),
                       I("&Mithelfen...", ID_HELP_CONTRIBUTE),
                       I("&JDK Dokumentation", ID_HELP_JDKDOCS),
                       I("Auf neue &Version prüfen", ID_HELP_UPDATE),
                       Sep(),
                       I("Inf&o über Kib...", ID_APP_ABOUT),
                   });
}

MenuItemDef ToolsPopup()
{
    return P("&Tools", {
                           I("&Toolmenüeinträge konfigurieren...", ID_TOOLS_CONFIGURE),
                           Sep(),
                       });
}

Items MainMenu()
{
    return {
        P("&Datei", {
                        I("&Neu\tCtrl+N", ID_FILE_NEW),
                        I("Ö&ffnen...\tCtrl+O", ID_FILE_OPEN),
                        Sep(),
                        I("Drucker&einrichtung...", ID_FILE_PRINT_SETUP),
                        Sep(),
                        I("Letzte Datei", ID_FILE_MRU_FILE1),
                        Sep(),
                        I("&Beenden", ID_APP_EXIT),
                    }),
        P("&Optionen", {I("&Einstellungen...", ID_OPTIONS)}),
        ToolsPopup(),
        ViewPopup(),
        HelpPopup(),
    };
}

Items DocumentMenu()
{
    return {
        P("&Datei", {
                        I("&Neu\tCtrl+N", ID_FILE_NEW),
                        I("Ö&ffnen...\tCtrl+O", ID_FILE_OPEN),
                        I("&Schliessen", ID_FILE_CLOSE),
                        I("Alle sch&ließen", ID_FILE_CLOSE_ALL),
                        Sep(),
                        I("S&peichern\tCtrl+S", ID_FILE_SAVE),
                        I("&Alle Speichern", ID_FILE_SAVE_ALL),
                        I("Speichern &unter...", ID_FILE_SAVE_AS),
                        Sep(),
                        I("&Drucken...\tCtrl+P", ID_FILE_PRINT),
                        I("Sei&tenansicht", ID_FILE_PRINT_PREVIEW),
                        I("Drucker&einrichtung...", ID_FILE_PRINT_SETUP),
                        Sep(),
                        I("Letzte Datei", ID_FILE_MRU_FILE1),
                        Sep(),
                        I("&Beenden", ID_APP_EXIT),
                    }),
        P("&Bearbeiten", {
                             I("&Rückgängig\tCtrl+Z", ID_EDIT_UNDO),
                             I("Wiederholen\tCtrl+Y", ID_EDIT_REDO),
                             Sep(),
                             I("&Ausschneiden\tCtrl+X", ID_EDIT_CUT),
                             I("&Kopieren\tCtrl+C", ID_EDIT_COPY),
                             I("E&infügen\tCtrl+V", ID_EDIT_PASTE),
                             Sep(),
                             I("Alles &markieren\tCtrl+A", ID_EDIT_SELECT_ALL),
                             Sep(),
                             I("&Suchen...\tStrg+F", ID_EDIT_FIND),
                             I("S&uchen in Dateien...", ID_EDIT_FIND_IN_FILES),
                             I("&Weitersuchen\tF3", ID_EDIT_REPEAT),
                             I("&Ersetzen...\tStrg+H", ID_EDIT_REPLACE),
                         }),
        P("&Quellcode", {
                            InsertPopup(),
                            P("&Gehe zu", {
                                              I("&Zeile...", ID_GOTO_LINE),
                                              I("&Letzter Änderung\tStrg+B", ID_GOTO_LAST_CHANGE),
                                              Sep(),
                                              P("&Markierung", Bookmarks(ID_BOOKMARK_GOTO0, "Alt")),
                                          }),
                            P("Markierung &setzen", Bookmarks(ID_BOOKMARK_SET0, "Strg")),
                            I("Alle Markierungen &löschen", ID_BOOKMARK_CLEAR_ALL),
                            Sep(),
                            P("Formatierung", FormattingItems()),
                            P("Kommentare", CommentItems()),
                        }),
        P("&Java", {
                       I("&Compilieren\tF9", ID_JAVA_COMPILE),
                       I("&Starten\tStrg+F9", ID_JAVA_RUN),
                       I("Starten mit Argumenten...\tShift+F9", ID_JAVA_RUN_ARGS),
                       I("Compilieren und anschließend Starten\tStrg+F5", ID_JAVA_COMPILE_RUN),
                       I("Mit AppletViewer starten\tF8", ID_JAVA_APPLETVIEWER),
                       Sep(),
                       P("Startdatei", {
                                           I("&Aktuelle Datei", ID_STARTFILE_CURRENT),
                                           Sep(),
                                           I("&Einstellen...", ID_STARTFILE_CONFIGURE),
                                       }),
                       Sep(),
                       I("MSDOS &Eingabeaufforderung", ID_JAVA_CONSOLE),
                   }),
        P("&Optionen", {
                           I("&Automatisches Einrücken", ID_AUTOINDENT),
                           I("&Einstellungen...", ID_OPTIONS),
                       }),
        ToolsPopup(),
        ViewPopup(),
        P("&Fenster", {
                          I("Neues &Fenster", ID_WINDOW_NEW),
                          I("Über&lappend", ID_WINDOW_CASCADE),
                          I("&Untereinander", ID_WINDOW_TILE_HORZ),
                          I("&Nebeneinander", ID_WINDOW_TILE_VERT),
                          I("&Symbole anordnen", ID_WINDOW_ARRANGE),
                      }),
        HelpPopup(),
    };
}

Items EditorPopup()
{
    return {
        I("&Rückgängig\tCtrl+Z", ID_EDIT_UNDO),
        I("Wiederholen\tCtrl+Y", ID_EDIT_REDO),
        Sep(),
        I("&Ausschneiden", ID_EDIT_CUT),
        I("&Kopieren", ID_EDIT_COPY),
        I("&Einfügen", ID_EDIT_PASTE),
        Sep(),
        I("&Suchen...\tStrg+F", ID_EDIT_FIND),
        I("&Ersetzen...\tStrg+H", ID_EDIT_REPLACE),
        I("Gehe zu &letzter Änderung\tStrg+B", ID_GOTO_LAST_CHANGE),
        Sep(),
        P("Formatierung", FormattingItems()),
        InsertPopup(),
        Sep(),
        P("&Setzen", Bookmarks(ID_BOOKMARK_SET0, "Strg")),
        Sep(),
        P("Kommentare", CommentItems()),
    };
}

Items ToolbarsPopup()
{
    return {
        I("Standard Toolbar", ID_VIEW_TOOLBAR),
        I("&Workspace", ID_VIEW_WORKSPACE),
        I("&Output", ID_VIEW_OUTPUT),
        Sep(),
        I("&Anpassen...", ID_VIEW_CUSTOMIZE),
    };
}

Items ToolArgumentsPopup()
{
    return {
        I("Dateiname - mit .&java Endung", ID_MACRO_SOURCE),
        I("&Dateiname - mit .class Endung", ID_MACRO_CLASS),
        I("Dateiname - &ohne Dateiendung", ID_MACRO_FILE),
        I("&Pfad - Java Quellcode", ID_MACRO_PATH),
        I("&Zielpfad - Zielpfad aus Optionen", ID_MACRO_DESTPATH),
    };
}

Items MdiTabsPopup()
{
    return {
        I("&Dokument schließen", ID_MDITAB_CLOSE),
        Sep(),
        I("Tabs &Oben", ID_MDITAB_TOP),
        I("Tabs &Unten", ID_MDITAB_BOTTOM),
    };
}

Items CompilerPopup()
{
    return {I("&Kopieren", ID_EDIT_COPY), I("&Löschen", ID_EDIT_CLEAR), Sep(),
            I("&Zum Fehler springen", ID_OUTPUT_GOTO_ERROR)};
}

Items SearchPopup()
{
    return {I("&Kopieren", ID_EDIT_COPY), I("&Löschen", ID_EDIT_CLEAR), Sep(),
            I("&Zu Zeile springen", ID_OUTPUT_GOTO_LINE)};
}

Items ExplorerPopup()
{
    return {I("&Öffnen", ID_EXPLORER_OPEN), I("&Umbenennen", ID_EXPLORER_RENAME),
            I("&Löschen", ID_EXPLORER_DELETE), Sep(), I("&Eigenschaften...", ID_EXPLORER_PROPERTIES)};
}

// Key table 160: the explorer tree's own keys.
std::vector<KeyDef> ExplorerKeys()
{
    return {
        {KMOD_NONE, VK_RETURN, ID_EXPLORER_OPEN},
        {KMOD_NONE, VK_F1 + 1, ID_EXPLORER_RENAME},
        {KMOD_NONE, VK_DELETE, ID_EXPLORER_DELETE},
        {KMOD_ALT, VK_RETURN, ID_EXPLORER_PROPERTIES},
        {KMOD_NONE, VK_F1 + 4, ID_EXPLORER_REFRESH},
        {KMOD_NONE, VK_BACK, ID_EXPLORER_UP},
        {KMOD_ALT, VK_LEFT, ID_EXPLORER_BACK},
        {KMOD_ALT, VK_RIGHT, ID_EXPLORER_FORWARD},
    };
}

std::vector<KeyDef> FrameKeys()
{
    std::vector<KeyDef> k = {
        {KMOD_CTRL, 'N', ID_FILE_NEW},
        {KMOD_CTRL, 'O', ID_FILE_OPEN},
        {KMOD_CTRL, 'S', ID_FILE_SAVE},
        {KMOD_CTRL, 'P', ID_FILE_PRINT},
        {KMOD_CTRL, 'Z', ID_EDIT_UNDO},
        {KMOD_ALT, VK_BACK, ID_EDIT_UNDO},
        {KMOD_CTRL, 'X', ID_EDIT_CUT},
        {KMOD_SHIFT, VK_DELETE, ID_EDIT_CUT},
        {KMOD_CTRL, 'C', ID_EDIT_COPY},
        {KMOD_CTRL, VK_INSERT, ID_EDIT_COPY},
        {KMOD_CTRL, 'V', ID_EDIT_PASTE},
        {KMOD_SHIFT, VK_INSERT, ID_EDIT_PASTE},
        {KMOD_CTRL, 'A', ID_EDIT_SELECT_ALL},
        {KMOD_CTRL, 'F', ID_EDIT_FIND},
        {KMOD_NONE, VK_F1 + 2, ID_EDIT_REPEAT},
        {KMOD_CTRL, 'H', ID_EDIT_REPLACE},
        {KMOD_CTRL | KMOD_SHIFT, 'U', ID_INSERT_USERNAME},
        {KMOD_CTRL | KMOD_SHIFT, 'D', ID_INSERT_DATETIME_FIRST},
        {KMOD_CTRL, 'B', ID_GOTO_LAST_CHANGE},
        {KMOD_CTRL, 'L', ID_LOWERCASE},
        {KMOD_CTRL, 'U', ID_UPPERCASE},
        {KMOD_CTRL, 'T', ID_CAPITALIZE},
        {KMOD_CTRL, 'J', ID_SENTENCE},
        {KMOD_CTRL, 'I', ID_SWAPCASE},
        {KMOD_CTRL | KMOD_ALT, 'O', ID_COMMENT_SELECTION},
        {KMOD_CTRL | KMOD_ALT, 'I', ID_UNCOMMENT_SELECTION},
        {KMOD_NONE, VK_F1 + 8, ID_JAVA_COMPILE},
        {KMOD_CTRL, VK_F1 + 8, ID_JAVA_RUN},
        {KMOD_SHIFT, VK_F1 + 8, ID_JAVA_RUN_ARGS},
        {KMOD_CTRL, VK_F1 + 4, ID_JAVA_COMPILE_RUN},
        {KMOD_NONE, VK_F1 + 7, ID_JAVA_APPLETVIEWER},
        {KMOD_NONE, VK_F1, ID_HELP},
        {KMOD_NONE, VK_F1 + 5, ID_NEXT_PANE},
        {KMOD_SHIFT, VK_F1 + 5, ID_PREV_PANE},
    };
    for (int n = 0; n <= 9; ++n) {
        k.push_back({KMOD_CTRL, '0' + n, ID_BOOKMARK_SET0 + n});
        k.push_back({KMOD_ALT, '0' + n, ID_BOOKMARK_GOTO0 + n});
    }
    for (int n = 0; n < 12; ++n)
        k.push_back({KMOD_CTRL | KMOD_SHIFT, VK_F1 + n, ID_TEXTBLOCK1 + n});
    for (int n = 0; n < 9; ++n)
        k.push_back({KMOD_CTRL | KMOD_SHIFT, '1' + n, ID_TOOL_FIRST + n});
    return k;
}

std::vector<KeyDef> EditorKeys()
{
    std::vector<KeyDef> k = {
        {KMOD_NONE, VK_LEFT, ID_EDIT_CHARLEFT},
        {KMOD_SHIFT, VK_LEFT, ID_EDIT_EXT_CHARLEFT},
        {KMOD_NONE, VK_RIGHT, ID_EDIT_CHARRIGHT},
        {KMOD_SHIFT, VK_RIGHT, ID_EDIT_EXT_CHARRIGHT},
        {KMOD_CTRL, VK_LEFT, ID_EDIT_WORDLEFT},
        {KMOD_CTRL | KMOD_SHIFT, VK_LEFT, ID_EDIT_EXT_WORDLEFT},
        {KMOD_CTRL, VK_RIGHT, ID_EDIT_WORDRIGHT},
        {KMOD_CTRL | KMOD_SHIFT, VK_RIGHT, ID_EDIT_EXT_WORDRIGHT},
        {KMOD_NONE, VK_UP, ID_EDIT_LINEUP},
        {KMOD_SHIFT, VK_UP, ID_EDIT_EXT_LINEUP},
        {KMOD_NONE, VK_DOWN, ID_EDIT_LINEDOWN},
        {KMOD_SHIFT, VK_DOWN, ID_EDIT_EXT_LINEDOWN},
        {KMOD_CTRL, VK_UP, ID_EDIT_SCROLLUP},
        {KMOD_CTRL, VK_DOWN, ID_EDIT_SCROLLDOWN},
        {KMOD_NONE, VK_PRIOR, ID_EDIT_PAGEUP},
        {KMOD_SHIFT, VK_PRIOR, ID_EDIT_EXT_PAGEUP},
        {KMOD_NONE, VK_NEXT, ID_EDIT_PAGEDOWN},
        {KMOD_SHIFT, VK_NEXT, ID_EDIT_EXT_PAGEDOWN},
        {KMOD_NONE, VK_END, ID_EDIT_LINEEND},
        {KMOD_SHIFT, VK_END, ID_EDIT_EXT_LINEEND},
        {KMOD_NONE, VK_HOME, ID_EDIT_HOME},
        {KMOD_SHIFT, VK_HOME, ID_EDIT_EXT_HOME},
        {KMOD_CTRL, VK_HOME, ID_EDIT_TEXTBEGIN},
        {KMOD_CTRL | KMOD_SHIFT, VK_HOME, ID_EDIT_EXT_TEXTBEGIN},
        {KMOD_CTRL, VK_END, ID_EDIT_TEXTEND},
        {KMOD_CTRL | KMOD_SHIFT, VK_END, ID_EDIT_EXT_TEXTEND},
        {KMOD_CTRL, VK_F1 + 1, ID_BOOKMARK_TOGGLE},
        {KMOD_NONE, VK_F1 + 1, ID_BOOKMARK_NEXT},
        {KMOD_SHIFT, VK_F1 + 1, ID_BOOKMARK_PREV},
        {KMOD_CTRL | KMOD_ALT, VK_F1 + 1, ID_BOOKMARK_CLEAR_UNNUMBERED},
        {KMOD_CTRL, 'C', ID_EDIT_COPY},
        {KMOD_CTRL, VK_INSERT, ID_EDIT_COPY},
        {KMOD_CTRL, 'A', ID_EDIT_SELECT_ALL},
        {KMOD_NONE, VK_DELETE, ID_EDIT_DELETE},
        {KMOD_NONE, VK_BACK, ID_EDIT_BACKSPACE},
        {KMOD_SHIFT, VK_BACK, ID_EDIT_BACKSPACE},
        {KMOD_CTRL, VK_BACK, ID_EDIT_DELETE_WORD_BACK},
        {KMOD_NONE, VK_TAB, ID_EDIT_TAB},
        {KMOD_SHIFT, VK_TAB, ID_EDIT_UNTAB},
        {KMOD_NONE, VK_INSERT, ID_EDIT_SWITCH_OVRMODE},
        {KMOD_CTRL, 'V', ID_EDIT_PASTE},
        {KMOD_SHIFT, VK_INSERT, ID_EDIT_PASTE},
        {KMOD_CTRL, 'X', ID_EDIT_CUT},
        {KMOD_SHIFT, VK_DELETE, ID_EDIT_CUT},
        {KMOD_CTRL, 'Z', ID_EDIT_UNDO},
        {KMOD_ALT, VK_BACK, ID_EDIT_UNDO},
        {KMOD_CTRL, 'Y', ID_EDIT_REDO},
        {KMOD_CTRL | KMOD_SHIFT, 'U', ID_INSERT_USERNAME},
        {KMOD_CTRL | KMOD_SHIFT, 'D', ID_INSERT_DATETIME_FIRST},
        {KMOD_CTRL, 'F', ID_EDIT_FIND},
        {KMOD_CTRL, 'H', ID_EDIT_REPLACE},
        {KMOD_NONE, VK_F1 + 2, ID_EDIT_REPEAT},
        {KMOD_SHIFT, VK_F1 + 2, ID_EDIT_FIND_PREVIOUS},
    };
    for (int n = 0; n <= 9; ++n) {
        k.push_back({KMOD_CTRL, '0' + n, ID_BOOKMARK_SET0 + n});
        k.push_back({KMOD_ALT, '0' + n, ID_BOOKMARK_GOTO0 + n});
    }
    return k;
}

} // namespace

const std::vector<MenuItemDef>& MenuResource(int res)
{
    static const Items main = MainMenu();
    static const Items doc = DocumentMenu();
    static const Items editor = EditorPopup();
    static const Items toolbars = ToolbarsPopup();
    static const Items tabs = MdiTabsPopup();
    static const Items compiler = CompilerPopup();
    static const Items search = SearchPopup();
    static const Items explorer = ExplorerPopup();
    static const Items toolArguments = ToolArgumentsPopup();
    static const Items none;
    switch (res) {
    case IDR_MAINFRAME: return main;
    case IDR_KIBTYPE: return doc;
    case IDR_EDITOR_POPUP: return editor;
    case IDR_TOOLBARS_POPUP: return toolbars;
    case IDR_MDITABS_POPUP: return tabs;
    case IDR_COMPILER_POPUP: return compiler;
    case IDR_SEARCH_POPUP: return search;
    case IDR_EXPLORER_POPUP: return explorer;
    case IDR_TOOL_ARGUMENTS: return toolArguments;
    default: return none;
    }
}

const MenuItemDef* FindMenuItem(const std::vector<MenuItemDef>& items, int id)
{
    for (const MenuItemDef& item : items) {
        if (item.kind == MenuItemDef::Item && item.id == id)
            return &item;
        if (item.kind == MenuItemDef::Popup)
            if (const MenuItemDef* found = FindMenuItem(item.children, id))
                return found;
    }
    return nullptr;
}

const std::vector<int>& ToolbarResource(int res)
{
    static const std::vector<int> standard = {
        ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_FILE_PRINT, 0, ID_EDIT_CUT, ID_EDIT_COPY,
        ID_EDIT_PASTE, 0, ID_EDIT_FIND, 0, ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_JAVA_COMPILE,
        ID_JAVA_RUN, 0, ID_JAVA_CONSOLE, 0, ID_VIEW_WORKSPACE, ID_VIEW_OUTPUT, 0,
        ID_VIEW_FULLSCREEN, 0, ID_APP_ABOUT,
    };
    static const std::vector<int> fullScreen = {ID_VIEW_FULLSCREEN};
    static const std::vector<int> none;
    switch (res) {
    case IDR_MAINFRAME: return standard;
    case IDR_FULLSCREEN_TOOLBAR: return fullScreen;
    default: return none;
    }
}

const std::vector<KeyDef>& KeyTable(int res)
{
    static const std::vector<KeyDef> frame = FrameKeys();
    static const std::vector<KeyDef> editor = EditorKeys();
    static const std::vector<KeyDef> explorer = ExplorerKeys();
    static const std::vector<KeyDef> none;
    switch (res) {
    case IDR_MAINFRAME: return frame;
    case IDR_EXPLORER_KEYS: return explorer;
    case IDR_EDITOR_KEYS: return editor;
    default: return none;
    }
}

int LookupKey(const std::vector<KeyDef>& table, int modifiers, int key)
{
    for (const KeyDef& k : table)
        if (k.modifiers == modifiers && k.key == key)
            return k.command;
    return 0;
}

} // namespace kib
