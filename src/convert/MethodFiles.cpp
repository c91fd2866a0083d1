#include "convert/MethodFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

#include "datasystem/DataSystemEntries.h"
#include "datasystem/FixedField.h"
#include "datasystem/LocationFields.h"
#include "framework/AsciiCase.h"

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

// TRUE when ENTRY of the open directory DIR is a regular file, links followed.
bool IsRegularFile(DIR* dir, const dirent& entry) {
    if (entry.d_type == DT_REG) {
        return true;
    }
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return false;
    }
    struct stat st;
    return ::fstatat(::dirfd(dir), entry.d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
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

    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), ::closedir);
    if (!dir) {
        return files;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name(entry->d_name);
        if (name == "." || name == ".." || !EndsIgnoringCase(name, ending) ||
            !IsRegularFile(dir.get(), *entry)) {
            continue;
        }
        const std::size_t dot = name.find('.');
        files.push_back(MethodFile{std::string(name),
                                   std::string(name.substr(0, dot > 0 ? dot : name.size()))});
    }
    std::sort(files.begin(), files.end(), Before);
    return files;
}
