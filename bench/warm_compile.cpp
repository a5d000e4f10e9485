// F9 and Ctrl+F5 with the warm compile server against the javac and java
// processes as a script would run them, on Hello and on a 30-class program,
// in one run. Prints medians, the ratios and whether each meets its target:
//   F9 Hello            warm / javac process            <= 0.15
//   Ctrl+F5             (warm + java) / (javac + java)   <= 0.25
//   first F9 after start (no server yet) / javac process <= 1.05 (no slower)
//
//   bench_warm_compile [jdk home] [rounds]
#include "BenchRow.h"
#include "platform/CommandLine.h"
#include "platform/Process.h"
#include "settings/Settings.h"
#include "toolchain/JavaCommands.h"
#include "toolchain/WarmCompiler.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace toolchain;
using Clock = std::chrono::steady_clock;

namespace {

void Write(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// The command line as a script runs it: split, started, waited for.
double RunProcess(const std::string& commandLine, const std::string& workDir, const std::vector<std::string>& env)
{
    platform::SpawnRequest request;
    request.argv = platform::SplitCommandLine(commandLine);
    request.workDir = workDir;
    request.environment = &env;
    request.stdoutFd = platform::kStdNull;
    request.stderrFd = platform::kStdNull;
    auto start = Clock::now();
    pid_t pid = -1;
    if (platform::Spawn(request, &pid) != 0) {
        std::fprintf(stderr, "cannot start %s\n", commandLine.c_str());
        std::exit(2);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// seconds in, milliseconds in the table row
void Verdict(const std::string& what, double value, const char* floorName, double floor, double target)
{
    const double ratio = value / floor;
    std::printf("%-34s ratio %.3f  target <= %.2f  %s\n", what.c_str(), ratio, target,
                ratio <= target ? "met" : "OVER target");
    benchrow::Row("warm compile: " + what, value * 1e3, "ms", floorName, floor * 1e3,
                  {target, 0, false, "<= " + benchrow::Fmt(target) + "x"});
}

struct Program {
    std::string name;
    std::string source;
};

} // namespace

int main(int argc, char** argv)
{
    std::string jdk = argc > 1 ? argv[1] : "/usr/lib/jvm/java-17-openjdk-amd64";
    int rounds = argc > 2 ? std::atoi(argv[2]) : 7;
    char tmpl[] = "/tmp/kib-bench-warm.XXXXXX";
    std::string dir = mkdtemp(tmpl);
    setenv("XDG_CACHE_HOME", (dir + "/cache").c_str(), 1);

    std::string hello = dir + "/hello";
    std::string big = dir + "/big";
    mkdir(hello.c_str(), 0755);
    mkdir(big.c_str(), 0755);
    Write(hello + "/Hello.java", "public class Hello {\n  public static void main(String[] a) {\n"
                                 "    System.out.println(\"Hallo Welt\");\n  }\n}\n");
    std::string main = "import java.util.*;\npublic class Main {\n  public static void main(String[] a) {\n"
                       "    List<Object> all = new ArrayList<>();\n";
    for (int i = 1; i < 30; ++i) {
        std::string n = "Part" + std::to_string(i);
        Write(big + "/" + n + ".java",
              "import java.util.*;\nclass " + n + " {\n  private final Map<String, Integer> m = new HashMap<>();\n"
              "  int value(int x) { m.merge(\"k\" + x, x, Integer::sum); return m.values().stream()"
              ".mapToInt(Integer::intValue).sum() + " + std::to_string(i) + "; }\n"
              "  @Override public String toString() { return \"" + n + "\" + value(" + std::to_string(i) + "); }\n}\n");
        main += "    all.add(new " + n + "());\n";
    }
    Write(big + "/Main.java", main + "    System.out.println(all.size());\n  }\n}\n");

    CSettings s;
    s.m_compilerPath = jdk + "/bin/javac";
    s.m_interpreterPath = jdk + "/bin/java";
    s.m_captureOutput = 1;
    CChildConsole console = ChildConsoleFor(IdeClassPath());

    std::printf("JDK %s, %d rounds each, medians in ms\n", jdk.c_str(), rounds);
    for (const auto& [label, source] : {std::pair<std::string, std::string>{"Hello", hello + "/Hello.java"},
                                        {"30 classes", big + "/Main.java"}}) {
        CCompileCommand c = BuildCompileCommand(s, source, IdeClassPath());
        CRunCommand run = BuildRunCommand(s, source, "", IdeClassPath());

        CWarmCompiler warm;
        // First compile after start: no server yet, so Kib asks, then runs javac.
        std::vector<double> first, javac, java, served;
        std::vector<double> asks;
        auto coldFirst = [&] {
            auto start = Clock::now();
            CWarmCompiler cold;
            if (cold.Compile(c, console.environment).how != CWarmCompiler::EHow::NotReady)
                std::printf("unexpected: a cold warm compiler answered\n");
            double asked = std::chrono::duration<double>(Clock::now() - start).count();
            asks.push_back(asked);
            first.push_back(asked + RunProcess(c.commandLine, c.workDir, console.environment));
        };
        // Alternating order, so that neither kind always runs first.
        for (int i = 0; i < rounds; ++i) {
            if (i % 2)
                coldFirst();
            javac.push_back(RunProcess(c.commandLine, c.workDir, console.environment));
            if (i % 2 == 0)
                coldFirst();
            java.push_back(RunProcess(run.commandLine, run.workDir, console.environment));
        }
        auto prepStart = Clock::now();
        warm.Prepare(c, console.environment);
        warm.WaitPrepared();
        double prep = std::chrono::duration<double>(Clock::now() - prepStart).count();
        if (!warm.Ready()) {
            std::printf("%s: the server did not start\n", label.c_str());
            return 1;
        }
        for (int i = 0; i < rounds; ++i) {
            auto start = Clock::now();
            CWarmCompiler::CResult r = warm.Compile(c, console.environment);
            served.push_back(std::chrono::duration<double>(Clock::now() - start).count());
            if (r.how != CWarmCompiler::EHow::Served || r.answer.exitCode != 0) {
                std::printf("%s: not served (%s)\n", label.c_str(), r.answer.reason.c_str());
                return 1;
            }
        }
        double mJavac = Median(javac), mJava = Median(java), mServed = Median(served), mFirst = Median(first);
        std::printf("\n%s: javac process %.0f, java process %.0f, warm server %.0f, first F9 %.0f, "
                    "server start and warm-up %.0f\n",
                    label.c_str(), mJavac * 1e3, mJava * 1e3, mServed * 1e3, mFirst * 1e3, prep * 1e3);
        if (label == "Hello")
            Verdict("F9 " + label, mServed, "javac process", mJavac, 0.15);
        else
            std::printf("%-34s ratio %.3f  (no target)\n", ("F9 " + label).c_str(), mServed / mJavac);
        Verdict("Ctrl+F5 " + label, mServed + mJava, "javac + java processes", mJavac + mJava, 0.25);
        Verdict("first F9 after start, " + label, mFirst, "javac process", mJavac, 1.05);
        std::printf("  (the warm compiler's question before that process: %.0f us)\n", Median(asks) * 1e6);
        std::printf("server resident memory: ");
        std::fflush(stdout);
        std::string status = "/proc/" + std::to_string(warm.ServerPid()) + "/status";
        std::system(("grep VmRSS " + status).c_str());
    }
    std::system(("rm -rf '" + dir + "'").c_str());
    return 0;
}
