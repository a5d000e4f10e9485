// Text buffer figures on a generated 100 MB Java file, each next to its floor:
// loading (floor: read the file into a block prepared as the buffer's and
// count LF with memchr), peak memory of the
// loaded buffer, saving (floor: the same bytes with one write), and typing and
// undoing at the end of the buffer with undo recording.
#include "BenchRow.h"
#include "editor/TextBuffer.h"
#include "platform/BigBlock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

double Best(int reps, const std::function<double()>& run)
{
    double best = 1e30;
    for (int i = 0; i < reps; ++i)
        best = std::min(best, run());
    return best;
}

// A Java file of about `target` bytes with CR LF line ends; with umlauts its
// comments are German in UTF-8.
size_t Generate(const std::string& path, size_t target, size_t& lines, bool umlauts = false)
{
    const std::string comment = umlauts ? "    /** Gibt den Wert des Feldes zurück, Größe über Länge mal Maß: "
                                        : "    /** Returns the current value of field ";
    const std::string remark = umlauts ? " // Summe für Übergröße\r\n" : " // sum\r\n";
    std::string chunk;
    lines = 0;
    size_t total = 0;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    int n = 0;
    while (total < target) {
        chunk.clear();
        for (int k = 0; k < 1000; ++k, ++n) {
            const std::string num = std::to_string(n);
            chunk += comment + num + " of this record. */\r\n";
            chunk += "    public int getValue" + num + "(int offset, int scale) {\r\n";
            chunk += "        return compute(value" + num + " + offset, 0x1F) * scale + 42;" + remark;
            chunk += "    }\r\n";
            chunk += "\r\n";
            lines += 5;
        }
        std::fwrite(chunk.data(), 1, chunk.size(), f);
        total += chunk.size();
    }
    std::fclose(f);
    return total;
}

long StatusKb(const char* key)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const size_t len = std::strlen(key);
    while (std::getline(in, line))
        if (line.compare(0, len, key) == 0)
            return std::strtol(line.c_str() + len, nullptr, 10);
    return -1;
}

class CCaretView : public CTextBufferListener {
public:
    TextPos caret;
    void OnBufferChange(CTextBufferListener*, const TextChange* change, uint32_t, int) override
    {
        if (change)
            change->AdjustPosition(caret);
    }
};

void Row(const char* name, double value, const char* unit, double floor, double target)
{
    const double ratio = value / floor;
    std::printf("%-34s %10.3f %-3s floor %10.3f %-3s ratio %5.2f  target <= %.1f  %s\n", name, value, unit, floor,
                unit, ratio, target, ratio <= target ? "met" : "over target");
    char text[32];
    std::snprintf(text, sizeof text, "<= %.1fx floor", target);
    benchrow::Row(std::string("buffer: ") + name, value, unit, "floor", floor, {target, 0, false, text});
}

void Row(const char* name, double value, const char* unit, double target)
{
    std::printf("%-34s %10.3f %-3s %37s target <= %.1f %s  %s\n", name, value, unit, "", target, unit,
                value <= target ? "met" : "over target");
    char text[32];
    std::snprintf(text, sizeof text, "<= %.1f %s", target, unit);
    benchrow::Row(std::string("buffer: ") + name, value, unit, "", -1, {0, target, false, text});
}

} // namespace

