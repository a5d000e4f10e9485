#include "workspace/FilePropertiesWindow.h"

#include "platform/ErrorText.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/button.h>
#include <wx/datetime.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kib;

namespace {

wxString Grouped(unsigned long long n)
{
    std::string digits = std::to_string(n), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0)
            out += '.';
        out += digits[i];
    }
    return wxString::FromUTF8(out);
}

} // namespace

wxString CFilePropertiesWindow::PermissionText(unsigned mode)
{
    const char* bits = "rwxrwxrwx";
    std::string text;
    for (int i = 0; i < 9; ++i)
        text += (mode & (0400u >> i)) ? bits[i] : '-';
    char octal[16];
    snprintf(octal, sizeof octal, " (%04o)", mode & 07777u);
    return wxString::FromUTF8(text + octal);
}

CFilePropertiesWindow* CFilePropertiesWindow::Show(wxWindow* parent, const std::string& path)
{
    auto* window = new CFilePropertiesWindow(parent, path);
    window->wxDialog::Show();
    return window;
}

namespace {

std::string ShownName(const std::string& path)
{
    const std::string name = path.substr(path.rfind('/') + 1);
    return name.empty() ? path : name;
}

} // namespace

CFilePropertiesWindow::CFilePropertiesWindow(wxWindow* parent, const std::string& path)
    : wxDialog(parent, wxID_ANY, wxString::Format(KibText(IDS_PROPERTIES_CAPTION), DisplayPath(ShownName(path))))
{
    m_rows.push_back({KibText(IDS_PROPERTIES_PATH), DisplayPath(path)});
    struct stat lst, st;
    if (lstat(path.c_str(), &lst) != 0) {
        m_rows.push_back({KibText(IDS_PROPERTIES_TYPE),
                          wxString::Format(KibText(IDS_PROPERTIES_UNREADABLE), wxString::FromUTF8(platform::GermanErrorText(errno)))});
    } else {
        const bool isLink = S_ISLNK(lst.st_mode);
        const bool followed = stat(path.c_str(), &st) == 0;
        const struct stat& s = followed ? st : lst;
        wxString type = S_ISDIR(s.st_mode) ? KibText(IDS_PROPERTIES_FOLDER)
                        : S_ISREG(s.st_mode) ? KibText(IDS_PROPERTIES_FILE)
                                             : KibText(IDS_PROPERTIES_OTHER);
        if (isLink) {
            char target[4096];
            ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
            type += wxT(", ") + wxString::Format(KibText(IDS_PROPERTIES_LINK),
                                                 n > 0 ? DisplayPath(std::string(target, static_cast<size_t>(n))) : wxString());
        }
        m_rows.push_back({KibText(IDS_PROPERTIES_TYPE), type});
        if (!S_ISDIR(s.st_mode))
            m_rows.push_back({KibText(IDS_PROPERTIES_SIZE),
                              wxString::Format(KibText(IDS_PROPERTIES_BYTES), Grouped(static_cast<unsigned long long>(s.st_size)))});
        wxDateTime when(static_cast<time_t>(s.st_mtime));
        m_rows.push_back({KibText(IDS_PROPERTIES_MODIFIED), when.Format(wxT("%d.%m.%Y %H:%M:%S"))});
        m_rows.push_back({KibText(IDS_PROPERTIES_PERMISSIONS), PermissionText(s.st_mode)});
        const passwd* pw = getpwuid(s.st_uid);
        const group* gr = getgrgid(s.st_gid);
        m_rows.push_back({KibText(IDS_PROPERTIES_OWNER),
                          wxString::FromUTF8((pw ? std::string(pw->pw_name) : std::to_string(s.st_uid)) + ":" +
                                             (gr ? std::string(gr->gr_name) : std::to_string(s.st_gid)))});
    }

    auto* grid = new wxFlexGridSizer(2, wxSize(12, 6));
    grid->AddGrowableCol(1);
    for (const auto& [label, value] : m_rows) {
        grid->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_TOP);
        grid->Add(new wxStaticText(this, wxID_ANY, value),
                  1, wxEXPAND);
    }
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 1, wxEXPAND | wxALL, 12);
    auto* close = new wxButton(this, wxID_CANCEL, KibText(IDS_PROPERTIES_CLOSE));
    close->SetDefault();
    top->Add(close, 0, wxALIGN_RIGHT | wxRIGHT | wxBOTTOM, 12);
    SetSizerAndFit(top);
    SetEscapeId(wxID_CANCEL);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Destroy(); }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Destroy(); });
    CentreOnParent();
}
