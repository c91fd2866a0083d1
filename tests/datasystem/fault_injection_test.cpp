// Faults under the data system's two libraries: a full disk, I/O errors and
// failing syncs under the record library (through the fault VFS), and
// unusable, unwritable or contended settings files under the settings
// library. Whatever fails, a Sample List is afterwards either absent or a
// sound list that holds exactly what the calls reported as kept, and a
// settings file is never lost.
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "datasystem/fault_test_support.h"
#include "datasystem/fault_vfs.h"
#include "datasystem/ferrox.h"
#include "datasystem/ostrel.h"
#include "datasystem_test_support.h"
#include "framework/ProfileFile.h"

namespace {

using dstest::Append;
using dstest::Get;
using dstest::MakeRecord;
using dstest::Record;
using dstest::SameInfo;
using faultvfs::CallFault;
using faultvfs::FileKind;
using faultvfs::Op;
using faultvfs::WriteFault;
using k2ltest::ChildResult;
using k2ltest::LocationRecord;
using k2ltest::ReadFile;
using k2ltest::RunInChild;
using k2ltest::WriteFile;
using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr int32_t kDb = DB3_SAMPLE_LIST;
// 6.4 MB of records: more than the record library's 4 MiB page cache, so
// that pages reach the file before the commit as well as at it.
constexpr int kRecords = 1500;

class RecordLibraryFaultTest : public dstest::DataSystemTest {
protected:
    RecordLibraryFaultTest() {
        faultvfs::Install();
        UseListDirectory(m_lists);
    }
    ~RecordLibraryFaultTest() override { faultvfs::Disarm(); }

