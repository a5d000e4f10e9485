// The window that shows the text of one CTextBuffer: fixed-pitch layout with
// tab expansion, caret, scrolling, keyboard and mouse navigation, copy, the
// drag source and bookmarks. Caret and selection live in CSelectionModel,
// painting in CTextRenderer; the view turns events into their calls. It
// never changes the text; CTextEditView adds editing.
#pragma once

#include "editor/BraceMatcher.h"
#include "editor/Bookmarks.h"
#include "editor/DisplayLengths.h"
#include "editor/GlyphCache.h"
#include "editor/JavaColoring.h"
#include "editor/LineStateCache.h"
#include "editor/PixelCanvas.h"
#include "editor/SelectionModel.h"
#include "editor/TextBuffer.h"
#include "editor/TextColors.h"
#include "editor/TextRenderer.h"
#include "resources/CommandTable.h"
#include "settings/LogFont.h"
#include "settings/Settings.h"

#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/dnd.h>
#include <wx/font.h>
#include <wx/timer.h>
#include <wx/window.h>

#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

class wxClipboardEvent;
class wxDC;
class CXShmPresenter;

class CTextView : public wxWindow, public CTextBufferListener, protected ITextPaintSource {
public:
    static constexpr int kDragTimerId = 1001;
    static constexpr int kDragTimerPeriodMs = 100;
    static constexpr int kCaretTimerId = 1002;
    static constexpr int kSelectionMarginWidth = 20;
    static constexpr int kIconSize = CTextRenderer::kIconSize;
    static constexpr COLORREF kDirectiveColor = CTextColors::kDirectiveColor;
    static constexpr COLORREF kColumnGuideColor = CTextColors::kColumnGuideColor;
    static constexpr COLORREF kMarginEdgeColor = CTextRenderer::kMarginEdgeColor;

    CTextView(wxWindow* parent, wxWindowID id = wxID_ANY, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxDefaultSize);
    ~CTextView() override;

    // --- The buffer.
    // Detaches from the current buffer, attaches to buffer (FindBuffer() when
    // null), resets the view state and sets up the scroll bars.
    void AttachBuffer(CTextBuffer* buffer = nullptr);
    void DetachBuffer();
    CTextBuffer* GetBuffer() const { return m_buffer; }
    virtual CTextBuffer* FindBuffer() { return nullptr; }

    // Caret, selection and scroll position to the start; caches dropped.
    virtual void ResetViewState();

    // --- Text access; without a buffer one empty line.
    int LineCount() const override;
    int LineLength(int line) const override;
    const char* LineChars(int line) const override;
    // The buffer's encoding (Windows-1252 without a buffer: bytes as they are).
    TextEncoding Encoding() const override;
    void KnownLengths(int first, int count, int tabWidth, int32_t* out) const override;
    uint32_t LineFlags(int line) const override;
    // Display columns of the whole line (cached).
    int DisplayLength(int line) override;
    int MaxDisplayLength();
    virtual void CopyRange(TextPos start, TextPos end, std::string& text) const;

    // --- Clipboard and drag data: document bytes inside, Unicode outside,
    // converted here in the document's encoding.
    enum class EClipboardText { Missing, Taken, Refused };
    virtual bool ClipboardHasText();
    virtual void PutTextOnClipboard(const std::string& text);
    // Refused: the text holds a character the document's encoding cannot
    // hold (the user was told, nothing is taken).
    virtual EClipboardText TakeTextFromClipboard(std::string& text);
    // Document bytes as the text other programs get.
    wxString OutsideText(const std::string& bytes) const;
    // Text from other programs as document bytes; false, after
    // RefuseCharacter, when a character of it has no place in the encoding.
    bool DocumentText(const wxString& text, std::string& bytes);
    // UTF-8 text in the document's bytes; empty, after RefuseCharacter,
    // when a character of it has no place in the encoding.
    std::string DocumentBytesFromUtf8(std::string_view utf8);
    // Tells the user that cp was not put into the text; the text view rings.
    virtual void RefuseCharacter(char32_t cp);
    virtual wxDataObject* MakeDragData();
    // wxDrag_CopyOnly or wxDrag_AllowMove.
    virtual int DragEffects() { return wxDrag_CopyOnly; }
    virtual void AfterDragDone(wxDragResult effect) {}

    // --- Colours and styles of the colour classes.
    COLORREF TextColor(int colorClass) const override;
    COLORREF BackColor(int colorClass) const override;
    bool LineColorOverride(int line, COLORREF& back, COLORREF& text, bool& drawWhitespace) override
    {
        return false;
    }
    bool IsClassItalic(int colorClass) const override;
    bool IsClassBold(int colorClass) const override;
    virtual void SetClassTextColor(int colorClass, COLORREF color);
    virtual void SetClassBackColor(int colorClass, COLORREF color);
    virtual void SetClassBold(int colorClass, bool on);
    virtual void SetClassUnderline(int colorClass, bool on);
    virtual void SetClassItalic(int colorClass, bool on);
    // Bit 1 bold, bit 2 italic, bit 4 underline (stored, never painted).
    void SetClassStyle(int colorClass, int styleBits);
    int ClassStyle(int colorClass) const;

