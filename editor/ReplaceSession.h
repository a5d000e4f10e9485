// The state and the three buttons of the replace dialog ("&Weitersuchen",
// "&Ersetzen", "&Alle ersetzen"), independent of any window: where the next
// search starts, the block it is confined to, and the replacement count.
#pragma once

#include "editor/TextBuffer.h"
#include "editor/TextPos.h"

#include <cstdint>
#include <string>
#include <string_view>

// Message ids the session asks its target to show.
inline constexpr int IDS_FIND_NOT_FOUND = 8606; // "String "%s" kann nicht gefunden werden!"
inline constexpr int IDS_REPLACE_COUNT = 7024;  // "String %s wurde %d mal ersetzt!"

// Scope values of the dialog's radio buttons.
inline constexpr int REPLACE_SCOPE_NONE = -1;
inline constexpr int REPLACE_SCOPE_SELECTION = 0; // "&Selektion"
inline constexpr int REPLACE_SCOPE_FILE = 1;      // "Gan&zer Datei"

// What the session needs from the edit view it works in.
class CReplaceTarget {
public:
    virtual ~CReplaceTarget() = default;
    virtual const CTextBuffer& ReplaceBuffer() const = 0;
    // Selects length bytes at pos (caret and anchor behind them) and scrolls
    // them into view.
    virtual void SelectFound(TextPos pos, int length) = 0;
    // Replaces the selection by text; false when there is no selection or the
    // text cannot be changed.
    virtual bool ReplaceSelection(std::string_view text) = 0;
    // Message box with an OK button: IDS_FIND_NOT_FOUND with the search text,
    // or IDS_REPLACE_COUNT with the search text and the count.
    virtual void ShowMessage(int id, const std::string& searchText, int count) = 0;
    // Tells the user that the replacement holds cp, which the document's
    // encoding cannot hold; nothing was replaced.
    virtual void RefuseCharacter(char32_t cp) = 0;
};

class CReplaceSession {
public:
    explicit CReplaceSession(CReplaceTarget& target) : m_target(target) {}

    // Opening with the ordered selection: scope "&Selektion", the block is
    // the selection and the first search starts at its beginning.
    void OpenWithSelection(TextPos begin, TextPos end);
    // Opening without a selection: scope "Gan&zer Datei" from the caret.
    void OpenAtCaret(TextPos caret);

    // The dialog's controls, taken before each button's work: UTF-8 text,
    // searched for and inserted in the document's encoding.
    void SetOptions(std::string_view searchText, std::string_view replaceText, bool matchCase,
                    bool wholeWords, int scope);

    // "&Weitersuchen": the next match (one overlapping the current one
    // included), or the message and a restart at the start position.
    bool FindNext();
    // "&Ersetzen": replaces the selected match and selects the next one; with
    // no match selected it only finds one. Does nothing for an empty search
    // text. The result is whether a match is selected afterwards.
    bool Replace();
    // "&Alle ersetzen": replaces every match from the current one on and
    // reports the count. Returns the number of replacements.
    int ReplaceAll();

    bool Found() const { return m_found; }
    TextPos FoundPosition() const { return m_foundPos; }
    TextPos StartPosition() const { return m_startPos; }
    TextPos BlockBegin() const { return m_blockBegin; }
    TextPos BlockEnd() const { return m_blockEnd; }
    bool SelectionAllowed() const { return m_selectionAllowed; }
    int Count() const { return m_count; }
    int Scope() const { return m_scope; }

private:
    bool Highlight();
    bool InSelectionScope() const;
    // Replaces the selected match and moves the block and the search on.
    bool ReplaceFound();
    // The replacement in the document's encoding; false, after the target
    // refused the character, when the encoding cannot hold it.
    bool DocumentReplaceText(std::string& bytes) const;

    CReplaceTarget& m_target;
    bool m_found = false;
    TextPos m_foundPos;
    int m_foundLength = 0; // bytes of the selected match
    TextPos m_startPos;
    TextPos m_blockBegin;
    TextPos m_blockEnd;
    bool m_selectionAllowed = false;
    int m_count = 0;
    bool m_matchCase = false;
    bool m_wholeWords = false;
    std::string m_searchText;
    std::string m_replaceText;
    int m_scope = REPLACE_SCOPE_NONE;
};
