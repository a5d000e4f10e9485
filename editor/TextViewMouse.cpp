// CTextView: the mouse (click, word and line selection, extending while the
// button is held, scrolling at the edges) and the drag source.
#include "editor/TextView.h"


#include <wx/utils.h>

#include <algorithm>
#include <memory>

TextPos CTextView::HitText(const wxPoint& point)
{
    EnsureMetrics();
    return PointToText(wxPoint(point.x + m_charWidth / 2, point.y));
}

void CTextView::StartMouseDrag()
{
    if (!HasCapture())
        CaptureMouse();
    m_dragTimer.Start(kDragTimerPeriodMs);
    m_dragging = true;
}

void CTextView::EndMouseDrag()
{
    m_dragTimer.Stop();
    m_dragging = false;
    if (HasCapture())
        ReleaseMouse();
}

void CTextView::OnLeftDown(wxMouseEvent& event)
{
    SetFocus();
    EnsureMetrics();
    const wxPoint point = event.GetPosition();
    const bool shift = event.ShiftDown();
    const bool ctrl = event.ControlDown();
    TextPos start, end;
    if (point.x < MarginWidth()) {
        if (ctrl) {
            SelectAllText();
            return;
        }
        TextPos hit = PointToText(point);
        m_sel.SetCaret(TextPos(0, hit.y));
        if (!shift)
            m_sel.SetAnchor(m_sel.Caret());
        CSelectionModel::LineSelection(*this, m_sel.Anchor().y, hit.y, start, end);
        m_lineMode = true;
        m_wordMode = false;
    } else {
        TextPos hit = HitText(point);
        if (IsInsideSelection(hit) && !m_dragDropDisabled) {
            m_dragPending = true;
            return;
        }
        m_sel.SetCaret(hit);
        if (!shift)
            m_sel.SetAnchor(hit);
        m_lineMode = false;
        m_wordMode = ctrl;
        if (ctrl) {
            CSelectionModel::WordSelection(*this, m_sel.Anchor(), hit, start, end);
        } else {
            start = m_sel.Anchor();
            end = hit;
        }
    }
    const TextPos caret = m_sel.Caret();
    m_sel.SetIdealColumn(DisplayColumn(caret));
    RefreshCaret();
    ScrollIntoView(caret);
    SetSelectionRange(start, end);
    StartMouseDrag();
}

void CTextView::ExtendMouseSelection(const wxPoint& point)
{
    EnsureMetrics();
    const bool onMargin = point.x < MarginWidth();
    TextPos hit = HitText(point);
    TextPos start, end;
    if (m_lineMode) {
        if (onMargin) {
            CSelectionModel::LineSelection(*this, m_sel.Anchor().y, hit.y, start, end);
            m_sel.SetCaret(TextPos(0, hit.y));
            m_sel.SetIdealColumn(0);
            RefreshCaret();
            SetSelectionRange(start, end);
            return;
        }
        m_lineMode = m_wordMode = false;
        SetCursor(wxCursor(wxCURSOR_IBEAM));
    }
    if (m_wordMode) {
        m_sel.ExtendWordSelection(*this, hit, start, end);
    } else {
        m_sel.SetCaret(hit);
        start = m_sel.Anchor();
        end = hit;
    }
    m_sel.SetIdealColumn(DisplayColumn(m_sel.Caret()));
    RefreshCaret();
    SetSelectionRange(start, end);
}

void CTextView::OnMotion(wxMouseEvent& event)
{
    const wxPoint point = event.GetPosition();
    if (m_dragPending && event.LeftIsDown()) {
        BeginDragAndDrop();
        return;
    }
    if (m_dragging)
        ExtendMouseSelection(point);
    else
        SetCursorFor(point);
}

void CTextView::SetCursorFor(const wxPoint& point)
{
    if (point.x < MarginWidth()) {
        SetCursor(wxCursor(wxCURSOR_RIGHT_ARROW));
        return;
    }
    EnsureMetrics();
    TextPos hit = PointToText(point);
    if (IsInsideSelection(hit)) {
        if (!m_dragDropDisabled)
            SetCursor(wxCursor(wxCURSOR_ARROW));
        return;
    }
    SetCursor(wxCursor(wxCURSOR_IBEAM));
}

