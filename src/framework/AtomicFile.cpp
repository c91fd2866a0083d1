#include "framework/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#include "framework/File.h"
#include "framework/FileIdentity.h"
#include "framework/PathParts.h"

namespace {

// The process's umask. /proc tells it without changing it; changing it
// briefly (the fallback) would race with other threads creating files.
mode_t CurrentUmask() {
    if (FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned int mask = 0;
        bool found = false;
        while (std::fgets(line, sizeof line, status) != nullptr) {
            if (std::sscanf(line, "Umask: %o", &mask) == 1) {
                found = true;
                break;
            }
        }
        std::fclose(status);
        if (found) {
            return static_cast<mode_t>(mask);
        }
    }
    const mode_t mask = umask(022);
    umask(mask);
    return mask;
}

// The file that a write to PATH should replace: the target of a symbolic
// link, so that the link itself survives.
std::string ResolveTarget(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        return path;
    }
    char* real = realpath(path.c_str(), nullptr);
    if (real == nullptr) {
        return path;  // a dangling link is replaced by the file
    }
    std::string resolved(real);
    std::free(real);
    return resolved;
}

// A temporary file is ".NAME.new-" and six characters (mkostemp's), and its
// writer holds an exclusive flock on it from its creation until it is
// renamed over NAME. One that can be locked was left by a writer that died
// or a power cut: the next write of NAME removes it.
std::string TemporaryPrefix(const std::string& directory, const std::string& target) {
    return directory + "/." + FileNameOf(target) + ".new-";
}
constexpr std::size_t kTemporarySuffix = 6;

// Whether FD is still the file at PATH.
bool StillAt(int fd, const std::string& path) {
    struct stat opened;
    struct stat named;
    return fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && SameFile(opened, named);
}

void RemoveDeadTemporaries(const std::string& directory, const std::string& target) {
    const std::string prefix = FileNameOf(TemporaryPrefix(directory, target));
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), ::closedir);
    while (const dirent* entry = dir ? ::readdir(dir.get()) : nullptr) {
        const std::string name = entry->d_name;
        if (name.size() != prefix.size() + kTemporarySuffix || name.rfind(prefix, 0) != 0) {
            continue;
        }
        const std::string path = directory + "/" + name;
        // A regular file only, never through a link, never blocking.
        Result<FileDescriptor> file = OpenRegularFile(path, O_RDONLY | O_NOFOLLOW);
        if (file.ok() &&
            LockFile(file.value().Get(), LockMode::kExclusive, std::chrono::milliseconds(0)).ok() &&
            StillAt(file.value().Get(), path)) {
            ::unlink(path.c_str());
        }
    }
}

// Creates and locks a temporary file for TARGET in DIRECTORY; its path in TEMP.
FileDescriptor CreateTemporary(const std::string& directory, const std::string& target,
                               std::string& temp) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        temp = TemporaryPrefix(directory, target) + std::string(kTemporarySuffix, 'X');
        FileDescriptor fd(mkostemp(temp.data(), O_CLOEXEC));
        if (!fd.IsOpen()) {
            return fd;
        }
        // Another writer's clean-up may have taken it before it was locked.
        if (LockFile(fd.Get(), LockMode::kExclusive, std::chrono::milliseconds(0)).ok() &&
            StillAt(fd.Get(), temp)) {
            return fd;
        }
    }
    errno = EAGAIN;
    return FileDescriptor();
}

}  // namespace

AtomicFile::AtomicFile(std::string path, LinkAtName link)
    : m_strPath(std::move(path)), m_link(link) {}

Status AtomicFile::Fail(const std::string& what, int error) const {
    const std::string where = m_strPath + ": " + what;
    return error != 0 ? Status::FromErrno(where, error) : Status::Error(where);
}

Status AtomicFile::Write(std::string_view content) {
    if (m_strPath.empty()) {
        return Fail("no file name", 0);
    }
    const bool follow = m_link == LinkAtName::kFollow;
    const std::string target = follow ? ResolveTarget(m_strPath) : m_strPath;
    const std::string folder = FolderOf(target);
    const std::string directory = folder.empty() ? std::string(".") : folder;

    struct stat existing;
    // A link that is not followed is replaced as a whole, like a missing file.
    const bool exists =
        (follow ? ::stat(target.c_str(), &existing) : ::lstat(target.c_str(), &existing)) == 0 &&
        !S_ISLNK(existing.st_mode);
    if (exists && S_ISDIR(existing.st_mode)) {
        return Fail("cannot replace", EISDIR);
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        return Fail("cannot replace: not a regular file", 0);
    }
    const mode_t mode = exists ? (existing.st_mode & 07777) : (0666 & ~CurrentUmask());

    RemoveDeadTemporaries(directory, target);
    std::string temp;
    FileDescriptor fd = CreateTemporary(directory, target, temp);
    if (!fd.IsOpen()) {
        return Fail("cannot create a temporary file in " + directory, errno);
    }
    auto abandon = [&](const std::string& what, int error) {
        static_cast<void>(fd.Close());
        ::unlink(temp.c_str());
        return Fail(what, error);
    };
    if (fchmod(fd.Get(), mode) != 0) {
        return abandon("cannot set the permissions of " + temp, errno);
    }
    if (exists && (existing.st_uid != geteuid() || existing.st_gid != getegid())) {
        // Only possible for a privileged process or a group the user is in;
        // otherwise the new file simply belongs to the writer.
        [[maybe_unused]] const int ignored = fchown(fd.Get(), existing.st_uid, existing.st_gid);
    }
    if (const Status written = WriteAll(fd.Get(), content); !written.ok()) {
        return abandon("cannot write " + temp, written.ErrorNumber());
    }
    if (const Status synced = SyncFile(fd.Get()); !synced.ok()) {
        return abandon("cannot sync " + temp, synced.ErrorNumber());
    }
    // The lock is held through a second descriptor until the rename.
    const FileDescriptor locked(::dup(fd.Get()));
    if (const Status closed = fd.Close(); !closed.ok()) {
        return abandon("cannot close " + temp, closed.ErrorNumber());
    }
    if (const Status renamed = RenameReplacing(temp, target); !renamed.ok()) {
        return abandon("cannot replace", renamed.ErrorNumber());
    }

    // The rename itself must reach the disk before the write counts.
    if (const Status synced = SyncDirectory(directory); !synced.ok()) {
        return Fail("replaced, but the directory could not be synced", synced.ErrorNumber());
    }
    return Status::Ok();
}
