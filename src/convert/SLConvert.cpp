#include "convert/SLConvert.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <utility>

#include "convert/ConversionChecks.h"
#include "convert/ListFailure.h"
#include "datasystem/DataSystemEntries.h"
#include "datasystem/FixedField.h"
#include "datasystem/LocationFields.h"
#include "datasystem/SampleListLocation.h"
#include "framework/File.h"
#include "framework/PathParts.h"
#include "framework/SystemError.h"
#include "samplelist/SampListFile.h"
#include "samplelist/SampListRecord.h"
#include "source/NumericText.h"
#include "source/SourceListFile.h"
#include "util/NameRule.h"

namespace {

// Room that brackets and the terminating zero take from a text field.
constexpr std::size_t kBracketsAndZero = 3;
// Digits of the largest running number.
constexpr std::size_t kNumberDigits = 10;

// TRUE when snprintf's RESULT says the whole text and its zero fit in SPAN.
bool Fits(int result, std::size_t span) {
    return result >= 0 && static_cast<std::size_t>(result) < span;
}

// A record field's text being made, as snprintf would make it from "%s" and
// "%lld" (or "%.3lld": at least three digits), without parsing a format for
// every record. Longer than kCapacity bytes, it is too long for any field.
class FieldText {
public:
    static constexpr std::size_t kCapacity = 512;

    FieldText& Add(std::string_view text) {
        if (text.size() > kCapacity - m_nLength) {
            m_bTooLong = true;
        } else {
            std::memcpy(m_text + m_nLength, text.data(), text.size());
            m_nLength += text.size();
        }
        return *this;
    }

    FieldText& AddNumber(long long number, std::size_t leastDigits = 1) {
        char digits[24];
        const unsigned long long magnitude = number < 0
                                                 ? 0ULL - static_cast<unsigned long long>(number)
                                                 : static_cast<unsigned long long>(number);
        const auto [end, error] = std::to_chars(digits, digits + sizeof digits, magnitude);
        static_cast<void>(error);  // 24 bytes hold every 64-bit number
        const std::string_view shown(digits, static_cast<std::size_t>(end - digits));
        if (number < 0) {
            Add("-");
        }
        for (std::size_t n = shown.size(); n < leastDigits; ++n) {
            Add("0");
        }
        return Add(shown);
    }

    // In brackets unless PLAIN.
    FieldText& Open(bool plain) { return plain ? *this : Add("["); }
    FieldText& Close(bool plain) { return plain ? *this : Add("]"); }

    bool TooLong() const { return m_bTooLong; }
    std::string_view View() const { return std::string_view(m_text, m_nLength); }

private:
    char m_text[kCapacity];
    std::size_t m_nLength = 0;
    bool m_bTooLong = false;
};

// Writes TEXT and its terminating zero at the start of FIELD, as snprintf
// does, leaving the bytes after them; FALSE when they do not fit.
template <std::size_t N>
bool PutText(char (&field)[N], std::string_view text) {
    if (text.size() >= N) {
        return false;
    }
    std::memcpy(field, text.data(), text.size());
    field[text.size()] = '\0';
    return true;
}

template <std::size_t N>
bool PutText(char (&field)[N], const FieldText& text) {
    return !text.TooLong() && PutText(field, text.View());
}

}  // namespace

struct CSLConvert::RecordTexts {
    std::string baseName;
    // MS method, inlet method and macro: plain for the first record, in
    // brackets for every later one.
    std::array<std::string, 3> plainNames;
    std::array<std::string, 3> bracketedNames;
    // Of the sample line being converted.
    const SOURCE_ENTRY* entry = nullptr;
    char value[sizeof(SAMPLE_RECORD::szValue[0])] = "";  // "%.3f"
    std::string fractionTail;                            // ", %.2f, %.2f"
};

CSLConvert::CSLConvert(std::string input, std::string output)
    : m_strInput(std::move(input)),
      m_strOutput(std::move(output)),
      m_nBaseLength(5),
      m_bReplaceExisting(TRUE),
      m_bDryRun(FALSE),
      m_bStrict(FALSE) {}

CSLConvert::~CSLConvert() = default;

void CSLConvert::Fail(std::string reason) {
    if (m_strFailure.empty()) {
        m_strFailure = std::move(reason);
    }
}

std::string CSLConvert::InputLine(const CSourceListFile& source) const {
    return "line " + std::to_string(source.GetLineNumber()) + " of " + m_strInput;
}

