#include "toolchain/CompileProgressDialog.h"

#include "toolchain/ToolchainTexts.h"

#include <wx/artprov.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

namespace {

wxString Display(const std::string& bytes)
{
    wxString s = wxString::FromUTF8(bytes);
    return s.empty() && !bytes.empty() ? wxString(bytes.c_str(), wxConvISO8859_1) : s;
}

} // namespace

CCompileProgressDialog::CCompileProgressDialog(wxWindow* parent, const std::string& sourcePath)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(toolchain::kProgressCaption), wxDefaultPosition,
               wxDefaultSize, wxCAPTION)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticBitmap(this, wxID_ANY,
                                wxArtProvider::GetBitmap(wxART_EXECUTABLE_FILE, wxART_MESSAGE_BOX)),
             0, wxALL | wxALIGN_TOP, 12);
    auto* texts = new wxBoxSizer(wxVERTICAL);
    m_file = new wxStaticText(this, kFileTextId, Display(toolchain::CompileProgressText(sourcePath)));
    texts->Add(m_file, 0, wxBOTTOM, 6);
    texts->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(toolchain::kProgressBusy)));
    row->Add(texts, 1, wxTOP | wxRIGHT | wxBOTTOM | wxALIGN_CENTER_VERTICAL, 12);
    SetSizerAndFit(row);
    SetMinSize(wxSize(FromDIP(320), -1));
    Fit();
    CentreOnParent();
}

wxString CCompileProgressDialog::FileText() const
{
    return m_file->GetLabel();
}
