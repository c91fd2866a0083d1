// Whole conversions through the real data system libraries while the
// machine fails under them: a full disk, a file size limit, I/O errors, an
// output directory that is missing or cannot be written, an input that
// cannot be read, and a converting process killed in mid-run. Every such
// conversion reports FALSE with a reason that names the file and the
// cause, and leaves a Sample List that is absent or sound and consistent.
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "convert/convert_test_support.h"
#include "datasystem/fault_test_support.h"
#include "datasystem/fault_vfs.h"
#include "datasystem/ferrox.h"
#include "datasystem/ostrel.h"
#include "framework/FileException.h"
#include "support/child_process.h"
#include "support/scratch_dir.h"

// ---- A read error in the middle of the input ------------------------------
//
// The executable is linked with --wrap=fread: the converter's reads of the
// input come here. Once the budget of bytes is used up, the stream's
// descriptor is replaced by one of /proc/self/mem at offset 0, which the
// kernel refuses to read with EIO: a genuine read error, in mid-file.

namespace {
std::int64_t g_readBudget = -1;
std::int64_t g_readSoFar = 0;
bool g_readBroken = false;
}  // namespace

extern "C" std::size_t __real_fread(void* buffer, std::size_t size, std::size_t count,
                                    std::FILE* stream);

extern "C" std::size_t __wrap_fread(void* buffer, std::size_t size, std::size_t count,
                                    std::FILE* stream) {
    if (g_readBudget >= 0 && g_readSoFar >= g_readBudget) {
        g_readBudget = -1;
        const int failing = ::open("/proc/self/mem", O_RDONLY | O_CLOEXEC);
        if (failing >= 0) {
            g_readBroken = dup2(failing, fileno(stream)) >= 0;
            ::close(failing);
        }
    }
    const std::size_t got = __real_fread(buffer, size, count, stream);
    g_readSoFar += static_cast<std::int64_t>(got * size);
    return got;
}

namespace {

using faultvfs::FileKind;
using faultvfs::Op;
using k2ltest::ChildResult;
using k2ltest::ListRead;
using k2ltest::NamedConversion;
using k2ltest::ReadFile;
using k2ltest::ReadList;
using k2ltest::RunInChild;
using ::testing::HasSubstr;

constexpr int kLines = 300;
constexpr int kFractions = 5;
constexpr int kRecords = kLines * kFractions;  // 6.4 MB of records

class ConvertFaultInjectionTest : public k2ltest::ConversionTest {
protected:
    void SetUp() override {
        faultvfs::Install();
        m_input = k2ltest::WriteExport(m_dir, "plate.txt", kLines, kFractions);
    }
    void TearDown() override { faultvfs::Disarm(); }

    std::string Lists() const { return m_dir.Path("lists/"); }

    // The list left at the output: absent (-1), or sound with its records
    // numbered 1..count and nothing of a transaction left beside it.
    int ListLeftBehind() {
        faultvfs::Disarm();
        if (!std::filesystem::exists(Output())) {
            EXPECT_EQ(faulttest::FilesStartingWith(m_dir.Path("lists"), ".run12"), "");
            return -1;
        }
        const ListRead list = ReadList(Output());
        EXPECT_EQ(list.status, DB3_OK) << DB3StatusText(list.status);
        EXPECT_EQ(k2ltest::FirstMisnumbered(list.records, "RUN12"), 0u);
        EXPECT_EQ(faulttest::IntegrityCheck(Output()), "ok");
        EXPECT_EQ(faulttest::FilesStartingWith(m_dir.Path("lists"), ".run12"), "");
        return static_cast<int>(list.records.size());
    }

    // Converts INPUT into OUTPUT in a child process once SET_UP has made the
    // child what the test needs; SET_UP says WHY, and returns false, when it
    // cannot. The result's out is the failure reason, its exit code 0 for a
    // conversion that succeeded, 1 for one that failed, or kCannotSetUp.
    static ChildResult ConvertInChild(const std::string& input, const std::string& output,
                                      const std::function<bool(std::string& why)>& setUp) {
        return RunInChild([&](std::string& text) {
            if (!setUp(text)) {
                return faulttest::kCannotSetUp;
            }
            NamedConversion convert(input, output);
            const BOOL ok = convert.Convert();
            text = convert.GetFailureReason();
            return ok ? 0 : 1;
        });
    }

    // For ConvertInChild: becomes the unprivileged user, for whom USABLE
    // must then hold.
    static bool AsNobody(std::string& why, const std::function<bool()>& usable) {
        if (!faulttest::BecomeNobody(why)) {
            return false;
        }
        why = "the test directory cannot be used by an unprivileged user";
        return usable();
    }

