#include "convert/ConversionLogLine.h"

#include <charconv>
#include <vector>

#include "util/TsvField.h"

namespace {

constexpr const char* kCreated = "created";
constexpr const char* kFailed = "failed";

bool ParseCount(const std::string& text, std::int64_t& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && stop == end;
}

}  // namespace

std::string FormatConversionLogLine(const ConversionLogRecord& record) {
    const ConversionLogEntry& entry = record.entry;
    const std::string fields[kConversionLogFields] = {record.time,
                                                      record.user,
                                                      entry.input,
                                                      record.inputSha256,
                                                      entry.output,
                                                      entry.msMethod,
                                                      entry.inletMethod,
                                                      entry.macro,
                                                      entry.dataFile,
                                                      std::to_string(entry.records),
                                                      std::to_string(entry.sampleLines),
                                                      std::to_string(entry.skippedLines),
                                                      std::to_string(entry.warnings),
                                                      entry.created ? kCreated : kFailed,
                                                      entry.reason};
    std::string line;
    for (std::size_t i = 0; i < kConversionLogFields; ++i) {
        if (i > 0) {
            line += '\t';
        }
        line += EscapeTsvField(fields[i]);
    }
    line += '\n';
    return line;
}

std::optional<ConversionLogRecord> ParseConversionLogLine(std::string_view line) {
    const std::vector<std::string_view> escaped = SplitTsvLine(line);
    if (escaped.size() < kConversionLogFields) {
        return std::nullopt;
    }
    std::vector<std::string> fields;
    for (std::size_t i = 0; i < kConversionLogFields; ++i) {
        std::optional<std::string> field = UnescapeTsvField(escaped[i]);
        if (!field) {
            return std::nullopt;
        }
        fields.push_back(std::move(*field));
    }
    ConversionLogRecord record;
    ConversionLogEntry& entry = record.entry;
    record.time = fields[0];
    record.user = fields[1];
    entry.input = fields[2];
    record.inputSha256 = fields[3];
    entry.output = fields[4];
    entry.msMethod = fields[5];
    entry.inletMethod = fields[6];
    entry.macro = fields[7];
    entry.dataFile = fields[8];
    if (!ParseCount(fields[9], entry.records) || !ParseCount(fields[10], entry.sampleLines) ||
        !ParseCount(fields[11], entry.skippedLines) || !ParseCount(fields[12], entry.warnings)) {
        return std::nullopt;
    }
    if (fields[13] != kCreated && fields[13] != kFailed) {
        return std::nullopt;
    }
    entry.created = fields[13] == kCreated;
    entry.reason = fields[14];
    return record;
}
