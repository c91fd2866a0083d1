// korr2ld-cli locations set and convert on a Lumenda.ini edited by hand: the
// file keeps every byte but the line of the key stored (or the line added
// for it), however many comments it holds; a read-only one is not
// rewritten.
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli_sandbox.h"

namespace {

using k2ltest::ReadFile;

TEST(LocationsCommandSettingsFile, SetChangesOnlyTheLineOfItsKey) {
    CliSandbox sandbox;
    std::filesystem::create_directories(sandbox.Dir() / "lists");
    const std::string lists = (sandbox.Dir() / "lists").string() + "/";
    const std::string head =
        "; Lumenda global files\r\n[SystemList] ; by hand\r\nFlag\r\nMS_FUNC_DB = "
        "/m\x1b[2J/*.ms\r\n";
    const std::string tail =
        "\r\n[Instrument]\r\nSerial=QX-1\r\n[SystemList]\r\nSAMPLES_DB=/second/*.sdb\r\n";
    const std::filesystem::path settings =
        sandbox.Write("lumenda/Lumenda.ini", head + "SAMPLES_DB=/old/*.sdb\r\n" + tail);

    const RunResult samples = sandbox.Cli({"locations", "set", "SAMPLES_DB", lists, "sdb"});
    ASSERT_EQ(samples.exitCode, 0) << samples.err;
    const RunResult macro = sandbox.Cli({"locations", "set", "MACRO", lists, "mac"});
    ASSERT_EQ(macro.exitCode, 0) << macro.err;

    EXPECT_EQ(ReadFile(settings),
              head + "SAMPLES_DB=" + lists + "*.sdb\r\nMACRO=" + lists + "*.mac\r\n" + tail);
    EXPECT_EQ(sandbox.Cli({"locations", "get", "SAMPLES_DB"}).out,
              "SAMPLES_DB\t" + lists + "\tsdb\t\n");
    // A control byte edited in is shown escaped, never written raw.
    EXPECT_EQ(sandbox.Cli({"locations", "get", "MS_FUNC_DB"}).out,
              "MS_FUNC_DB\t/m\\x1B[2J/\tms\t\n");
}

// 3 MiB of comments are still a settings file: a conversion changes the
// line of SAMPLES_DB and keeps every other key and byte. Made read-only,
// the file is not rewritten, whoever runs (root too).
TEST(LocationsCommandSettingsFile, ALargeFileKeepsAllItsKeysAndAReadOnlyOneIsNotRewritten) {
    CliSandbox sandbox;
    sandbox.WriteExampleExport();
    std::string head = "[SystemList]\nMS_FUNC_DB=/m/*.ms\n";
    while (head.size() < 3 * 1024 * 1024) {
        head +=
            "; the data system's notes, kept by hand: line " + std::to_string(head.size()) + "\n";
    }
    const std::string tail = "LC_DB=/lc/*.lc\n[Instrument]\nSerial=QX-1\n";
    const std::filesystem::path settings =
        sandbox.Write("lumenda/Lumenda.ini", head + "SAMPLES_DB=/old/*.sdb\n" + tail);
    const RunResult converted = sandbox.Cli({"convert", "plate7.txt", "a.sdb", "--ms", "MS1"});
    EXPECT_EQ(converted.exitCode, 0) << converted.err;
    const std::string bytes =
        head + "SAMPLES_DB=" + (sandbox.Dir() / "a.sdb").string() + "\n" + tail;
    EXPECT_EQ(ReadFile(settings), bytes);

    ASSERT_EQ(chmod(settings.c_str(), 0444), 0);
    const std::string readOnly = settings.string() + " is read-only";
    const RunResult warned = sandbox.Cli({"convert", "plate7.txt", "b.sdb", "--ms", "MS1"});
    EXPECT_EQ(warned.exitCode, 0) << warned.err;
    EXPECT_NE(warned.err.find("warning: The sample-list location could not be stored for the "
                              "data system (" +
                              readOnly + ")"),
              std::string::npos)
        << warned.err;
    const RunResult set = sandbox.Cli({"locations", "set", "SAMPLES_DB", sandbox.Dir().string()});
    EXPECT_EQ(set.exitCode, 1);
    EXPECT_NE(set.err.find(readOnly), std::string::npos) << set.err;
    EXPECT_EQ(ReadFile(settings), bytes);
    EXPECT_EQ(k2ltest::Entries(sandbox.LumendaHome()), std::vector<std::string>{"Lumenda.ini"});
}

}  // namespace
