// A save killed at any moment (kill -9 of a real process, a large file)
// leaves the document old or new and complete, and no temporary file beside
// it, neither then nor after the next save.
#include "editor/TextBuffer.h"
#include "platform/AtomicFile.h"

#include "support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

using kibtest::CTempDir;
using kibtest::Entries;
using kibtest::ReadFile;
using kibtest::WriteFile;

namespace {

std::string Text(char fill, size_t lines)
{
    std::string line(60, fill);
    line += "\r\n";
    std::string s;
    s.reserve(line.size() * lines);
    for (size_t i = 0; i < lines; ++i)
        s += line;
    return s;
}

} // namespace

TEST(TextBufferKilledSave, KillNineDuringASaveLeavesOldOrNewAndNoTemporaryFile)
{
    CTempDir dir;
    {
        int fd = open(dir.Path().c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd < 0)
            GTEST_SKIP() << "this file system has no unnamed temporary files";
        close(fd);
    }
    const std::string doc = dir.File("Gross.java");
    const std::string oldText = Text('o', 1 << 20);    // 62 MB
    const std::string newText = Text('n', 1100000);    // 68 MB
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromMemory(newText));

    // How long one save takes here, to spread the kills over it.
    CTempDir scratch;
    auto t0 = std::chrono::steady_clock::now();
    ASSERT_TRUE(buffer.SaveFile(scratch.File("x.java"), -1, false));
    auto saveTime = std::chrono::steady_clock::now() - t0;

    // At least 12 rounds; on a loaded machine the measured save can be far
    // longer than the ones that follow, so a save that finished before its
    // kill halves the estimate, and more rounds are run until enough kills
    // have landed while saving.
    int killedDuring = 0;
    for (int round = 0; round < 12 || (killedDuring < 5 && round < 60); ++round) {
        WriteFile(doc, oldText);
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(ready[0]);
            char c = 'r';
            if (write(ready[1], &c, 1) != 1)
                _exit(3);
            _exit(buffer.SaveFile(doc, -1, false) ? 0 : 1);
        }
        close(ready[1]);
        char c;
        ASSERT_EQ(read(ready[0], &c, 1), 1);
        close(ready[0]);
        std::this_thread::sleep_for(saveTime * (round % 10) / 10);
        kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        if (WIFSIGNALED(status))
            ++killedDuring;
        else {
            EXPECT_EQ(WEXITSTATUS(status), 0);
            saveTime /= 2;
        }

        EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"Gross.java"}) << "round " << round;
        std::string now = ReadFile(doc);
        EXPECT_TRUE(now == oldText || now == newText)
            << "round " << round << ": " << now.size() << " bytes, neither old nor new";
    }
    EXPECT_GE(killedDuring, 5) << "the kills should land while saving";

    // The next start opens the document and saves it: still nothing else.
    CTextBuffer next;
    ASSERT_TRUE(next.LoadFile(doc));
    ASSERT_TRUE(next.SaveFile(doc));
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"Gross.java"});
}
