// korr2ld-cli log: the last entries of a conversion log in a sandboxed
// XDG_STATE_HOME, the log not there yet, an unreadable, locked or piped log
// and bad counts.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli_sandbox.h"
#include "convert/ConversionLogLine.h"

namespace {

using k2ltest::ReadFile;

namespace fs = std::filesystem;

ConversionLogRecord Created(const std::string& time, std::int64_t records) {
    ConversionLogRecord record;
    record.time = time;
    record.user = "alice";
    record.inputSha256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
    record.entry.input = "/data/run 1.txt";
    record.entry.output = "/lists/RUN.sdb";
    record.entry.msMethod = "MS1";
    record.entry.inletMethod = "LC1";
    record.entry.macro = "MAC1";
    record.entry.dataFile = "RUN";
    record.entry.records = records;
    record.entry.sampleLines = 4;
    record.entry.skippedLines = 1;
    record.entry.warnings = 2;
    record.entry.created = true;
    return record;
}

ConversionLogRecord Failed() {
    ConversionLogRecord record;
    record.time = "2026-12-09T04:06:00Z";
    record.user = "bob";
    record.inputSha256 = kNoInputDigest;
    record.entry.input = "/data/new\nline.txt";
    record.entry.output = "/lists/B\\.sdb";
    record.entry.records = 1;
    record.entry.reason = "disk\tfull";
    return record;
}

std::string CreatedBlock(const std::string& time, std::int64_t records) {
    return time + " alice created /lists/RUN.sdb\n" +
           "  input  /data/run 1.txt\n"
           "  sha256 ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad\n"
           "  names  MS method MS1, inlet method LC1, macro MAC1, data file RUN\n"
           "  counts " +
           std::to_string(records) + " records, 4 sample lines, 1 skipped line, 2 warnings\n";
}

const std::string kFailedBlock =
    "2026-12-09T04:06:00Z bob failed /lists/B\\\\.sdb: disk\\x09full\n"
    "  input  /data/new\\x0Aline.txt\n"
    "  sha256 - (the input could not be read)\n"
    "  names  MS method , inlet method , macro , data file \n"
    "  counts 1 record, 0 sample lines, 0 skipped lines, 0 warnings\n";

class LogCommand : public ::testing::Test {
protected:
    fs::path LogPath() const { return sandbox.StateHome() / "korr2ld/conversions.log"; }

    void WriteLog(const std::vector<std::string>& lines) const {
        std::string text;
        for (const std::string& line : lines) {
            text += line;
        }
        sandbox.Write(fs::relative(LogPath(), sandbox.Dir()), text);
    }

    CliSandbox sandbox;
};

TEST_F(LogCommand, ShowsTheLastEntriesOldestFirst) {
    WriteLog({"not\ta log line\n", FormatConversionLogLine(Created("2026-12-09T04:05:06Z", 12)),
              FormatConversionLogLine(Failed()),
              FormatConversionLogLine(Created("2026-12-09T04:07:00Z", 7))});

    const RunResult two = sandbox.Cli({"log", "-n", "2"});
    EXPECT_EQ(two.exitCode, 0) << two.err;
    EXPECT_EQ(two.err, "");
    EXPECT_EQ(two.out, kFailedBlock + CreatedBlock("2026-12-09T04:07:00Z", 7));

    const RunResult all = sandbox.Cli({"log", "--count", "9"});
    EXPECT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out, "(not a conversion log line) not\\x09a log line\n" +
                           CreatedBlock("2026-12-09T04:05:06Z", 12) + kFailedBlock +
                           CreatedBlock("2026-12-09T04:07:00Z", 7));
}

