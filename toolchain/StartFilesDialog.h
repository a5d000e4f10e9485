// "Startdateien konfigurieren": the start-file list in a sorted list box,
// with new, change and delete. The caller takes Files() on OK.
#pragma once

#include "toolchain/StartFileList.h"

#include <wx/dialog.h>

#include <functional>
#include <string>
#include <vector>

class wxButton;
class wxListBox;

class CStartFilesDialog : public wxDialog {
public:
    static constexpr int kListId = 1079;
    static constexpr int kNewId = 1080;
    static constexpr int kChangeId = 1081;
    static constexpr int kDeleteId = 1082;

    // "Datei auswählen" with path as the preset; false on cancel.
    using EntryEditor = std::function<bool(wxWindow* parent, wxString& path)>;
    // "Soll dieser Eintrag wirklich gelöscht werden?"; true for Yes.
    using DeleteConfirm = std::function<bool(wxWindow* parent)>;

    // Empty functions: the real dialog 157 and a plain message box.
    CStartFilesDialog(wxWindow* parent, const std::vector<std::string>& files, EntryEditor edit = {},
                      DeleteConfirm confirm = {});

    // The entries in list-box order (full paths as bytes).
    const std::vector<std::string>& Files() const { return m_list.Items(); }
    wxListBox* List() const { return m_box; }

    void NewEntry();
    void ChangeEntry();
    void DeleteEntry();

private:
    void UpdateButtons();
    void Fill();

    toolchain::CStartFileList m_list;
    EntryEditor m_edit;
    DeleteConfirm m_confirm;
    wxListBox* m_box = nullptr;
    wxButton* m_change = nullptr;
    wxButton* m_delete = nullptr;
};
