// The queue between the runner's reader threads and the output panes: the
// order of the text, one posted flush at a time, back-pressure on the
// readers and its release by stops and closing, CR LF pairs split between
// reads, and stale exit notices.
#include "toolchain/RunnerPaneQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

using namespace toolchain;
using namespace std::chrono_literals;

namespace {

constexpr auto kOut = CRunnerPaneQueue::kStdOut;
constexpr auto kErr = CRunnerPaneQueue::kStdErr;

// Counts the posted flushes.
struct Posts {
    std::atomic<int> count{0};
    std::function<void()> Fn()
    {
        return [this] { ++count; };
    }
};

// Closes the queue when a test ends early, so that no reader it started
// keeps waiting (and the test with it).
struct CloseAtEnd {
    CRunnerPaneQueue& q;
    ~CloseAtEnd() { q.Close(); }
};

// Whether a push started on another thread is still waiting after a while.
// A push that never waits returns at once; one that waits stays put.
bool StillWaiting(std::future<void>& f)
{
    return f.wait_for(100ms) == std::future_status::timeout;
}

TEST(RunnerPaneQueue, TextKeepsItsOrderPerPaneAndLineFeedsBecomeCrLf)
{
    Posts posts;
    CRunnerPaneQueue q(posts.Fn());
    q.Push(EOutputPane::Compiler, kOut, "Compile A.java\n", false);
    q.Push(EOutputPane::Program, kOut, "Hallo\n", false);
    q.Push(EOutputPane::Compiler, kErr, "A.java:3: error\n", false);
    q.Push(EOutputPane::None, kOut, "dropped\n", false);
    q.Push(EOutputPane::Program, kErr, "Welt", false);
    EXPECT_EQ(q.PendingBytes(), 16u + 7u + 17u + 4u);
    CRunnerPaneQueue::Batch b = q.Take(false);
    EXPECT_EQ(b.compiler, "Compile A.java\r\nA.java:3: error\r\n");
    EXPECT_EQ(b.program, "Hallo\r\nWelt");
    EXPECT_EQ(q.PendingBytes(), 0u);
    EXPECT_TRUE(q.Take(false).Empty());
}

TEST(RunnerPaneQueue, TwoReadersIntoOnePaneKeepEachOnesOrderAndWholeChunks)
{
    Posts posts;
    CRunnerPaneQueue q(posts.Fn(), 64); // small: the readers wait often
    auto reader = [&q](char tag, CRunnerPaneQueue::EStream stream) {
        for (int i = 0; i < 2000; ++i)
            q.Push(EOutputPane::Program, stream, std::string(1, tag) + std::to_string(i) + ";", true);
    };
    std::thread out(reader, 'o', kOut), err(reader, 'e', kErr);
    std::string all;
    auto deadline = std::chrono::steady_clock::now() + 30s;
    std::atomic<bool> done{false};
    std::thread joiner([&] {
        out.join();
        err.join();
        done = true;
    });
    while (!done && std::chrono::steady_clock::now() < deadline) {
        all += q.Take(false).program;
        std::this_thread::yield();
    }
    joiner.join();
    all += q.Take(true).program;
    int next[2] = {0, 0};
    size_t pos = 0;
    while (pos < all.size()) {
        size_t end = all.find(';', pos);
        ASSERT_NE(end, std::string::npos) << "a chunk was cut";
        char tag = all[pos];
        ASSERT_TRUE(tag == 'o' || tag == 'e') << all.substr(pos, 20);
        int& expected = next[tag == 'o' ? 0 : 1];
        ASSERT_EQ(all.substr(pos + 1, end - pos - 1), std::to_string(expected)) << "reader " << tag;
        ++expected;
        pos = end + 1;
    }
    EXPECT_EQ(next[0], 2000);
    EXPECT_EQ(next[1], 2000);
}

TEST(RunnerPaneQueue, OneFlushIsPostedUntilATakeFindsNothing)
{
    Posts posts;
    CRunnerPaneQueue q(posts.Fn());
    q.Push(EOutputPane::Program, kOut, "a", false);
    q.Push(EOutputPane::Program, kOut, "b", false);
    EXPECT_EQ(posts.count, 1) << "the posted flush takes both";
    EXPECT_EQ(q.Take(false).program, "ab");
    q.Push(EOutputPane::Program, kOut, "c", false);
    EXPECT_EQ(posts.count, 1) << "while text keeps coming the batches take it, not new posts";
    EXPECT_EQ(q.Take(true).program, "c");
    EXPECT_TRUE(q.Take(true).Empty());
    q.Push(EOutputPane::Program, kOut, "d", false);
    EXPECT_EQ(posts.count, 1) << "taking everything at a child's end does not end the batches";
    EXPECT_EQ(q.Take(false).program, "d");
    EXPECT_TRUE(q.Take(false).Empty());
    q.Push(EOutputPane::Compiler, kOut, "e", false);
    EXPECT_EQ(posts.count, 2) << "after a quiet take the next text posts again";
}

TEST(RunnerPaneQueue, AReaderWaitsForRoomAndATakeLetsItOn)
{
    Posts posts;
    CRunnerPaneQueue q(posts.Fn(), 10);
    q.Push(EOutputPane::Program, kOut, "0123456789AB", true); // room until the limit is reached
    EXPECT_EQ(q.PendingBytes(), 12u);
    auto reader = std::async(std::launch::async, [&] { q.Push(EOutputPane::Program, kOut, "more", true); });
    CloseAtEnd guard{q};
    EXPECT_TRUE(StillWaiting(reader)) << "the limit is passed: the reader waits";
    // The user-interface thread itself never waits.
    q.Push(EOutputPane::Compiler, kOut, "failed to start", false);
    CRunnerPaneQueue::Batch b = q.Take(false);
    EXPECT_EQ(b.program, "0123456789AB");
    EXPECT_EQ(b.compiler, "failed to start");
    ASSERT_EQ(reader.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(q.Take(false).program, "more");
}

TEST(RunnerPaneQueue, AReaderThatMustWaitAsksForAFlushOnceUntilTheNextTake)
{
    Posts posts;
    CRunnerPaneQueue q(posts.Fn(), 10);
    q.Push(EOutputPane::Program, kOut, "0123456789", true);
    EXPECT_EQ(posts.count, 1);
    // The user-interface thread passing the limit neither waits nor posts.
    q.Push(EOutputPane::Compiler, kOut, "x", false);
    EXPECT_EQ(posts.count, 1);
    auto out = std::async(std::launch::async, [&] { q.Push(EOutputPane::Program, kOut, "more", true); });
    auto err = std::async(std::launch::async, [&] { q.Push(EOutputPane::Program, kErr, "err", true); });
    CloseAtEnd guard{q};
    ASSERT_TRUE(StillWaiting(out));
    ASSERT_TRUE(StillWaiting(err));
    EXPECT_EQ(posts.count, 2) << "the first reader to wait asks at once, the second does not ask again";
    EXPECT_EQ(q.Take(false).program, "0123456789");
    ASSERT_EQ(out.wait_for(10s), std::future_status::ready);
    ASSERT_EQ(err.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(posts.count, 2) << "with room again nobody asks";
    q.Push(EOutputPane::Program, kOut, "0123456789", true);
    auto again = std::async(std::launch::async, [&] { q.Push(EOutputPane::Program, kOut, "!", true); });
    ASSERT_TRUE(StillWaiting(again));
    EXPECT_EQ(posts.count, 3) << "after a take, a reader that waits again asks again";
    q.Take(false);
    ASSERT_EQ(again.wait_for(10s), std::future_status::ready);

    // While a stop joins the readers nobody waits, so nobody asks.
    q.Push(EOutputPane::Program, kOut, "0123456789", true);
    q.BeginStop();
    q.Push(EOutputPane::Program, kOut, "during the stop", true);
    q.EndStop();
    EXPECT_EQ(posts.count, 3);
}

TEST(RunnerPaneQueue, AStopAndTheCloseReleaseWaitingReaders)
{
    Posts posts;
    CRunnerPaneQueue q(posts.Fn(), 4);
    q.Push(EOutputPane::Program, kOut, "full", true);
    auto first = std::async(std::launch::async, [&] { q.Push(EOutputPane::Program, kOut, "1", true); });
    CloseAtEnd guard{q};
    ASSERT_TRUE(StillWaiting(first));
    // A stop joins the readers: they must not wait meanwhile, and their text
    // still goes in.
    q.BeginStop();
    ASSERT_EQ(first.wait_for(10s), std::future_status::ready);
    q.Push(EOutputPane::Program, kOut, "2", true);
    q.EndStop();
    EXPECT_EQ(q.PendingBytes(), 6u);
    auto second = std::async(std::launch::async, [&] { q.Push(EOutputPane::Program, kOut, "3", true); });
    CloseAtEnd guard2{q};
    ASSERT_TRUE(StillWaiting(second)) << "after the stop the limit holds again";

    int before = posts.count;
    q.Close();
    ASSERT_EQ(second.wait_for(10s), std::future_status::ready);
    EXPECT_TRUE(q.Closed());
    EXPECT_EQ(q.Take(true).program, "full12") << "text after the close is dropped";
    q.Push(EOutputPane::Program, kOut, "late", true);
    EXPECT_TRUE(q.Take(true).Empty());
    EXPECT_EQ(posts.count, before) << "nothing is posted to a closed view";
    bool ran = false;
    EXPECT_FALSE(q.PostUnlessClosed([&] { ran = true; }));
    EXPECT_FALSE(ran);
}

TEST(RunnerPaneQueue, ACrLfSplitBetweenReadsReachesThePaneAsOnePair)
{
    Posts posts;
    CRunnerPaneQueue q(posts.Fn());
    // The child wrote "eins\r\nzwei\r\n", read as "eins\r" and "\nzwei\r", "\n".
    q.Push(EOutputPane::Program, kOut, "eins\r", true);
    EXPECT_EQ(q.Take(false).program, "eins") << "the CR waits for its LF";
    EXPECT_EQ(q.PendingBytes(), 1u);
    q.Push(EOutputPane::Program, kOut, "\nzwei\r", true);
    EXPECT_EQ(q.Take(false).program, "\r\nzwei") << "the LF after a CR gets no second CR";
    q.Push(EOutputPane::Program, kOut, "\n", true);
    EXPECT_EQ(q.Take(false).program, "\r\n");

    // A lone CR at the child's end goes in with everything else.
    q.Push(EOutputPane::Compiler, kErr, "progress 50%\r", true);
    EXPECT_EQ(q.Take(false).compiler, "progress 50%");
    EXPECT_EQ(q.Take(true).compiler, "\r");

    // The streams are separate, and a new start forgets an open CR.
    q.NewStart();
    q.Push(EOutputPane::Program, kOut, "a\r", true);
    q.Push(EOutputPane::Program, kErr, "\nb", true);
    EXPECT_EQ(q.Take(true).program, "a\r\r\nb") << "stderr's LF does not pair with stdout's CR";
    q.Push(EOutputPane::Program, kOut, "c\r", true);
    q.NewStart();
    q.Push(EOutputPane::Program, kOut, "\nd", true);
    EXPECT_EQ(q.Take(true).program, "c\r\r\nd");
}

TEST(RunnerPaneQueue, OnlyTheAwaitedStartsNoticeCountsAndOnlyOnce)
{
    Posts posts;
    CRunnerPaneQueue q(posts.Fn());
    EXPECT_FALSE(q.TakeExit(0)) << "no start awaited";
    q.Await(7);
    EXPECT_FALSE(q.TakeExit(6)) << "the notice of an earlier start is stale";
    EXPECT_FALSE(q.TakeExit(0));
    EXPECT_TRUE(q.TakeExit(7));
    EXPECT_FALSE(q.TakeExit(7)) << "a notice counts once";
    q.Await(8);
    q.ForgetAwaited(); // a stop finished the command first
    EXPECT_FALSE(q.TakeExit(8));

    bool ran = false;
    EXPECT_TRUE(q.PostUnlessClosed([&] { ran = true; }));
    EXPECT_TRUE(ran);
}

} // namespace
