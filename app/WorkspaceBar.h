// The docking bar "Workspace": the tabs "Dateien" (the open documents) and
// "Explorer" (the file explorer, filled by the explorer).
#pragma once

#include <wx/panel.h>

class wxAuiNotebook;
class wxTreeCtrl;
class COpenFilesTree;

class CWorkspaceBar : public wxPanel {
public:
    static constexpr int kExplorerId = 100;
    static constexpr int kOpenFilesId = 200;

    CWorkspaceBar(wxWindow* parent, wxWindowID id);

    wxAuiNotebook* GetTabWindow() const { return m_tabs; }
    COpenFilesTree* GetOpenFilesTree() const { return m_openFiles; }
    // The page of the "Explorer" tab; the explorer puts its tree into it.
    wxPanel* GetExplorerPage() const { return m_explorer; }

private:
    wxAuiNotebook* m_tabs = nullptr;
    COpenFilesTree* m_openFiles = nullptr;
    wxPanel* m_explorer = nullptr;
};
