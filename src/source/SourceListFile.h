// CSourceListFile reads the tab-delimited sample file that Korrin exports
// and yields one SOURCE_ENTRY per sample line: a line whose first column is
// a non-zero number. Every other line (headers, blank lines, lines whose
// first column is 0 or text) is skipped and counted.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Types.h"
#include "source/DelimitFile.h"

class ConversionReport;
class SourceLineCheck;

// One sample line of the export. Numbers follow the C library's
// conversions: leading blanks skipped, the longest valid prefix converted,
// 0 when there is none.
struct SOURCE_ENTRY {
    float fKey = 0;                   // column 1
    std::string strColumn2;           // column 2, as read
    float fColumn3 = 0;               // column 3
    float fColumn4 = 0;               // column 4
    std::string strColumn5Text;       // column 5 before its last 'M' (all of it without an 'M')
    std::int32_t nFirstFraction = 0;  // column 6: integer after the first ':' (0 without ':')
    std::int32_t nLastFraction =
        0;                    // column 6: integer after the last ':', at least nFirstFraction
    std::string strColumn7;   // column 7, as read
    std::string strColumn8;   // column 8, as read
    float fColumn5Value = 0;  // column 5: number after its last 'M' (0 without an 'M')
};

class CSourceListFile {
public:
    // Opens PATH for reading; IsOpen() tells whether that succeeded.
    explicit CSourceListFile(const std::string& path);
    ~CSourceListFile();

    CSourceListFile(const CSourceListFile&) = delete;
    CSourceListFile& operator=(const CSourceListFile&) = delete;

    BOOL IsOpen() const;

    // Fills ENTRY with the next sample line and returns TRUE; FALSE when the
    // file has no further sample line. A read error raises CFileException.
    BOOL ReadEntry(SOURCE_ENTRY& entry);

    // Lines read so far that were sample lines, and lines skipped.
    std::int64_t GetSampleLineCount() const { return m_nSampleLines; }
    std::int64_t GetSkippedLineCount() const { return m_nSkippedLines; }
    // 1-based number of the line the last entry came from (0 before any).
    std::int64_t GetLineNumber() const;

    // Records the last entry's fraction column asks for, with its numbers
    // as written: a number beyond the 32-bit fractions of SOURCE_ENTRY
    // counts as far as it goes (up to kWideIntegerLimit), so a range such
    // as "R1:1:4294967296" asks for 4294967296 records however it is read.
    std::int64_t GetRequestedRecords() const { return m_nRequestedRecords; }

    // From now on, adds to REPORT what the lines read tell the user (see
    // SourceLineCheck); REPORT must outlive the reader. Entries are the same.
    void SetReport(ConversionReport* report);

private:
    CDelimitFile m_file;
    std::int64_t m_nSampleLines = 0;
    std::int64_t m_nSkippedLines = 0;
    std::int64_t m_nEntryLine = 0;
    std::int64_t m_nRequestedRecords = 0;
    // Fields of the line being read; a member so that its storage serves
    // every line instead of being allocated anew.
    std::vector<std::string> m_fields;
    std::string m_strPath;
    std::unique_ptr<SourceLineCheck> m_check;  // null: no report
};
