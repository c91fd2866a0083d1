// korr2ld-cli writing a Sample List as one step, run as a user or a script
// runs it: conversions killed at random moments, two conversions into one
// name, a list locked by another program, names and files it refuses, and
// files beside a list that show and convert leave alone.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli_sandbox.h"

namespace {

using k2ltest::Entries;
using k2ltest::ReadFile;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Names = std::vector<std::string>;
using std::chrono::milliseconds;

constexpr milliseconds kRunLimit{30000};  // no run may take longer
constexpr int kBigLines = 3000, kBigFractions = 4, kBigRecords = kBigLines * kBigFractions;
const std::string kCreated = "created successfully";
const std::string kBusy = "try again when it has finished (status 11)";

std::string BigExport() {
    std::string text = "Korrin run export\tTest\nPos\tSample\tVolume\tTime\tWell\tFractions\n";
    for (int i = 1; i <= kBigLines; ++i) {
        const std::string n = std::to_string(i);
        text += n + "\tS" + n + "\t1.5\t2.25\tA" + std::to_string(i % 96) +
                "M7.5\tR:1:" + std::to_string(kBigFractions) + "\tc7\tc8\n";
    }
    return text;
}

class AtomicList : public ::testing::Test {
protected:
    void SetUp() override {
        sandbox.WriteExampleExport("old.txt");
        sandbox.Write("big.txt", BigExport());
        fs::create_directories(folder);
    }
    // Converts the 9 records of old.txt with data name DATA into TARGET; the list's bytes.
    std::string MakeList(const fs::path& target, const std::string& data = "OLDER") const {
        const RunResult made = sandbox.Cli({"convert", "old.txt", target.string(), "--data", data});
        EXPECT_EQ(made.exitCode, 0) << made.err;
        return ReadFile(target);
    }
    Names Convert(const std::string& data, bool overwrite) const {
        Names args{"convert", "big.txt", list.string(), "--data", data};
        if (overwrite) {
            args.push_back("--overwrite");
        }
        return args;
    }
    // The records of the list whose data file name starts with BASE (all with
    // ""), as show reads them; -1 when show fails.
    int Records(const std::string& base) const {
        const RunResult run = sandbox.Cli({"show", list.string(), "--format", "json"});
        std::istringstream lines(run.out);
        int count = 0;
        for (std::string line; std::getline(lines, line);) {
            count +=
                Has(line, "\"data_file\": \"" + base) || Has(line, "\"data_file\": \"[" + base);
        }
        return run.exitCode == 0 ? count : -1;
    }
    // The list holds the whole conversion of big.txt with data name BASE.
    void ExpectNewList(const std::string& base) const {
        EXPECT_EQ(Records(""), kBigRecords);
        EXPECT_EQ(Records(base), kBigRecords) << "records other than " << base << " in " << list;
    }

