// korr2ld-cli convert, run as a user runs it: exit statuses, messages,
// derived paths and names, and what is left on disk.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli_sandbox.h"

namespace {

using k2ltest::ReadFile;

namespace fs = std::filesystem;

const std::string kExampleExport = ExampleExport();

// The tab-separated rows of `show --format tsv`, header first.
std::vector<std::vector<std::string>> ShowRows(const CliSandbox& sandbox, const fs::path& list) {
    const RunResult shown = sandbox.Cli({"show", list.string(), "--format", "tsv"});
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(shown.out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> cells;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos;
             start = tab + 1) {
            cells.push_back(line.substr(start, tab - start));
        }
        cells.push_back(line.substr(start));
        rows.push_back(cells);
    }
    return rows;
}

class ConvertCommand : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(kExampleExport.empty()); }
    CliSandbox sandbox;
};

TEST_F(ConvertCommand, DefaultsOutputAndDataNameFromTheInputAndReportsTheSummary) {
    sandbox.Write("runs/plate7.txt", kExampleExport);
    const RunResult run = sandbox.Cli({"convert", "runs/plate7.txt", "--ms", "ESI_POS", "--inlet",
                                       "LC_30MIN", "--macro", "ACQUIRE"});
    const fs::path output = sandbox.Dir() / "runs/plate7.sdb";
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Sample List " + output.string() + " created successfully\n");
    // Every name given, no method folder configured to check them against:
    // the counts are all there is to say.
    EXPECT_EQ(run.err, "9 records written, 4 sample lines read, 4 other lines skipped\n");

    const auto rows = ShowRows(sandbox, output);
    ASSERT_EQ(rows.size(), 10u);
    // The data file name "plate7" is cut to five characters in record names.
    EXPECT_EQ(rows[1],
              (std::vector<std::string>{"1", "plate001", "Fraction:3, 1.50, 2.00", "ESI_POS",
                                        "LC_30MIN", "ACQUIRE", "1", "A1", "2.500"}));
    EXPECT_EQ(rows[9][1], "[plate009]");
    EXPECT_EQ(rows[9][3], "[ESI_POS]");
}

TEST_F(ConvertCommand, WritesAnExplicitOutputAndShowsItAbsolute) {
    sandbox.Write("plate7.txt", kExampleExport);
    fs::create_directories(sandbox.Dir() / "lists");
    const RunResult run =
        sandbox.Cli({"convert", "plate7.txt", "lists/run12.sdb", "--data", "RUN12345"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.rfind("Sample List " + (sandbox.Dir() / "lists/run12.sdb").string() +
                                " created successfully\n",
                            0),
              0u)
        << run.out;
    EXPECT_EQ(ShowRows(sandbox, sandbox.Dir() / "lists/run12.sdb")[2][1], "[RUN12002]");
    EXPECT_FALSE(fs::exists(sandbox.Dir() / "plate7.sdb"));
}

TEST_F(ConvertCommand, AnEmptyDataNameIsAllowedAsInTheDialog) {
    sandbox.Write("plate7.txt", kExampleExport);
    const RunResult run = sandbox.Cli({"convert", "plate7.txt", "--data", ""});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ShowRows(sandbox, sandbox.Dir() / "plate7.sdb")[1][1], "001");
}

