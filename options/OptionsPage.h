// The base of the options dialog's pages: a panel titled with the page's
// tree text whose controls are bound to values of the dialog's settings
// copy. The bindings fill the controls, check the number fields
// (Validate) and write the values back (TransferDataFromWindow).
#pragma once

#include "controls/ColourTable.h"

#include <wx/checkbox.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>

#include <functional>
#include <string>
#include <vector>

class wxSizer;

// What the pages ask of the world outside the dialog.
struct COptionsContext {
    // A validation message ("KIB", an exclamation box).
    std::function<void(wxWindow* parent, const wxString& text)> message;
    // The file dialog with a preset name ("javac", "*.html"); path holds the
    // field's text on entry and the choice on OK.
    std::function<bool(wxWindow* parent, const wxString& presetName, wxString& path)> chooseFile;
    // The folder browser titled title; path as for chooseFile.
    std::function<bool(wxWindow* parent, const wxString& title, wxString& path)> chooseFolder;
    // The system colour dialog.
    std::function<bool(wxWindow* parent, colours::Colour& colour)> chooseColour;
    // The screen's vertical pixels per inch (font heights).
    int ppi = 96;
};

class COptionsPage : public wxPanel {
public:
    COptionsPage(wxWindow* parent, const wxString& title, const COptionsContext& context);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;
    bool Validate() override;

    const COptionsContext& Context() const { return m_context; }

    // Text of settings strings: file names and other strings in the file
    // system's UTF-8 (other bytes shown as Windows-1252), text for the
    // document (text blocks) in Windows-1252.
    static wxString FromFileBytes(const std::string& bytes);
    static std::string ToFileBytes(const wxString& text);
    static wxString FromDocumentBytes(const std::string& bytes);
    static std::string ToDocumentBytes(const wxString& text);
    // A multi-line text of the document (CR LF, CR or LF line ends) for an
    // edit field, and back with CR LF.
    static wxString FromDocumentLines(const std::string& bytes);
    static std::string ToDocumentLines(const wxString& text);

protected:
    // --- Bindings, in the order their controls are read.
    wxCheckBox* AddCheck(wxWindow* parent, int id, const wxString& label, int& flag);
    // A text field for a settings string (file bytes); unchanged text keeps
    // the stored bytes exactly.
    wxTextCtrl* AddEdit(wxWindow* parent, int id, std::string& value, long style = 0);
    // Radio buttons for value 0..n-1 in label order.
    std::vector<wxRadioButton*> AddRadios(wxWindow* parent, const std::vector<std::pair<int, wxString>>& buttons,
                                          int& value);
    // A number field with its spin button (spin range spinMin..spinMax);
    // the field accepts min..max. Shown clamped into min..max.
    wxTextCtrl* AddNumber(wxWindow* parent, int id, int spinId, int& value, int min, int max, int spinMin,
                          int spinMax, wxSpinButton** spin);
    // A "..." button that runs chooser on field.
    void AddBrowse(wxWindow* button, wxTextCtrl* field, std::function<bool(wxString& path)> chooser);
    // Free bindings for what the helpers do not cover.
    void AddBinding(std::function<void()> load, std::function<void()> store,
              std::function<bool()> validate = {});

    // Shows the message for a refused field, this page and the field
    // selected.
    void Fail(wxTextCtrl* field, const wxString& message);

    // Rows of controls.
    static wxSizer* Row(std::initializer_list<wxWindow*> windows, int gap = 6);

private:
    struct Binding {
        std::function<void()> load;
        std::function<void()> store;
        std::function<bool()> validate;
    };
    std::vector<Binding> m_bindings;
    COptionsContext m_context;
};
