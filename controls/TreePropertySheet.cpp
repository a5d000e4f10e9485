#include "controls/TreePropertySheet.h"

#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/button.h>
#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/simplebook.h>
#include <wx/sizer.h>
#include <wx/treectrl.h>
#include <wx/wupdlock.h>

#include <algorithm>

namespace {

wxColour Colour(uint32_t c)
{
    return wxColour(static_cast<unsigned char>(c & 0xff), static_cast<unsigned char>((c >> 8) & 0xff),
                    static_cast<unsigned char>((c >> 16) & 0xff));
}

// The record index a tree item carries.
class CRecordData : public wxTreeItemData {
public:
    explicit CRecordData(int index) : index(index) {}
    int index;
};

} // namespace

class CTreePropertySheet::CCaptionBar : public wxWindow {
public:
    CCaptionBar(CTreePropertySheet* sheet)
        : wxWindow(sheet, wxID_ANY, wxDefaultPosition, wxSize(-1, kCaptionHeight), wxBORDER_NONE),
          m_sheet(sheet)
    {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        SetMinSize(wxSize(-1, kCaptionHeight));
        Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
            wxPaintDC dc(this);
            m_sheet->PaintCaptionBar(dc, GetClientSize());
        });
        Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
            Refresh(false);
            e.Skip();
        });
    }

private:
    CTreePropertySheet* m_sheet;
};

CTreePropertySheet::CTreePropertySheet(int treeWidth, const wxString& caption, wxWindow* parent, int firstPage)
    : wxDialog(parent, wxID_ANY, caption, wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE),
      m_treeWidth(treeWidth), m_firstPage(firstPage)
{
    m_tree = new wxTreeCtrl(this, kTreeId, wxDefaultPosition, wxSize(treeWidth, -1),
                            wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT | wxTR_SINGLE |
                                wxBORDER_SUNKEN);
    m_tree->AddRoot(wxString());
    m_captionBar = new CCaptionBar(this);
    m_book = new wxSimplebook(this, wxID_ANY);
    m_tree->Bind(wxEVT_TREE_SEL_CHANGING, &CTreePropertySheet::OnSelChanging, this);
    m_tree->Bind(wxEVT_TREE_SEL_CHANGED, &CTreePropertySheet::OnSelChanged, this);
    m_tree->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) {
        m_mouseSelection = true;
        e.Skip();
    });
    m_tree->Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& e) {
        m_mouseSelection = false;
        e.Skip();
    });
    Bind(wxEVT_BUTTON, &CTreePropertySheet::OnOk, this, wxID_OK);
}

CTreePropertySheet::~CTreePropertySheet()
{
    // The tree goes with the window; it must not keep the list.
    if (m_tree)
        m_tree->SetImageList(nullptr);
}

wxWindow* CTreePropertySheet::PageParent() const
{
    return m_book;
}

void CTreePropertySheet::AddPage(int flags, wxWindow* page, const wxBitmap& icon, const wxString& caption)
{
    if (!page)
        return;
    if (page->GetParent() != m_book)
        page->Reparent(m_book);
    AppendRecord(Record{-1, flags, page, caption, wxString(), {}}, icon);
    PlaceInBook(m_records.back());
}

void CTreePropertySheet::AddPage(int flags, PageFactory create, const wxBitmap& icon, const wxString& caption)
{
    if (!create)
        return;
    AppendRecord(Record{-1, flags, nullptr, caption, wxString(), std::move(create)}, icon);
}

void CTreePropertySheet::AppendRecord(Record record, const wxBitmap& icon)
{
    if (!m_images)
        m_images = std::make_unique<wxImageList>(16, 16, true, 10);
    if (icon.IsOk()) {
        wxBitmap sized = icon;
        if (sized.GetWidth() != 16 || sized.GetHeight() != 16)
            sized = wxBitmap(icon.ConvertToImage().Rescale(16, 16, wxIMAGE_QUALITY_HIGH));
        record.image = m_images->Add(sized);
    }
    m_records.push_back(std::move(record));
}

void CTreePropertySheet::PlaceInBook(Record& r)
{
    r.bookIndex = static_cast<int>(m_book->GetPageCount());
    m_book->AddPage(r.page, r.caption.empty() ? r.page->GetLabel() : r.caption, false);
    // A page that comes after the layout takes the area the others had.
    if (m_built)
        r.page->SetSize(m_book->GetClientSize());
}

