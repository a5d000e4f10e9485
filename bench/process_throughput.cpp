// Throughput of captured child output: a child writes 20 MB as one write per
// line, once into /dev/null and once through CProcessRunner into a callback
// that appends to a std::string. Prints MB/s of both and their ratio.
//
//   bench_process_throughput [megabytes] [line length] [rounds]
#include "BenchRow.h"
#include "platform/Process.h"
#include "toolchain/ProcessRunner.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The child: total bytes in lines of lineLength (newline included), one write each.
int ChildMain(size_t total, size_t lineLength)
{
    std::string line(lineLength - 1, 'x');
    line.push_back('\n');
    size_t written = 0;
    while (written < total) {
        size_t n = std::min(line.size(), total - written);
        ssize_t w = write(1, line.data(), n);
        if (w <= 0)
            return 1;
        written += static_cast<size_t>(w);
    }
    return 0;
}

std::string SelfPath()
{
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

class CAppendSink : public IProcessEvents {
public:
    void OnChildStdOut(std::string_view text) override { m_out.append(text); }
    void OnChildStdErr(std::string_view text) override { m_err.append(text); }
    void OnChildTerminate(const ChildExit&) override
    {
        std::lock_guard lock(m_mutex);
        m_done = true;
        m_cv.notify_all();
    }
    void Wait()
    {
        std::unique_lock lock(m_mutex);
        m_cv.wait(lock, [this] { return m_done; });
    }
    void Reset()
    {
        m_out.clear();
        m_err.clear();
        m_done = false;
    }
    size_t Size() const { return m_out.size(); }

private:
    std::string m_out, m_err;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_done = false;
};

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 4 && std::strcmp(argv[1], "--child") == 0)
        return ChildMain(std::strtoull(argv[2], nullptr, 10), std::strtoull(argv[3], nullptr, 10));

    const size_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 20;
    const size_t lineLength = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 64;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 5;
    const size_t total = megabytes << 20;
    const std::string self = SelfPath();
    const std::string total_s = std::to_string(total), line_s = std::to_string(lineLength);

    std::vector<double> devnull, runner;
    std::vector<std::string> env = platform::CurrentEnvironment();
    for (int r = 0; r < rounds; ++r) {
        // Into /dev/null, the child alone.
        int nul = open("/dev/null", O_WRONLY | O_CLOEXEC);
        platform::SpawnRequest req;
        req.argv = {self, "--child", total_s, line_s};
        req.stdoutFd = nul;
        pid_t pid = -1;
        auto t0 = Clock::now();
        if (platform::Spawn(req, &pid) != 0) {
            std::fprintf(stderr, "cannot start %s\n", self.c_str());
            return 1;
        }
        waitpid(pid, nullptr, 0);
        devnull.push_back(Seconds(Clock::now() - t0));
        close(nul);

        // Through the runner into a string.
        CAppendSink sink;
        CProcessRunner proc(sink);
        std::string line = "\"" + self + "\" --child " + total_s + " " + line_s;
        t0 = Clock::now();
        if (!proc.StartChild(line, "/", env)) {
            std::fprintf(stderr, "runner cannot start %s\n", self.c_str());
            return 1;
        }
        sink.Wait();
        runner.push_back(Seconds(Clock::now() - t0));
        proc.StopChild();
        if (sink.Size() != total) {
            std::fprintf(stderr, "runner delivered %zu of %zu bytes\n", sink.Size(), total);
            return 1;
        }
    }
    const double mb = static_cast<double>(total) / (1 << 20);
    double d = Median(devnull), p = Median(runner);
    std::printf("child writes %zu MB in %zu-byte lines (%zu writes), median of %d rounds\n", megabytes,
                lineLength, total / lineLength, rounds);
    std::printf("  into /dev/null:                 %8.3f s  %9.1f MB/s\n", d, mb / d);
    std::printf("  through CProcessRunner/string:  %8.3f s  %9.1f MB/s\n", p, mb / p);
    std::printf("  runner throughput / /dev/null:  %8.2f\n", d / p);
    // No target of its own: the output panes' benches hold the user's targets.
    benchrow::Row("process output captured into a string", mb / p, "MB/s", "child into /dev/null", mb / d,
                  {0, 0, true, "-"});
    return 0;
}
