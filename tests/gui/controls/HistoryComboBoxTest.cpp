// The history combo box as a real window: loading and saving its registry
// history, and completing typed text, with synthesized and real key presses.
#include "controls/HistoryComboBox.h"

#include "gui/GuiTestMain.h"
#include "platform/UserStore.h"
#include "settings/RegistryKey.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/uiaction.h>

#include <cstdlib>

namespace {

std::string Key(const std::string& section)
{
    return std::string(kKibRegistryKey) + "\\" + section;
}

class HistoryComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::CUserStore::Instance().SetFile(m_dir.File("registry"));
        m_frame = new wxFrame(nullptr, wxID_ANY, "Argumente für Start", wxPoint(40, 40), wxSize(420, 120));
        auto* panel = new wxPanel(m_frame);
        m_combo = new CHistoryComboBox(panel, 1102, wxDefaultPosition, wxSize(360, -1));
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(m_combo, 0, wxALL | wxEXPAND, 12);
        panel->SetSizer(sizer);
        m_frame->Show();
        kibtest::PumpEvents(100);
    }
    void TearDown() override
    {
        m_frame->Destroy();
        kibtest::PumpEvents(50);
        platform::CUserStore::Instance().SetFile(m_dir.File("unused"));
    }
    void WriteHistory()
    {
        CRegistryKey key(HKEY_CURRENT_USER, Key("Arguments"), true);
        key.WriteString("ArgKey0", "Help me");
        key.WriteString("ArgKey1", "hello world");
        key.WriteString("ArgKey2", "-verbose in.txt");
        key.WriteString("LastEntry", "HELLO WORLD");
    }
    void KeyDown(int code)
    {
        wxKeyEvent key(wxEVT_KEY_DOWN);
        key.m_keyCode = code;
        key.SetEventObject(m_combo);
        m_combo->GetEventHandler()->ProcessEvent(key);
    }
    void Screenshot(const std::string& name)
    {
        // Into the folder the test runs in (the build's tests folder under ctest).
        std::string cmd = "mkdir -p screenshots && import -window root 'screenshots/" + name + ".png'";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
    }

    kibtest::CTempDir m_dir;
    wxFrame* m_frame = nullptr;
    CHistoryComboBox* m_combo = nullptr;
};

} // namespace

TEST_F(HistoryComboBoxTest, LoadFillsTheListAndRestoresTheLastEntry)
{
    WriteHistory();
    m_combo->LoadHistory("\\Arguments", "ArgKey", true, "LastEntry");
    ASSERT_EQ(m_combo->GetCount(), 3u);
    EXPECT_EQ(m_combo->GetString(0), "Help me");
    EXPECT_EQ(m_combo->GetString(2), "-verbose in.txt");
    EXPECT_EQ(m_combo->GetSelection(), 1);
    EXPECT_EQ(m_combo->GetValue(), "hello world");
    m_combo->Popup();
    kibtest::PumpEvents(300);
    Screenshot("history_combo_list");
    m_combo->Dismiss();
    kibtest::PumpEvents(100);
}

TEST_F(HistoryComboBoxTest, SaveAddsTheTypedTextOnTopAndWritesTheRegistry)
{
    WriteHistory();
    m_combo->LoadHistory("\\Arguments", "ArgKey", true, "LastEntry");
    m_combo->ChangeValue(wxString::FromUTF8("  Größe -v "));
    ASSERT_TRUE(m_combo->SaveHistory(true));
    EXPECT_EQ(m_combo->GetString(0), wxString::FromUTF8("Größe -v"));
    EXPECT_EQ(m_combo->GetCount(), 4u);
    EXPECT_EQ(m_combo->GetValue(), wxString::FromUTF8("Größe -v"));
    CRegistryKey key(HKEY_CURRENT_USER, Key("Arguments"), false);
    EXPECT_EQ(key.ReadString("ArgKey0"), "Gr\xC3\xB6\xC3\x9F" "e -v") << "stored as UTF-8";
    EXPECT_EQ(key.ReadString("ArgKey1"), "Help me");
    EXPECT_EQ(key.ReadString("LastEntry"), "Gr\xC3\xB6\xC3\x9F" "e -v");

    m_combo->AddText("hello WORLD");
    EXPECT_EQ(m_combo->GetString(0), "hello WORLD");
    EXPECT_EQ(m_combo->GetCount(), 4u) << "the older spelling went";
}

