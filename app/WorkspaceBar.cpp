#include "app/WorkspaceBar.h"

#include "app/OpenFilesTree.h"
#include "resources/Artwork.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"
#include "workspace/ExplorerTreeCtrl.h"

#include <wx/aui/auibook.h>
#include <wx/sizer.h>

using namespace kib;

CWorkspaceBar::CWorkspaceBar(wxWindow* parent, wxWindowID id) : wxPanel(parent, id)
{
    m_tabs = new wxAuiNotebook(this, 1, wxDefaultPosition, wxDefaultSize, wxAUI_NB_BOTTOM);
    m_explorer = new CExplorerTreeCtrl(m_tabs, kExplorerId);
    m_explorer->OnInitialise();
    m_openFiles = new COpenFilesTree(m_tabs, kOpenFilesId);
    m_tabs->AddPage(m_openFiles, KibText(IDS_TAB_FILES), true, WorkspaceTabBitmap(0));
    m_tabs->AddPage(m_explorer, KibText(IDS_TAB_EXPLORER), false, WorkspaceTabBitmap(1));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_tabs, 1, wxEXPAND);
    SetSizer(sizer);
}
