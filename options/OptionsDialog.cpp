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
#include "options/OptionsTexts.h"
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
    using namespace optiontexts;
    CSettings& s = m_edited;
    // Each page builds its controls when it is first shown: opening the
    // dialog costs one page, not eleven. A page never shown leaves its
    // settings as they were.
    auto add = [this, &context](int flags, const char* title, int icon, auto make) {
        AddPage(
            flags, [context, make](wxWindow* parent) -> wxWindow* { return make(parent, context); },
            OptionsPageIcon(icon), wxString::FromUTF8(title));
    };
    // The table of pages: tree placement flags, titles and icons.
    add(TPS_OPEN_GROUP | TPS_EXPANDED, kTitleGui, kIconOptionsGui,
        [&s](wxWindow* p, const COptionsContext& c) { return new CDlgOptionsGUI(p, c, s); });
    add(TPS_LAST_CHILD, kTitleFullscreen, kIconOptionsFullscreen,
        [&s](wxWindow* p, const COptionsContext& c) { return new CDlgOptionsFullscreen(p, c, s); });
    add(TPS_CHILD, kTitleOutputFont, kIconOptionsOutput,
        [&s](wxWindow* p, const COptionsContext& c) { return new CDlgOptionsOutputFont(p, c, s.m_outputFont); });
    add(TPS_OPEN_GROUP | TPS_EXPANDED, kTitleJdk, kIconOptionsJdk,
        [&s](wxWindow* p, const COptionsContext& c) { return new CDlgOptionsJavaJDK(p, c, s); });
    add(TPS_CHILD, kTitleCompiler, kIconOptionsCompiler,
        [&s](wxWindow* p, const COptionsContext& c) { return new CDlgOptionsJavaCompiler(p, c, s); });
    add(TPS_LAST_CHILD, kTitleInterpreter, kIconOptionsInterpreter,
        [&s](wxWindow* p, const COptionsContext& c) { return new CDlgOptionsJavaInterpreter(p, c, s); });
    add(TPS_OPEN_GROUP | TPS_EXPANDED, kTitleEditor, kIconOptionsEditor,
        [&s](wxWindow* p, const COptionsContext& c) { return new CDlgOptionsEditor(p, c, s); });
    add(TPS_CHILD, kTitleColours, kIconOptionsColours,
        [&s](wxWindow* p, const COptionsContext& c) { return new CDlgOptionsEditorColor(p, c, s); });
    add(TPS_CHILD, kTitleEditorFont, kIconOptionsFont,
        [&s](wxWindow* p, const COptionsContext& c) { return new CDlgOptionsEditorFont(p, c, s.m_editorFont); });
    add(TPS_CHILD, kTitleSyntax, kIconOptionsSyntax,
        [&s](wxWindow* p, const COptionsContext& c) { return new CDlgOptionsEditorSyntax(p, c, s); });
    add(TPS_LAST_CHILD, kTitleTextblocks, kIconOptionsTextblocks,
        [&s](wxWindow* p, const COptionsContext& c) { return new CDlgOptionsEditorTextblocks(p, c, s); });

    // The page area is as large as the largest page. That takes every page
    // built once; the size is kept for as long as nothing it depends on
    // (screen resolution, the two sample fonts) changes.
    struct Measure {
        int ppi = 0;
        CLogFont editorFont, outputFont;
        wxSize size = wxDefaultSize;
    };
    static Measure last;
    if (!last.size.IsFullySpecified() || last.ppi != context.ppi || !(last.editorFont == s.m_editorFont) ||
        !(last.outputFont == s.m_outputFont))
        last = Measure{context.ppi, s.m_editorFont, s.m_outputFont, MeasurePageArea()};
    SetPageAreaSize(last.size);
}
