// korr2ld-cli locations: setting, reading and listing the data system's
// global file locations in a sandboxed LUMENDA_HOME.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli_sandbox.h"

namespace {

using k2ltest::ReadFile;

namespace fs = std::filesystem;

class LocationsCommand : public ::testing::Test {
protected:
    std::string Dir(const std::string& relative) const {
        return (sandbox.Dir() / relative).string() + "/";
    }

    CliSandbox sandbox;
};

TEST_F(LocationsCommand, SetGetListRoundTrip) {
    fs::create_directories(sandbox.Dir() / "methods/ms");
    fs::create_directories(sandbox.Dir() / "methods/lc");

    // A relative directory is made absolute and gets its trailing separator;
    // a leading dot of the extension is dropped.
    const RunResult set = sandbox.Cli({"locations", "set", "MS_FUNC_DB", "methods/ms", ".ms"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    const fs::path settings = sandbox.LumendaHome() / "Lumenda.ini";
    EXPECT_EQ(set.out,
              "MS_FUNC_DB\t" + Dir("methods/ms") + "\tms\t\nstored in " + settings.string() + "\n");
    EXPECT_TRUE(fs::exists(settings));
    ASSERT_EQ(sandbox.Cli({"locations", "set", "LC_DB", Dir("methods/lc"), "lc"}).exitCode, 0);

    const RunResult get = sandbox.Cli({"locations", "get", "MS_FUNC_DB"});
    EXPECT_EQ(get.exitCode, 0) << get.err;
    EXPECT_EQ(get.out, "MS_FUNC_DB\t" + Dir("methods/ms") + "\tms\t\n");

    const RunResult list = sandbox.Cli({"locations", "list"});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out, "MS_FUNC_DB\t" + Dir("methods/ms") + "\tms\t\n" + "LC_DB\t" +
                            Dir("methods/lc") + "\tlc\t\n");
}

TEST_F(LocationsCommand, SetWithoutExtensionKeepsTheCurrentOne) {
    fs::create_directories(sandbox.Dir() / "old");
    fs::create_directories(sandbox.Dir() / "new");
    ASSERT_EQ(sandbox.Cli({"locations", "set", "MACRO", "old", "mac"}).exitCode, 0);
    ASSERT_EQ(sandbox.Cli({"locations", "set", "MACRO", "new/"}).exitCode, 0);
    EXPECT_EQ(sandbox.Cli({"locations", "get", "MACRO"}).out, "MACRO\t" + Dir("new") + "\tmac\t\n");
    // An explicit empty extension clears it.
    ASSERT_EQ(sandbox.Cli({"locations", "set", "MACRO", "new", ""}).exitCode, 0);
    EXPECT_EQ(sandbox.Cli({"locations", "get", "MACRO"}).out, "MACRO\t" + Dir("new") + "\t\t\n");
}

TEST_F(LocationsCommand, RefusesAMissingDirectoryAndStoresNothing) {
    const RunResult missing = sandbox.Cli({"locations", "set", "LC_DB", "nowhere", "lc"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("the directory " + (sandbox.Dir() / "nowhere").string() +
                               " does not exist"),
              std::string::npos)
        << missing.err;
    EXPECT_EQ(missing.out, "");

    const fs::path file = sandbox.Write("plain.txt", "x");
    const RunResult notDirectory = sandbox.Cli({"locations", "set", "LC_DB", file.string()});
    EXPECT_EQ(notDirectory.exitCode, 1);
    EXPECT_NE(notDirectory.err.find("is not a directory"), std::string::npos);

    const RunResult get = sandbox.Cli({"locations", "get", "LC_DB"});
    EXPECT_EQ(get.exitCode, 1);
    EXPECT_NE(get.err.find("LC_DB is not configured"), std::string::npos) << get.err;
    EXPECT_EQ(get.out, "");
}

TEST_F(LocationsCommand, TakesTheKeysKorr2ldUsesAndOthersOnlyWhenAsked) {
    fs::create_directories(sandbox.Dir() / "ms");
    const fs::path settings = sandbox.LumendaHome() / "Lumenda.ini";
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* stored;  // the key line the settings file then holds, or nullptr
        const char* err;     // standard error contains it
    } cases[] = {
        {{"MS_FUNCDB", "ms", "ms"},
         2,
         nullptr,
         "the key 'MS_FUNCDB' is not one that Korr2LD uses: SAMPLES_DB, MS_FUNC_DB, LC_DB and "
         "MACRO (--any-key stores another)\n"},
        {{"OTHER-DB", "ms", "--any-key"}, 2, nullptr, "upper-case letters, digits and '_'"},
        {{"MS_FUNC_DB", "ms", "a/b"}, 2, nullptr, "holds a directory separator"},
        // Keys compare without regard to case, as in the settings file; a
        // known key is stored as Korr2LD spells it.
        {{"ms_func_db", "ms", "ms"}, 0, "\nMS_FUNC_DB=", ""},
        {{"OTHER_DB", "ms", "x", "--any-key"}, 0, "\nOTHER_DB=", "note: Korr2LD itself uses"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"locations", "set"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const RunResult set = sandbox.Cli(args);
        SCOPED_TRACE(c.args.front());
        EXPECT_EQ(set.exitCode, c.exitCode) << set.err;
        EXPECT_NE(set.err.find(c.err), std::string::npos) << set.err;
        if (c.stored == nullptr) {
            EXPECT_EQ(set.out, "");
            EXPECT_FALSE(fs::exists(settings));
        } else {
            EXPECT_NE(ReadFile(settings).find(c.stored), std::string::npos) << ReadFile(settings);
        }
    }
    EXPECT_EQ(ReadFile(settings).find("ms_func_db"), std::string::npos);
}

TEST_F(LocationsCommand, ListOfNothingSaysSoOnStandardError) {
    const RunResult list = sandbox.Cli({"locations", "list"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out, "");
    EXPECT_NE(list.err.find("no locations are configured"), std::string::npos);
}

// Every file below DIR with its bytes.
std::map<std::string, std::string> Snapshot(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        files[entry.path().string()] = entry.is_regular_file() ? ReadFile(entry.path()) : "/";
    }
    return files;
}

TEST_F(LocationsCommand, ReadingCommandsNeverChangeAFile) {
    for (const bool withFile : {false, true}) {
        SCOPED_TRACE(withFile ? "odd Lumenda.ini" : "no Lumenda.ini");
        if (withFile) {
            fs::create_directories(sandbox.Dir() / "ms");
            sandbox.Write("lumenda/Lumenda.ini",
                          "; kept\n[SystemList]\nFlag\nMS_FUNC_DB=" + Dir("ms") +
                              "*.ms\nMS_FUNC_DB=/elsewhere/*.ms\n[Other] ; note\nX=1");
        }
        const auto before = Snapshot(sandbox.Dir());
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"locations", "list"},
              std::vector<std::string>{"locations", "get", "MS_FUNC_DB"},
              std::vector<std::string>{"locations", "get", "SAMPLES_DB"}}) {
            sandbox.Cli(args);
        }
        EXPECT_EQ(Snapshot(sandbox.Dir()), before);
        if (withFile) {
            EXPECT_EQ(sandbox.Cli({"locations", "get", "MS_FUNC_DB"})
                          .out.rfind("MS_FUNC_DB\t" + Dir("ms"), 0),
                      0u)
                << "the first of two keys counts";
        }
    }
}

}  // namespace
