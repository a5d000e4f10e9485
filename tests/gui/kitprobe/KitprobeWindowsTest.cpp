// Kitprobe's real windows under Xvfb: texts, buttons, the sorted result
// boxes and what they hand back, the progress window and its animation.
#include "gui/GuiTestMain.h"
#include "kitprobe/KitprobeText.h"
#include "kitprobe/QuestionDlg.h"
#include "kitprobe/SearchAnimation.h"
#include "kitprobe/SearchProgressDlg.h"
#include "kitprobe/SearchResultDlg.h"

#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/stattext.h>

#include <algorithm>
#include <vector>

using kitprobe::Ui;

namespace {

std::vector<wxString> StaticTexts(wxWindow* w)
{
    std::vector<wxString> out;
    for (wxWindow* child : w->GetChildren())
        if (auto* t = dynamic_cast<wxStaticText*>(child))
            out.push_back(t->GetLabel());
    return out;
}

// Clicks a button of a modal dialog once its loop runs.
int ShowAndPress(wxDialog& dlg, int id)
{
    dlg.CallAfter([&dlg, id] {
        wxCommandEvent click(wxEVT_BUTTON, id);
        click.SetEventObject(dlg.FindWindow(id));
        dlg.FindWindow(id)->GetEventHandler()->ProcessEvent(click);
    });
    return dlg.ShowModal();
}

TEST(KitprobeQuestionTest, AsksWithItsTextsAndJaIsTheDefault)
{
    CQuestionDlg dlg(nullptr);
    EXPECT_EQ(dlg.GetTitle(), Ui("Nach JDK suchen"));
    auto* yes = dynamic_cast<wxButton*>(dlg.FindWindow(wxID_OK));
    auto* no = dynamic_cast<wxButton*>(dlg.FindWindow(wxID_CANCEL));
    ASSERT_TRUE(yes && no);
    EXPECT_EQ(yes->GetLabel(), Ui("&Ja"));
    EXPECT_EQ(no->GetLabel(), Ui("&Nein"));
    EXPECT_EQ(dlg.GetDefaultItem(), yes);
    ASSERT_EQ(StaticTexts(&dlg).size(), 1u);
    EXPECT_EQ(StaticTexts(&dlg)[0],
              Ui("Soll jetzt nach einem bereits installierten Sun JDK gesucht werden???\n\n"
                 "Dieser Vorgang kann mehrere Minuten in Anspruch nehmen!\n"
                 "Sie können die Einstellung auch später in den Optionen vornehmen."));
    EXPECT_EQ(ShowAndPress(dlg, wxID_CANCEL), wxID_CANCEL);
    EXPECT_EQ(ShowAndPress(dlg, wxID_OK), wxID_OK);
}

class KitprobeResultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_finds.Add(FIND_COMPILER, "/opt/zulu-8/bin/javac");
        m_finds.Add(FIND_COMPILER, "/opt/Adopt-11/bin/javac");
        m_finds.Add(FIND_COMPILER, "/opt/j\xe4/bin/javac"); // not UTF-8
        m_finds.Add(FIND_INTERPRETER, "/opt/zulu-8/bin/java");
        m_finds.Add(FIND_DOCGENERATOR, "/opt/zulu-8/bin/javadoc");
        m_finds.Add(FIND_DOCUMENTATION, "/opt/zulu-8/docs/index.html");
    }
    CJdkFinds m_finds;
};

TEST_F(KitprobeResultTest, BoxesAreSortedWithTheFirstChosenOrSayNothingFound)
{
    CSearchResultDlg dlg(nullptr, m_finds);
    EXPECT_EQ(dlg.GetTitle(), Ui("Ergebnis"));
    wxComboBox* compiler = dlg.Combo(FIND_COMPILER);
    EXPECT_EQ(compiler->GetId(), CSearchResultDlg::IDC_COMPILER);
    ASSERT_EQ(compiler->GetCount(), 3u);
    EXPECT_EQ(compiler->GetString(0), "/opt/Adopt-11/bin/javac");
    EXPECT_EQ(compiler->GetString(1), Ui("/opt/jä/bin/javac"));
    EXPECT_EQ(compiler->GetString(2), "/opt/zulu-8/bin/javac");
    EXPECT_EQ(compiler->GetSelection(), 0);
    EXPECT_EQ(compiler->GetValue(), "/opt/Adopt-11/bin/javac");

    wxComboBox* viewer = dlg.Combo(FIND_APPLETVIEWER);
    EXPECT_EQ(viewer->GetId(), CSearchResultDlg::IDC_APPLETVIEWER);
    ASSERT_EQ(viewer->GetCount(), 1u);
    EXPECT_EQ(viewer->GetValue(), "nichts gefunden");
    EXPECT_EQ(dlg.Combo(FIND_DOCGENERATOR)->GetId(), CSearchResultDlg::IDC_DOCGENERATOR);
    EXPECT_EQ(dlg.Combo(FIND_DOCUMENTATION)->GetId(), CSearchResultDlg::IDC_DOCUMENTATION);

    std::vector<wxString> texts = StaticTexts(&dlg);
    for (const char* label : {"Gefundene(r) Java Compiler:", "Gefundene(r) Java Interpreter:",
                              "Gefundene JDK Doku(s):",
                              "Alle Einstellungen können zu einem späteren Zeitpunkt im "
                              "Optionen Dialog von KIB geändert\nwerden"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), Ui(label)), texts.end()) << label;
    EXPECT_EQ(dynamic_cast<wxButton*>(dlg.FindWindow(wxID_OK))->GetLabel(), "OK");
    EXPECT_EQ(dynamic_cast<wxButton*>(dlg.FindWindow(wxID_CANCEL))->GetLabel(), "Abbrechen");
}

