// File.h on POSIX systems (Linux).
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <utility>

#include "framework/File.h"
#include "framework/SystemError.h"

namespace {

// How often a lock that another process holds is tried again.
constexpr auto kLockRetry = std::chrono::milliseconds(5);

int Descriptor(FileHandle file) {
    return static_cast<int>(file);
}

int OpenFlagsOf(OpenFlags flags) {
    int os = (flags & kOpenReadWrite) == kOpenReadWrite ? O_RDWR
             : (flags & kOpenWrite) != 0                ? O_WRONLY
                                                        : O_RDONLY;
    os |= (flags & kOpenAppend) != 0 ? O_APPEND : 0;
    os |= (flags & kOpenCreate) != 0 ? O_CREAT : 0;
    os |= (flags & kOpenNoFollow) != 0 ? O_NOFOLLOW : 0;
    return os;
}

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

FileKind KindOf(mode_t mode) {
    switch (mode & S_IFMT) {
        case S_IFREG:
            return FileKind::kRegular;
        case S_IFDIR:
            return FileKind::kDirectory;
        case S_IFLNK:
            return FileKind::kSymbolicLink;
        case S_IFIFO:
            return FileKind::kNamedPipe;
        case S_IFSOCK:
            return FileKind::kSocket;
        case S_IFCHR:
            return FileKind::kCharacterDevice;
        case S_IFBLK:
            return FileKind::kBlockDevice;
        default:
            return FileKind::kOther;
    }
}

FileStatus StatusFrom(const struct stat& st) {
    FileStatus status;
    status.kind = KindOf(st.st_mode);
    status.device = static_cast<std::uint64_t>(st.st_dev);
    status.inode = static_cast<std::uint64_t>(st.st_ino);
    status.size = static_cast<std::uint64_t>(st.st_size);
    status.modifiedSeconds = static_cast<std::int64_t>(st.st_mtim.tv_sec);
    status.modifiedNanoseconds = static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    status.changedSeconds = static_cast<std::int64_t>(st.st_ctim.tv_sec);
    status.changedNanoseconds = static_cast<std::int64_t>(st.st_ctim.tv_nsec);
    status.permissions = static_cast<unsigned>(st.st_mode & 07777);
    status.owner = static_cast<std::uint32_t>(st.st_uid);
    status.group = static_cast<std::uint32_t>(st.st_gid);
    return status;
}

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

}  // namespace

FileDescriptor::~FileDescriptor() {
    static_cast<void>(Close());
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : m_handle(std::exchange(other.m_handle, kNoFile)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        static_cast<void>(Close());
        m_handle = std::exchange(other.m_handle, kNoFile);
    }
    return *this;
}

Status FileDescriptor::Close() {
    if (m_handle == kNoFile) {
        return Status::Ok();
    }
    // The descriptor is gone whatever close() says, EINTR included: trying
    // again could close one that another thread has just been given.
    const int rc = ::close(Descriptor(std::exchange(m_handle, kNoFile)));
    return rc == 0 || errno == EINTR ? Status::Ok() : Status::FromErrno(errno);
}

Result<FileStatus> StatusAt(const std::string& path, Links links) {
    struct stat st;
    const int rc = links == Links::kFollow ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    if (rc != 0) {
        return Status::FromErrno(errno);
    }
    return StatusFrom(st);
}

Result<FileStatus> StatusOf(FileHandle file) {
    struct stat st;
    if (::fstat(Descriptor(file), &st) != 0) {
        return Status::FromErrno(errno);
    }
    return StatusFrom(st);
}

Result<FileDescriptor> OpenRegularFile(const std::string& path, OpenFlags flags,
                                       unsigned permissions, FileStatus* found) {
    FileStatus ignored;
    FileStatus& st = found != nullptr ? *found : ignored;
    st = {};
    // Looked at before it is opened: opening a device may do something
    // (rewind a tape, hang up a line) and opening a pipe may block.
    const bool follow = (flags & kOpenNoFollow) == 0;
    const Result<FileStatus> before = StatusAt(path, follow ? Links::kFollow : Links::kDoNotFollow);
    if (before.ok()) {
        if (Status regular = RequireRegularFile(before.value()); !regular.ok()) {
            st = before.value();
            return regular;
        }
    } else if (before.status().ErrorNumber() != ENOENT || (flags & kOpenCreate) == 0) {
        return before.status();
    }
    // Without blocking, should a pipe have taken the name meanwhile.
    Result<FileDescriptor> fd =
        Open(path, OpenFlagsOf(flags) | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, permissions);
    if (!fd.ok()) {
        return fd;
    }
    const Result<FileStatus> opened = StatusOf(fd.value().Get());
    if (!opened.ok()) {
        return opened.status();
    }
    if (Status regular = RequireRegularFile(opened.value()); !regular.ok()) {
        st = opened.value();
        return regular;
    }
    const int descriptor = Descriptor(fd.value().Get());
    const int status = fcntl(descriptor, F_GETFL);
    if (status < 0 || fcntl(descriptor, F_SETFL, status & ~O_NONBLOCK) != 0) {
        return Status::FromErrno(errno);
    }
    st = opened.value();
    return fd;
}

Result<FileDescriptor> CreateNewFile(const std::string& path, OpenFlags flags,
                                     unsigned permissions) {
    return Open(path, OpenFlagsOf(flags) | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY,
                permissions);
}

Result<FileDescriptor> CreateUniqueFile(std::string& pattern) {
    const int fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        return Status::FromErrno(errno);
    }
    return FileDescriptor(fd);
}

