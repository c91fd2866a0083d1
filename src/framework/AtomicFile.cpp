#include "framework/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "framework/File.h"
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

}  // namespace

AtomicFile::AtomicFile(std::string path) : m_strPath(std::move(path)) {}

Status AtomicFile::Fail(const std::string& what, int error) const {
    const std::string where = m_strPath + ": " + what;
    return error != 0 ? Status::FromErrno(where, error) : Status::Error(where);
}

Status AtomicFile::Write(std::string_view content) {
    if (m_strPath.empty()) {
        return Fail("no file name", 0);
    }
    const std::string target = ResolveTarget(m_strPath);
    const std::string folder = FolderOf(target);
    const std::string directory = folder.empty() ? std::string(".") : folder;

    struct stat existing;
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        return Fail("cannot replace", EISDIR);
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        return Fail("cannot replace: not a regular file", 0);
    }
    const mode_t mode = exists ? (existing.st_mode & 07777) : (0666 & ~CurrentUmask());

    std::string temp = directory + "/." + FileNameOf(target) + ".XXXXXX";
    FileDescriptor fd(mkostemp(temp.data(), O_CLOEXEC));
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
