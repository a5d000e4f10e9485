#include "options/DlgOptionsEditorSyntax.h"

#include "options/OptionDefaults.h"
#include "options/OptionsTexts.h"
#include "resources/StringTable.h"

namespace {

std::vector<CDlgOptionsColorList::Entry> SyntaxEntries(const CSettings& s)
{
    static const int kLabels[] = {kib::IDS_SYNTAX_KEYWORD,        kib::IDS_SYNTAX_FUNCTION,
                                  kib::IDS_SYNTAX_STRING,         kib::IDS_SYNTAX_COMMENT,
                                  kib::IDS_SYNTAX_COMMENTMULTI,   kib::IDS_SYNTAX_COMMENTJAVADOC,
                                  kib::IDS_SYNTAX_NUMBER,         kib::IDS_SYNTAX_OPERATOR,
                                  kib::IDS_SYNTAX_BRACEMATCH};
    std::vector<CDlgOptionsColorList::Entry> entries;
    const auto& order = COptionDefaults::SyntaxOrder();
    for (size_t i = 0; i < order.size(); ++i)
        entries.push_back({kLabels[i], s.m_highlight[static_cast<size_t>(order[i])]});
    return entries;
}

} // namespace

CDlgOptionsEditorSyntax::CDlgOptionsEditorSyntax(wxWindow* parent, const COptionsContext& context, CSettings& s)
    : CDlgOptionsColorList(parent, context, wxString::FromUTF8(optiontexts::kTitleSyntax), SyntaxEntries(s),
                           COptionDefaults::SyntaxColours(), true, kForegroundId,
                           [&s](const std::vector<CHighlightStyle>& values) {
                               const auto& order = COptionDefaults::SyntaxOrder();
                               for (size_t i = 0; i < order.size() && i < values.size(); ++i)
                                   s.m_highlight[static_cast<size_t>(order[i])] = values[i];
                           })
{
}
