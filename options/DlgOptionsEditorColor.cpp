#include "options/DlgOptionsEditorColor.h"

#include "options/OptionDefaults.h"
#include "options/OptionsTexts.h"
#include "resources/StringTable.h"

CDlgOptionsEditorColor::CDlgOptionsEditorColor(wxWindow* parent, const COptionsContext& context, CSettings& s)
    : CDlgOptionsColorList(
          parent, context, wxString::FromUTF8(optiontexts::kTitleColours),
          {{kib::IDS_COLOR_WND, {s.m_windowForeground, s.m_windowBackground, 0}},
           {kib::IDS_COLOR_SELECTION, {s.m_selectionForeground, s.m_selectionBackground, 0}},
           {kib::IDS_COLOR_MARGIN, {s.m_marginForeground, s.m_marginBackground, 0}}},
          COptionDefaults::WindowColours(), false, kForegroundId,
          [&s](const std::vector<CHighlightStyle>& v) {
              s.m_windowForeground = v[0].foreground;
              s.m_windowBackground = v[0].background;
              s.m_selectionForeground = v[1].foreground;
              s.m_selectionBackground = v[1].background;
              s.m_marginForeground = v[2].foreground;
              s.m_marginBackground = v[2].background;
          })
{
}
