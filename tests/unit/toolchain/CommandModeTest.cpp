#include "toolchain/CommandMode.h"

#include "settings/Settings.h"
#include "toolchain/PaneText.h"

#include <gtest/gtest.h>

using namespace toolchain;

TEST(CommandModeTest, CompileRoutesBothStreamsToTheCompilerPaneAndNotesErrorText)
{
    CCommandMode st;
    EXPECT_EQ(st.Mode(), CMD_IDLE);
    EXPECT_EQ(st.RouteText(false), EOutputPane::None) << "idle drops text";
    EXPECT_EQ(st.ExitNotice(), EExitNotice::None);

    st.BeginCompile(false);
    EXPECT_EQ(st.Mode(), CMD_COMPILE);
    EXPECT_EQ(st.RouteText(false), EOutputPane::Compiler);
    EXPECT_FALSE(st.ErrorOutputSeen()) << "standard output is no error";
    EXPECT_EQ(st.RouteText(true), EOutputPane::Compiler);
    EXPECT_TRUE(st.ErrorOutputSeen());
    EXPECT_EQ(st.ExitNotice(), EExitNotice::Build);
    EXPECT_FALSE(st.FinishBuild()) << "a plain compile runs nothing";
    EXPECT_EQ(st.Mode(), CMD_IDLE);
}

TEST(CommandModeTest, CompileThenRunRunsOnlyWhenStandardErrorStayedEmpty)
{
    CCommandMode st;
    st.BeginCompile(true);
    EXPECT_EQ(st.Mode(), CMD_COMPILE_RUN);
    st.RouteText(false);
    EXPECT_TRUE(st.FinishBuild());
    EXPECT_EQ(st.Mode(), CMD_IDLE);

    st.BeginCompile(true);
    st.RouteText(true); // a warning on stderr is enough
    EXPECT_FALSE(st.FinishBuild());

    // The flag is cleared by the next compile, not by a run.
    st.BeginRun();
    EXPECT_TRUE(st.ErrorOutputSeen());
    EXPECT_EQ(st.RouteText(true), EOutputPane::Program);
    st.BeginCompile(true);
    EXPECT_FALSE(st.ErrorOutputSeen());
    EXPECT_TRUE(st.FinishBuild());
}

TEST(CommandModeTest, RunGoesToTheProgramPaneAndEndsWithTheStartNotice)
{
    CCommandMode st;
    st.BeginRun();
    EXPECT_EQ(st.Mode(), CMD_RUN);
    EXPECT_EQ(st.RouteText(false), EOutputPane::Program);
    EXPECT_EQ(st.RouteText(true), EOutputPane::Program);
    EXPECT_FALSE(st.ErrorOutputSeen()) << "a program's errors are not compile errors";
    EXPECT_EQ(st.ExitNotice(), EExitNotice::Start);
    st.FinishRun();
    EXPECT_EQ(st.Mode(), CMD_IDLE);

    st.BeginCompile(false);
    st.StartFailed();
    EXPECT_EQ(st.Mode(), CMD_IDLE) << "a failed start returns to idle";
}

TEST(SaveRules, OnlyExactlyOneSavesAndTheTypeChoosesWhat)
{
    CSettings s;
    s.m_autoSaveBeforeCompile = 0;
    EXPECT_EQ(SaveBeforeCompile(s), ESaveBeforeCompile::None);
    s.m_autoSaveBeforeCompile = 2;
    EXPECT_EQ(SaveBeforeCompile(s), ESaveBeforeCompile::None);
    s.m_autoSaveBeforeCompile = 1;
    s.m_autoSaveBeforeCompileType = 0;
    EXPECT_EQ(SaveBeforeCompile(s), ESaveBeforeCompile::AllFiles);
    s.m_autoSaveBeforeCompileType = 3;
    EXPECT_EQ(SaveBeforeCompile(s), ESaveBeforeCompile::ThisFile);
}

TEST(RunSource, ChosenStartFileOrTheViewsOwnFile)
{
    std::vector<std::string> files = {"/a/One.java", "/b/Two.java"};
    EXPECT_EQ(ChooseRunSource(-1, files, "/v/View.java"), "/v/View.java");
    EXPECT_EQ(ChooseRunSource(1, files, "/v/View.java"), "/b/Two.java");
    EXPECT_EQ(ChooseRunSource(2, files, "/v/View.java"), "/v/View.java") << "no entry there";
    EXPECT_EQ(ChooseRunSource(0, {}, ""), "");
}

TEST(PaneTextTest, LineFeedsBecomeCrLfAndCrLfStaysOneBreakAcrossChunks)
{
    CPaneTextConverter c;
    EXPECT_EQ(c.Convert("a\nb\r\nc\rd"), "a\r\nb\r\nc\rd");
    EXPECT_EQ(c.Convert("\n\n"), "\r\n\r\n");
    // A CR LF split between two chunks.
    EXPECT_EQ(c.Convert("x\r"), "x\r");
    EXPECT_EQ(c.Convert("\ny"), "\ny");
    EXPECT_EQ(c.Convert(""), "");
    c.Convert("z\r");
    c.Reset();
    EXPECT_EQ(c.Convert("\n"), "\r\n");
}
