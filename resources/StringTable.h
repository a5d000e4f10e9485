// Kib's German string table (UTF-8): prompts and tool tips of the commands,
// captions, and every message the program shows.
#pragma once

#include <string>
#include <string_view>

namespace kib {

// String ids that are not command ids.
inline constexpr int IDS_TOOLBAR_STANDARD = 101;
inline constexpr int IDS_DOC_TEMPLATE = 129;
inline constexpr int IDS_APP_TITLE = 57344;
inline constexpr int IDS_IDLE_MESSAGE = 57345; // "Bereit"
inline constexpr int IDS_PRINT_FOOTER = 61447; // "Page %d/%d" (page, page count)
inline constexpr int IDS_OPEN_FILES_ROOT = 61446;
inline constexpr int IDS_OPTIONS_CAPTION = 61472;
inline constexpr int IDS_COLOUR_AUTOMATIC = 61448; // the colour palette's automatic entry
inline constexpr int IDS_COLOUR_CUSTOM = 61449;    // its entry for the colour dialog
inline constexpr int IDS_DESTINATION_FOLDER = 61458;
inline constexpr int IDS_TOOLS_DELETE_ASK = 61459; // "Wollen Sie den Eintrag wirklich löschen"
inline constexpr int IDS_TOOLS_CAPTION = 61460;    // "Tools"
inline constexpr int IDS_TOOLS_NEW_ENTRY = 61461;  // "Neuer Eintrag"
// The update check.
inline constexpr int IDS_UPDATE_CAPTION = 3;
inline constexpr int IDS_UPDATE_NONE = 4;
inline constexpr int IDS_UPDATE_NEWER = 5; // %s version, %s date, %s size
inline constexpr int IDS_UPDATE_STEP_CONNECT = 6;
inline constexpr int IDS_UPDATE_STEP_INIT = 7;
inline constexpr int IDS_UPDATE_STEP_FETCH = 8;
inline constexpr int IDS_UPDATE_STEP_EVALUATE = 9;
inline constexpr int IDS_UPDATE_FAILED = 10;
// The colour and syntax lists of the options dialog.
inline constexpr int IDS_COLOR_WND = 61485;
inline constexpr int IDS_COLOR_SELECTION = 61486;
inline constexpr int IDS_COLOR_MARGIN = 61487;
inline constexpr int IDS_SYNTAX_KEYWORD = 61453;
inline constexpr int IDS_SYNTAX_FUNCTION = 61482;
inline constexpr int IDS_SYNTAX_STRING = 61454;
inline constexpr int IDS_SYNTAX_COMMENT = 61455;
inline constexpr int IDS_SYNTAX_COMMENTMULTI = 61483;
inline constexpr int IDS_SYNTAX_COMMENTJAVADOC = 61484;
inline constexpr int IDS_SYNTAX_NUMBER = 61456;
inline constexpr int IDS_SYNTAX_OPERATOR = 61457;
inline constexpr int IDS_SYNTAX_BRACEMATCH = 61481;
inline constexpr int IDS_RECENT_FILE_PROMPT = 57616;

// Kib's own messages and labels (numbers chosen by Kib, above the commands).
inline constexpr int IDS_MSG_REOPEN_FAILED = 40001;
inline constexpr int IDS_MSG_SAVE_CHANGES = 40002;      // "%1" = document title
inline constexpr int IDS_MSG_SAVE_FAILED = 40003;       // %s file, %s reason
inline constexpr int IDS_MSG_FILE_NOT_FOUND = 40004;
inline constexpr int IDS_MSG_IS_DIRECTORY = 40005;
inline constexpr int IDS_MSG_NO_READ_PERMISSION = 40006;
inline constexpr int IDS_MSG_OPEN_FAILED = 40007;
inline constexpr int IDS_MSG_FILE_TOO_LARGE = 40008;
inline constexpr int IDS_MSG_ENTER_INTEGER = 40009;
inline constexpr int IDS_MSG_LINE_OUT_OF_RANGE = 40010; // %d last line
inline constexpr int IDS_MSG_NOT_A_REGULAR_FILE = 40011;
inline constexpr int IDS_MSG_HARD_LINK_SPLIT = 40012;   // %s file
inline constexpr int IDS_MSG_INTEGER_RANGE = 40013;     // %1 and %2: the bounds
inline constexpr int IDS_MSG_REOPEN_BOUNDED = 40014;    // %d listed, %d reopened, %d held back
inline constexpr int IDS_MSG_RELOAD_QUESTION = 40015;
inline constexpr int IDS_MSG_RELOAD_MODIFIED = 40016;   // added when the document has unsaved changes
inline constexpr int IDS_RELOAD_THIS_FILE = 40017;
inline constexpr int IDS_RELOAD_ALL_OF_TYPE = 40018;
inline constexpr int IDS_MSG_WATCH_LIMIT = 40019;     // %s file
inline constexpr int IDS_STATUS_LINE = 40020;   // "Zeile: %d"
inline constexpr int IDS_STATUS_COLUMN = 40021; // "Spalte: %d"
inline constexpr int IDS_STATUS_LINE_SIZER = 40022;
inline constexpr int IDS_STATUS_COLUMN_SIZER = 40023;
inline constexpr int IDS_INDICATOR_OVR = 40024;
inline constexpr int IDS_INDICATOR_CAPS = 40025;
inline constexpr int IDS_INDICATOR_NUM = 40026;
inline constexpr int IDS_INDICATOR_SCRL = 40027;
inline constexpr int IDS_GOTO_LINE_CAPTION = 40030;
inline constexpr int IDS_GOTO_LINE_LABEL = 40031;
inline constexpr int IDS_BUTTON_OK = 40032;
inline constexpr int IDS_BUTTON_CANCEL = 40033;
inline constexpr int IDS_BUTTON_YES = 40034;
inline constexpr int IDS_BUTTON_NO = 40035;
inline constexpr int IDS_ABOUT_CAPTION = 40040;
inline constexpr int IDS_ABOUT_LINE1 = 40041;
inline constexpr int IDS_ABOUT_LINE2 = 40042;
inline constexpr int IDS_ABOUT_URL = 40043;
inline constexpr int IDS_OPEN_FILTER = 40050;
inline constexpr int IDS_SAVE_FILTER = 40051;
inline constexpr int IDS_OPEN_CAPTION = 40052;
inline constexpr int IDS_SAVE_AS_CAPTION = 40053;
inline constexpr int IDS_TAB_FILES = 40060;
inline constexpr int IDS_TAB_EXPLORER = 40061;
inline constexpr int IDS_TAB_COMPILER = 40062;
inline constexpr int IDS_TAB_OUTPUT = 40063;
inline constexpr int IDS_TAB_SEARCH1 = 40064;
inline constexpr int IDS_TAB_SEARCH2 = 40065;
inline constexpr int IDS_BAR_WORKSPACE = 40066;
inline constexpr int IDS_BAR_OUTPUT = 40067;
inline constexpr int IDS_MSGBOX_CAPTION = 40070; // "KIB"
inline constexpr int IDS_NO_PRINTER = 40071;
inline constexpr int IDS_CUSTOMIZE_CAPTION = 40072;
inline constexpr int IDS_FULLSCREEN_TOOLBAR = 40073;
inline constexpr int IDS_MSG_CHAR_NOT_IN_CP1252 = 40100; // %s character, %04X its code point
inline constexpr int IDS_MSG_CONVERT_NOT_IN_CP1252 = 40101; // %s character, %04X code point, %d line
// The explorer tree and its properties window.
inline constexpr int IDS_EXPLORER_COMPUTER = 40080;
inline constexpr int IDS_EXPLORER_NETWORK = 40081;
inline constexpr int IDS_EXPLORER_ROOT_DRIVE = 40082;  // "/" as a drive
inline constexpr int IDS_EXPLORER_HOME_DRIVE = 40083;  // %s the home folder
inline constexpr int IDS_EXPLORER_MOUNT_DRIVE = 40084; // %s name, %s mount point
inline constexpr int IDS_PROPERTIES_CAPTION = 40085;   // %s name
inline constexpr int IDS_PROPERTIES_PATH = 40086;
inline constexpr int IDS_PROPERTIES_TYPE = 40087;
inline constexpr int IDS_PROPERTIES_SIZE = 40088;
inline constexpr int IDS_PROPERTIES_MODIFIED = 40089;
inline constexpr int IDS_PROPERTIES_PERMISSIONS = 40090;
inline constexpr int IDS_PROPERTIES_OWNER = 40091;
inline constexpr int IDS_PROPERTIES_FOLDER = 40092;
inline constexpr int IDS_PROPERTIES_FILE = 40093;
inline constexpr int IDS_PROPERTIES_LINK = 40094;       // %s target
inline constexpr int IDS_PROPERTIES_OTHER = 40095;
inline constexpr int IDS_PROPERTIES_BYTES = 40096;      // %s number
inline constexpr int IDS_PROPERTIES_CLOSE = 40097;
inline constexpr int IDS_PROPERTIES_UNREADABLE = 40098; // %s reason

// The whole string, or an empty view for an unknown id.
std::string_view LoadKibString(int id);

// The status-bar prompt (the part before the line feed) of a command.
std::string_view CommandPrompt(int id);
// The tool tip (the part after the line feed); empty when there is none.
std::string_view CommandTooltip(int id);

// Substring n (0-based) of a template string whose parts are separated by
// line feeds (as the document template's string 129).
std::string TemplateSubstring(std::string_view templ, int n);

// True when two entries share an id (a table error).
bool StringTableHasDuplicates();

} // namespace kib
