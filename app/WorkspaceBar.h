// The docking bar "Workspace": the tabs "Dateien" (the open documents) and
// "Explorer" (the file explorer tree).
#pragma once

#include <wx/panel.h>

class wxAuiNotebook;
class wxTreeCtrl;
class COpenFilesTree;
class CExplorerTreeCtrl;

class CWorkspaceBar : public wxPanel {
public:
    static constexpr int kExplorerId = 100;
    static constexpr int kOpenFilesId = 200;

    CWorkspaceBar(wxWindow* parent, wxWindowID id);

    wxAuiNotebook* GetTabWindow() const { return m_tabs; }
    COpenFilesTree* GetOpenFilesTree() const { return m_openFiles; }
    CExplorerTreeCtrl* GetExplorerTree() const { return m_explorer; }

private:
    wxAuiNotebook* m_tabs = nullptr;
    COpenFilesTree* m_openFiles = nullptr;
    CExplorerTreeCtrl* m_explorer = nullptr;
};