    // Checks that list NAME is a sound Sample List holding exactly records
    // 1..COUNT, and leaves nothing beside it. Runs without faults.
    void ExpectList(const std::string& name, int count) {
        faultvfs::Disarm();
        ExpectRecords(name, count);
        EXPECT_EQ(faulttest::IntegrityCheck(ListPath(name)), "ok");
        // A journal still beside the list after that open is not hot: its
        // header was zeroed when the failed transaction was rolled back,
        // and SQLite ignores it and reuses it for the next transaction.
        EXPECT_EQ(faulttest::FilesStartingWith(m_lists, name + ".sdb-w"), "");
        EXPECT_EQ(faulttest::FilesStartingWith(m_lists, name + ".sdb-s"), "");
        const std::string journal = ListPath(name) + "-journal";
        if (std::filesystem::exists(journal)) {
            EXPECT_EQ(ReadFile(journal).substr(0, 8), std::string(8, '\0'));
        }
        EXPECT_EQ(faulttest::FilesStartingWith(m_lists, "." + name), "");
    }
};

// ---- Appending under faults -----------------------------------------------

struct AppendScenario {
    const char* what;
    std::vector<faultvfs::Fault> faults;
    int32_t firstFailure;  // the status expected of the first failing call; 0: any
};

void PrintTo(const AppendScenario& scenario, std::ostream* out) {
    *out << scenario.what;
}

class AppendFaultTest : public RecordLibraryFaultTest,
                        public ::testing::WithParamInterface<AppendScenario> {
protected:
    // Appends records BASE+1.. until the first failure, as the converter
    // does, closes, and checks that the list holds what was reported kept:
    // every accepted record when the close succeeded, the records of
    // before the open when it failed. A fault that fired must be reported
    // unless nothing was lost by it.
    void Run(int base) {
        const AppendScenario& scenario = GetParam();
        if (base == 0) {
            ASSERT_EQ(DB3Open(kDb, "run12", DB3_MODE_CREATE), DB3_OK);
        } else {
            CreateList("run12", base);
            ASSERT_EQ(DB3Open(kDb, "run12", DB3_MODE_OPEN), DB3_OK);
        }
        faultvfs::Arm(scenario.faults.front());
        for (std::size_t i = 1; i < scenario.faults.size(); ++i) {
            faultvfs::ArmAlso(scenario.faults[i]);
        }
        int accepted = 0;
        int32_t failure = DB3_OK;
        for (int n = base + 1; n <= base + kRecords; ++n) {
            failure = Append(n);
            if (failure != DB3_OK) {
                // The converter stops here; the library keeps refusing.
                EXPECT_NE(Append(n), DB3_OK);
                break;
            }
            ++accepted;
        }
        const int32_t closed = DB3Close(kDb);
        const int fired = faultvfs::Failures();
        faultvfs::Disarm();

        const bool journalOnly = std::all_of(
            scenario.faults.begin(), scenario.faults.end(),
            [](const faultvfs::Fault& fault) { return fault.file == FileKind::kJournal; });
        if (base == 0 && journalOnly) {
            // A new list keeps its rollback journal in memory: no fault of
            // a journal file can reach it.
            EXPECT_EQ(fired, 0);
            EXPECT_EQ(closed, DB3_OK) << DB3StatusText(closed);
            ExpectList("run12", accepted);
            EXPECT_EQ(accepted, kRecords);
            return;
        }
        EXPECT_GT(fired, 0) << "the fault never fired; the scenario tests nothing";
        const int32_t reported = failure != DB3_OK ? failure : closed;
        EXPECT_NE(reported, DB3_OK) << "a failure of the device was reported as success";
        if (scenario.firstFailure != DB3_OK) {
            EXPECT_EQ(reported, scenario.firstFailure) << DB3StatusText(reported);
        }
        EXPECT_EQ(DB3GetRecordsInDB(kDb), 0) << "the list was left open";
        if (base == 0 && closed != DB3_OK) {
            // A new list that failed never appears, and leaves nothing.
            EXPECT_EQ(faulttest::FilesStartingWith(m_lists, ""), "");
        } else {
            ExpectList("run12", closed == DB3_OK ? base + accepted : base);
        }
    }
};

TEST_P(AppendFaultTest, NewListIsAbsentOrHoldsWhatWasReported) {
    Run(0);
}

TEST_P(AppendFaultTest, ExistingListKeepsItsRecordsOrHoldsWhatWasReported) {
    Run(10);
}

const auto kFull = [](std::int64_t afterBytes) {
    return std::vector<faultvfs::Fault>{WriteFault(FileKind::kDatabase, afterBytes)};
};

INSTANTIATE_TEST_SUITE_P(
    Faults, AppendFaultTest,
    ::testing::Values(
        // The disk fills at the first byte, inside the first page, after
        // the page cache spilled, in the middle of a spilled page, and at
        // the commit.
        AppendScenario{"DiskFullAtOnce", kFull(0), DB3_E_FULL},
        AppendScenario{"DiskFullInFirstPage", kFull(30000), DB3_E_FULL},
        AppendScenario{"DiskFullAtCacheSpill", kFull(4 << 20), DB3_E_FULL},
        AppendScenario{"DiskFullMidPage", kFull((4 << 20) + 100000), DB3_E_FULL},
        AppendScenario{"DiskFullAtCommit", kFull(6300000), DB3_E_FULL},
        AppendScenario{"FileSizeLimit",
                       {WriteFault(FileKind::kDatabase, 2 << 20, 0, SQLITE_IOERR_WRITE, EFBIG)},
                       DB3_E_TOO_LARGE},
        AppendScenario{"WriteIoError",
                       {WriteFault(FileKind::kDatabase, -1, 3, SQLITE_IOERR_WRITE, EIO)},
                       DB3_E_IO},
        AppendScenario{"OneWriteFails",
                       {[] {
                           auto fault =
                               WriteFault(FileKind::kDatabase, -1, 2, SQLITE_IOERR_WRITE, EIO);
                           fault.sticky = false;
                           return fault;
                       }()},
                       DB3_E_IO},
        AppendScenario{"JournalFull", {WriteFault(FileKind::kJournal, -1, 1)}, DB3_E_FULL},
        AppendScenario{"JournalWriteError",
                       {WriteFault(FileKind::kJournal, -1, 2, SQLITE_IOERR_WRITE, EIO)},
                       DB3_E_IO},
        AppendScenario{"JournalSyncFails",
                       {CallFault(Op::kSync, FileKind::kJournal, 1, SQLITE_IOERR_FSYNC)},
                       DB3_E_IO},
        AppendScenario{"ListSyncFails",
                       {CallFault(Op::kSync, FileKind::kDatabase, 1, SQLITE_IOERR_FSYNC)},
                       DB3_E_IO},
        AppendScenario{"JournalDeleteFailsAtCommit",
                       {CallFault(Op::kDelete, FileKind::kJournal, 1, SQLITE_IOERR_DELETE)},
                       DB3_E_IO},
        AppendScenario{"DiskFullAndTruncateFailsInRollback",
                       {WriteFault(FileKind::kDatabase, 5 << 20),
                        CallFault(Op::kTruncate, FileKind::kAny, 1, SQLITE_IOERR_TRUNCATE)},
                       DB3_E_FULL}),
    [](const ::testing::TestParamInfo<AppendScenario>& info) { return info.param.what; });

// ---- Creating and opening under faults ------------------------------------

TEST_F(RecordLibraryFaultTest, CreateThatFailsLeavesNoFileBehind) {
    struct Case {
        Op op;
        int resultCode;
    };
    const Case cases[] = {{Op::kWrite, SQLITE_FULL},
                          {Op::kWrite, SQLITE_IOERR_WRITE},
                          {Op::kSync, SQLITE_IOERR_FSYNC},
                          {Op::kRead, SQLITE_IOERR_READ}};
    int failures = 0;
    for (const Case& c : cases) {
        for (int call = 1; call <= 6; ++call) {
            SCOPED_TRACE("op " + std::to_string(static_cast<int>(c.op)) + ", call " +
                         std::to_string(call));
            faultvfs::ScopedFault fault(CallFault(c.op, FileKind::kAny, call, c.resultCode));
            const int32_t status = DB3Open(kDb, "run12", DB3_MODE_CREATE);
            faultvfs::Disarm();
            if (status == DB3_OK) {
                ASSERT_EQ(DB3Close(kDb), DB3_OK);
                ExpectList("run12", 0);
            } else {
                ++failures;
                EXPECT_THAT(status, ::testing::AnyOf(DB3_E_FULL, DB3_E_IO));
                EXPECT_FALSE(std::filesystem::exists(ListPath("run12")));
                EXPECT_EQ(faulttest::FilesStartingWith(m_lists, ""), "");
            }
            std::filesystem::remove(ListPath("run12"));
        }
    }
    // The create writes the schema's two pages and reads them back; each
    // of those calls failing fails it.
    EXPECT_GE(failures, 6);
}

TEST_F(RecordLibraryFaultTest, ReadErrorWhileOpeningChangesNothing) {
    CreateList("run12", 20);
    const std::string before = ReadFile(ListPath("run12"));
    int failures = 0;
    for (int call = 1; call <= 12; ++call) {
        SCOPED_TRACE("failing read " + std::to_string(call));
        faultvfs::ScopedFault fault(
            CallFault(Op::kRead, FileKind::kAny, call, SQLITE_IOERR_READ, false));
        const int32_t status = DB3Open(kDb, "run12", DB3_MODE_OPEN);
        if (status == DB3_OK) {
            // The failing read came later, if at all: reading on reports it.
            for (int n = 1; n <= 20; ++n) {
                Record back{};
                const int32_t read = DB3HandleRecord(kDb, n, back.data(), DB3_OP_READ, 0);
                if (read != DB3_OK) {
                    EXPECT_EQ(read, DB3_E_IO);
                    continue;
                }
                EXPECT_EQ(back, MakeRecord(n));
            }
            EXPECT_EQ(DB3Close(kDb), DB3_OK);
        } else {
            ++failures;
            EXPECT_EQ(status, DB3_E_IO) << DB3StatusText(status);
            EXPECT_EQ(DB3GetRecordsInDB(kDb), 0);
        }
        faultvfs::Disarm();
        EXPECT_EQ(ReadFile(ListPath("run12")), before);
    }
    EXPECT_GT(failures, 0);
    ExpectList("run12", 20);
}

// ---- Settings files that cannot be used ------------------------------------

// Puts an unusable Lumenda.ini at PATH; returns the reason the library is
// expected to give.
struct BadSettings {
    const char* what;
    std::string (*make)(const std::string& path);
};

void PrintTo(const BadSettings& bad, std::ostream* out) {
    *out << bad.what;
}

const BadSettings kBadSettings[] = {
    {"Huge",
     [](const std::string& path) {
         // Sparse: a file larger than the limit without the disk it would take.
         WriteFile(path, "[SystemList]\nMACRO=/macros/*.mac\n");
         std::filesystem::resize_file(path, CProfileFile::kMaxFileSize + 1);
         return std::string("larger than 64 MiB");
     }},
    {"Directory",
     [](const std::string& path) {
         std::filesystem::create_directory(path);
         WriteFile(path + "/inside", "kept");
         return std::string("Is a directory");
     }},
    {"Fifo",
     [](const std::string& path) {
         mkfifo(path.c_str(), 0600);
         return std::string("Is a named pipe (FIFO), not a regular file");
     }},
};

class UnusableSettingsTest : public dstest::DataSystemTest,
                             public ::testing::WithParamInterface<BadSettings> {};

// The data system's file is never moved aside or replaced by one holding
// only the stored key.
TEST_P(UnusableSettingsTest, DefaultsAreUsedAndAStoreLeavesTheFileAsItIs) {
    std::filesystem::create_directory(m_scratch.Path() + "/lumenda");
    const std::string reason = GetParam().make(SettingsFile());
    // What is there: its kind and size, and what a folder holds.
    const auto shape = [this] {
        const auto st = std::filesystem::symlink_status(SettingsFile());
        return std::to_string(static_cast<int>(st.type())) + " " +
               (std::filesystem::is_regular_file(st)
                    ? std::to_string(std::filesystem::file_size(SettingsFile()))
                    : std::string()) +
               ReadFile(SettingsFile() + "/inside");
    };
    const std::string before = shape();

    int32_t status = OSTREL_OK;
    EXPECT_TRUE(SameInfo(Get("SAMPLES_DB", &status), LocationRecord("", "", "")));
    EXPECT_EQ(status, OSTREL_E_READ);
    EXPECT_THAT(OstrelLastError(), StartsWith(SettingsFile() + ": ignored: "));
    EXPECT_THAT(OstrelLastError(), HasSubstr(reason));

    const GLOBAL_FILE_INFO info = LocationRecord(m_lists, "", "sdb");
    EXPECT_EQ(StoreGlobalFile("SystemList", "SAMPLES_DB", &info, 1), OSTREL_E_READ);
    EXPECT_THAT(OstrelLastError(), StartsWith(SettingsFile() + " cannot be used: "));
    EXPECT_THAT(OstrelLastError(), HasSubstr(reason));
    EXPECT_EQ(shape(), before);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(SettingsFile() + ".bad")));
    EXPECT_EQ(faulttest::FilesStartingWith(m_scratch.Path() + "/lumenda", ""), "Lumenda.ini ");
    // This process uses the location all the same.
    EXPECT_TRUE(SameInfo(Get("SAMPLES_DB"), info));
}

