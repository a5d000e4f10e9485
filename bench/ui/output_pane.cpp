// Heavy output into an output pane: 20 MB written as one-line pieces (as a
// program's output arrives), through ReplaceSel on the UI thread, with the
// event loop run between batches. Prints the throughput and the longest time
// the event loop was kept from running.
//   xvfb-run -a build/bench/bench_ui_output_pane
#include "WxStart.h"
#include "controls/OutputPane.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (!kibbench::StartBenchWx(argc, argv))
        return 1;
    wxEventLoop loop;
    wxEventLoopBase::SetActive(&loop);
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Ausgaben", wxDefaultPosition, wxSize(900, 300));
    auto* pane = new COutputPane(frame, 5);
    frame->Show();
    auto pump = [&] {
        while (loop.Pending())
            loop.Dispatch();
        loop.ProcessIdle();
    };
    pump();

    const size_t total = 20u << 20;
    std::string line;
    size_t written = 0;
    int n = 0;
    using clock = std::chrono::steady_clock;
    auto start = clock::now();
    auto lastPump = start;
    double worstStall = 0;
    // A reader hands over what one read returned: up to 256 bytes, here one
    // line each; the loop runs after every 64 writes.
    while (written < total) {
        line = "Zeile " + std::to_string(++n) + ": Ausgabe des gestarteten Programms, etwas Text\r\n";
        pane->ReplaceSel(line);
        written += line.size();
        if (n % 64 == 0) {
            auto now = clock::now();
            worstStall = std::max(worstStall, std::chrono::duration<double, std::milli>(now - lastPump).count());
            pump();
            lastPump = clock::now();
        }
    }
    pump();
    double seconds = std::chrono::duration<double>(clock::now() - start).count();
    printf("output pane: %.1f MB in %d writes, %.2f s, %.1f MB/s, longest stall %.1f ms (targets >= 20 MB/s, <= 100 ms)\n",
           written / 1048576.0, n, seconds, written / 1048576.0 / seconds, worstStall);
    printf("lines in the pane: %d\n", pane->GetLineCount());
    frame->Destroy();
    pump();
    wxEventLoopBase::SetActive(nullptr);
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