BOOL CSLConvert::CheckNames() {
    struct Name {
        const char* what;
        const std::string& text;
        std::size_t span;
    };
    const Name names[] = {
        {"MS method", m_strMSFile, sizeof(SAMPLE_RECORD::szMSMethod)},
        {"inlet method", m_strInletFile, sizeof(SAMPLE_RECORD::szInletMethod)},
        {"macro", m_strMacro, sizeof(SAMPLE_RECORD::szMacro)},
    };
    // A name must be plain; the data file name whole, although only its
    // base goes into the records.
    for (const Name& name : names) {
        const NameLimits limits{name.span - kBracketsAndZero, false};
        const NameFault fault = FindNameFault(name.text, limits);
        if (IsPlainNameFault(fault)) {
            Fail("The " + std::string(name.what) + " name " + NameFaultText(fault, limits) +
                 "; it becomes a file name on the instrument.");
            return FALSE;
        }
        if (fault == NameFault::kTooLong) {
            Fail("The " + std::string(name.what) + " name is " + std::to_string(name.text.size()) +
                 " characters long; a Sample List record holds at most " +
                 std::to_string(limits.maxChars) + ".");
            return FALSE;
        }
    }
    if (const NameFault fault = FindNameFault(m_strDataFile, kPlainName);
        fault != NameFault::kNone) {
        Fail("The data file base name " + NameFaultText(fault, kPlainName) +
             "; it becomes a file name on the instrument.");
        return FALSE;
    }
    const std::string baseName = BaseName();
    const std::size_t baseRoom =
        sizeof(SAMPLE_RECORD::szDataFile) - kBracketsAndZero - kNumberDigits;
    if (FindNameFault(baseName, NameLimits{baseRoom, false}) == NameFault::kTooLong) {
        Fail("The data file base name is " + std::to_string(baseName.size()) +
             " characters long; a Sample List record holds at most " + std::to_string(baseRoom) +
             ".");
        return FALSE;
    }
    return TRUE;
}

BOOL CSLConvert::Convert() {
    // Everything is checked before anything is touched: when warnings are
    // failures, and always with a record library that is not Korr2LD's
    // own, which cannot give up a list it has begun.
    if ((m_bStrict || !DataSystem().ours) && !m_bDryRun) {
        if (!ConvertAndKeep(TRUE)) {
            return FALSE;
        }
        if (m_bStrict && m_report.WarningCount() != 0) {
            Fail(StrictFailure());
            return FALSE;
        }
    }
    const BOOL ok = ConvertAndKeep(m_bDryRun);
    if (ok && m_bDryRun && m_bStrict && m_report.WarningCount() != 0) {
        Fail(StrictFailure());
        return FALSE;
    }
    return ok;
}

BOOL CSLConvert::ConvertAndKeep(BOOL dryRun) {
    m_clashCache.reset();
    m_written = DataFileIndex();
    const BOOL ok = ConvertOnce(dryRun);
    if (m_clashCache) {
        m_clashCache->Save();
        m_clashCache.reset();
    }
    return ok;
}

std::string CSLConvert::StrictFailure() const {
    const std::int64_t count = m_report.WarningCount();
    return "The conversion found " + std::to_string(count) +
           (count == 1 ? " warning" : " warnings") +
           ", and warnings are treated as failures; nothing was written.";
}

void CSLConvert::CheckBeforeWriting(const std::string& libraryPath) {
    const MethodName names[] = {
        {"MS method", kMSMethodKey, m_strMSFile},
        {"inlet method", kInletMethodKey, m_strInletFile},
        {"macro", kMacroKey, m_strMacro},
    };
    for (const MethodName& name : names) {
        CheckMethodName(m_report, m_strOutput, name);
    }
    CollectDataFileClashes(m_report, libraryPath, BaseName(), &m_clashCache);
}

std::string CSLConvert::BaseName() const {
    return m_strDataFile.substr(0, static_cast<std::size_t>(std::max(m_nBaseLength, 0)));
}