INSTANTIATE_TEST_SUITE_P(Kinds, UnusableSettingsTest, ::testing::ValuesIn(kBadSettings),
                         [](const ::testing::TestParamInfo<BadSettings>& info) {
                             return info.param.what;
                         });

class SettingsFaultTest : public dstest::DataSystemTest {};

TEST_F(SettingsFaultTest, ZeroBytesAndOddLinesAreKeptAndAStoreChangesOnlyItsLine) {
    std::filesystem::create_directory(m_scratch.Path() + "/lumenda");
    const std::string value = m_lists + "*.sdb";
    const std::string files[][3] = {
        // what the file holds, what another process reads, what a store leaves
        {std::string("[SystemList]\nSAMPLES_DB=/a/*.sdb\n\0\x01\x02", 36), "0|/a/||sdb",
         "[SystemList]\nSAMPLES_DB=" + value + std::string("\n\0\x01\x02", 4)},
        {"[SystemList]\nSAMPLES_DB=/a/*.sdb\nthis is no ini line\n", "0|/a/||sdb",
         "[SystemList]\nSAMPLES_DB=" + value + "\nthis is no ini line\n"},
        {"[SystemList\nSAMPLES_DB=/a/*.sdb\n", "0|||",
         "[SystemList\nSAMPLES_DB=/a/*.sdb\n\n[SystemList]\nSAMPLES_DB=" + value + "\n"},
    };
    for (const auto& [before, read, after] : files) {
        SCOPED_TRACE(before);
        WriteFile(SettingsFile(), before);
        EXPECT_EQ(dstest::RunProbe("get SAMPLES_DB"), read);
        const GLOBAL_FILE_INFO info = LocationRecord(m_lists, "", "sdb");
        ASSERT_EQ(StoreGlobalFile("SystemList", "SAMPLES_DB", &info, 1), OSTREL_OK);
        EXPECT_STREQ(OstrelLastError(), "");
        EXPECT_EQ(ReadFile(SettingsFile()), after);
        EXPECT_FALSE(std::filesystem::exists(SettingsFile() + ".bad"));
    }
}

