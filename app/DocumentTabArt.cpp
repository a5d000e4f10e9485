#include "app/DocumentTabArt.h"

#include <wx/window.h>

namespace {
// Captions change (the "*" marker), so old ones pile up: past this many the
// remembered sizes start again.
constexpr size_t kMaxRemembered = 50000;
} // namespace

void CDocumentTabArt::Forget()
{
    m_sizes[0].clear();
    m_sizes[1].clear();
}

wxAuiTabArt* CDocumentTabArt::Clone()
{
    return new CDocumentTabArt(*this);
}

void CDocumentTabArt::SetFlags(unsigned int flags)
{
    if (flags != m_flags)
        Forget();
    wxAuiGenericTabArt::SetFlags(flags);
}

void CDocumentTabArt::SetMeasuringFont(const wxFont& font)
{
    // Tabs are measured with this font alone.
    if (!(font == m_measuringFont))
        Forget();
    wxAuiGenericTabArt::SetMeasuringFont(font);
}

wxSize CDocumentTabArt::GetTabSize(wxDC& dc, wxWindow* wnd, const wxString& caption, const wxBitmapBundle& bitmap,
                                   bool active, int closeButtonState, int* xExtent)
{
    // With fixed widths the size also follows the number of tabs.
    if (m_flags & wxAUI_NB_TAB_FIXED_WIDTH)
        return wxAuiGenericTabArt::GetTabSize(dc, wnd, caption, bitmap, active, closeButtonState, xExtent);
    // Otherwise it follows the caption, the close button, the bitmap's size
    // (the tabs all carry one of the same size) and the screen's scale.
    double scale = wnd ? wnd->GetDPIScaleFactor() : 1.0;
    wxSize bitmapSize = bitmap.IsOk() ? bitmap.GetDefaultSize() : wxSize();
    if (scale != m_scale || bitmapSize != m_bitmap) {
        Forget();
        m_scale = scale;
        m_bitmap = bitmapSize;
    }
    auto& sizes = m_sizes[closeButtonState != wxAUI_BUTTON_STATE_HIDDEN ? 1 : 0];
    auto found = sizes.find(caption);
    if (found == sizes.end()) {
        if (sizes.size() >= kMaxRemembered)
            sizes.clear();
        Measured m;
        m.size = wxAuiGenericTabArt::GetTabSize(dc, wnd, caption, bitmap, active, closeButtonState, &m.extent);
        found = sizes.emplace(caption, m).first;
    }
    if (xExtent)
        *xExtent = found->second.extent;
    return found->second.size;
}
