#include "util/ConversionReport.h"

#include <algorithm>
#include <utility>

namespace {

std::size_t Index(ReportKind kind) {
    return static_cast<std::size_t>(kind);
}

}  // namespace

const char* ReportKindName(ReportKind kind) {
    switch (kind) {
        case ReportKind::kByteOrderMark:
            return "byte-order-mark";
        case ReportKind::kUtf16Text:
            return "utf16-text";
        case ReportKind::kLoneCarriageReturn:
            return "lone-carriage-return";
        case ReportKind::kBinaryContent:
            return "binary-content";
        case ReportKind::kNoSampleLine:
            return "no-sample-line";
        case ReportKind::kDecimalComma:
            return "decimal-comma";
        case ReportKind::kNumberWord:
            return "number-word";
        case ReportKind::kBeyondFloatRange:
            return "beyond-float-range";
        case ReportKind::kNoFractionColon:
            return "no-fraction-colon";
        case ReportKind::kFractionOutOfRange:
            return "fraction-out-of-range";
        case ReportKind::kLastFractionBelowFirst:
            return "last-fraction-below-first";
        case ReportKind::kNegativeFraction:
            return "negative-fraction";
        case ReportKind::kLongFractionRange:
            return "long-fraction-range";
        case ReportKind::kFewFields:
            return "few-fields";
        case ReportKind::kShiftedColumns:
            return "shifted-columns";
        case ReportKind::kEmptyName:
            return "empty-name";
        case ReportKind::kUnknownName:
            return "unknown-name";
        case ReportKind::kDataFileClash:
            return "data-file-clash";
        case ReportKind::kCount:
            break;
    }
    return "unknown";
}

const char* NoticeKindName(NoticeKind kind) {
    return kind == NoticeKind::kListsNotChecked ? "lists-not-checked" : "location-not-stored";
}

const char* SkipReasonName(SkipReason reason) {
    return reason == SkipReason::kFirstColumnZero ? "first-column-zero" : "first-column-text";
}

void ConversionReport::Restart() {
    std::vector<ClashCandidate> candidates = std::move(m_candidates);
    *this = ConversionReport();
    m_candidates = std::move(candidates);
}

void ConversionReport::Warn(ReportNote note) {
    ++m_nWarnings;
    if (static_cast<std::size_t>(++m_counts[Index(note.kind)]) <= kExamplesKept) {
        m_notes.push_back(std::move(note));
    }
}

void ConversionReport::Skip(std::int64_t line, SkipReason reason, std::string_view firstColumn) {
    if (static_cast<std::size_t>(++m_nSkipped) <= kExamplesKept) {
        m_skipped.push_back(
            SkippedLine{line, reason, std::string(firstColumn.substr(0, kSkippedTextKept))});
    }
}

std::int64_t ConversionReport::Count(ReportKind kind) const {
    return m_counts[Index(kind)];
}

std::int64_t ConversionReport::Omitted(ReportKind kind) const {
    return std::max<std::int64_t>(0, Count(kind) - static_cast<std::int64_t>(kExamplesKept));
}

void ConversionReport::AddClashCandidate(const ClashCandidate& candidate) {
    for (ClashCandidate& kept : m_candidates) {
        if (kept.list == candidate.list) {
            if (candidate.number < kept.number) {
                kept = candidate;
            }
            return;
        }
    }
    m_candidates.push_back(candidate);
}

void ConversionReport::ResolveClashes(std::int64_t records, const std::string& output) {
    if (m_bClashesResolved) {
        return;
    }
    m_bClashesResolved = true;
    for (const ClashCandidate& candidate : m_candidates) {
        if (candidate.number > records) {
            continue;
        }
        Warn({ReportKind::kDataFileClash, output, 0, 0, candidate.dataFile, candidate.list,
              "the Sample List " + candidate.list + " also has records with the data file name " +
                  candidate.dataFile +
                  ": acquired one after the other, the raw data files of one list overwrite "
                  "those of the other"});
    }
}