TEST_F(SettingsFaultTest, UnreadableFileIsIgnoredAndLeftAsItIs) {
    // Permission bits do not stop root: the reading runs as an
    // unprivileged user, in a child when this test runs as root.
    const std::string directory = m_scratch.Path() + "/lumenda";
    std::filesystem::create_directory(directory);
    WriteFile(SettingsFile(), "[SystemList]\nSAMPLES_DB=/secret/*.sdb\n");
    ASSERT_EQ(chmod(SettingsFile().c_str(), 0000), 0);
    if (geteuid() == 0) {
        ASSERT_TRUE(faulttest::OpenPathTo(directory, m_scratch.Path()));
        ASSERT_EQ(chown(directory.c_str(), faulttest::kNobody, faulttest::kNogroup), 0);
    }
    const std::string lists = m_lists;
    const ChildResult result = RunInChild([&](std::string& text) {
        if (!faulttest::BecomeNobody(text)) {
            return faulttest::kCannotSetUp;
        }
        if (access(directory.c_str(), W_OK | X_OK) != 0) {
            text = directory + " cannot be reached by an unprivileged user";
            return faulttest::kCannotSetUp;
        }
        GLOBAL_FILE_INFO info;
        if (_MSGGetGlobalFile("SystemList", "SAMPLES_DB", 0, &info) != OSTREL_E_READ ||
            info.szDirectory[0] != '\0') {
            text = "read: " + std::string(OstrelLastError());
            return 1;
        }
        text = OstrelLastError();
        const GLOBAL_FILE_INFO stored = LocationRecord(lists, "", "sdb");
        if (StoreGlobalFile("SystemList", "SAMPLES_DB", &stored, 1) == OSTREL_OK) {
            return 2;
        }
        text += "\nstore: " + std::string(OstrelLastError());
        return 0;
    });
    if (result.exitCode == faulttest::kCannotSetUp) {
        GTEST_SKIP() << result.out;
    }
    ASSERT_EQ(result.exitCode, 0) << result.out;
    // Its mode has no write bit either: read-only is the first reason.
    EXPECT_EQ(result.out, SettingsFile() + ": ignored: Permission denied\nstore: " +
                              SettingsFile() + " is read-only");
    ASSERT_EQ(chmod(SettingsFile().c_str(), 0600), 0);
    EXPECT_EQ(ReadFile(SettingsFile()), "[SystemList]\nSAMPLES_DB=/secret/*.sdb\n");
    EXPECT_FALSE(std::filesystem::exists(SettingsFile() + ".bad"));
}

