// Shared pieces of the data system's tests: a private settings directory
// for every test, records with recognisable content and lists of them, and
// the probe program run as another process.
#pragma once

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "datasystem/ferrox.h"
#include "datasystem/ostrel.h"
#include "support/child_process.h"
#include "support/sample_lists.h"
#include "support/scoped_env.h"
#include "support/scratch_dir.h"

namespace dstest {

inline bool SameInfo(const GLOBAL_FILE_INFO& a, const GLOBAL_FILE_INFO& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

inline GLOBAL_FILE_INFO Get(const char* key, int32_t* status = nullptr) {
    GLOBAL_FILE_INFO info;
    std::memset(&info, 0xAB, sizeof info);  // must be overwritten whole
    const int32_t rc = _MSGGetGlobalFile("SystemList", key, 0, &info);
    if (status != nullptr) {
        *status = rc;
    }
    return info;
}

using Record = k2ltest::ListRecord;

// A record whose every byte depends on NUMBER, with readable text fields.
inline Record MakeRecord(int number) {
    Record record;
    for (std::size_t i = 0; i < record.size(); ++i) {
        record[i] =
            static_cast<unsigned char>((i * 31 + static_cast<std::size_t>(number) * 7) % 251);
    }
    auto text = [&](std::size_t offset, std::size_t span, const std::string& value) {
        std::memset(record.data() + offset, 0, span);
        std::memcpy(record.data() + offset, value.data(), value.size());
    };
    char running[8];
    std::snprintf(running, sizeof running, "%03d", number % 1000);
    text(0, 260, std::string("PLATE") + running);
    text(260, 120, "Fraction " + std::to_string(number));
    text(380, 260, "MSMETH");
    text(640, 260, "INLET");
    text(1160, 273, "MACRO1");
    text(1433, 20, std::to_string(number));
    text(1904, 51, "Serum");
    text(1955, 30, "12.5");
    return record;
}

// Appends RECORD (MakeRecord(NUMBER) when not given) as record NUMBER of the
// open Sample List; the record library's status.
inline int32_t Append(int32_t number, Record record) {
    return DB3HandleRecord(DB3_SAMPLE_LIST, number, record.data(), DB3_OP_STORE, DB3_FLAG_APPEND);
}
inline int32_t Append(int32_t number) {
    return Append(number, MakeRecord(number));
}

// In a child process that then dies without closing: opens the list NAME
// in MODE and appends MakeRecord(FIRST) to MakeRecord(LAST). The child's
// exit code: 0 when every call succeeded.
inline int AppendAndDie(const std::string& name, int32_t mode, int first, int last) {
    return k2ltest::RunInChild([&](std::string&) {
               if (DB3Open(DB3_SAMPLE_LIST, name.c_str(), mode) != DB3_OK) {
                   return 1;
               }
               for (int n = first; n <= last; ++n) {
                   if (Append(n) != DB3_OK) {
                       return 2;
                   }
               }
               return 0;
           })
        .exitCode;
}

// Runs the probe program (data_system_probe.cpp) in a process of its own
// with ARGUMENTS (separated by blanks) and returns what it printed, without
// the line end; "exit N" when it failed.
inline std::string RunProbe(const std::string& arguments) {
    k2ltest::Command probe{.program = std::string(K2L_BIN_DIR) + "/data_system_probe"};
    std::istringstream words(arguments);
    for (std::string word; words >> word;) {
        probe.args.push_back(word);
    }
    const k2ltest::ChildResult run = k2ltest::RunProgram(probe);
    std::string output = run.out;
    if (!output.empty() && output.back() == '\n') {
        output.pop_back();
    }
    return run.exitCode == 0 ? output : "exit " + std::to_string(run.exitCode);
}

// Every test gets its own settings directory (LUMENDA_HOME) and a
// directory for Sample Lists published as the sample-list location of this
// process.
class DataSystemTest : public ::testing::Test {
protected:
    DataSystemTest()
        : m_home("LUMENDA_HOME", (m_scratch.Path() + "/lumenda").c_str()),
          m_lists(m_scratch.Path() + "/lists/") {
        std::filesystem::create_directory(m_lists);
    }
    ~DataSystemTest() override { DB3Close(DB3_SAMPLE_LIST); }

    // Makes LISTS_DIR (with EXTENSION) this process's sample-list location.
    void UseListDirectory(const std::string& directory, const std::string& extension = "sdb") {
        ASSERT_EQ(k2ltest::SetLocation(kSampleListKey, directory, extension), OSTREL_OK);
    }

    std::string SettingsFile() const { return m_scratch.Path() + "/lumenda/Lumenda.ini"; }
    std::string ListPath(const std::string& name) const { return m_lists + name + ".sdb"; }

    // Creates the list NAME in m_lists holding MakeRecord(1) to MakeRecord(COUNT).
    void CreateList(const std::string& name, int count) const {
        std::vector<Record> records;
        for (int n = 1; n <= count; ++n) {
            records.push_back(MakeRecord(n));
        }
        ASSERT_EQ(k2ltest::WriteList(ListPath(name), records), DB3_OK);
    }

    // Checks that the list NAME in m_lists holds exactly MakeRecord(1) to
    // MakeRecord(COUNT).
    void ExpectRecords(const std::string& name, int count) const {
        const k2ltest::ListRead list = k2ltest::ReadList(ListPath(name));
        ASSERT_EQ(list.status, DB3_OK) << DB3StatusText(list.status);
        ASSERT_EQ(list.records.size(), static_cast<std::size_t>(count));
        for (int n = 1; n <= count; ++n) {
            ASSERT_EQ(list.records[static_cast<std::size_t>(n - 1)], MakeRecord(n))
                << "record " << n;
        }
    }

    k2ltest::ScratchDir m_scratch;
    k2ltest::ScopedEnv m_home;
    std::string m_lists;
};

}  // namespace dstest
