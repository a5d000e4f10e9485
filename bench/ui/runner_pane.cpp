// A program printing 20 MB as one-line writes, run captured through Kib's
// "&Starten" into the program output pane (the view's runner, the batches
// on the user-interface thread, the pane), with the real event loop running
// and painting: throughput until the last line is painted, the longest time
// the loop did not answer (the command itself, the batches and the paints
// between them included), and how long new text waited for a paint; beside
// the same program writing to /dev/null.
//   xvfb-run -a build/default/bench/bench_ui_runner_pane [megabytes]
// The program is this executable itself, told by KIB_BENCH_CHILD_BYTES.
#include "BenchRow.h"
#include "PaneWatch.h"
#include "compile_support.h"

#include "app/KibDoc.h"
#include "app/KibView.h"
#include "app/OutputBar.h"
#include "controls/OutputPane.h"
#include "resources/CommandIds.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

const char kChildVar[] = "KIB_BENCH_CHILD_BYTES";

std::string Line(long n)
{
    return "Zeile " + std::to_string(n) + ": Ausgabe des gestarteten Programms, etwas Text\n";
}

// The child: one write per line.
int ChildMain(long long bytes)
{
    long long written = 0;
    for (long n = 1; written < bytes; ++n) {
        std::string line = Line(n);
        const char* p = line.data();
        size_t left = line.size();
        while (left > 0) {
            ssize_t w = write(1, p, left);
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                return 1;
            p += w;
            left -= static_cast<size_t>(w);
        }
        written += static_cast<long long>(line.size());
    }
    return 0;
}

std::string SelfPath()
{
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

double ToDevNull(const std::string& self)
{
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(self.c_str()), nullptr};
    auto start = std::chrono::steady_clock::now();
    pid_t pid;
    if (posix_spawn(&pid, self.c_str(), &fa, nullptr, argv, environ) != 0)
        return -1;
    int status;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&fa);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct RunFigures {
    bool done = false;
    double seconds = 0;      // from the command to the paint of the last line
    double firstTextMs = 0;  // from the command to the first text in the pane
    double stallMs = 0;      // longest time between two answers of the loop
    double stallAtMs = 0;    // when that stall ended, from the command
    int paints = 0;
    double paintMs = 0;
    double longestPaintMs = 0;
    double waitMs = 0;       // longest wait of new text for a paint
};

// A 5 ms timer is the loop's answer: its first tick gives the command (as a
// menu choice arrives, inside the loop), every later tick the time since the
// one before. Batches and paints both run between ticks, so the gaps hold
// them. The run ends when the command has ended and a paint has shown the
// last line.
RunFigures RunOnce(kibbench::CKib& kib, CKibView* view, COutputPane* pane, double timeoutSeconds)
{
    using clock = std::chrono::steady_clock;
    auto ms = [](clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    RunFigures f;
    kibbench::CPaneWatch watch(pane);
    wxGUIEventLoop loop;
    wxEventLoopActivator active(&loop);
    bool commanded = false, texted = false;
    clock::time_point t0, last;
    wxTimer tick;
    tick.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        auto now = clock::now();
        if (!commanded) {
            commanded = true;
            t0 = last = now;
            kib.Frame()->RouteCommand(kib::ID_JAVA_RUN);
            return;
        }
        if (ms(now - last) > f.stallMs) {
            f.stallMs = ms(now - last);
            f.stallAtMs = ms(now - t0);
        }
        last = now;
        watch.Look();
        if (!texted && pane->GetTextLength() > 0) {
            texted = true;
            f.firstTextMs = ms(now - t0);
        }
        const bool ended = view->CommandMode() == 0 && !view->Runner().HoldsChild();
        if ((ended && watch.Shown()) || ms(now - t0) > timeoutSeconds * 1000) {
            f.done = ended && watch.Shown();
            f.seconds = ms(now - t0) / 1000;
            loop.Exit();
        }
    });
    tick.Start(5);
    loop.Run();
    tick.Stop();
    f.paints = watch.paints;
    f.paintMs = watch.paintMs;
    f.longestPaintMs = watch.longestPaintMs;
    f.waitMs = watch.longestWaitMs;
    return f;
}

} // namespace

