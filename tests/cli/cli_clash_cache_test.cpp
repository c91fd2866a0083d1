// What `korr2ld-cli convert` keeps of the lists beside its output, in the
// sandbox's XDG_CACHE_HOME, never changes its warnings: not when a list
// changed after it was kept, not when the cache is damaged, and not when it
// cannot be written.
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli_sandbox.h"
#include "datasystem/ferrox.h"
#include "samplelist/SampleRecord.h"
#include "support/sample_lists.h"
#include "support/scoped_env.h"
#include "util/Sha256.h"

namespace {

namespace fs = std::filesystem;

class ClashCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        sandbox.Write("plate.txt",
                      "Pos\tSample\tVolume\tTime\tWell\tFractions\tRack\tComment\n"
                      "1\tA\t1.5\t2\tA1M2.5\tR1:1:3\tRack1\tx\n"
                      "2\tB\t1.5\t2\tA1M2.5\tR1:1:3\tRack1\tx\n");
        // Six records named PLATE001 to [PLATE006]: of the lists below, b,
        // d and e (once changed) and f clash with them, a and c do not.
        CreateList("a", {"ZED001", "[ZED002]"});
        CreateList("b", {"OTHER001", "[plate004]", "[PLATE002]", "[PLATE003]"});
        CreateList("c", {"PLATE900"});
        CreateList("d", {"ZED001", "[ZED002]", "[ZED003]"});
        CreateList("e", {"ZED001", "[ZED002]"});
        CreateList("f", {"PLATE001"});
        // The cache keeps a list only once its last change lies 2 s back.
        std::this_thread::sleep_for(std::chrono::milliseconds(2200));
    }

    // Writes a Sample List lists/NAME.sdb whose records carry DATA_FILES.
    void CreateList(const std::string& name, const std::vector<std::string>& dataFiles) const {
        fs::create_directories(lists);
        std::vector<k2ltest::ListRecord> records;
        for (const std::string& dataFile : dataFiles) {
            SAMPLE_RECORD record{};
            std::strcpy(record.szDataFile, dataFile.c_str());
            records.push_back(k2ltest::ListRecordOf(record));
        }
        ASSERT_EQ(k2ltest::WriteList(lists / (name + ".sdb"), records), DB3_OK);
    }

    RunResult Convert() const {
        return sandbox.Cli({"convert", "plate.txt", "lists/out.sdb", "--data", "PLATE", "--ms", "M",
                            "--inlet", "I", "--macro", "X", "--overwrite"});
    }

    // The one cache file of the lists' folder.
    fs::path CacheFile() const {
        for (const auto& entry : fs::directory_iterator(sandbox.CacheHome() / "korr2ld")) {
            return entry.path();
        }
        return {};
    }

    CliSandbox sandbox;
    // This process writes lists through the record library too.
    k2ltest::ScopedEnv home{"LUMENDA_HOME", sandbox.LumendaHome().string()};
    fs::path lists = sandbox.Dir() / "lists";
};

// Puts DATA_FILE into record NUMBER of the list at PATH in place, with
// SQLite itself: the file keeps its inode and size.
void SetDataFile(const fs::path& path, int number, const std::string& dataFile) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    SAMPLE_RECORD record{};
    std::strcpy(record.szDataFile, dataFile.c_str());
    sqlite3_stmt* update = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "UPDATE records SET data = ?1 WHERE number = ?2", -1, &update,
                                 nullptr),
              SQLITE_OK);
    sqlite3_bind_blob(update, 1, &record, sizeof record, SQLITE_STATIC);
    sqlite3_bind_int(update, 2, number);
    EXPECT_EQ(sqlite3_step(update), SQLITE_DONE);
    sqlite3_finalize(update);
    EXPECT_EQ(sqlite3_changes(db), 1);
    sqlite3_close(db);
}

// A cache file up to the line of out.sdb, which every conversion writes
// anew: the lines of the lists a to f.
std::string OtherLists(const std::string& cache) {
    const std::size_t out = cache.find("\nout.sdb\t");
    return out == std::string::npos ? cache : cache.substr(0, out);
}

