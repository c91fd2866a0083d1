// Fuzzes a whole conversion: the input is an exported sample file,
// converted by CSLConvert into a Sample List in the scratch directory,
// which is then read back through the record library.
//
// Properties checked:
// - Convert returns normally (a line over the reader's limit may raise
//   CFileException) and says why whenever it returns FALSE;
// - a successful conversion's list holds exactly the records the summary
//   reports, one per fraction of each sample line; a failed one leaves no
//   list;
// - every text field of every record ends within its span, the reserved
//   bytes are zero, and the running number, record name, fraction number
//   and column-5 text are those of the sample line and fraction.
//
// Inputs whose fraction ranges add up to more than kMaxRecords records are
// only read, not converted: a range such as 1:2000000000 is a valid input
// whose conversion takes hours, which says nothing about robustness.
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "convert/SLConvert.h"
#include "datasystem/ferrox.h"
#include "framework/FileException.h"
#include "samplelist/SampleRecord.h"
#include "source/SourceListFile.h"
#include "support/sample_lists.h"

namespace {

constexpr std::int64_t kMaxRecords = 2000;

// What one record must carry, from its sample line.
struct Expected {
    std::int64_t fraction;
    std::string column5Text;
};

// The records the input asks for, or false when there are too many or the
// input cannot be read to its end.
bool ExpectedRecords(const std::string& path, std::vector<Expected>& records) {
    CSourceListFile source(path);
    FUZZ_CHECK(source.IsOpen());
    SOURCE_ENTRY entry;
    try {
        while (source.ReadEntry(entry)) {
            const std::int64_t count = std::int64_t{entry.nLastFraction} - entry.nFirstFraction + 1;
            if (count > kMaxRecords - static_cast<std::int64_t>(records.size())) {
                return false;
            }
            const std::string text =
                entry.strColumn5Text.substr(0, entry.strColumn5Text.find('\0')).substr(0, 50);
            for (std::int64_t f = entry.nFirstFraction; f <= entry.nLastFraction; ++f) {
                records.push_back({f, text});
            }
        }
    } catch (const CFileException&) {
        return false;
    }
    return true;
}

template <std::size_t N>
std::string Text(const char (&field)[N]) {
    FUZZ_CHECK(std::memchr(field, '\0', N) != nullptr);
    return std::string(field);
}

void CheckRecord(const SAMPLE_RECORD& record, std::int64_t number, const Expected& expected) {
    const bool plain = number == 1;
    const auto style = [plain](const std::string& text) { return plain ? text : "[" + text + "]"; };
    char name[32];
    std::snprintf(name, sizeof name, "RUN12%03lld", static_cast<long long>(number));
    FUZZ_CHECK(Text(record.szDataFile) == style(name));
    FUZZ_CHECK(Text(record.szRecordNumber) == style(std::to_string(number)));
    FUZZ_CHECK(Text(record.szMSMethod) == style("ESI_POS"));
    FUZZ_CHECK(Text(record.szInletMethod) == style("LC_30MIN"));
    FUZZ_CHECK(Text(record.szMacro) == style("ACQUIRE"));
    const std::string fraction = "Fraction:" + std::to_string(expected.fraction) + ", ";
    FUZZ_CHECK(Text(record.szFraction).compare(0, fraction.size(), fraction) == 0);
    FUZZ_CHECK(Text(record.szColumn5Text) == expected.column5Text);
    // The remaining text fields: only ever zero or "[]".
    for (const std::string& text :
         {Text(record.szText900), Text(record.szText1453), Text(record.szText1504),
          Text(record.szText1555), Text(record.szText1574), Text(record.szText1625),
          Text(record.szText1880)}) {
        FUZZ_CHECK(text.empty() || text == "[]");
    }
    Text(record.szValue[0]);
    for (std::size_t i = 1; i < 20; ++i) {
        FUZZ_CHECK(Text(record.szValue[i]).empty() || Text(record.szValue[i]) == "[]");
    }
    for (const auto& slot : record.szShort) {
        FUZZ_CHECK(Text(slot).empty() || Text(slot) == "[]");
    }
    for (const std::uint8_t byte : record.reserved) {
        FUZZ_CHECK(byte == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string input = fuzz::ScratchPath("export.txt");
    static const std::string output = fuzz::ScratchPath("run12.sdb");
    fuzz::WriteFile(input, data, size);

    std::vector<Expected> expected;
    if (!ExpectedRecords(input, expected)) {
        return 0;
    }

    std::remove(output.c_str());
    CSLConvert convert(input, output);
    convert.m_strMSFile = "ESI_POS";
    convert.m_strInletFile = "LC_30MIN";
    convert.m_strMacro = "ACQUIRE";
    convert.m_strDataFile = "RUN12345";
    const BOOL converted = convert.Convert();
    const std::int64_t written = convert.GetReport().records;
    FUZZ_CHECK(converted == (convert.GetFailureReason().empty() ? TRUE : FALSE));
    FUZZ_CHECK(convert.GetFailureReason().find("could not be stored") == std::string::npos);
    if (converted == TRUE) {
        FUZZ_CHECK(written == static_cast<std::int64_t>(expected.size()));
    } else {
        // Only a column-5 value too long for its field stops a conversion
        // of readable input in a writable directory.
        FUZZ_CHECK(convert.GetFailureReason().find("column 5") != std::string::npos);
        FUZZ_CHECK(written <= static_cast<std::int64_t>(expected.size()));
        // A failed conversion leaves no list.
        struct stat st;
        FUZZ_CHECK(::stat(output.c_str(), &st) != 0);
        return 0;
    }

    // The list holds the records written, and what they must carry.
    const k2ltest::ListRead list = k2ltest::ReadList(output);
    FUZZ_CHECK(list.status == DB3_OK);
    FUZZ_CHECK(static_cast<std::int64_t>(list.records.size()) == written);
    for (std::size_t i = 0; i < list.records.size(); ++i) {
        SAMPLE_RECORD record;
        std::memcpy(&record, list.records[i].data(), sizeof record);
        CheckRecord(record, static_cast<std::int64_t>(i + 1), expected[i]);
    }
    return 0;
}
