// Makes a fresh temporary directory the process's current directory for the
// lifetime of the object, then restores the previous one and removes the
// temporary directory with everything in it.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

class ScopedTempCwd {
public:
    ScopedTempCwd() {
        m_previous = std::filesystem::current_path().string();
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern =
            std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/k2l-paths-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data()) == nullptr) {
            ADD_FAILURE() << "mkdtemp failed for " << pattern;
            return;
        }
        m_dir = buffer.data();
        std::filesystem::current_path(m_dir);
        // The directory as the process sees it, with symbolic links resolved.
        m_cwd = std::filesystem::current_path().string();
    }

    ~ScopedTempCwd() {
        std::filesystem::current_path(m_previous);
        if (!m_dir.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_dir, ignored);
        }
    }

    ScopedTempCwd(const ScopedTempCwd&) = delete;
    ScopedTempCwd& operator=(const ScopedTempCwd&) = delete;

    const std::string& cwd() const { return m_cwd; }

private:
    std::string m_previous;
    std::string m_dir;
    std::string m_cwd;
};
