#include "app/OutputBar.h"

#include "controls/FontUtil.h"
#include "app/MainFrameFind.h"
#include "app/MainFrameTools.h"
#include "controls/OutputPane.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/aui/auibook.h>
#include <wx/sizer.h>

using namespace kib;

COutputBar::COutputBar(wxWindow* parent, wxWindowID id) : wxPanel(parent, id)
{
    m_tabs = new wxAuiNotebook(this, 1, wxDefaultPosition, wxDefaultSize, wxAUI_NB_BOTTOM);
    const struct {
        Pane pane;
        int id;
        int caption;
    } panes[] = {{PANE_COMPILER, kCompilerPaneId, IDS_TAB_COMPILER},
                 {PANE_OUTPUT, kOutputPaneId, IDS_TAB_OUTPUT},
                 {PANE_SEARCH1, kSearch1PaneId, IDS_TAB_SEARCH1},
                 {PANE_SEARCH2, kSearch2PaneId, IDS_TAB_SEARCH2}};
    for (const auto& p : panes) {
        const bool search = p.pane == PANE_SEARCH1 || p.pane == PANE_SEARCH2;
        m_panes[p.pane] = search                     ? CreateSearchResultPane(m_tabs, p.id)
                          : p.pane == PANE_COMPILER ? CreateCompilerOutputPane(m_tabs, p.id)
                                                    : new COutputPane(m_tabs, p.id);
        m_tabs->AddPage(m_panes[p.pane], KibText(p.caption));
    }
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_tabs, 1, wxEXPAND);
    SetSizer(sizer);
}

void COutputBar::ShowPane(Pane pane)
{
    int index = m_tabs->GetPageIndex(m_panes[pane]);
    if (index != wxNOT_FOUND)
        m_tabs->SetSelection(static_cast<size_t>(index));
}

void COutputBar::SetOutputFont(const CLogFont& font)
{
    m_font = FontFromLogFont(font);
    for (COutputPane* pane : m_panes)
        pane->SetOutputFont(m_font);
}
