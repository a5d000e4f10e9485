// Start-up time of Kib: from process start to the first paint of the main
// window, next to a bare wxWidgets frame built the same way (the floor), with
// 20, 1,000 and 10,000 documents reopened from kibfiles.xml; for those also
// the time until every document is open and the time "Beenden" then takes to
// close them all. Each run is a fresh process (this program started again
// with --child); the child reports its figures through a pipe.
//   xvfb-run -a build/bench/bench_ui_startup [runs] [largest list]
#include "BenchRow.h"
#include "app/KibApp.h"
#include "app/MainFrame.h"
#include "app/ReopenQueue.h"
#include "app/UserDialogs.h"
#include "resources/CommandIds.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/log.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

int g_reportFd = -1;
bool g_painted = false;
bool g_allOpen = false;
long long g_closeStart = 0;

long long NowNs()
{
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
}

long long CpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

// One line per figure: "paint", "open" or "closed", the moment and the CPU
// time the process had used by then (the machine is shared: the CPU time
// is the steadier figure).
void Report(const char* what, long long ns)
{
    if (g_reportFd >= 0)
        dprintf(g_reportFd, "%s %lld %lld\n", what, ns, CpuNs());
}

// Answers every message at once: a modal box would stop the clock (the long
// lists end with the note that only the first ones were reopened).
class CAnsweringDialogs : public IUserDialogs {
public:
    int MessageBox(wxWindow*, const wxString&, const wxString&, long style) override
    {
        return (style & wxYES_NO) ? wxYES : wxOK;
    }
    bool OpenFiles(wxWindow*, const wxString&, wxArrayString&) override { return false; }
    bool SaveAs(wxWindow*, const wxString&, wxString&) override { return false; }
    bool GoToLine(wxWindow*, int, int&) override { return false; }
    void About(wxWindow*) override {}
    bool Customize(wxWindow*, std::vector<BarChoice>&) override { return false; }
    bool PrinterSetup(wxWindow*, printjob::PrintSetup&) override { return false; }
};

// Reports the first paint of anything inside the main window, then the first
// idle time with every stored document open, then closes through "Beenden"
// and reports when the frame has gone.
class CProbeApp : public wxApp {
public:
    std::string mode;
    std::string programDir;
    size_t expected = 0;
    std::unique_ptr<CKibApp> kib;

    bool OnInit() override
    {
        if (mode == "bare") {
            auto* frame = new wxFrame(nullptr, wxID_ANY, "Kib", wxDefaultPosition, wxSize(1000, 720));
            frame->Show();
            return true;
        }
        static CAnsweringDialogs answering;
        SetUserDialogs(&answering);
        kib = std::make_unique<CKibApp>();
        return kib->InitInstance({programDir + "kib"});
    }

    int FilterEvent(wxEvent& event) override
    {
        if (event.GetEventType() == wxEVT_PAINT && !g_painted) {
            auto* win = dynamic_cast<wxWindow*>(event.GetEventObject());
            wxWindow* top = win ? wxGetTopLevelParent(win) : nullptr;
            if (top && (mode == "bare" || top == CMainFrame::Instance())) {
                g_painted = true;
                Report("paint", NowNs());
                if (mode == "bare")
                    close(g_reportFd);
            }
        }
        // Counted, not asked of the program, so that any build can be measured.
        if (event.GetEventType() == wxEVT_IDLE && mode != "bare" && g_painted && !g_allOpen && kib &&
            kib->Docs().DocumentCount() >= expected) {
            g_allOpen = true;
            Report("open", NowNs());
            g_closeStart = NowNs();
            CallAfter([] {
                if (CMainFrame* frame = CMainFrame::Instance())
                    frame->RouteCommand(kib::ID_APP_EXIT);
            });
        }
        return Event_Skip;
    }

    int OnExit() override
    {
        if (kib && g_allOpen) {
            Report("closed", NowNs());
            kib->ExitInstance();
        }
        kib.reset();
        return wxApp::OnExit();
    }
};

int RunChild(const std::string& mode, const std::string& dir, size_t expected, int fd, int argc, char** argv)
{
    g_reportFd = fd;
    auto* app = new CProbeApp;
    app->mode = mode;
    app->programDir = dir;
    app->expected = std::min(expected, CReopenQueue::kMaxReopened);
    wxApp::SetInstance(app);
    return wxEntry(argc, argv);
}

std::string MakeDir()
{
    char tmpl[] = "/tmp/kibbenchXXXXXX";
    const char* d = mkdtemp(tmpl);
    return std::string(d ? d : "/tmp") + "/";
}

void PrepareProgramDir(const std::string& dir, int files)
{
    std::ofstream param(dir + "kibparam.xml", std::ios::binary);
    param << "<KIBPARAMS>\r\n<GUI>\r\n<STARTUP>\r\n<REOPENFILES>1</REOPENFILES>\r\n"
             "<SHOWSPLASH>0</SHOWSPLASH>\r\n</STARTUP>\r\n</GUI>\r\n</KIBPARAMS>\r\n";
    std::ofstream list(dir + "kibfiles.xml", std::ios::binary);
    list << "<KIBFILES>\r\n<COUNT>" << files << "</COUNT>\r\n";
    for (int i = 1; i <= files; ++i) {
        std::string path = dir + "Datei" + std::to_string(i) + ".java";
        std::ofstream src(path, std::ios::binary);
        src << "public class Datei" << i << "\r\n{\r\n";
        for (int l = 0; l < 300; ++l)
            src << "    int wert" << l << " = " << l * 7 << "; // Zeile " << l << "\r\n";
        src << "}\r\n";
        list << "<FILE" << i << ">" << path << "</FILE" << i << ">\r\n";
    }
    list << "</KIBFILES>\r\n";
}

