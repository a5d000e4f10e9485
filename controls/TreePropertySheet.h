// A property sheet whose pages are chosen in a tree on the left instead of
// in tabs, with a painted caption bar above the page that shows the active
// page's title. Pages are the caller's windows (children of PageParent());
// parents in the tree are pages too. A page may be given as a factory: it is
// then created when it is first shown or asked for. OK validates and then
// transfers every page that exists (wxWindow::Validate and
// TransferDataFromWindow); a page never created has nothing to give.
#pragma once

#include <wx/bitmap.h>
#include <wx/dialog.h>
#include <wx/font.h>
#include <wx/imaglist.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class wxSimplebook;
class wxTreeCtrl;
class wxTreeEvent;
class wxTreeItemId;

class CTreePropertySheet : public wxDialog {
public:
    // Tree placement flags of AddPage.
    enum {
        TPS_OPEN_GROUP = 0, // the item becomes the parent of the following ones
        TPS_CHILD = 1,      // a child of the open group
        TPS_LAST_CHILD = 2, // the last child: the group closes after it
        TPS_EXPANDED = 4,   // show the item expanded
    };
    static constexpr int kTreeId = 8190;
    static constexpr int kMargin = 10;
    static constexpr int kCaptionHeight = 16;

    CTreePropertySheet(int treeWidth, const wxString& caption, wxWindow* parent, int firstPage = 0);
    ~CTreePropertySheet() override;

    // The window pages are created in.
    wxWindow* PageParent() const;
    // Appends a page (not owned by the sheet beyond wx's parent and child
    // rule). An empty caption takes the page's own title (its label).
    void AddPage(int flags, wxWindow* page, const wxBitmap& icon, const wxString& caption = wxString());
    // Appends a page created by create(PageParent()) when first needed; the
    // caption is the tree text, so it must be given.
    using PageFactory = std::function<wxWindow*(wxWindow* parent)>;
    void AddPage(int flags, PageFactory create, const wxBitmap& icon, const wxString& caption);
    void SetSubtitle(int page, const wxString& subtitle);

    // Caption bar, before the sheet is shown. Colours are 0x00BBGGRR.
    void SetCaptionColours(uint32_t gradientStart, uint32_t gradientEnd, uint32_t title, uint32_t subtitle);
    void SetFrame3D(bool on) { m_frame3D = on; }
    void SetTitleFont(const wxString& face, int pixelHeight);
    void SetSubtitleFont(const wxString& face, int pixelHeight);
    // Rows above the caption bar (above = true) or below the page area:
    // makes the list at least index + 1 rows long and sets that row's spaces.
    void SetRow(bool above, int index, int spaceAbove, int spaceBelow);

    // The page area's size when the pages are not all there to measure it
    // (before the sheet is shown); and that size measured by creating every
    // page.
    void SetPageAreaSize(const wxSize& size) { m_pageAreaSize = size; }
    wxSize MeasurePageArea();

    // Fills the tree and lays the sheet out (once; showing the sheet does it).
    void Build();
    bool Show(bool show = true) override;

    // --- State.
    int GetPageCount() const { return static_cast<int>(m_records.size()); }
    // The page, created now if it was not yet.
    wxWindow* GetPage(int index);
    // The page if it exists, else null.
    wxWindow* CreatedPage(int index) const;
    int GetActiveIndex() const { return m_active; }
    wxWindow* GetActivePage() const { return CreatedPage(m_active); }
    // Shows a page and selects its tree item (without validating the page
    // that is left; see SelectPageFromTree for the user's way).
    void SetActivePage(int index);
    void SetActivePage(wxWindow* page);
    wxString PageCaption(int index) const;
    wxTreeCtrl* Tree() const { return m_tree; }
    wxWindow* CaptionBar() const;
    // The sheet a page belongs to, or null.
    static CTreePropertySheet* Of(wxWindow* page);

    // OK: every page validated (the first failure shows its page and keeps
    // the sheet open), then every page transfers its data; true when the
    // sheet ends with OK.
    bool ConfirmPages();

    // Paints the caption bar into dc (size: the bar's).
    void PaintCaptionBar(wxDC& dc, const wxSize& size);

private:
    struct Record {
        int image;
        int flags;
        wxWindow* page;
        wxString caption;
        wxString subtitle;
        PageFactory create; // while page is null
        int bookIndex = -1;
    };
    struct Row {
        int spaceAbove = 0;
        int height = 0;
        int spaceBelow = 0;
        int Total() const { return spaceAbove + height + spaceBelow; }
    };
    class CCaptionBar;

    void AppendRecord(Record record, const wxBitmap& icon);
    void PlaceInBook(Record& record);
    void FillTree();
    int TreeWidthNeeded() const;
    void OnSelChanging(wxTreeEvent& event);
    void OnSelChanged(wxTreeEvent& event);
    void OnOk(wxCommandEvent& event);
    int RecordOf(const wxTreeItemId& item) const;

    int m_treeWidth;
    int m_firstPage;
    int m_active = -1;
    bool m_built = false;
    bool m_mouseSelection = false;
    bool m_switching = false;
    std::vector<Record> m_records;
    std::vector<Row> m_rowsAbove;
    std::vector<Row> m_rowsBelow;
    std::unique_ptr<wxImageList> m_images;

    uint32_t m_gradientStart = 8421504;
    uint32_t m_gradientEnd = 8421504;
    uint32_t m_titleColour = 16777215;
    uint32_t m_subtitleColour = 16777215;
    bool m_frame3D = true;
    uint32_t m_frameHighlight = 16777215;
    uint32_t m_frameShadow = 4210752;
    wxFont m_titleFont;
    wxFont m_subtitleFont;

    wxTreeCtrl* m_tree = nullptr;
    wxSimplebook* m_book = nullptr;
    CCaptionBar* m_captionBar = nullptr;
    wxBitmap m_gradient;
    wxBitmap m_compose;
    wxSize m_gradientSize;
    wxSize m_pageAreaSize = wxDefaultSize;
};
