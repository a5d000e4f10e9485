// The options dialog on a settings copy in a frame of its own, with the
// world outside the dialog scripted, and the steps a user takes in it.
#pragma once

#include "controls/ColourPalettePopup.h"
#include "controls/ColourPicker.h"
#include "gui/GuiTestMain.h"
#include "options/OptionsDialog.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/imagpng.h>
#include <wx/frame.h>
#include <wx/listbox.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace opttest {

// The context's scripted answers and what the dialog asked.
struct CScript {
    std::vector<std::string> messages;
    std::vector<std::string> filePresets;
    std::vector<std::string> folderTitles;
    std::deque<wxString> fileAnswers;   // empty: cancelled
    std::deque<wxString> folderAnswers; // empty: cancelled
    std::deque<colours::Colour> colourAnswers; // empty: cancelled

    COptionsContext Context(int ppi = 96)
    {
        COptionsContext c;
        c.ppi = ppi;
        c.message = [this](wxWindow*, const wxString& text) { messages.push_back(text.utf8_string()); };
        c.chooseFile = [this](wxWindow*, const wxString& preset, wxString& path) {
            filePresets.push_back(preset.utf8_string());
            if (fileAnswers.empty())
                return false;
            path = fileAnswers.front();
            fileAnswers.pop_front();
            return true;
        };
        c.chooseFolder = [this](wxWindow*, const wxString& title, wxString& path) {
            folderTitles.push_back(title.utf8_string());
            if (folderAnswers.empty())
                return false;
            path = folderAnswers.front();
            folderAnswers.pop_front();
            return true;
        };
        c.chooseColour = [this](wxWindow*, colours::Colour& colour) {
            if (colourAnswers.empty())
                return false;
            colour = colourAnswers.front();
            colourAnswers.pop_front();
            return true;
        };
        return c;
    }
};

inline void Click(wxWindow* button)
{
    ASSERT_NE(button, nullptr);
    wxCommandEvent e(wxEVT_BUTTON, button->GetId());
    e.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(e);
}

// A click on a check box: its value flips and its handlers run.
inline void Toggle(wxCheckBox* box)
{
    ASSERT_NE(box, nullptr);
    box->SetValue(!box->GetValue());
    wxCommandEvent e(wxEVT_CHECKBOX, box->GetId());
    e.SetEventObject(box);
    e.SetInt(box->GetValue() ? 1 : 0);
    box->GetEventHandler()->ProcessEvent(e);
}

// A click on a list entry.
inline void Choose(wxListBox* list, int index)
{
    ASSERT_NE(list, nullptr);
    list->SetSelection(index);
    wxCommandEvent e(wxEVT_LISTBOX, list->GetId());
    e.SetEventObject(list);
    e.SetInt(index);
    list->GetEventHandler()->ProcessEvent(e);
}

// Typing into a field (replaces its text; its handlers run).
inline void Type(wxTextCtrl* field, const std::string& utf8)
{
    ASSERT_NE(field, nullptr);
    field->SetValue(wxString::FromUTF8(utf8));
}

// Picks colour-table entry index on a picker through its palette, with the
// keys: open, move to the entry, Enter.
inline void PickColour(CColourPicker* picker, int index)
{
    ASSERT_NE(picker, nullptr);
    picker->OpenPalette();
    ASSERT_TRUE(picker->IsActive());
    CColourPalettePopup* palette = picker->Palette();
    // The first key lands on the chosen entry; step from the first box.
    palette->HandleKey(WXK_RIGHT);
    while (palette->Model().Hovered() != 0)
        palette->HandleKey(WXK_LEFT);
    for (int i = 0; i < index; ++i)
        palette->HandleKey(WXK_RIGHT);
    palette->HandleKey(WXK_RETURN);
    kibtest::PumpEvents(10);
}

