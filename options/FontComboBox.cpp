#include "options/FontComboBox.h"

#include "resources/Artwork.h"

#include <wx/fontenum.h>

#include <algorithm>

CFontComboBox::CFontComboBox(wxWindow* parent, wxWindowID id) : CSimpleComboBox(parent, id)
{
    SetMarkBitmap(kib::ScalableFontMark());
}

void CFontComboBox::FillFixedPitchFaces()
{
    wxArrayString faces = wxFontEnumerator::GetFacenames(wxFONTENCODING_SYSTEM, true);
    std::vector<wxString> sorted(faces.begin(), faces.end());
    std::sort(sorted.begin(), sorted.end(), [](const wxString& a, const wxString& b) {
        const int c = a.CmpNoCase(b);
        return c != 0 ? c < 0 : a < b;
    });
    // Each face once, whatever case the font system reports it in.
    sorted.erase(std::unique(sorted.begin(), sorted.end(),
                             [](const wxString& a, const wxString& b) { return a.CmpNoCase(b) == 0; }),
                 sorted.end());
    Clear();
    Append(sorted, true);
}
