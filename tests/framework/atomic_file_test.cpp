#include "framework/AtomicFile.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/child_process.h"
#include "support/scratch_dir.h"

namespace {

using k2ltest::Entries;
using k2ltest::ReadFile;
using k2ltest::ScratchDir;

mode_t ModeOf(const std::string& path) {
    struct stat st;
    EXPECT_EQ(stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

TEST(AtomicFileTest, CreatesAndReplacesWithoutLeavingTemporaryFiles) {
    ScratchDir dir;
    const std::string path = dir.Path() + "/settings.ini";
    AtomicFile file(path);
    ASSERT_TRUE(file.Write("first\n"));
    EXPECT_EQ(ReadFile(path), "first\n");
    const std::string binary("a\0b\xff", 4);
    ASSERT_TRUE(file.Write(binary));
    EXPECT_EQ(ReadFile(path), binary);
    ASSERT_TRUE(file.Write(""));
    EXPECT_EQ(ReadFile(path), "");
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"settings.ini"});
    EXPECT_TRUE(file.GetError().empty());
}

TEST(AtomicFileTest, KeepsPermissionBitsOfTheReplacedFile) {
    ScratchDir dir;
    const std::string path = dir.Write("private.ini", "old");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(AtomicFile(path).Write("new"));
    EXPECT_EQ(ModeOf(path), 0640u);

    const mode_t old = umask(027);
    const std::string fresh = dir.Path() + "/fresh.ini";
    const BOOL written = AtomicFile(fresh).Write("x");
    umask(old);
    ASSERT_TRUE(written);
    EXPECT_EQ(ModeOf(fresh), 0640u);
}

TEST(AtomicFileTest, ReplacesTheTargetOfASymbolicLink) {
    ScratchDir dir;
    const std::string real = dir.Write("real.ini", "old");
    const std::string link = dir.Path() + "/link.ini";
    ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
    ASSERT_TRUE(AtomicFile(link).Write("new"));
    EXPECT_EQ(ReadFile(real), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
}

TEST(AtomicFileTest, FailureNamesTheFileAndLeavesNothingBehind) {
    ScratchDir dir;
    const std::string missingDir = dir.Path() + "/nowhere/settings.ini";
    AtomicFile file(missingDir);
    EXPECT_FALSE(file.Write("x"));
    EXPECT_NE(file.GetError().find(missingDir), std::string::npos) << file.GetError();
    EXPECT_NE(file.GetError().find("No such file or directory"), std::string::npos)
        << file.GetError();

    // A directory in the target's place is not replaced.
    std::filesystem::create_directory(dir.Path() + "/taken.ini");
    AtomicFile taken(dir.Path() + "/taken.ini");
    EXPECT_FALSE(taken.Write("x"));
    EXPECT_NE(taken.GetError().find("Is a directory"), std::string::npos) << taken.GetError();
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() + "/taken.ini"));
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"taken.ini"});
}

TEST(AtomicFileTest, FailedWriteLeavesTheTargetUntouched) {
    ScratchDir dir;
    const std::string path = dir.Write("settings.ini", "old content");
    const k2ltest::ChildResult child = k2ltest::RunInChild([&](std::string&) {
        // The file size limit makes the write fail half-way (EFBIG).
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16, 16};
        setrlimit(RLIMIT_FSIZE, &limit);
        AtomicFile file(path);
        const bool failed = !file.Write(std::string(4096, 'x'));
        const bool named = file.GetError().find(path) != std::string::npos &&
                           file.GetError().find("File too large") != std::string::npos;
        return failed && named ? 0 : 1;
    });
    ASSERT_NE(child.exitCode, -1);
    EXPECT_EQ(child.exitCode, 0) << "the write did not fail with a message naming the file";
    EXPECT_EQ(ReadFile(path), "old content");
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"settings.ini"});
}

TEST(AtomicFileTest, UnwritableDirectoryLeavesTheTargetUntouched) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "running as root: directory permissions do not apply";
    }
    ScratchDir dir;
    const std::string path = dir.Write("settings.ini", "old");
    ASSERT_EQ(chmod(dir.Path().c_str(), 0555), 0);
    AtomicFile file(path);
    const BOOL written = file.Write("new");
    chmod(dir.Path().c_str(), 0755);
    EXPECT_FALSE(written);
    EXPECT_NE(file.GetError().find("Permission denied"), std::string::npos) << file.GetError();
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"settings.ini"});
}

}  // namespace
