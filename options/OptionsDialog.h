// "Optionen": the tree property sheet with the eleven option pages, working
// on a copy of the settings. The caller takes Edited() after OK.
#pragma once

#include "controls/TreePropertySheet.h"
#include "options/OptionsPage.h"
#include "settings/Settings.h"

class COptionsDialog : public CTreePropertySheet {
public:
    // Pages in tree order.
    enum Page {
        PAGE_GUI,
        PAGE_FULLSCREEN,
        PAGE_OUTPUT_FONT,
        PAGE_JDK,
        PAGE_COMPILER,
        PAGE_INTERPRETER,
        PAGE_EDITOR,
        PAGE_COLOURS,
        PAGE_EDITOR_FONT,
        PAGE_SYNTAX,
        PAGE_TEXTBLOCKS,
        PAGE_COUNT
    };
    static constexpr int kTreeWidth = 170;

    COptionsDialog(wxWindow* parent, const CSettings& settings, const COptionsContext& context);

    // The settings as the pages left them (after OK: as confirmed).
    const CSettings& Edited() const { return m_edited; }
    template <class T>
    T* PageAs(Page page)
    {
        return dynamic_cast<T*>(GetPage(page));
    }

private:
    CSettings m_edited;
};