    // --- Painting.
    virtual void PaintLine(wxDC& dc, const wxRect& rect, int line);
    virtual void PaintMargin(wxDC& dc, const wxRect& rect, int line);
    // The line-classification hook: colour runs of chars[0, length) (a line,
    // or when painting part of a very long line, a prefix of it), starting in
    // state; returns the state after them. runs may be null (state only).
    // The base view colours nothing.
    LineState ClassifyLine(LineState state, const char* chars, int length, ColorBlock* runs, int runCapacity,
                           int& runCount) override;
    // State at the end of line (cached; unknown states are computed from the
    // nearest known line before it).
    LineState GetLineState(int line) override;

    // --- Geometry.
    int DisplayColumn(TextPos pos) const;
    // The index after (before) the character at (before) pos on its line:
    // whole characters in a UTF-8 line.
    int NextCharIndex(TextPos pos) const;
    int PrevCharIndex(TextPos pos) const;
    int ColumnToChar(int line, int column) const;
    TextPos PointToText(const wxPoint& point);
    wxPoint TextToPoint(TextPos pos);
    int MarginWidth();
    int GetLineHeight();
    // The font's own line, without the rows added for ink beyond it.
    int GetFontHeight();
    int GetCharWidth();
    // The font the text is shown in (a monospace family when the chosen face
    // is rendered proportionally); printing uses it too.
    wxFont TextFont() { return GetStyleFont(false, false); }
    int GetScreenLines();
    int GetScreenColumns();
    int GetTopLine() const { return m_topLine; }
    int GetFirstColumn() const { return m_firstColumn; }
    void ScrollToTopLine(int line, bool track = true);
    void ScrollToColumn(int column, bool track = true);
    void ScrollIntoView(TextPos pos);
    void RecalcVertScrollBar();
    void RecalcHorzScrollBar();
    // Sets a scroll bar only when one of its figures differs: GTK answers
    // every setting with a new layout and a repaint of the whole view.
    void UpdateScrollbar(int orient, int pos, int thumb, int range);

    // --- Caret and selection.
    void MoveCaretTo(TextPos pos);
    void SetSelectionRange(TextPos start, TextPos end);
    void SetAnchorPos(TextPos pos) { m_sel.SetAnchor(pos); }
    TextPos GetCaretPos() const { return m_sel.Caret(); }
    // The selection as set (start may lie after end).
    void GetSelectionRange(TextPos& start, TextPos& end) const;
    // The selection in text order.
    void GetOrderedSelection(TextPos& start, TextPos& end) const { m_sel.GetOrdered(start, end); }
    bool IsSelection() const { return m_sel.IsSelection(); }
    bool IsInsideSelection(TextPos pos) const { return m_sel.IsInside(pos); }
    void SelectAllText();
    void RefreshCaret();
    bool IsCaretShown() const { return m_caretShown; }
    wxPoint GetCaretPixel() const { return m_caretPixel; }
    // "Caret to p": anchor, empty selection, caret and scrolling.
    void PutCaret(TextPos pos);

    // --- Brace matching.
    void UpdateBraceMatch();
    bool FindMatchingBrace(char brace, int direction, TextPos from);
    TextPos GetBraceMatchPos() const { return m_braces.MatchPos(); }

    // --- Settings entry points.
    void SetTabWidth(int width);
    int GetTabWidth() const { return m_lengths.TabWidth(); }
    void SetTextFont(const CLogFont& font);
    void SetShowWhitespace(bool on);
    bool GetShowWhitespace() const { return m_showWhitespace; }
    void SetLineNumbers(bool on);
    bool GetLineNumbers() const { return m_lineNumbers; }
    void SetSelectionMargin(bool on);
    void SetColumnGuide(int position, bool draw);
    void SetMatchBraces(int option);
    void SetInsertTabsAsSpaces(bool on) { m_insertTabsAsSpaces = on; }
    bool GetInsertTabsAsSpaces() const { return m_insertTabsAsSpaces; }
    void SetDragDropDisabled(bool on) { m_dragDropDisabled = on; }
    bool IsDragDropDisabled() const { return m_dragDropDisabled; }
    bool IsFocused() const { return m_focused; }