TEST_F(HistoryComboBoxTest, TypedTextIsCompletedWithTheRestSelected)
{
    WriteHistory();
    m_combo->LoadHistory("\\Arguments", "ArgKey", true, "LastEntry");
    m_combo->ChangeValue("");
    KeyDown('H');
    m_combo->SetValue("hel"); // raises the edit change as typing does
    m_combo->SetInsertionPointEnd();
    ASSERT_TRUE(kibtest::PumpUntil([&] { return m_combo->GetValue() == "Help me"; }, 2000))
        << m_combo->GetValue().utf8_string();
    long from = -1, to = -1;
    m_combo->GetSelection(&from, &to);
    EXPECT_EQ(from, 3);
    EXPECT_EQ(to, 7);

    // After Backspace nothing is completed.
    KeyDown(WXK_BACK);
    m_combo->SetValue("hello");
    kibtest::PumpEvents(100);
    EXPECT_EQ(m_combo->GetValue(), "hello");
    KeyDown('o');
    m_combo->SetValue("hello");
    ASSERT_TRUE(kibtest::PumpUntil([&] { return m_combo->GetValue() == "hello world"; }, 2000));
}

// The control counts characters; the list holds UTF-8: the completed rest
// starts behind the typed characters, not behind their bytes.
TEST_F(HistoryComboBoxTest, UmlautsCompleteWithTheRestSelectedInCharacters)
{
    m_combo->LoadHistory("\\Arguments", "ArgKey", true, "LastEntry");
    m_combo->AddText(wxString::FromUTF8("Größe -v"));
    m_combo->ChangeValue("");
    KeyDown('G');
    m_combo->SetValue(wxString::FromUTF8("grö"));
    m_combo->SetInsertionPointEnd();
    ASSERT_TRUE(kibtest::PumpUntil([&] { return m_combo->GetValue() == wxString::FromUTF8("Größe -v"); }, 2000))
        << m_combo->GetValue().utf8_string();
    long from = -1, to = -1;
    m_combo->GetSelection(&from, &to);
    EXPECT_EQ(from, 3);
    EXPECT_EQ(to, 8);
}

TEST_F(HistoryComboBoxTest, RealKeyPressesCompleteInTheNativeControl)
{
    WriteHistory();
    m_combo->LoadHistory("\\Arguments", "ArgKey", false);
    m_combo->ChangeValue("");
    m_frame->Raise();
    wxUIActionSimulator sim;
    wxPoint centre = m_combo->GetScreenRect().GetLeftTop() + wxPoint(40, m_combo->GetSize().y / 2);
    sim.MouseMove(centre);
    sim.MouseClick();
    kibtest::PumpEvents(200);
    m_combo->SetFocus();
    kibtest::PumpEvents(100);
    sim.Text("-v");
    bool completed = kibtest::PumpUntil([&] { return m_combo->GetValue() == "-verbose in.txt"; }, 3000);
    kibtest::PumpEvents(100);
    Screenshot("history_combo_completed");
    ASSERT_TRUE(completed) << "value: " << m_combo->GetValue().utf8_string();
    long from = -1, to = -1;
    m_combo->GetSelection(&from, &to);
    EXPECT_EQ(from, 2);
    EXPECT_EQ(to, 15);
    // Typing on replaces the selected rest, and completes again.
    sim.Text("erbose o");
    kibtest::PumpEvents(300);
    EXPECT_EQ(m_combo->GetValue(), "-verbose o");
    sim.Char(WXK_BACK);
    kibtest::PumpEvents(200);
    EXPECT_EQ(m_combo->GetValue(), "-verbose ");
    sim.Text("i");
    kibtest::PumpEvents(300);
    EXPECT_EQ(m_combo->GetValue(), "-verbose in.txt");
}
