// Shared pieces of the data system's tests: a private settings directory
// for every test, location records, records with recognisable content, and
// running code in a child process (for crashes and resource limits).
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "datasystem/FixedField.h"
#include "datasystem/ferrox.h"
#include "datasystem/ostrel.h"
#include "framework/scratch_dir.h"

namespace dstest {

// Sets or unsets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (m_old) {
            setenv(m_name.c_str(), m_old->c_str(), 1);
        } else {
            unsetenv(m_name.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

inline GLOBAL_FILE_INFO MakeInfo(const std::string& directory, const std::string& name,
                                 const std::string& extension) {
    GLOBAL_FILE_INFO info;
    std::memset(&info, 0, sizeof info);
    WriteFixedFieldCut(info.szDirectory, directory);
    WriteFixedFieldCut(info.szName, name);
    WriteFixedFieldCut(info.szExtension, extension);
    return info;
}

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

using Record = std::array<unsigned char, DB3_SAMPLE_RECORD_SIZE>;

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

// Runs BODY in a forked child and returns its exit code (-1 when it did not
// exit normally). The child ends with _exit, running no destructors.
inline int RunInChild(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        _exit(body());
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// Runs the probe program (data_system_probe.cpp) in a process of its own
// with ARGUMENTS and returns what it printed, without the line end;
// "exit N" when it failed.
inline std::string RunProbe(const std::string& arguments) {
    const std::string command = std::string(K2L_BIN_DIR) + "/data_system_probe " + arguments;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return "cannot run";
    }
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    const int status = pclose(pipe);
    if (!output.empty() && output.back() == '\n') {
        output.pop_back();
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0
               ? output
               : "exit " + std::to_string(WEXITSTATUS(status));
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
        const GLOBAL_FILE_INFO info = MakeInfo(directory, "", extension);
        ASSERT_EQ(UseGlobalFileInProcess("SystemList", "SAMPLES_DB", &info), OSTREL_OK);
    }

    std::string SettingsFile() const { return m_scratch.Path() + "/lumenda/Lumenda.ini"; }
    std::string ListPath(const std::string& name) const { return m_lists + name + ".sdb"; }

    ScratchDir m_scratch;
    ScopedEnv m_home;
    std::string m_lists;
};

}  // namespace dstest
