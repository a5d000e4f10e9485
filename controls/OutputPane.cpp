#include "controls/OutputPane.h"

#include "resources/CommandIds.h"
#include "resources/CommandMap.h"
#include "text/TextLayout.h"
#include "text/Transcode.h"
#include "text/Utf8.h"

#include <wx/clipbrd.h>
#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/menu.h>
#include <wx/settings.h>

#include <algorithm>

namespace {

constexpr TextEncoding kUtf8 = TextEncoding::Utf8;

// The first CR or LF at or after from, or npos. A plain loop: find_first_of
// looks each byte up in the set with a call of its own.
size_t LineBreakFrom(std::string_view bytes, size_t from)
{
    for (size_t k = from; k < bytes.size(); ++k)
        if (bytes[k] == '\n' || bytes[k] == '\r')
            return k;
    return std::string_view::npos;
}

} // namespace

COutputPane::COutputPane(wxWindow* parent, wxWindowID id)
    : wxWindow(parent, id, wxDefaultPosition, wxDefaultSize,
               wxVSCROLL | wxHSCROLL | wxALWAYS_SHOW_SB | wxWANTS_CHARS | wxBORDER_NONE)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetOutputFont(wxFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE)));
    Bind(wxEVT_PAINT, &COutputPane::OnPaint, this);
    Bind(wxEVT_SIZE, &COutputPane::OnSize, this);
    for (auto type : {wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP,
                      wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN,
                      wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE})
        Bind(type, &COutputPane::OnScroll, this);
    Bind(wxEVT_MOUSEWHEEL, &COutputPane::OnMouseWheel, this);
    Bind(wxEVT_LEFT_DOWN, &COutputPane::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &COutputPane::OnLeftDClick, this);
    Bind(wxEVT_MOTION, &COutputPane::OnMotion, this);
    Bind(wxEVT_LEFT_UP, &COutputPane::OnLeftUp, this);
    Bind(wxEVT_KEY_DOWN, &COutputPane::OnKeyDown, this);
    Bind(wxEVT_SET_FOCUS, &COutputPane::OnFocus, this);
    Bind(wxEVT_KILL_FOCUS, &COutputPane::OnFocus, this);
    Bind(wxEVT_CONTEXT_MENU, [this](wxContextMenuEvent& e) {
        wxPoint pt = e.GetPosition() == wxDefaultPosition ? wxPoint(10, 10) : ScreenToClient(e.GetPosition());
        ShowContextMenu(pt);
    });
    // The pane's own menu items answer here, not along the command route.
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(CanCopy()); },
         kib::ToWxId(kib::ID_EDIT_COPY));
    Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(true); }, kib::ToWxId(kib::ID_EDIT_SELECT_ALL));
}

void COutputPane::ShowContextMenu(const wxPoint& pt)
{
    wxMenu menu;
    int copy = kib::ToWxId(kib::ID_EDIT_COPY);
    int all = kib::ToWxId(kib::ID_EDIT_SELECT_ALL);
    menu.Append(copy, wxString::FromUTF8("&Kopieren"));
    menu.Append(all, wxString::FromUTF8("Alles &markieren"));
    int choice = GetPopupMenuSelectionFromUser(menu, pt);
    if (choice == copy)
        Copy();
    else if (choice == all)
        SelectAll();
}

void COutputPane::SetOutputFont(const wxFont& font)
{
    m_font = font.IsOk() ? font : wxFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE));
    // Not the window's font: on GTK that gives the widget a style provider of
    // its own, and its first showing (the program pane's at the first run)
    // then costs a style pass of some 15 ms. Painting sets it on the DC.
    wxClientDC dc(this);
    dc.SetFont(m_font);
    wxSize ext = dc.GetTextExtent("X");
    m_charWidth = std::max(1, ext.x);
    m_lineHeight = std::max(1, dc.GetCharHeight());
    UpdateScrollbars();
    Refresh();
}

COutputPane::Pos COutputPane::Clamp(Pos p) const
{
    p.line = std::clamp(p.line, 0, GetLineCount() - 1);
    p.index = std::clamp(p.index, 0, static_cast<int>(m_lines[static_cast<size_t>(p.line)].size()));
    return p;
}