void CTextView::OnLeftUp(wxMouseEvent& event)
{
    const wxPoint point = event.GetPosition();
    if (m_dragging) {
        ExtendMouseSelection(point);
        EndMouseDrag();
    } else if (m_dragPending) {
        m_dragPending = false;
        TextPos hit = HitText(point);
        m_sel.SetAnchor(hit);
        m_sel.SetCaret(hit);
        SetSelectionRange(hit, hit);
        MoveCaretTo(hit);
    }
}

void CTextView::OnLeftDClick(wxMouseEvent& event)
{
    if (m_dragging)
        return;
    EnsureMetrics();
    const wxPoint point = event.GetPosition();
    if (point.x < MarginWidth())
        return;
    TextPos hit = HitText(point);
    TextPos start, end;
    CSelectionModel::WordSelection(*this, hit, hit, start, end);
    m_dragPending = false;
    m_sel.SetAnchor(start);
    m_sel.SetCaret(end);
    m_sel.SetIdealColumn(DisplayColumn(end));
    m_wordMode = true;
    m_lineMode = false;
    RefreshCaret();
    ScrollIntoView(end);
    SetSelectionRange(start, end);
    StartMouseDrag();
}

void CTextView::OnRightDown(wxMouseEvent& event)
{
    TextPos hit = HitText(event.GetPosition());
    if (!IsInsideSelection(hit)) {
        m_sel.SetAnchor(hit);
        m_sel.SetCaret(hit);
        SetSelectionRange(hit, hit);
        MoveCaretTo(hit);
    }
    event.Skip(); // the context menu follows
}

void CTextView::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    m_dragTimer.Stop();
    m_dragging = false;
}

void CTextView::OnDragTimer(wxTimerEvent&)
{
    if (!m_dragging) {
        m_dragTimer.Stop();
        return;
    }
    EnsureMetrics();
    const wxPoint point = ScreenToClient(wxGetMousePosition());
    const wxSize client = GetClientSize();
    int top = m_topLine;
    int first = m_firstColumn;
    if (point.y < 0)
        top -= -point.y < m_lineHeight ? 1 : 3;
    else if (point.y >= client.y)
        top += point.y - client.y < m_lineHeight ? 1 : 3;
    if (point.x < 0)
        first -= 1;
    else if (point.x >= client.x)
        first += 1;
    top = std::clamp(top, 0, LineCount() - 1);
    first = std::clamp(first, 0, std::max(0, MaxDisplayLength() - 1));
    bool scrolled = false;
    if (top != m_topLine) {
        ScrollToTopLine(top, true);
        SyncSiblings(false);
        scrolled = true;
    }
    if (first != m_firstColumn) {
        ScrollToColumn(first, true);
        SyncSiblings(true);
        scrolled = true;
    }
    if (scrolled)
        ExtendMouseSelection(point);
}

void CTextView::BeginDragAndDrop()
{
    m_dragPending = false;
    if (HasCapture())
        ReleaseMouse();
    CTextBuffer* buffer = m_buffer;
    UndoMark mark = OpenEditGroup(false);
    std::unique_ptr<wxDataObject> data(MakeDragData());
    GetOrderedSelection(m_draggedStart, m_draggedEnd);
    m_textBeingDragged = true;
    wxDragResult result = RunDragLoop(*data, DragEffects());
    if (result == wxDragCopy || result == wxDragMove)
        AfterDragDone(result);
    m_textBeingDragged = false;
    if (buffer && buffer == m_buffer)
        CloseEditGroup(mark);
}

wxDataObject* CTextView::MakeDragData()
{
    TextPos s, e;
    GetOrderedSelection(s, e);
    std::string text;
    CopyRange(s, e, text);
    return new wxTextDataObject(OutsideText(text));
}

wxDragResult CTextView::RunDragLoop(wxDataObject& data, int effects)
{
    wxDropSource source(data, this);
    return source.DoDragDrop(effects);
}