TEST_F(SettingsFaultTest, FullDiskLeavesTheSettingsFileAsItWas) {
    const std::string mountPoint = m_scratch.Path() + "/small";
    std::filesystem::create_directory(mountPoint);
    const ChildResult result = RunInChild([&](std::string& text) {
        if (!faulttest::MountSmallFileSystem(mountPoint, 256 * 1024, text)) {
            return faulttest::kCannotSetUp;
        }
        setenv("LUMENDA_HOME", (mountPoint + "/lumenda").c_str(), 1);
        const GLOBAL_FILE_INFO first = LocationRecord("/first/", "", "sdb");
        if (StoreGlobalFile("SystemList", "SAMPLES_DB", &first, 1) != OSTREL_OK) {
            text = std::string("first store: ") + OstrelLastError();
            return 1;
        }
        const std::string path = OstrelSettingsPath();
        const std::string before = ReadFile(path);
        if (!faulttest::FillDevice(mountPoint + "/filler")) {
            text = "the small file system did not fill up";
            return 2;
        }
        const GLOBAL_FILE_INFO second = LocationRecord("/second/", "", "sdb");
        if (StoreGlobalFile("SystemList", "MACRO", &second, 1) != OSTREL_E_WRITE) {
            text = std::string("second store did not fail: ") + OstrelLastError();
            return 3;
        }
        text = OstrelLastError();
        if (ReadFile(path) != before) {
            return 4;
        }
        // The process uses what it stored all the same.
        GLOBAL_FILE_INFO back;
        _MSGGetGlobalFile("SystemList", "MACRO", 0, &back);
        if (!SameInfo(back, second)) {
            return 5;
        }
        const std::string left = faulttest::FilesStartingWith(mountPoint + "/lumenda", ".");
        if (!left.empty()) {
            text += "\nleft behind: " + left;
            return 6;
        }
        text += "\n" + path;
        return 0;
    });
    if (result.exitCode == faulttest::kCannotSetUp) {
        GTEST_SKIP() << "no private file system: " << result.out;
    }
    ASSERT_EQ(result.exitCode, 0) << result.out;
    const std::string path = result.out.substr(result.out.rfind('\n') + 1);
    EXPECT_THAT(result.out, StartsWith(path + ": "));
    EXPECT_THAT(result.out, HasSubstr("No space left on device"));
}