void COutputPane::InsertAt(Pos& at, std::string_view bytes)
{
    size_t i = 0;
    int firstLine = at.line;
    while (i <= bytes.size()) {
        size_t brk = LineBreakFrom(bytes, i);
        std::string_view piece = bytes.substr(i, brk == std::string_view::npos ? bytes.npos : brk - i);
        std::string& line = m_lines[static_cast<size_t>(at.line)];
        // Output grows its last line piece by piece: only the new bytes are
        // counted when the line is the one measured last.
        // A character cut by the last write is measured anew with its rest.
        const bool appended = static_cast<size_t>(at.index) == line.size() && m_measured.line == at.line &&
                              m_measured.bytes == line.size() && transcode::CompleteUtf8Prefix(line) == line.size();
        const int before = m_measured.columns;
        line.insert(static_cast<size_t>(at.index), piece);
        at.index += static_cast<int>(piece.size());
        std::string rest;
        if (brk != std::string_view::npos) {
            // Split the line at the insertion point.
            rest = line.substr(static_cast<size_t>(at.index));
            line.erase(static_cast<size_t>(at.index));
        }
        Measured(at.line, appended ? textlayout::ColumnAfter(piece.data(), static_cast<int>(piece.size()), before,
                                                             m_tabSize, kUtf8)
                                   : textlayout::DisplayLength(line.data(), static_cast<int>(line.size()), m_tabSize,
                                                               kUtf8));
        if (brk == std::string_view::npos)
            break;
        m_lines.insert(m_lines.begin() + at.line + 1, std::move(rest));
        ++at.line;
        at.index = 0;
        const std::string& moved = m_lines[static_cast<size_t>(at.line)];
        Measured(at.line, textlayout::DisplayLength(moved.data(), static_cast<int>(moved.size()), m_tabSize, kUtf8));
        i = brk + 1;
        if (bytes[brk] == '\r' && i < bytes.size() && bytes[i] == '\n')
            ++i;
    }
    m_bytes += bytes.size();
    ChangedFrom(firstLine);
}

void COutputPane::Measured(int line, int columns)
{
    m_measured = MeasuredLine{line, m_lines[static_cast<size_t>(line)].size(), columns};
    m_maxColumns = std::max(m_maxColumns, columns);
}

void COutputPane::DeleteRange(Pos from, Pos to)
{
    if (to < from)
        std::swap(from, to);
    from = Clamp(from);
    to = Clamp(to);
    if (from == to)
        return;
    std::string& first = m_lines[static_cast<size_t>(from.line)];
    const std::string& last = m_lines[static_cast<size_t>(to.line)];
    size_t removed = 0;
    for (int l = from.line; l < to.line; ++l)
        removed += m_lines[static_cast<size_t>(l)].size() + 2;
    removed = removed - static_cast<size_t>(from.index) + static_cast<size_t>(to.index);
    std::string tail = last.substr(static_cast<size_t>(to.index));
    first.erase(static_cast<size_t>(from.index));
    first += tail;
    if (to.line > from.line)
        m_lines.erase(m_lines.begin() + from.line + 1, m_lines.begin() + to.line + 1);
    // Line numbers and tab stops have moved: the next write measures anew.
    m_measured = MeasuredLine{};
    m_bytes -= std::min(m_bytes, removed);
    ChangedFrom(from.line);
}

void COutputPane::ReplaceSel(std::string_view bytes)
{
    bool follow = m_caret.line >= m_topLine && m_caret.line < m_topLine + VisibleLines() + 1;
    Pos from = std::min(m_anchor, m_caret);
    Pos to = std::max(m_anchor, m_caret);
    DeleteRange(from, to);
    Pos at = Clamp(from);
    InsertAt(at, bytes);
    m_anchor = m_caret = at;
    if (follow)
        EnsureVisible(m_caret);
}

void COutputPane::AppendText(std::string_view bytes)
{
    MoveToEnd();
    ReplaceSel(bytes);
}

void COutputPane::Clear()
{
    m_lines.assign(1, std::string());
    m_bytes = 0;
    m_caret = m_anchor = Pos{};
    m_topLine = 0;
    m_leftColumn = 0;
    m_maxColumns = 0;
    m_measured = MeasuredLine{};
    ScheduleLayout();
    Refresh();
}

std::string COutputPane::GetText() const
{
    std::string text;
    text.reserve(m_bytes + m_lines.size() * 2);
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (i)
            text += "\r\n";
        text += m_lines[i];
    }
    return text;
}

std::string COutputPane::GetSelectedText() const
{
    Pos from = std::min(m_anchor, m_caret);
    Pos to = std::max(m_anchor, m_caret);
    std::string text;
    for (int l = from.line; l <= to.line; ++l) {
        const std::string& line = m_lines[static_cast<size_t>(l)];
        size_t a = l == from.line ? static_cast<size_t>(from.index) : 0;
        size_t b = l == to.line ? static_cast<size_t>(to.index) : line.size();
        text.append(line, a, b - a);
        if (l != to.line)
            text += "\r\n";
    }
    return text;
}

