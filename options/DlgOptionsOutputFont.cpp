#include "options/DlgOptionsOutputFont.h"

#include "options/OptionsTexts.h"

CDlgOptionsOutputFont::CDlgOptionsOutputFont(wxWindow* parent, const COptionsContext& context, CLogFont& font)
    : CDlgOptionsFont(parent, context, wxString::FromUTF8(optiontexts::kTitleOutputFont),
                      wxString::FromUTF8(optiontexts::kFontOutputIntro), font)
{
}