BOOL CSLConvert::ConvertOnce(BOOL dryRun) {
    m_strFailure.clear();
    m_report.Restart();

    if (!CheckNames()) {
        return FALSE;
    }
    // The record library writes the list where the location record says;
    // that must be the output as named.
    const Result<std::string> writtenPath = SampleListPathAsGiven(m_strOutput);
    if (!writtenPath.ok()) {
        Fail("The record library cannot write a file of this name: " +
             writtenPath.status().message() + ".");
        return FALSE;
    }
    const std::string& libraryPath = writtenPath.value();

    // An export is a regular file. Opening a pipe waits for a writer that
    // may never come, and a device such as /dev/zero never ends: the
    // conversion would hang. Neither is opened. (A directory opens, and its
    // first read fails with the reason, as a read error.)
    const Result<FileStatus> inputAtStart = StatusAt(m_strInput);
    const bool inputKnown = inputAtStart.ok();
    if (inputKnown && inputAtStart.value().kind != FileKind::kDirectory) {
        if (const Status regular = RequireRegularFile(inputAtStart.value()); !regular.ok()) {
            Fail(m_strInput + ": " + regular.message() + ".");
            return FALSE;
        }
    }

    errno = 0;
    CSourceListFile source(m_strInput);
    if (!source.IsOpen()) {
        const int error = errno;
        Fail(m_strInput + ": " +
             (error != 0 ? SystemErrorText(error) : "cannot be opened for reading") + ".");
        return FALSE;
    }
    source.SetReport(&m_report);
    CheckBeforeWriting(libraryPath);

    if (dryRun) {
        const BOOL ok = WriteRecords(source, nullptr);
        m_report.ResolveClashes(m_report.records, m_strOutput);
        return ok;
    }

    const bool ours = DataSystem().ours;
    if (!ours && !m_bReplaceExisting && Exists(libraryPath, Links::kDoNotFollow)) {
        // Only Korr2LD's own record library can be told to keep a list.
        Fail(libraryPath + " already exists; it was left as it is.");
        return FALSE;
    }
    CSampListFile list(m_strOutput, TRUE, m_bReplaceExisting);
    if (!list.GetLocationWarning().empty()) {
        const PathParts output = SplitPath(m_strOutput);
        m_report.Notice(NoticeKind::kLocationNotStored,
                        "The sample-list location could not be stored for the data system (" +
                            list.GetLocationWarning() +
                            "); the data system may not look for the Sample List in " +
                            output.drive + output.directory + ".");
    }
    if (!list.IsOpen()) {
        Fail(
            ListFailureCause(list.GetError(), libraryPath, list.GetFailedMode() == DB3_MODE_CHECK));
        return FALSE;
    }

    // Whatever stops the conversion, the new list is given up: a partial
    // list that looks complete is what an instrument would run.
    BOOL ok = FALSE;
    try {
        ok = WriteRecords(source, &list);
    } catch (...) {
        list.Abandon();
        throw;
    }
    m_report.ResolveClashes(m_report.records, m_strOutput);
    if (ok && inputKnown && !IsInputUnchanged(inputAtStart.value())) {
        Fail(m_strInput +
             ": the file changed while it was read (it was written to, truncated, "
             "or replaced); the Sample List was not created.");
        ok = FALSE;
    }
    if (ok && m_bStrict && m_report.WarningCount() != 0) {
        Fail(StrictFailure());
        ok = FALSE;
    }
    if (!ok) {
        list.Abandon();
        if (!ours) {
            m_strFailure += MayBeIncomplete(libraryPath, list.GetRecordCount());
        }
        return FALSE;
    }

    list.Close();
    if (list.GetError() != 0) {
        Fail(ListFailureCause(list.GetError(), libraryPath));
        if (!ours) {
            m_strFailure += MayBeIncomplete(libraryPath, list.GetRecordCount());
        }
        return FALSE;
    }
    KeepWrittenList(m_clashCache, libraryPath, m_written);
    return TRUE;
}

std::string CSLConvert::MayBeIncomplete(const std::string& libraryPath, std::int32_t stored) {
    // The data system's record library keeps what it stored: the list is
    // closed as it is, and only the user can keep it from an instrument.
    return " The Sample List " + libraryPath + " may be incomplete: " + std::to_string(stored) +
           (stored == 1 ? " record was" : " records were") +
           " stored before the failure, and it was closed as it is; do not acquire from it.";
}

BOOL CSLConvert::IsInputUnchanged(const FileStatus& atStart) const {
    const Result<FileStatus> now = StatusAt(m_strInput);
    return now.ok() && SameStamp(now.value(), atStart) ? TRUE : FALSE;
}

