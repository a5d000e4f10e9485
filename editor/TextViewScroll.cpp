// CTextView: scrolling, the scroll bars and keeping the panes of a splitter
// in step.
#include "editor/TextView.h"

#include <wx/splitter.h>

#include <algorithm>
#include <cstdlib>

void CTextView::ScrollPixels(int dx, int dy, const wxRect& area)
{
    const wxSize client = GetClientSize();
    if (m_canvas.Width() != client.x || m_canvas.Height() != client.y) {
        Refresh(false);
        return;
    }
    // Where the area's pixels land, inside the area.
    wxRect dst = wxRect(area.x + dx, area.y + dy, area.width, area.height).Intersect(area);
    // Parts still waiting to be drawn move with the pixels.
    if (!m_dirty.IsEmpty()) {
        wxRegion moved(m_dirty);
        moved.Intersect(area);
        if (!moved.IsEmpty()) {
            moved.Offset(dx, dy);
            moved.Intersect(dst);
        }
        wxRegion rest(m_dirty);
        rest.Subtract(area);
        m_dirty = rest;
        if (!moved.IsEmpty())
            m_dirty.Union(moved);
    }
    m_canvas.Scroll(area, dx, dy);
    wxRegion uncovered(area);
    if (!dst.IsEmpty())
        uncovered.Subtract(dst);
    if (!uncovered.IsEmpty())
        m_dirty.Union(uncovered);
    if (!DeferScreen(nullptr))
        wxWindow::Refresh(false);
}

void CTextView::ScrollToTopLine(int line, bool track)
{
    if (line == m_topLine)
        return;
    EnsureMetrics();
    int dy = (m_topLine - line) * m_lineHeight;
    m_topLine = line;
    // The scroll bar first, so that its repaint joins the text's in one.
    if (track && GetScrollPos(wxVERTICAL) != m_topLine)
        SetScrollPos(wxVERTICAL, m_topLine);
    if (GetHandle()) {
        const wxSize client = GetClientSize();
        if (std::abs(dy) < client.y)
            ScrollPixels(0, dy, wxRect(client));
        else
            Refresh(false);
        // Kept back for a scope's end, the pixels go out then.
        if (!m_presentQueued)
            Update();
    }
}

void CTextView::ScrollToColumn(int column, bool track)
{
    if (column == m_firstColumn)
        return;
    EnsureMetrics();
    int dx = (m_firstColumn - column) * m_charWidth;
    m_firstColumn = column;
    if (track && GetScrollPos(wxHORIZONTAL) != m_firstColumn)
        SetScrollPos(wxHORIZONTAL, m_firstColumn);
    if (GetHandle()) {
        wxSize client = GetClientSize();
        int margin = MarginWidth();
        if (std::abs(dx) < client.x - margin)
            ScrollPixels(dx, 0, wxRect(margin, 0, client.x - margin, client.y));
        else
            Refresh(false);
        // Kept back for a scope's end, the pixels go out then.
        if (!m_presentQueued)
            Update();
    }
}

void CTextView::ScrollVert(int newTop)
{
    newTop = std::clamp(newTop, 0, LineCount() - 1);
    if (newTop == m_topLine)
        return;
    ScrollToTopLine(newTop, true);
    SyncSiblings(false);
    RefreshCaret();
}

void CTextView::ScrollHorz(int newColumn)
{
    newColumn = std::clamp(newColumn, 0, std::max(0, MaxDisplayLength() - 1));
    if (newColumn == m_firstColumn)
        return;
    ScrollToColumn(newColumn, true);
    SyncSiblings(true);
    RefreshCaret();
}

void CTextView::RecalcVertScrollBar()
{
    if (!GetHandle())
        return;
    int lines = GetScreenLines();
    int count = LineCount();
    if (lines >= count && m_topLine > 0) {
        m_topLine = 0;
        Refresh();
        RefreshCaret();
    }
    UpdateScrollbar(wxVERTICAL, m_topLine, lines, count);
}

void CTextView::RecalcHorzScrollBar()
{
    if (!GetHandle() || m_suppressHorzScroll)
        return;
    int cols = GetScreenColumns();
    int maxLen = MaxDisplayLength();
    if (cols >= maxLen && m_firstColumn > 0) {
        m_firstColumn = 0;
        Refresh();
        RefreshCaret();
    }
    UpdateScrollbar(wxHORIZONTAL, m_firstColumn, cols, maxLen);
}

void CTextView::UpdateScrollbar(int orient, int pos, int thumb, int range)
{
    if (GetScrollPos(orient) == pos && GetScrollThumb(orient) == thumb && GetScrollRange(orient) == range)
        return;
    SetScrollbar(orient, pos, thumb, range);
}