void COutputPane::SetSelection(Pos from, Pos to, bool scroll)
{
    m_anchor = Clamp(from);
    m_caret = Clamp(to);
    if (scroll)
        EnsureVisible(m_caret);
    Refresh();
}

void COutputPane::SelectLine(int line)
{
    line = std::clamp(line, 0, GetLineCount() - 1);
    SetSelection(Pos{line, 0}, Pos{line, static_cast<int>(m_lines[static_cast<size_t>(line)].size())});
}

void COutputPane::SelectAll()
{
    SetSelection(Pos{}, Pos{GetLineCount() - 1, static_cast<int>(m_lines.back().size())}, false);
}

void COutputPane::MoveToEnd()
{
    Pos end{GetLineCount() - 1, static_cast<int>(m_lines.back().size())};
    m_anchor = m_caret = end;
}

// An empty selection copies nothing and leaves the clipboard as it was.
void COutputPane::Copy() const
{
    std::string bytes = HasSelection() ? GetSelectedText() : std::string();
    if (bytes.empty())
        return;
    if (wxTheClipboard->Open()) {
        wxTheClipboard->SetData(new wxTextDataObject(wxString::FromUTF8(utf8::ToValid(bytes))));
        wxTheClipboard->Close();
    }
}

int COutputPane::DisplayColumn(Pos p) const
{
    const std::string& line = m_lines[static_cast<size_t>(p.line)];
    return textlayout::DisplayColumn(line.data(), static_cast<int>(line.size()), p.index, m_tabSize, kUtf8);
}

COutputPane::Pos COutputPane::PositionFromPoint(const wxPoint& pt) const
{
    int line = m_topLine + std::max(0, pt.y) / m_lineHeight;
    line = std::clamp(line, 0, GetLineCount() - 1);
    int column = m_leftColumn + (std::max(0, pt.x - 2) + m_charWidth / 2) / m_charWidth;
    const std::string& text = m_lines[static_cast<size_t>(line)];
    return Pos{line,
               textlayout::NearestCharToColumn(text.data(), static_cast<int>(text.size()), column, m_tabSize, kUtf8)};
}

int COutputPane::VisibleLines() const
{
    return std::max(1, GetClientSize().y / m_lineHeight);
}

void COutputPane::ChangedFrom(int line)
{
    if (line < m_topLine + VisibleLines() + 1)
        Refresh();
    ScheduleLayout();
}

void COutputPane::ScheduleLayout()
{
    if (m_layoutPending)
        return;
    m_layoutPending = true;
    CallAfter([this] {
        m_layoutPending = false;
        UpdateScrollbars();
    });
}

void COutputPane::UpdateScrollbars()
{
    int visible = VisibleLines();
    int lines = GetLineCount();
    m_topLine = std::clamp(m_topLine, 0, std::max(0, lines - 1));
    SetScrollbar(wxVERTICAL, m_topLine, visible, lines + visible - 1);
    int cols = std::max(1, GetClientSize().x / m_charWidth);
    SetScrollbar(wxHORIZONTAL, m_leftColumn, cols, std::max(m_maxColumns + 1, cols));
}

void COutputPane::ScrollToLine(int line)
{
    int top = std::clamp(line, 0, std::max(0, GetLineCount() - 1));
    if (top != m_topLine) {
        m_topLine = top;
        Refresh();
    }
    ScheduleLayout();
}

void COutputPane::EnsureVisible(Pos p)
{
    int visible = VisibleLines();
    if (p.line < m_topLine)
        ScrollToLine(p.line);
    else if (p.line >= m_topLine + visible)
        ScrollToLine(p.line - visible + 1);
    int col = DisplayColumn(p);
    int cols = std::max(1, GetClientSize().x / m_charWidth);
    if (col < m_leftColumn || col >= m_leftColumn + cols) {
        m_leftColumn = std::max(0, col < m_leftColumn ? col : col - cols + 1);
        Refresh();
        ScheduleLayout();
    }
}

void COutputPane::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    Paint(dc);
}

