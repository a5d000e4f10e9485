// Fault injection into the settings save: every call that touches the disk
// (create, write, chmod, sync, link, rename) fails in turn, also where no
// link can be made, and every call of one kind at once. Each time the settings file is the old one or
// the new one, complete, the result says which, and nothing else is left in
// the folder but a backup that holds the old file exactly.
#include "platform/AtomicFile.h"
#include "settings/ParamFile.h"
#include "settings/ParamSaveReport.h"
#include "settings/Settings.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <set>

using kibtest::CTempDir;
using kibtest::Entries;
using kibtest::ReadFile;
using kibtest::WriteFile;
using platform::ESaveStep;

namespace {

bool Exists(const std::string& p)
{
    struct stat st;
    return lstat(p.c_str(), &st) == 0;
}

std::string Text(const CSettings& s)
{
    CParamFile f;
    s.Save(f, 96);
    return f.SaveToText();
}

CSettings NewSettings()
{
    CSettings s;
    s.m_compilerPath = "/opt/neu/bin/javac";
    s.m_tabWidth = 2;
    return s;
}

std::string OldText()
{
    CSettings s;
    s.m_compilerPath = "/opt/alt/bin/javac";
    s.m_tools.push_back({"Alt", "", "/bin/true", 1, 1});
    return Text(s);
}

// One starting point of a save.
struct Scenario {
    const char* name;
    std::string old;  // what kibparam.xml (or the link's target) holds; empty: missing
    bool damaged;     // the old file cannot be read completely: a backup is due
    bool throughLink; // kibparam.xml is a link to shared/kibparam.xml
};

class CFaultRun {
public:
    CFaultRun(const Scenario& sc) : m_sc(sc)
    {
        mkdir(m_dir.File("shared").c_str(), 0755);
        m_file = m_dir.File("kibparam.xml");
        m_target = m_sc.throughLink ? m_dir.File("shared/kibparam.xml") : m_file;
        if (m_sc.throughLink)
            symlink("shared/kibparam.xml", m_file.c_str());
        if (!m_sc.old.empty())
            WriteFile(m_target, m_sc.old);
    }

    // Saves with hook in force; checks what is on disk afterwards.
    void SaveAndCheck(const std::function<int(ESaveStep)>& hook, const std::string& what)
    {
        platform::SetSaveFaultHookForTesting(hook);
        CParamSaveReport report;
        const bool ok = NewSettings().SaveFile(m_file, 96, &report);
        platform::SetSaveFaultHookForTesting({});

        const std::string now = Exists(m_target) ? ReadFile(m_target) : std::string("<missing>");
        const std::string newText = Text(NewSettings());
        const std::string oldText = m_sc.old.empty() ? std::string("<missing>") : m_sc.old;
        SCOPED_TRACE(std::string(m_sc.name) + ", " + what);
        EXPECT_TRUE(now == oldText || now == newText) << "neither old nor new: " << now.size() << " bytes";
        EXPECT_EQ(ok, now == newText) << "the result must say what is on disk";
        EXPECT_EQ(ok, report.Written());
        if (!ok) {
            EXPECT_FALSE(report.Text(m_file).empty());
        }

        std::set<std::string> allowed = {"kibparam.xml", "shared"};
        if (m_sc.damaged)
            allowed.insert("kibparam.xml.bad");
        for (const std::string& name : Entries(m_dir.Path()))
            EXPECT_TRUE(allowed.count(name)) << "left behind: " << name;
        if (m_sc.throughLink) {
            EXPECT_EQ(Entries(m_dir.File("shared")), std::vector<std::string>{"kibparam.xml"});
        }
        const std::string backup = m_target + ".bad";
        if (Exists(backup)) {
            EXPECT_EQ(ReadFile(backup), m_sc.old) << "a backup holds the old file exactly";
        }
        if (m_sc.damaged && ok) {
            EXPECT_TRUE(Exists(backup)) << "written over a damaged file without its backup";
        }
    }

private:
    const Scenario& m_sc;
    CTempDir m_dir;
    std::string m_file, m_target;
};

class SettingsSaveFault : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { platform::SetUnnamedTempFilesForTesting(GetParam()); }
    void TearDown() override
    {
        platform::SetSaveFaultHookForTesting({});
        platform::SetUnnamedTempFilesForTesting(true);
    }

    static std::vector<Scenario> Scenarios()
    {
        const std::string old = OldText();
        return {
            {"replacing a settings file", old, false, false},
            {"making a new file", "", false, false},
            {"over a file cut off", old.substr(0, old.size() / 2), true, false},
            {"through a link", old, false, true},
        };
    }
};

} // namespace

TEST_P(SettingsSaveFault, EveryCallFailingInTurnLeavesTheOldOrTheNewFile)
{
    int runs = 0;
    for (const Scenario& sc : Scenarios()) {
        // The steps of a save without faults.
        std::vector<ESaveStep> steps;
        CFaultRun(sc).SaveAndCheck([&](ESaveStep s) { steps.push_back(s); return 0; }, "no fault");
        const std::set<ESaveStep> kinds(steps.begin(), steps.end());
        EXPECT_TRUE(kinds.count(ESaveStep::Write) && kinds.count(ESaveStep::Sync) &&
                    kinds.count(ESaveStep::Rename))
            << sc.name;

        // Fail call k; a failure may lead to other calls (a copy where a
        // link failed), so k runs until a save makes fewer than k calls.
        // The third way also refuses every link, as a system that cannot
        // link at all does (the backup and the temporary file are copied).
        for (int k = 0;; ++k) {
            bool reached = false;
            for (int way = 0; way < 3; ++way) {
                const int err = way == 1 ? ENOSPC : EIO;
                int calls = 0;
                CFaultRun run(sc);
                platform::SetUnnamedTempFilesForTesting(GetParam());
                run.SaveAndCheck(
                    [&](ESaveStep step) {
                        if (calls++ == k) {
                            reached = true;
                            return err;
                        }
                        return way == 2 && step == ESaveStep::Link ? EPERM : 0;
                    },
                    "call " + std::to_string(k) + " fails with " + std::to_string(err) +
                        (way == 2 ? ", links refused" : ""));
                ++runs;
            }
            if (!reached)
                break;
        }
    }
    EXPECT_GT(runs, 40);
}

TEST_P(SettingsSaveFault, EveryCallOfOneKindFailingLeavesTheOldOrTheNewFile)
{
    for (const Scenario& sc : Scenarios()) {
        for (ESaveStep kind : {ESaveStep::CreateTemp, ESaveStep::Write, ESaveStep::Chmod,
                               ESaveStep::Sync, ESaveStep::Link, ESaveStep::Rename}) {
            CFaultRun run(sc);
            platform::SetUnnamedTempFilesForTesting(GetParam());
            run.SaveAndCheck([&](ESaveStep s) { return s == kind ? EIO : 0; },
                             "every call of kind " + std::to_string(static_cast<int>(kind)) + " fails");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(TemporaryFile, SettingsSaveFault, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Unnamed" : "Named";
                         });
