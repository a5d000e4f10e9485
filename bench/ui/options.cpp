// The options dialog under X, in process: from construction until the
// dialog is painted, next to an empty wx dialog of the same size; and OK
// applied to 20 open editors of 10,000 lines each (colours, font, settings
// written), next to one repaint of the same 20 views.
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/default/bench/bench_ui_options [rounds]
#include "BenchRow.h"
#include "WxStart.h"
#include "app/KibApp.h"
#include "app/KibDoc.h"
#include "app/KibView.h"
#include "app/MainFrame.h"
#include "app/MainFrameOptions.h"
#include "options/DlgOptionsGUI.h"
#include "options/OptionsDialog.h"
#include "resources/CommandIds.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/treectrl.h>
#include <wx/dialog.h>
#include <wx/fontenum.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

void Pump()
{
    for (int i = 0; i < 20; ++i) {
        wxTheApp->ProcessPendingEvents();
        wxYield();
    }
}

// Paints whatever of window and its children is waiting, synchronously,
// then waits for the X server to have taken it (a round trip).
void PaintNow(wxWindow* window)
{
    window->Update();
    for (wxWindow* child : window->GetChildren())
        if (child->IsShown())
            PaintNow(child);
}

void FinishPaint(wxWindow* window)
{
    PaintNow(window);
    (void)wxGetMousePosition();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Print(const char* what, double median, const char* floorName, double floor, const benchrow::Target& target)
{
    std::printf("%-40s median %8.2f ms | %-28s %8.2f ms  ratio %5.2f | target %s\n", what, median, floorName, floor,
                floor > 0 ? median / floor : 0.0, target.text.c_str());
    benchrow::Row(std::string("options: ") + what, median, "ms", floorName, floor, target);
}

std::string MakeJava(int lines, int seed)
{
    std::string out;
    out.reserve(static_cast<size_t>(lines) * 48);
    char buf[160];
    for (int i = 0; i < lines; ++i) {
        std::snprintf(buf, sizeof buf, "    int value%d = compute(%d, \"text\"); // note %d\r\n", i, i + seed, i);
        out += buf;
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 15;
    char tmpl[] = "/tmp/kibbenchoptXXXXXX";
    const std::string dir = std::string(mkdtemp(tmpl)) + "/";
    setenv("XDG_CONFIG_HOME", (dir + "cfg").c_str(), 1);
    {
        std::ofstream param(dir + "kibparam.xml", std::ios::binary);
        param << "<KIBPARAMS>\r\n<GUI>\r\n<STARTUP>\r\n<SHOWSPLASH>0</SHOWSPLASH>\r\n"
                 "<EDITORTABS>0</EDITORTABS>\r\n</STARTUP>\r\n</GUI>\r\n</KIBPARAMS>\r\n";
    }
    if (!kibbench::StartBenchWx(argc, argv))
        return 2;
    auto kib = std::make_unique<CKibApp>();
    if (!kib->InitInstance({dir + "kib"})) {
        std::fprintf(stderr, "the application did not start\n");
        return 1;
    }
    CMainFrame* frame = CMainFrame::Instance();
    frame->SetSize(0, 0, 1260, 1000);
    Pump();

    // --- Opening the dialog until it is painted, and the empty dialog.
    COptionsContext context;
    context.ppi = frame->PixelsPerInch();
    const int dialogRounds = std::getenv("KIB_BENCH_APPLY_ONLY") ? 1 : rounds;
    std::vector<double> open, bare, built, faces, treeAndPage;
    CSettings pageSettings = frame->Settings();
    wxSize size;
    for (int r = 0; r < dialogRounds; ++r) {
        auto t0 = Clock::now();
        (void)wxFontEnumerator::GetFacenames(wxFONTENCODING_SYSTEM, true);
        faces.push_back(Ms(Clock::now() - t0));

        t0 = Clock::now();
        auto* dialog = new COptionsDialog(frame, frame->Settings(), context);
        built.push_back(Ms(Clock::now() - t0));
        dialog->Show();
        FinishPaint(dialog);
        open.push_back(Ms(Clock::now() - t0));
        size = dialog->GetSize();
        dialog->Destroy();
        Pump();

        // The floor under the sheet: a plain dialog holding the same tree
        // items, the same first page and the two buttons.
        t0 = Clock::now();
        auto* plain = new wxDialog(frame, wxID_ANY, "Optionen", wxDefaultPosition, size);
        {
            auto* tree = new wxTreeCtrl(plain, wxID_ANY, wxDefaultPosition, wxSize(170, -1),
                                        wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT | wxBORDER_SUNKEN);
            const wxTreeItemId root = tree->AddRoot(wxString());
            wxTreeItemId group;
            for (int i = 0; i < COptionsDialog::PAGE_COUNT; ++i) {
                const bool opens = i == 0 || i == 3 || i == 6;
                const wxTreeItemId item =
                    tree->AppendItem(opens || !group.IsOk() ? root : group, wxString::Format("Seite %d", i));
                if (opens)
                    group = item;
            }
            tree->ExpandAll();
            auto* page = new CDlgOptionsGUI(plain, context, pageSettings);
            auto* body = new wxBoxSizer(wxHORIZONTAL);
            body->Add(tree, 0, wxEXPAND | wxRIGHT, 10);
            body->Add(page, 1, wxEXPAND);
            auto* top = new wxBoxSizer(wxVERTICAL);
            top->Add(body, 1, wxEXPAND | wxALL, 10);
            auto* buttons = new wxBoxSizer(wxHORIZONTAL);
            buttons->AddStretchSpacer();
            buttons->Add(new wxButton(plain, wxID_OK, "OK"), 0, wxRIGHT, 8);
            buttons->Add(new wxButton(plain, wxID_CANCEL, "Abbrechen"));
            top->Add(buttons, 0, wxEXPAND | wxALL, 10);
            plain->SetSizer(top);
            plain->Layout();
        }
        plain->Show();
        FinishPaint(plain);
        treeAndPage.push_back(Ms(Clock::now() - t0));
        plain->Destroy();
        Pump();

        t0 = Clock::now();
        auto* empty = new wxDialog(frame, wxID_ANY, "Optionen", wxDefaultPosition, size);
        empty->Show();
        FinishPaint(empty);
        bare.push_back(Ms(Clock::now() - t0));
        empty->Destroy();
        Pump();
    }
    std::printf("dialog %dx%d, %d rounds\n", size.x, size.y, dialogRounds);
    Print("options dialog open until painted", Median(open), "empty wx dialog, same size", Median(bare),
          {3.0, 0, false, "<= 3x"});
    Print("plain dialog: tree, first page, buttons", Median(treeAndPage), "empty wx dialog, same size",
          Median(bare), {0, 0, false, "(floor of native widgets)"});
    std::printf("  options dialog against that floor: ratio %.2f\n", Median(open) / Median(treeAndPage));
    std::printf("  of which construction %.2f ms; one enumeration of the fixed-pitch faces %.2f ms\n", Median(built),
                Median(faces));

    // --- OK with 20 editors of 10,000 lines.
    if (std::getenv("KIB_BENCH_DIALOG_ONLY"))
        return 0;
    std::vector<CKibView*> views;
    for (int i = 0; i < 20; ++i) {
        const std::string path = dir + "File" + std::to_string(i) + ".java";
        std::ofstream(path, std::ios::binary) << MakeJava(10000, i);
        CKibDoc* doc = kib->Docs().OpenDocumentFile(path);
        if (!doc) {
            std::fprintf(stderr, "cannot open %s\n", path.c_str());
            return 1;
        }
        views.push_back(doc->GetFirstView());
    }
    frame->RouteCommand(kib::ID_WINDOW_TILE_VERT);
    Pump();
    for (CKibView* v : views)
        FinishPaint(v);

    std::vector<double> apply, repaint;
    for (int r = 0; r < rounds; ++r) {
        // Another background, keyword colour and font size each round, so
        // that every view has work to do.
        CSettings edited = frame->Settings();
        edited.m_windowBackground = (r % 2) ? 0xFFFFFFu : 0xE0FFFFu;
        edited.m_highlight[HL_KEYWORD].foreground = (r % 2) ? 0xFF0000u : 0x008000u;
        edited.m_editorFont.lfHeight = (r % 2) ? -13 : -14;
        auto t0 = Clock::now();
        ApplyOptions(*frame, edited);
        for (CKibView* v : views)
            PaintNow(v);
        (void)wxGetMousePosition();
        apply.push_back(Ms(Clock::now() - t0));
        Pump();

        t0 = Clock::now();
        for (CKibView* v : views)
            v->Refresh();
        for (CKibView* v : views)
            PaintNow(v);
        (void)wxGetMousePosition();
        repaint.push_back(Ms(Clock::now() - t0));
        Pump();
    }
    std::printf("20 views of 10000 lines, each %dx%d\n", views[0]->GetClientSize().x, views[0]->GetClientSize().y);
    Print("OK applied to 20 editors (with save)", Median(apply), "one repaint of the 20 views", Median(repaint),
          {0, 100.0, false, "< 100 ms"});

    kib->Docs().CloseAllDocuments();
    frame->Destroy();
    Pump();
    kib->ExitInstance();
    kib.reset();
    wxEntryCleanup();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
