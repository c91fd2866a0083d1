#include "cli/LogCommand.h"

#include <charconv>
#include <iostream>
#include <memory>

#include "cli/ExitCode.h"
#include "cli/TextEscape.h"
#include "convert/ConversionLog.h"
#include "convert/ConversionLogLine.h"

namespace {

std::string Counted(std::int64_t count, const char* one, const char* many) {
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

void PrintRecord(std::ostream& out, const ConversionLogRecord& record) {
    const ConversionLogEntry& entry = record.entry;
    out << EscapeForTable(record.time) << ' ' << EscapeForTable(record.user) << ' '
        << (entry.created ? "created " : "failed ") << EscapeForTable(entry.output);
    if (!entry.created) {
        out << ": " << EscapeForTable(entry.reason);
    }
    out << "\n  input  " << EscapeForTable(entry.input) << "\n  sha256 "
        << (record.inputSha256 == kNoInputDigest ? "- (the input could not be read)"
                                                 : EscapeForTable(record.inputSha256))
        << "\n  names  MS method " << EscapeForTable(entry.msMethod) << ", inlet method "
        << EscapeForTable(entry.inletMethod) << ", macro " << EscapeForTable(entry.macro)
        << ", data file " << EscapeForTable(entry.dataFile) << "\n  counts "
        << Counted(entry.records, "record", "records") << ", "
        << Counted(entry.sampleLines, "sample line", "sample lines") << ", "
        << Counted(entry.skippedLines, "skipped line", "skipped lines") << ", "
        << Counted(entry.warnings, "warning", "warnings") << '\n';
}

// A CLI11 check: empty when VALUE is a whole number of at least 1.
std::string WholeNumberOfAtLeastOne(const std::string& value) {
    std::int64_t number = 0;
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, number);
    if (error == std::errc() && stop == end && number >= 1) {
        return std::string();
    }
    return "N must be a whole number of at least 1, not '" + EscapeForTable(value) + "'";
}

}  // namespace

void AddLogCommand(CLI::App& app, int& exitCode) {
    auto count = std::make_shared<std::int64_t>(kDefaultLogEntries);
    CLI::App* command = app.add_subcommand("log", "Print the last conversions from the log");
    command->footer(
        "The log is $XDG_STATE_HOME/korr2ld/conversions.log, or\n"
        "~/.local/state/korr2ld/conversions.log; docs/conversion-log.md describes it.\n"
        "Bytes other than printable ASCII are shown as \\xNN, a backslash as \\\\.\n"
        "Exit status: 0 shown (also when nothing is logged yet); 1 the log cannot be\n"
        "read; 2 usage.");
    command->add_option("-n,--count", *count, "how many of the last conversions (default 10)")
        ->type_name("N")
        ->check(CLI::Validator(WholeNumberOfAtLeastOne, ""));
    command->callback([count, &exitCode] {
        const Result<std::string> path = ConversionLogPath();
        if (!path.ok()) {
            std::cerr << "korr2ld-cli log: " << path.status().message()
                      << " for the conversion log\n";
            exitCode = kExitFailure;
            return;
        }
        exitCode = RunLog(path.value(), *count, std::cout, std::cerr);
    });
}

int RunLog(const std::string& path, std::int64_t count, std::ostream& out, std::ostream& err) {
    const ConversionLogTail tail = ReadConversionLogTail(path, static_cast<std::size_t>(count));
    if (!tail.status.ok()) {
        err << "korr2ld-cli log: " << tail.status.message() << '\n';
        return kExitFailure;
    }
    if (tail.missing) {
        err << "no conversions logged yet (" << path << ")\n";
        return kExitOk;
    }
    for (const ConversionLogTail::Line& line : tail.lines) {
        if (line.IsOverlong()) {
            out << "(not a conversion log line: " << line.length
                << " bytes, longer than a conversion log line can be)\n";
        } else if (const auto record = ParseConversionLogLine(line.text)) {
            PrintRecord(out, *record);
        } else {
            out << "(not a conversion log line) " << EscapeForTable(line.text) << '\n';
        }
    }
    if (!tail.note.empty()) {
        err << "korr2ld-cli log: note: " << tail.note << '\n';
    }
    out.flush();
    if (!out) {
        err << "korr2ld-cli log: cannot write the entries of " << path << '\n';
        return kExitFailure;
    }
    return kExitOk;
}