// The whole screen as the X server holds it (the toolkit's own screen DC
// does not read back under GTK 3).
inline wxImage ScreenImage()
{
    kibtest::PumpEvents(30);
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    char path[] = "/tmp/kibshotXXXXXX";
    const int fd = mkstemp(path);
    if (fd >= 0)
        close(fd);
    const std::string cmd = std::string("import -window root png:'") + path + "' 2>/dev/null";
    wxImage img;
    if (std::system(cmd.c_str()) == 0)
        img.LoadFile(path, wxBITMAP_TYPE_PNG);
    std::remove(path);
    return img;
}

// The colour of the screen pixel under a window's client point.
inline colours::Colour PixelAt(const wxImage& screen, wxWindow* window, const wxPoint& client)
{
    const wxPoint p = window->ClientToScreen(client);
    if (!screen.IsOk() || p.x < 0 || p.y < 0 || p.x >= screen.GetWidth() || p.y >= screen.GetHeight())
        return 0xFFFFFFFFu;
    return colours::Rgb(screen.GetRed(p.x, p.y), screen.GetGreen(p.x, p.y), screen.GetBlue(p.x, p.y));
}

inline colours::Colour ScreenPixel(wxWindow* window, const wxPoint& client)
{
    return PixelAt(ScreenImage(), window, client);
}

// The screen as a PNG in KIB_SCREENSHOT_DIR, when it is set.
inline void Screenshot(const char* name)
{
    kibtest::PumpEvents(150);
    const char* dir = std::getenv("KIB_SCREENSHOT_DIR");
    if (!dir || !*dir)
        return;
    std::string cmd = std::string("import -window root '") + dir + "/" + name + ".png'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
}

// The tree's items below item: (text, expanded, children) depth first.
inline std::vector<std::string> TreeOutline(wxTreeCtrl* tree, const wxTreeItemId& item, int depth = 0)
{
    std::vector<std::string> lines;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId c = tree->GetFirstChild(item, cookie); c.IsOk(); c = tree->GetNextChild(item, cookie)) {
        std::string line(static_cast<size_t>(depth) * 2, ' ');
        line += tree->GetItemText(c).utf8_string();
        if (tree->ItemHasChildren(c))
            line += tree->IsExpanded(c) ? " [+]" : " [-]";
        lines.push_back(line);
        for (std::string& sub : TreeOutline(tree, c, depth + 1))
            lines.push_back(std::move(sub));
    }
    return lines;
}

class OptionsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new wxFrame(nullptr, wxID_ANY, "options test", wxPoint(0, 0), wxSize(800, 600));
        frame->Show();
        kibtest::PumpEvents(20);
    }
    void TearDown() override
    {
        if (dialog)
            dialog->Destroy();
        frame->Destroy();
        kibtest::PumpEvents(20);
    }
    // The dialog on settings, shown without a modal loop.
    COptionsDialog* Open()
    {
        dialog = new COptionsDialog(frame, settings, script.Context());
        dialog->Show();
        kibtest::PumpEvents(50);
        return dialog;
    }
    template <class T>
    T* Page(COptionsDialog::Page page)
    {
        return dialog->PageAs<T>(page);
    }
    template <class T = wxWindow>
    T* Control(COptionsDialog::Page page, int id)
    {
        wxWindow* w = dialog->GetPage(page)->FindWindow(id);
        return dynamic_cast<T*>(w);
    }
    void Show(COptionsDialog::Page page)
    {
        dialog->SetActivePage(page);
        kibtest::PumpEvents(30);
    }
    // OK as the user presses it; true when the dialog closed with OK.
    bool PressOk()
    {
        dialog->SetReturnCode(0);
        Click(dialog->FindWindow(wxID_OK));
        kibtest::PumpEvents(10);
        return dialog->GetReturnCode() == wxID_OK && !dialog->IsShown();
    }

    wxFrame* frame = nullptr;
    COptionsDialog* dialog = nullptr;
    CSettings settings;
    CScript script;
};

} // namespace opttest
