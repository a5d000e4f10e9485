// "Toolmenü konfigurieren": the user tools on a copy of the frame's list,
// a list of names with "&Neu" and "&Löschen...", the fields of the selected
// tool, and the ">" menu of argument macros. The caller takes Tools() on OK.
#pragma once

#include "settings/Settings.h"

#include <wx/dialog.h>

#include <functional>
#include <vector>

class wxButton;
class wxCheckBox;
class wxListBox;
class wxMenu;
class wxRadioButton;
class wxTextCtrl;

class CToolsDialog : public wxDialog {
public:
    enum {
        kListId = 1032,
        kNewId = 1034,
        kDeleteId = 1033,
        kNameId = 1035,
        kProgramId = 1036,
        kBrowseId = 1037,
        kArgumentsId = 1038,
        kMacroId = 1043,
        kStopId = 1028,
        kSaveNoneId = 1104,
        kSaveActiveId = 1105,
        kSaveAllId = 1106,
    };

    // "Wollen Sie den Eintrag wirklich löschen"; true for Yes.
    using DeleteConfirm = std::function<bool(wxWindow* parent)>;
    // The file dialog for the program; path holds the field on entry.
    using ProgramChooser = std::function<bool(wxWindow* parent, wxString& path)>;
    // Shows the macro menu at a point of the dialog; the chosen command id
    // (a design number, not a wx id) or -1.
    using MacroMenu = std::function<int(wxWindow* parent, wxMenu& menu, const wxPoint& at)>;

    CToolsDialog(wxWindow* parent, const std::vector<CToolEntry>& tools, DeleteConfirm confirm,
                 ProgramChooser chooseProgram, MacroMenu macroMenu = {});

    // The dialog's tools, in its order (valid after OK).
    const std::vector<CToolEntry>& Tools() const { return m_tools; }

    // What the buttons do.
    void NewEntry();
    void DeleteEntry();
    void BrowseProgram();
    void ShowMacroMenu();
    // Appends a macro of menu 145 to the end of the arguments.
    void AppendMacro(int command);

    wxListBox* List() const { return m_list; }
    wxTextCtrl* NameField() const { return m_name; }
    wxTextCtrl* ProgramField() const { return m_program; }
    wxTextCtrl* ArgumentsField() const { return m_args; }
    wxCheckBox* StopBox() const { return m_stop; }
    wxRadioButton* SaveButton(int mode) const { return m_save[mode]; }

    // The macro text of a menu 145 command ("" for another id).
    static const char* MacroText(int command);

private:
    void SelectionChanged();
    void StoreFields(CToolEntry& tool) const;
    void LoadFields(const CToolEntry& tool);
    void EnableDetails(bool on);
    void OnOk();

    std::vector<CToolEntry> m_tools;
    int m_previous = -1; // the tool whose fields the controls show
    DeleteConfirm m_confirm;
    ProgramChooser m_chooseProgram;
    MacroMenu m_macroMenu;

    wxListBox* m_list = nullptr;
    wxButton* m_delete = nullptr;
    wxTextCtrl* m_name = nullptr;
    wxTextCtrl* m_program = nullptr;
    wxButton* m_browse = nullptr;
    wxTextCtrl* m_args = nullptr;
    wxButton* m_macro = nullptr;
    wxCheckBox* m_stop = nullptr;
    wxRadioButton* m_save[3] = {};
    std::vector<wxWindow*> m_details;
};