// ---- Settings values that would break the file -----------------------------

TEST_F(SettingsFaultTest, DirectoryWithALineBreakIsRefusedAndInjectsNothing) {
    const GLOBAL_FILE_INFO before = LocationRecord(m_lists, "", "sdb");
    ASSERT_EQ(StoreGlobalFile("SystemList", "SAMPLES_DB", &before, 1), OSTREL_OK);
    const std::string fileBefore = ReadFile(SettingsFile());

    for (const char* directory : {"/data/x\n[Injected]\nEVIL=/evil/\n/",
                                  "/data/x\nMACRO=/evil/*.mac\n/", "/data/x\r/", "/data/\x01/"}) {
        SCOPED_TRACE(directory);
        const GLOBAL_FILE_INFO hostile = LocationRecord(directory, "", "sdb");
        EXPECT_EQ(StoreGlobalFile("SystemList", "SAMPLES_DB", &hostile, 1), OSTREL_E_INVALID);
        EXPECT_THAT(OstrelLastError(), StartsWith(SettingsFile() + ": [SystemList] SAMPLES_DB: "));
        EXPECT_THAT(OstrelLastError(), HasSubstr("control character"));
        EXPECT_EQ(ReadFile(SettingsFile()), fileBefore);
        // This process writes where it was asked, exactly.
        EXPECT_TRUE(SameInfo(Get("SAMPLES_DB"), hostile));
    }
    const CProfileFile file(SettingsFile());
    EXPECT_TRUE(file.GetKeys("Injected").empty());
    EXPECT_EQ(file.GetKeys("SystemList"), std::vector<std::string>{"SAMPLES_DB"});
}

