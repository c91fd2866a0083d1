// korr2ld-cli locations set on a Lumenda.ini edited by hand: the file keeps
// every byte but the line of the key stored (or the line added for it).
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "cli/cli_sandbox.h"

namespace {

using k2ltest::ReadFile;

TEST(LocationsCommandSettingsFile, SetChangesOnlyTheLineOfItsKey) {
    CliSandbox sandbox;
    std::filesystem::create_directories(sandbox.Dir() / "lists");
    const std::string lists = (sandbox.Dir() / "lists").string() + "/";
    const std::string head =
        "; Lumenda global files\r\n[SystemList] ; by hand\r\nFlag\r\nMS_FUNC_DB = /m/*.ms\r\n";
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
}

}  // namespace
