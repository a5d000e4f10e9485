// The application started in-process with scripted dialogs that drive the
// real find, replace and find-in-files windows inside their modal loops.
#pragma once

#include "gui/app/ShellTestSupport.h"

#include "app/KibView.h"
#include "platform/UserStore.h"
#include "settings/RegistryKey.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/radiobut.h>

#include <functional>
#include <string>
#include <vector>

namespace findtest {

class CFindDialogs : public kibtest::CScriptedDialogs {
public:
    // Runs inside the dialog's modal loop; a dialog the script leaves open
    // is closed as Escape would close it.
    std::function<void(wxDialog&)> script;
    std::vector<std::string> dialogsRun; // captions
    std::vector<int> endCodes;

    int RunModal(wxDialog& dialog) override
    {
        dialogsRun.push_back(dialog.GetTitle().utf8_string());
        auto run = script;
        wxTheApp->CallAfter([&dialog, run] {
            if (run)
                run(dialog);
            if (dialog.IsModal()) {
                wxCommandEvent cancel(wxEVT_BUTTON, wxID_CANCEL);
                cancel.SetEventObject(dialog.FindWindow(wxID_CANCEL));
                dialog.ProcessWindowEvent(cancel);
            }
        });
        int code = dialog.ShowModal();
        endCodes.push_back(code);
        return code;
    }

    std::vector<std::string> folderTitles;
    std::string folderPreselected;
    std::string folderAnswer;
    bool ChooseFolder(wxWindow*, const wxString& title, wxString& path) override
    {
        folderTitles.push_back(title.utf8_string());
        folderPreselected = path.utf8_string();
        if (folderAnswer.empty())
            return false;
        path = wxString::FromUTF8(folderAnswer);
        return true;
    }
};

// A button press as the user makes it.
inline void Click(wxWindow* button)
{
    ASSERT_NE(button, nullptr);
    wxCommandEvent e(wxEVT_BUTTON, button->GetId());
    e.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(e);
}

inline void Check(wxCheckBox* box, bool on)
{
    box->SetValue(on);
}

inline void Choose(wxRadioButton* button)
{
    button->SetValue(true);
}

inline std::string Utf8(const wxString& s)
{
    return s.utf8_string();
}

class FindTest : public kibtest::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        platform::CUserStore::Instance().SetFile(dir + "registry");
        SetUserDialogs(&findDialogs);
    }
    void TearDown() override
    {
        ShellTest::TearDown();
        platform::CUserStore::Instance().SetFile(dir + "registry.unused");
    }

    // Starts Kib with one document holding text (CR LF lines) and returns its view.
    CKibView* StartWith(const std::string& text, const std::string& name = "A.java")
    {
        if (!Start())
            return nullptr;
        CKibDoc* doc = Open(File(name, text));
        if (!doc)
            return nullptr;
        kibtest::PumpEvents(30);
        return doc->GetFirstView();
    }

    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const auto& m : findDialogs.asked)
            texts.push_back(m.text);
        return texts;
    }

    static std::string LineOf(CKibView* view, int line)
    {
        const char* chars = view->LineChars(line);
        return std::string(chars ? chars : "", static_cast<size_t>(view->LineLength(line)));
    }
    static std::string Selected(CKibView* view)
    {
        TextPos s, e;
        view->GetOrderedSelection(s, e);
        std::string text;
        view->CopyRange(s, e, text);
        return text;
    }
    static void Select(CKibView* view, TextPos from, TextPos to)
    {
        view->PutCaret(from);
        view->MoveCaretTo(to);
        view->SetSelectionRange(from, to);
    }

    static void WriteDword(const std::string& key, const std::string& name, uint32_t value)
    {
        CRegistryKey k(HKEY_CURRENT_USER, std::string(kKibRegistryKey) + "\\" + key, true);
        k.WriteDword(name, value);
    }
    static bool ReadDword(const std::string& key, const std::string& name, uint32_t& value)
    {
        CRegistryKey k(HKEY_CURRENT_USER, std::string(kKibRegistryKey) + "\\" + key, false);
        return k.IsOpen() && k.ReadDword(name, value);
    }
    static std::string ReadString(const std::string& key, const std::string& name)
    {
        CRegistryKey k(HKEY_CURRENT_USER, std::string(kKibRegistryKey) + "\\" + key, false);
        return k.IsOpen() ? k.ReadString(name) : std::string();
    }
    static bool KeyExists(const std::string& key)
    {
        CRegistryKey k(HKEY_CURRENT_USER, std::string(kKibRegistryKey) + "\\" + key, false);
        return k.IsOpen();
    }

    CFindDialogs findDialogs;
};

} // namespace findtest
