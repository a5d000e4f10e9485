#include "update/WebUpdateChecker.h"

#include "support/HttpTestServer.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

using namespace update;
using kibtest::CHttpTestServer;
using Clock = std::chrono::steady_clock;

namespace {

const char kPath[] = "/versioninfo/kibversion.verinfo";

CHttpTestServer::Handler Serve(const std::string& body)
{
    return [body](CHttpTestServer&, int fd, const std::string&) { CHttpTestServer::Respond(fd, 200, body); };
}

long Millis(Clock::time_point since)
{
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

} // namespace

TEST(WebUpdateChecker, ReadsANewerVersionWithStepsAgentAndFreshRequest)
{
    CHttpTestServer server(Serve("[VERSIONINFO]\r\nTITLE=Kib\r\nVERSION=2.3.26\r\nDATE=01.12.2026\r\n"
                                 "SIZE=3 MB\r\nDOWNLOAD=http://x/kib.zip\r\nINFO=http://x/kib.html\r\nDETAILS=neu\r\n"));
    CWebUpdateChecker checker(server.Url(kPath), "/opt/kib/bin/kib");
    checker.SetCurrentVersion("2.3.25");
    std::vector<int> steps;
    checker.SetProgressCallback([&](int step) { steps.push_back(step); });
    EXPECT_FALSE(checker.HasVersionInfo());
    ASSERT_TRUE(checker.Check(false));
    EXPECT_EQ(checker.GetStatus(), CWebUpdateChecker::kNoError);
    EXPECT_TRUE(checker.HasVersionInfo());
    EXPECT_EQ(steps, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(checker.GetStepCount(), 3);
    CVersionInfo v = checker.GetVersionInfo();
    EXPECT_EQ(v, (CVersionInfo{"http://x/kib.zip", "http://x/kib.html", "2.3.26", "Kib", "3 MB", "01.12.2026", "neu"}));
    EXPECT_TRUE(checker.IsNewerVersion());

    ASSERT_EQ(server.Requests().size(), 1u);
    const std::string request = server.Requests()[0];
    EXPECT_EQ(request.rfind(std::string("GET ") + kPath + " HTTP/1.1\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("User-Agent: Orvane WWW Update Agent 2.2.0.0 (kib 2.3.25)\r\n"), std::string::npos)
        << request;
    EXPECT_NE(request.find("Cache-Control: no-cache\r\n"), std::string::npos) << "a fresh download";
}

TEST(WebUpdateChecker, SameOlderAndMissingVersions)
{
    using namespace std::string_literals;
    for (auto [body, newer] : {std::pair{"[VERSIONINFO]\nVERSION=0.1.0\n"s, false},
                               std::pair{"[VERSIONINFO]\nVERSION=2.4\n"s, false},
                               std::pair{"[VERSIONINFO]\nTITLE=ohne\n"s, false},
                               std::pair{"[versioninfo]\nsize=1\nversion=9.0\ndate=x\n"s, true},
                               // The text ends at its first zero byte.
                               std::pair{"[VERSIONINFO]\nDATE=1\0\nVERSION=9\n"s, false}}) {
        SCOPED_TRACE(body);
        CHttpTestServer server(Serve(body));
        CWebUpdateChecker checker(server.Url(kPath), "kib");
        checker.SetCurrentVersion("2.3.25");
        ASSERT_TRUE(checker.Check(false));
        EXPECT_EQ(checker.IsNewerVersion(), newer);
    }
    // The running program's own version when none is set.
    CHttpTestServer server(Serve(std::string("[VERSIONINFO]\nVERSION=") + KIB_VERSION + "\n"));
    CWebUpdateChecker checker(server.Url(kPath), "kib");
    ASSERT_TRUE(checker.Check(false));
    EXPECT_FALSE(checker.IsNewerVersion());
    EXPECT_EQ(checker.GetUserAgent(), "Orvane WWW Update Agent 2.2.0.0") << "no folder in the program path";
}

TEST(WebUpdateChecker, BodyIsCutAndNeverReadFarBeyondTheCut)
{
    // Keys before the cut are read, those after it are empty.
    std::string text = "[VERSIONINFO]\nVERSION=9.0\n;" + std::string(CWebUpdateChecker::kBodyLimit, 'x') + "\nDATE=spät\n";
    {
        CHttpTestServer server(Serve(text));
        CWebUpdateChecker checker(server.Url(kPath), "kib");
        ASSERT_TRUE(checker.Check(false));
        EXPECT_EQ(checker.GetVersionInfo().version, "9.0");
        EXPECT_EQ(checker.GetVersionInfo().date, "");
    }
    // A body of 10 MB: the check ends after the cut without reading the rest.
    std::atomic<size_t> sent{0};
    CHttpTestServer server([&](CHttpTestServer&, int fd, const std::string&) {
        const size_t total = 10 * 1024 * 1024;
        std::string head = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(total) + "\r\n\r\n";
        CHttpTestServer::Send(fd, head + "[VERSIONINFO]\nVERSION=3.0\n");
        std::string chunk(64 * 1024, 'z');
        while (sent < total && CHttpTestServer::Send(fd, chunk))
            sent += chunk.size();
    });
    CWebUpdateChecker checker(server.Url(kPath), "kib");
    auto start = Clock::now();
    ASSERT_TRUE(checker.Check(false));
    EXPECT_EQ(checker.GetVersionInfo().version, "3.0");
    EXPECT_LT(Millis(start), 5000);
    for (int i = 0; i < 100 && server.Requests().empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_LT(sent.load(), 10u * 1024 * 1024) << "the client stopped reading";
}

TEST(WebUpdateChecker, AServerThatNeverAnswersTimesOutOrIsCancelled)
{
    CHttpTestServer server([](CHttpTestServer& s, int, const std::string&) { s.WaitForStop(); });
    {
        CWebUpdateChecker checker(server.Url(kPath), "kib");
        checker.SetTimeouts(500, 800);
        auto start = Clock::now();
        EXPECT_FALSE(checker.Check(false));
        EXPECT_EQ(checker.GetStatus(), CWebUpdateChecker::kTimeout);
        EXPECT_LT(Millis(start), 4000);
        EXPECT_FALSE(checker.HasVersionInfo());
    }
    CWebUpdateChecker checker(server.Url(kPath), "kib");
    auto start = Clock::now();
    std::thread cancel([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        checker.Cancel();
    });
    EXPECT_FALSE(checker.Check(false));
    cancel.join();
    EXPECT_LT(Millis(start), 3000) << "the default time-outs are far longer";
    EXPECT_EQ(checker.GetStatus(), CWebUpdateChecker::kOtherError);
}

TEST(WebUpdateChecker, FailuresAndTheirStatus)
{
    {
        CWebUpdateChecker checker("http://127.0.0.1:" + std::to_string(CHttpTestServer::ClosedPort()) + kPath, "kib");
        EXPECT_FALSE(checker.Check(false));
        EXPECT_EQ(checker.GetStatus(), CWebUpdateChecker::kNoConnection) << "refused";
    }
    {
        // A redirect to itself, for ever.
        CHttpTestServer server([](CHttpTestServer& s, int fd, const std::string&) {
            CHttpTestServer::Respond(fd, 302, "", "Location: " + s.Url(kPath) + "\r\n");
        });
        CWebUpdateChecker checker(server.Url(kPath), "kib");
        EXPECT_FALSE(checker.Check(false));
        EXPECT_EQ(checker.GetStatus(), CWebUpdateChecker::kOtherError);
        EXPECT_LE(server.Connections(), 6) << "five redirects at most";
    }
    {
        // A redirect to a local file is not followed.
        CHttpTestServer server([](CHttpTestServer&, int fd, const std::string&) {
            CHttpTestServer::Respond(fd, 302, "", "Location: file:///etc/passwd\r\n");
        });
        CWebUpdateChecker checker(server.Url(kPath), "kib");
        EXPECT_FALSE(checker.Check(false));
        EXPECT_FALSE(checker.HasVersionInfo());
    }
    {
        // An error page is no version file.
        CHttpTestServer server([](CHttpTestServer&, int fd, const std::string&) {
            CHttpTestServer::Respond(fd, 404, "[VERSIONINFO]\nVERSION=99\n");
        });
        CWebUpdateChecker checker(server.Url(kPath), "kib");
        EXPECT_FALSE(checker.Check(false));
        EXPECT_EQ(checker.GetStatus(), CWebUpdateChecker::kOtherError);
    }
    for (const char* url : {"file:///etc/passwd", "ftp://127.0.0.1/x", "gopher://127.0.0.1/", "http://[::1"}) {
        CWebUpdateChecker checker(url, "kib");
        EXPECT_FALSE(checker.Check(false)) << url;
        EXPECT_EQ(checker.GetStatus(), CWebUpdateChecker::kInvalidUrl) << url;
        EXPECT_FALSE(checker.HasVersionInfo());
    }
    {
        CWebUpdateChecker checker("http://kib-update.invalid/versioninfo/kibversion.verinfo", "kib");
        checker.SetTimeouts(3000, 5000);
        EXPECT_FALSE(checker.Check(false));
        EXPECT_EQ(checker.GetStatus(), CWebUpdateChecker::kHostNotFound);
    }
}

TEST(WebUpdateChecker, AddressAndSettersKeepTheirRoom)
{
    kibtest::CScopedEnv unset("KIB_UPDATE_URL", nullptr);
    std::string url = UpdateUrl();
    EXPECT_EQ(url.rfind("http://", 0), 0u);
    EXPECT_EQ(url.substr(url.size() - std::string(kPath).size()), kPath);
    setenv("KIB_UPDATE_URL", "http://127.0.0.1:1/v", 1);
    EXPECT_EQ(UpdateUrl(), "http://127.0.0.1:1/v");
    setenv("KIB_UPDATE_URL", "", 1);
    EXPECT_EQ(UpdateUrl(), url) << "empty counts as unset";

    CWebUpdateChecker checker(std::string(3000, 'u'), "/x/kib");
    EXPECT_EQ(checker.GetUrl().size(), 2083u);
    checker.SetUserAgent(std::string(3000, 'a'));
    EXPECT_EQ(checker.GetUserAgent().size(), 2083u);
    checker.SetCurrentVersion(std::string(400, '1'));
    checker.SetUserAgent("");
    EXPECT_EQ(checker.GetUserAgent(), "Orvane WWW Update Agent 2.2.0.0 (kib " + std::string(299, '1') + ")");
}