Status SetPermissionsLike(FileHandle file, const FileStatus* like) {
    const mode_t mode =
        like != nullptr ? static_cast<mode_t>(like->permissions) : (0666 & ~CurrentUmask());
    if (fchmod(Descriptor(file), mode) != 0) {
        return Status::FromErrno(errno);
    }
    if (like != nullptr && (like->owner != geteuid() || like->group != getegid())) {
        // Only possible for a privileged process or a group the user is in;
        // otherwise the new file simply belongs to the writer.
        [[maybe_unused]] const int ignored = fchown(Descriptor(file), like->owner, like->group);
    }
    return Status::Ok();
}

Result<FileDescriptor> OpenDirectory(const std::string& directory) {
    return Open(directory.empty() ? std::string(".") : directory,
                O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
}

Status LockFile(FileHandle file, LockMode mode, std::chrono::milliseconds wait) {
    const int operation = (mode == LockMode::kShared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (flock(Descriptor(file), operation) != 0) {
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

Result<std::size_t> ReadSome(FileHandle file, void* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(Descriptor(file), buffer, size);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            return Status::FromErrno(errno);
        }
    }
}

Result<std::size_t> ReadAt(FileHandle file, void* buffer, std::size_t size, std::uint64_t offset) {
    for (;;) {
        const ssize_t got = ::pread(Descriptor(file), buffer, size, static_cast<off_t>(offset));
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            return Status::FromErrno(errno);
        }
    }
}

Status WriteAll(FileHandle file, std::string_view bytes, std::size_t* written) {
    std::size_t done = 0;
    Status status;
    while (done < bytes.size()) {
        const ssize_t got = ::write(Descriptor(file), bytes.data() + done, bytes.size() - done);
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

Status TruncateFile(FileHandle file, std::uint64_t size) {
    int rc;
    do {
        rc = ::ftruncate(Descriptor(file), static_cast<off_t>(size));
    } while (rc != 0 && errno == EINTR);
    return rc == 0 ? Status::Ok() : Status::FromErrno(errno);
}

Status SeekFile(FileHandle file, std::uint64_t offset) {
    return ::lseek(Descriptor(file), static_cast<off_t>(offset), SEEK_SET) >= 0
               ? Status::Ok()
               : Status::FromErrno(errno);
}

Status SyncFile(FileHandle file) {
    return fsync(Descriptor(file)) == 0 ? Status::Ok() : Status::FromErrno(errno);
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
    if (Exists(to, Links::kDoNotFollow)) {
        return Status::FromErrno(EEXIST);
    }
    return RenameReplacing(from, to);
}

Status RenameReplacing(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0 ? Status::Ok() : Status::FromErrno(errno);
}

Status RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? Status::Ok() : Status::FromErrno(errno);
}

Result<std::vector<DirectoryEntry>> ListDirectory(const std::string& directory) {
    const std::string folder = directory.empty() ? std::string(".") : directory;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) {
        return Status::FromErrno(errno);
    }
    std::vector<DirectoryEntry> entries;
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        FileKind kind = FileKind::kNone;
        switch (entry->d_type) {
            case DT_REG:
                kind = FileKind::kRegular;
                break;
            case DT_DIR:
                kind = FileKind::kDirectory;
                break;
            case DT_LNK:
                kind = FileKind::kSymbolicLink;
                break;
            case DT_FIFO:
                kind = FileKind::kNamedPipe;
                break;
            case DT_SOCK:
                kind = FileKind::kSocket;
                break;
            case DT_CHR:
                kind = FileKind::kCharacterDevice;
                break;
            case DT_BLK:
                kind = FileKind::kBlockDevice;
                break;
            default: {
                // A file system that does not say: asked.
                struct stat st;
                if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
                    kind = KindOf(st.st_mode);
                }
            }
        }
        entries.push_back({name, kind});
        errno = 0;
    }
    if (errno != 0) {
        return Status::FromErrno(errno);
    }
    return entries;
}

Status MakeDirectory(const std::string& directory) {
    return ::mkdir(directory.c_str(), 0700) == 0 ? Status::Ok() : Status::FromErrno(errno);
}

Result<std::string> CurrentDirectory() {
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) == nullptr) {
        return Status::FromErrno(errno);
    }
    return std::string(cwd);
}

Status CheckWritable(const std::string& path) {
    const Result<FileStatus> status = StatusAt(path);
    const int mode =
        status.ok() && status.value().kind == FileKind::kDirectory ? W_OK | X_OK : W_OK;
    // With the effective ids: a privileged process may write anywhere but
    // on a read-only file system.
    return ::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0 ? Status::Ok()
                                                                      : Status::FromErrno(errno);
}

Result<std::string> ResolvedPath(const std::string& path) {
    char* real = realpath(path.c_str(), nullptr);
    if (real == nullptr) {
        return Status::FromErrno(errno);
    }
    std::string resolved(real);
    std::free(real);
    return resolved;
}

std::FILE* OpenStream(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

FileHandle StandardOutputFile() {
    return STDOUT_FILENO;
}

Status CloseStandardOutput() {
    // Linux releases the descriptor even when close fails: never retried.
    return ::close(STDOUT_FILENO) == 0 ? Status::Ok() : Status::FromErrno(errno);
}

int ErrnoFromSystemCode(int code) {
#ifdef EDQUOT
    if (code == EDQUOT) {
        return ENOSPC;
    }
#endif
    return code;
}
