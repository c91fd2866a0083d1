// korr2ld-cli when the system refuses its writes: a file size limit on the
// Sample List, and standard output on a full device.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli_sandbox.h"

namespace {

const std::string kCli = std::string(K2L_BIN_DIR) + "/korr2ld-cli";

// korr2ld-cli ARGS run by sh after SETUP, with REDIRECT.
RunResult ThroughShell(const CliSandbox& sandbox, const std::string& setup,
                       const std::string& redirect, std::vector<std::string> args) {
    args.insert(args.begin(), {"-c", setup + " exec \"$0\" \"$@\" " + redirect, kCli});
    return sandbox.Program("sh", args);
}

TEST(CliWriteFailures, AFileSizeLimitFailsTheConversionWithItsStatus) {
    CliSandbox sandbox;
    std::string input = "Pos\tSample\tVolume\tTime\tWell\tFractions\tRack\tComment\n";
    for (int line = 1; line <= 40; ++line) {
        input += std::to_string(line) + "\tS\t1.5\t2\tA1M2.5\tR1:1:10\tRack1\tbig\n";
    }
    sandbox.Write("big.txt", input);  // 400 records, about 1.9 MB
    // 200 blocks (100 KiB) stop the creation of the empty list, 1000 the appends.
    for (const char* limit : {"ulimit -f 200;", "ulimit -f 1000;"}) {
        SCOPED_TRACE(limit);
        const RunResult run = ThroughShell(sandbox, limit, "", {"convert", "big.txt", "out.sdb"});
        EXPECT_EQ(run.exitCode, 1) << "-1: ended by a signal\n" << run.err;
        EXPECT_NE(run.err.find("largest file size this session allows (status 27)"),
                  std::string::npos)
            << run.err;
    }
}

TEST(CliWriteFailures, EveryCommandFailsWhenItsOutputCannotBeWritten) {
    CliSandbox sandbox;
    sandbox.WriteExampleExport();
    ASSERT_EQ(sandbox.Cli({"convert", "plate7.txt", "shown.sdb"}).exitCode, 0);
    const std::vector<std::string> commands[] = {
        {"convert", "plate7.txt", "full.sdb"},
        {"show", "shown.sdb"},
        {"locations", "list"},
        {"locations", "get", "SAMPLES_DB"},
        {"locations", "set", "MACRO", "."},
        {"--help"},
        {"--version"},
        {"show", "--help"},
    };
    for (const auto& args : commands) {
        const RunResult run = ThroughShell(sandbox, "", ">/dev/full", args);
        EXPECT_EQ(run.exitCode, 1) << args[0] << ' ' << args[1 % args.size()];
        EXPECT_NE(run.err.find("korr2ld-cli: cannot write standard output: No space left on "
                               "device\n"),
                  std::string::npos)
            << run.err;
    }
}

}  // namespace
