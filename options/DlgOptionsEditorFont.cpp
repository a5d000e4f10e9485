#include "options/DlgOptionsEditorFont.h"

#include "options/OptionsTexts.h"

CDlgOptionsEditorFont::CDlgOptionsEditorFont(wxWindow* parent, const COptionsContext& context, CLogFont& font)
    : CDlgOptionsFont(parent, context, wxString::FromUTF8(optiontexts::kTitleEditorFont),
                      wxString::FromUTF8(optiontexts::kFontEditorIntro), font)
{
}