void COutputPane::Paint(wxDC& dc)
{
    wxColour bg = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
    wxColour fg = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT);
    wxColour selBg = wxSystemSettings::GetColour(HasFocus() ? wxSYS_COLOUR_HIGHLIGHT : wxSYS_COLOUR_BTNSHADOW);
    // Without the focus (after a jump from a message) the selection stays
    // readable: dark text on the light inactive colour.
    wxColour selFg = HasFocus() ? wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT) : fg;
    dc.SetBackground(wxBrush(bg));
    dc.Clear();
    dc.SetFont(m_font);
    wxSize client = GetClientSize();
    Pos from = std::min(m_anchor, m_caret);
    Pos to = std::max(m_anchor, m_caret);
    int cols = client.x / m_charWidth + 2;
    int last = std::min(GetLineCount() - 1, m_topLine + client.y / m_lineHeight + 1);
    const int rightEdge = m_leftColumn + cols;
    for (int l = m_topLine; l <= last; ++l) {
        const std::string& line = m_lines[static_cast<size_t>(l)];
        const char* chars = line.data();
        const int len = static_cast<int>(line.size());
        int y = (l - m_topLine) * m_lineHeight;
        // Lay out the visible cells only; a tab or a wide character across
        // the left edge shows the cells right of it.
        int startCol = 0;
        int first = textlayout::FirstCharAtColumn(chars, len, m_leftColumn, m_tabSize, startCol, kUtf8);
        const std::u32string cells = textlayout::ExpandForDisplay(chars, first, len - first, startCol, m_tabSize,
                                                                  false, kUtf8, rightEdge - startCol + 1);
        // Cells left of the edge (of a tab or wide character across it) are not drawn.
        int x0 = 2 - (m_leftColumn - startCol) * m_charWidth;
        bool lineSelected = l >= from.line && l <= to.line && from != to;
        int selStartCol = -1, selEndCol = -1;
        if (lineSelected) {
            // A column past the right edge is only ever drawn as the edge:
            // indices far beyond it (a character has at most four bytes and
            // at least one cell) are not counted.
            auto columnOf = [&](int index) {
                return index >= 4 * rightEdge
                           ? rightEdge
                           : std::min(rightEdge, textlayout::DisplayColumn(chars, len, index, m_tabSize, kUtf8));
            };
            selStartCol = l == from.line ? columnOf(from.index) : 0;
            // Lines before the last one take the cell of their line break.
            selEndCol = l == to.line ? columnOf(to.index) : std::min(rightEdge, columnOf(len) + 1);
            int x0 = (std::max(selStartCol, m_leftColumn) - m_leftColumn) * m_charWidth + 2;
            int x1 = (std::max(selEndCol, m_leftColumn) - m_leftColumn) * m_charWidth + 2;
            if (x1 > x0) {
                dc.SetBrush(wxBrush(selBg));
                dc.SetPen(*wxTRANSPARENT_PEN);
                dc.DrawRectangle(x0, y, x1 - x0, m_lineHeight);
            }
        }
        if (!cells.empty()) {
            dc.SetTextForeground(fg);
            DrawCells(dc, cells, x0, y);
            if (lineSelected && selEndCol > selStartCol) {
                int s = std::max(selStartCol, m_leftColumn) - m_leftColumn;
                int e = selEndCol - m_leftColumn;
                if (e > s) {
                    // The selected cells again, in the selection's colour.
                    wxDCClipper clip(dc, wxRect(2 + s * m_charWidth, y, (e - s) * m_charWidth, m_lineHeight));
                    dc.SetTextForeground(selFg);
                    DrawCells(dc, cells, x0, y);
                }
            }
        }
    }
    if (HasFocus()) {
        int cx = (DisplayColumn(m_caret) - m_leftColumn) * m_charWidth + 2;
        int cy = (m_caret.line - m_topLine) * m_lineHeight;
        dc.SetPen(wxPen(fg, 1));
        dc.DrawLine(cx, cy, cx, cy + m_lineHeight);
    }
}

void COutputPane::DrawCells(wxDC& dc, const std::u32string& cells, int x0, int y)
{
    // Runs of one-cell characters are drawn together; a wide character is
    // drawn alone at its own cells, so the grid stays whatever its glyph's
    // width in the font.
    wxString run;
    int runStart = 0;
    auto flush = [&] {
        if (!run.empty())
            dc.DrawText(run, x0 + runStart * m_charWidth, y);
        run.clear();
    };
    for (size_t k = 0; k < cells.size(); ++k) {
        const int cell = static_cast<int>(k);
        if (cells[k] == textlayout::kWideTail)
            continue;
        if (k + 1 < cells.size() && cells[k + 1] == textlayout::kWideTail) {
            flush();
            dc.DrawText(wxString(wxUniChar(static_cast<wxUint32>(cells[k]))), x0 + cell * m_charWidth, y);
            continue;
        }
        if (run.empty())
            runStart = cell;
        run += wxUniChar(static_cast<wxUint32>(cells[k]));
    }
    flush();
}

