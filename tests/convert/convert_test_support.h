// Shared by the converter's tests: a temporary directory that is removed
// with everything in it, input files written into it, and the fields of a
// stored record.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "samplelist/SampleRecord.h"

namespace k2ltest {

class TempDir {
public:
    TempDir() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern =
            std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/k2l-convert-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "mkdtemp failed for " << pattern;
        }
        m_path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path(const std::string& name) const { return m_path + "/" + name; }
    const std::string& Root() const { return m_path; }

    // Writes TEXT as the file NAME and returns its path.
    std::string Write(const std::string& name, const std::string& text) const {
        const std::string path = Path(name);
        std::ofstream out(path, std::ios::binary);
        out << text;
        return path;
    }

private:
    std::string m_path;
};

// One sample line of an export: eight tab-separated columns.
inline std::string SampleLine(const std::string& key, const std::string& column3,
                              const std::string& column4, const std::string& column5,
                              const std::string& fractions) {
    return key + "\tS" + key + "\t" + column3 + "\t" + column4 + "\t" + column5 + "\t" + fractions +
           "\tc7\tc8\n";
}

// The text at OFFSET of RECORD, up to its zero byte or the end of the record.
inline std::string TextAt(const void* record, std::size_t offset) {
    const char* text = static_cast<const char*>(record) + offset;
    return std::string(text, strnlen(text, sizeof(SAMPLE_RECORD) - offset));
}

}  // namespace k2ltest
