#include "kitprobe/QuestionDlg.h"

#include "kitprobe/KitprobeArt.h"
#include "kitprobe/KitprobeText.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/stattext.h>

using kitprobe::Ui;

CQuestionDlg::CQuestionDlg(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, Ui("Nach JDK suchen"), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX)
{
    SetIcons(kitprobe::ProgramIcons());
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(
                 this, wxID_ANY,
                 Ui("Soll jetzt nach einem bereits installierten Sun JDK gesucht werden???\n"
                    "\n"
                    "Dieser Vorgang kann mehrere Minuten in Anspruch nehmen!\n"
                    "Sie können die Einstellung auch später in den Optionen vornehmen.")),
             0, wxALL, 14);
    top->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, 10);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* yes = new wxButton(this, wxID_OK, Ui("&Ja"));
    auto* no = new wxButton(this, wxID_CANCEL, Ui("&Nein"));
    buttons->Add(yes, 0, wxRIGHT, 8);
    buttons->Add(no);
    top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
    yes->SetDefault();
    yes->SetFocus();
    SetEscapeId(wxID_CANCEL);

    SetSizerAndFit(top);
    CentreOnScreen();
}
