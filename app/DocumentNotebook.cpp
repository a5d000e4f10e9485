#include "app/DocumentNotebook.h"

#include "app/DocumentTabArt.h"
#include "app/OpenFilesTree.h"
#include "resources/Artwork.h"

CDocumentNotebook::CDocumentNotebook(wxWindow* parent, long style)
    : wxAuiNotebook(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, style)
{
    SetArtProvider(new CDocumentTabArt);
}

int CDocumentNotebook::TabHeight()
{
    // Measured over one tab with the documents' image: the notebook would
    // measure every tab each time a tab comes or goes, for the same result.
    wxAuiTabArt* art = GetArtProvider();
    if (!art)
        return -1;
    wxAuiNotebookPageArray pages;
    wxAuiNotebookPage page;
    page.caption = "Kib";
    page.bitmap = kib::OpenFilesBitmap(COpenFilesTree::ImageFor("Kib.java"));
    pages.Add(page);
    return art->GetBestTabCtrlSize(this, pages, wxDefaultSize);
}

void CDocumentNotebook::ShowTabs(bool on)
{
    SetTabCtrlHeight(on ? TabHeight() : 0);
}

void CDocumentNotebook::BeginBatch()
{
    if (m_batch++ > 0)
        return;
    // A frozen tab strip is neither laid out nor painted; freezing the
    // notebook itself would freeze every page's windows as well.
    for (wxWindow* child : GetChildren())
        if (auto* tabs = dynamic_cast<wxAuiTabCtrl*>(child)) {
            tabs->Freeze();
            m_frozen.emplace_back(tabs);
        }
}

void CDocumentNotebook::EndBatch()
{
    if (m_batch == 0 || --m_batch > 0)
        return;
    for (wxWeakRef<wxAuiTabCtrl>& tabs : m_frozen)
        if (tabs)
            tabs->Thaw();
    m_frozen.clear();
    DoSizing();
}
