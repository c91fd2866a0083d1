// Korr2LD with a data system's own libraries: the minimal pair
// (tests/support/minimal_datasystem), which has the six entries Korr2LD
// needs and nothing else, installed through the table the programs use.
#include <cctype>
#include <filesystem>
#include <optional>
#include <sstream>
#include <utility>

#include "cli/LocationsCommand.h"
#include "convert/ConversionRun.h"
#include "convert/DataSystemLoader.h"
#include "convert/LocationSetting.h"
#include "convert_test_support.h"
#include "framework/DynamicLibrary.h"
#include "minimal_datasystem/minimal_datasystem.h"
#include "samplelist/SampleListReader.h"

namespace k2ltest {
namespace {

// The journal without the location reads that check the names.
std::string Calls() {
    std::istringstream lines(MinimalJournal());
    std::string kept;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("_MSGGetGlobalFile", 0) != 0) {
            kept += line + "\n";
        }
    }
    return kept;
}

// The calls after the location store: modes 5, 3 and 2, then a store and a
// count for each of STORED records, then a store that FAILS (if any), and
// the close.
std::string Created(int stored, bool fails = false) {
    std::string calls = "DB3Open 5 run12 5\nDB3Open 5 run12 3\nDB3Open 5 run12 2\n";
    for (int n = 1; n <= stored + (fails ? 1 : 0); ++n) {
        calls += "DB3HandleRecord 5 " + std::to_string(n) + " 3 1\n";
        calls += n <= stored ? "DB3GetRecordsInDB 5\n" : "";
    }
    return calls + "DB3Close 5\n";
}

struct Row {
    const char* what;
    bool existing;         // a list is at the output before
    bool replace;          // the user agreed to replace it
    int32_t fault;         // MINIMAL_FAULT_*, 0 for none
    std::string sequence;  // after the location store; "-": no call at all
    std::string message;   // the failure; empty: success
};

class ForeignDataSystemTest : public ConversionTest, public ::testing::WithParamInterface<Row> {};

TEST_P(ForeignDataSystemTest, FollowsTheDataSystemsSequence) {
    const Row& row = GetParam();
    const std::string input = WriteExport(m_dir, "plate.txt", 1, 3);
    if (row.existing) {
        m_dir.Write("lists/run12.sdb", "an old list\n");
    }
    std::optional<ScopedMinimalDataSystem> minimal(std::in_place);
    MinimalSetFault(row.fault, 2);
    NamedConversion conversion(input, Output());
    conversion.m_bReplaceExisting = row.replace ? TRUE : FALSE;
    const ConversionOutcome outcome =
        RunConversion(conversion, RunWording{.keepExisting = "Give --overwrite."});

    if (row.sequence == "-") {
        EXPECT_STREQ(MinimalJournal(), "");
        EXPECT_EQ(ReadFile(Output()), "an old list\n");
        return;
    }
    EXPECT_EQ(Calls(), "StoreGlobalFile SystemList SAMPLES_DB " + m_dir.Path("lists/") +
                           " run12 sdb 1\n" + row.sequence);
    std::string message = row.message;
    for (const auto& [mark, path] : {std::pair{"%1", Output()}, std::pair{"%2", input}}) {
        for (auto at = message.find(mark); at != std::string::npos; at = message.find(mark)) {
            message.replace(at, 2, path);
        }
    }
    EXPECT_EQ(outcome.status.message(), message);
    if (!message.empty()) {
        return;
    }
    // The list holds, in the minimal library's own format, the records that
    // Korr2LD's own record library stores.
    minimal.reset();
    NamedConversion own(input, m_dir.Path("lists/own.sdb"));
    ASSERT_TRUE(own.Convert()) << own.GetFailureReason();
    std::string expected = kMinimalListHeader;
    for (const ListRecord& record : ReadList(m_dir.Path("lists/own.sdb")).records) {
        expected.append(reinterpret_cast<const char*>(record.data()), record.size());
    }
    EXPECT_EQ(ReadFile(Output()), expected);
}

const std::string kIncomplete =
    "Record 2 (from line 3 of %2) could not be stored: The data system's record library "
    "refused %1 with its status 70. The Sample List %1 may be incomplete: 1 record was stored "
    "before the failure, and it was closed as it is; do not acquire from it.";

