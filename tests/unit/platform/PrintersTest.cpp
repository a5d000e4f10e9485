// The CUPS tools as Kib uses them, against stand-ins on PATH: the printer
// list and default, what lp is given, a spooler that fails or hangs, and no
// tools at all.
#include "platform/Printers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

class PrintersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() / ("kib-printers-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        const char* path = std::getenv("PATH");
        oldPath = path ? path : "";
        setenv("PATH", (dir.string() + ":/usr/bin:/bin").c_str(), 1);
    }
    void TearDown() override
    {
        setenv("PATH", oldPath.c_str(), 1);
        std::filesystem::remove_all(dir);
    }
    void Tool(const std::string& name, const std::string& body)
    {
        const auto file = dir / name;
        std::ofstream(file) << "#!/bin/sh\n" << body << "\n";
        std::filesystem::permissions(file, std::filesystem::perms::owner_all);
    }
    std::string Read(const std::string& name)
    {
        std::ifstream in(dir / name);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::filesystem::path dir;
    std::string oldPath;
};

TEST_F(PrintersTest, ListsQueuesAndTheDefault)
{
    Tool("lpstat", "case \"$1\" in -e) printf 'Laser\\nFarbe\\n';; -d) echo \"system default destination: Farbe\";; esac");
    EXPECT_EQ(platform::ListPrinters(), (std::vector<std::string>{"Laser", "Farbe"}));
    EXPECT_EQ(platform::DefaultPrinter(), "Farbe");
}

TEST_F(PrintersTest, NoDefaultAndNoToolsMeanNone)
{
    Tool("lpstat", "case \"$1\" in -e) exit 1;; -d) echo 'no system default destination';; esac");
    EXPECT_TRUE(platform::ListPrinters().empty());
    EXPECT_EQ(platform::DefaultPrinter(), "");
    std::filesystem::remove(dir / "lpstat");
    setenv("PATH", dir.string().c_str(), 1);
    EXPECT_TRUE(platform::ListPrinters().empty());
    EXPECT_EQ(platform::DefaultPrinter(), "");
}

TEST_F(PrintersTest, SubmitGivesLpTheQueueCopiesTitleAndFile)
{
    Tool("lp", "for a in \"$@\"; do printf '%s|' \"$a\"; done > \"$(dirname \"$0\")/args\"");
    std::string error;
    ASSERT_TRUE(platform::SubmitPrintFile("Laser", "/tmp/a b.pdf", 3, "Grüße.java", error)) << error;
    EXPECT_EQ(Read("args"), "-d|Laser|-n|3|-t|Grüße.java|--|/tmp/a b.pdf|");
}

TEST_F(PrintersTest, AFailingSpoolerReportsItsMessage)
{
    Tool("lp", "echo 'lp: The printer or class does not exist.' >&2; exit 1");
    std::string error;
    EXPECT_FALSE(platform::SubmitPrintFile("Weg", "/tmp/x.pdf", 1, "x", error));
    EXPECT_EQ(error, "lp: The printer or class does not exist.");
}

TEST_F(PrintersTest, AHangingToolIsKilledAfterItsTime)
{
    Tool("slow", "sleep 30");
    std::string out;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(platform::RunAndCapture({"slow"}, 300, out), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    Tool("status", "echo hallo; exit 4");
    EXPECT_EQ(platform::RunAndCapture({"status"}, 5000, out), 4);
    EXPECT_EQ(out, "hallo\n");
}

} // namespace