void COutputPane::OnSize(wxSizeEvent& event)
{
    UpdateScrollbars();
    Refresh();
    event.Skip();
}

void COutputPane::OnScroll(wxScrollWinEvent& event)
{
    bool vertical = event.GetOrientation() == wxVERTICAL;
    int pos = vertical ? m_topLine : m_leftColumn;
    int page = vertical ? VisibleLines() : std::max(1, GetClientSize().x / m_charWidth);
    int max = vertical ? GetLineCount() - 1 : m_maxColumns;
    wxEventType t = event.GetEventType();
    if (t == wxEVT_SCROLLWIN_TOP)
        pos = 0;
    else if (t == wxEVT_SCROLLWIN_BOTTOM)
        pos = max;
    else if (t == wxEVT_SCROLLWIN_LINEUP)
        --pos;
    else if (t == wxEVT_SCROLLWIN_LINEDOWN)
        ++pos;
    else if (t == wxEVT_SCROLLWIN_PAGEUP)
        pos -= page;
    else if (t == wxEVT_SCROLLWIN_PAGEDOWN)
        pos += page;
    else
        pos = event.GetPosition();
    pos = std::clamp(pos, 0, std::max(0, max));
    if (vertical)
        m_topLine = pos;
    else
        m_leftColumn = pos;
    SetScrollPos(event.GetOrientation(), pos);
    Refresh();
}

void COutputPane::OnMouseWheel(wxMouseEvent& event)
{
    int lines = event.GetWheelRotation() / std::max(1, event.GetWheelDelta()) * event.GetLinesPerAction();
    ScrollToLine(m_topLine - lines);
}

void COutputPane::OnLeftDown(wxMouseEvent& event)
{
    SetFocus();
    Pos p = PositionFromPoint(event.GetPosition());
    if (event.ShiftDown())
        m_caret = p;
    else
        m_anchor = m_caret = p;
    m_dragging = true;
    CaptureMouse();
    Refresh();
}

void COutputPane::OnMotion(wxMouseEvent& event)
{
    if (!m_dragging)
        return;
    m_caret = PositionFromPoint(event.GetPosition());
    EnsureVisible(m_caret);
    Refresh();
}

void COutputPane::OnLeftUp(wxMouseEvent&)
{
    if (m_dragging) {
        m_dragging = false;
        if (HasCapture())
            ReleaseMouse();
    }
}

void COutputPane::OnLeftDClick(wxMouseEvent& event)
{
    Pos p = PositionFromPoint(event.GetPosition());
    m_anchor = m_caret = p;
    Refresh();
    OnLineDoubleClicked(p.line);
}

void COutputPane::OnKeyDown(wxKeyEvent& event)
{
    int code = event.GetKeyCode();
    bool ctrl = event.ControlDown();
    Pos p = m_caret;
    if (ctrl && (code == 'C' || code == WXK_INSERT)) {
        Copy();
        return;
    }
    if (ctrl && code == 'A') {
        SelectAll();
        return;
    }
    switch (code) {
    case WXK_UP: --p.line; break;
    case WXK_DOWN: ++p.line; break;
    case WXK_LEFT:
    case WXK_RIGHT: {
        const std::string& t = m_lines[static_cast<size_t>(p.line)];
        const int n = static_cast<int>(t.size());
        p.index = code == WXK_LEFT ? (p.index > 0 ? utf8::Prev(t.data(), n, std::min(p.index, n)) : -1)
                                   : (p.index < n ? utf8::Next(t.data(), n, p.index) : n + 1);
        break;
    }
    case WXK_PAGEUP: p.line -= VisibleLines(); break;
    case WXK_PAGEDOWN: p.line += VisibleLines(); break;
    case WXK_HOME: p = ctrl ? Pos{} : Pos{p.line, 0}; break;
    case WXK_END:
        p = ctrl ? Pos{GetLineCount() - 1, static_cast<int>(m_lines.back().size())}
                 : Pos{p.line, static_cast<int>(m_lines[static_cast<size_t>(p.line)].size())};
        break;
    default: event.Skip(); return;
    }
    p = Clamp(p);
    if (event.ShiftDown())
        m_caret = p;
    else
        m_anchor = m_caret = p;
    EnsureVisible(m_caret);
    Refresh();
}

void COutputPane::OnFocus(wxFocusEvent& event)
{
    Refresh();
    event.Skip();
}