BOOL CSLConvert::WriteRecords(CSourceListFile& source, CSampListFile* list) {
    RecordTexts texts;
    texts.baseName = BaseName();
    const std::string* names[] = {&m_strMSFile, &m_strInletFile, &m_strMacro};
    for (std::size_t i = 0; i < texts.plainNames.size(); ++i) {
        texts.plainNames[i] = *names[i];
        texts.bracketedNames[i] = "[" + *names[i] + "]";
    }

    std::int64_t number = 0;
    SOURCE_ENTRY entry;
    CSampListRecord record;
    for (;;) {
        const BOOL more = source.ReadEntry(entry);
        m_report.sampleLines = source.GetSampleLineCount();
        m_report.skippedLines = source.GetSkippedLineCount();
        if (!more) {
            break;
        }

        if (!Fits(std::snprintf(texts.value, sizeof(texts.value), "%.3f", entry.fColumn5Value),
                  sizeof(texts.value))) {
            char shown[32];
            std::snprintf(shown, sizeof(shown), "%g", entry.fColumn5Value);
            Fail("The value " + std::string(shown) + " in column 5 of " + InputLine(source) +
                 " has more digits than a Sample List record holds (" +
                 std::to_string(sizeof(texts.value) - 1) + " characters); the conversion stopped.");
            return FALSE;
        }
        char tail[sizeof(SAMPLE_RECORD::szFraction)];
        const int tailLength =
            std::snprintf(tail, sizeof(tail), ", %.2f, %.2f", static_cast<double>(entry.fColumn3),
                          static_cast<double>(entry.fColumn4));
        texts.fractionTail.assign(tailLength >= 0 ? tail : "");
        texts.entry = &entry;

        // Untouched fields of the first entry's records stay zero; from the
        // next entry on they hold "[]", as the data system expects of rows
        // after the first.
        if (source.GetRequestedRecords() > m_nLastNumber - number) {
            RefuseTooManyRecords(source, entry, number);
            return FALSE;
        }
        record.Reset(number != 0 ? TRUE : FALSE);
        for (std::int64_t fraction = entry.nFirstFraction; fraction <= entry.nLastFraction;
             ++fraction) {
            if (number >= m_nLastNumber) {
                Fail("A Sample List cannot hold more than " + std::to_string(m_nLastNumber) +
                     " records; the conversion stopped at " + InputLine(source) + ".");
                return FALSE;
            }
            ++number;
            if (!FillRecord(record, texts, fraction, number)) {
                return FALSE;
            }
            if (m_onRecord) {
                m_onRecord(record);
            }
            if (list != nullptr) {
                m_written.Add(FixedFieldText(record.m_record.szDataFile));
            }
            if (list == nullptr || list->AppendRecord(record)) {
                ++m_report.records;
                continue;
            }

            // One refused record makes the list incomplete: it is given up
            // whole, so there is no point in going on.
            Fail("Record " + std::to_string(number) + " (from " + InputLine(source) +
                 ") could not be stored: " + ListFailureCause(list->GetError(), m_strOutput));
            return FALSE;
        }
    }
    return TRUE;
}

void CSLConvert::RefuseTooManyRecords(CSourceListFile& source, SOURCE_ENTRY& entry,
                                      std::int64_t before) {
    // The line's range is not counted out one by one: the rest of the
    // export is only read, to say how many records it asks for in all.
    const std::string where = InputLine(source);
    std::int64_t total = std::min(before + source.GetRequestedRecords(), kWideIntegerLimit);
    while (source.ReadEntry(entry)) {
        total = std::min(total + source.GetRequestedRecords(), kWideIntegerLimit);
    }
    m_report.sampleLines = source.GetSampleLineCount();
    m_report.skippedLines = source.GetSkippedLineCount();
    Fail("The export asks for " + std::string(total >= kWideIntegerLimit ? "more than " : "") +
         std::to_string(total) + " records, and a Sample List cannot hold more than " +
         std::to_string(m_nLastNumber) + " records: " + where +
         " takes the count past that, so the conversion stopped there, before making that "
         "line's records. Split the export, or correct its fraction ranges.");
}

BOOL CSLConvert::FillRecord(CSampListRecord& record, const RecordTexts& texts,
                            std::int64_t fraction, std::int64_t number) {
    SAMPLE_RECORD& r = record.m_record;
    // The first record of a list is written plain, every later one in
    // brackets.
    const bool plain = number == 1;

    // The record name is "%s%.3lld": the number in at least three digits.
    const bool nameFits =
        PutText(r.szDataFile,
                FieldText().Open(plain).Add(texts.baseName).AddNumber(number, 3).Close(plain));

    // "Fraction:%lld, %.2f, %.2f", cut to the field.
    WriteFixedFieldCut(
        r.szFraction,
        FieldText().Add("Fraction:").AddNumber(fraction).Add(texts.fractionTail).View());

    const bool valueFits = WriteFixedField(r.szValue[0], texts.value);
    const bool numberFits =
        PutText(r.szRecordNumber, FieldText().Open(plain).AddNumber(number).Close(plain));
    WriteFixedFieldCut(r.szColumn5Text, texts.entry->strColumn5Text);

    const std::array<std::string, 3>& names = plain ? texts.plainNames : texts.bracketedNames;
    const bool namesFit = PutText(r.szMSMethod, names[0]) && PutText(r.szInletMethod, names[1]) &&
                          PutText(r.szMacro, names[2]);

    if (!nameFits || !valueFits || !numberFits || !namesFit) {
        // CheckNames and the value test in WriteRecords keep every text
        // within its field; this guards the record against their change.
        Fail("Record " + std::to_string(number) +
             " has a text longer than its field; the conversion stopped.");
        return FALSE;
    }
    return TRUE;
}
