// Heavy output into an output pane: 20 MB written as one-line pieces (as a
// program's output arrives), through ReplaceSel on the user-interface
// thread, with the event loop run (and the pane painted) after every 64
// writes. The stall is the longest time from one turn of the loop to the
// next, the turn itself included, as painting happens there. Beside the
// floor: the same pieces split into a vector of lines.
//   xvfb-run -a build/default/bench/bench_ui_output_pane
#include "BenchRow.h"
#include "PaneWatch.h"
#include "WxStart.h"
#include "controls/OutputPane.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using clock_type = std::chrono::steady_clock;

std::string Piece(int n)
{
    return "Zeile " + std::to_string(n) + ": Ausgabe des gestarteten Programms, etwas Text\r\n";
}

// The floor: the pieces cut into lines at CR LF, nothing else.
double SplitSeconds(size_t total)
{
    std::vector<std::string> lines(1);
    auto start = clock_type::now();
    size_t written = 0;
    for (int n = 1; written < total; ++n) {
        const std::string piece = Piece(n);
        std::string_view rest(piece);
        for (size_t brk; (brk = rest.find("\r\n")) != rest.npos; rest.remove_prefix(brk + 2)) {
            lines.back().append(rest.substr(0, brk));
            lines.emplace_back();
        }
        lines.back().append(rest);
        written += piece.size();
    }
    double s = std::chrono::duration<double>(clock_type::now() - start).count();
    return lines.size() > 1 ? s : -1;
}

} // namespace

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
    const double floorSeconds = SplitSeconds(total);
    auto watching = std::make_unique<kibbench::CPaneWatch>(pane);
    kibbench::CPaneWatch& watch = *watching;
    size_t written = 0;
    int n = 0;
    auto start = clock_type::now();
    auto lastTurn = start;
    double worstStall = 0;
    // A reader hands over what one read returned: up to 256 bytes, here one
    // line each; the loop runs after every 64 writes.
    while (written < total) {
        const std::string line = Piece(++n);
        pane->ReplaceSel(line);
        written += line.size();
        if (n % 64 == 0) {
            watch.Look();
            auto now = clock_type::now();
            worstStall = std::max(worstStall, std::chrono::duration<double, std::milli>(now - lastTurn).count());
            lastTurn = now;
            pump();
        }
    }
    pump();
    const double seconds = std::chrono::duration<double>(clock_type::now() - start).count();
    const double mb = written / 1048576.0;
    printf("output pane: %.1f MB in %d writes, %.2f s, %.1f MB/s, longest stall %.1f ms; %d paints, %.1f ms in "
           "all, longest %.1f ms; new text waited at most %.1f ms for a paint; split into lines (floor) %.3f s\n",
           mb, n, seconds, mb / seconds, worstStall, watch.paints, watch.paintMs, watch.longestPaintMs,
           watch.longestWaitMs, floorSeconds);
    printf("lines in the pane: %d\n", pane->GetLineCount());
    const bool whole = pane->GetLineCount() == n + 1 && pane->GetTextLength() == written;
    benchrow::Row("output pane, 20 MB of one-line writes", whole ? mb / seconds : -1, "MB/s", "split into lines",
                  floorSeconds > 0 ? mb / floorSeconds : -1, {0, 20, true, ">= 20 MB/s"});
    benchrow::Row("output pane, longest stall, the loop's turn and paints included", worstStall, "ms", "", 0,
                  {0, 100, false, "<= 100 ms"});
    watching.reset(); // before the pane goes
    frame->Destroy();
    pump();
    wxEventLoopBase::SetActive(nullptr);
    wxTheApp->OnExit();
    wxEntryCleanup();
    return whole ? 0 : 1;
}
