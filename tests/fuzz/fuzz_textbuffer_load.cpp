// Loads arbitrary bytes as a document (from memory and from a file), checks
// that saving gives exactly the same bytes back, then edits, undoes and
// redoes at positions derived from the input and checks the text each time.
#include "editor/BraceMatcher.h"
#include "editor/TextBuffer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

std::string ReadAll(const std::string& path)
{
    std::string s;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[65536];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            s.append(buf, n);
        std::fclose(f);
    }
    return s;
}

// One folder for the whole run, removed at exit.
const std::string& TempDir()
{
    static const std::string* dir = [] {
        struct stat st;
        std::string t = std::string(stat("/dev/shm", &st) == 0 ? "/dev/shm" : "/tmp") + "/kib-fuzz-XXXXXX";
        if (!mkdtemp(t.data()))
            std::abort();
        return new std::string(t);
    }();
    static const bool cleanup = std::atexit([] { std::system(("rm -rf '" + *dir + "'").c_str()); }) == 0;
    (void)cleanup;
    return *dir;
}

struct Rng {
    uint64_t s;
    uint32_t Next(uint32_t n)
    {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return n ? static_cast<uint32_t>((s >> 33) % n) : 0;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1 << 20))
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    uint64_t hash = 1469598103934665603ull;
    for (uint8_t c : bytes)
        hash = (hash ^ c) * 1099511628211ull;

    for (int style : {-1, EOL_CRLF, EOL_LFCR, EOL_LF}) {
        CTextBuffer b;
        Check(b.LoadFromMemory(bytes, style), "load from memory");
        Check(b.LineCount() >= 1, "at least one line");
        Check(b.SaveToMemory() == bytes, "save gives the loaded bytes back");
        for (int i = 0; i < b.LineCount(); ++i)
            Check(b.LineCapacity(i) == (b.LineLength(i) / 16 + 1) * 16, "capacity of a loaded line");
    }

    // The same through a real file, now and then with a real save.
    const std::string path = TempDir() + "/in.java";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    CTextBuffer b;
    Check(b.LoadFile(path), "load from a file");
    Check(b.SaveToMemory() == bytes, "file load round trip");
    if ((hash & 15) == 0) {
        const std::string out = TempDir() + "/out.java";
        Check(b.SaveFile(out), "save");
        Check(ReadAll(out) == bytes, "saved bytes");
    }

    // Brace matching anywhere must stay inside the text.
    Rng rng{hash};
    CBraceMatcher match;
    match.SetOption(1);
    for (int k = 0; k < 4; ++k) {
        const int line = static_cast<int>(rng.Next(static_cast<uint32_t>(b.LineCount())));
        const int col = static_cast<int>(rng.Next(static_cast<uint32_t>(b.LineLength(line) + 1)));
        match.Update(b, line, TextPos(col, line), TextPos(col, line));
        const TextPos m = match.MatchPos();
        Check(m == TextPos::None() || (m.y < b.LineCount() && m.x < b.LineLength(m.y)), "match inside the text");
    }

    // Edits, then undo to the loaded bytes and redo to the edited text.
    static const char* const kPieces[] = {"x", "\r\n", "\r", "\n", "ab\rcd", "\r\r\n", "{}", ""};
    const int steps = static_cast<int>(rng.Next(40));
    for (int k = 0; k < steps; ++k) {
        const int line = static_cast<int>(rng.Next(static_cast<uint32_t>(b.LineCount())));
        const int pos = static_cast<int>(rng.Next(static_cast<uint32_t>(b.LineLength(line) + 2)));
        int el, ec;
        if (rng.Next(2)) {
            std::string text = kPieces[rng.Next(8)];
            if (rng.Next(4) == 0 && size > 0)
                text.assign(bytes, rng.Next(static_cast<uint32_t>(size)), rng.Next(64));
            Check(b.InsertTextAt(nullptr, line, pos, text, el, ec, ACT_TYPING), "insert");
        } else {
            const int l2 = std::min(b.LineCount() - 1, line + static_cast<int>(rng.Next(3)));
            const int p1 = std::min(pos, b.LineLength(line));
            const int p2 = l2 == line ? p1 + static_cast<int>(rng.Next(static_cast<uint32_t>(b.LineLength(line) - p1 + 1)))
                                      : static_cast<int>(rng.Next(static_cast<uint32_t>(b.LineLength(l2) + 1)));
            Check(b.DeleteRange(nullptr, line, p1, l2, p2, ACT_DELETE), "delete");
        }
        const TextPos last = b.LastChangePos();
        Check(last.y < b.LineCount() && last.x <= b.LineLength(last.y), "last change inside the text");
    }
    const std::string edited = b.SaveToMemory();
    TextPos cur;
    while (b.CanUndoStep())
        Check(b.UndoStep(cur), "undo");
    Check(b.SaveToMemory() == bytes, "undo restores the loaded text");
    Check(!b.IsModified(), "back at the saved state");
    while (b.CanRedoStep())
        Check(b.RedoStep(cur), "redo");
    Check(b.SaveToMemory() == edited, "redo restores the edited text");
    return 0;
}
