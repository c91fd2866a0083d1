// CDelimitFile is a text file whose lines are records of fields separated
// by delimiter characters. It reads a file line by line and splits each line
// into fields, optionally classifying the line by a marker at the start of
// its first field; it also writes records back as delimited lines.
//
// Splitting: any one character of the delimiter set ends a field. A
// delimiter at the end of a line never produces a trailing empty field. With
// merge delimiters on (the default), leading delimiters are ignored and a run
// of delimiters separates like one, so empty columns vanish; with it off,
// each delimiter separates and adjacent delimiters yield empty fields.
//
// Classification, by the first field, first match wins:
//   ";note"  LINE_COMMENT       first field becomes "note"
//   "[name]" LINE_SECTION       first field becomes "name" (the text between
//                               "[" and the first "]"); "[name" without "]"
//                               is not a section and goes on to the tests below
//   "{x"     LINE_BLOCK_BEGIN   first field becomes "x"
//   "}x"     LINE_BLOCK_END     first field becomes "x"
//   no field LINE_EMPTY
//   else     LINE_DATA
// Only the first field is changed. The markers are fixed at construction.
//
// Lines are read whole (up to CStdioFile::kMaxLineLength bytes); bytes are
// carried unchanged, NUL bytes included.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "framework/StdioFile.h"
#include "framework/Types.h"

class CDelimitFile : public CStdioFile {
public:
    static constexpr const char* kRuntimeClassName = "CDelimitFile";

    // Line types, as stored through the type pointer of ParseLine and
    // ReadRecord.
    enum LineType {
        LINE_DATA = 0,
        LINE_SECTION = 1,
        LINE_COMMENT = 2,
        LINE_EMPTY = 3,
        LINE_BLOCK_BEGIN = 4,
        LINE_BLOCK_END = 5,
    };

    // An unopened file: delimiters "\t", merge delimiters on, markers "[",
    // "]", ";", "{", "}". Open it with CStdioFile::Open.
    CDelimitFile();
    ~CDelimitFile() override;

    // Reads the next line into LINE, without its line feed; a carriage
    // return right before the line feed is dropped. The line is taken from
    // the stream in chunks of up to 128 bytes until a chunk ends in a line
    // feed, is shorter than 128 bytes, or the stream is at its end, so a
    // line of any length up to the limit is read whole. Returns FALSE when
    // the end of the file comes before any byte of the line, TRUE otherwise
    // (a last line without a line feed is returned like any other). A read
    // error clears the stream's error state and raises CFileException
    // (generic, errno, file, line); a line over the limit raises
    // CFileException (lineTooLong).
    BOOL ReadString(std::string& line) override;

    // Writes FIELDS as one line: joined by the first delimiter character
    // (back to back when the set is empty), followed by a line feed so that
    // successive records are successive lines. Fields are not quoted: a
    // field holding a delimiter or a line feed will not read back the same.
    virtual void WriteRecord(const std::vector<std::string>& fields);

    // Writes FIELDS like WriteRecord, the first field decorated for TYPE:
    // "[" field "]" for LINE_SECTION, ";" field for LINE_COMMENT; other types
    // (block lines included) and empty records are written undecorated.
    virtual void WriteTypedRecord(const std::vector<std::string>& fields, int type);

    // Called after every successful ReadRecord; does nothing here. A subclass
    // may override it to look at each record as it is read.
    virtual void OnRecordRead();

    // Replaces the delimiter set (each character is one delimiter).
    BOOL SetDelimiters(const std::string& delimiters);
    void SetMergeDelimiters(BOOL merge) { m_bMergeDelimiters = merge; }

    // Appends the fields of LINE to FIELDS (not cleared) and returns the size
    // of FIELDS afterwards.
    int SplitLine(const std::string& line, std::vector<std::string>& fields) const;

    // SplitLine, then, when TYPE is not null, classifies the line by
    // FIELDS[0] (so FIELDS should come in empty) and stores its LineType.
    // Returns the count from SplitLine.
    int ParseLine(const std::string& line, std::vector<std::string>& fields, int* type) const;

    // Empties FIELDS and reads the next line into them, storing its LineType
    // through TYPE when TYPE is not null. Returns TRUE when a line was read
    // (a blank line gives TRUE and no field), FALSE at end of file with
    // FIELDS empty. A read error raises CFileException with FIELDS empty.
    BOOL ReadRecord(std::vector<std::string>& fields, int* type = nullptr);

    // The line the last ReadRecord split, as read (see ReadString).
    const std::string& GetRecordLine() const { return m_strLine; }

private:
    // Writes the fields of REST into FIELDS from index FIRST on, reusing the
    // strings already there, and trims FIELDS to the fields written.
    // Returns the size of FIELDS.
    int SplitFrom(std::string_view rest, std::vector<std::string>& fields, std::size_t first) const;
    std::size_t FindDelimiter(std::string_view text) const;
    void Classify(std::vector<std::string>& fields, int* type) const;

    std::string m_strDelimiters = "\t";
    BOOL m_bMergeDelimiters = TRUE;
    const std::string m_strSectionOpen = "[";
    const std::string m_strSectionClose = "]";
    const std::string m_strComment = ";";
    const std::string m_strBlockOpen = "{";
    const std::string m_strBlockClose = "}";

    std::string m_strLine;  // the line being read; kept to reuse its buffer
};
