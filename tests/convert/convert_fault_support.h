// Shared by the converter's fault and concurrency tests: exports of a
// chosen size, reading a Sample List back through the record library with
// the numbering checked, and the command of the conversion probe.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "convert/convert_test_support.h"
#include "datasystem/ferrox.h"
#include "datasystem/ostrel.h"
#include "support/child_process.h"
#include "support/scratch_dir.h"

namespace k2ltest {

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

// What a Sample List holds, as the record library reads it.
struct ListContents {
    std::int32_t openStatus = DB3_OK;
    std::int32_t count = 0;
    // The first record whose name or running number does not follow the
    // numbering 1..count with base name BASE (0: all do).
    std::int32_t firstWrong = 0;
};

// Reads the list NAME in DIRECTORY (with its trailing '/') through the
// record library, using DIRECTORY as this process's sample-list location.
inline ListContents ReadList(const std::string& directory, const std::string& name,
                             const std::string& base) {
    GLOBAL_FILE_INFO info;
    std::memset(&info, 0, sizeof info);
    std::snprintf(info.szDirectory, sizeof info.szDirectory, "%s", directory.c_str());
    std::snprintf(info.szExtension, sizeof info.szExtension, "sdb");
    UseGlobalFileInProcess("SystemList", "SAMPLES_DB", &info);
    ListContents contents;
    contents.openStatus = DB3Open(DB3_SAMPLE_LIST, name.c_str(), DB3_MODE_OPEN);
    if (contents.openStatus != DB3_OK) {
        return contents;
    }
    contents.count = DB3GetRecordsInDB(DB3_SAMPLE_LIST);
    std::vector<unsigned char> record(DB3_SAMPLE_RECORD_SIZE);
    for (std::int32_t n = 1; n <= contents.count && contents.firstWrong == 0; ++n) {
        if (DB3HandleRecord(DB3_SAMPLE_LIST, n, record.data(), DB3_OP_READ, 0) != DB3_OK) {
            contents.firstWrong = n;
            break;
        }
        char number[16];
        std::snprintf(number, sizeof number, "%03d", n);
        const std::string plainName = base + number;
        const bool plain = n == 1;
        if (TextAt(record.data(), 0) != (plain ? plainName : "[" + plainName + "]") ||
            TextAt(record.data(), 1433) !=
                (plain ? std::to_string(n) : "[" + std::to_string(n) + "]")) {
            contents.firstWrong = n;
        }
    }
    DB3Close(DB3_SAMPLE_LIST);
    return contents;
}

// The command that runs the conversion probe (convert_probe.cpp) in a
// process of its own: INPUT converted to OUTPUT with data file name
// DATA_FILE. It prints "ok" and the number of records.
inline Command ConvertProbe(const std::string& input, const std::string& output,
                            const std::string& dataFile) {
    return Command{.program = std::string(K2L_BIN_DIR) + "/convert_probe",
                   .args = {input, output, dataFile}};
}

}  // namespace k2ltest
