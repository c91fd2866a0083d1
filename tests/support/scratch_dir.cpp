#include "support/scratch_dir.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "framework/SystemError.h"

namespace k2ltest {

ScratchDir::ScratchDir(std::string_view prefix) {
    const char* base = std::getenv("TMPDIR");
    std::error_code error;
    const std::string folder = base != nullptr && *base != '\0'
                                   ? std::string(base)
                                   : std::filesystem::temp_directory_path(error).string();
    const std::string pattern =
        (folder.empty() ? std::string("/tmp") : folder) + "/" + std::string(prefix) + "-";
    // A name nothing has: made, not found (create_directory is false for
    // one that exists).
    std::random_device random;
    std::string name;
    for (int attempt = 0;; ++attempt) {
        name = pattern + std::to_string(random() % 1000000000u);
        if (std::filesystem::create_directory(name, error)) {
            break;
        }
        if (error || attempt == 100) {
            throw std::runtime_error("cannot make a directory from " + pattern + ": " +
                                     (error ? error.message() : SystemErrorText(EEXIST)));
        }
    }
    std::filesystem::permissions(name, std::filesystem::perms::owner_all, error);
    const std::filesystem::path resolved = std::filesystem::canonical(name, error);
    m_path = error ? name : resolved.string();
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

std::string NativePath(std::string path) {
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '/', '\\');
#endif
    return path;
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
