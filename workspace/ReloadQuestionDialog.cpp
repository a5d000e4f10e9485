#include "workspace/ReloadQuestionDialog.h"

#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/tokenzr.h>

#include <algorithm>

using namespace kib;

namespace {

// The dialog's width before the text widens it.
constexpr int kBaseWidth = 320;

} // namespace

CReloadQuestionDlg::CReloadQuestionDlg(wxWindow* parent, const wxString& caption, const wxString& text,
                                       bool showAllOfType)
    : wxDialog(parent, wxID_ANY, caption)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    m_text = new wxStaticText(this, kTextId, text, wxDefaultPosition, wxDefaultSize, wxST_NO_AUTORESIZE);
    wxSize extent = TextExtent(*m_text, text);
    m_text->SetMinSize(extent);
    m_text->SetSize(extent);
    top->Add(m_text, 0, wxALL, 10);

    m_thisFile = new wxCheckBox(this, kThisFileId, KibText(IDS_RELOAD_THIS_FILE));
    m_allOfType = new wxCheckBox(this, kAllOfTypeId, KibText(IDS_RELOAD_ALL_OF_TYPE));
    top->Add(m_thisFile, 0, wxLEFT | wxRIGHT | wxBOTTOM, 10);
    top->Add(m_allOfType, 0, wxLEFT | wxRIGHT | wxBOTTOM, 10);
    m_allOfType->Show(showAllOfType);

    // "&Ja" and "&Nein" side by side, centred as a group.
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* yes = new wxButton(this, wxID_OK, KibText(IDS_BUTTON_YES));
    auto* no = new wxButton(this, wxID_CANCEL, KibText(IDS_BUTTON_NO));
    buttons->Add(yes, 0, wxRIGHT, 10);
    buttons->Add(no, 0);
    top->Add(buttons, 0, wxALIGN_CENTER_HORIZONTAL | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    yes->SetDefault();
    SetEscapeId(wxID_CANCEL);

    // Wider than the dialog, the text makes it as wide as itself plus 20.
    top->SetMinSize(wxSize(extent.x > kBaseWidth ? extent.x + 20 : kBaseWidth, -1));
    SetSizerAndFit(top);
    CentreOnParent();
}

wxSize CReloadQuestionDlg::TextExtent(wxWindow& window, const wxString& text)
{
    int widest = 0, height = 0;
    wxStringTokenizer lines(text, "\n", wxTOKEN_RET_EMPTY_ALL);
    const int lineHeight = window.GetCharHeight();
    while (lines.HasMoreTokens()) {
        wxString line = lines.GetNextToken();
        int w = 0, h = 0;
        window.GetTextExtent(line.empty() ? wxString(" ") : line, &w, &h);
        widest = std::max(widest, line.empty() ? 0 : w);
        height += std::max(h, lineHeight);
    }
    return wxSize(widest + window.GetCharWidth(), height);
}

void CReloadQuestionDlg::SetReloadThisFile(bool on)
{
    m_thisFile->SetValue(on);
}

void CReloadQuestionDlg::SetReloadAllOfType(bool on)
{
    m_allOfType->SetValue(on);
}

bool CReloadQuestionDlg::ReloadThisFile() const
{
    return m_thisFile->GetValue();
}

bool CReloadQuestionDlg::ReloadAllOfType() const
{
    return m_allOfType->GetValue();
}