int main(int argc, char** argv)
{
    if (const char* child = std::getenv(kChildVar))
        return ChildMain(std::atoll(child));

    double megabytes = argc > 1 ? std::atof(argv[1]) : 20;
    const long long bytes = static_cast<long long>(megabytes * 1048576);
    setenv(kChildVar, std::to_string(bytes).c_str(), 1);
    const std::string self = SelfPath();
    if (!kibbench::StartWx(1, argv))
        return 1;

    // What the pane must hold: the child's bytes plus one CR per line.
    long long expected = 0;
    for (long long n = 1, raw = 0; raw < bytes; ++n) {
        raw += static_cast<long long>(Line(n).size());
        expected += static_cast<long long>(Line(n).size()) + 1;
    }
    std::vector<double> kibSeconds, nullSeconds;
    double stall = 0, wait = 0;
    bool complete = true;
    for (int round = 0; round < 3; ++round) {
        nullSeconds.push_back(ToDevNull(self));

        kibbench::CKib kib({{"KIBPARAMS:JDK:INTERPRETER:PATH", self},
                            {"KIBPARAMS:JDK:INTERPRETER:CAPTUREOUTPUT", "1"}});
        if (!kib.ok) {
            std::fprintf(stderr, "Kib did not start\n");
            return 1;
        }
        std::string src = kib.dir + "Hello.java";
        std::FILE* f = std::fopen(src.c_str(), "w");
        std::fputs("public class Hello {}\n", f);
        std::fclose(f);
        CKibDoc* doc = kib.app->Docs().OpenDocumentFile(src);
        kibbench::Pump(0.3);
        CKibView* view = doc->GetFirstView();
        COutputPane* pane = kib.Frame()->OutputBar()->GetPane(COutputBar::PANE_OUTPUT);

        RunFigures r = RunOnce(kib, view, pane, 300);
        if (!r.done) {
            std::fprintf(stderr, "the run did not end, or its last line was never painted\n");
            return 1;
        }
        bool whole = static_cast<long long>(pane->GetTextLength()) == expected;
        for (int l = 0; whole && l + 1 < pane->GetLineCount(); ++l) {
            const std::string want = Line(l + 1);
            whole = pane->GetLineText(l) == std::string_view(want).substr(0, want.size() - 1);
        }
        complete = complete && whole;
        kibSeconds.push_back(r.seconds);
        stall = std::max(stall, r.stallMs);
        wait = std::max(wait, r.waitMs);
        std::printf("round %d: pane %.1f MB in %d lines (%s), %.2f s, %.1f MB/s; first text after %.0f ms; longest "
                    "stall %.1f ms, ending %.0f ms after the command; %d paints, %.1f ms in all, longest %.1f ms; "
                    "new text waited at most %.1f ms for a paint; /dev/null %.2f s\n",
                    round + 1, pane->GetTextLength() / 1048576.0, pane->GetLineCount() - 1,
                    whole ? "complete" : "INCOMPLETE", r.seconds, megabytes / r.seconds, r.firstTextMs, r.stallMs,
                    r.stallAtMs, r.paints, r.paintMs, r.longestPaintMs, r.waitMs, nullSeconds.back());
    }
    const double kibS = kibbench::Median(kibSeconds);
    const double nullS = kibbench::Median(nullSeconds);
    const std::string what = "runner -> program pane, " + benchrow::Fmt(megabytes) + " MB of one-line writes";
    benchrow::Row(what + ", median of 3", complete ? megabytes / kibS : -1, "MB/s", "/dev/null",
                  nullS > 0 ? megabytes / nullS : -1, {0, 50, true, ">= 50 MB/s"});
    benchrow::Row(what + ", longest event-loop stall, paints included", stall, "ms", "", 0, {0, 50, false, "<= 50 ms"});
    benchrow::Row(what + ", longest wait of new text for its paint", wait, "ms", "", 0, {0, 50, false, "<= 50 ms"});
    wxTheApp->OnExit();
    wxEntryCleanup();
    return complete ? 0 : 1;
}
