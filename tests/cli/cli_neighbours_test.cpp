// korr2ld-cli converting into a folder that holds things named like the
// record library's own files: the user's dotfiles, another list's live
// writer, links, pipes and devices. Only the dead writers' files of the
// list being written go; everything else stays as it was, and a name the
// conversion cannot use is named in its message.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli_sandbox.h"

namespace {

namespace fs = std::filesystem;

// What FOLDER holds: by name, each entry's kind and content (a file's
// bytes, a link's target).
using Snapshot = std::map<std::string, std::string>;

Snapshot Take(const fs::path& folder) {
    Snapshot snapshot;
    for (const std::string& name : k2ltest::Entries(folder)) {
        const fs::path path = folder / name;
        const fs::file_status st = fs::symlink_status(path);
        snapshot[name] = std::to_string(static_cast<int>(st.type())) + " " +
                         (fs::is_symlink(st)        ? fs::read_symlink(path).string()
                          : fs::is_regular_file(st) ? k2ltest::ReadFile(path)
                                                    : std::string());
    }
    return snapshot;
}

// Makes NAME in FOLDER: "file:BYTES", "link:TARGET", "fifo", "directory" or
// "device" (a character device like /dev/null). False when this system
// does not let the test make it.
bool Make(const fs::path& folder, const std::string& name, const std::string& what) {
    const fs::path path = folder / name;
    const std::string value = what.substr(what.find(':') + 1);
    if (what.rfind("file:", 0) == 0) {
        k2ltest::WriteFile(path, value);
    } else if (what.rfind("link:", 0) == 0) {
        fs::create_symlink(value, path);
    } else if (what == "fifo") {
        return mkfifo(path.c_str(), 0600) == 0;
    } else if (what == "directory") {
        fs::create_directory(path);
    } else if (what == "device") {
        return mknod(path.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    }
    return true;
}

class OutputFolder : public ::testing::Test {
protected:
    void SetUp() override {
        sandbox.WriteExampleExport();
        sandbox.Write("victim", "the victim's bytes\n");
        fs::create_directories(folder);
    }
    RunResult Convert(bool overwrite = false) const {
        std::vector<std::string> args{"convert", "plate7.txt", (folder / "a.sdb").string(), "--ms",
                                      "MS1"};
        if (overwrite) {
            args.push_back("--overwrite");
        }
        return sandbox.Cli(args);
    }

    CliSandbox sandbox;
    const fs::path folder = sandbox.Dir() / "out";
};

TEST_F(OutputFolder, OnlyTheDeadWritersFilesOfTheListGoAndEverythingElseStays) {
    // A live writer of the list "a.sdb.new-1.sdb": its lock held, its list
    // being built.
    const int lock =
        open((folder / ".a.sdb.new-1.sdb.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(flock(lock, LOCK_EX | LOCK_NB), 0);
    const std::string live = ".a.sdb.new-1.sdb.new-" + std::to_string(getpid()) + "-0";
    const struct {
        const char* name;
        const char* what;
        bool removed;  // a dead writer's file of a.sdb
    } neighbours[] = {
        {".thesis.new-version", "file:important\n", false},
        {".backup.lock", "file:42\n", false},
        {live.c_str(), "file:a live list being built", false},
        {".other.sdb.new-999999-0", "file:another list's, its writer maybe alive", false},
        {".a.sdb.new-version", "file:the user's", false},
        {".a.sdb.new-0999-0", "file:a leading zero", false},
        {".a.sdb.new-999-0-journal.old", "file:more after the journal", false},
        {".a.sdb.new-999-x", "file:no counter", false},
        {".a.sdb.new-991-0", "link:../victim", false},
        {".a.sdb.new-992-0-journal", "link:nothing", false},
        {".a.sdb.new-993-0", "link:.a.sdb.new-993-0", false},
        {".a.sdb.new-994-0", "fifo", false},
        {".a.sdb.new-995-0", "directory", false},
        {".a.sdb.new-996-0", "device", false},
        {".a.sdb.new-997-0", "link:/dev/null", false},
        {".a.sdb.new-999999-0", "file:a dead writer's list", true},
        {".a.sdb.new-999999-0-journal", "file:and its journal", true},
    };
    for (const auto& n : neighbours) {
        if (!Make(folder, n.name, n.what)) {
            std::cout << "skipped " << n.name << ": " << n.what << " cannot be made here\n";
        }
    }
    Snapshot expected = Take(folder);
    for (const auto& n : neighbours) {
        if (n.removed) {
            expected.erase(n.name);
        }
    }
    const std::string victim = k2ltest::ReadFile(sandbox.Dir() / "victim");

    const RunResult run = Convert();
    close(lock);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    Snapshot after = Take(folder);
    EXPECT_EQ(after.erase("a.sdb"), 1u);
    EXPECT_EQ(after, expected);
    EXPECT_EQ(k2ltest::ReadFile(sandbox.Dir() / "victim"), victim);
}

// What is at the name of the list's lock, or at the list's own name with
// --overwrite, when it is not the record library's: left as it is, and
// named with its kind.
TEST_F(OutputFolder, AnythingButALockFileAtItsNameIsLeftAloneAndNamed) {
    const std::string lock = (folder / ".a.sdb.lock").string();
    const std::string list = (folder / "a.sdb").string();
    const std::string notALock = " is where the Sample List's lock file belongs, but it is ";
    const struct {
        const char* name;
        const char* what;
        std::string message;
    } cases[] = {
        {".a.sdb.lock", "link:../victim", lock + notALock + "a symbolic link"},
        {".a.sdb.lock", "link:nothing", lock + notALock + "a symbolic link"},
        {".a.sdb.lock", "link:.a.sdb.lock", lock + notALock + "a symbolic link"},
        {".a.sdb.lock", "link:/dev/null", lock + notALock + "a symbolic link"},
        {".a.sdb.lock", "fifo", lock + notALock + "a named pipe (FIFO)"},
        {".a.sdb.lock", "directory", lock + notALock + "a directory"},
        {".a.sdb.lock", "device", lock + notALock + "a character device"},
        {".a.sdb.lock", "file:42\n", lock + notALock + "a file with content"},
        {"a.sdb", "link:a.sdb", "Cannot read " + list + ": Too many levels of symbolic links"},
        {"a.sdb", "directory", list + " is a directory, not a Sample List"},
        {"a.sdb", "link:/dev/null", list + " is a character device, not a Sample List"},
        {"a.sdb", "link:nothing", list + " is a symbolic link to a file that does not exist"},
    };
    const std::string victim = k2ltest::ReadFile(sandbox.Dir() / "victim");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.what);
        fs::remove_all(folder);
        fs::create_directories(folder);
        if (!Make(folder, c.name, c.what)) {
            std::cout << "skipped: " << c.what << " cannot be made here\n";
            continue;
        }
        const Snapshot before = Take(folder);
        const RunResult run = Convert(true);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(Take(folder), before);
        EXPECT_EQ(k2ltest::ReadFile(sandbox.Dir() / "victim"), victim);
    }
}

}  // namespace
