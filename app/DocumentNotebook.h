// The notebook of the document windows (the MDI client): a tab strip of
// fixed height, tab sizes measured once per caption, and batches in which no
// tab is laid out, so that a window costs the same with ten or ten thousand.
#pragma once

#include <wx/aui/auibook.h>
#include <wx/weakref.h>

#include <vector>

class CDocumentNotebook : public wxAuiNotebook {
public:
    CDocumentNotebook(wxWindow* parent, long style);

    // The tab strip shown (at the height every tab has) or hidden (height 0).
    void ShowTabs(bool on);

    // Between these (they nest) pages come and go without layout; the end
    // lays them all out once.
    void BeginBatch();
    void EndBatch();

private:
    int TabHeight();

    int m_batch = 0;
    std::vector<wxWeakRef<wxAuiTabCtrl>> m_frozen;
};
