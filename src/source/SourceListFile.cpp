#include "source/SourceListFile.h"

#include <algorithm>
#include <string_view>

#include "source/NumericText.h"
#include "source/SourceLineCheck.h"

namespace {

// Field INDEX (0-based) of FIELDS; empty when the line has fewer fields, so
// a short sample line reads its missing columns as empty.
std::string_view FieldAt(const std::vector<std::string>& fields, std::size_t index) {
    return index < fields.size() ? std::string_view(fields[index]) : std::string_view();
}

float FloatValue(std::string_view text) {
    return static_cast<float>(DecimalValue(text));
}

}  // namespace

CSourceListFile::CSourceListFile(const std::string& path) : m_strPath(path) {
    m_file.Open(path, CStdioFile::modeRead);
    m_file.SetDelimiters("\t");
    m_file.SetMergeDelimiters(TRUE);
}

CSourceListFile::~CSourceListFile() {
    m_file.Close();
}

void CSourceListFile::SetReport(ConversionReport* report) {
    m_check = report != nullptr ? std::make_unique<SourceLineCheck>(*report, m_strPath) : nullptr;
}

BOOL CSourceListFile::IsOpen() const {
    return m_file.IsOpen();
}

std::int64_t CSourceListFile::GetLineNumber() const {
    return m_nEntryLine;
}

BOOL CSourceListFile::ReadEntry(SOURCE_ENTRY& entry) {
    // A line is a sample line when its first column is a non-zero number;
    // the test is made on the double value, before narrowing to float.
    double key = 0.0;
    for (;;) {
        if (!m_file.ReadRecord(m_fields, nullptr)) {
            if (m_check) {
                m_check->OnEnd(m_nSampleLines);
            }
            return FALSE;
        }
        if (m_check) {
            m_check->OnLine(m_file.GetLineNumber(), m_file.GetRecordLine());
        }
        key = DecimalValue(FieldAt(m_fields, 0));
        if (key != 0.0) {
            break;
        }
        ++m_nSkippedLines;
        if (m_check) {
            m_check->OnSkipped(m_file.GetLineNumber(), m_fields);
        }
    }
    ++m_nSampleLines;
    m_nEntryLine = m_file.GetLineNumber();
    if (m_check) {
        m_check->OnSample(m_nEntryLine, m_file.GetRecordLine(), m_fields);
    }

    entry.fKey = static_cast<float>(key);
    entry.strColumn2.assign(FieldAt(m_fields, 1));
    entry.fColumn3 = FloatValue(FieldAt(m_fields, 2));
    entry.fColumn4 = FloatValue(FieldAt(m_fields, 3));
    entry.strColumn7.assign(FieldAt(m_fields, 6));
    entry.strColumn8.assign(FieldAt(m_fields, 7));

    // Column 5: a text, then a number after its last (upper-case) M.
    const std::string_view column5 = FieldAt(m_fields, 4);
    const std::size_t m = column5.rfind('M');
    if (m == std::string_view::npos) {
        entry.strColumn5Text.assign(column5);
        entry.fColumn5Value = 0;
    } else {
        entry.strColumn5Text.assign(column5.substr(0, m));
        entry.fColumn5Value = FloatValue(column5.substr(m + 1));
    }

    // Column 6: the fraction range, numbers after the first and last colon.
    const std::string_view column6 = FieldAt(m_fields, 5);
    const std::size_t first = column6.find(':');
    if (first == std::string_view::npos) {
        entry.nFirstFraction = 0;
        entry.nLastFraction = 0;
        m_nRequestedRecords = 1;
    } else {
        entry.nFirstFraction = IntegerValue(column6.substr(first + 1));
        const std::size_t last = column6.rfind(':');
        entry.nLastFraction = IntegerValue(column6.substr(last + 1));
        if (entry.nLastFraction < entry.nFirstFraction) {
            entry.nLastFraction = entry.nFirstFraction;
        }
        const std::int64_t from = WideIntegerValue(column6.substr(first + 1));
        m_nRequestedRecords = std::max(from, WideIntegerValue(column6.substr(last + 1))) - from + 1;
    }
    return TRUE;
}