INSTANTIATE_TEST_SUITE_P(
    Rows, ForeignDataSystemTest,
    ::testing::Values(
        Row{"create", false, false, 0, Created(3), ""},
        Row{"replace with consent", true, true, 0, Created(3), ""},
        Row{"consent refused", true, false, 0, "-", ""},
        Row{"13 from mode 5", false, false, MINIMAL_FAULT_CHECK, "DB3Open 5 run12 5\n",
            "The data system's record library cannot use the location of %1 (status 13)."},
        Row{"failing store", false, false, MINIMAL_FAULT_STORE, Created(1, true), kIncomplete}),
    [](const ::testing::TestParamInfo<Row>& info) {
        std::string name = info.param.what;
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

// Korr2LD stores only SAMPLES_DB in the data system's own settings; it
// lists the keys it uses, each read by itself.
TEST(ForeignLocationsTest, AreReadKeyByKeyAndNeverSet) {
    const ScratchDir dir;
    const ScopedMinimalDataSystem minimal;
    MinimalSetLocation("LC_DB", "/methods/lc/", "lc");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunLocationsSet({"MS_FUNC_DB", dir.Path(""), "ms", false}, out, err), 1);
    EXPECT_EQ(err.str(),
              std::string("korr2ld-cli locations set: ") + kLocationsSetInDataSystem + "\n");
    EXPECT_EQ(RunLocationsList(out, err), 0);
    EXPECT_EQ(out.str(), "LC_DB\t/methods/lc/\tlc\t\n");
    EXPECT_EQ(MinimalJournal(), std::string("_MSGGetGlobalFile SystemList SAMPLES_DB 0\n"
                                            "_MSGGetGlobalFile SystemList MS_FUNC_DB 0\n"
                                            "_MSGGetGlobalFile SystemList LC_DB 0\n"
                                            "_MSGGetGlobalFile SystemList MACRO 0\n"));
}

// Reading a list in place is not among the six entries.
TEST(ForeignReadingTest, IsRefusedWithoutACall) {
    const ScopedMinimalDataSystem minimal;
    SampleListReader reader;
    EXPECT_EQ(reader.Open("/lists/run12.sdb").message(),
              "this record library does not offer reading");
    EXPECT_STREQ(MinimalJournal(), "");
}

// The loader refuses a library built for another machine from its header,
// without loading it, and never finds a library's sibling in the current
// folder (where a planted file would win).
TEST(DataSystemLoaderTest, RefusesAnotherMachineAndNeverSearchesTheCurrentFolder) {
    namespace fs = std::filesystem;
    const ScratchDir dir;
    const fs::path minimal =
        fs::absolute(fs::path(K2L_BIN_DIR).parent_path() / "minimal-datasystem");
    const fs::path pair = fs::path(dir.Path()) / "pair";
    const fs::path current = fs::path(dir.Path()) / "current";
    fs::create_directories(pair);
    fs::create_directories(current);
    for (const char* stem : {"Ferrox", "Ostrel"}) {
        fs::copy_file(minimal / DynamicLibraryFileName(stem), pair / DynamicLibraryFileName(stem));
    }
    const std::string sibling = DynamicLibraryFileName("minimal_sibling");
    fs::copy_file(minimal / sibling, current / sibling);
    const fs::path previous = fs::current_path();
    fs::current_path(current);
    const Result<DataSystemEntries> planted =
        LoadDataSystem({pair.string(), "given with --data-system"}, "korr2ld-cli");
    fs::current_path(previous);
    ASSERT_FALSE(planted.ok());
    EXPECT_NE(planted.status().message().find("cannot be loaded"), std::string::npos)
        << planted.status().message();
#ifdef _WIN32
    // A library of the other bitness: its header alone says so.
    const bool x64 = std::string(ProgramMachine()) == "x64";
    std::string header(0x48, '\0');
    header[0] = 'M';
    header[1] = 'Z';
    header[0x3C] = 0x40;
    header.replace(0x40, 4, std::string("PE\0\0", 4));
    header[0x44] = static_cast<char>(x64 ? 0x4C : 0x64);
    header[0x45] = static_cast<char>(x64 ? 0x01 : 0x86);
    const fs::path other = fs::path(dir.Path()) / "other";
    fs::create_directories(other);
    for (const char* stem : {"Ferrox", "Ostrel"}) {
        WriteFile(other / DynamicLibraryFileName(stem), header);
    }
    const Result<DataSystemEntries> foreign =
        LoadDataSystem({other.string(), "given with --data-system"}, "korr2ld-cli");
    ASSERT_FALSE(foreign.ok());
    EXPECT_NE(foreign.status().message().find(x64 ? "use the 32-bit korr2ld-cli"
                                                  : "use the 64-bit korr2ld-cli"),
              std::string::npos)
        << foreign.status().message();
#endif
}

}  // namespace
}  // namespace k2ltest