struct stat StatOf(const fs::path& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

// Gives the file at PATH the modification time MODIFIED.
void PutBackModificationTime(const fs::path& path, const timespec& modified) {
    const timespec times[2] = {{0, UTIME_OMIT}, modified};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST_F(ClashCacheTest, AListChangedAfterItWasKeptStillGivesItsClash) {
    const std::string listA = k2ltest::ReadFile(lists / "a.sdb");
    const RunResult first = Convert();
    ASSERT_EQ(first.exitCode, 0) << first.err;
    // The lists beside the output are only read.
    EXPECT_EQ(k2ltest::Entries(lists), (std::vector<std::string>{"a.sdb", "b.sdb", "c.sdb", "d.sdb",
                                                                 "e.sdb", "f.sdb", "out.sdb"}));
    EXPECT_EQ(k2ltest::ReadFile(lists / "a.sdb"), listA);
    for (const char* clashing : {"/b.sdb also has records with the data file name [PLATE002]",
                                 "/f.sdb also has records with the data file name PLATE001"}) {
        EXPECT_TRUE(Has(first.err, clashing)) << first.err;
    }
    EXPECT_EQ(first.err.find("/a.sdb "), std::string::npos) << first.err;
    EXPECT_EQ(first.err.find("/c.sdb "), std::string::npos) << first.err;
    const std::string kept = k2ltest::ReadFile(CacheFile());
    for (const char* name : {"\nd.sdb\t", "\ne.sdb\t", "\nf.sdb\t"}) {
        ASSERT_TRUE(Has(kept, name)) << "not kept: " << name << "\n" << kept;
    }
    EXPECT_EQ(Convert().err, first.err) << "the lists as kept give other warnings";

    // d: one data file name changed in place, the modification time put back.
    const struct stat d = StatOf(lists / "d.sdb");
    SetDataFile(lists / "d.sdb", 3, "[PLATE003]");
    PutBackModificationTime(lists / "d.sdb", d.st_mtim);
    const struct stat changed = StatOf(lists / "d.sdb");
    ASSERT_EQ(changed.st_size, d.st_size);
    ASSERT_EQ(changed.st_ino, d.st_ino);
    ASSERT_EQ(changed.st_mtim.tv_nsec, d.st_mtim.tv_nsec);
    // e: replaced by a list of the same size and time, renamed over it.
    const struct stat e = StatOf(lists / "e.sdb");
    fs::copy_file(lists / "e.sdb", lists / "e.new");
    SetDataFile(lists / "e.new", 1, "PLATE001");
    PutBackModificationTime(lists / "e.new", e.st_mtim);
    fs::rename(lists / "e.new", lists / "e.sdb");
    ASSERT_EQ(StatOf(lists / "e.sdb").st_size, e.st_size);
    // f: an unfinished write lies beside it; the record library reads it no
    // more, kept or not.
    sandbox.Write("lists/f.sdb-journal", "an unfinished write");

    const RunResult after = Convert();
    EXPECT_TRUE(Has(after.err, "/d.sdb also has records with the data file name [PLATE003]"))
        << after.err;
    EXPECT_TRUE(Has(after.err, "/e.sdb also has records with the data file name PLATE001"))
        << after.err;
    EXPECT_EQ(after.err.find("/f.sdb "), std::string::npos) << after.err;
    fs::remove_all(sandbox.CacheHome());
    EXPECT_EQ(Convert().err, after.err) << "without the cache";
}

TEST_F(ClashCacheTest, AListJustWrittenIsTakenFromTheCacheByTheNextConversion) {
    ASSERT_EQ(Convert().exitCode, 0);
    // Its names edited in the cache, digest and all: what the next
    // conversion reports of out.sdb can only come from there.
    std::string kept = k2ltest::ReadFile(CacheFile());
    const std::size_t out = kept.find("\nout.sdb\t");
    ASSERT_NE(out, std::string::npos) << kept;
    kept.replace(kept.find("\tPLATE001", out), 9, "\tplate003");
    const std::size_t end = kept.rfind("\nend\t") + 1;
    kept = kept.substr(0, kept.rfind('\t') + 1) + Sha256OfBytes(kept.substr(0, end)) + "\n";
    k2ltest::WriteFile(CacheFile(), kept);
    const RunResult next = sandbox.Cli({"convert", "plate.txt", "lists/next.sdb", "--data", "PLATE",
                                        "--ms", "M", "--inlet", "I", "--macro", "X"});
    EXPECT_TRUE(Has(next.err, "/out.sdb also has records with the data file name plate003"))
        << next.err;
}

TEST_F(ClashCacheTest, ADamagedOrUnusableCacheGivesTheSameWarningsAsNone) {
    const RunResult reference = Convert();
    ASSERT_EQ(reference.exitCode, 0) << reference.err;
    const fs::path file = CacheFile();
    const std::string good = k2ltest::ReadFile(file);
    const std::size_t b = good.find("\nb.sdb\t");
    ASSERT_NE(b, std::string::npos) << good;
    std::string withoutNames = good;
    withoutNames.erase(good.find("\t[PLATE002]", b), 11);  // the clash of b, hidden
    std::string otherVersion = good;
    otherVersion.replace(good.find("\t2\t"), 3, "\t3\t");

    struct Damage {
        const char* what;
        std::string content;
    };
    const Damage damages[] = {
        {"cut in half", good.substr(0, good.size() / 2)},
        {"a list's data file names dropped", withoutNames},
        {"another format version", otherVersion},
        {"empty", ""},
        {"not a cache",
         "\x7f"
         "ELF and other bytes\n"},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        k2ltest::WriteFile(file, damage.content);
        const RunResult run = Convert();
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err, reference.err);
        EXPECT_EQ(OtherLists(k2ltest::ReadFile(file)), OtherLists(good)) << "not made anew";
    }

    // A link at its name: the link is replaced; the file it names stays.
    sandbox.Write("victim", "a system file\n");
    fs::remove(file);
    fs::create_symlink(sandbox.Dir() / "victim", file);
    EXPECT_EQ(Convert().err, reference.err);
    EXPECT_EQ(k2ltest::ReadFile(sandbox.Dir() / "victim"), "a system file\n");
    EXPECT_FALSE(fs::is_symlink(file));
    EXPECT_EQ(OtherLists(k2ltest::ReadFile(file)), OtherLists(good));

    // A folder where the file should be.
    fs::remove(file);
    fs::create_directory(file);
    const RunResult intoAFolder = Convert();
    EXPECT_EQ(intoAFolder.exitCode, 0);
    EXPECT_EQ(intoAFolder.err, reference.err);

    // No cache, and none can be written: its folder cannot be made, a file
    // has its name.
    fs::remove_all(sandbox.CacheHome());
    sandbox.Write("cache/korr2ld", "a file");
    const RunResult unwritable = Convert();
    EXPECT_EQ(unwritable.exitCode, 0);
    EXPECT_EQ(unwritable.out, reference.out);
    EXPECT_EQ(unwritable.err, reference.err);
    EXPECT_EQ(k2ltest::ReadFile(sandbox.CacheHome() / "korr2ld"), "a file");
}

}  // namespace

