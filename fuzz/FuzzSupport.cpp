#include "FuzzSupport.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace fuzz {

namespace {

[[noreturn]] void Fatal(const std::string& what) {
    std::fprintf(stderr, "fuzz support: %s\n", what.c_str());
    std::abort();
}

void RemoveTree(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) {
        return;
    }
    if (S_ISDIR(st.st_mode)) {
        EmptyDirectory(path);
        rmdir(path.c_str());
    } else {
        unlink(path.c_str());
    }
}

std::string MakeScratchDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = (base != nullptr && *base != '\0') ? base : "/tmp";
    pattern += "/k2l-fuzz-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
        Fatal("cannot create a scratch directory from " + pattern + ": " + std::strerror(errno));
    }
    std::string directory(buffer.data());
    const std::string settings = directory + "/lumenda";
    if (mkdir(settings.c_str(), 0700) != 0) {
        Fatal("cannot create " + settings + ": " + std::strerror(errno));
    }
    setenv("LUMENDA_HOME", settings.c_str(), 1);
    setenv("XDG_CONFIG_HOME", directory.c_str(), 1);
    setenv("HOME", directory.c_str(), 1);
    return directory;
}

}  // namespace

const std::string& ScratchDir() {
    static const std::string directory = MakeScratchDir();
    return directory;
}

std::string ScratchPath(std::string_view name) {
    return ScratchDir() + "/" + std::string(name);
}

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    WriteFile(path, std::string_view(reinterpret_cast<const char*>(data), size));
}

void WriteFile(const std::string& path, std::string_view text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        Fatal("cannot write " + path + ": " + std::strerror(errno));
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !written) {
        Fatal("cannot write " + path);
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Fatal("cannot read " + path);
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void EmptyDirectory(const std::string& directory) {
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr) {
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    closedir(dir);
    for (const std::string& name : names) {
        RemoveTree(directory + "/" + name);
    }
}

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

}  // namespace fuzz
