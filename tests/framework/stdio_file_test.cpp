#include "framework/StdioFile.h"

#include <cerrno>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/FileException.h"
#include "support/scratch_dir.h"

namespace {

using k2ltest::ReadFile;
using k2ltest::ScratchDir;

// Reads every line of PATH with CStdioFile::ReadString.
std::vector<std::string> ReadAll(CStdioFile& file) {
    std::vector<std::string> lines;
    std::string line;
    while (file.ReadString(line)) {
        lines.push_back(line);
    }
    EXPECT_TRUE(line.empty()) << "the end of the file leaves the string empty";
    return lines;
}

std::vector<std::string> ReadAllFrom(const std::string& path) {
    CStdioFile file;
    EXPECT_TRUE(file.Open(path, CStdioFile::modeRead));
    return ReadAll(file);
}

// A file whose longest accepted line is set by the test.
class LimitedFile : public CStdioFile {
public:
    explicit LimitedFile(std::size_t limit) { SetMaxLineLength(limit); }
};

using Lines = std::vector<std::string>;

}  // namespace

TEST(StdioFileOpen, MissingFileFailsQuietlyAndReadsNothing) {
    ScratchDir dir;
    CStdioFile file;
    EXPECT_FALSE(file.Open(dir.Path() + "/missing.txt", CStdioFile::modeRead));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(file.IsOpen());
    std::string line = "stale";
    EXPECT_FALSE(file.ReadString(line));
    EXPECT_TRUE(line.empty());
    EXPECT_TRUE(file.Close());
}

TEST(StdioFileRead, SplitsLinesAndCountsThem) {
    ScratchDir dir;
    CStdioFile file;
    ASSERT_TRUE(file.Open(dir.Write("a.txt", "one\ntwo\r\n\nlast"), CStdioFile::modeRead));
    std::string line;
    const Lines expected = {"one", "two", "", "last"};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_TRUE(file.ReadString(line));
        EXPECT_EQ(line, expected[i]);
        EXPECT_EQ(file.GetLineNumber(), static_cast<std::int64_t>(i + 1));
    }
    EXPECT_FALSE(file.ReadString(line));
    EXPECT_EQ(file.GetLineNumber(), 4);
}

TEST(StdioFileRead, EndOfFileRules) {
    ScratchDir dir;
    EXPECT_EQ(ReadAllFrom(dir.Write("empty.txt", "")), Lines{});
    EXPECT_EQ(ReadAllFrom(dir.Write("lf.txt", "a\n")), Lines{"a"});
    EXPECT_EQ(ReadAllFrom(dir.Write("blank.txt", "\n")), Lines{""});
    EXPECT_EQ(ReadAllFrom(dir.Write("crlf.txt", "\r\n\r\n")), (Lines{"", ""}));
}

TEST(StdioFileRead, OnlyCarriageReturnBeforeLineFeedIsDropped) {
    ScratchDir dir;
    EXPECT_EQ(ReadAllFrom(dir.Write("cr.txt", "a\rb\r\nx\r\r\nend\r")),
              (Lines{"a\rb", "x\r", "end\r"}));
}

TEST(StdioFileRead, LinesCrossingTheReadBufferComeWhole) {
    // Lines around 64 KiB and several times that, so that line feeds and
    // CR-LF pairs fall on and next to every block boundary.
    ScratchDir dir;
    std::string text;
    Lines expected;
    for (std::size_t length : {65534u, 65535u, 65536u, 65537u, 1u, 0u, 200000u, 3u}) {
        std::string line(length, static_cast<char>('a' + expected.size()));
        expected.push_back(line);
        text += line;
        text += (expected.size() % 2 == 0) ? "\r\n" : "\n";
    }
    EXPECT_EQ(ReadAllFrom(dir.Write("big.txt", text)), expected);
}

TEST(StdioFileRead, BytesAreCarriedUnchanged) {
    ScratchDir dir;
    const std::string nul("a\0b\0", 4);
    const std::string high = "\xc3\xbc\xfc\xe9\x80\xff";  // UTF-8, Windows-1252, invalid
    EXPECT_EQ(
        ReadAllFrom(dir.Write("bytes.txt", nul + "\n" + high + "\r\n" + std::string(1, '\0'))),
        (Lines{nul, high, std::string(1, '\0')}));
}

TEST(StdioFileRead, ReadErrorRaisesExceptionNamingFileAndLine) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows opens no directory as a file, so no read of one can fail";
#endif
    // On Linux a directory opens for reading and the read fails with EISDIR.
    ScratchDir dir;
    CStdioFile file;
    ASSERT_TRUE(file.Open(dir.Path(), CStdioFile::modeRead));
    std::string line;
    try {
        file.ReadString(line);
        FAIL() << "reading a directory must raise";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::generic);
        EXPECT_EQ(e.m_lOsError, EISDIR);
        EXPECT_EQ(e.m_strFileName, dir.Path());
        EXPECT_EQ(e.m_nLine, 1);
        EXPECT_EQ(std::string(e.what()), dir.Path() + ": line 1: Is a directory");
    }
    // The stream's error state was cleared: the next read tries again and
    // fails again, rather than reporting a quiet end of file.
    EXPECT_THROW(file.ReadString(line), CFileException);
}

