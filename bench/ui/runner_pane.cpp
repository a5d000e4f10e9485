// A program printing 20 MB as one-line writes, run captured through Kib's
// "&Starten" into the program output pane (the view's runner, the batches
// on the user-interface thread, the pane), with the real event loop running:
// throughput and the longest stall of that loop, beside the same program
// writing to /dev/null.
//   xvfb-run -a build/bench/bench_ui_runner_pane [megabytes]
// The program is this executable itself, told by KIB_BENCH_CHILD_BYTES.
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

    std::vector<double> kibSeconds, stalls, nullSeconds;
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

        kib.Frame()->RouteCommand(kib::ID_JAVA_RUN);
        kibbench::LoopResult r = kibbench::RunLoopUntil(
            [&] { return view->CommandMode() == 0 && !view->Runner().HoldsChild(); }, 300);
        if (!r.done) {
            std::fprintf(stderr, "the run did not end\n");
            return 1;
        }
        kibSeconds.push_back(r.seconds);
        stalls.push_back(r.worstGapMs);
        // Every line arrived: the child's bytes plus one CR per line.
        long lines = pane->GetLineCount() - 1;
        long long expected = 0, raw = 0;
        for (long n = 1; raw < bytes; ++n) {
            raw += static_cast<long long>(Line(n).size());
            expected += static_cast<long long>(Line(n).size()) + 1;
        }
        std::printf("round %d: pane %.1f MB in %ld lines (%s), %.2f s, %.1f MB/s, longest event-loop stall "
                    "%.1f ms; /dev/null %.2f s\n",
                    round + 1, pane->GetTextLength() / 1048576.0, lines,
                    static_cast<long long>(pane->GetTextLength()) == expected ? "complete" : "INCOMPLETE",
                    r.seconds, megabytes / r.seconds, r.worstGapMs, nullSeconds.back());
    }
    double kibS = kibbench::Median(kibSeconds);
    double nullS = kibbench::Median(nullSeconds);
    std::printf("runner -> program pane: %.0f MB as one-line writes, median %.2f s = %.1f MB/s (target >= 20), "
                "longest event-loop stall %.1f ms (target <= 100)\n",
                megabytes, kibS, megabytes / kibS, *std::max_element(stalls.begin(), stalls.end()));
    std::printf("same program to /dev/null: median %.2f s = %.1f MB/s; Kib takes %.2fx its time\n", nullS,
                megabytes / nullS, kibS / nullS);
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
