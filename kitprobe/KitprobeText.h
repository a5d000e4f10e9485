// Paths are bytes in the core; the windows show them as text. File names are
// UTF-8 here as a rule; bytes that are not are shown as Windows-1252.
#pragma once

#include <wx/string.h>

#include <string>

namespace kitprobe {

wxString DisplayText(const std::string& bytes);
// The bytes of a text the user typed (UTF-8).
std::string BytesOf(const wxString& text);
// A UTF-8 literal as UI text.
inline wxString Ui(const char* utf8)
{
    return wxString::FromUTF8(utf8);
}

} // namespace kitprobe
