// Command identifiers of the text and edit views: Kib's own command numbers
// (not wx ids), used by the editor key table, the views' command dispatch and
// the menus that reach them.
#pragma once

namespace editorcmd {

// Editing keys
constexpr int ID_EDIT_DELETE = 37000;
constexpr int ID_EDIT_DELETE_BACK = 37001;
constexpr int ID_EDIT_DELETE_WORD_BACK = 37002;
constexpr int ID_EDIT_TAB = 37003;
constexpr int ID_EDIT_UNTAB = 37004;
constexpr int ID_EDIT_SWITCH_OVRMODE = 37005;

// Navigation; each odd number is the Shift form of the one before it.
constexpr int ID_EDIT_CHAR_LEFT = 37100;
constexpr int ID_EDIT_EXT_CHAR_LEFT = 37101;
constexpr int ID_EDIT_CHAR_RIGHT = 37102;
constexpr int ID_EDIT_EXT_CHAR_RIGHT = 37103;
constexpr int ID_EDIT_WORD_LEFT = 37104;
constexpr int ID_EDIT_EXT_WORD_LEFT = 37105;
constexpr int ID_EDIT_WORD_RIGHT = 37106;
constexpr int ID_EDIT_EXT_WORD_RIGHT = 37107;
constexpr int ID_EDIT_LINE_UP = 37108;
constexpr int ID_EDIT_EXT_LINE_UP = 37109;
constexpr int ID_EDIT_LINE_DOWN = 37110;
constexpr int ID_EDIT_EXT_LINE_DOWN = 37111;
constexpr int ID_EDIT_SCROLL_UP = 37112;
constexpr int ID_EDIT_SCROLL_DOWN = 37113;
constexpr int ID_EDIT_PAGE_UP = 37114;
constexpr int ID_EDIT_EXT_PAGE_UP = 37115;
constexpr int ID_EDIT_PAGE_DOWN = 37116;
constexpr int ID_EDIT_EXT_PAGE_DOWN = 37117;
constexpr int ID_EDIT_LINE_END = 37118;
constexpr int ID_EDIT_EXT_LINE_END = 37119;
constexpr int ID_EDIT_HOME = 37120;
constexpr int ID_EDIT_EXT_HOME = 37121;
constexpr int ID_EDIT_TEXT_BEGIN = 37122;
constexpr int ID_EDIT_EXT_TEXT_BEGIN = 37123;
constexpr int ID_EDIT_TEXT_END = 37124;
constexpr int ID_EDIT_EXT_TEXT_END = 37125;
constexpr int ID_EDIT_FIND_PREVIOUS = 37126;

// Bookmarks
constexpr int ID_EDIT_TOGGLE_BOOKMARK0 = 37200; // ... 37209
constexpr int ID_EDIT_GO_BOOKMARK0 = 37210;     // ... 37219
constexpr int ID_EDIT_TOGGLE_BOOKMARK = 37223;
constexpr int ID_EDIT_GOTO_NEXT_BOOKMARK = 37224;
constexpr int ID_EDIT_GOTO_PREV_BOOKMARK = 37225;
constexpr int ID_EDIT_CLEAR_BOOKMARKS = 37226;
constexpr int ID_EDIT_CLEAR_ALL_BOOKMARKS = 32836;

// Standard edit commands
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_FIND = 57636;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_EDIT_REPEAT = 57640;
constexpr int ID_EDIT_REPLACE = 57641;
constexpr int ID_EDIT_SELECT_ALL = 57642;
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_EDIT_REDO = 57644;

// Edit-view commands
constexpr int ID_EDIT_LOWERCASE = 32869;
constexpr int ID_EDIT_UPPERCASE = 32870;
constexpr int ID_EDIT_CAPITALIZE = 32871;
constexpr int ID_EDIT_SENTENCE = 32872;
constexpr int ID_EDIT_SWAPCASE = 32873;
constexpr int ID_EDIT_TABS_TO_SPACES = 32878;
constexpr int ID_EDIT_SPACES_TO_TABS = 32879;
constexpr int ID_EDIT_INSERT_USERNAME = 32881;
constexpr int ID_EDIT_COMMENT = 32884;
constexpr int ID_EDIT_UNCOMMENT = 32885;
constexpr int ID_EDIT_GOTO_LAST_CHANGE = 32886;

// First entry of the date-and-time list (handled by the IDE's view).
constexpr int ID_INSERT_DATETIME_FIRST = 7060;

// Status-bar pane shown active while overwrite mode is on.
constexpr int ID_INDICATOR_OVR = 59140;

} // namespace editorcmd
