// One read-only output pane of the output bar. Text is UTF-8 held as lines
// (bytes that are no valid UTF-8, such as a file name's, are kept and shown
// as placeholders); writers replace the selection (at the end of the text
// unless the user clicked elsewhere), so output appends. Only the visible
// lines are painted and scroll bars are refreshed at most once per event
// loop turn, so megabytes of small writes stay cheap.
#pragma once

#include <wx/font.h>
#include <wx/window.h>

#include <string>
#include <string_view>
#include <vector>

class COutputPane : public wxWindow {
public:
    struct Pos {
        int line = 0;
        int index = 0;
        bool operator==(const Pos&) const = default;
        bool operator<(const Pos& o) const { return line < o.line || (line == o.line && index < o.index); }
    };

    COutputPane(wxWindow* parent, wxWindowID id);

    // Replaces the selection with bytes (CR LF, LF or CR break lines); no undo.
    void ReplaceSel(std::string_view bytes);
    void AppendText(std::string_view bytes); // caret to the end first
    void Clear();

    int GetLineCount() const { return static_cast<int>(m_lines.size()); }
    const std::string& GetLineText(int line) const { return m_lines.at(static_cast<size_t>(line)); }
    std::string GetText() const; // lines joined by CR LF
    size_t GetTextLength() const { return m_bytes; }

    Pos GetCaret() const { return m_caret; }
    Pos GetAnchor() const { return m_anchor; }
    bool HasSelection() const { return !(m_anchor == m_caret); }
    // Whether the selection ends behind the start of the text, empty or not
    // (the caret after output, say).
    bool SelectionEndsPastStart() const { return Pos{} < m_anchor || Pos{} < m_caret; }
    std::string GetSelectedText() const;
    // Selects [from, to) and moves the caret to `to`; positions are clamped.
    void SetSelection(Pos from, Pos to, bool scroll = true);
    void SelectLine(int line);
    void SelectAll();
    // Caret to the end of the text, no selection.
    void MoveToEnd();
    void Copy() const;

    void SetOutputFont(const wxFont& font);
    const wxFont& GetOutputFont() const { return m_font; }

    // The text position under a client point (clamped into the text).
    Pos PositionFromPoint(const wxPoint& pt) const;
    int FirstVisibleLine() const { return m_topLine; }
    void ScrollToLine(int line);
    void EnsureVisible(Pos p);

    // Draws the visible lines as a paint event does (tests draw into a bitmap).
    void Paint(wxDC& dc);

protected:
    // Hooks for the panes of the compiler and the searches.
    virtual void OnLineDoubleClicked(int line) {}
    // The context menu at a client point; the plain pane offers copy and
    // select all.
    virtual void ShowContextMenu(const wxPoint& pt);
    // Whether "&Kopieren" is enabled; the plain pane asks for a selection.
    virtual bool CanCopy() const { return HasSelection(); }

private:
    void InsertAt(Pos& at, std::string_view bytes);
    void DeleteRange(Pos from, Pos to);
    // Records the display width of a line just changed.
    void Measured(int line, int columns);
    Pos Clamp(Pos p) const;
    int DisplayColumn(Pos p) const; // of a clamped position
    void ScheduleLayout();
    void UpdateScrollbars();
    int VisibleLines() const;
    void ChangedFrom(int line);

    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnScroll(wxScrollWinEvent& event);
    void OnMouseWheel(wxMouseEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftDClick(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnFocus(wxFocusEvent& event);
    // Draws cells (code points, one or two cells each, from column 0 of x0).
    void DrawCells(wxDC& dc, const std::u32string& cells, int x0, int y);

    std::vector<std::string> m_lines{std::string()};
    size_t m_bytes = 0;
    Pos m_caret;
    Pos m_anchor;
    int m_topLine = 0;
    int m_leftColumn = 0;
    int m_maxColumns = 0; // widest line seen, in display columns
    // The line measured last, while it keeps that many bytes.
    struct MeasuredLine {
        int line = -1;
        size_t bytes = 0;
        int columns = 0;
    } m_measured;
    int m_charWidth = 8;
    int m_lineHeight = 16;
    int m_tabSize = 8;
    bool m_layoutPending = false;
    bool m_dragging = false;
    wxFont m_font;
};
