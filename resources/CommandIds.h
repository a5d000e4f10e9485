// Kib's command identities: the numbers its menus, key tables, tool bars,
// routing and tests speak in. Window ids of wxWidgets come from these only
// through ToWxId/FromWxId (resources/CommandMap.h).
#pragma once

namespace kib {

// File
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_CLOSE = 57602;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_FILE_PAGE_SETUP = 57605;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_DIRECT = 57608;
inline constexpr int ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr int ID_FILE_MRU_FILE1 = 57616; // ... 57631
inline constexpr int ID_FILE_MRU_LAST = 57631;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_FILE_CLOSE_ALL = 32888;
inline constexpr int ID_FILE_SAVE_ALL = 32846;

// Edit
inline constexpr int ID_EDIT_CLEAR = 57632;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_FIND = 57636;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_REPEAT = 57640;
inline constexpr int ID_EDIT_REPLACE = 57641;
inline constexpr int ID_EDIT_SELECT_ALL = 57642;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_EDIT_REDO = 57644;
inline constexpr int ID_EDIT_FIND_IN_FILES = 32816;
inline constexpr int ID_EDIT_FIND_BOX = 61478; // the tool bar's find box
inline constexpr int ID_EDIT_FIND_PREVIOUS = 37126;

// Source
inline constexpr int ID_INSERT_USERNAME = 32881;     // also marks the "Einfügen" popup
inline constexpr int ID_INSERT_DATETIME_DUMMY = 32882; // marks the "Datum / Uhrzeit" popup
inline constexpr int ID_INSERT_DATETIME_FIRST = 7060;
inline constexpr int ID_INSERT_DATETIME_LAST = 7090;
inline constexpr int ID_BOOKMARK_CLEAR_ALL = 32836;
inline constexpr int ID_BOOKMARK_SET0 = 37200; // ... 37209
inline constexpr int ID_BOOKMARK_GOTO0 = 37210; // ... 37219
inline constexpr int ID_BOOKMARK_TOGGLE = 37223;
inline constexpr int ID_BOOKMARK_NEXT = 37224;
inline constexpr int ID_BOOKMARK_PREV = 37225;
inline constexpr int ID_BOOKMARK_CLEAR_UNNUMBERED = 37226;
inline constexpr int ID_GOTO_LINE = 32856;
inline constexpr int ID_GOTO_LAST_CHANGE = 32886;
inline constexpr int ID_LOWERCASE = 32869;
inline constexpr int ID_UPPERCASE = 32870;
inline constexpr int ID_CAPITALIZE = 32871;
inline constexpr int ID_SENTENCE = 32872;
inline constexpr int ID_SWAPCASE = 32873;
inline constexpr int ID_TABS_TO_SPACES = 32878;
inline constexpr int ID_SPACES_TO_TABS = 32879;
inline constexpr int ID_CONVERT_TO_UTF8 = 32889;   // the document's encoding
inline constexpr int ID_CONVERT_TO_CP1252 = 32890;
inline constexpr int ID_COMMENT_SELECTION = 32884;
inline constexpr int ID_UNCOMMENT_SELECTION = 32885;
inline constexpr int ID_TEXTBLOCK1 = 32824; // ... 32835
inline constexpr int ID_TEXTBLOCK12 = 32835;

// Editor keys (table 22901)
inline constexpr int ID_EDIT_DELETE = 37000;
inline constexpr int ID_EDIT_BACKSPACE = 37001;
inline constexpr int ID_EDIT_DELETE_WORD_BACK = 37002;
inline constexpr int ID_EDIT_TAB = 37003;
inline constexpr int ID_EDIT_UNTAB = 37004;
inline constexpr int ID_EDIT_SWITCH_OVRMODE = 37005;
inline constexpr int ID_EDIT_CHARLEFT = 37100;
inline constexpr int ID_EDIT_EXT_CHARLEFT = 37101;
inline constexpr int ID_EDIT_CHARRIGHT = 37102;
inline constexpr int ID_EDIT_EXT_CHARRIGHT = 37103;
inline constexpr int ID_EDIT_WORDLEFT = 37104;
inline constexpr int ID_EDIT_EXT_WORDLEFT = 37105;
inline constexpr int ID_EDIT_WORDRIGHT = 37106;
inline constexpr int ID_EDIT_EXT_WORDRIGHT = 37107;
inline constexpr int ID_EDIT_LINEUP = 37108;
inline constexpr int ID_EDIT_EXT_LINEUP = 37109;
inline constexpr int ID_EDIT_LINEDOWN = 37110;
inline constexpr int ID_EDIT_EXT_LINEDOWN = 37111;
inline constexpr int ID_EDIT_SCROLLUP = 37112;
inline constexpr int ID_EDIT_SCROLLDOWN = 37113;
inline constexpr int ID_EDIT_PAGEUP = 37114;
inline constexpr int ID_EDIT_EXT_PAGEUP = 37115;
inline constexpr int ID_EDIT_PAGEDOWN = 37116;
inline constexpr int ID_EDIT_EXT_PAGEDOWN = 37117;
inline constexpr int ID_EDIT_LINEEND = 37118;
inline constexpr int ID_EDIT_EXT_LINEEND = 37119;
inline constexpr int ID_EDIT_HOME = 37120;
inline constexpr int ID_EDIT_EXT_HOME = 37121;
inline constexpr int ID_EDIT_TEXTBEGIN = 37122;
inline constexpr int ID_EDIT_EXT_TEXTBEGIN = 37123;
inline constexpr int ID_EDIT_TEXTEND = 37124;
inline constexpr int ID_EDIT_EXT_TEXTEND = 37125;

// Java
inline constexpr int ID_JAVA_COMPILE = 32817;
inline constexpr int ID_JAVA_RUN = 32818;
inline constexpr int ID_JAVA_APPLETVIEWER = 32819;
inline constexpr int ID_JAVA_CONSOLE = 32820;
inline constexpr int ID_JAVA_RUN_ARGS = 32876;
inline constexpr int ID_JAVA_COMPILE_RUN = 32887;
inline constexpr int ID_STARTFILE_CURRENT = 32859;
inline constexpr int ID_STARTFILE_CONFIGURE = 32850;
inline constexpr int ID_STARTFILE_FIRST = 8000; // ... 8030
inline constexpr int ID_STARTFILE_LAST = 8030;

// Options and tools
inline constexpr int ID_AUTOINDENT = 32821;
inline constexpr int ID_OPTIONS = 32822;
inline constexpr int ID_TOOLS_CONFIGURE = 32823;
inline constexpr int ID_TOOL_FIRST = 7000; // ... 7020
inline constexpr int ID_TOOL_LAST = 7020;
// The argument macros of the tools dialog's ">" menu (resource 145).
inline constexpr int ID_MACRO_SOURCE = 10096;
inline constexpr int ID_MACRO_CLASS = 10097;
inline constexpr int ID_MACRO_FILE = 32805;
inline constexpr int ID_MACRO_PATH = 10098;
inline constexpr int ID_MACRO_DESTPATH = 32874;

// View
inline constexpr int ID_VIEW_TOOLBARS_PLACEHOLDER = 32771;
inline constexpr int ID_VIEW_TOOLBAR = 59392; // also the standard tool bar's window id
inline constexpr int ID_VIEW_STATUS_BAR = 59393;
inline constexpr int ID_VIEW_MENUBAR = 59398; // the menu bar's window id
inline constexpr int ID_VIEW_WORKSPACE = 32803;
inline constexpr int ID_VIEW_OUTPUT = 32804;
inline constexpr int ID_VIEW_USER_TOOLBAR1 = 32793; // ... 32802
inline constexpr int ID_VIEW_USER_TOOLBAR10 = 32802;
inline constexpr int ID_VIEW_CUSTOMIZE = 32770;
inline constexpr int ID_VIEW_FULLSCREEN = 32772;
inline constexpr int ID_USER_TOOLBAR_WINDOW_FIRST = 59432; // ... 59441

// Window
inline constexpr int ID_WINDOW_NEW = 57648;
inline constexpr int ID_WINDOW_ARRANGE = 57649;
inline constexpr int ID_WINDOW_CASCADE = 57650;
inline constexpr int ID_WINDOW_TILE_HORZ = 57651;
inline constexpr int ID_WINDOW_TILE_VERT = 57652;

// Help
inline constexpr int ID_HELP_FINDER = 57667;
inline constexpr int ID_HELP_CONTRIBUTE = 32855;
inline constexpr int ID_HELP_JDKDOCS = 32854;
inline constexpr int ID_HELP_UPDATE = 32853;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_HELP = 57670;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;

// Document tabs (menu 117)
inline constexpr int ID_MDITAB_CLOSE = 32875;
inline constexpr int ID_MDITAB_TOP = 32851;
inline constexpr int ID_MDITAB_BOTTOM = 32838;

// Output panes (menus 115 and 118)
inline constexpr int ID_OUTPUT_GOTO_ERROR = 32806;
inline constexpr int ID_OUTPUT_GOTO_LINE = 32877;

// Explorer (menus 114 and 160)
inline constexpr int ID_EXPLORER_OPEN = 32782;
inline constexpr int ID_EXPLORER_DELETE = 32783;
inline constexpr int ID_EXPLORER_RENAME = 32784;
inline constexpr int ID_EXPLORER_PROPERTIES = 32785;
inline constexpr int ID_EXPLORER_REFRESH = 32865;
inline constexpr int ID_EXPLORER_UP = 32866;
inline constexpr int ID_EXPLORER_BACK = 32867;
inline constexpr int ID_EXPLORER_FORWARD = 32868;

// Status bar indicators
inline constexpr int ID_INDICATOR_CAPS = 59137;
inline constexpr int ID_INDICATOR_NUM = 59138;
inline constexpr int ID_INDICATOR_SCRL = 59139;
inline constexpr int ID_INDICATOR_OVR = 59140;
inline constexpr int ID_INDICATOR_COL = 57668;
inline constexpr int ID_INDICATOR_LINE = 57669;

// The caption marker item of a child frame's title bar.
inline constexpr int ID_TITLE_MARKER = 109;

// Menu, tool bar and accelerator resources.
inline constexpr int IDR_MAINFRAME = 128;     // menu without a document, frame keys, tool bar
inline constexpr int IDR_KIBTYPE = 129;       // menu with a document, document template
inline constexpr int IDR_EDITOR_POPUP = 130;  // "KIBs Menü"
inline constexpr int IDR_TOOLBARS_POPUP = 131;
inline constexpr int IDR_EXPLORER_POPUP = 114;
inline constexpr int IDR_COMPILER_POPUP = 115; // "Compiler Output Menü"
inline constexpr int IDR_MDITABS_POPUP = 117;  // "MDI-Tabs Menü"
inline constexpr int IDR_SEARCH_POPUP = 118;   // "Suchausgabe-Menü"
inline constexpr int IDR_FULLSCREEN_TOOLBAR = 119;
inline constexpr int IDR_TOOL_ARGUMENTS = 145; // "Arguments": the macros of the tools dialog
inline constexpr int IDR_EXPLORER_KEYS = 160;
inline constexpr int IDR_EDITOR_KEYS = 22901;

// Window ids of the bars and their children.
inline constexpr int ID_WORKSPACE_BAR = 32803;
inline constexpr int ID_OUTPUT_BAR = 32804;

} // namespace kib
