#include "kitprobe/KitprobeText.h"

#include <wx/strconv.h>

namespace kitprobe {

wxString DisplayText(const std::string& bytes)
{
    wxString text = wxString::FromUTF8(bytes.data(), bytes.size());
    if (text.empty() && !bytes.empty())
        text = wxString(bytes.data(), wxCSConv(wxFONTENCODING_CP1252), bytes.size());
    return text;
}

std::string BytesOf(const wxString& text)
{
    return text.utf8_string();
}

} // namespace kitprobe