    // --- Commands, by Kib command number (resources/CommandIds.h).
    // Runs the command; false when this view does not handle it.
    virtual bool HandleCommand(int command);
    // The menu state of a command; false when this view does not handle it.
    virtual bool QueryCommand(int command, CCommandState& state);
    // The command a key gives in the editor key table, or 0.
    static int KeyCommand(const wxKeyEvent& event);
    // Offers a key to the key table; true when it ran a command.
    bool ProcessEditorKey(const wxKeyEvent& event);

    // --- Bookmarks.
    void ToggleBookmark(int n);
    void GoToBookmark(int n);
    void ClearNumberedBookmarks();
    void ToggleMark();
    void GoToNextMark();
    void GoToPreviousMark();
    void ClearMarks();
    bool HasAnyMark() const { return m_bookmarks.AnyMark(); }

    // --- Splitter panes.
    virtual void SyncSiblings(bool horizontal);
    virtual void SiblingScrolled(CTextView* pane, bool horizontal);
    // Takes the scroll position of the neighbouring pane (done on attaching).
    void TakeScrollFromSiblings();

    // CTextBufferListener
    void OnBufferChange(CTextBufferListener* source, const TextChange* change, uint32_t flags,
                        int line) override;

    // How far into a line painting classifies from the line's start; past
    // it a window before the visible part is classified (8192; tests change
    // it to compare both ways).
    static void SetLongLineWindow(int chars) { CTextRenderer::SetLongLineWindow(chars); }

    // Memory held by the per-line caches (line states, display lengths).
    size_t CacheMemory() const;
    // Area whose lines the last paint laid out and drew (for tests and
    // measurements); the rest of the window was copied from the view's pixels.
    wxRect LastPaintBox() const { return m_lastPaintBox; }
    long PaintCount() const { return m_paintCount; }
    // Whether the pixels live in memory the X server reads them from.
    bool SharesPixelsWithServer() const { return m_canvas.IsShared(); }
    // The union of the areas drawn since the last reset.
    wxRect PaintedArea() const { return m_paintedArea; }
    void ResetPaintedArea() { m_paintedArea = wxRect(); }

    // Marks the area for drawing anew (as wxWindow::Refresh does).
    void Refresh(bool eraseBackground = true, const wxRect* rect = nullptr) override;

    // While one is open, the views' changed areas are drawn straight onto
    // their windows when the outermost closes, instead of waiting for the
    // toolkit's next frame, which draws the whole window under them first:
    // a key's result shows as soon as its handler is done.
    class PresentScope {
    public:
        PresentScope();
        ~PresentScope();
        PresentScope(const PresentScope&) = delete;
        PresentScope& operator=(const PresentScope&) = delete;
    };
    // Draws what open scopes have kept back, now.
    static void PresentPending();

protected:
    // Typed characters; the text view ignores them.
    virtual void OnCharTyped(char32_t code) {}
    // The system drag loop; tests replace it.
    virtual wxDragResult RunDragLoop(wxDataObject& data, int effects);
    // Positions a drag or drop indicator caret; hidden when pos is invalid.
    void SetIndicatorCaret(TextPos pos, bool grey);
    bool IsTextBeingDragged() const { return m_textBeingDragged; }
    void GetDraggedRange(TextPos& start, TextPos& end) const
    {
        start = m_draggedStart;
        end = m_draggedEnd;
    }

    // Where the undo history stood when an undo group was opened, so that
    // closing it can tell whether anything was recorded.
    struct UndoMark {
        int position = 0;
        int count = 0;
        const UndoRecord* last = nullptr;
    };
    UndoMark MarkUndo() const;
    bool ChangedSince(const UndoMark& mark) const;
    UndoMark OpenEditGroup(bool mergeWithPrevious = false);
    // Closes with this view as source (running AfterEditGroup) when the
    // group recorded something, without a source otherwise.
    void CloseEditGroup(const UndoMark& mark);

    wxFont& GetStyleFont(bool bold, bool italic);
    void InvalidateLines(int first, int last); // last -1: to the bottom
    void InvalidateSelectionLines();
    // Moves every remembered position across a change.
    virtual void AdjustPositions(const TextChange& change);
    void MoveFinished(bool extend, bool keepIdeal);
    // The selection onto the clipboard (nothing without one).
    void Copy();

    bool m_caretHidden = false;
    bool m_suppressHorzScroll = false;

private:
    using Commands = CCommandTable<CTextView>;
    static const Commands& CommandTable();

    void SetClassStyleBit(int colorClass, int bit, bool on);

