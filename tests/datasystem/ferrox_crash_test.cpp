// What a Sample List looks like after its writer died or ran out of room.
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "datasystem/ferrox.h"
#include "datasystem_test_support.h"
#include "fault_test_support.h"

namespace {

using dstest::Append;
using dstest::Record;
using k2ltest::RunInChild;

constexpr int32_t kDb = DB3_SAMPLE_LIST;
// More records than the page cache holds, so that pages reach the file
// before the commit.
constexpr int kManyRecords = 3000;

using faulttest::IntegrityCheck;

class FerroxCrashTest : public dstest::DataSystemTest {
protected:
    FerroxCrashTest() { UseListDirectory(m_lists); }

    // Opens list NAME and checks that it holds exactly records 1..COUNT.
    void ExpectList(const std::string& name, int count) {
        ExpectRecords(name, count);
        EXPECT_EQ(IntegrityCheck(ListPath(name)), "ok");
        EXPECT_FALSE(std::filesystem::exists(ListPath(name) + "-journal"));
    }
};

TEST_F(FerroxCrashTest, KilledWriterLeavesTheLastCommittedList) {
    CreateList("run12", 10);
    const auto committedSize = std::filesystem::file_size(ListPath("run12"));

    // The writer dies without DB3Close.
    ASSERT_EQ(dstest::AppendAndDie("run12", DB3_MODE_OPEN, 11, kManyRecords), 0);
    // The uncommitted pages did reach the file; the journal can undo them.
    EXPECT_GT(std::filesystem::file_size(ListPath("run12")), committedSize);
    ASSERT_TRUE(std::filesystem::exists(ListPath("run12") + "-journal"));

    ExpectList("run12", 10);
    EXPECT_EQ(std::filesystem::file_size(ListPath("run12")), committedSize);
}

// No list of that name, and nothing of the writer's in the folder once the
// next writer of that list has come and gone; writing another list there
// leaves the dead writer's files alone.
void ExpectNoListAndCleanUp(const std::string& lists, const std::string& path) {
    EXPECT_FALSE(std::filesystem::exists(path));
    const std::string left = faulttest::FilesStartingWith(lists, ".run12.sdb.new-");
    ASSERT_EQ(DB3Open(kDb, "other", DB3_MODE_CREATE), DB3_OK);
    ASSERT_EQ(DB3Close(kDb), DB3_OK);
    EXPECT_EQ(faulttest::FilesStartingWith(lists, ".run12.sdb.new-"), left);
    ASSERT_EQ(DB3Open(kDb, "run12", DB3_MODE_CREATE), DB3_OK);
    ASSERT_EQ(DB3Abandon(kDb), DB3_OK);
    EXPECT_EQ(faulttest::FilesStartingWith(lists, ""), "other.sdb ");
}

TEST_F(FerroxCrashTest, KilledWriterOfANewListLeavesNoList) {
    ASSERT_EQ(dstest::AppendAndDie("run12", DB3_MODE_CREATE, 1, kManyRecords), 0);
    EXPECT_NE(faulttest::FilesStartingWith(m_lists, ".run12.sdb.new-"), "");
    ExpectNoListAndCleanUp(m_lists, ListPath("run12"));
}

// The child's exit code: the first failing status, and then whether later
// calls kept failing.
constexpr int kNoFailure = 100;
constexpr int kLaterStoreSucceeded = 101;
constexpr int kCloseSucceeded = 102;

int AppendUnderFileSizeLimit(rlim_t limit, int records) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit bound{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &bound) != 0 || DB3Open(kDb, "run12", DB3_MODE_CREATE) != DB3_OK) {
        return 1;
    }
    for (int n = 1; n <= records; ++n) {
        const int32_t status = Append(n);
        if (status != DB3_OK) {
            if (Append(n) == DB3_OK || Append(n + 1) == DB3_OK) {
                return kLaterStoreSucceeded;
            }
            return DB3Close(kDb) == DB3_OK ? kCloseSucceeded : status;
        }
    }
    const int32_t closed = DB3Close(kDb);
    return closed == DB3_OK ? kNoFailure : closed;
}

TEST_F(FerroxCrashTest, FileSizeLimitDuringAppendsFailsEveryLaterCall) {
    EXPECT_EQ(RunInChild([](std::string&) {
                  return AppendUnderFileSizeLimit(3 << 20, kManyRecords);
              }).exitCode,
              DB3_E_TOO_LARGE);
    ExpectNoListAndCleanUp(m_lists, ListPath("run12"));
}

TEST_F(FerroxCrashTest, FileSizeLimitAtCommitFailsTheClose) {
    // 300 records stay in the page cache until the commit writes them.
    EXPECT_EQ(
        RunInChild([](std::string&) { return AppendUnderFileSizeLimit(1 << 20, 300); }).exitCode,
        DB3_E_TOO_LARGE);
    ExpectNoListAndCleanUp(m_lists, ListPath("run12"));
}

TEST_F(FerroxCrashTest, ReadOnlyListCanBeReadButNotAppendedTo) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "running as root: file permissions do not apply";
    }
    CreateList("run12", 1);
    ASSERT_EQ(chmod(ListPath("run12").c_str(), 0444), 0);
    ASSERT_EQ(DB3Open(kDb, "run12", DB3_MODE_OPEN), DB3_OK);
    Record back{};
    EXPECT_EQ(DB3HandleRecord(kDb, 1, back.data(), DB3_OP_READ, 0), DB3_OK);
    EXPECT_EQ(Append(2), DB3_E_READ_ONLY);
    EXPECT_EQ(DB3Close(kDb), DB3_OK);
}

}  // namespace