struct Run {
    double paintMs = -1; // fork to the first paint
    double openMs = -1;  // fork to every document open
    double closeMs = -1; // "Beenden" to the frame gone
    double openCpuMs = -1, closeCpuMs = -1; // the same in CPU time of the process
};

Run TimeOnce(const char* self, const std::string& mode, const std::string& dir, int files, int timeoutS)
{
    Run run;
    int fds[2];
    if (pipe(fds) != 0)
        return run;
    auto start = std::chrono::steady_clock::now();
    long long started = std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch()).count();
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        alarm(static_cast<unsigned>(timeoutS));
        std::string fd = std::to_string(fds[1]);
        std::string count = std::to_string(files);
        execl(self, self, "--child", mode.c_str(), dir.c_str(), count.c_str(), fd.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string text;
    char buf[256];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0)
        text.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    long long paint = 0, open = 0, closed = 0, openCpu = 0, closedCpu = 0;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? text.size() : end + 1;
        char what[16] = {};
        long long ns = 0, cpu = 0;
        if (sscanf(line.c_str(), "%15s %lld %lld", what, &ns, &cpu) != 3)
            continue;
        if (std::strcmp(what, "paint") == 0) {
            paint = ns;
        } else if (std::strcmp(what, "open") == 0) {
            open = ns;
            openCpu = cpu;
        } else if (std::strcmp(what, "closed") == 0) {
            closed = ns;
            closedCpu = cpu;
        }
    }
    if (paint)
        run.paintMs = (paint - started) / 1e6;
    if (open) {
        run.openMs = (open - started) / 1e6;
        run.openCpuMs = openCpu / 1e6;
    }
    if (open && closed) {
        run.closeMs = (closed - open) / 1e6;
        run.closeCpuMs = (closedCpu - openCpu) / 1e6;
    }
    return run;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 6 && std::strcmp(argv[1], "--child") == 0) {
        setenv("XDG_CONFIG_HOME", (std::string(argv[3]) + "cfg").c_str(), 1);
        int child_argc = 1;
        return RunChild(argv[2], argv[3], static_cast<size_t>(atol(argv[4])), atoi(argv[5]), child_argc, argv);
    }
    int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    int largest = argc > 2 ? std::max(20, atoi(argv[2])) : 10000;

    struct Case {
        Case(std::string n, std::string m, int f) : name(std::move(n)), mode(std::move(m)), files(f) {}
        std::string name;
        std::string mode;
        int files;
        std::string dir;
        std::vector<double> paint, open, close, openCpu, closeCpu;
        int failed = 0;
    };
    std::vector<Case> cases = {{"bare wx frame (floor)", "bare", 0}, {"kib, no documents", "kib", 0},
                               {"kib, 20 reopened", "kib", 20}};
    for (int n : {1000, 10000})
        if (n <= largest)
            cases.emplace_back("kib, " + std::to_string(n) + " reopened", "kib", n);
    for (Case& c : cases) {
        c.dir = MakeDir();
        PrepareProgramDir(c.dir, c.files);
    }
    // Interleaved, so that a busy moment of the machine hits all alike.
    for (int r = 0; r < runs; ++r)
        for (Case& c : cases) {
            Run run = TimeOnce(argv[0], c.mode, c.dir, c.files, 600);
            if (run.paintMs < 0) {
                fprintf(stderr, "%s: the child reported no paint (is there a display?)\n", c.name.c_str());
                return 1;
            }
            c.paint.push_back(run.paintMs);
            if (c.mode == "bare")
                continue;
            if (run.openMs < 0 || run.closeMs < 0) {
                ++c.failed;
                continue;
            }
            c.open.push_back(run.openMs);
            c.close.push_back(run.closeMs);
            c.openCpu.push_back(run.openCpuMs);
            c.closeCpu.push_back(run.closeCpuMs);
        }
    double floor = Median(cases[0].paint);
    printf("start-up of Kib, median of %d runs, ms (CPU ms of the process in brackets):\n", runs);
    printf("  %-26s %11s %7s %22s %20s\n", "", "first paint", "/floor", "all documents open", "Beenden");
    for (Case& c : cases) {
        if (c.mode == "bare") {
            printf("  %-26s %11.1f %7.2f\n", c.name.c_str(), Median(c.paint), Median(c.paint) / floor);
            continue;
        }
        printf("  %-26s %11.1f %7.2f %11.1f (%8.1f) %9.1f (%8.1f)", c.name.c_str(), Median(c.paint),
               Median(c.paint) / floor, Median(c.open), Median(c.openCpu), Median(c.close), Median(c.closeCpu));
        if (c.failed)
            printf("   (%d runs did not finish)", c.failed);
        printf("\n");
    }
    for (Case& c : cases) {
        const std::string what = "start-up: " + c.name + ", first paint";
        if (c.mode == "bare")
            continue;
        if (c.files == 0)
            benchrow::Row(what, Median(c.paint), "ms", "bare wx frame", floor, {1.5, 0, false, "<= 1.5x floor"});
        else if (c.files == 20)
            benchrow::Row(what, Median(c.paint), "ms", "", -1, {0, 0, false, "none set"});
        else // "close to" the first paint with 20
            benchrow::Row(what, Median(c.paint), "ms", "20 reopened", Median(cases[2].paint),
                          {1.5, 0, false, "<= 1.5x 20 reopened"});
    }
    printf("targets: no documents <= 1.5 x floor; the first paint with 1,000 or 10,000 reopened close to\n"
           "the one with 20; at most %zu are reopened, so 10,000 listed open and close like 1,000\n",
           CReopenQueue::kMaxReopened);
    return 0;
}
