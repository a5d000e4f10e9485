#include "options/DlgOptionsEditorTextblocks.h"

#include "options/OptionDefaults.h"
#include "options/OptionsTexts.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

using namespace optiontexts;

namespace {

std::vector<CTextBlock> Blocks(const CSettings& s)
{
    return std::vector<CTextBlock>(s.m_textBlocks.begin(), s.m_textBlocks.end());
}

} // namespace

CDlgOptionsEditorTextblocks::CDlgOptionsEditorTextblocks(wxWindow* parent, const COptionsContext& context,
                                                         CSettings& s)
    : COptionsPage(parent, wxString::FromUTF8(kTitleTextblocks), context), m_blocks(Blocks(s))
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kBlocksIntro)), 0, wxLEFT | wxRIGHT | wxTOP, 8);
    top->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kBlocksMarker)), 0, wxALL, 8);

    auto* body = new wxBoxSizer(wxHORIZONTAL);
    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kBlocksKey)), 0, wxBOTTOM, 3);
    wxArrayString keys;
    for (int n = 1; n <= CSettings::kTextBlocks; ++n)
        keys.Add(wxString::Format("F%d", n));
    m_keys = new wxListBox(this, kKeyListId, wxDefaultPosition, wxSize(FromDIP(70), FromDIP(200)), keys,
                           wxLB_SINGLE);
    left->Add(m_keys, 1, wxEXPAND);
    body->Add(left, 0, wxEXPAND | wxRIGHT, 10);

    auto* right = new wxBoxSizer(wxVERTICAL);
    right->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kBlocksName)), 0, wxBOTTOM, 3);
    m_name = new wxTextCtrl(this, kNameId);
    right->Add(m_name, 0, wxEXPAND | wxBOTTOM, 8);
    right->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kBlocksContent)), 0, wxBOTTOM, 3);
    m_content = new wxTextCtrl(this, kContentId, wxString(), wxDefaultPosition,
                               wxSize(FromDIP(320), FromDIP(150)), wxTE_MULTILINE | wxHSCROLL | wxTE_DONTWRAP);
    // Code: in a fixed-pitch face, so that tabs and columns line up.
    m_content->SetFont(wxFont(wxFontInfo(GetFont().GetPointSize()).Family(wxFONTFAMILY_TELETYPE)));
    right->Add(m_content, 1, wxEXPAND | wxBOTTOM, 8);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* restore = new wxButton(this, kRestoreId, wxString::FromUTF8(kBlocksRestore));
    auto* del = new wxButton(this, kDeleteId, wxString::FromUTF8(kBlocksDelete));
    buttons->Add(restore, 0, wxRIGHT, 8);
    buttons->Add(del);
    right->Add(buttons, 0, wxALIGN_RIGHT);
    body->Add(right, 1, wxEXPAND);
    top->Add(body, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);

    m_keys->Bind(wxEVT_LISTBOX, [this](wxCommandEvent& e) { SelectBlock(e.GetSelection()); });
    restore->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RestoreShown(); });
    del->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { DeleteShown(); });
    AddBinding({}, [this, &s] {
        m_blocks.Commit(Shown());
        for (int i = 0; i < CSettings::kTextBlocks && i < m_blocks.Count(); ++i)
            s.m_textBlocks[static_cast<size_t>(i)] = m_blocks.Value(i);
    });

    m_keys->SetSelection(0);
    Show(m_blocks.Value(0));
    SetSizerAndFit(top);
}

CTextBlock CDlgOptionsEditorTextblocks::Shown() const
{
    CTextBlock b;
    const wxString name = m_name->GetValue();
    const wxString content = m_content->GetValue();
    b.name = name == m_shownName ? m_shownBytes.name : ToDocumentBytes(name);
    b.content = content == m_shownContent ? m_shownBytes.content : ToDocumentLines(content);
    return b;
}

void CDlgOptionsEditorTextblocks::Show(const CTextBlock& block)
{
    m_shownBytes = block;
    m_name->ChangeValue(FromDocumentBytes(block.name));
    m_content->ChangeValue(FromDocumentLines(block.content));
    // What the fields hold now, which may differ from what they were given
    // (a NUL ends a text in the toolkit).
    m_shownName = m_name->GetValue();
    m_shownContent = m_content->GetValue();
}

void CDlgOptionsEditorTextblocks::SelectBlock(int index)
{
    if (index < 0 || index >= m_blocks.Count())
        return;
    if (m_keys->GetSelection() != index)
        m_keys->SetSelection(index);
    Show(m_blocks.Select(index, Shown()));
}

void CDlgOptionsEditorTextblocks::RestoreShown()
{
    m_content->SetValue(FromDocumentLines(COptionDefaults::TextBlockContent(m_blocks.Current())));
}

void CDlgOptionsEditorTextblocks::DeleteShown()
{
    m_content->SetValue(wxString());
}