TEST(StdioFileLimit, LinesUpToTheLimitAreReadLongerOnesRaise) {
    ScratchDir dir;
    LimitedFile file(10);
    ASSERT_TRUE(file.Open(dir.Write("limit.txt", "0123456789\n0123456789\r\n01234567890\nnext\n"),
                          CStdioFile::modeRead));
    std::string line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, "0123456789");
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, "0123456789") << "the CR of a CR-LF does not count";
    try {
        file.ReadString(line);
        FAIL() << "an 11-byte line is over a limit of 10";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::lineTooLong);
        EXPECT_EQ(e.m_nLine, 3);
        EXPECT_EQ(std::string(e.what()), file.GetFilePath() + ": line 3: line longer than 16 MiB");
    }
}

TEST(StdioFileLimit, LastLineWithoutLineFeedIsLimitedToo) {
    ScratchDir dir;
    LimitedFile exact(4);
    ASSERT_TRUE(exact.Open(dir.Write("exact.txt", "abcd"), CStdioFile::modeRead));
    EXPECT_EQ(ReadAll(exact), Lines{"abcd"});

    LimitedFile over(4);
    ASSERT_TRUE(over.Open(dir.Write("over.txt", "abcd\r"), CStdioFile::modeRead));
    std::string line;
    EXPECT_THROW(over.ReadString(line), CFileException) << "a CR not before a LF counts";
}

TEST(StdioFileLimit, FileWithoutLineFeedsStopsAtTheLimit) {
    // A binary file with no line feed must not be taken in whole.
    ScratchDir dir;
    LimitedFile file(1000);
    ASSERT_TRUE(
        file.Open(dir.Write("blob.bin", std::string(300000, '\x01')), CStdioFile::modeRead));
    std::string line;
    EXPECT_THROW(file.ReadString(line), CFileException);
    EXPECT_LT(line.size(), 300000u);
}

TEST(StdioFileWrite, WritesTextAsIsAndClosesOnDestruction) {
    ScratchDir dir;
    const std::string path = dir.Path() + "/out.txt";
    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(path, CStdioFile::modeWrite));
        file.WriteString("a\r\nb");
        file.WriteString("");
        file.WriteString(std::string("c\0d", 3));
    }
    EXPECT_EQ(ReadFile(path), std::string("a\r\nbc\0d", 7));

    CStdioFile append;
    ASSERT_TRUE(append.Open(path, CStdioFile::modeAppend));
    append.WriteString("+");
    EXPECT_TRUE(append.Close());
    EXPECT_EQ(ReadFile(path), std::string("a\r\nbc\0d+", 8));

    CStdioFile truncate;
    ASSERT_TRUE(truncate.Open(path, CStdioFile::modeWrite));
    EXPECT_TRUE(truncate.Close());
    EXPECT_EQ(ReadFile(path), "");
}

TEST(StdioFileWrite, FailuresAreReported) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no device that refuses every write like /dev/full";
#endif
    CStdioFile closed;
    EXPECT_THROW(closed.WriteString("x"), CFileException);

    // /dev/full refuses every write with ENOSPC.
    CStdioFile full;
    ASSERT_TRUE(full.Open("/dev/full", CStdioFile::modeWrite));
    try {
        full.WriteString(std::string(1 << 20, 'x'));
        FAIL() << "a write that does not fit must raise";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_lOsError, ENOSPC);
        EXPECT_EQ(std::string(e.what()), "/dev/full: No space left on device");
    }

    CStdioFile pending;
    ASSERT_TRUE(pending.Open("/dev/full", CStdioFile::modeWrite));
    pending.WriteString("small, still buffered");
    EXPECT_FALSE(pending.Close()) << "the flush on close fails";
}

TEST(StdioFileOpen, ReopeningStartsAfresh) {
    ScratchDir dir;
    CStdioFile file;
    ASSERT_TRUE(file.Open(dir.Write("one.txt", "1\n2\n"), CStdioFile::modeRead));
    std::string line;
    ASSERT_TRUE(file.ReadString(line));
    ASSERT_TRUE(file.Open(dir.Write("two.txt", "x\n"), CStdioFile::modeRead));
    EXPECT_EQ(file.GetLineNumber(), 0);
    EXPECT_EQ(ReadAll(file), Lines{"x"}) << "nothing of the first file's buffer remains";
}

TEST(FileException, MessageNamesFileLineAndReason) {
    EXPECT_STREQ(CFileException(CFileException::generic, ENOENT, "in.txt", 3).what(),
                 "in.txt: line 3: No such file or directory");
    EXPECT_STREQ(CFileException(CFileException::generic, EIO, "in.txt", 0).what(),
                 "in.txt: Input/output error");
    EXPECT_STREQ(CFileException(CFileException::lineTooLong, 0, "in.txt", 7).what(),
                 "in.txt: line 7: line longer than 16 MiB");
    const CFileException e(CFileException::generic, EISDIR, "d", 2);
    EXPECT_EQ(e.m_cause, CFileException::generic);
    EXPECT_EQ(e.m_lOsError, EISDIR);
    EXPECT_EQ(e.m_strFileName, "d");
    EXPECT_EQ(e.m_nLine, 2);
}
