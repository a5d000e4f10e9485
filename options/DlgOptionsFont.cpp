#include "options/DlgOptionsFont.h"

#include "controls/FontUtil.h"
#include "options/FontComboBox.h"
#include "options/IntegerField.h"
#include "options/OptionsTexts.h"

#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

using namespace optiontexts;

namespace {

constexpr int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
// Sizes typed beyond these leave the font as it was.
constexpr int kMinPoints = 1, kMaxPoints = 1000;

} // namespace

CDlgOptionsFont::CDlgOptionsFont(wxWindow* parent, const COptionsContext& context, const wxString& title,
                                 const wxString& intro, CLogFont& font)
    : COptionsPage(parent, title, context), m_target(font), m_font(font)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, intro), 0, wxALL, 8);

    auto* boxes = new wxBoxSizer(wxHORIZONTAL);
    auto* faceColumn = new wxBoxSizer(wxVERTICAL);
    faceColumn->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kFontName)), 0, wxBOTTOM, 3);
    m_face = new CFontComboBox(this, kFaceId);
    m_face->SetMinSize(wxSize(FromDIP(220), FromDIP(170)));
    faceColumn->Add(m_face, 1, wxEXPAND);
    boxes->Add(faceColumn, 1, wxEXPAND | wxRIGHT, 10);
    auto* sizeColumn = new wxBoxSizer(wxVERTICAL);
    sizeColumn->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kFontSize)), 0, wxBOTTOM, 3);
    m_size = new CSimpleComboBox(this, kSizeId);
    m_size->SetMinSize(wxSize(FromDIP(70), FromDIP(170)));
    sizeColumn->Add(m_size, 1, wxEXPAND);
    boxes->Add(sizeColumn, 0, wxEXPAND);
    top->Add(boxes, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);

    auto* sample = new wxStaticBoxSizer(wxVERTICAL, this, wxString::FromUTF8(kFontSampleGroup));
    m_sample = new wxStaticText(sample->GetStaticBox(), kSampleId, wxString::FromUTF8(kFontSample),
                                wxDefaultPosition, wxSize(-1, FromDIP(48)), wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
    sample->Add(m_sample, 1, wxEXPAND | wxALL, 4);
    top->Add(sample, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);

    // Both boxes as high as each other, with the list items' own height.
    m_face->SetItemHeights(15, 14);
    m_size->SetItemHeights(15, 14);
    m_face->FillFixedPitchFaces();
    std::vector<wxString> sizes;
    for (int points : kSizes)
        sizes.push_back(wxString::Format("%d", points));
    m_size->Append(sizes);

    const wxString face = wxString::FromUTF8(m_font.FaceName());
    const int points = m_font.PointSize(context.ppi);
    m_face->SetValue(face);
    m_face->SetSelection(m_face->FindString(face));
    m_face->SetValue(face); // the stored spelling, even when the list's differs in case
    const wxString size = wxString::Format("%d", points);
    m_size->SetSelection(m_size->FindString(size));
    m_size->SetValue(size);
    m_sample->SetFont(FontFromLogFont(m_font, context.ppi));

    m_face->OnChange([this](bool) { OnBoxChanged(); });
    m_size->OnChange([this](bool) { OnBoxChanged(); });
    AddBinding({}, [this] { m_target = m_font; });
    SetSizerAndFit(top);
}

void CDlgOptionsFont::OnBoxChanged()
{
    // The boxes have copied a chosen list item into their fields already.
    m_font.SetFaceName(m_face->GetValue().utf8_string());
    m_font.lfCharSet = 1;
    int points = 0;
    if (CIntegerField::Parse(m_size->GetValue().utf8_string(), kMinPoints, kMaxPoints, points) ==
        CIntegerField::OK)
        m_font.SetPointSize(points, Context().ppi);
    m_sample->SetFont(FontFromLogFont(m_font, Context().ppi));
    m_sample->Refresh();
}