TEST_F(SettingsFaultTest, AwkwardDirectoriesAndNamesReadBackExactlyInAnotherProcess) {
    struct Case {
        const char* directory;
        const char* name;
        const char* extension;
    };
    const Case cases[] = {
        {" /leading blank/", "run12", "sdb"}, {"/trailing blank /", "run12 ", ""},
        {"\"/quoted/", "run\"12\"", "sdb"},   {"/a=b/[Section]/", "x=y", "s=b"},
        {"/[Injected]/", "[x]", "sdb"},       {";/comment/", "#12", "sdb"},
        {"\"/both quoted/\"/", "n", ""},      {"C:\\Lists\\", "run12", "sdb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.directory);
        const GLOBAL_FILE_INFO info = LocationRecord(c.directory, c.name, c.extension);
        ASSERT_EQ(StoreGlobalFile("SystemList", "SAMPLES_DB", &info, 1), OSTREL_OK)
            << OstrelLastError();
        EXPECT_EQ(dstest::RunProbe("get SAMPLES_DB"),
                  std::string("0|") + c.directory + "|" + c.name + "|" + c.extension);
        const CProfileFile file(SettingsFile());
        EXPECT_EQ(file.GetLoadState(), CProfileFile::LoadState::kLoaded);
        EXPECT_EQ(file.GetKeys("SystemList"), std::vector<std::string>{"SAMPLES_DB"});
        EXPECT_TRUE(file.GetKeys("Injected").empty());
        EXPECT_TRUE(file.GetKeys("Section").empty());
    }
}

// ---- Several processes storing at once -------------------------------------

TEST_F(SettingsFaultTest, ConcurrentStoresOfDifferentKeysLoseNothing) {
    constexpr int kProcesses = 2;
    constexpr int kStores = 50;
    const std::string settings = m_scratch.Path() + "/lumenda";
    std::filesystem::create_directory(settings);
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    std::vector<k2ltest::ChildProcess> children;
    for (int p = 0; p < kProcesses; ++p) {
        children.push_back(k2ltest::ChildProcess::Fork([&, p](std::string&) {
            ::close(start[1]);
            char go;
            if (::read(start[0], &go, 1) != 1) {
                return 1;
            }
            int failed = 0;
            for (int i = 0; i < kStores; ++i) {
                const std::string key = "P" + std::to_string(p) + "_KEY" + std::to_string(i);
                const GLOBAL_FILE_INFO info = LocationRecord(
                    "/p" + std::to_string(p) + "/" + std::to_string(i) + "/", "", "sdb");
                failed += StoreGlobalFile("SystemList", key.c_str(), &info, 1) != OSTREL_OK;
            }
            return failed == 0 ? 0 : 2;
        }));
    }
    ::close(start[0]);
    // Both children start storing at the same moment.
    ASSERT_EQ(::write(start[1], "gg", kProcesses), kProcesses);
    ::close(start[1]);
    for (k2ltest::ChildProcess& child : children) {
        ASSERT_TRUE(child.Started());
        EXPECT_EQ(child.Wait().exitCode, 0);
    }

    const CProfileFile file(SettingsFile());
    ASSERT_EQ(file.GetLoadState(), CProfileFile::LoadState::kLoaded);
    int missing = 0;
    for (int p = 0; p < kProcesses; ++p) {
        for (int i = 0; i < kStores; ++i) {
            const std::string key = "P" + std::to_string(p) + "_KEY" + std::to_string(i);
            const std::string expected =
                "/p" + std::to_string(p) + "/" + std::to_string(i) + "/*.sdb";
            missing += file.GetString("SystemList", key, "") != expected;
        }
    }
    EXPECT_EQ(missing, 0) << "stores lost by a concurrent read-modify-write";
    EXPECT_EQ(file.GetKeys("SystemList").size(), static_cast<std::size_t>(kProcesses * kStores));
    EXPECT_EQ(faulttest::FilesStartingWith(settings, ".Lumenda"), "");
}

}  // namespace
