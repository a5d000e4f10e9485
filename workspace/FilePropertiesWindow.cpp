#include "workspace/FilePropertiesWindow.h"

#include "platform/ErrorText.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"
#include "workspace/BoundedCall.h"

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

namespace {

// What the window shows of a path, gathered where it may wait.
struct Facts {
    int error = 0;
    bool isLink = false;
    bool followed = false;
    struct stat st {};
    std::string linkTarget;
    std::string owner, group;
};

Facts Gather(const std::string& path)
{
    Facts f;
    struct stat lst;
    if (lstat(path.c_str(), &lst) != 0) {
        f.error = errno;
        return f;
    }
    f.isLink = S_ISLNK(lst.st_mode);
    f.followed = stat(path.c_str(), &f.st) == 0;
    if (!f.followed)
        f.st = lst;
    if (f.isLink) {
        char target[4096];
        ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
        if (n > 0)
            f.linkTarget.assign(target, static_cast<size_t>(n));
    }
    const passwd* pw = getpwuid(f.st.st_uid);
    const group* gr = getgrgid(f.st.st_gid);
    f.owner = pw ? pw->pw_name : std::to_string(f.st.st_uid);
    f.group = gr ? gr->gr_name : std::to_string(f.st.st_gid);
    return f;
}

std::string ShownName(const std::string& path)
{
    const std::string name = path.substr(path.rfind('/') + 1);
    return name.empty() ? path : name;
}

} // namespace

CFilePropertiesWindow* CFilePropertiesWindow::Show(wxWindow* parent, const std::string& path, int timeoutMs)
{
    auto* window = new CFilePropertiesWindow(parent, path, timeoutMs);
    window->wxDialog::Show();
    return window;
}

CFilePropertiesWindow::CFilePropertiesWindow(wxWindow* parent, const std::string& path, int timeoutMs)
    : wxDialog(parent, wxID_ANY, wxString::Format(KibText(IDS_PROPERTIES_CAPTION), DisplayPath(ShownName(path))))
{
    m_rows.push_back({KibText(IDS_PROPERTIES_PATH), DisplayPath(path)});
    // A path on a mount whose server is gone must not hold the window.
    std::optional<Facts> facts = CallBounded<Facts>([path] { return Gather(path); }, timeoutMs);
    if (!facts || facts->error) {
        m_rows.push_back({KibText(IDS_PROPERTIES_TYPE),
                          wxString::Format(KibText(IDS_PROPERTIES_UNREADABLE),
                                           wxString::FromUTF8(platform::GermanErrorText(facts ? facts->error : ETIMEDOUT)))});
    } else {
        const struct stat& s = facts->st;
        wxString type = S_ISDIR(s.st_mode)   ? KibText(IDS_PROPERTIES_FOLDER)
                        : S_ISREG(s.st_mode) ? KibText(IDS_PROPERTIES_FILE)
                                             : KibText(IDS_PROPERTIES_OTHER);
        if (facts->isLink)
            type += wxT(", ") + wxString::Format(KibText(IDS_PROPERTIES_LINK), DisplayPath(facts->linkTarget));
        m_rows.push_back({KibText(IDS_PROPERTIES_TYPE), type});
        if (!S_ISDIR(s.st_mode))
            m_rows.push_back({KibText(IDS_PROPERTIES_SIZE),
                              wxString::Format(KibText(IDS_PROPERTIES_BYTES), Grouped(static_cast<unsigned long long>(s.st_size)))});
        wxDateTime when(static_cast<time_t>(s.st_mtime));
        m_rows.push_back({KibText(IDS_PROPERTIES_MODIFIED), when.Format(wxT("%d.%m.%Y %H:%M:%S"))});
        m_rows.push_back({KibText(IDS_PROPERTIES_PERMISSIONS), PermissionText(s.st_mode)});
        m_rows.push_back({KibText(IDS_PROPERTIES_OWNER), wxString::FromUTF8(facts->owner + ":" + facts->group)});
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
