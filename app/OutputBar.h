// The docking bar "Output": four tabbed read-only panes that other parts of
// Kib write into — compiler messages, program output and two lists of
// search results.
#pragma once

#include "settings/LogFont.h"

#include <wx/panel.h>

class wxAuiNotebook;
class COutputPane;

class COutputBar : public wxPanel {
public:
    // Tab order.
    enum Pane { PANE_COMPILER = 0, PANE_OUTPUT = 1, PANE_SEARCH1 = 2, PANE_SEARCH2 = 3, PANE_COUNT };
    // Window ids of the panes.
    static constexpr int kCompilerPaneId = 2;
    static constexpr int kSearch1PaneId = 3;
    static constexpr int kSearch2PaneId = 4;
    static constexpr int kOutputPaneId = 5;

    COutputBar(wxWindow* parent, wxWindowID id);

    wxAuiNotebook* GetTabWindow() const { return m_tabs; }
    COutputPane* GetPane(Pane pane) const { return m_panes[pane]; }
    // Brings a pane's tab to the front.
    void ShowPane(Pane pane);
    // Gives all four panes a new font made from the description.
    void SetOutputFont(const CLogFont& font);
    const wxFont& GetOutputFont() const { return m_font; }

private:
    wxAuiNotebook* m_tabs = nullptr;
    COutputPane* m_panes[PANE_COUNT] = {};
    wxFont m_font;
};