void CTreePropertySheet::SetSubtitle(int page, const wxString& subtitle)
{
    if (page >= 0 && page < GetPageCount()) {
        m_records[static_cast<size_t>(page)].subtitle = subtitle;
        if (m_captionBar)
            m_captionBar->Refresh(false);
    }
}

void CTreePropertySheet::SetCaptionColours(uint32_t gradientStart, uint32_t gradientEnd, uint32_t title,
                                           uint32_t subtitle)
{
    m_gradientStart = gradientStart;
    m_gradientEnd = gradientEnd;
    m_titleColour = title;
    m_subtitleColour = subtitle;
    m_gradientSize = wxSize(); // refill
}

void CTreePropertySheet::SetTitleFont(const wxString& face, int pixelHeight)
{
    m_titleFont = wxFont(wxFontInfo(wxSize(0, pixelHeight)).FaceName(face));
}

void CTreePropertySheet::SetSubtitleFont(const wxString& face, int pixelHeight)
{
    m_subtitleFont = wxFont(wxFontInfo(wxSize(0, pixelHeight)).FaceName(face));
}

void CTreePropertySheet::SetRow(bool above, int index, int spaceAbove, int spaceBelow)
{
    if (index < 0)
        return;
    std::vector<Row>& rows = above ? m_rowsAbove : m_rowsBelow;
    if (rows.size() < static_cast<size_t>(index) + 1)
        rows.resize(static_cast<size_t>(index) + 1);
    rows[static_cast<size_t>(index)].spaceAbove = spaceAbove;
    rows[static_cast<size_t>(index)].spaceBelow = spaceBelow;
}

wxWindow* CTreePropertySheet::GetPage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return nullptr;
    Record& r = m_records[static_cast<size_t>(index)];
    if (!r.page && r.create) {
        PageFactory create = std::move(r.create);
        r.create = nullptr;
        wxWindow* page = create(m_book);
        if (page) {
            if (page->GetParent() != m_book)
                page->Reparent(m_book);
            r.page = page;
            PlaceInBook(r);
        }
    }
    return r.page;
}

wxWindow* CTreePropertySheet::CreatedPage(int index) const
{
    return index >= 0 && index < GetPageCount() ? m_records[static_cast<size_t>(index)].page : nullptr;
}

wxSize CTreePropertySheet::MeasurePageArea()
{
    for (int i = 0; i < GetPageCount(); ++i)
        GetPage(i);
    m_book->InvalidateBestSize();
    return m_book->GetBestSize();
}

wxString CTreePropertySheet::PageCaption(int index) const
{
    if (index < 0 || index >= GetPageCount())
        return wxString();
    const Record& r = m_records[static_cast<size_t>(index)];
    return r.caption.empty() && r.page ? r.page->GetLabel() : r.caption;
}

CTreePropertySheet* CTreePropertySheet::Of(wxWindow* page)
{
    for (wxWindow* w = page; w; w = w->GetParent())
        if (auto* sheet = dynamic_cast<CTreePropertySheet*>(w))
            return sheet;
    return nullptr;
}

void CTreePropertySheet::FillTree()
{
    std::vector<wxTreeItemId> groups; // open groups, innermost last
    std::vector<wxTreeItemId> expand;
    const wxTreeItemId root = m_tree->GetRootItem();
    for (size_t i = 0; i < m_records.size(); ++i) {
        Record& r = m_records[i];
        if (r.caption.empty() && r.page)
            r.caption = r.page->GetLabel();
        const wxTreeItemId parent = groups.empty() ? root : groups.back();
        wxTreeItemId item = m_tree->AppendItem(parent, r.caption, r.image, r.image,
                                               new CRecordData(static_cast<int>(i)));
        switch (r.flags & 3) {
        case TPS_OPEN_GROUP: groups.push_back(item); break;
        case TPS_LAST_CHILD:
            if (!groups.empty())
                groups.pop_back();
            break;
        default: break;
        }
        if (r.flags & TPS_EXPANDED)
            expand.push_back(item);
    }
    // An item can only open once its children are there.
    for (const wxTreeItemId& item : expand)
        m_tree->Expand(item);
}