    CliSandbox sandbox;
    const fs::path folder = sandbox.Dir() / "lists";
    const fs::path list = folder / "run.sdb";
};

// ---- Conversions interrupted: the old list stays, and nothing else ----

class InterruptedConversion : public AtomicList, public ::testing::WithParamInterface<int> {};

TEST_P(InterruptedConversion, LeavesOnlyTheOldList) {
    const std::string old = MakeList(list);
    k2ltest::ChildProcess run = sandbox.Start(Convert("NEWER", true));
    // Interrupted while the new list is being built beside the old one.
    bool building = false;
    while (!building && run.Running()) {
        std::error_code error;
        for (const std::string& name : Entries(folder)) {
            building |= name.rfind(".run.sdb.new-", 0) == 0 && !Has(name, "-journal") &&
                        fs::file_size(folder / name, error) > 0;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    ASSERT_TRUE(building) << "the conversion ended before it could be interrupted";
    run.Kill(GetParam());
    const RunResult result = CliSandbox::Finish(run, kRunLimit);
    EXPECT_EQ(result.signal, GetParam()) << "ended as the signal ends a program";
    EXPECT_EQ(Entries(folder), Names{"run.sdb"});
    EXPECT_EQ(ReadFile(list), old);
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptedConversion,
                         ::testing::Values(SIGINT, SIGTERM, SIGHUP));

// ---- Conversions killed with SIGKILL at random moments ----

class KilledConversion : public AtomicList, public ::testing::WithParamInterface<bool> {};

TEST_P(KilledConversion, LeavesTheOldListOrTheWholeNewOneAndTheNextRunCleansUp) {
    const bool replace = GetParam();
    const std::string old = replace ? MakeList(list) : std::string();
    // How long and how large a whole run is here, to spread the kills over it.
    const auto calibrationStart = Clock::now();
    ASSERT_EQ(sandbox.Cli({"convert", "big.txt", "calib.sdb", "--data", "CALIB"}).exitCode, 0);
    const auto runTime = Clock::now() - calibrationStart;
    const std::uintmax_t finalSize = fs::file_size(sandbox.Dir() / "calib.sdb");

    std::mt19937 random(20261130u + (replace ? 1u : 0u));
    constexpr int kRounds = 8;
    int beforeCommit = 0, afterCommit = 0, leftFiles = 0;  // what the kills met
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const auto roundStart = Clock::now();
        k2ltest::ChildProcess run = sandbox.Start(Convert("NEWER", replace));
        // Even rounds: a moment in this round's share of 1.6 run times; odd
        // rounds: when the list being built reaches a random size.
        const auto moment =
            Clock::now() + std::chrono::duration_cast<Clock::duration>(
                               runTime * 1.6 * (round + random() % 100 / 50.0) / kRounds);
        const auto size = std::uniform_int_distribution<std::uintmax_t>(0, finalSize)(random);
        for (bool reached = false; !reached && run.Running();) {
            std::error_code error;
            reached =
                round % 2 == 0 ? Clock::now() >= moment : Clock::now() - roundStart > kRunLimit;
            for (const std::string& name : Entries(folder)) {
                reached |= round % 2 == 1 && name.rfind(".run.sdb.new-", 0) == 0 &&
                           !Has(name, "-journal") && fs::file_size(folder / name, error) >= size;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        run.Kill();
        const RunResult result = CliSandbox::Finish(run, kRunLimit);
        EXPECT_TRUE(result.exitCode == -1 || result.exitCode == 0) << result.err;
        // A kill may land after the message and before the exit, never the reverse.
        const bool saidCreated = Has(result.out, kCreated);
        EXPECT_TRUE(result.exitCode != 0 || saidCreated);

        const bool isNew = fs::exists(list) && !(replace && ReadFile(list) == old);
        ++(isNew ? afterCommit : beforeCommit);
        if (isNew) {
            ExpectNewList("NEWER");
        }
        EXPECT_TRUE(isNew || !saidCreated) << "created successfully, but not there";
        EXPECT_TRUE(!replace || fs::exists(list)) << "the old list is gone";
        // Only the list and the killed runs' hidden files are there.
        const Names left = Entries(folder);
        for (const std::string& name : left) {
            EXPECT_TRUE(name == "run.sdb" || name.rfind(".run.sdb.new-", 0) == 0 ||
                        name == ".run.sdb.lock")
                << name;
        }
        leftFiles += left.size() > (fs::exists(list) ? 1u : 0u);
        // Back to the starting point for the next round.
        if (isNew && replace) {
            sandbox.Write("lists/run.sdb", old);
        } else if (isNew) {
            fs::remove(list);
        }
    }
    std::cout << "kills before the commit: " << beforeCommit << ", after: " << afterCommit
              << ", rounds leaving hidden files: " << leftFiles << '\n';
    EXPECT_GT(beforeCommit, 0) << "no kill landed before the commit";
    EXPECT_GT(leftFiles, 0) << "no kill landed while the list was being written";

    const RunResult last = sandbox.Cli(Convert("FINAL", replace));
    EXPECT_EQ(last.exitCode, 0) << last.err;
    EXPECT_TRUE(Has(last.out, kCreated));
    ExpectNewList("FINAL");
    EXPECT_EQ(Entries(folder), Names{"run.sdb"});
}

INSTANTIATE_TEST_SUITE_P(ReplaceAndNew, KilledConversion, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Replace" : "New"; });

// ---- Two conversions into one name at once ----

class TwoConversions : public AtomicList, public ::testing::WithParamInterface<bool> {};

TEST_P(TwoConversions, OneRunsAfterTheOtherOrFailsAndTheListHoldsOneRun) {
    const bool overwrite = GetParam();
    const std::string bases[] = {"ALPHA", "BRAVO"};
    std::mt19937 random(7u + (overwrite ? 1u : 0u));
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::string old = overwrite ? MakeList(list) : std::string();
        k2ltest::ChildProcess runs[2];
        runs[0] = sandbox.Start(Convert(bases[0], overwrite));
        std::this_thread::sleep_for(milliseconds(random() % 40));
        runs[1] = sandbox.Start(Convert(bases[1], overwrite));
        // Which run ended last: the list is that run's if it succeeded.
        int last = -1;
        for (const auto start = Clock::now(); Clock::now() - start < kRunLimit;) {
            const bool running[] = {runs[0].Running(), runs[1].Running()};
            if (!running[0] && !running[1]) {
                break;
            }
            last = running[0] != running[1] ? (running[0] ? 0 : 1) : last;
            std::this_thread::sleep_for(milliseconds(1));
        }
        int succeeded = 0, owner = -1;
        for (int i = 0; i < 2; ++i) {
            const RunResult result = CliSandbox::Finish(runs[i], kRunLimit);
            EXPECT_EQ(Has(result.out, kCreated), result.exitCode == 0) << result.out;
            if (result.exitCode == 0) {
                ++succeeded;
                owner = owner < 0 || i == last ? i : owner;
                EXPECT_FALSE(Has(result.err, "could not be created")) << result.err;
            } else {
                EXPECT_EQ(result.exitCode, 1);
                EXPECT_TRUE(Has(result.err, kBusy) ||
                            (!overwrite && Has(result.err, "already exists")))
                    << result.err;
            }
        }
        EXPECT_LE(succeeded, overwrite ? 2 : 1);
        if (succeeded == 2 && last < 0) {  // ended within the same millisecond
            owner = Records(bases[0]) == kBigRecords ? 0 : 1;
        }
        if (owner >= 0) {
            ExpectNewList(bases[owner]);
        } else {
            EXPECT_EQ(ReadFile(list), old);
        }
        EXPECT_EQ(Entries(folder), owner >= 0 || overwrite ? Names{"run.sdb"} : Names{});
        fs::remove(list);
    }
    EXPECT_EQ(sandbox.Cli({"locations", "get", "SAMPLES_DB"}).exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutOverwrite, TwoConversions, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Overwrite" : "New"; });

// ---- A conversion waiting for the list's lock, held by another program ----

struct LockCase {
    const char* name;
    bool overwrite;
    int releaseMs;       // when the other program lets go (-1: after the run)
    const char* appear;  // what it puts at the name meanwhile: "list", "text" or ""
};

void PrintTo(const LockCase& c, std::ostream* out) {
    *out << c.name;
}

class LockedList : public AtomicList, public ::testing::WithParamInterface<LockCase> {};

TEST_P(LockedList, WaitsAtMostFiveSecondsThenFailsBusyOrRunsAndNeverReplacesWithoutOverwrite) {
    const LockCase& c = GetParam();
    const std::string old = c.overwrite ? MakeList(list) : std::string();
    const std::string appear = c.appear;
    const std::string appeared =
        appear == "list" ? MakeList(sandbox.Dir() / "other.sdb", "OTHER") : "not a list";
    int lock = open((folder / ".run.sdb.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(flock(lock, LOCK_EX | LOCK_NB), 0);
    const auto start = Clock::now();
    k2ltest::ChildProcess run = sandbox.Start(Convert("NEWER", c.overwrite));
    for (auto elapsed = Clock::duration(); run.Running() && elapsed < kRunLimit;
         elapsed = Clock::now() - start) {
        if (!appear.empty() && elapsed > milliseconds(c.releaseMs / 2) && !fs::exists(list)) {
            sandbox.Write("lists/run.sdb", appeared);
        }
        if (lock >= 0 && c.releaseMs >= 0 && elapsed >= milliseconds(c.releaseMs)) {
            close(lock);
            lock = -1;
        }
        std::this_thread::sleep_for(milliseconds(5));
    }
    const RunResult result = CliSandbox::Finish(run, kRunLimit);
    const auto waited = Clock::now() - start;
    close(lock);
    EXPECT_EQ(Has(result.err, "already exists"), !appear.empty()) << result.err;
    EXPECT_EQ(Has(result.out, kCreated), result.exitCode == 0);
    if (!appear.empty()) {
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(ReadFile(list), appeared);
    } else if (result.exitCode == 0) {
        ExpectNewList("NEWER");
    } else {
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(Has(result.err, kBusy)) << result.err;
        EXPECT_LT(waited, milliseconds(7000)) << "waited longer than 5 s for the lock";
        EXPECT_EQ(ReadFile(list), old);
    }
    for (const std::string& name : Entries(folder)) {
        EXPECT_TRUE(name == "run.sdb" || name == ".run.sdb.lock") << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, LockedList,
                         ::testing::Values(LockCase{"HeldThroughout", true, -1, ""},
                                           LockCase{"ReleasedAfterTheWait", true, 6500, ""},
                                           LockCase{"ListAppearsWhileWaiting", false, 1000, "list"},
                                           LockCase{"FileAppearsWhileWaiting", false, 1000,
                                                    "text"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AtomicList, AListThatAppearsWhileTheNewOneIsWrittenIsNotReplaced) {
    const std::string appeared = MakeList(sandbox.Dir() / "other.sdb", "OTHER");
    k2ltest::ChildProcess run = sandbox.Start(Convert("NEWER", false));
    for (const auto start = Clock::now();
         run.Running() && !fs::exists(list) && Clock::now() - start < kRunLimit;) {
        for (const std::string& name : Entries(folder)) {
            if (name.rfind(".run.sdb.new-", 0) == 0) {
                sandbox.Write("lists/run.sdb", appeared);
            }
        }
    }
    const RunResult result = CliSandbox::Finish(run, kRunLimit);
    ASSERT_EQ(ReadFile(list), appeared) << "the conversion ended before the list appeared";
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(Has(result.err, "A file named " + list.string() +
                                    " already exists; it was left as it is (status 17)"))
        << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(Entries(folder), Names{"run.sdb"});
}

// ---- Names and files that are refused, and files left alone ----

TEST_F(AtomicList, AnOutputNameEndingInADotIsRefusedBeforeAnythingIsTouched) {
    const std::string listBytes = MakeList(folder / "l");
    const fs::path settings = sandbox.LumendaHome() / "Lumenda.ini";
    const std::string settingsBytes = ReadFile(settings);
    fs::create_directories(sandbox.Dir() / "empty");
    for (const std::string output : {"lists/l.", "empty/l."}) {
        for (const bool overwrite : {false, true}) {
            Names args{"convert", "old.txt", output, "--data", "DOT"};
            if (overwrite) {
                args.push_back("--overwrite");
            }
            const RunResult run = sandbox.Cli(args);
            EXPECT_EQ(run.exitCode, 1) << output;
            EXPECT_TRUE(Has(run.err, "a Sample List name cannot end in a dot")) << run.err;
            EXPECT_EQ(ReadFile(folder / "l"), listBytes);
            EXPECT_EQ(Entries(folder), Names{"l"});
            EXPECT_EQ(Entries(sandbox.Dir() / "empty"), Names{});
            EXPECT_EQ(ReadFile(settings), settingsBytes);
        }
    }
}

TEST_F(AtomicList, AFailedConversionLeavesTheOldListOrNothingAndNoOtherFile) {
    for (const bool replace : {false, true}) {
        const std::string old = replace ? MakeList(list) : std::string();
        Names args = Convert("NEWER", replace);
        args.insert(args.begin(), {"-c", "ulimit -f 20000; exec \"$0\" \"$@\"",
                                   std::string(K2L_BIN_DIR) + "/korr2ld-cli"});
        const RunResult run = sandbox.Program("sh", args);  // the list outgrows 20 MB
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_TRUE(Has(run.err, "(status 27)")) << run.err;
        EXPECT_EQ(ReadFile(list), old);
        EXPECT_EQ(Entries(folder), replace ? Names{"run.sdb"} : Names{});
    }
}

TEST_F(AtomicList, OverwriteRefusesAFileThatIsNotASampleList) {
    for (const std::string content : {"precious, not a Sample List\n", ""}) {
        sandbox.Write("lists/run.sdb", content);
        const RunResult run = sandbox.Cli(Convert("NEWER", true));
        EXPECT_EQ(run.exitCode, 1) << content;
        EXPECT_TRUE(
            Has(run.err,
                list.string() +
                    " is not a Sample List, or it is damaged; it was left as it is (status 40)"))
            << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(ReadFile(list), content);
        EXPECT_EQ(Entries(folder), Names{"run.sdb"});
    }
}

TEST_F(AtomicList, ShowBesideAnUnfinishedWriteChangesNothing) {
    const std::string listBytes = MakeList(list);
    std::string junk(5000, '\0');
    std::generate(junk.begin(), junk.end(), std::mt19937(42u));
    sandbox.Write("lists/run.sdb-journal", junk);
    const RunResult shown = sandbox.Cli({"show", list.string()});
    EXPECT_EQ(shown.exitCode, 1);
    EXPECT_TRUE(Has(shown.err, "unfinished write")) << shown.err;
    EXPECT_EQ(ReadFile(list), listBytes);
    EXPECT_EQ(ReadFile(folder / "run.sdb-journal"), junk);
    EXPECT_EQ(Entries(folder), (Names{"run.sdb", "run.sdb-journal"}));
    // Nor does it create a list that is not there.
    fs::remove(list);
    EXPECT_EQ(sandbox.Cli({"show", list.string()}).exitCode, 1);
    EXPECT_EQ(Entries(folder), Names{"run.sdb-journal"});
}

TEST_F(AtomicList, TheUsersWalAndShmFilesStayAsTheyAre) {
    MakeList(list);
    sandbox.Write("lists/run.sdb-wal", "the user's wal bytes");
    sandbox.Write("lists/run.sdb-shm", std::string(100, '\x01'));
    const struct {
        Names args;
        int exitCode;
    } runs[] = {{{"show", list.string()}, 0},
                {Convert("NEWER", false), 1},
                {Convert("NEWER", true), 0},
                {{"show", list.string(), "--format", "json"}, 0}};
    for (const auto& r : runs) {
        const RunResult run = sandbox.Cli(r.args);
        EXPECT_EQ(run.exitCode, r.exitCode) << r.args[0] << ": " << run.err;
        EXPECT_EQ(ReadFile(folder / "run.sdb-wal"), "the user's wal bytes");
        EXPECT_EQ(ReadFile(folder / "run.sdb-shm"), std::string(100, '\x01'));
        EXPECT_EQ(Entries(folder), (Names{"run.sdb", "run.sdb-shm", "run.sdb-wal"}));
    }
    ExpectNewList("NEWER");
}

TEST_F(AtomicList, AnOversizedRecordIsRefusedWithoutLoadingIt) {
    if (!HaveProgram("sqlite3") || !HaveProgram("time")) {
        GTEST_SKIP() << "sqlite3 or time is not installed";
    }
    for (const std::string number : {"1", "9"}) {
        SCOPED_TRACE("record " + number);
        fs::remove(list);
        MakeList(list);
        const RunResult updated = sandbox.Program(
            "sqlite3", {list.string(),
                        "UPDATE records SET data = zeroblob(300000000) WHERE number = " + number});
        ASSERT_EQ(updated.exitCode, 0) << updated.err;
        // The peak memory of the run stays far below the record's 300 MB. (A
        // limit on the address space would do, but not for a build with
        // AddressSanitizer, which reserves terabytes of it.)
        const fs::path peak = sandbox.Dir() / "peak-kib";
        const RunResult shown = sandbox.Program(
            "time", {"-f", "%M", "-o", peak.string(), std::string(K2L_BIN_DIR) + "/korr2ld-cli",
                     "show", list.string()});
        EXPECT_EQ(shown.exitCode, 1) << shown.err;
        EXPECT_LT(std::stol("0" + ReadFile(peak)), 100 * 1024) << "KiB at the peak";
        EXPECT_TRUE(Has(shown.err,
                        "record " + number + ": The file is not a Sample List, or it is damaged"))
            << shown.err;
    }
}

}  // namespace
