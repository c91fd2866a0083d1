#include "datasystem/ListFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <set>
#include <vector>

#include "datasystem/ListLock.h"

namespace ferrox {

namespace {

constexpr const char* kLockSuffix = ".lock";
constexpr const char* kTemporaryMarker = ".new-";

std::string BaseOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The list NAME that ENTRY belongs to, as one of the files named above;
// empty when ENTRY is not one of them.
std::string ListOfEntry(const std::string& entry) {
    if (entry.size() < 2 || entry.front() != '.') {
        return std::string();
    }
    // A list being built never ends in ".lock": its name ends in a number
    // or in "-journal".
    const std::string lockSuffix = kLockSuffix;
    if (EndsWith(entry, lockSuffix)) {
        return entry.size() > lockSuffix.size() + 1
                   ? entry.substr(1, entry.size() - lockSuffix.size() - 1)
                   : std::string();
    }
    const std::size_t marker = entry.rfind(kTemporaryMarker);
    if (marker != std::string::npos && marker > 1) {
        return entry.substr(1, marker - 1);
    }
    return std::string();
}

}  // namespace

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string LockPathFor(const std::string& listPath) {
    return DirectoryOf(listPath) + "." + BaseOf(listPath) + kLockSuffix;
}

std::string CreateTemporaryFor(const std::string& listPath) {
    const std::string prefix = DirectoryOf(listPath) + "." + BaseOf(listPath) + kTemporaryMarker +
                               std::to_string(getpid()) + "-";
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = prefix + std::to_string(attempt);
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return candidate;
        }
        if (errno != EEXIST) {
            return std::string();
        }
    }
    errno = EEXIST;
    return std::string();
}

void RemoveTemporary(const std::string& temporaryPath) {
    ::unlink(temporaryPath.c_str());
    ::unlink((temporaryPath + "-journal").c_str());
}

void RemoveAbandonedFilesBeside(const std::string& listPath) {
    const std::string directory = DirectoryOf(listPath);
    const std::string heldList = BaseOf(listPath);
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr) {
        return;
    }
    std::set<std::string> lists;
    std::vector<std::string> entries;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        const std::string list = ListOfEntry(name);
        if (!list.empty()) {
            lists.insert(list);
            entries.push_back(name);
        }
    }
    ::closedir(dir);

    for (const std::string& list : lists) {
        ListLock lock;
        // Taken at once only when no writer of that list is alive; a
        // writer holds its lock for as long as its files are in use.
        if (list != heldList && lock.Acquire(directory + list, 0) != 0) {
            continue;
        }
        const std::string temporaryPrefix = "." + list + kTemporaryMarker;
        for (const std::string& name : entries) {
            if (name.compare(0, temporaryPrefix.size(), temporaryPrefix) == 0 &&
                !EndsWith(name, kLockSuffix)) {
                ::unlink((directory + name).c_str());
            }
        }
        lock.Release();  // removes the lock file too
    }
}

}  // namespace ferrox
