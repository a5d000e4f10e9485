// The text view turned into an editor: typing and overwrite mode, automatic
// indentation, deletion, Tab and block indentation, cut and paste, case and
// tab conversions, comments, undo and redo, and drag and drop as a target.
// Every change goes through the buffer's recorded operations.
#pragma once

#include "editor/TextView.h"

#include <functional>
#include <string_view>

class CSettings;

class CTextEditView : public CTextView {
public:
    static constexpr int kDragScrollTimerId = 1003;
    static constexpr int kDragScrollMargin = 5;

    CTextEditView(wxWindow* parent, wxWindowID id = wxID_ANY, const wxPoint& pos = wxDefaultPosition,
                  const wxSize& size = wxDefaultSize);
    ~CTextEditView() override;

    // True when a buffer is attached and it is not read-only.
    virtual bool IsEditable() const;

    void ResetViewState() override;
    int DragEffects() override { return wxDrag_AllowMove; }
    void AfterDragDone(wxDragResult effect) override;
    void AfterEditGroup(int action, const std::string& text) override;
    bool HandleCommand(int command) override;
    bool QueryCommand(int command, CCommandState& state) override;

    // Applies every editor setting, in the order the document's view uses at
    // its creation: auto indent, tab width, colours and styles, font, white
    // space, tabs as spaces, line numbers, indent after bracket, column guide
    // and brace matching. Also the entry point after the options dialog.
    void ApplySettings(const CSettings& settings);

    bool IsOverwrite() const { return m_overwrite; }
    void SetOverwrite(bool on) { m_overwrite = on; }
    bool GetAutoIndent() const { return m_autoIndent; }
    void SetAutoIndent(bool on) { m_autoIndent = on; }
    bool GetIndentAfterBracket() const { return m_indentAfterBracket; }
    void SetIndentAfterBracket(bool on) { m_indentAfterBracket = on; }

    // The selection the replace dialog works in; moved with every change.
    void SaveSelection(TextPos start, TextPos end);
    void ForgetSavedSelection() { m_selectionSaved = false; }
    bool GetSavedSelection(TextPos& start, TextPos& end) const;

    // --- Editing operations (each one undo step).
    // A typed character (13 is Enter), put in in the document's encoding;
    // one the encoding cannot hold is refused.
    void TypeChar(char32_t code);
    void DeleteSelection();
    void DeleteForward();
    void Backspace();
    void DeleteWordBack();
    void Tab();
    void Untab();
    void Paste();
    void Cut();
    void ConvertSelectionCase(int command);
    void ConvertTabsSpaces(bool toSpaces);
    void CommentSelection();
    void UncommentSelection();
    bool CanUncommentSelection() const;
    void InsertUserName();
    void GoToLastChange();
    void Undo();
    void Redo();
    // Inserts text at the caret with action as one undo step; the caret stays
    // in front of it (user name, date and time, text blocks).
    void InsertAtCaret(const std::string& text, int action);
    // The logged-on user's name (UTF-8, at most 256 bytes).
    static std::string UserName();
    // Inserts a text block's content (its settings bytes, Windows-1252) at
    // the caret as one undo step "Einfügen": the first caret marker (the
    // byte 0xA7) places the caret, every marker goes, and with automatic
    // indentation each further line starts with the caret line's white
    // space. The selection is not replaced.
    void InsertTextBlock(const std::string& content);
    // Entry index of "Datum / Uhrzeit" as formatted when the list was last
    // built (built now when it never was); the caret stays in front.
    void InsertDateTime(int index);
    // The content of text block index (0..11), or null when there is none
    // to insert.
    virtual const std::string* TextBlockContent(int index) { return nullptr; }

    // Settings text (Windows-1252) in the document's bytes; UTF-8 text (the
    // locale, the user database, typed characters) goes through
    // CTextView::DocumentBytesFromUtf8.
    std::string DocumentBytesFrom1252(std::string_view bytes) const;

    // --- Drop target side (called by the registered drop target).
    wxDragResult DragEnter(const wxPoint& point, bool offersText, bool copy);
    wxDragResult DragOver(const wxPoint& point, bool offersText, bool copy);
    void DragLeave();
    // Inserts dropped text at point; false when the drop is refused.
    bool DropText(const wxPoint& point, const std::string& text);
    void ShowDropIndicator(const wxPoint& point);
    void HideDropIndicator();
    bool IsDropIndicatorShown() const { return m_dropIndicatorShown; }

protected:
    void OnCharTyped(char32_t code) override;
    void AdjustPositions(const TextChange& change) override;

private:
    using Commands = CCommandTable<CTextEditView>;
    static const Commands& CommandTable();

    // Deletes s..e as one undo step, the caret at s.
    void DeleteAsOneStep(TextPos s, TextPos e, int action);
    class CDropTarget;

    void OnDragScrollTimer(wxTimerEvent& event);
    bool DragScroll(const wxPoint& point);
    // Replaces the ordered selection with a transformed copy of its text,
    // line by line where a line holds a CR byte (which an insertion would
    // turn into a line break).
    bool ReplaceSelectionText(const std::function<std::string(const std::string&)>& transform,
                              int action, TextPos& start, TextPos& end);
    bool CanMergeTyping() const;

    bool m_overwrite = false;
    bool m_autoIndent = true;
    bool m_indentAfterBracket = true;
    bool m_dropIndicatorShown = false;
    TextPos m_savedCaret;
    bool m_selectionSaved = false;
    TextPos m_savedSelStart;
    TextPos m_savedSelEnd;
    wxTimer m_dragScrollTimer;
    wxPoint m_dragPoint;
    // The caret and history after the last typed character: the next one
    // joins its undo step only when nothing happened in between.
    TextPos m_typedEnd = TextPos::None();
    UndoMark m_typedMark;
};