TEST_F(KitprobeResultTest, ChoicesAreTheBoxTextsWithFoundPathsByteForByte)
{
    CSearchResultDlg dlg(nullptr, m_finds);
    CJdkChoices c = dlg.Choices();
    EXPECT_EQ(c.compiler, "/opt/Adopt-11/bin/javac");
    EXPECT_EQ(c.interpreter, "/opt/zulu-8/bin/java");
    EXPECT_EQ(c.appletViewer, "nichts gefunden");
    EXPECT_EQ(c.docGenerator, "/opt/zulu-8/bin/javadoc");
    EXPECT_EQ(c.documentation, "/opt/zulu-8/docs/index.html");

    dlg.Combo(FIND_COMPILER)->SetSelection(1);
    dlg.Combo(FIND_INTERPRETER)->SetValue(Ui("/home/jörg/jdk/bin/java"));
    dlg.Combo(FIND_APPLETVIEWER)->SetValue("");
    c = dlg.Choices();
    EXPECT_EQ(c.compiler, "/opt/j\xe4/bin/javac");   // the found bytes, not their display
    EXPECT_EQ(c.interpreter, "/home/j\xc3\xb6rg/jdk/bin/java"); // typed: UTF-8
    EXPECT_EQ(c.appletViewer, "");
    EXPECT_EQ(ShowAndPress(dlg, wxID_CANCEL), wxID_CANCEL);
}

TEST(KitprobeProgressTest, HasNoCloseButtonRefusesToCloseAndShowsTheFolder)
{
    auto* dlg = new CSearchProgressDlg(nullptr);
    EXPECT_EQ(dlg->GetTitle(), "Kitprobe");
    EXPECT_FALSE(dlg->HasFlag(wxCLOSE_BOX));
    EXPECT_FALSE(dlg->HasFlag(wxSYSTEM_MENU));
    EXPECT_GE(dlg->GetIcons().GetIconCount(), 2u);
    dlg->Show();
    kibtest::PumpEvents(50);
    EXPECT_FALSE(dlg->Close());
    kibtest::PumpEvents(50);
    EXPECT_TRUE(dlg->IsShown());

    auto* label = dynamic_cast<wxStaticText*>(dlg->FindWindow(CSearchProgressDlg::IDC_FOLDER));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->GetLabel(), "");
    dlg->SetFolder("/usr/lib/jvm/");
    EXPECT_EQ(label->GetLabel(), "/usr/lib/jvm/");
    EXPECT_EQ(dlg->Folder(), "/usr/lib/jvm/");

    dlg->AllowClose();
    dlg->Close();
    kibtest::PumpEvents(50);
}

TEST(KitprobeProgressTest, AnimationLoopsFromTheFirstFrame)
{
    auto* dlg = new CSearchProgressDlg(nullptr);
    dlg->Show();
    CSearchAnimation* anim = dlg->Animation();
    ASSERT_TRUE(anim);
    EXPECT_EQ(anim->GetId(), CSearchProgressDlg::IDC_ANIMATE);
    anim->Play();
    EXPECT_EQ(anim->Frame(), 0);
    long paints = anim->Paints();
    ASSERT_TRUE(kibtest::PumpUntil([&] { return anim->FramesPlayed() > CSearchAnimation::kFrames; },
                                   10000));
    EXPECT_LT(anim->Frame(), CSearchAnimation::kFrames);
    EXPECT_GT(anim->Paints(), paints + 5);
    anim->Stop();
    long played = anim->FramesPlayed();
    kibtest::PumpEvents(3 * CSearchAnimation::kFrameMs);
    EXPECT_EQ(anim->FramesPlayed(), played);
    anim->Play();
    EXPECT_EQ(anim->Frame(), 0);
    dlg->AllowClose();
    dlg->Destroy();
    kibtest::PumpEvents(20);
}

} // namespace
