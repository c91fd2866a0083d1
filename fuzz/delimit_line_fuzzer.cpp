// Fuzzes CDelimitFile's splitting and classification, against a plain model
// of the documented rules, on lines and on files.
//
// Input layout: byte 0 holds the options (bit 0: merge delimiters; bits 1-2:
// the number of delimiter characters, 0 to 3), the delimiter characters
// follow, and the rest is the text. The text is split as one line by
// SplitLine and ParseLine (with and without a type), and read as a file by
// ReadRecord, which must give for each line what ParseLine gives for it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "framework/FileException.h"
#include "source/DelimitFile.h"

namespace {

std::vector<std::string> ModelSplit(std::string_view line, std::string_view delimiters,
                                    bool merge) {
    std::vector<std::string> fields;
    while (!line.empty()) {
        const std::size_t pos = line.find_first_of(delimiters);
        if (pos == std::string_view::npos) {
            fields.emplace_back(line);
            break;
        }
        if (pos == 0 && merge) {
            line.remove_prefix(1);
            continue;
        }
        fields.emplace_back(line.substr(0, pos));
        line.remove_prefix(pos + 1);
    }
    return fields;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Classifies FIELDS as ParseLine does with the fixed markers, changing the
// first field as documented; returns the line type.
int ModelClassify(std::vector<std::string>& fields) {
    if (fields.empty()) {
        return CDelimitFile::LINE_EMPTY;
    }
    std::string& first = fields[0];
    if (StartsWith(first, ";")) {
        first.erase(0, 1);
        return CDelimitFile::LINE_COMMENT;
    }
    if (StartsWith(first, "[")) {
        const std::size_t close = first.find(']');
        if (close != std::string::npos && close > 0) {
            first = first.substr(1, close - 1);
            return CDelimitFile::LINE_SECTION;
        }
    }
    if (StartsWith(first, "{")) {
        first.erase(0, 1);
        return CDelimitFile::LINE_BLOCK_BEGIN;
    }
    if (StartsWith(first, "}")) {
        first.erase(0, 1);
        return CDelimitFile::LINE_BLOCK_END;
    }
    return CDelimitFile::LINE_DATA;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const bool merge = (data[0] & 1) != 0;
    const std::size_t delimiterCount = (data[0] >> 1) & 3;
    if (size < 1 + delimiterCount) {
        return 0;
    }
    const std::string delimiters(reinterpret_cast<const char*>(data + 1), delimiterCount);
    const std::string text(reinterpret_cast<const char*>(data + 1 + delimiterCount),
                           size - 1 - delimiterCount);

    CDelimitFile file;
    FUZZ_CHECK(file.SetDelimiters(delimiters) == TRUE);
    file.SetMergeDelimiters(merge ? TRUE : FALSE);

    // SplitLine appends to what FIELDS holds.
    const std::vector<std::string> expected = ModelSplit(text, delimiters, merge);
    std::vector<std::string> fields = {"kept"};
    const int count = file.SplitLine(text, fields);
    FUZZ_CHECK(count == static_cast<int>(fields.size()));
    FUZZ_CHECK(fields.size() == expected.size() + 1 && fields[0] == "kept");
    FUZZ_CHECK(std::equal(expected.begin(), expected.end(), fields.begin() + 1));

    // Splitting a line that is itself one of the fields.
    fields = {text};
    file.SplitLine(fields[0], fields);
    FUZZ_CHECK(fields.size() == expected.size() + 1 && fields[0] == text);
    FUZZ_CHECK(std::equal(expected.begin(), expected.end(), fields.begin() + 1));

    std::vector<std::string> classified = expected;
    const int expectedType = ModelClassify(classified);
    fields.clear();
    int type = -1;
    FUZZ_CHECK(file.ParseLine(text, fields, &type) == static_cast<int>(expected.size()));
    FUZZ_CHECK(type == expectedType);
    FUZZ_CHECK(fields == classified);
    fields.clear();
    FUZZ_CHECK(file.ParseLine(text, fields, nullptr) == static_cast<int>(expected.size()));
    FUZZ_CHECK(fields == expected);

    // The text as a file: one record per line, each as ParseLine gives it.
    static const std::string path = fuzz::ScratchPath("delimited.txt");
    k2ltest::WriteFile(path, text);
    FUZZ_CHECK(file.Open(path, CStdioFile::modeRead) == TRUE);
    const std::vector<std::string_view> lines = fuzz::LinesOf(text);
    std::size_t next = 0;
    try {
        fields = {"stale", "fields"};
        while (file.ReadRecord(fields, &type)) {
            FUZZ_CHECK(next < lines.size());
            std::vector<std::string> lineFields = ModelSplit(lines[next], delimiters, merge);
            const int lineType = ModelClassify(lineFields);
            FUZZ_CHECK(type == lineType);
            FUZZ_CHECK(fields == lineFields);
            ++next;
            FUZZ_CHECK(file.GetLineNumber() == static_cast<std::int64_t>(next));
        }
        FUZZ_CHECK(fields.empty());
        FUZZ_CHECK(next == lines.size());
    } catch (const CFileException& error) {
        FUZZ_CHECK(error.m_cause == CFileException::lineTooLong);
    }
    FUZZ_CHECK(file.Close() == TRUE);
    return 0;
}
