// The shared test support itself: scratch directories, scoped variables and
// child processes.
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/child_process.h"
#include "support/scoped_env.h"
#include "support/scratch_dir.h"

namespace {

using k2ltest::ChildResult;
using k2ltest::ScratchDir;

TEST(ScratchDirTest, HoldsWrittenFilesAndIsRemovedWithThem) {
    std::string path;
    {
        const ScratchDir dir;
        path = dir.Path();
        EXPECT_EQ(dir.Write("a/b/c.bin", std::string("x\0y", 3)), dir.Path("a/b/c.bin"));
        EXPECT_EQ(k2ltest::ReadFile(dir.Path("a/b/c.bin")), std::string("x\0y", 3));
        EXPECT_EQ(k2ltest::ReadFile(dir.Path("missing")), "");
        EXPECT_EQ(k2ltest::Entries(dir.Path()), std::vector<std::string>{"a"});
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ScopedEnvTest, PutsBackWhatWasThere) {
    setenv("K2L_SUPPORT_TEST", "before", 1);
    {
        const k2ltest::ScopedEnv unset("K2L_SUPPORT_TEST", nullptr);
        EXPECT_EQ(std::getenv("K2L_SUPPORT_TEST"), nullptr);
    }
    EXPECT_STREQ(std::getenv("K2L_SUPPORT_TEST"), "before");
    unsetenv("K2L_SUPPORT_TEST");
}

TEST(ChildProcessTest, ProgramGetsInputDirectoryAndEnvironmentAndIsCaptured) {
    const ScratchDir dir;
    setenv("K2L_SUPPORT_GONE", "x", 1);
    const ChildResult run = k2ltest::RunProgram(
        {.program = "sh",
         .args = {"-c", "cat; pwd; echo \"$K2L_SUPPORT_SET${K2L_SUPPORT_GONE-unset}\" >&2; exit 3"},
         .directory = dir.Path(),
         .set = {"K2L_SUPPORT_SET=set,"},
         .unset = {"K2L_SUPPORT_GONE"},
         .input = "in\n"});
    unsetenv("K2L_SUPPORT_GONE");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "in\n" + dir.Path() + "\n");
    EXPECT_EQ(run.err, "set,unset\n");
}

TEST(ChildProcessTest, ForkedBodyReportsItsTextAndStatus) {
    const ChildResult run = k2ltest::RunInChild([](std::string& report) {
        report = "from the child " + std::to_string(getpid());
        return 7;
    });
    EXPECT_EQ(run.exitCode, 7);
    EXPECT_NE(run.out, "from the child " + std::to_string(getpid()));
    EXPECT_EQ(run.out.rfind("from the child ", 0), 0u);
}

TEST(ChildProcessTest, ChildOutlivingItsTimeIsKilled) {
    k2ltest::ChildProcess sleeper =
        k2ltest::ChildProcess::Start({.program = "sleep", .args = {"30"}});
    ASSERT_TRUE(sleeper.Started());
    EXPECT_TRUE(sleeper.Running());
    const ChildResult run = sleeper.Wait(std::chrono::milliseconds(50));
    EXPECT_TRUE(run.timedOut);
    EXPECT_EQ(run.exitCode, -1);
    EXPECT_EQ(run.signal, SIGKILL);
    EXPECT_FALSE(sleeper.Running());
}

}  // namespace
