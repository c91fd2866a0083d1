// Shared by the converter's tests: lines of an export and exports of a
// chosen size, the conversion these tests run and the fixture they start
// from, the fields of a stored record, and the conversion probe's command.
#pragma once

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "convert/SLConvert.h"
#include "samplelist/SampleRecord.h"
#include "support/child_process.h"
#include "support/sample_lists.h"
#include "support/scoped_env.h"
#include "support/scratch_dir.h"

namespace k2ltest {

// One sample line of an export: eight tab-separated columns.
inline std::string SampleLine(const std::string& key, const std::string& column3,
                              const std::string& column4, const std::string& column5,
                              const std::string& fractions) {
    return key + "\tS" + key + "\t" + column3 + "\t" + column4 + "\t" + column5 + "\t" + fractions +
           "\tc7\tc8\n";
}

// Writes an export of LINES sample lines with FRACTIONS fractions each (and
// two header lines) as NAME in DIR; returns its path.
inline std::string WriteExport(const ScratchDir& dir, const std::string& name, int lines,
                               int fractions) {
    std::string text = "Korrin run export\tTest\nPos\tSample\tVolume\tTime\tWell\tFractions\n";
    text.reserve(text.size() + static_cast<std::size_t>(lines) * 48);
    for (int i = 1; i <= lines; ++i) {
        text += SampleLine(std::to_string(i), "1.5", "2.25", "A" + std::to_string(i % 96) + "M7.5",
                           "R:1:" + std::to_string(fractions));
    }
    return dir.Write(name, text);
}

// The text at OFFSET of RECORD, up to its zero byte or the end of the record.
inline std::string TextAt(const void* record, std::size_t offset) {
    const char* text = static_cast<const char*>(record) + offset;
    return std::string(text, strnlen(text, sizeof(SAMPLE_RECORD) - offset));
}

// The first of RECORDS (counted from 1) whose data file name or running
// number does not follow BASE001, [BASE002], ... and 1, [2], ...; 0 when
// all do.
inline std::size_t FirstMisnumbered(const std::vector<ListRecord>& records,
                                    const std::string& base) {
    for (std::size_t n = 1; n <= records.size(); ++n) {
        char number[16];
        std::snprintf(number, sizeof number, "%03zu", n);
        const std::string name = base + number;
        const bool plain = n == 1;
        if (TextAt(records[n - 1].data(), 0) != (plain ? name : "[" + name + "]") ||
            TextAt(records[n - 1].data(), 1433) !=
                (plain ? std::to_string(n) : "[" + std::to_string(n) + "]")) {
            return n;
        }
    }
    return 0;
}

// The conversion these tests run: INPUT into OUTPUT with the MS method
// MSMETH1, the inlet method LC30, the macro ACQ and the data file name
// RUN12345 (base name RUN12), as the conversion probe runs it too.
class NamedConversion : public CSLConvert {
public:
    NamedConversion(std::string input, std::string output)
        : CSLConvert(std::move(input), std::move(output)) {
        m_strMSFile = "MSMETH1";
        m_strInletFile = "LC30";
        m_strMacro = "ACQ";
        m_strDataFile = "RUN12345";
    }
};

// What every conversion test starts from: a scratch directory holding the
// data system's settings (LUMENDA_HOME) and the folder lists/ for the
// output.
class ConversionTest : public ::testing::Test {
protected:
    ConversionTest() { std::filesystem::create_directories(m_dir.Path("lists")); }

    // The Sample List the conversions write: lists/run12.sdb.
    std::string Output() const { return m_dir.Path("lists/run12.sdb"); }
    // Writes TEXT as the export plate.txt; returns its path.
    std::string Export(const std::string& text) const { return m_dir.Write("plate.txt", text); }

    ScratchDir m_dir;
    ScopedEnv m_home{"LUMENDA_HOME", m_dir.Path("lumenda")};
};

#ifndef _WIN32  // child processes are POSIX only
// The command that runs the conversion probe (convert_probe.cpp) in a
// process of its own: INPUT converted to OUTPUT with data file name
// DATA_FILE. It prints "ok" and the number of records.
inline Command ConvertProbe(const std::string& input, const std::string& output,
                            const std::string& dataFile) {
    return Command{.program = std::string(K2L_BIN_DIR) + "/convert_probe",
                   .args = {input, output, dataFile}};
}
#endif

}  // namespace k2ltest
