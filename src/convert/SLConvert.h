// CSLConvert turns one exported Korrin sample file into one new Sample List.
//
// The caller constructs it with the input and output paths, assigns the four
// names, and calls Convert once. Every sample line of the input becomes one
// record per fraction of its fraction range; records are numbered over the
// whole run. The object holds no file open outside Convert.
//
// Records, as the data system reads them: the record is cleared once per
// sample line, to all zeros while no record has been handed to the list
// yet and to "[]" in every text field after that. The first record of the
// list carries its texts plain, every later one in brackets ("[RUN12002]",
// "[2]", "[ESI_POS]"); the fraction text, column-5 text and column-5 value
// are never bracketed. Record names are the data file name cut to
// m_nBaseLength characters followed by the running number in at least
// three digits.
//
// Convert checks, before it touches anything, that every text fits its
// field and refuses what does not, rather than cutting it: a method or
// macro name longer than its field less three characters (brackets and
// terminating zero: 257, 257 and 270 characters), and a base name too long
// for the record name. A column-5 value whose three-decimal text needs more
// than 29 characters stops the conversion at its line. The fraction and
// column-5 texts are copied cut to 119 and 50 characters, as the data
// system expects.
//
// Failures that lose records are reported, not hidden: a record the record
// library refuses makes Convert return FALSE (the running number still
// advances, so later records keep their names). A refusal whose status
// means nothing further can be stored (device full, file too large, I/O
// error, list not open or read-only) stops the conversion at once instead
// of repeating it for every remaining fraction. A failing close, which
// loses the records appended since the list was created, fails too. The
// running number stops at 2147483647: a conversion that would need more
// records stops there with FALSE.
#pragma once

#include <cstdint>
#include <string>

#include "framework/Types.h"

class CSampListFile;
class CSampListRecord;
class CSourceListFile;
struct SOURCE_ENTRY;

// What one conversion did, for the caller's summary.
struct ConvertSummary {
    std::int64_t recordsWritten = 0;  // records the Sample List accepted
    std::int64_t recordsRefused = 0;  // records the record library refused
    std::int64_t sampleLines = 0;     // sample lines read from the input
    std::int64_t skippedLines = 0;    // other lines of the input (headers, blanks, ...)
};

class CSLConvert {
public:
    static constexpr const char* kRuntimeClassName = "CSLConvert";

    CSLConvert(std::string input, std::string output);
    virtual ~CSLConvert();

    CSLConvert(const CSLConvert&) = delete;
    CSLConvert& operator=(const CSLConvert&) = delete;

    // Converts the input into a newly created Sample List at the output
    // path (an existing list of that name is replaced). Returns TRUE when
    // the input was read to its end and every record was stored and
    // committed; FALSE otherwise, with GetFailureReason() saying why.
    // A read error of the input raises CFileException; the records stored
    // before it stay in the Sample List and both files are closed.
    //
    // Nothing is touched (no Sample List created, the data system's
    // sample-list location not changed) when a name does not fit, when the
    // input cannot be opened or is a pipe or a socket, or when the output
    // names the input file itself (the same file, whatever path leads to
    // it). A directory opens for reading, and its first read raises
    // CFileException like any read error.
    BOOL Convert();

    // Why the last Convert returned FALSE, as a sentence; empty after success.
    const std::string& GetFailureReason() const { return m_strFailure; }

    const ConvertSummary& GetSummary() const { return m_summary; }

    std::string m_strInput;      // path of the exported sample file
    std::string m_strOutput;     // path of the Sample List to create
    std::string m_strMSFile;     // MS method name written into every record
    std::string m_strInletFile;  // inlet method name written into every record
    std::string m_strMacro;      // macro name written into every record
    std::string m_strDataFile;   // data file base name
    std::int32_t m_nBaseLength;  // longest base name used in record names: 5

private:
    friend struct SLConvertTestAccess;

    BOOL CheckNames();
    BOOL IsOutputTheInput(const std::string& libraryPath);
    BOOL WriteRecords(CSourceListFile& source, CSampListFile& list);
    BOOL FillRecord(CSampListRecord& record, const SOURCE_ENTRY& entry, std::int64_t fraction,
                    std::int64_t number, const std::string& baseName);
    void Fail(std::string reason);
    std::string InputLine(const CSourceListFile& source) const;

    std::string m_strFailure;
    ConvertSummary m_summary;
    // Highest running number handed out: record numbers are 32-bit signed
    // in the Sample List and in the record library.
    std::int64_t m_nLastNumber = INT32_MAX;
};
