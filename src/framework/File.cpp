#include "framework/File.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <thread>
#include <utility>

namespace {

// How often a lock that another process holds is tried again.
constexpr auto kLockRetry = std::chrono::milliseconds(5);

// open(), tried again when interrupted; the errno of open() on failure.
Result<FileDescriptor> Open(const std::string& path, int flags, mode_t mode) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return Status::FromErrno(errno);
    }
    return FileDescriptor(fd);
}

}  // namespace

FileDescriptor::~FileDescriptor() {
    static_cast<void>(Close());
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        static_cast<void>(Close());
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

Status FileDescriptor::Close() {
    if (m_fd < 0) {
        return Status::Ok();
    }
    // The descriptor is gone whatever close() says, EINTR included: trying
    // again could close one that another thread has just been given.
    const int rc = ::close(std::exchange(m_fd, -1));
    return rc == 0 || errno == EINTR ? Status::Ok() : Status::FromErrno(errno);
}

std::string FileKindName(mode_t mode) {
    switch (mode & S_IFMT) {
        case S_IFREG:
            return "a regular file";
        case S_IFDIR:
            return "a directory";
        case S_IFLNK:
            return "a symbolic link";
        case S_IFIFO:
            return "a named pipe (FIFO)";
        case S_IFSOCK:
            return "a socket";
        case S_IFCHR:
            return "a character device";
        case S_IFBLK:
            return "a block device";
        default:
            return "a file of an unknown kind";
    }
}

Status RequireRegularFile(const struct stat& st) {
    if (S_ISREG(st.st_mode)) {
        return Status::Ok();
    }
    if (S_ISDIR(st.st_mode)) {
        return Status::FromErrno(EISDIR);
    }
    return Status::Error("Is " + FileKindName(st.st_mode) + ", not a regular file");
}

Result<FileDescriptor> OpenRegularFile(const std::string& path, int flags, mode_t mode,
                                       struct stat* found) {
    struct stat ignored;
    struct stat& st = found != nullptr ? *found : ignored;
    st = {};
    // Looked at before it is opened: opening a device may do something
    // (rewind a tape, hang up a line) and opening a pipe may block.
    const bool follow = (flags & O_NOFOLLOW) == 0;
    struct stat before;
    if ((follow ? ::stat(path.c_str(), &before) : ::lstat(path.c_str(), &before)) == 0) {
        if (Status regular = RequireRegularFile(before); !regular.ok()) {
            st = before;
            return regular;
        }
    } else if (errno != ENOENT || (flags & O_CREAT) == 0) {
        return Status::FromErrno(errno);
    }
    // Without blocking, should a pipe have taken the name meanwhile.
    Result<FileDescriptor> fd = Open(path, flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, mode);
    if (!fd.ok()) {
        return fd;
    }
    struct stat opened;
    if (fstat(fd.value().Get(), &opened) != 0) {
        return Status::FromErrno(errno);
    }
    if (Status regular = RequireRegularFile(opened); !regular.ok()) {
        st = opened;
        return regular;
    }
    if ((flags & O_NONBLOCK) == 0) {
        const int status = fcntl(fd.value().Get(), F_GETFL);
        if (status < 0 || fcntl(fd.value().Get(), F_SETFL, status & ~O_NONBLOCK) != 0) {
            return Status::FromErrno(errno);
        }
    }
    st = opened;
    return fd;
}

Result<FileDescriptor> CreateNewFile(const std::string& path, int flags, mode_t mode) {
    return Open(path, flags | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, mode);
}

Result<FileDescriptor> OpenDirectory(const std::string& directory) {
    return Open(directory.empty() ? std::string(".") : directory,
                O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
}

Status LockFile(int fd, LockMode mode, std::chrono::milliseconds wait) {
    const int operation = (mode == LockMode::kShared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (flock(fd, operation) != 0) {
        const int error = errno;
        if (error == EINTR) {
            continue;
        }
        if (error != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
            return Status::FromErrno(error);
        }
        std::this_thread::sleep_for(kLockRetry);
    }
    return Status::Ok();
}

Status WriteAll(int fd, std::string_view bytes, std::size_t* written) {
    std::size_t done = 0;
    Status status;
    while (done < bytes.size()) {
        const ssize_t got = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            status = Status::FromErrno(errno);
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    if (written != nullptr) {
        *written = done;
    }
    return status;
}

Status SyncFile(int fd) {
    return fsync(fd) == 0 ? Status::Ok() : Status::FromErrno(errno);
}

Status SyncFileAt(const std::string& path) {
    Result<FileDescriptor> fd = Open(path, O_RDONLY | O_NOFOLLOW | O_CLOEXEC, 0);
    if (!fd.ok()) {
        return fd.status();
    }
    if (Status synced = SyncFile(fd.value().Get()); !synced.ok()) {
        return synced;
    }
    return fd.value().Close();
}

Status SyncDirectory(const std::string& directory) {
    Result<FileDescriptor> fd = OpenDirectory(directory);
    if (!fd.ok()) {
        return Status::Ok();
    }
    const Status synced = SyncFile(fd.value().Get());
    if (synced.ok() || synced.ErrorNumber() == EINVAL) {
        return Status::Ok();
    }
    return Status::FromErrno("cannot sync the directory " + (directory.empty() ? "." : directory),
                             synced.ErrorNumber());
}

Status RenameNoReplace(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return Status::Ok();
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return Status::FromErrno(errno);
    }
    // A hard link refuses an existing name as well.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return Status::Ok();
    }
    if (errno == EEXIST) {
        return Status::FromErrno(EEXIST);
    }
    struct stat st;
    if (::lstat(to.c_str(), &st) == 0) {
        return Status::FromErrno(EEXIST);
    }
    return RenameReplacing(from, to);
}

Status RenameReplacing(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0 ? Status::Ok() : Status::FromErrno(errno);
}