    std::string m_input;
};

// ---- Writing the Sample List fails -----------------------------------------

TEST_F(ConvertFaultInjectionTest, FullDiskFailsTheConversionAndLeavesAnEmptyListOrNone) {
    // Full before the list exists, inside its first pages, once the page
    // cache spilled to the file, and at the commit.
    for (const std::int64_t budget : {0, 100000, 4 << 20, 6300000}) {
        SCOPED_TRACE("disk full after " + std::to_string(budget) + " bytes");
        faultvfs::ScopedFault armed(faultvfs::WriteFault(FileKind::kDatabase, budget));
        NamedConversion convert(m_input, Output());
        EXPECT_FALSE(convert.Convert());
        EXPECT_GT(faultvfs::Failures(), 0);
        EXPECT_THAT(convert.GetFailureReason(),
                    HasSubstr("The disk that holds " + m_dir.Path("lists") + " is full"));
        EXPECT_THAT(convert.GetFailureReason(), HasSubstr("(status 28)"));
        // One transaction: nothing of it is kept.
        EXPECT_LE(ListLeftBehind(), 0);
    }
}

TEST_F(ConvertFaultInjectionTest, IoErrorsFailTheConversionAndKeepNothingOfIt) {
    struct Case {
        const char* what;
        faultvfs::Fault fault;
    };
    // A new list keeps its journal in memory: there is no journal file to
    // fail (tests/datasystem fails the journal of a list appended to).
    const Case cases[] = {
        {"write error", faultvfs::WriteFault(FileKind::kDatabase, -1, 40, SQLITE_IOERR_WRITE, EIO)},
        {"sync of the list",
         faultvfs::CallFault(Op::kSync, FileKind::kDatabase, 1, SQLITE_IOERR_FSYNC)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        faultvfs::ScopedFault armed(c.fault);
        NamedConversion convert(m_input, Output());
        EXPECT_FALSE(convert.Convert());
        EXPECT_GT(faultvfs::Failures(), 0);
        EXPECT_THAT(convert.GetFailureReason(),
                    HasSubstr("input/output error on " + Output() + " (status 5)"));
        EXPECT_LE(ListLeftBehind(), 0);
    }
}

TEST_F(ConvertFaultInjectionTest, FileSizeLimitFailsTheConversion) {
    const ChildResult result = ConvertInChild(m_input, Output(), [](std::string& why) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{2 << 20, 2 << 20};
        why = "setrlimit failed";
        return setrlimit(RLIMIT_FSIZE, &limit) == 0;
    });
    ASSERT_EQ(result.exitCode, 1) << result.out;
    EXPECT_THAT(result.out, HasSubstr("largest file size this session allows (status 27)"));
    EXPECT_EQ(ListLeftBehind(), -1);
}

TEST_F(ConvertFaultInjectionTest, RealFullDeviceFailsTheConversion) {
    // A small tmpfs of the child's own; the list is checked in the child,
    // the only process that sees that file system.
    const std::string mountPoint = m_dir.Path("small");
    ASSERT_EQ(::mkdir(mountPoint.c_str(), 0755), 0);
    const std::string input = m_input;
    for (const bool fullBeforeStart : {false, true}) {
        SCOPED_TRACE(fullBeforeStart ? "full before the start" : "fills up while converting");
        const ChildResult result = RunInChild([&](std::string& text) {
            if (!faulttest::MountSmallFileSystem(mountPoint, 3 << 20, text)) {
                return faulttest::kCannotSetUp;
            }
            if (fullBeforeStart && !faulttest::FillDevice(mountPoint + "/filler")) {
                text = "the file system did not fill up";
                return 2;
            }
            const std::string output = mountPoint + "/run12.sdb";
            NamedConversion convert(input, output);
            if (convert.Convert()) {
                text = "the conversion succeeded";
                return 3;
            }
            text = convert.GetFailureReason() + "\n";
            if (std::filesystem::exists(output)) {
                const ListRead list = ReadList(output);
                text += "list " + std::to_string(list.status) + " " +
                        std::to_string(list.records.size()) + " " +
                        std::to_string(k2ltest::FirstMisnumbered(list.records, "RUN12")) + " " +
                        faulttest::IntegrityCheck(output);
            } else {
                text += "no list";
            }
            text += " left:" + faulttest::FilesStartingWith(mountPoint, ".run12");
            return 1;
        });
        if (result.exitCode == faulttest::kCannotSetUp) {
            GTEST_SKIP() << "no private file system: " << result.out;
        }
        ASSERT_EQ(result.exitCode, 1) << result.out;
        EXPECT_THAT(result.out,
                    HasSubstr("The disk that holds " + mountPoint + " is full (status 28)"));
        const std::string left = result.out.substr(result.out.rfind('\n') + 1);
        EXPECT_THAT(left, ::testing::AnyOf("no list left:", "list 0 0 0 ok left:")) << left;
    }
}

TEST_F(ConvertFaultInjectionTest, MissingOutputDirectoryIsReportedAndNothingIsCreated) {
    const std::string output = m_dir.Path("no-such-dir/run12.sdb");
    NamedConversion convert(m_input, output);
    EXPECT_FALSE(convert.Convert());
    EXPECT_EQ(convert.GetFailureReason(),
              "The folder " + m_dir.Path("no-such-dir") +
                  " does not exist (status 13). Create the folder, or choose another folder for "
                  "the Sample List.");
    EXPECT_FALSE(std::filesystem::exists(m_dir.Path("no-such-dir")));
}

TEST_F(ConvertFaultInjectionTest, ReadOnlyOutputDirectoryIsReportedAndNothingIsCreated) {
    // Permission bits do not stop root: the conversion runs as an
    // unprivileged user, in a child when this test runs as root.
    const std::string readOnly = m_dir.Path("read-only");
    ASSERT_EQ(::mkdir(readOnly.c_str(), 0555), 0);
    ASSERT_EQ(::mkdir(m_dir.Path("lumenda").c_str(), 0755), 0);
    if (geteuid() == 0) {
        ASSERT_EQ(::chmod(m_dir.Path().c_str(), 0755), 0);
        ASSERT_EQ(::chmod(m_input.c_str(), 0644), 0);
        ASSERT_EQ(::chown(m_dir.Path("lumenda").c_str(), faulttest::kNobody, faulttest::kNogroup),
                  0);
    }
    const ChildResult result =
        ConvertInChild(m_input, readOnly + "/run12.sdb", [&](std::string& why) {
            return AsNobody(why, [&] {
                return access(m_input.c_str(), R_OK) == 0 && access(readOnly.c_str(), W_OK) != 0;
            });
        });
    if (result.exitCode == faulttest::kCannotSetUp) {
        GTEST_SKIP() << result.out;
    }
    ASSERT_EQ(result.exitCode, 1) << result.out;
    EXPECT_EQ(result.out, "The folder " + m_dir.Path("read-only") +
                              " cannot be written: Permission denied (status 13). Choose a "
                              "folder you can write to, or ask for the right to write there.");
    EXPECT_TRUE(std::filesystem::is_empty(readOnly));
}

// ---- Reading the input fails ------------------------------------------------

TEST_F(ConvertFaultInjectionTest, InputThatIsNoFileIsRefusedBeforeAnythingIsTouched) {
    ASSERT_EQ(::mkfifo(m_dir.Path("a-pipe").c_str(), 0600), 0);
    struct Case {
        std::string input;
        std::string reason;
    };
    const Case cases[] = {
        // Opening a pipe would wait for a writer forever, and a device like
        // /dev/zero never ends.
        {m_dir.Path("a-pipe"),
         m_dir.Path("a-pipe") + ": Is a named pipe (FIFO), not a regular file."},
        {"/dev/zero", "/dev/zero: Is a character device, not a regular file."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        const int descriptors = faulttest::OpenDescriptors();
        NamedConversion convert(c.input, Output());
        EXPECT_FALSE(convert.Convert());
        EXPECT_EQ(convert.GetFailureReason(), c.reason);
        EXPECT_EQ(faulttest::OpenDescriptors(), descriptors);
        EXPECT_FALSE(std::filesystem::exists(Output()));
        EXPECT_FALSE(std::filesystem::exists(m_dir.Path("lumenda")));
    }
}

TEST_F(ConvertFaultInjectionTest, UnreadableInputIsRefusedBeforeAnythingIsTouched) {
    ASSERT_EQ(::chmod(m_input.c_str(), 0000), 0);
    if (geteuid() == 0) {
        ASSERT_EQ(::chmod(m_dir.Path().c_str(), 0777), 0);
        ASSERT_EQ(::chmod(m_dir.Path("lists").c_str(), 0777), 0);
    }
    const ChildResult result = ConvertInChild(m_input, Output(), [&](std::string& why) {
        return AsNobody(why, [&] { return access(Lists().c_str(), W_OK) == 0; });
    });
    if (result.exitCode == faulttest::kCannotSetUp) {
        GTEST_SKIP() << result.out;
    }
    ASSERT_EQ(result.exitCode, 1) << result.out;
    EXPECT_EQ(result.out, m_input + ": Permission denied.");
    EXPECT_FALSE(std::filesystem::exists(Output()));
    EXPECT_FALSE(std::filesystem::exists(m_dir.Path("lumenda")));
}

TEST_F(ConvertFaultInjectionTest, ReadErrorClosesBothFilesAndNamesTheInput) {
    // A directory opens for reading and fails at its first read, with
    // EISDIR; /proc/self/mem opens like a file and fails with EIO.
    ASSERT_EQ(::mkdir(m_dir.Path("a-directory").c_str(), 0755), 0);
    struct Case {
        std::string input;
        int error;
    };
    for (const Case& c : {Case{m_dir.Path("a-directory"), EISDIR}, Case{"/proc/self/mem", EIO}}) {
        SCOPED_TRACE(c.input);
        const int descriptors = faulttest::OpenDescriptors();
        NamedConversion convert(c.input, Output());
        try {
            convert.Convert();
            ADD_FAILURE() << "no CFileException";
        } catch (const CFileException& error) {
            EXPECT_EQ(error.what(), c.input + ": line 1: " + std::strerror(c.error));
            EXPECT_EQ(error.m_lOsError, c.error);
        }
        EXPECT_EQ(faulttest::OpenDescriptors(), descriptors);
        // No list, and nothing left open or locked.
        EXPECT_EQ(ListLeftBehind(), -1);
    }

    // A read error in mid-file: the records of the lines before it stay.
    // The input is read 64 KiB at a time; it fails on its third block.
    constexpr int kLongLines = 8000;
    const std::string input = k2ltest::WriteExport(m_dir, "long.txt", kLongLines, 1);
    ASSERT_GT(std::filesystem::file_size(input), 192u * 1024);
    g_readSoFar = 0;
    g_readBroken = false;
    g_readBudget = 128 * 1024;
    const int descriptors = faulttest::OpenDescriptors();
    NamedConversion convert(input, Output());
    std::string message;
    long line = 0;
    try {
        convert.Convert();
    } catch (const CFileException& error) {
        message = error.what();
        line = error.m_nLine;
    }
    g_readBudget = -1;
    if (!g_readBroken) {
        GTEST_SKIP() << "/proc/self/mem cannot stand in for a failing input here";
    }
    EXPECT_EQ(message, input + ": line " + std::to_string(line) + ": Input/output error");
    EXPECT_GT(line, 1000);
    EXPECT_LT(line, kLongLines);
    EXPECT_EQ(faulttest::OpenDescriptors(), descriptors);
    // Every sample line before the failing one became a record (the two
    // header lines did not), and the list was given up all the same.
    EXPECT_EQ(convert.GetReport().records, line - 3);
    EXPECT_EQ(ListLeftBehind(), -1);
    // The list is not locked by this process: another one can write it.
    EXPECT_EQ(k2ltest::RunProgram(k2ltest::ConvertProbe(m_input, Output(), "RUN12")).exitCode, 0);
}

// ---- The converting process dies ----------------------------------------------

// The size of the list being built beside OUTPUT, or -1 while there is none.
std::intmax_t BuildingSize(const std::string& directory) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(".run12.sdb.new-", 0) == 0 && name.find("-journal") == std::string::npos) {
            const auto size = std::filesystem::file_size(entry.path(), error);
            return error ? -1 : static_cast<std::intmax_t>(size);
        }
    }
    return -1;
}

