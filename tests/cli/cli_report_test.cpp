// What `korr2ld-cli convert` tells: warnings where they are, a dry run that
// writes nothing, --strict, the JSON report, and batches with their clashes.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "cli/cli_sandbox.h"

namespace {

namespace fs = std::filesystem;

const std::string kExport =
    "Pos\tSample\tVolume\tTime\tWell\tFractions\tRack\tComment\n"
    "1\tBSA_1\t1.5\t2\tA1M2.5\tR1:3:5\tRack1\tdigest\n"
    "2\tBSA_2\t1,5\t2.25\tA2M2.5\tR1:1:2\tRack1\tdigest\n";
const std::vector<std::string> kNames = {"--ms",     "ESI_POS", "--inlet",
                                         "LC_30MIN", "--macro", "ACQUIRE"};

std::vector<std::string> With(std::vector<std::string> args) {
    args.insert(args.end(), kNames.begin(), kNames.end());
    return args;
}

class ConvertReport : public ::testing::Test {
protected:
    void SetUp() override {
        sandbox.Write("plate7.txt", kExport);
        sandbox.Write("plate8.txt", kExport);
    }
    CliSandbox sandbox;
};

TEST_F(ConvertReport, AWarningNamesFileLineAndColumnAndStrictRefusesIt) {
    const std::string warning =
        "plate7.txt:3:9: warning: column 3 \"1,5\" has a decimal comma; only the part before it "
        "is read: 1 [decimal-comma]\n";
    const RunResult strict = sandbox.Cli(With({"convert", "plate7.txt", "--strict"}));
    EXPECT_EQ(strict.exitCode, 1);
    EXPECT_TRUE(Has(strict.err, warning)) << strict.err;
    EXPECT_TRUE(Has(strict.err, "1 warning, and warnings are treated as failures")) << strict.err;
    EXPECT_FALSE(fs::exists(sandbox.Dir() / "plate7.sdb"));
    EXPECT_FALSE(fs::exists(sandbox.LumendaHome() / "Lumenda.ini")) << "strict stored a location";

    const RunResult run = sandbox.Cli(With({"convert", "plate7.txt"}));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, warning + "5 records written, 2 sample lines read, 1 other lines skipped\n");
    EXPECT_TRUE(fs::exists(sandbox.Dir() / "plate7.sdb"));
}

TEST_F(ConvertReport, ADryRunReportsAndWritesNothing) {
    const RunResult run =
        sandbox.Cli(With({"convert", "plate7.txt", "--dry-run", "--report", "json"}));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.rfind("{\"conversions\": [", 0), 0u) << run.out;
    EXPECT_TRUE(Has(run.out, "\"result\": \"checked\"")) << run.out;
    EXPECT_TRUE(
        Has(run.out, "\"counts\": {\"records\": 5, \"sample_lines\": 2, \"skipped_lines\": 1}"));
    EXPECT_TRUE(Has(run.out,
                    "{\"kind\": \"decimal-comma\", \"file\": \"plate7.txt\", \"line\": 3, "
                    "\"column\": 9, \"text\": \"1,5\", \"read_as\": \"1\""))
        << run.out;
    EXPECT_TRUE(
        Has(run.out, "{\"line\": 1, \"reason\": \"first-column-text\", \"text\": \"Pos\"}"));
    EXPECT_TRUE(Has(run.err, "checked: a conversion would create it; nothing was written"));
    EXPECT_FALSE(fs::exists(sandbox.Dir() / "plate7.sdb"));
    EXPECT_FALSE(fs::exists(sandbox.LumendaHome() / "Lumenda.ini"))
        << "a dry run stored a location";
}

TEST_F(ConvertReport, AMethodNameMissingFromItsFolderIsWarnedOf) {
    sandbox.Write("methods/ESI_POS.exp", "");
    ASSERT_EQ(sandbox.Cli({"locations", "set", "MS_FUNC_DB", "methods", "exp"}).exitCode, 0);
    const RunResult known = sandbox.Cli(With({"convert", "plate8.txt", "--dry-run"}));
    EXPECT_FALSE(Has(known.err, "[unknown-name]")) << known.err;
    const RunResult unknown =
        sandbox.Cli({"convert", "plate8.txt", "--dry-run", "--ms", "NOPE", "--macro", "ACQUIRE"});
    EXPECT_TRUE(Has(unknown.err, "warning: the MS method NOPE is not among the method files in"))
        << unknown.err;
    EXPECT_TRUE(Has(unknown.err, "warning: the inlet method name is empty")) << unknown.err;
}

TEST_F(ConvertReport, ABatchConvertsEachExportAndNamesTheListsWhoseDataFilesClash) {
    fs::create_directories(sandbox.Dir() / "out");
    // Dry: the clash is found between lists of the batch that are not written.
    const RunResult dry = sandbox.Cli(
        With({"convert", "--output-dir", "out", "plate7.txt", "plate8.txt", "--dry-run"}));
    EXPECT_EQ(dry.exitCode, 0) << dry.err;
    EXPECT_TRUE(Has(dry.err, "also has records with the data file name plate001")) << dry.err;
    EXPECT_TRUE(fs::is_empty(sandbox.Dir() / "out"));

    const RunResult run = sandbox.Cli(
        With({"convert", "--output-dir", "out", "plate7.txt", "missing.txt", "plate8.txt"}));
    EXPECT_EQ(run.exitCode, 1) << "one export of the batch failed";
    const std::string out7 = (sandbox.Dir() / "out/plate7.sdb").string();
    const std::string out8 = (sandbox.Dir() / "out/plate8.sdb").string();
    EXPECT_EQ(run.out, "Sample List " + out7 + " created successfully\nSample List " + out8 +
                           " created successfully\n");
    EXPECT_TRUE(Has(run.err, "Sample List " + (sandbox.Dir() / "out/missing.sdb").string() +
                                 " could not be created: missing.txt: No such file or directory."))
        << run.err;
    EXPECT_TRUE(Has(run.err, out8 + ": warning: the Sample List " + out7 +
                                 " also has records with the data file name plate001"))
        << run.err;
    EXPECT_TRUE(fs::exists(out8));
}

}  // namespace