TEST_F(ClashCacheTest, ListsThatCannotBeReadAreNamedInOneNoteAndTheClashesOfTheOthersFound) {
    k2ltest::WriteFile(lists / "g.sdb", "damaged: no Sample List");
    CreateList("h", {"ZED001"});
    k2ltest::WriteFile(lists / "h.sdb-journal", "an unfinished write");
    CreateList("i", {"PLATE001"});
    fs::permissions(lists / "i.sdb", fs::perms::owner_write);
    std::vector<std::string> args = {K2L_BIN_DIR "/korr2ld-cli",
                                     "convert",
                                     "plate.txt",
                                     "lists/out.sdb",
                                     "--data",
                                     "PLATE",
                                     "--strict"};
    if (geteuid() == 0) {  // permission bits bind only another user
        fs::permissions(sandbox.Dir(), fs::perms::others_read | fs::perms::others_exec,
                        fs::perm_options::add);
        args.insert(args.begin(), {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
    }
    const RunResult run = sandbox.Program(args.front(), {args.begin() + 1, args.end()});
    const std::string dir = (sandbox.Dir() / "lists/").string();
    EXPECT_TRUE(Has(run.err,
                    "warning: 3 other Sample Lists in the output folder could not be "
                    "read, so they were not checked for data file clashes"))
        << run.err;
    EXPECT_TRUE(Has(run.err, dir + "g.sdb: The file is not a Sample List, or it is damaged;"));
    EXPECT_TRUE(Has(run.err, dir + "h.sdb: The Sample List has an unfinished write"));
    EXPECT_TRUE(Has(run.err, dir + "i.sdb: cannot read " + dir + "i.sdb: Permission denied"))
        << run.err;
    EXPECT_TRUE(Has(run.err, "the Sample List " + dir + "b.sdb also has records")) << run.err;
}
