// The warm compile server over a sample of the JDK's own sources: each file
// compiled alone (its package line taken out, so that it is an ordinary class
// of its folder), and a few unchanged (javac then refuses a package of the
// JDK's modules). Exit status, both streams, pane text and class files equal
// those of the javac process, with JDK 17 and Temurin 25.
#include "unit/toolchain/WarmCompare.h"

#include "settings/Settings.h"
#include "support/CommandOutput.h"
#include "support/JdkSources.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"
#include "toolchain/WarmCompiler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>

using namespace toolchain;
using namespace kibtest;

namespace {

const char* const kJdks[] = {"/usr/lib/jvm/java-17-openjdk-amd64", "/usr/lib/jvm/temurin-25-jdk-amd64"};
constexpr size_t kSample = 20;
constexpr size_t kUnchanged = 4;

// Small files of java.util, java.io and java.lang, spread over the listing.
std::vector<std::string> SampleNames(const std::string& zip)
{
    std::vector<std::string> names;
    FILE* p = popen(("unzip -Z1 '" + zip + "'").c_str(), "r");
    if (!p)
        return names;
    char line[4096];
    while (fgets(line, sizeof line, p)) {
        std::string n = line;
        while (!n.empty() && (n.back() == '\n' || n.back() == '\r'))
            n.pop_back();
        for (const char* dir : {"java.base/java/util/", "java.base/java/io/", "java.base/java/lang/"})
            if (n.rfind(dir, 0) == 0 && n.find('/', std::string(dir).size()) == std::string::npos &&
                n.size() > 5 && n.compare(n.size() - 5, 5, ".java") == 0 && n.find("package-info") == std::string::npos)
                names.push_back(n);
    }
    pclose(p);
    std::sort(names.begin(), names.end());
    std::vector<std::string> sample;
    size_t step = std::max<size_t>(1, names.size() / (kSample + kUnchanged));
    for (size_t i = 0; i < names.size() && sample.size() < kSample + kUnchanged; i += step)
        sample.push_back(names[i]);
    return sample;
}

std::string WithoutPackage(const std::string& text)
{
    size_t at = text.find("\npackage ");
    if (at == std::string::npos)
        return text;
    size_t end = text.find(';', at);
    std::string out = text;
    out.replace(at + 1, end - at, std::string(end - at, ' ')); // lines stay where they were
    return out;
}

class WarmCompilerCorpus : public ::testing::TestWithParam<const char*> {};

TEST_P(WarmCompilerCorpus, JdkSourcesCompileAloneAsWithTheProcess)
{
    std::string jdk = GetParam();
    if (!Exists(jdk + "/bin/javac"))
        GTEST_SKIP() << "no JDK at " << jdk;
    std::string zip = FindJdkSourceZip();
    if (zip.empty())
        GTEST_SKIP() << "no JDK src.zip";
    std::vector<std::string> names = SampleNames(zip);
    ASSERT_GE(names.size(), kSample) << zip;

    CTempDir tmp;
    CScopedEnv cache("XDG_CACHE_HOME", tmp.File("cache"));
    std::string folder = tmp.File("src");
    mkdir(folder.c_str(), 0755);
    CSettings s;
    s.m_compilerPath = jdk + "/bin/javac";
    CChildConsole console = ChildConsoleFor(IdeClassPath());
    CWarmCompiler warm;
    warm.SetWarmups(2);

    int compiledAlone = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        std::string base = names[i].substr(names[i].rfind('/') + 1);
        std::string text = kibtest::CommandOutput("unzip -p '" + zip + "' '" + names[i] + "'");
        bool unchanged = i % ((kSample + kUnchanged) / kUnchanged) == 0;
        std::string source = folder + "/" + base;
        WriteFile(source, unchanged ? text : WithoutPackage(text));
        CCompileCommand c = BuildCompileCommand(s, source, IdeClassPath());
        ASSERT_TRUE(PrepareAndWait(warm, c, console));
        CCompileOutcome process = CompileWithProcess(c, console, {folder});
        CWarmCompiler::CResult r = warm.Compile(c, console.environment);
        ASSERT_EQ(r.how, CWarmCompiler::EHow::Served) << names[i] << ": " << r.answer.reason;
        ExpectSame(process, OutcomeOf(r.answer, console, {folder}), names[i]);
        if (process.exitCode == 0)
            ++compiledAlone;
        unlink(source.c_str());
    }
    std::cout << "[ corpus   ] " << jdk << ": " << names.size() << " files, " << compiledAlone
              << " compiled alone without errors\n";
    EXPECT_GE(compiledAlone, 3);
}

INSTANTIATE_TEST_SUITE_P(Jdks, WarmCompilerCorpus, ::testing::ValuesIn(kJdks),
                         [](const auto& info) { return std::string(info.param).find("17") != std::string::npos
                                                           ? std::string("Jdk17")
                                                           : std::string("Temurin25"); });

} // namespace
