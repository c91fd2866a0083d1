// Pieces shared by the fault tests of the data system and the converter:
// for their child processes a private small file system and running as an
// unprivileged user; counting descriptors, and checking a Sample List file
// with SQLite itself.
#pragma once

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

namespace faulttest {

// Exit code of a child whose set-up was not possible on this machine; its
// report says why, for GTEST_SKIP.
constexpr int kCannotSetUp = 77;

// In a child process: gives the process a mount namespace of its own and
// mounts there a tmpfs of SIZE bytes on DIRECTORY, so that a full device
// can be produced without touching the machine's. False, with WHY, when the
// process may not do so.
inline bool MountSmallFileSystem(const std::string& directory, std::size_t size, std::string& why) {
    if (unshare(CLONE_NEWNS) != 0) {
        why = std::string("unshare(CLONE_NEWNS): ") + std::strerror(errno);
        return false;
    }
    // Mounts of this namespace must not reach the parent's.
    if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        why = std::string("making / private: ") + std::strerror(errno);
        return false;
    }
    const std::string options = "size=" + std::to_string(size) + ",mode=0755";
    if (mount("k2l-small", directory.c_str(), "tmpfs", 0, options.c_str()) != 0) {
        why = std::string("mount tmpfs: ") + std::strerror(errno);
        return false;
    }
    return true;
}

// Writes zeros to PATH until the device is full. True when it filled up.
inline bool FillDevice(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    static const char zeros[4096] = {};
    bool full = false;
    for (;;) {
        if (::write(fd, zeros, sizeof zeros) < 0) {
            full = errno == ENOSPC;
            break;
        }
    }
    // Fill the last partial block too.
    while (::write(fd, zeros, 1) == 1) {
    }
    ::close(fd);
    return full;
}

// The user and group that unprivileged test children run as.
constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;

// In a child process running as root: becomes the unprivileged user, for
// whom permission bits apply. False, with WHY, when that is not possible.
inline bool BecomeNobody(std::string& why) {
    if (geteuid() != 0) {
        return true;  // already unprivileged
    }
    if (setgroups(0, nullptr) != 0 || setgid(kNogroup) != 0 || setuid(kNobody) != 0) {
        why = std::string("cannot become uid 65534: ") + std::strerror(errno);
        return false;
    }
    return true;
}

// Opens PATH's parent directories to everyone (for a child that runs as an
// unprivileged user); false when a directory cannot be changed.
inline bool OpenPathTo(const std::string& path, const std::string& root) {
    for (std::filesystem::path p = path; p.string().size() >= root.size(); p = p.parent_path()) {
        struct stat st;
        if (::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
            ::chmod(p.c_str(), (st.st_mode & 07777) | 0755) != 0) {
            return false;
        }
        if (p == p.parent_path()) {
            break;
        }
    }
    return true;
}

// The number of descriptors this process holds open.
inline int OpenDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

// PRAGMA integrity_check of the SQLite file at PATH ("ok" when sound), or
// why it could not be run. Opening for writing lets SQLite roll back a
// journal left beside the file, as any later user of the file would.
inline std::string IntegrityCheck(const std::string& path) {
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr);
        result = sqlite3_step(statement) == SQLITE_ROW
                     ? reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))
                     : sqlite3_errmsg(db);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return result;
}

// Names in DIRECTORY that start with PREFIX (e.g. temporary files left
// behind), joined by blanks.
inline std::string FilesStartingWith(const std::string& directory, const std::string& prefix) {
    std::string found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) == 0) {
            found += name + " ";
        }
    }
    return found;
}

}  // namespace faulttest