TEST_F(ConvertCommand, RefusesALongDefaultDataNameAndNamesTheOption) {
    sandbox.Write("plate_long.txt", kExampleExport);
    const RunResult refused = sandbox.Cli({"convert", "plate_long.txt"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("the data file name 'plate_long' (from the input's title) is "
                               "longer than 8 characters; give --data NAME"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(refused.out, "");
    EXPECT_FALSE(fs::exists(sandbox.Dir() / "plate_long.sdb"));

    const RunResult given = sandbox.Cli({"convert", "plate_long.txt", "--data", "PLATE"});
    EXPECT_EQ(given.exitCode, 0) << given.err;
    EXPECT_TRUE(fs::exists(sandbox.Dir() / "plate_long.sdb"));
}

TEST_F(ConvertCommand, RefusesLongAndNonAsciiNamesBeforeTouchingAnything) {
    sandbox.Write("plate7.txt", kExampleExport);
    const RunResult run = sandbox.Cli({"convert", "plate7.txt", "--ms", "ESI_POS_LONG", "--inlet",
                                       "LC", "--macro", "Acq\xC3\xA9"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("'ESI_POS_LONG' is longer than 8 characters; give --ms NAME"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("'Acq\\xC3\\xA9' contains characters other than printable ASCII; "
                           "give --macro NAME"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("--inlet"), std::string::npos);
    EXPECT_FALSE(fs::exists(sandbox.Dir() / "plate7.sdb"));
    // Nothing was published as the sample-list location either.
    EXPECT_EQ(sandbox.Cli({"locations", "get", "SAMPLES_DB"}).exitCode, 1);
}

TEST_F(ConvertCommand, StoredFolderEndsWithTheSeparatorItsPathUses) {
    ASSERT_EQ(sandbox.Cli({"locations", "set", "MACRO", "."}).exitCode, 0);
    const RunResult run = sandbox.Cli({"locations", "get", "MACRO"});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("MACRO\t" + k2ltest::NativePath(sandbox.Dir().string() + "/") + "\t"),
              std::string::npos)
        << run.out;
}

TEST_F(ConvertCommand, RefusesNamesThatWouldBecomePathsBeforeTouchingAnything) {
    sandbox.Write("plate7.txt", kExampleExport);
    ASSERT_EQ(sandbox.Cli({"locations", "set", "MACRO", "."}).exitCode, 0);
    const fs::path settings = sandbox.LumendaHome() / "Lumenda.ini";
    const std::string stored = ReadFile(settings);
    const struct {
        std::string option, value, message;
    } cases[] = {
        {"--data", "../../", "the data file name '../../' holds '/'; give --data NAME with"},
        {"--ms", "a/b", "the MS method name 'a/b' holds '/'; give --ms NAME"},
        {"--macro", "a\\b", "the macro name 'a\\\\b' holds '\\'; give --macro NAME"},
        {"--inlet", "a\tb", "the inlet method name 'a\\x09b' holds a control character"},
    };
    for (const auto& c : cases) {
        const RunResult run = sandbox.Cli({"convert", "plate7.txt", c.option, c.value});
        EXPECT_EQ(run.exitCode, 2) << c.option;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(sandbox.Dir() / "plate7.sdb"));
        EXPECT_EQ(ReadFile(settings), stored);
    }
}

TEST_F(ConvertCommand, AnExistingOutputWithoutOverwriteStaysByteIdentical) {
    sandbox.Write("plate7.txt", kExampleExport);
    ASSERT_EQ(sandbox.Cli({"convert", "plate7.txt", "--data", "FIRST"}).exitCode, 0);
    const fs::path output = sandbox.Dir() / "plate7.sdb";
    const std::string before = ReadFile(output);
    ASSERT_FALSE(before.empty());

    const RunResult refused = sandbox.Cli({"convert", "plate7.txt", "--data", "SECOND"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("Sample List " + output.string() +
                               " could not be created\nIt already exists; nothing was changed."),
              std::string::npos)
        << refused.err;
    EXPECT_NE(refused.err.find("--overwrite"), std::string::npos);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(ReadFile(output), before);

    const RunResult replaced =
        sandbox.Cli({"convert", "plate7.txt", "--data", "SECOND", "--overwrite"});
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err;
    const auto rows = ShowRows(sandbox, output);
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[1][1], "SECON001");
}

TEST_F(ConvertCommand, AnExistingOtherFileIsNotTouchedWithoutOverwrite) {
    sandbox.Write("plate7.txt", kExampleExport);
    const fs::path output = sandbox.Write("plate7.sdb", "precious, not a Sample List\n");
    EXPECT_EQ(sandbox.Cli({"convert", "plate7.txt"}).exitCode, 1);
    EXPECT_EQ(ReadFile(output), "precious, not a Sample List\n");
}

TEST_F(ConvertCommand, RefusesToWriteOverItsOwnInput) {
    // An export that happens to carry the extension sdb: its default output is itself.
    const fs::path input = sandbox.Write("odd.sdb", kExampleExport);
    for (const bool overwrite : {false, true}) {
        std::vector<std::string> args{"convert", "odd.sdb"};
        if (overwrite) {
            args.push_back("--overwrite");
        }
        const RunResult run = sandbox.Cli(args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find("Sample List " + input.string() + " could not be created\n"),
                  std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find("input file"), std::string::npos) << run.err;
        EXPECT_EQ(ReadFile(input), kExampleExport);
    }
    // The same file reached through another name is refused as well.
    fs::create_symlink(input, sandbox.Dir() / "alias.txt");
    const RunResult aliased = sandbox.Cli({"convert", "alias.txt", "odd.sdb", "--overwrite"});
    EXPECT_EQ(aliased.exitCode, 1);
    EXPECT_EQ(ReadFile(input), kExampleExport);
}

TEST_F(ConvertCommand, AMissingInputFailsWithTheCauseAndCreatesNothing) {
    const RunResult run = sandbox.Cli({"convert", "absent.txt", "--data", "X"});
    const fs::path output = sandbox.Dir() / "absent.sdb";
    EXPECT_EQ(run.exitCode, 1);
    const std::string headline = "Sample List " + output.string() + " could not be created\n";
    ASSERT_EQ(run.err.rfind(headline, 0), 0u) << run.err;
    EXPECT_GT(run.err.size(), headline.size() + 1) << "no cause given";
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(ConvertCommand, AReadErrorOfTheInputIsReportedWithItsText) {
    // A directory opens for reading but fails at the first line read.
    fs::create_directories(sandbox.Dir() / "folder.txt");
    const RunResult run = sandbox.Cli({"convert", "folder.txt", "out.sdb", "--data", "X"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Sample List " + (sandbox.Dir() / "out.sdb").string() +
                           " could not be created\n"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("folder.txt"), std::string::npos) << run.err;
}

TEST_F(ConvertCommand, PublishesTheOutputDirectoryAsTheSampleListLocation) {
    sandbox.Write("in/plate7.txt", kExampleExport);
    fs::create_directories(sandbox.Dir() / "out");
    ASSERT_EQ(sandbox.Cli({"convert", "in/plate7.txt", "out/p7.sdb"}).exitCode, 0);
    const RunResult location = sandbox.Cli({"locations", "get", "SAMPLES_DB"});
    EXPECT_EQ(location.exitCode, 0) << location.err;
    EXPECT_EQ(location.out.rfind("SAMPLES_DB\t" + (sandbox.Dir() / "out").string() + "/\tsdb\t", 0),
              0u)
        << location.out;
}

TEST_F(ConvertCommand, ALocationThatCannotBeStoredIsAWarningNotASilence) {
    // The settings folder is a file: nothing can be stored there.
    fs::remove_all(sandbox.LumendaHome());
    sandbox.Write(sandbox.LumendaHome().filename(), "not a folder");
    sandbox.Write("plate7.txt", kExampleExport);
    const RunResult run = sandbox.Cli({"convert", "plate7.txt", "p7.sdb"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("warning: The sample-list location could not be stored"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(sandbox.Dir().string() + "/"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(sandbox.Dir() / "lumenda"), "not a folder");
    EXPECT_EQ(ShowRows(sandbox, sandbox.Dir() / "p7.sdb").size(), 1u + 9u);
}

TEST_F(ConvertCommand, AnInputThatChangesWhileItIsReadFailsAndLeavesNothing) {
    std::string text = "Pos\tSample\tVolume\tTime\tWell\tFractions\tRack\tComment\n";
    for (int line = 1; line <= 20000; ++line) {
        text += std::to_string(line) + "\tS\t1.5\t2\tA1M2.5\tR1:1:10\tRack1\tx\n";
    }
    const fs::path input = sandbox.Write("big.txt", text);
    k2ltest::ChildProcess run = sandbox.Start({"convert", "big.txt", "big.sdb", "--data", "BIG"});
    // Once the new list has grown past 1 MB the input is being read: grow it.
    bool appended = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!appended && run.Running() && std::chrono::steady_clock::now() < deadline) {
        for (const auto& entry : fs::directory_iterator(sandbox.Dir())) {
            std::error_code error;
            if (entry.path().filename().string().rfind(".big.sdb.new-", 0) == 0 &&
                fs::file_size(entry.path(), error) > (1u << 20) && !error) {
                std::ofstream(input, std::ios::app) << "20001\tS\t1\t2\tA1M2\tR1:1:1\tR\tx\n";
                appended = true;
                break;
            }
        }
    }
    const RunResult result = CliSandbox::Finish(run, std::chrono::seconds(60));
    ASSERT_TRUE(appended) << "the conversion ended before the input could be changed";
    EXPECT_EQ(result.exitCode, 1) << result.out;
    EXPECT_NE(result.err.find("changed while it was read"), std::string::npos) << result.err;
    for (const auto& entry : fs::directory_iterator(sandbox.Dir())) {
        EXPECT_NE(entry.path().filename(), "big.sdb");
        EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
    }
}

TEST_F(ConvertCommand, OutputsThatCannotBeTheirsAreRefusedBeforeAnythingIsWritten) {
    for (const char* input : {"a.txt", "d1/a.txt", "d2/a.txt", "back\\slash.txt"}) {
        sandbox.Write(input, kExampleExport);
    }
    fs::create_directories(sandbox.Dir() / "out");
    ASSERT_EQ(sandbox.Cli({"convert", "a.txt", "out/a.sdb"}).exitCode, 0);
    const std::string list = ReadFile(sandbox.Dir() / "out/a.sdb");
    fs::create_symlink(sandbox.Dir() / "out/a.sdb", sandbox.Dir() / "prev.txt");
    const std::string out = (sandbox.Dir() / "out").string();
    const std::string tooLong = out + "/" + std::string(260 - out.size(), 'x') + ".sdb";
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string message;
    } cases[] = {
        {{"--output-dir", "out", "d1/a.txt", "d2/a.txt"},
         2,
         "d1/a.txt and d2/a.txt would both be converted into " + out + "/a.sdb"},
        {{"--output-dir", "out", "a.txt", "prev.txt", "--overwrite"},
         2,
         "prev.txt is the Sample List " + out + "/a.sdb that a.txt would be converted into"},
        // A '\\' in a name is a character here: it never moves the list.
        {{"back\\slash.txt"}, 2, "back\\slash.txt: its file name holds '\\'"},
        {{"--output-dir", "out", "back\\slash.txt"},
         2,
         "back\\slash.txt: its file name holds '\\'"},
        {{"a.txt", "out/li\nst.sdb"}, 2, "li\\x0Ast.sdb: its path holds a control character"},
        {{"a.txt", tooLong},
         1,
         "Sample List " + tooLong + " could not be created\nIts path would be longer than 259"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"convert"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const RunResult run = sandbox.Cli(args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.message << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        if (c.exitCode == 2) {  // one cause, said once
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        }
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(k2ltest::Entries(sandbox.Dir() / "out"), std::vector<std::string>{"a.sdb"});
        EXPECT_EQ(ReadFile(sandbox.Dir() / "out/a.sdb"), list);
        EXPECT_FALSE(fs::exists(sandbox.Dir() / "slash.sdb"));
        EXPECT_FALSE(fs::exists(sandbox.Dir() / "back\\slash.sdb"));
    }
    // With OUTPUT and --data given, such an export converts as any other.
    EXPECT_EQ(sandbox.Cli({"convert", "back\\slash.txt", "b.sdb", "--data", "B"}).exitCode, 0);
}

TEST(CliUsage, UsageErrorsExitWithTwoAndHelpAndVersionWithZero) {
    CliSandbox sandbox;
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"convert"},
                                               {"convert", "a.txt", "--bogus"},
                                               {"convert", "a.txt", "b.sdb", "c"},
                                               {"show"},
                                               {"show", "x.sdb", "--format", "xml"},
                                               {"locations"},
                                               {"locations", "set", "MS_FUNC_DB"},
                                               {"frobnicate"}}) {
        const RunResult run = sandbox.Cli(args);
        EXPECT_EQ(run.exitCode, 2) << ::testing::PrintToString(args) << run.err;
        EXPECT_NE(run.err, "") << ::testing::PrintToString(args);
    }

    const RunResult help = sandbox.Cli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command : {"convert", "show", "locations"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << help.out;
    }
    const RunResult convertHelp = sandbox.Cli({"convert", "--help"});
    EXPECT_EQ(convertHelp.exitCode, 0);
    EXPECT_NE(convertHelp.out.find("--overwrite"), std::string::npos);

    const RunResult version = sandbox.Cli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_NE(version.out.find(K2L_VERSION), std::string::npos) << version.out;
}

}  // namespace
