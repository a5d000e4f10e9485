// The font pages ("Outputfenster", "Schriftart"): a fixed-pitch face and a
// size in points, shown on a sample. The page edits a copy of the stored
// font description and hands the whole description back on OK.
#pragma once

#include "options/OptionsPage.h"
#include "settings/LogFont.h"

class CFontComboBox;
class CSimpleComboBox;
class wxStaticText;

class CDlgOptionsFont : public COptionsPage {
public:
    static constexpr int kFaceId = 1126, kSizeId = 1127, kSampleId = 1086;

    CDlgOptionsFont(wxWindow* parent, const COptionsContext& context, const wxString& title,
                    const wxString& intro, CLogFont& font);

    CFontComboBox* FaceBox() const { return m_face; }
    CSimpleComboBox* SizeBox() const { return m_size; }
    wxStaticText* Sample() const { return m_sample; }
    // The description the sample shows now.
    const CLogFont& Font() const { return m_font; }

private:
    void OnBoxChanged();

    CLogFont& m_target;
    CLogFont m_font;
    CFontComboBox* m_face = nullptr;
    CSimpleComboBox* m_size = nullptr;
    wxStaticText* m_sample = nullptr;
};
