// korr2ld-cli with the data system's libraries loaded from a folder
// (--data-system): the minimal pair built as Ferrox and Ostrel beside the
// sibling library they need (tests/support/minimal_datasystem).
#include <filesystem>

#include <gtest/gtest.h>

#include "cli_sandbox.h"
#include "framework/DynamicLibrary.h"
#include "minimal_datasystem/minimal_datasystem.h"
#include "support/sample_lists.h"

namespace {

namespace fs = std::filesystem;

const fs::path kMinimal = fs::path(K2L_BIN_DIR).parent_path() / "minimal-datasystem";
#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

// The records are byte for byte those of Korr2LD's own record library,
// also (32-bit Windows) through entries that pop their own arguments.
TEST(CliDataSystemTest, ConvertsThroughTheDataSystemsOwnLibraries) {
    CliSandbox box;
    const std::string input = box.WriteExampleExport();
    const std::vector<std::string> names = {"--ms", "ESI", "--inlet", "LC", "--macro", "ACQ"};
    // Korr2LD's own libraries, as Windows loads them too.
    const std::string standin = (kMinimal.parent_path() / "standin").string();
    std::vector<std::string> args = {"--data-system", standin, "convert", input,
                                     box.Path("own.sdb")};
    args.insert(args.end(), names.begin(), names.end());
    ASSERT_EQ(box.Cli(args).exitCode, 0);
    std::string expected = kMinimalListHeader;
    for (const k2ltest::ListRecord& record : k2ltest::ReadList(box.Path("own.sdb")).records) {
        expected.append(reinterpret_cast<const char*>(record.data()), record.size());
    }
    for (const fs::path& folder : {kMinimal, fs::path(kMinimal.string() + "-stdcall")}) {
        if (!fs::exists(folder)) {
            continue;  // only 32-bit Windows has entries that pop their arguments
        }
        args = {"--data-system", folder.string(),        "convert",
                input,           box.Path("plate7.sdb"), "--overwrite"};
        args.insert(args.end(), names.begin(), names.end());
        const RunResult run = box.Cli(args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(k2ltest::ReadFile(box.Path("plate7.sdb")), expected) << folder;
    }
}

// Korr2LD's own libraries loaded from a folder are told apart by their
// markers: everything they offer is used.
TEST(CliDataSystemTest, OwnLibrariesFromAFolderOfferEverything) {
    CliSandbox box;
    const std::string standin = (kMinimal.parent_path() / "standin").string();
    ASSERT_EQ(
        box.Cli({"--data-system", standin, "locations", "set", "MS_FUNC_DB", box.Path()}).exitCode,
        0);
    const std::string input = box.WriteExampleExport();
    ASSERT_EQ(box.Cli({"--data-system", standin, "convert", input, box.Path("plate7.sdb"), "--ms",
                       "ESI", "--inlet", "LC", "--macro", "ACQ"})
                  .exitCode,
              0);
    const RunResult shown = box.Cli({"--data-system", standin, "show", box.Path("plate7.sdb")});
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_EQ(shown.out, box.Cli({"show", box.Path("plate7.sdb")}).out);
}

// data-system set on a first use makes the settings folder it stores in,
// and the next run loads from the folder stored there.
TEST(CliDataSystemTest, SetOnAFirstUseMakesTheSettingsFolder) {
    CliSandbox box;
    fs::remove_all(box.Dir() / "config");
    const std::string standin = (kMinimal.parent_path() / "standin").string();
    const RunResult set = box.Cli({"data-system", "set", standin});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    const RunResult run = box.Cli({"convert", box.WriteExampleExport(), box.Path("plate7.sdb")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

// A folder that cannot give both libraries stops the program with one
// sentence before anything is written.
TEST(CliDataSystemTest, UnusableFolderStopsBeforeAnything) {
    CliSandbox box;
    const std::string input = box.WriteExampleExport();
    fs::create_directories(box.Path("empty"));
    fs::create_directories(box.Path("lonely"));
    for (const char* stem : {"Ferrox", "Ostrel"}) {
        fs::copy_file(kMinimal / DynamicLibraryFileName(stem),
                      fs::path(box.Path("lonely")) / DynamicLibraryFileName(stem));
    }
    const struct {
        const char* folder;
        std::string sentence;
    } rows[] = {
        {"empty", "korr2ld-cli: the data system's record library " +
                      DynamicLibraryFileName("Ferrox") + " was not found in " + box.Path("empty") +
                      kSeparator +
                      " (the folder given with --data-system); give the "
                      "folder that holds the data system's libraries with --data-system FOLDER or "
                      "korr2ld-cli data-system set FOLDER\n"},
        // The system's reason follows.
        {"lonely", "korr2ld-cli: " + DynamicLibraryFileName("Ferrox") + " in " +
                       box.Path("lonely") + kSeparator +
                       " (the folder given with --data-system) cannot be loaded: "},
    };
    for (const auto& row : rows) {
        const RunResult run =
            box.Cli({"--data-system", box.Path(row.folder), "convert", input,
                     box.Path("plate7.sdb"), "--ms", "ESI", "--inlet", "LC", "--macro", "ACQ"});
        EXPECT_EQ(run.exitCode, 1) << row.folder;
        EXPECT_EQ(run.err.substr(0, row.sentence.size()), row.sentence);
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;  // one line
        EXPECT_FALSE(fs::exists(box.Path("plate7.sdb")));
    }
}

}  // namespace
