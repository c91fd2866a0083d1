// Fuzzes the path name operations on arbitrary bytes: SplitPath, MakePath
// and FullPath (framework/PathParts.h) and every CPathName operation.
//
// Input layout: up to three texts separated by line feeds: a path, a file
// name and an extension (a missing text is empty). The process runs in its
// scratch directory, so relative paths resolve there.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "framework/PathParts.h"
#include "util/PathName.h"

namespace {

// The model's character classes: both separators, and the ASCII letters
// that may name a drive.
constexpr std::string_view kSeparators = "/\\";
constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

bool IsSeparator(char c) {
    return kSeparators.find(c) != std::string_view::npos;
}

bool IsLetter(char c) {
    return kLetters.find(c) != std::string_view::npos;
}

void CheckSplit(const std::string& path) {
    const PathParts parts = SplitPath(path);
    FUZZ_CHECK(parts.drive + parts.directory + parts.name + parts.extension == path);
    FUZZ_CHECK(parts.drive.empty() ||
               (parts.drive.size() == 2 && IsLetter(parts.drive[0]) && parts.drive[1] == ':'));
    FUZZ_CHECK(!parts.drive.empty() || path.size() < 2 || !IsLetter(path[0]) || path[1] != ':');
    FUZZ_CHECK(parts.directory.empty() || IsSeparator(parts.directory.back()));
    FUZZ_CHECK(parts.name.find_first_of("/\\") == std::string::npos);
    FUZZ_CHECK(parts.extension.empty() || parts.extension[0] == '.');
    FUZZ_CHECK(parts.extension.find_first_of("/\\") == std::string::npos);
    FUZZ_CHECK(parts.extension.find('.', 1) == std::string::npos);
    FUZZ_CHECK(!parts.extension.empty() || parts.name.find('.') == std::string::npos);
    FUZZ_CHECK(MakePath(parts.drive, parts.directory, parts.name, parts.extension) == path);
    FUZZ_CHECK(
        parts.WithinClassicLimits() ==
        (parts.directory.size() <= 255 && parts.name.size() <= 255 && parts.extension.size() <= 255
             ? TRUE
             : FALSE));
}

// MakePath as documented, for parts that need not come from SplitPath.
std::string ModelMakePath(const std::string& drive, const std::string& directory,
                          const std::string& name, const std::string& extension) {
    std::string path;
    if (!drive.empty()) {
        path = std::string(1, drive[0]) + ":";
    }
    path += directory;
    if (!directory.empty() && !IsSeparator(directory.back())) {
        const std::size_t last = directory.find_last_of("/\\");
        path += last != std::string::npos ? directory[last] : (drive.empty() ? '/' : '\\');
    }
    path += name;
    if (!extension.empty() && extension[0] != '.') {
        path += '.';
    }
    return path + extension;
}

void CheckFullPath(const std::string& path) {
    const std::string full = FullPath(path, kMaxPath);
    if (full.empty()) {
        return;
    }
    FUZZ_CHECK(full.size() < kMaxPath);
    FUZZ_CHECK(full.find('\0') == std::string::npos);
    const bool driveRoot =
        full.size() >= 3 && IsLetter(full[0]) && full[1] == ':' && IsSeparator(full[2]);
    FUZZ_CHECK(driveRoot || IsSeparator(full[0]));
    const std::string rest = full.substr(driveRoot ? 3 : 1);
    // No empty, "." or ".." segment is left.
    std::size_t begin = 0;
    while (begin < rest.size()) {
        std::size_t end = begin;
        while (end < rest.size() && !IsSeparator(rest[end])) {
            ++end;
        }
        const std::string segment = rest.substr(begin, end - begin);
        FUZZ_CHECK(!segment.empty() && segment != "." && segment != "..");
        begin = end + 1;
    }
    FUZZ_CHECK(FullPath(full, kMaxPath) == full);
}

void CheckPathName(const std::string& path, const std::string& name, const std::string& extension) {
    const bool fits = path.size() < kMaxPath && path.find('\0') == std::string::npos;
    CPathName pathName(path);
    FUZZ_CHECK(pathName.GetPath() == (fits ? path : std::string()));
    FUZZ_CHECK(pathName.IsValid() == (fits && !path.empty() ? TRUE : FALSE));
    FUZZ_CHECK(pathName.GetDirectory() + pathName.GetFileName() == pathName.GetPath());

    // Each change either stores and returns the whole new path, or leaves
    // the path as it was and returns "".
    std::string before = pathName.GetPath();
    PathParts parts = SplitPath(before);
    std::string wanted = ModelMakePath(parts.drive, parts.directory, name, parts.extension);
    std::string result = pathName.SetFileName(name);
    const auto fitsBuffer = [](const std::string& text) {
        return text.size() < kMaxPath && text.find('\0') == std::string::npos;
    };
    FUZZ_CHECK(result == (fitsBuffer(wanted) ? wanted : std::string()));
    FUZZ_CHECK(pathName.GetPath() == (fitsBuffer(wanted) ? wanted : before));

    before = pathName.GetPath();
    parts = SplitPath(before);
    wanted = ModelMakePath(parts.drive, parts.directory, parts.name, extension);
    result = pathName.SetExtension(extension);
    FUZZ_CHECK(result == (fitsBuffer(wanted) ? wanted : std::string()));
    FUZZ_CHECK(pathName.GetPath() == (fitsBuffer(wanted) ? wanted : before));

    before = pathName.GetPath();
    wanted = FullPath(before, kMaxPath);
    result = pathName.GetFullPath();
    FUZZ_CHECK(result == wanted);
    FUZZ_CHECK(pathName.GetPath() == (wanted.empty() ? before : wanted));
    FUZZ_CHECK(pathName.GetDirectory() + pathName.GetFileName() == pathName.GetPath());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> texts;
    std::size_t begin = 0;
    while (texts.size() < 2) {
        const std::size_t end = input.find('\n', begin);
        if (end == std::string_view::npos) {
            break;
        }
        texts.emplace_back(input.substr(begin, end - begin));
        begin = end + 1;
    }
    texts.emplace_back(input.substr(begin));
    texts.resize(3);
    const std::string& path = texts[0];
    const std::string& name = texts[1];
    const std::string& extension = texts[2];

    CheckSplit(path);
    CheckSplit(name);
    FUZZ_CHECK(MakePath(path, name, extension, path) == ModelMakePath(path, name, extension, path));
    FUZZ_CHECK(MakePath("", path, name, extension) == ModelMakePath("", path, name, extension));
    CheckFullPath(path);
    CheckFullPath(name);
    CheckPathName(path, name, extension);
    return 0;
}
