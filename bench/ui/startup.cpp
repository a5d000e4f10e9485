// Start-up time of Kib: from process start to the first paint of the main
// window, next to a bare wxWidgets frame built the same way (the floor), and
// with 20 documents reopened from kibfiles.xml. Each run is a fresh process
// (this program started again with --child); the child reports the moment
// of its first paint through a pipe and is then ended.
//   xvfb-run -a build/bench/bench_ui_startup [runs]
#include "app/KibApp.h"
#include "app/MainFrame.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/log.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

int g_reportFd = -1;
bool g_reported = false;

void ReportFirstPaint()
{
    if (g_reported || g_reportFd < 0)
        return;
    g_reported = true;
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    long long ns = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    dprintf(g_reportFd, "%lld\n", ns);
}

// Reports the first paint of anything inside the main window.
class CProbeApp : public wxApp {
public:
    std::string mode;
    std::string programDir;
    std::unique_ptr<CKibApp> kib;

    bool OnInit() override
    {
        if (mode == "bare") {
            auto* frame = new wxFrame(nullptr, wxID_ANY, "Kib", wxDefaultPosition, wxSize(1000, 720));
            frame->Show();
            return true;
        }
        kib = std::make_unique<CKibApp>();
        return kib->InitInstance({programDir + "kib"});
    }

    int FilterEvent(wxEvent& event) override
    {
        if (event.GetEventType() == wxEVT_PAINT) {
            auto* win = dynamic_cast<wxWindow*>(event.GetEventObject());
            wxWindow* top = win ? wxGetTopLevelParent(win) : nullptr;
            if (top && (mode == "bare" || top == CMainFrame::Instance()))
                ReportFirstPaint();
        }
        return Event_Skip;
    }
};

int RunChild(const std::string& mode, const std::string& dir, int fd, int argc, char** argv)
{
    g_reportFd = fd;
    auto* app = new CProbeApp;
    app->mode = mode;
    app->programDir = dir;
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

// Milliseconds from fork to the child's first paint; -1 on failure.
double TimeOnce(const char* self, const std::string& mode, const std::string& dir)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        std::string fd = std::to_string(fds[1]);
        execl(self, self, "--child", mode.c_str(), dir.c_str(), fd.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    char buf[64] = {};
    ssize_t n = read(fds[0], buf, sizeof buf - 1);
    close(fds[0]);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    if (n <= 0)
        return -1;
    long long painted = atoll(buf);
    long long started = std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch()).count();
    return (painted - started) / 1e6;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 5 && std::strcmp(argv[1], "--child") == 0) {
        setenv("XDG_CONFIG_HOME", (std::string(argv[3]) + "cfg").c_str(), 1);
        int child_argc = 1;
        return RunChild(argv[2], argv[3], atoi(argv[4]), child_argc, argv);
    }
    int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    std::string empty = MakeDir();
    PrepareProgramDir(empty, 0);
    std::string twenty = MakeDir();
    PrepareProgramDir(twenty, 20);

    struct Case {
        const char* name;
        std::string mode;
        std::string dir;
        std::vector<double> ms;
    } cases[] = {{"bare wx frame (floor)", "bare", empty, {}},
                 {"kib, no documents", "kib", empty, {}},
                 {"kib, 20 documents reopened", "kib", twenty, {}}};
    // Interleaved, so that a busy moment of the machine hits all alike.
    for (int r = 0; r < runs; ++r)
        for (Case& c : cases) {
            double ms = TimeOnce(argv[0], c.mode, c.dir);
            if (ms < 0) {
                fprintf(stderr, "%s: the child reported no paint (is there a display?)\n", c.name);
                return 1;
            }
            c.ms.push_back(ms);
        }
    double floor = Median(cases[0].ms);
    printf("start-up to first paint of the main window, median of %d runs:\n", runs);
    for (Case& c : cases)
        printf("  %-30s %8.1f ms   ratio to floor %.2f\n", c.name, Median(c.ms), Median(c.ms) / floor);
    printf("target: kib without documents <= 1.5 x floor\n");
    return 0;
}
