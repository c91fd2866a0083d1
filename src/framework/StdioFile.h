// CStdioFile is the framework's buffered text file: a C stdio stream opened
// by path, read line by line or written string by string.
//
// Text is carried as 8-bit bytes, unchanged: no transcoding, and NUL bytes
// or bytes that are not valid in any encoding are ordinary characters. The
// only text-mode translation is on reading: a carriage return immediately
// before a line feed is dropped, so "a\r\n" and "a\n" both read as "a". A
// carriage return anywhere else is kept. Writing translates nothing.
//
// A line may hold at most kMaxLineLength bytes (line feed and the carriage
// return before it not counted). Reading a longer line raises CFileException
// (cause lineTooLong) instead of growing without bound, so memory stays
// bounded by the longest acceptable line. After that exception the stream
// stands inside the over-long line; the file is not meant to be read on.
//
// A file is opened either for reading or for writing, never both. The object
// owns its stream: it is closed by Close() or on destruction.
//
// Not thread-safe; one object is used by one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "framework/Types.h"

class CStdioFile {
public:
    // The longest line accepted on reading: 16 MiB.
    static constexpr std::size_t kMaxLineLength = std::size_t{16} * 1024 * 1024;

    enum OpenMode {
        modeRead,    // an existing file, from its start
        modeWrite,   // created, or emptied when it exists
        modeAppend,  // created when missing; writes go to its end
    };

    CStdioFile();
    virtual ~CStdioFile();

    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;

    // Opens PATH (closing any file open before). Returns FALSE, raising
    // nothing, when the operating system refuses; errno then says why.
    // Note that on POSIX systems a directory opens for reading; the first
    // read then fails with EISDIR.
    BOOL Open(const std::string& path, OpenMode mode);

    // Closes the file. Returns FALSE when the stream reported an error while
    // flushing or closing (data written may be lost). Closing a closed file
    // does nothing and returns TRUE.
    BOOL Close();

    BOOL IsOpen() const { return m_pStream != nullptr; }

    // The path given to the last Open.
    const std::string& GetFilePath() const { return m_strFileName; }

    // 1-based number of the last line read; 0 before the first.
    std::int64_t GetLineNumber() const { return m_nLine; }

    // Reads the next line into LINE, without its line feed (and without a
    // carriage return before it). Returns TRUE when a line was read, also a
    // last line that has no line feed; FALSE at end of file, with LINE
    // empty, and on a file that is not open. A read error raises
    // CFileException (generic, with errno) naming the file and the line
    // being read, after clearing the stream's error state.
    virtual BOOL ReadString(std::string& line);

    // Writes TEXT as it is (no line terminator is added). A failing write
    // raises CFileException (generic, with errno).
    virtual void WriteString(const std::string& text);

protected:
    // ReadString's work, taking the line from the stream in steps of at
    // most STEP bytes (STEP > 0) until a step ends in a line feed, is
    // shorter than STEP or finds the end of the stream. The result is the
    // same for every STEP; a subclass that reads in its own steps passes
    // them here.
    BOOL ReadLineInSteps(std::string& line, std::size_t step);

    // Changes the longest line accepted. The product keeps kMaxLineLength;
    // a test subclass lowers it to exercise the limit with small files.
    void SetMaxLineLength(std::size_t length) { m_nMaxLineLength = length; }

private:
    // Appends to LINE the next bytes of the stream up to and including the
    // next line feed, at most MAX bytes (MAX > 0), like fgets but counting
    // NUL bytes as ordinary characters. Fewer than MAX bytes without a line
    // feed means end of file. Returns the number of bytes appended: 0 at end
    // of file. A read error raises CFileException as ReadString says.
    std::size_t ReadChunk(std::string& line, std::size_t max);

    // Raises CFileException(lineTooLong) when LINE, a line still being read
    // (no line feed yet), can no longer become an acceptable line.
    void CheckPartialLine(const std::string& line) const;

    // Ends the reading of one line: READANY tells whether any byte was read.
    // Removes one trailing line feed and a carriage return right before it,
    // checks the length, counts the line. Returns READANY.
    BOOL FinishLine(std::string& line, bool readAny);

    // Refills the read buffer; FALSE at end of file.
    bool FillBuffer();
    [[noreturn]] void ThrowReadError(int osError) const;
    [[noreturn]] void ThrowLineTooLong() const;

    std::FILE* m_pStream = nullptr;
    std::string m_strFileName;
    std::int64_t m_nLine = 0;
    std::size_t m_nMaxLineLength = kMaxLineLength;

    // Bytes read from the stream but not yet handed out: [m_nBufPos,
    // m_nBufEnd) of m_pBuffer. Reading by blocks of our own (rather than
    // fgets) keeps NUL bytes inside lines.
    std::unique_ptr<char[]> m_pBuffer;
    std::size_t m_nBufPos = 0;
    std::size_t m_nBufEnd = 0;
};
