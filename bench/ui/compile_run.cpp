// Kib's overhead for "Compilieren und anschließend Starten" of a Hello
// program: from the command to the program's output in the pane and the
// run's end handled, against the same javac and java command lines run one
// after the other by /bin/sh. Rounds alternate; the ratio of the medians is
// printed (target <= 1.1).
//   xvfb-run -a build/bench/bench_ui_compile_run [rounds] [jdk folder]
#include "BenchRow.h"
#include "compile_support.h"

#include "app/KibDoc.h"
#include "app/KibView.h"
#include "app/OutputBar.h"
#include "controls/OutputPane.h"
#include "platform/CommandLine.h"
#include "resources/CommandIds.h"
#include "toolchain/JavaCommands.h"

#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const char kHello[] =
    "public class Hello {\n"
    "    public static void main(String[] args) {\n"
    "        System.out.println(\"Hello from Kib\");\n"
    "    }\n"
    "}\n";

// The words of a command line, shell-quoted, for the script.
std::string ShellWords(const std::string& commandLine)
{
    std::string out;
    for (const std::string& w : platform::SplitCommandLine(commandLine)) {
        if (!out.empty())
            out += ' ';
        out += platform::ShellQuote(w);
    }
    return out;
}

// Processor time of this process (all its threads) so far.
double CpuMs()
{
    rusage ru {};
    getrusage(RUSAGE_SELF, &ru);
    return (ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1e3 + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e3;
}

double Bare(const std::string& script)
{
    auto start = std::chrono::steady_clock::now();
    int rc = std::system(script.c_str());
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return rc == 0 ? s : -1;
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    std::string jdk = argc > 2 ? argv[2] : "/usr/lib/jvm/java-17-openjdk-amd64";
    struct stat st {};
    if (stat((jdk + "/bin/javac").c_str(), &st) != 0) {
        std::fprintf(stderr, "no JDK at %s\n", jdk.c_str());
        return 1;
    }
    if (!kibbench::StartWx(1, argv))
        return 1;

    kibbench::CKib kib({{"KIBPARAMS:JDK:COMPILER:PATH", jdk + "/bin/javac"},
                        {"KIBPARAMS:JDK:INTERPRETER:PATH", jdk + "/bin/java"},
                        {"KIBPARAMS:JDK:INTERPRETER:CAPTUREOUTPUT", "1"}});
    if (!kib.ok) {
        std::fprintf(stderr, "Kib did not start\n");
        return 1;
    }
    mkdir((kib.dir + "src").c_str(), 0755);
    const std::string src = kib.dir + "src/Hello.java";
    std::ofstream(src) << kHello;
    CKibDoc* doc = kib.app->Docs().OpenDocumentFile(src);
    kibbench::Pump(0.3);
    CKibView* view = doc->GetFirstView();
    COutputPane* out = kib.Frame()->OutputBar()->GetPane(COutputBar::PANE_OUTPUT);

    // The same command lines Kib builds, run by a script.
    const CSettings& s = kib.Frame()->Settings();
    std::string cp = toolchain::IdeClassPath();
    toolchain::CCompileCommand c = toolchain::BuildCompileCommand(s, src, cp);
    toolchain::CRunCommand r = toolchain::BuildRunCommand(s, src, "", cp);
    std::string script = "cd " + platform::ShellQuote(c.workDir) + " && " + ShellWords(c.commandLine) +
                         " && " + ShellWords(r.commandLine) + " > /dev/null";

    std::vector<double> bare, kibTimes, kibCpu;
    Bare(script); // warm the file cache once for both
    for (int i = 0; i < rounds; ++i) {
        std::remove((kib.dir + "src/Hello.class").c_str());
        double b = Bare(script);
        if (b < 0) {
            std::fprintf(stderr, "the script failed: %s\n", script.c_str());
            return 1;
        }
        bare.push_back(b);

        std::remove((kib.dir + "src/Hello.class").c_str());
        out->Clear();
        kibbench::Pump(0.1);
        double cpu0 = CpuMs();
        auto start = std::chrono::steady_clock::now();
        kib.Frame()->RouteCommand(kib::ID_JAVA_COMPILE_RUN);
        kibbench::LoopResult k = kibbench::RunLoopUntil(
            [&] {
                return view->CommandMode() == 0 && !view->Runner().HoldsChild() &&
                       out->GetText() == "Hello from Kib\r\n";
            },
            120, 0);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!k.done) {
            std::fprintf(stderr, "Kib's compile and run did not finish: %s\n", out->GetText().c_str());
            return 1;
        }
        kibTimes.push_back(seconds);
        kibCpu.push_back(CpuMs() - cpu0);
        std::printf("round %d: script %.3f s, Kib %.3f s (Kib's own processor time %.1f ms)\n", i + 1, b,
                    seconds, kibCpu.back());
    }
    double mb = kibbench::Median(bare), mk = kibbench::Median(kibTimes);
    std::printf("compile then run Hello: script median %.3f s, Kib median %.3f s, ratio %.3f (target <= 1.1); "
                "Kib's own processor time median %.1f ms\n",
                mb, mk, mk / mb, kibbench::Median(kibCpu));
    benchrow::Row("compile then run Hello (median)", mk * 1e3, "ms", "javac + java from a script", mb * 1e3,
                  {1.1, 0, false, "<= 1.1x"});
    return 0;
}
