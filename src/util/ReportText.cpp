#include "util/ReportText.h"

#include <cstdio>
#include <utility>

#include "framework/TextClass.h"

namespace {

std::string Where(const ReportNote& note) {
    std::string where = VisibleText(note.file);
    if (note.line != 0) {
        where += ':' + std::to_string(note.line);
        if (note.column != 0) {
            where += ':' + std::to_string(note.column);
        }
    }
    return where;
}

const ReportNote& FirstOfKind(const ConversionReport& report, ReportKind kind) {
    for (const ReportNote& note : report.Notes()) {
        if (note.kind == kind) {
            return note;
        }
    }
    return report.Notes().front();
}

}  // namespace

std::string VisibleText(const std::string& text) {
    std::string visible;
    visible.reserve(text.size());
    for (const char c : text) {
        if (IsControl(c)) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
            visible += escaped;
        } else {
            visible += c;
        }
    }
    return visible;
}

std::string ReportCountsLine(const ConversionReport& report, bool dryRun) {
    return std::to_string(report.records) +
           (dryRun ? " records to write, " : " records written, ") +
           std::to_string(report.sampleLines) + " sample lines read, " +
           std::to_string(report.skippedLines) + " other lines skipped";
}

std::vector<std::string> ReportWarningLines(const ConversionReport& report) {
    std::vector<std::string> lines;
    for (const ReportNote& note : report.Notes()) {
        lines.push_back(Where(note) + ": warning: " + VisibleText(note.message) + " [" +
                        ReportKindName(note.kind) + "]");
    }
    // A kind with warnings not kept has its first kExamplesKept among the notes.
    for (const ReportNote& note : report.Notes()) {
        if (report.Omitted(note.kind) != 0 && report.Count(note.kind) != 0 &&
            &note == &FirstOfKind(report, note.kind)) {
            lines.push_back(VisibleText(note.file) +
                            ": warning: " + std::to_string(report.Omitted(note.kind)) + " more [" +
                            ReportKindName(note.kind) + "] warnings not shown");
        }
    }
    return lines;
}

std::vector<std::string> ReportLines(const ConversionReport& report, const std::string& input) {
    std::vector<std::string> lines = ReportWarningLines(report);
    for (std::string& line : ReportSkippedLines(report, input)) {
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::string> ReportSkippedLines(const ConversionReport& report,
                                            const std::string& input) {
    std::vector<std::string> lines;
    const std::string file = VisibleText(input);
    for (const SkippedLine& skipped : report.Skipped()) {
        lines.push_back(file + ':' + std::to_string(skipped.line) + ": skipped: " +
                        (skipped.reason == SkipReason::kFirstColumnZero ? "first column is zero"
                                                                        : "first column is text") +
                        " (" + VisibleText(skipped.text) + ")");
    }
    if (report.SkippedOmitted() != 0) {
        lines.push_back(file + ": " + std::to_string(report.SkippedOmitted()) +
                        " more skipped lines not shown");
    }
    return lines;
}
