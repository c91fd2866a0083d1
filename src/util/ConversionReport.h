// ConversionReport is what one conversion tells its user besides its
// result: how many lines and records there were, which lines were skipped
// and why, and every warning: those about the export, its names and the
// lists beside it, each where it was found (file, line, column), with the
// text as read and what it was read as; and the conversion's own notices,
// one sentence each, about what it did besides the list (the sample-list
// location could not be stored, say).
//
// The reader of the export, the conversion driver and its callers add to
// it as they go; the command line and the dialog show it. It never changes
// what is converted.
//
// Memory is bounded whatever the input's size: of each kind of warning,
// and of the skipped lines, the first kExamplesKept are kept and the rest
// only counted.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

enum class ReportKind {
    // The file as a whole.
    kByteOrderMark,
    kUtf16Text,
    kLoneCarriageReturn,
    kBinaryContent,
    kNoSampleLine,
    // Values of a sample line.
    kDecimalComma,
    kNumberWord,  // "inf", "nan": read as 0
    kBeyondFloatRange,
    kNoFractionColon,
    kFractionOutOfRange,  // beyond a 32-bit integer: read as its limit
    kLastFractionBelowFirst,
    kNegativeFraction,
    kLongFractionRange,
    kFewFields,
    kShiftedColumns,
    // The names every record carries.
    kEmptyName,
    kUnknownName,
    // Other Sample Lists.
    kDataFileClash,
    kCount
};

// The kind's stable machine name ("decimal-comma"), as JSON and the log show it.
const char* ReportKindName(ReportKind kind);

struct ReportNote {
    ReportKind kind = ReportKind::kCount;
    std::string file;         // the file the note is about
    std::int64_t line = 0;    // 1-based; 0 when the note is about no line
    std::int64_t column = 0;  // 1-based byte column; 0 when about no column
    std::string text;         // the text as read (may be empty)
    std::string readAs;       // what it was read as (may be empty)
    std::string message;      // one sentence for the user, without file and line
};

// What a notice is about.
enum class NoticeKind {
    kLocationNotStored,  // the sample-list location could not be stored
    kListsNotChecked,    // other Sample Lists could not be read for clashes
};
// The kind's stable machine name ("location-not-stored"), as JSON shows it.
const char* NoticeKindName(NoticeKind kind);

struct ReportNotice {
    NoticeKind kind = NoticeKind::kLocationNotStored;
    std::string sentence;  // one or more sentences for the user
};

// Why a line that is not blank gave no sample.
enum class SkipReason { kFirstColumnText, kFirstColumnZero };
const char* SkipReasonName(SkipReason reason);  // "first-column-text", ...

struct SkippedLine {
    std::int64_t line = 0;
    SkipReason reason = SkipReason::kFirstColumnText;
    std::string text;  // the first column, cut to kSkippedTextKept bytes
};

// Another Sample List whose records carry a data file name of the form this
// conversion gives (base name and running number), and the lowest such
// number: the lists clash when this conversion writes that many records.
struct ClashCandidate {
    std::string list;
    std::int64_t number = 0;
    std::string dataFile;  // the clashing data file name, as the other list has it
};

class ConversionReport {
public:
    static constexpr std::size_t kExamplesKept = 100;
    static constexpr std::size_t kSkippedTextKept = 60;

    // Forgets every count, note, notice and skipped line, and whether
    // clashes were resolved; keeps the clash candidates.
    void Restart();

    // Adds a warning. Only the first kExamplesKept of each kind are kept.
    void Warn(ReportNote note);
    // Records a skipped line that is not blank; blank lines are only counted
    // by the reader.
    void Skip(std::int64_t line, SkipReason reason, std::string_view firstColumn);

    // Keeps CANDIDATE, or lowers the number of the one kept for its list.
    void AddClashCandidate(const ClashCandidate& candidate);
    // Warns of every candidate whose number is at most RECORDS (the records
    // this conversion writes), once: later calls do nothing.
    void ResolveClashes(std::int64_t records, const std::string& output);

    // Adds a notice: a warning about the conversion itself rather than its
    // input. Notices are all kept; they are no findings, so --strict and
    // WarningCount() leave them out.
    void Notice(NoticeKind kind, std::string sentence) {
        m_notices.push_back(ReportNotice{kind, std::move(sentence)});
    }

    // Warnings kept, in the order they were added.
    const std::vector<ReportNote>& Notes() const { return m_notes; }
    // Warnings of KIND found but not kept.
    std::int64_t Omitted(ReportKind kind) const;
    std::int64_t Count(ReportKind kind) const;
    // The warnings found, kept or not; notices not counted.
    std::int64_t WarningCount() const { return m_nWarnings; }
    const std::vector<ReportNotice>& Notices() const { return m_notices; }
    // Every warning: those found and the notices.
    std::int64_t TotalWarningCount() const {
        return m_nWarnings + static_cast<std::int64_t>(m_notices.size());
    }

    const std::vector<SkippedLine>& Skipped() const { return m_skipped; }
    std::int64_t SkippedOmitted() const {
        return m_nSkipped - static_cast<std::int64_t>(m_skipped.size());
    }

    // What the conversion did; set by the conversion driver.
    std::int64_t records = 0;       // records written (or, in a dry run, that would be)
    std::int64_t sampleLines = 0;   // sample lines read
    std::int64_t skippedLines = 0;  // other lines, blank ones included

private:
    std::vector<ReportNote> m_notes;
    std::array<std::int64_t, static_cast<std::size_t>(ReportKind::kCount)> m_counts{};
    std::int64_t m_nWarnings = 0;
    std::vector<ReportNotice> m_notices;
    std::vector<SkippedLine> m_skipped;
    std::int64_t m_nSkipped = 0;
    std::vector<ClashCandidate> m_candidates;
    bool m_bClashesResolved = false;
};
