// Painting an output pane full of tabbed lines (stack traces, compiler
// carets), selected and scrolled sideways into the middle of tabs, beside the
// peer: the same lines with the tabs spelled out as blanks, which paint the
// same cells. Prints the time per paint of both and their ratio; tabs may
// cost at most half again what the blanks cost, and a paint at most a frame.
//   xvfb-run -a build/default/bench/bench_ui_output_pane_paint [paints]
#include "BenchRow.h"
#include "WxStart.h"
#include "controls/OutputPane.h"
#include "support/SpelledTabs.h"

#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/sizer.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Milliseconds per paint of the pane's visible lines into a bitmap.
double PaintMs(COutputPane* pane, int paints)
{
    wxSize size = pane->GetClientSize();
    wxBitmap bmp(size.x, size.y);
    wxMemoryDC dc(bmp);
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < paints; ++i)
        pane->Paint(dc);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / paints;
}

void ScrollTo(COutputPane* pane, int column)
{
    wxScrollWinEvent event(wxEVT_SCROLLWIN_THUMBTRACK, column, wxHORIZONTAL);
    event.SetEventObject(pane);
    pane->GetEventHandler()->ProcessEvent(event);
}

} // namespace

int main(int argc, char** argv)
{
    const int paints = argc > 1 ? std::max(1, std::atoi(argv[1])) : 400;
    if (!kibbench::StartBenchWx(argc, argv))
        return 1;
    wxEventLoop loop;
    wxEventLoopBase::SetActive(&loop);
    auto pump = [&] {
        while (loop.Pending())
            loop.Dispatch();
        loop.ProcessIdle();
    };
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Ausgaben", wxDefaultPosition, wxSize(1000, 700));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* tabs = new COutputPane(frame, wxID_ANY);
    auto* blanks = new COutputPane(frame, wxID_ANY);
    sizer->Add(tabs, 1, wxEXPAND);
    sizer->Add(blanks, 1, wxEXPAND);
    frame->SetSizer(sizer);
    frame->Show();
    pump();

    // Long lines, most of them with several tabs, wider than the pane.
    std::string withTabs, withBlanks;
    const int lineCount = 2000;
    for (int n = 0; n < lineCount; ++n) {
        std::string line;
        switch (n % 4) {
        case 0: line = "\tat pkg.Klasse" + std::to_string(n) + ".methode(Klasse.java:" + std::to_string(n) + ")"; break;
        case 1: line = "A.java:" + std::to_string(n) + ": error:\t';' expected\tbei\t\tcall(a,\tb)"; break;
        case 2: line = "\t\t       ^"; break;
        default: line = "spalte\t1\tspalte\t2\tspalte\t3\tspalte\t4\tspalte\t5\tspalte\t6\tspalte\t7\tspalte\t8";
        }
        for (int k = 0; k < 4; ++k)
            line += "\tweiter " + std::to_string(k) + "\tund\tnoch\tmehr";
        withTabs += line + "\r\n";
        withBlanks += kibtest::SpelledTabs(line) + "\r\n";
    }
    tabs->AppendText(withTabs);
    blanks->AppendText(withBlanks);
    pump();

    // The same scene in both panes: the caret line near the middle, the
    // selection over all visible lines, the left edge inside a tab.
    using Pos = COutputPane::Pos;
    auto scene = [&](COutputPane* pane, int column) {
        pane->SetSelection(Pos{1000, 3}, Pos{1040, 5}, true);
        ScrollTo(pane, 0);
        pane->ScrollToLine(1000);
        ScrollTo(pane, column);
        pump();
    };
    struct Case {
        const char* name;
        int column;
    };
    const Case cases[] = {{"left edge at column 0", 0}, {"scrolled to column 43", 43}, {"scrolled to column 100", 100}};
    for (const Case& c : cases) {
        scene(tabs, c.column);
        scene(blanks, c.column);
        PaintMs(tabs, 5); // warm the font caches
        PaintMs(blanks, 5);
        // Alternating halves even out a neighbour's load.
        double t = 0, b = 0;
        for (int half = 0; half < 2; ++half) {
            t += PaintMs(tabs, paints / 2);
            b += PaintMs(blanks, paints / 2);
        }
        t /= 2;
        b /= 2;
        printf("output pane paint, %s: tabs %.3f ms, blanks (peer) %.3f ms per paint, %.2fx the peer\n", c.name, t, b,
               t / b);
        benchrow::Row(std::string("output pane paint, tabs, ") + c.name, t, "ms", "blanks", b,
                      {1.5, 16, false, "<= 1.5x blanks, <= 16 ms"});
    }
    frame->Destroy();
    pump();
    wxEventLoopBase::SetActive(nullptr);
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