void CTreePropertySheet::Build()
{
    if (m_built)
        return;
    m_built = true;
    if (m_images)
        m_tree->SetImageList(m_images.get());
    if (!m_titleFont.IsOk())
        SetTitleFont("MS Sans Serif", 12);
    if (!m_subtitleFont.IsOk())
        SetSubtitleFont("MS Sans Serif", 10);
    FillTree();

    int above = 0, below = 0;
    for (const Row& r : m_rowsAbove)
        above += r.Total();
    for (const Row& r : m_rowsBelow)
        below += r.Total();

    auto* top = new wxBoxSizer(wxVERTICAL);
    if (above > 0)
        top->AddSpacer(above);
    auto* body = new wxBoxSizer(wxHORIZONTAL);
    m_tree->SetMinSize(wxSize(TreeWidthNeeded(), -1));
    body->Add(m_tree, 0, wxEXPAND | wxRIGHT, kMargin);
    auto* pageColumn = new wxBoxSizer(wxVERTICAL);
    pageColumn->Add(m_captionBar, 0, wxEXPAND);
    if (m_pageAreaSize.IsFullySpecified())
        m_book->SetMinSize(m_pageAreaSize);
    pageColumn->Add(m_book, 1, wxEXPAND);
    body->Add(pageColumn, 1, wxEXPAND);
    top->Add(body, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, kMargin);
    if (below > 0)
        top->AddSpacer(below);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    auto* ok = new wxButton(this, wxID_OK, kib::KibText(kib::IDS_BUTTON_OK));
    ok->SetDefault();
    buttons->Add(ok, 0, wxRIGHT, 8);
    buttons->Add(new wxButton(this, wxID_CANCEL, kib::KibText(kib::IDS_BUTTON_CANCEL)));
    top->Add(buttons, 0, wxEXPAND | wxALL, kMargin);
    SetSizerAndFit(top);
    CentreOnParent();

    SetActivePage(std::clamp(m_firstPage, 0, std::max(0, GetPageCount() - 1)));
}

int CTreePropertySheet::TreeWidthNeeded() const
{
    // The given width, or wider where this platform's font makes an item's
    // text longer than the tree: level indent, expand button, image, text.
    int needed = 0;
    std::vector<std::pair<wxTreeItemId, int>> stack{{m_tree->GetRootItem(), -1}};
    while (!stack.empty()) {
        const auto [item, depth] = stack.back();
        stack.pop_back();
        if (depth >= 0) {
            int tw = 0, th = 0;
            m_tree->GetTextExtent(m_tree->GetItemText(item), &tw, &th);
            needed = std::max(needed, static_cast<int>(m_tree->GetSpacing()) +
                                          (depth + 1) * static_cast<int>(m_tree->GetIndent()) + 16 + 8 + tw);
        }
        wxTreeItemIdValue cookie;
        for (wxTreeItemId c = m_tree->GetFirstChild(item, cookie); c.IsOk(); c = m_tree->GetNextChild(item, cookie))
            stack.push_back({c, depth + 1});
    }
    const int frame = m_tree->GetSize().x - m_tree->GetClientSize().x;
    return std::max(m_treeWidth, needed + frame + 6);
}

bool CTreePropertySheet::Show(bool show)
{
    if (show)
        Build();
    return wxDialog::Show(show);
}

int CTreePropertySheet::RecordOf(const wxTreeItemId& item) const
{
    if (!item.IsOk())
        return -1;
    auto* data = dynamic_cast<CRecordData*>(m_tree->GetItemData(item));
    return data ? data->index : -1;
}

void CTreePropertySheet::SetActivePage(int index)
{
    if (index < 0 || index >= GetPageCount())
        return;
    m_switching = true;
    {
        // One paint for the whole switch.
        wxWindowUpdateLocker lock(this);
        m_active = index;
        if (GetPage(index))
            m_book->ChangeSelection(static_cast<size_t>(m_records[static_cast<size_t>(index)].bookIndex));
        if (m_built) {
            // Find the item of the record and select it.
            std::vector<wxTreeItemId> stack{m_tree->GetRootItem()};
            while (!stack.empty()) {
                wxTreeItemId it = stack.back();
                stack.pop_back();
                if (RecordOf(it) == index) {
                    if (m_tree->GetSelection() != it)
                        m_tree->SelectItem(it);
                    break;
                }
                wxTreeItemIdValue cookie;
                for (wxTreeItemId c = m_tree->GetFirstChild(it, cookie); c.IsOk();
                     c = m_tree->GetNextChild(it, cookie))
                    stack.push_back(c);
            }
        }
    }
    m_switching = false;
    m_captionBar->Refresh(false);
}

void CTreePropertySheet::SetActivePage(wxWindow* page)
{
    for (int i = 0; i < GetPageCount(); ++i)
        if (m_records[static_cast<size_t>(i)].page == page) {
            SetActivePage(i);
            return;
        }
}

