#include "support/scratch_dir.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "framework/SystemError.h"

namespace k2ltest {

ScratchDir::ScratchDir(std::string_view prefix) {
    const char* base = std::getenv("TMPDIR");
    const std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") +
                                "/" + std::string(prefix) + "-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr) {
        throw std::runtime_error("cannot make a directory from " + pattern + ": " +
                                 SystemErrorText(errno));
    }
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(name.data(), error);
    m_path = error ? std::string(name.data()) : resolved.string();
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string ScratchDir::Path(const std::filesystem::path& relative) const {
    return (std::filesystem::path(m_path) / relative).string();
}

std::string ScratchDir::Write(const std::filesystem::path& relative, std::string_view bytes) const {
    const std::filesystem::path path = std::filesystem::path(m_path) / relative;
    std::error_code ignored;  // a directory that cannot be made fails the write below
    std::filesystem::create_directories(path.parent_path(), ignored);
    WriteFile(path, bytes);
    return path.string();
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::vector<std::string> Entries(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace k2ltest