    // ITextPaintSource
    void StoreLineState(int line, LineState state) override;
    bool BraceMatchOnLine(int line, int& column, char& partner) const override;

    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnChar(wxKeyEvent& event);
    void OnSetFocus(wxFocusEvent& event);
    void OnClipboardChanged(wxClipboardEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void OnScrollWin(wxScrollWinEvent& event);
    void OnMouseWheel(wxMouseEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnLeftDClick(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnDragTimer(wxTimerEvent& event);
    void OnCaretTimer(wxTimerEvent& event);
    void OnMenuCommand(wxCommandEvent& event);
    void OnUpdateCommandUI(wxUpdateUIEvent& event);

    void EnsureMetrics();
    void InvalidateMetrics();
    void ExtendMouseSelection(const wxPoint& point);
    // The text position a click at point means: the nearer character edge.
    TextPos HitText(const wxPoint& point);
    void StartMouseDrag();
    void EndMouseDrag();
    void BeginDragAndDrop();
    void SetCursorFor(const wxPoint& point);
    void PaintCaret(wxDC& dc);
    // The caret bar (or the drop indicator) as drawn over the pixels; false,
    // with rect and color untouched, when none shows.
    bool CaretToDraw(wxRect& rect, COLORREF& color);
    void EnsureGlyphFonts();
    TextPaintFrame PaintFrame();
    // One line's margin or text drawn onto dc at rect, outside the view's
    // pixels.
    void PaintAlone(wxDC& dc, const wxRect& rect, int line, bool margin);
    // Moves the view's pixels inside area by (dx, dy); only the uncovered
    // part is drawn anew.
    void ScrollPixels(int dx, int dy, const wxRect& area);
    // Shows the view's pixels again without drawing any line (caret moves).
    void RefreshScreen(const wxRect& rect);
    // Draws the dirty parts into the view's pixels.
    void RenderDirty();
    // Keeps the area (nullptr: all) for a scope's end; false when it must
    // go to the toolkit.
    bool DeferScreen(const wxRect* rect);
    bool CanPresentAtOnce() const;
    void Present();
    void CancelPresent();
    wxRect IndicatorRect();
    void ScrollVert(int newTop);
    void ScrollHorz(int newColumn);
    wxRect CaretRect() const;

    // Commands.
    void MovePageUp(bool extend);
    void MovePageDown(bool extend);
    void ScrollLineUp();
    void ScrollLineDown();
    void GoToLineStart(int line);

    CSelectionModel m_sel;
    CBookmarks m_bookmarks;
    CTextColors m_colors;

    // Layout.
    bool m_lineNumbers = true;
    int m_lineHeight = -1;
    int m_glyphTop = 0; // where the font's line starts inside a line's slot
    int m_fontHeight = 1;
    int m_charWidth = -1;
    bool m_showWhitespace = false;
    bool m_selectionMargin = true;
    int m_screenLines = -1;
    int m_screenColumns = -1;
    bool m_focused = false;
    CLogFont m_logFont;
    std::array<wxFont, 4> m_fonts;
    bool m_insertTabsAsSpaces = false;

    // Per-line caches: classifier states and display lengths.
    CLineStateCache m_states;
    CDisplayLengths m_lengths{*this};

    // Mouse.
    bool m_dragging = false;
    bool m_wordMode = false;
    bool m_lineMode = false;
    wxTimer m_dragTimer;
    bool m_dragPending = false;
    bool m_textBeingDragged = false;
    TextPos m_draggedStart;
    TextPos m_draggedEnd;

    CTextBuffer* m_buffer = nullptr;
    int m_topLine = 0;
    int m_firstColumn = 0;
    bool m_inactiveSelectionShown = false;
    bool m_dragDropDisabled = false;

    CBraceMatcher m_braces;

    // Column guide.
    int m_guidePosition = 80;
    bool m_drawGuide = false;

    int m_digitWidth = -1;

    // Caret drawn by the view itself (one line high, 2 pixels wide).
    bool m_caretShown = false;
    bool m_caretBlinkOn = true;
    wxPoint m_caretPixel;
    wxTimer m_caretTimer;
    TextPos m_indicatorPos = TextPos::None();
    bool m_indicatorGrey = false;

    int m_lastMarginWidth = -1;
    // Whether the clipboard holds text, as last answered; asked again in
    // the background when older than kClipboardAge.
    bool m_clipHasText = false;
    bool m_clipKnown = false;
    bool m_clipQueryPending = false;
    std::chrono::steady_clock::time_point m_clipCheckedAt;
    wxRect m_lastPaintBox;
    long m_paintCount = 0;
    wxRect m_paintedArea;
    // Hands the pixels to the X server where it can; it outlives the canvas,
    // whose memory it may hold.
    std::unique_ptr<CXShmPresenter> m_presenter;
    // The window's pixels, kept by the view so that scrolling can move them
    // (GTK 3 redraws a scrolled child window completely), the area of them
    // that must be drawn anew, and what draws them.
    CPixelCanvas m_canvas;
    wxRegion m_dirty;
    // The window's area kept back for a present scope's end.
    wxRegion m_screen;
    bool m_presentQueued = false;
    CTextRenderer m_renderer;
};
