#include "convert/MethodFiles.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

#include "datasystem/DataSystemEntries.h"
#include "datasystem/FixedField.h"
#include "datasystem/LocationFields.h"
#include "framework/AsciiCase.h"
#include "framework/File.h"

namespace {

bool EndsIgnoringCase(std::string_view text, std::string_view end) {
    return text.size() >= end.size() &&
           SameIgnoringAsciiCase(text.substr(text.size() - end.size()), end);
}

// Case-insensitive order (ASCII); names equal but for case in byte order.
bool Before(const MethodFile& a, const MethodFile& b) {
    const std::string& x = a.fileName;
    const std::string& y = b.fileName;
    const auto folded = std::mismatch(x.begin(), x.end(), y.begin(), y.end(), [](char p, char q) {
        return AsciiLower(p) == AsciiLower(q);
    });
    if (folded.first != x.end() && folded.second != y.end()) {
        return static_cast<unsigned char>(AsciiLower(*folded.first)) <
               static_cast<unsigned char>(AsciiLower(*folded.second));
    }
    if (x.size() != y.size()) {
        return x.size() < y.size();
    }
    return x < y;
}

// TRUE when ENTRY of DIRECTORY is a regular file, links followed.
bool IsRegularFile(const std::string& directory, const DirectoryEntry& entry) {
    if (entry.kind == FileKind::kRegular) {
        return true;
    }
    if (entry.kind != FileKind::kSymbolicLink && entry.kind != FileKind::kNone) {
        return false;
    }
    const Result<FileStatus> status = StatusAt(directory + "/" + entry.name);
    return status.ok() && status.value().kind == FileKind::kRegular;
}

}  // namespace

MethodFolder MethodFolderOf(const char* key) {
    GLOBAL_FILE_INFO info;
    std::memset(&info, 0, sizeof info);
    DataSystem().MSGGetGlobalFile(kLocationSection, key, 0, &info);
    return MethodFolder{std::string(FixedFieldText(info.szDirectory)),
                        std::string(FixedFieldText(info.szExtension))};
}

std::vector<MethodFile> ListMethodFiles(const MethodFolder& folder) {
    std::vector<MethodFile> files;
    std::string directory = folder.directory;
    if (directory.empty()) {
        return files;
    }
    if (directory.size() > 1 && (directory.back() == '\\' || directory.back() == '/')) {
        directory.pop_back();
    }
    std::string ending;
    if (!folder.extension.empty()) {
        ending = folder.extension.front() == '.' ? folder.extension : "." + folder.extension;
    }

    const Result<std::vector<DirectoryEntry>> entries = ListDirectory(directory);
    if (!entries.ok()) {
        return files;
    }
    for (const DirectoryEntry& entry : entries.value()) {
        const std::string_view name(entry.name);
        if (!EndsIgnoringCase(name, ending) || !IsRegularFile(directory, entry)) {
            continue;
        }
        const std::size_t dot = name.find('.');
        files.push_back(MethodFile{std::string(name),
                                   std::string(name.substr(0, dot > 0 ? dot : name.size()))});
    }
    std::sort(files.begin(), files.end(), Before);
    return files;
}
