#include "FuzzSupport.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "framework/SystemError.h"
#include "support/scratch_dir.h"

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

// The scratch directory, with the data system's settings kept inside it.
class Scratch {
public:
    Scratch() {
        const std::string settings = m_dir.Path("lumenda");
        if (mkdir(settings.c_str(), 0700) != 0) {
            Fatal("cannot create " + settings + ": " + SystemErrorText(errno));
        }
        setenv("LUMENDA_HOME", settings.c_str(), 1);
        setenv("XDG_CONFIG_HOME", m_dir.Path().c_str(), 1);
        setenv("HOME", m_dir.Path().c_str(), 1);
        setenv("XDG_CACHE_HOME", m_dir.Path().c_str(), 1);
    }
    const std::string& Path() const { return m_dir.Path(); }

private:
    k2ltest::ScratchDir m_dir{"k2l-fuzz"};
};

}  // namespace

const std::string& ScratchDir() {
    static const Scratch scratch;
    return scratch.Path();
}

std::vector<std::string_view> LinesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (end != std::string_view::npos && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string ScratchPath(std::string_view name) {
    return ScratchDir() + "/" + std::string(name);
}

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    k2ltest::WriteFile(path, std::string_view(reinterpret_cast<const char*>(data), size));
}

std::string ReadFile(const std::string& path) {
    if (access(path.c_str(), R_OK) != 0) {
        Fatal("cannot read " + path + ": " + SystemErrorText(errno));
    }
    return k2ltest::ReadFile(path);
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

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Check(chdir(fuzz::ScratchDir().c_str()) == 0, "the scratch directory is current");
    return 0;
}