int main(int argc, char** argv)
{
    const size_t target = argc > 1 ? std::strtoull(argv[1], nullptr, 10) << 20 : size_t(100) << 20;
    char tmpl[] = "/tmp/kib-bench-buffer-XXXXXX";
    if (!mkdtemp(tmpl))
        return 1;
    const std::string dir = tmpl;
    const std::string file = dir + "/Big.java", saved = dir + "/Saved.java", floorFile = dir + "/Floor.java";
    size_t lines = 0;
    const size_t size = Generate(file, target, lines);
    std::printf("file: %.1f MB, %zu lines, CR LF\n\n", size / 1048576.0, lines);

    // --- Load.
    size_t lfCount = 0;
    const double floorLoad = Best(5, [&] {
        auto t0 = Clock::now();
        int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st;
        fstat(fd, &st);
        char* p = static_cast<char*>(std::malloc(static_cast<size_t>(st.st_size)));
        // The same pages as the buffer's block: the floor is the read, not the kernel's page handling.
        platform::PrepareBigBlock(p, static_cast<size_t>(st.st_size));
        size_t got = 0;
        while (got < static_cast<size_t>(st.st_size)) {
            ssize_t r = read(fd, p + got, static_cast<size_t>(st.st_size) - got);
            if (r <= 0)
                break;
            got += static_cast<size_t>(r);
        }
        close(fd);
        size_t count = 0;
        for (const char* q = p; (q = static_cast<const char*>(std::memchr(q, '\n', static_cast<size_t>(p + got - q)))); ++q)
            ++count;
        lfCount = count;
        double s = Seconds(t0, Clock::now());
        std::free(p);
        return s;
    });
    int loadedLines = 0;
    TextEncoding seen = TextEncoding::Cp1252;
    // The best of five loads of path; the last load's line count and encoding.
    auto bestLoad = [&](const std::string& path) {
        return Best(5, [&] {
            auto b = std::make_unique<CTextBuffer>();
            auto t0 = Clock::now();
            if (!b->LoadFile(path))
                std::abort();
            double s = Seconds(t0, Clock::now());
            loadedLines = b->LineCount();
            seen = b->Encoding();
            return s;
        });
    };
    const double load = bestLoad(file);
    std::printf("(%zu LF counted by the floor, %d lines loaded)\n", lfCount, loadedLines);
    Row("load", load * 1e3, "ms", floorLoad * 1e3, 4.0);

    // --- Load of the same file with German comments in UTF-8: the encoding
    // check runs over every byte, beside the ASCII file's load.
    {
        const std::string german = dir + "/Gross.java";
        size_t germanLines = 0;
        const size_t germanSize = Generate(german, target, germanLines, true);
        const double loadUtf8 = bestLoad(german);
        std::printf("(UTF-8 file with umlauts: %.1f MB, %zu lines, loaded as %s)\n", germanSize / 1048576.0,
                    germanLines, textencoding::Name(seen));
        Row("load UTF-8 umlauts (floor: ASCII)", loadUtf8 * 1e3, "ms", load * 1e3, 1.5);
        std::remove(german.c_str());
    }

    // --- Peak memory of a load, measured in a child from a reset high-water mark.
    int pipefd[2];
    if (pipe(pipefd) != 0)
        return 1;
    pid_t pid = fork();
    if (pid == 0) {
        close(pipefd[0]);
        {
            std::ofstream clear("/proc/self/clear_refs");
            clear << "5";
        }
        const long before = StatusKb("VmRSS:");
        const long hwmBefore = StatusKb("VmHWM:");
        CTextBuffer b;
        b.LoadFile(file);
        const long after = StatusKb("VmRSS:");
        const long peak = StatusKb("VmHWM:");
        long v[4] = {before, hwmBefore, after, peak};
        if (write(pipefd[1], v, sizeof v) != static_cast<ssize_t>(sizeof v))
            _exit(1);
        _exit(0);
    }
    close(pipefd[1]);
    long v[4] = {};
    if (read(pipefd[0], v, sizeof v) != static_cast<ssize_t>(sizeof v))
        std::printf("peak memory: child failed\n");
    waitpid(pid, nullptr, 0);
    const double peakMb = (v[3] - v[0]) / 1024.0, heldMb = (v[2] - v[0]) / 1024.0, fileMb = size / 1048576.0;
    std::printf("%-34s %10.1f MB  file %10.1f MB  ratio %5.2f  target <= 2.0  %s  (held after load %.1f MB, "
                "high-water mark reset %s)\n",
                "peak memory of a load", peakMb, fileMb, peakMb / fileMb, peakMb / fileMb <= 2.0 ? "met" : "over target",
                heldMb, v[1] <= v[0] + 1024 ? "yes" : "NO");
    benchrow::Row("buffer: peak memory of a load", peakMb, "MB", "file size", fileMb, {2.0, 0, false, "<= 2.0x file"});

    // --- Save.
    CTextBuffer buffer;
    buffer.LoadFile(file);
    const std::string bytes = buffer.SaveToMemory();
    // The floor: the bytes in one write, synced (into a new file, or over
    // the one there), or without the sync.
    auto writeFloor = [&](bool fresh, bool synced) {
        if (fresh)
            unlink(floorFile.c_str());
        auto t0 = Clock::now();
        int fd = open(floorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            std::abort();
        if (synced)
            fsync(fd);
        close(fd);
        double s = Seconds(t0, Clock::now());
        if (!synced)
            sync();
        return s;
    };
    const double floorSave = Best(3, [&] { return writeFloor(true, true); });
    const double floorWriteOnly = Best(3, [&] { return writeFloor(true, false); });
    // A user saves over the file that is there: the save and its floor
    // (the same bytes written over the existing file, synced) both replace
    // an existing file; into a new file is printed beside it.
    writeFloor(true, true);
    const double floorOver = Best(3, [&] { return writeFloor(false, true); });
    unlink(floorFile.c_str());
    const double save = Best(3, [&] {
        unlink(saved.c_str());
        auto t0 = Clock::now();
        if (!buffer.SaveFile(saved))
            std::abort();
        return Seconds(t0, Clock::now());
    });
    const double saveOver = Best(3, [&] {
        auto t0 = Clock::now();
        if (!buffer.SaveFile(saved))
            std::abort();
        return Seconds(t0, Clock::now());
    });
    Row("save over the existing file", saveOver * 1e3, "ms", floorOver * 1e3, 2.0);
    std::printf("  (floor: the bytes written over the existing file, fsync; the save writes a new file,\n"
                "   renames it over the old one and syncs the folder)\n");
    Row("save into a new file", save * 1e3, "ms", floorSave * 1e3, 2.0);
    std::printf("%-34s %10.3f ms  (one write without fsync; save / this = %.2f)\n", "  floor without fsync",
                floorWriteOnly * 1e3, save / floorWriteOnly);

    // --- Typing and undo at the end of the loaded buffer.
    const int ops = 100000;
    CCaretView view;
    buffer.RegisterView(&view);
    auto typeAtEnd = [&](bool merge) {
        const int last = buffer.LineCount() - 1;
        view.caret = TextPos(buffer.LineLength(last), last);
        auto t0 = Clock::now();
        for (int i = 0; i < ops; ++i) {
            const char c = static_cast<char>('a' + i % 26);
            buffer.OpenUndoGroup(merge);
            int el, ec;
            buffer.InsertTextAt(&view, view.caret.y, view.caret.x, std::string_view(&c, 1), el, ec, ACT_TYPING);
            view.caret = TextPos(ec, el);
            buffer.CloseUndoGroup(&view);
        }
        return Seconds(t0, Clock::now()) / ops;
    };
    // Each character its own undo step: the history stays at the cap of 1024
    // records and drops the oldest group with every insertion.
    const double typeSingle = typeAtEnd(false);
    const int kept = buffer.UndoRecordCount();
    int undos = 0, redos = 0;
    double undoTime = 0, redoTime = 0;
    while (undos < ops) {
        TextPos cur;
        auto t0 = Clock::now();
        int k = 0;
        while (buffer.CanUndoStep() && undos + k < ops) {
            buffer.UndoStep(cur);
            ++k;
        }
        auto t1 = Clock::now();
        int r = 0;
        while (buffer.CanRedoStep()) {
            buffer.RedoStep(cur);
            ++r;
        }
        undoTime += Seconds(t0, t1);
        redoTime += Seconds(t1, Clock::now());
        undos += k;
        redos += r;
    }
    Row("typing, one step per character", typeSingle * 1e6, "us", 2.0);
    std::printf("  (history kept %d records)\n", kept);
    Row("undo, one character per step", undoTime / undos * 1e6, "us", 2.0);
    Row("redo, one character per step", redoTime / redos * 1e6, "us", 2.0);

    // A word typed character by character: one group of 100000 records, kept
    // whole, reverted by one Undo.
    buffer.LoadFile(file);
    const double typeWord = typeAtEnd(true);
    TextPos cur;
    auto t0 = Clock::now();
    buffer.UndoStep(cur);
    const double undoWord = Seconds(t0, Clock::now()) / ops;
    t0 = Clock::now();
    buffer.RedoStep(cur);
    const double redoWord = Seconds(t0, Clock::now()) / ops;
    Row("typing, one word of 100000 chars", typeWord * 1e6, "us", 2.0);
    Row("  its undo, per record", undoWord * 1e6, "us", 2.0);
    Row("  its redo, per record", redoWord * 1e6, "us", 2.0);
    buffer.UnregisterView(&view);

    std::string rm = "rm -rf '" + dir + "'";
    return std::system(rm.c_str());
}