TEST_F(ConvertFaultInjectionTest, KilledConversionLeavesTheOldListOrTheNewOne) {
    // 42.6 MB of records: the conversion runs long enough to be killed at
    // several points of its writing, over an old list of 1500 records.
    constexpr int kBigLines = 1000;
    constexpr int kBigFractions = 10;
    const std::string input = k2ltest::WriteExport(m_dir, "big.txt", kBigLines, kBigFractions);
    ASSERT_EQ(k2ltest::RunProgram(k2ltest::ConvertProbe(m_input, Output(), "RUN12")).exitCode, 0);
    const std::string old = ReadFile(Output());
    int killed = 0;
    for (const std::intmax_t killAt : {std::intmax_t{0}, std::intmax_t{5} << 20,
                                       std::intmax_t{20} << 20, std::intmax_t{40} << 20}) {
        SCOPED_TRACE("killed once the new list has " + std::to_string(killAt) + " bytes");
        k2ltest::ChildProcess probe =
            k2ltest::ChildProcess::Start(k2ltest::ConvertProbe(input, Output(), "RUN12"));
        ASSERT_TRUE(probe.Started());
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        for (;;) {
            if (BuildingSize(Lists()) >= killAt) {
                probe.Kill();
                break;
            }
            if (!probe.Running() || std::chrono::steady_clock::now() > deadline) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        const ChildResult end = probe.Wait();
        if (end.signal == SIGKILL) {
            ++killed;
            EXPECT_EQ(ReadFile(Output()), old) << "the old list changed";
        } else {
            EXPECT_EQ(end.exitCode, 0) << end.out;
            break;  // the new list is in place; checked below
        }
    }
    EXPECT_GE(killed, 3);
    // The next conversion removes what the killed ones left.
    ASSERT_EQ(k2ltest::RunProgram(k2ltest::ConvertProbe(input, Output(), "RUN12")).exitCode, 0);
    EXPECT_EQ(ListLeftBehind(), kBigLines * kBigFractions);
}

}  // namespace
