#include "options/OptionsDialog.h"

#include "options/DlgOptionsEditor.h"
#include "options/DlgOptionsEditorColor.h"
#include "options/DlgOptionsEditorFont.h"
#include "options/DlgOptionsEditorSyntax.h"
#include "options/DlgOptionsEditorTextblocks.h"
#include "options/DlgOptionsFullscreen.h"
#include "options/DlgOptionsGUI.h"
#include "options/DlgOptionsJavaCompiler.h"
#include "options/DlgOptionsJavaInterpreter.h"
#include "options/DlgOptionsJavaJDK.h"
#include "options/DlgOptionsOutputFont.h"
#include "resources/Artwork.h"
#include "resources/MenuBuilder.h"
#include "resources/StringTable.h"

COptionsDialog::COptionsDialog(wxWindow* parent, const CSettings& settings, const COptionsContext& context)
    : CTreePropertySheet(kTreeWidth, kib::KibText(kib::IDS_OPTIONS_CAPTION), parent, 0), m_edited(settings)
{
    SetCaptionColours(16711680, 12632256, 16777215, 0);
    SetFrame3D(false);
    SetRow(true, 0, 8, 0);

    using namespace kib;
    wxWindow* p = PageParent();
    CSettings& s = m_edited;
    // The table of pages: tree placement flags and icons.
    AddPage(TPS_OPEN_GROUP | TPS_EXPANDED, new CDlgOptionsGUI(p, context, s), OptionsPageIcon(kIconOptionsGui));
    AddPage(TPS_LAST_CHILD, new CDlgOptionsFullscreen(p, context, s), OptionsPageIcon(kIconOptionsFullscreen));
    AddPage(TPS_CHILD, new CDlgOptionsOutputFont(p, context, s.m_outputFont), OptionsPageIcon(kIconOptionsOutput));
    AddPage(TPS_OPEN_GROUP | TPS_EXPANDED, new CDlgOptionsJavaJDK(p, context, s), OptionsPageIcon(kIconOptionsJdk));
    AddPage(TPS_CHILD, new CDlgOptionsJavaCompiler(p, context, s), OptionsPageIcon(kIconOptionsCompiler));
    AddPage(TPS_LAST_CHILD, new CDlgOptionsJavaInterpreter(p, context, s),
            OptionsPageIcon(kIconOptionsInterpreter));
    AddPage(TPS_OPEN_GROUP | TPS_EXPANDED, new CDlgOptionsEditor(p, context, s), OptionsPageIcon(kIconOptionsEditor));
    AddPage(TPS_CHILD, new CDlgOptionsEditorColor(p, context, s), OptionsPageIcon(kIconOptionsColours));
    AddPage(TPS_CHILD, new CDlgOptionsEditorFont(p, context, s.m_editorFont), OptionsPageIcon(kIconOptionsFont));
    AddPage(TPS_CHILD, new CDlgOptionsEditorSyntax(p, context, s), OptionsPageIcon(kIconOptionsSyntax));
    AddPage(TPS_LAST_CHILD, new CDlgOptionsEditorTextblocks(p, context, s),
            OptionsPageIcon(kIconOptionsTextblocks));
}