void CTextView::ScrollIntoView(TextPos pos)
{
    int lines = std::max(1, GetScreenLines());
    int top = m_topLine;
    if (pos.y >= top + lines)
        top = pos.y - lines + 1;
    if (pos.y < top)
        top = pos.y;
    top = std::clamp(top, 0, LineCount() - 1);
    if (top != m_topLine) {
        ScrollToTopLine(top, true);
        SyncSiblings(false);
    }
    int c = DisplayColumn(pos);
    int cols = GetScreenColumns();
    int first = m_firstColumn;
    if (c > first + cols)
        first = c - cols;
    if (c < first)
        first = c;
    first = std::clamp(first, 0, std::max(0, MaxDisplayLength() - 1));
    if (first != m_firstColumn) {
        ScrollToColumn(first, true);
        SyncSiblings(true);
        RefreshCaret();
    }
}

void CTextView::OnScrollWin(wxScrollWinEvent& event)
{
    const bool vertical = event.GetOrientation() == wxVERTICAL;
    const wxEventType type = event.GetEventType();
    const int pos = vertical ? m_topLine : m_firstColumn;
    const int page = vertical ? GetScreenLines() : GetScreenColumns();
    const int total = vertical ? LineCount() : MaxDisplayLength();
    int target = pos;
    if (type == wxEVT_SCROLLWIN_LINEUP)
        target = pos - 1;
    else if (type == wxEVT_SCROLLWIN_LINEDOWN)
        target = pos + 1;
    else if (type == wxEVT_SCROLLWIN_PAGEUP)
        target = pos - std::max(1, page - 1);
    else if (type == wxEVT_SCROLLWIN_PAGEDOWN)
        target = pos + std::max(1, page - 1);
    else if (type == wxEVT_SCROLLWIN_TOP)
        target = 0;
    else if (type == wxEVT_SCROLLWIN_BOTTOM)
        target = total - page + 1;
    else if (type == wxEVT_SCROLLWIN_THUMBTRACK || type == wxEVT_SCROLLWIN_THUMBRELEASE)
        target = event.GetPosition();
    if (vertical)
        ScrollVert(target);
    else
        ScrollHorz(target);
}

void CTextView::OnMouseWheel(wxMouseEvent& event)
{
    if (event.ControlDown() || event.ShiftDown())
        return;
    const int linesPerNotch = 3;
    const int delta = event.GetWheelDelta() > 0 ? event.GetWheelDelta() : 120;
    int steps = linesPerNotch * event.GetWheelRotation() / delta;
    if (steps == 0)
        return;
    if (event.GetWheelAxis() == wxMOUSE_WHEEL_HORIZONTAL)
        ScrollHorz(m_firstColumn + steps);
    else
        ScrollVert(m_topLine - steps);
}

void CTextView::SyncSiblings(bool horizontal)
{
    auto* splitter = dynamic_cast<wxSplitterWindow*>(GetParent());
    if (!splitter || !splitter->IsSplit())
        return;
    // Side by side the panes share a row (vertical scrolling); one above the
    // other they share a column (horizontal scrolling).
    bool sameRow = splitter->GetSplitMode() == wxSPLIT_VERTICAL;
    if (horizontal == sameRow)
        return;
    wxWindow* other = splitter->GetWindow1() == this ? splitter->GetWindow2() : splitter->GetWindow1();
    if (auto* pane = dynamic_cast<CTextView*>(other))
        pane->SiblingScrolled(this, horizontal);
}

void CTextView::SiblingScrolled(CTextView* pane, bool horizontal)
{
    if (horizontal)
        ScrollToColumn(std::clamp(pane->GetFirstColumn(), 0, std::max(0, MaxDisplayLength() - 1)), true);
    else
        ScrollToTopLine(std::clamp(pane->GetTopLine(), 0, LineCount() - 1), true);
    RefreshCaret();
}

void CTextView::OnSize(wxSizeEvent& event)
{
    m_screenLines = -1;
    m_screenColumns = -1;
    RecalcVertScrollBar();
    RecalcHorzScrollBar();
    RefreshCaret();
    event.Skip();
}

void CTextView::TakeScrollFromSiblings()
{
    // A new pane starts where its neighbour is: the top line of the pane in
    // its row, the first column of the pane in its column.
    auto* splitter = dynamic_cast<wxSplitterWindow*>(GetParent());
    if (!splitter || !splitter->IsSplit())
        return;
    wxWindow* other = splitter->GetWindow1() == this ? splitter->GetWindow2() : splitter->GetWindow1();
    auto* pane = dynamic_cast<CTextView*>(other);
    if (!pane || pane->GetBuffer() != m_buffer)
        return;
    if (splitter->GetSplitMode() == wxSPLIT_VERTICAL)
        ScrollToTopLine(std::clamp(pane->GetTopLine(), 0, LineCount() - 1), true);
    else
        ScrollToColumn(std::clamp(pane->GetFirstColumn(), 0, std::max(0, MaxDisplayLength() - 1)), true);
    RefreshCaret();
}