TEST_F(LogCommand, ShowsTenEntriesUnlessToldOtherwise) {
    std::vector<std::string> lines;
    std::string expected;
    for (int i = 0; i < 12; ++i) {
        const std::string time = "2026-12-09T04:05:" + std::to_string(10 + i) + "Z";
        lines.push_back(FormatConversionLogLine(Created(time, i)));
        expected += i >= 2 ? CreatedBlock(time, i) : "";
    }
    WriteLog(lines);
    const RunResult run = sandbox.Cli({"log"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, expected);
}

TEST_F(LogCommand, NothingLoggedYetIsANoteAndSuccess) {
    const RunResult run = sandbox.Cli({"log"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "no conversions logged yet (" + LogPath().string() + ")\n");

    // Without XDG_STATE_HOME the log is looked for below HOME.
    const RunResult home = sandbox.Program(
        "env", {"-u", "XDG_STATE_HOME", std::string(K2L_BIN_DIR) + "/korr2ld-cli", "log"});
    EXPECT_EQ(home.exitCode, 0);
    EXPECT_EQ(home.err, "no conversions logged yet (" +
                            (sandbox.Dir() / "home/.local/state/korr2ld/conversions.log").string() +
                            ")\n");
}

TEST_F(LogCommand, AnUnreadableLogFailsNamingIt) {
    fs::create_directories(LogPath());
    const RunResult run = sandbox.Cli({"log"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(LogPath().string()), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Is a directory"), std::string::npos) << run.err;
}

// Neither convert nor log waits on a log that another process keeps locked
// or that is a pipe: the conversion goes on and says once that its entry
// was not written. (The time limit only stops a hang; no time is asserted.)
TEST_F(LogCommand, ALockedLogOrAPipeAtItsPlaceHoldsNothingUp) {
    sandbox.WriteExampleExport();
    WriteLog({FormatConversionLogLine(Failed())});
    const int log = open(LogPath().c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(log, 0);
    ASSERT_EQ(flock(log, LOCK_EX | LOCK_NB), 0);
    k2ltest::ChildProcess run = sandbox.Start({"convert", "plate7.txt", "a.sdb", "--ms", "MS1"});
    const RunResult converted = CliSandbox::Finish(run, std::chrono::seconds(20));
    k2ltest::ChildProcess read = sandbox.Start({"log", "-n", "5"});
    const RunResult shown = CliSandbox::Finish(read, std::chrono::seconds(20));
    close(log);
    EXPECT_EQ(converted.exitCode, 0) << converted.err;
    EXPECT_NE(converted.out.find("created successfully"), std::string::npos);
    EXPECT_NE(converted.err.find("note: The conversion log " + LogPath().string() +
                                 " was locked by another process for 2 s; the entry for "
                                 "this conversion was not written."),
              std::string::npos)
        << converted.err;
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_EQ(shown.out, kFailedBlock);
    EXPECT_NE(shown.err.find("was locked by another process for 2 s; it was read all the same"),
              std::string::npos)
        << shown.err;
    EXPECT_EQ(ReadFile(LogPath()), FormatConversionLogLine(Failed()));

    fs::remove(LogPath());
    ASSERT_EQ(mkfifo(LogPath().c_str(), 0600), 0);
    const std::string notAFile = "Is a named pipe (FIFO), not a regular file.";
    run = sandbox.Start({"log", "-n", "5"});
    const RunResult refused = CliSandbox::Finish(run, std::chrono::seconds(20));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "korr2ld-cli log: The conversion log " + LogPath().string() +
                               " could not be read: " + notAFile + "\n");
    run = sandbox.Start({"convert", "plate7.txt", "b.sdb", "--ms", "MS1"});
    const RunResult unlogged = CliSandbox::Finish(run, std::chrono::seconds(20));
    EXPECT_EQ(unlogged.exitCode, 0) << unlogged.err;
    EXPECT_NE(unlogged.err.find("note: The conversion log " + LogPath().string() +
                                " could not be written: " + notAFile),
              std::string::npos)
        << unlogged.err;
    EXPECT_TRUE(fs::is_fifo(LogPath()));

    // A link at its name: the file it names is not appended to.
    fs::remove(LogPath());
    sandbox.Write("victim", "a system file\n");
    fs::create_symlink(sandbox.Dir() / "victim", LogPath());
    run = sandbox.Start({"convert", "plate7.txt", "c.sdb", "--ms", "MS1"});
    EXPECT_NE(CliSandbox::Finish(run, std::chrono::seconds(20)).err.find("could not be written"),
              std::string::npos);
    EXPECT_EQ(ReadFile(sandbox.Dir() / "victim"), "a system file\n");
}

TEST_F(LogCommand, ACountBelowOneOrNotANumberIsAUsageError) {
    WriteLog({FormatConversionLogLine(Failed())});
    const std::vector<std::vector<std::string>> commands = {{"log", "-n", "0"},
                                                            {"log", "-n", "-3"},
                                                            {"log", "-n", "x"},
                                                            {"log", "-n"},
                                                            {"log", "extra"}};
    for (const std::vector<std::string>& args : commands) {
        const RunResult run = sandbox.Cli(args);
        EXPECT_EQ(run.exitCode, 2) << args.back() << ": " << run.err;
        EXPECT_EQ(run.out, "") << args.back();
        EXPECT_NE(run.err, "") << args.back();
    }
}

// Two batches converting at once, as two terminals would: every conversion
// is one whole line of the log, the failed ones with their reason, and a
// dry run adds none.
TEST_F(LogCommand, TwoProgramsLoggingAtOnceEachGetWholeLines) {
    constexpr int kExports = 12;
    const std::string exportText = "Pos\tName\n1\tS\t1\t2\tAM1\tR:1:3\tr\tc\n";
    std::vector<std::vector<std::string>> batches(2);
    for (int b = 0; b < 2; ++b) {
        fs::create_directories(sandbox.Dir() / ("out" + std::to_string(b)));
        batches[b] = {"convert", "--output-dir", "out" + std::to_string(b), "--ms", "MS1"};
        for (int i = 0; i < kExports; ++i) {
            const std::string name = "b" + std::to_string(b) + "_" + std::to_string(i) + ".txt";
            sandbox.Write(name, exportText);
            batches[b].push_back(name);
        }
    }
    batches[1].push_back("missing.txt");
    k2ltest::ChildProcess first = sandbox.Start(batches[0]);
    k2ltest::ChildProcess second = sandbox.Start(batches[1]);
    EXPECT_EQ(CliSandbox::Finish(first, std::chrono::seconds(60)).exitCode, 0);
    EXPECT_EQ(CliSandbox::Finish(second, std::chrono::seconds(60)).exitCode, 1);
    ASSERT_EQ(sandbox.Cli({"convert", "b0_0.txt", "--dry-run"}).exitCode, 0);

    std::istringstream log(ReadFile(LogPath()));
    int created = 0, failed = 0;
    for (std::string line; std::getline(log, line);) {
        const std::optional<ConversionLogRecord> record = ParseConversionLogLine(line);
        ASSERT_TRUE(record.has_value()) << line;
        if (record->entry.created) {
            ++created;
            EXPECT_EQ(record->entry.records, 3);
            EXPECT_EQ(record->inputSha256.size(), 64u);
        } else {
            ++failed;
            // As given, "missing.txt"; an audit trail needs it whole.
            EXPECT_EQ(record->entry.input, (sandbox.Dir() / "missing.txt").string());
            EXPECT_NE(record->entry.reason.find("No such file or directory"), std::string::npos);
        }
    }
    EXPECT_EQ(created, 2 * kExports);
    EXPECT_EQ(failed, 1);
}

}  // namespace
