#include "cli/ReportJson.h"

#include "cli/TextEscape.h"

namespace {

const char* ResultWord(const ConversionOutcome& outcome) {
    if (!outcome.status.ok()) {
        return "failed";
    }
    return outcome.dryRun ? "checked" : "created";
}

void WriteWarnings(std::ostream& out, const ConversionOutcome& outcome) {
    const ConversionReport& report = outcome.report;
    out << "\"warnings\": [";
    const char* separator = "";
    for (const ReportNote& note : report.Notes()) {
        out << separator << "\n    {\"kind\": " << QuoteForJson(ReportKindName(note.kind))
            << ", \"file\": " << QuoteForJson(note.file) << ", \"line\": " << note.line
            << ", \"column\": " << note.column << ", \"text\": " << QuoteForJson(note.text)
            << ", \"read_as\": " << QuoteForJson(note.readAs)
            << ", \"message\": " << QuoteForJson(note.message) << '}';
        separator = ",";
    }
    for (const ReportNotice& notice : report.Notices()) {
        out << separator << "\n    {\"kind\": " << QuoteForJson(NoticeKindName(notice.kind))
            << ", \"file\": " << QuoteForJson(outcome.output)
            << ", \"line\": 0, \"column\": 0, \"text\": \"\", \"read_as\": \"\", \"message\": "
            << QuoteForJson(notice.sentence) << '}';
        separator = ",";
    }
    out << "],\n   \"warnings_total\": " << report.TotalWarningCount()
        << ",\n   \"warnings_not_shown\": {";
    separator = "";
    for (int i = 0; i < static_cast<int>(ReportKind::kCount); ++i) {
        const auto kind = static_cast<ReportKind>(i);
        if (report.Omitted(kind) != 0) {
            out << separator << QuoteForJson(ReportKindName(kind)) << ": " << report.Omitted(kind);
            separator = ", ";
        }
    }
    out << '}';
}

void WriteSkipped(std::ostream& out, const ConversionReport& report) {
    out << "\"skipped\": [";
    const char* separator = "";
    for (const SkippedLine& skipped : report.Skipped()) {
        out << separator << "\n    {\"line\": " << skipped.line
            << ", \"reason\": " << QuoteForJson(SkipReasonName(skipped.reason))
            << ", \"text\": " << QuoteForJson(skipped.text) << '}';
        separator = ",";
    }
    out << "],\n   \"skipped_not_shown\": " << report.SkippedOmitted();
}

}  // namespace

void WriteReportJson(std::ostream& out, const std::vector<ConversionOutcome>& outcomes) {
    out << "{\"conversions\": [";
    const char* separator = "";
    for (const ConversionOutcome& outcome : outcomes) {
        const ConversionReport& report = outcome.report;
        out << separator << "\n  {\"input\": " << QuoteForJson(outcome.input)
            << ",\n   \"output\": " << QuoteForJson(outcome.output)
            << ",\n   \"dry_run\": " << (outcome.dryRun ? "true" : "false")
            << ",\n   \"result\": \"" << ResultWord(outcome) << '"'
            << ",\n   \"reason\": " << QuoteForJson(outcome.status.message())
            << ",\n   \"counts\": {\"records\": " << report.records
            << ", \"sample_lines\": " << report.sampleLines
            << ", \"skipped_lines\": " << report.skippedLines << "},\n   ";
        WriteWarnings(out, outcome);
        out << ",\n   ";
        WriteSkipped(out, report);
        out << '}';
        separator = ",";
    }
    out << "\n]}\n";
}
