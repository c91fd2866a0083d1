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
// A Sample List is complete or not there: it appears only when every
// record was stored and committed. Whatever stops a conversion (a record
// the record library refuses, a full disk, a read error of the input, an
// input that changed while it was read, a value that does not fit), the
// new list is abandoned and what was at the output before stays as it
// was. That holds with Korr2LD's own record library only: the data
// system's own cannot be asked to give a list up. With it, Convert reads
// and checks everything first (as a dry run) and only then calls the
// library, in the data system's own sequence; if the library then fails,
// the list is closed as it is and the failure says that the list may be
// incomplete, how many records it holds, and not to acquire from it. The
// running number stops at 2147483647: a conversion that would need more
// records fails as soon as it reads the line whose fraction range passes
// that (before making that line's records), with the number of records the
// whole export asks for.
//
// While it converts, it fills a ConversionReport (GetReport): the counts,
// the skipped lines and warnings of the export (SourceLineCheck), names
// that are empty or not among their method files, other Sample Lists in
// the output folder whose data file names this list's would repeat, and
// its own notices (a sample-list location that could not be stored).
// Failure reasons name the precise cause, never the headline ("Sample List
// ... could not be created"), which the caller adds once. A dry run does
// all of this and writes nothing.
//
// The dialog and the command line run it through RunConversion
// (convert/ConversionRun.h), which also refuses an output that is the
// input and notes the conversion in the log.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "convert/ClashCache.h"
#include "convert/DataFileIndex.h"
#include "framework/Types.h"
#include "util/ConversionReport.h"

class CSampListFile;
class CSampListRecord;
class CSourceListFile;
struct SOURCE_ENTRY;
struct FileStatus;

class CSLConvert {
public:
    static constexpr const char* kRuntimeClassName = "CSLConvert";

    CSLConvert(std::string input, std::string output);
    virtual ~CSLConvert();

    CSLConvert(const CSLConvert&) = delete;
    CSLConvert& operator=(const CSLConvert&) = delete;

    // Converts the input into a newly created Sample List at the output
    // path (an existing list of that name is replaced unless
    // m_bReplaceExisting is FALSE). Returns TRUE when the input was read to
    // its end, unchanged, and every record was stored and committed; FALSE
    // otherwise, with GetFailureReason() saying why, and no new list. A
    // read error of the input raises CFileException after the new list has
    // been abandoned.
    //
    // Nothing is touched (no Sample List created, the data system's
    // sample-list location not changed) when a name does not fit or is no
    // plain name (util/NameRule.h), when the output cannot be written as
    // named (see SampleListPathAsGiven), or when the input cannot be opened
    // or is a pipe or a socket. A directory opens for reading, and its
    // first read raises CFileException like any read error.
    BOOL Convert();

    // What the last Convert found and did: counts, skipped lines and
    // warnings about the input, the names and the Sample Lists beside the
    // output, and its notices. Candidates for a data file name clash may be
    // added before Convert (the lists of a batch that are not written yet);
    // Convert keeps them.
    ConversionReport& GetReport() { return m_report; }
    const ConversionReport& GetReport() const { return m_report; }

    // Why the last Convert returned FALSE, as a sentence; empty after success.
    const std::string& GetFailureReason() const { return m_strFailure; }

    std::string m_strInput;      // path of the exported sample file
    std::string m_strOutput;     // path of the Sample List to create
    std::string m_strMSFile;     // MS method name written into every record
    std::string m_strInletFile;  // inlet method name written into every record
    std::string m_strMacro;      // macro name written into every record
    std::string m_strDataFile;   // data file base name
    std::int32_t m_nBaseLength;  // longest base name used in record names: 5
    // FALSE: never replace a list at the output, even one that appears
    // while the conversion runs (the caller found none, or was told not to).
    BOOL m_bReplaceExisting;
    // TRUE: read, check and report, and write nothing: no Sample List, no
    // change of the data system's sample-list location. Convert then
    // returns what a conversion would.
    BOOL m_bDryRun;
    // TRUE: a warning is a failure. The input is read and checked in full
    // before anything is touched, and nothing is written when there is one.
    BOOL m_bStrict;
    // Called with every record the conversion makes (written or, in a dry
    // run, that would be), in order; may be empty.
    std::function<void(const CSampListRecord&)> m_onRecord;

private:
    friend struct SLConvertTestAccess;

    BOOL ConvertOnce(BOOL dryRun);
    // ConvertOnce, then the clash cache saved with what it learnt.
    BOOL ConvertAndKeep(BOOL dryRun);
    static std::string MayBeIncomplete(const std::string& libraryPath, std::int32_t stored);
    std::string StrictFailure() const;
    std::string BaseName() const;
    BOOL CheckNames();
    void CheckBeforeWriting(const std::string& libraryPath);
    BOOL IsInputUnchanged(const FileStatus& atStart) const;
    // LIST null: a dry run, records are made and counted but not written.
    BOOL WriteRecords(CSourceListFile& source, CSampListFile* list);
    // The texts that records share: over the whole conversion, or over the
    // records of one sample line.
    struct RecordTexts;
    BOOL FillRecord(CSampListRecord& record, const RecordTexts& texts, std::int64_t fraction,
                    std::int64_t number);
    // Fails because the line just read (ENTRY, after BEFORE records) asks
    // for more records than a list holds, with how many the export asks for.
    void RefuseTooManyRecords(CSourceListFile& source, SOURCE_ENTRY& entry, std::int64_t before);
    void Fail(std::string reason);
    std::string InputLine(const CSourceListFile& source) const;

    std::string m_strFailure;
    ConversionReport m_report;
    // Highest running number handed out: record numbers are 32-bit signed
    // in the Sample List and in the record library.
    std::int64_t m_nLastNumber = INT32_MAX;
    // What the clash check learnt of the lists beside the output, and the
    // data file names of the records written: the list, once committed,
    // enters the cache at once.
    std::optional<ClashCache> m_clashCache;
    DataFileIndex m_written;
};
