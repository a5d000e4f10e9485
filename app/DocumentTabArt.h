// The look of the document tabs: wx's generic tab art, with each tab's size
// remembered per caption, because the notebook measures every tab's text on
// each paint of the strip (a pango layout a tab, thousands for a long list).
#pragma once

#include <wx/aui/auibook.h>
#include <wx/aui/tabart.h>
#include <wx/hashmap.h>

#include <unordered_map>

class CDocumentTabArt : public wxAuiGenericTabArt {
public:
    CDocumentTabArt() = default;
    CDocumentTabArt(const CDocumentTabArt& other) = default;

    wxAuiTabArt* Clone() override;
    void SetFlags(unsigned int flags) override;
    void SetMeasuringFont(const wxFont& font) override;

    wxSize GetTabSize(wxDC& dc, wxWindow* wnd, const wxString& caption, const wxBitmapBundle& bitmap,
                      bool active, int closeButtonState, int* xExtent) override;

private:
    struct Measured {
        wxSize size;
        int extent;
    };
    void Forget();

    // Without, with the close button.
    std::unordered_map<wxString, Measured, wxStringHash, wxStringEqual> m_sizes[2];
    double m_scale = 0;
    wxSize m_bitmap;
};
