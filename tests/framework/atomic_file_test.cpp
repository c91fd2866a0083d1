#include "framework/AtomicFile.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/File.h"
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
    ASSERT_TRUE(file.Write("first\n").ok());
    EXPECT_EQ(ReadFile(path), "first\n");
    const std::string binary("a\0b\xff", 4);
    ASSERT_TRUE(file.Write(binary).ok());
    EXPECT_EQ(ReadFile(path), binary);
    const Status emptied = file.Write("");
    ASSERT_TRUE(emptied.ok());
    EXPECT_EQ(ReadFile(path), "");
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"settings.ini"});
    EXPECT_TRUE(emptied.message().empty());
}

// The state a power cut leaves between the temporary file's creation and
// its rename: the next write removes that file, and only such a file whose
// writer is gone.
TEST(AtomicFileTest, RemovesATemporaryFileThatADeadWriterLeft) {
    ScratchDir dir;
    dir.Write(".settings.ini.new-Ab12Cd", "half a file");
    dir.Write(".settings.ini.new-live01", "a writer's, still locked");
    const FileDescriptor live(open(dir.Path(".settings.ini.new-live01").c_str(), O_RDONLY));
    ASSERT_TRUE(LockFile(live.Get(), LockMode::kExclusive, std::chrono::milliseconds(0)).ok());
    dir.Write(".settings.ini.backup", "the user's");
    std::filesystem::create_symlink("victim", dir.Path(".settings.ini.new-link01"));
    ASSERT_TRUE(AtomicFile(dir.Path("settings.ini")).Write("new\n").ok());
    EXPECT_EQ(Entries(dir.Path()),
              (std::vector<std::string>{".settings.ini.backup", ".settings.ini.new-link01",
                                        ".settings.ini.new-live01", "settings.ini"}));
}

TEST(AtomicFileTest, KeepsPermissionBitsOfTheReplacedFile) {
    ScratchDir dir;
    const std::string path = dir.Write("private.ini", "old");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(AtomicFile(path).Write("new").ok());
    EXPECT_EQ(ModeOf(path), 0640u);

    const mode_t old = umask(027);
    const std::string fresh = dir.Path() + "/fresh.ini";
    const Status written = AtomicFile(fresh).Write("x");
    umask(old);
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(ModeOf(fresh), 0640u);
}

TEST(AtomicFileTest, ReplacesTheTargetOfASymbolicLink) {
    ScratchDir dir;
    const std::string real = dir.Write("real.ini", "old");
    const std::string link = dir.Path() + "/link.ini";
    ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
    ASSERT_TRUE(AtomicFile(link).Write("new").ok());
    EXPECT_EQ(ReadFile(real), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
}

TEST(AtomicFileTest, FailureNamesTheFileAndLeavesNothingBehind) {
    ScratchDir dir;
    const std::string missingDir = dir.Path() + "/nowhere/settings.ini";
    const Status missing = AtomicFile(missingDir).Write("x");
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.message().find(missingDir), std::string::npos) << missing.message();
    EXPECT_NE(missing.message().find("No such file or directory"), std::string::npos)
        << missing.message();

    // A directory in the target's place is not replaced.
    std::filesystem::create_directory(dir.Path() + "/taken.ini");
    const Status taken = AtomicFile(dir.Path() + "/taken.ini").Write("x");
    EXPECT_FALSE(taken.ok());
    EXPECT_NE(taken.message().find("Is a directory"), std::string::npos) << taken.message();
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
        const Status written = AtomicFile(path).Write(std::string(4096, 'x'));
        const bool failed = !written.ok();
        const bool named = written.message().find(path) != std::string::npos &&
                           written.message().find("File too large") != std::string::npos;
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
    const Status written = AtomicFile(path).Write("new");
    chmod(dir.Path().c_str(), 0755);
    EXPECT_FALSE(written.ok());
    EXPECT_NE(written.message().find("Permission denied"), std::string::npos) << written.message();
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"settings.ini"});
}

}  // namespace