void CTreePropertySheet::OnSelChanging(wxTreeEvent& event)
{
    // The page being left must hold valid data, as on OK.
    if (m_switching || !m_built)
        return;
    wxWindow* current = GetActivePage();
    if (current && RecordOf(event.GetItem()) != m_active && !current->Validate()) {
        m_mouseSelection = false;
        event.Veto();
    }
}

void CTreePropertySheet::OnSelChanged(wxTreeEvent& event)
{
    if (m_switching)
        return;
    const int index = RecordOf(event.GetItem());
    if (index < 0 || index == m_active)
        return;
    SetActivePage(index);
    if (m_mouseSelection) {
        m_mouseSelection = false;
        m_tree->SetFocus();
    }
}

bool CTreePropertySheet::ConfirmPages()
{
    for (int i = 0; i < GetPageCount(); ++i) {
        wxWindow* page = CreatedPage(i);
        if (page && !page->Validate()) {
            if (m_active != i)
                SetActivePage(i);
            return false;
        }
    }
    for (int i = 0; i < GetPageCount(); ++i)
        if (wxWindow* page = CreatedPage(i))
            page->TransferDataFromWindow();
    return true;
}

void CTreePropertySheet::OnOk(wxCommandEvent&)
{
    if (!ConfirmPages())
        return;
    if (IsModal()) {
        EndModal(wxID_OK);
    } else {
        SetReturnCode(wxID_OK);
        Hide();
    }
}

void CTreePropertySheet::PaintCaptionBar(wxDC& dc, const wxSize& size)
{
    const int w = size.x, h = size.y;
    if (w <= 0 || h <= 0)
        return;
    if (!m_gradient.IsOk() || m_gradient.GetWidth() < w || m_gradient.GetHeight() < h) {
        m_gradient = wxBitmap(std::max(w, 1), std::max(h, 1));
        m_compose = wxBitmap(std::max(w, 1), std::max(h, 1));
        m_gradientSize = wxSize();
    }
    if (m_gradientSize != size) {
        m_gradientSize = size;
        wxMemoryDC g(m_gradient);
        auto part = [w](uint32_t start, uint32_t end, int shift, int x) {
            const int64_t s = (start >> shift) & 0xff, e = (end >> shift) & 0xff;
            return static_cast<unsigned char>((s * (w - x) + e * x) / w);
        };
        for (int x = 0; x < w; ++x) {
            wxColour c(part(m_gradientStart, m_gradientEnd, 0, x), part(m_gradientStart, m_gradientEnd, 8, x),
                       part(m_gradientStart, m_gradientEnd, 16, x));
            g.SetPen(wxPen(c));
            g.DrawLine(x, 0, x, h);
        }
        if (m_frame3D) {
            g.SetPen(wxPen(Colour(m_frameHighlight)));
            g.DrawLine(0, h - 1, 0, 0);
            g.DrawLine(0, 0, w - 1, 0);
            g.SetPen(wxPen(Colour(m_frameShadow)));
            g.DrawLine(w - 1, 0, w - 1, h - 1);
            g.DrawLine(0, h - 1, w, h - 1);
        }
    }
    wxMemoryDC compose(m_compose);
    {
        wxMemoryDC g(m_gradient);
        compose.Blit(0, 0, w, h, &g, 0, 0);
    }
    compose.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    const wxString title = PageCaption(m_active);
    if (!title.empty()) {
        compose.SetFont(m_titleFont.IsOk() ? m_titleFont : GetFont());
        compose.SetTextForeground(Colour(m_titleColour));
        wxCoord tw = 0, th = 0;
        compose.GetTextExtent(title, &tw, &th);
        compose.DrawText(title, 4, h - 2 - th);
    }
    const wxString subtitle =
        m_active >= 0 && m_active < GetPageCount() ? m_records[static_cast<size_t>(m_active)].subtitle : wxString();
    if (!subtitle.empty()) {
        compose.SetFont(m_subtitleFont.IsOk() ? m_subtitleFont : GetFont());
        compose.SetTextForeground(Colour(m_subtitleColour));
        wxCoord tw = 0, th = 0;
        compose.GetTextExtent(subtitle, &tw, &th);
        compose.DrawText(subtitle, w - 4 - tw, h - 4 - th);
    }
    dc.Blit(0, 0, w, h, &compose, 0, 0);
}

wxWindow* CTreePropertySheet::CaptionBar() const
{
    return m_captionBar;
}
