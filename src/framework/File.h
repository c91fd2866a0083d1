// How the program touches files: one small POSIX layer that the record and
// settings libraries, the conversion log, the INI profiles and the
// conversion use, so that each rule is kept in one place:
// - a descriptor belongs to one FileDescriptor and is closed once; a close
//   that fails is reported by Close(), not lost;
// - a file opened to be read or appended to must be a regular file: a
//   named pipe, socket, device or directory is refused with its kind,
//   without blocking on it and without opening a device;
// - a lock is an advisory flock lock, waited for a bounded time;
// - a failure is a Status that carries the system's errno and its text
//   (Status::FromErrno), or for a file of the wrong kind a clause naming the
//   kind. The messages do not name the file: the caller does, once.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "framework/Status.h"

// One open descriptor, closed when the object goes (or by Close()).
class FileDescriptor {
public:
    FileDescriptor() = default;
    // Takes FD (-1 for none).
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    int Get() const { return m_fd; }

    // Closes now (which also releases a flock lock taken through it). Ok
    // when the close succeeded or nothing was open; otherwise the errno of
    // close(), which for a file written through it may be the first news of
    // a failed write. Closed afterwards in any case.
    Status Close();

private:
    int m_fd = -1;
};

// What MODE (st_mode) is, with its article: "a regular file", "a
// directory", "a symbolic link", "a named pipe (FIFO)", "a socket", "a
// character device", "a block device".
std::string FileKindName(mode_t mode);

// Ok for a regular file; otherwise why a file of that kind is refused:
// "Is a directory" (errno EISDIR), or "Is a named pipe (FIFO), not a
// regular file" and the like for the other kinds.
Status RequireRegularFile(const struct stat& st);

// Opens PATH, which must be a regular file, with FLAGS (O_RDONLY; or
// O_WRONLY or O_RDWR with O_APPEND, O_CREAT and the like; O_CLOEXEC and
// O_NOCTTY are added) and, for a file it creates, MODE less the umask.
// Never blocks and never opens anything but a regular file: PATH is looked
// at first (links followed unless FLAGS holds O_NOFOLLOW) and refused when
// it is of another kind, and what was opened (without blocking) is checked
// again. FOUND, when given, receives what was found: the file's status on
// success, the status of the file refused for its kind, or st_mode 0 when
// the failure is the system's (ErrorNumber() tells, ENOENT for a missing
// file).
Result<FileDescriptor> OpenRegularFile(const std::string& path, int flags, mode_t mode = 0,
                                       struct stat* found = nullptr);

// Creates PATH as a new, empty regular file (MODE less the umask) and opens
// it with FLAGS (O_WRONLY or O_RDWR): never an existing file, and never
// through a symbolic link (O_EXCL). EEXIST when something is at PATH.
Result<FileDescriptor> CreateNewFile(const std::string& path, int flags, mode_t mode);

// Opens the directory DIRECTORY ("" for the current one) for syncing or
// locking.
Result<FileDescriptor> OpenDirectory(const std::string& directory);

// How a lock is shared.
enum class LockMode { kShared, kExclusive };

// Takes a flock lock of MODE on FD, trying again every few milliseconds for
// at most WAIT while another holder keeps it (WAIT 0: one try). Ok when it
// is held; ErrorNumber() EWOULDBLOCK when the wait ran out; otherwise the
// errno of flock().
Status LockFile(int fd, LockMode mode, std::chrono::milliseconds wait);

// Writes all of BYTES at FD's offset (or its end, for O_APPEND), going on
// after short writes and interruptions. On failure the errno of the write
// that failed (ENOSPC, EFBIG, ...); WRITTEN, when given, receives how many
// bytes were written in any case.
Status WriteAll(int fd, std::string_view bytes, std::size_t* written = nullptr);

// fsync of FD.
Status SyncFile(int fd);
// fsync of the file at PATH, a file this program made (opened read-only,
// without following a link).
Status SyncFileAt(const std::string& path);

// Makes a rename or a removal in DIRECTORY ("" for the current one) last:
// the directory is synced as a file's content is. Ok on success, and also
// when the directory cannot be opened (what was done in it is done all the
// same) or its file system cannot sync a directory (EINVAL); otherwise the
// errno of the failed sync, with "cannot sync the directory D".
Status SyncDirectory(const std::string& directory);

// Renames FROM to TO unless something is at TO: then ErrorNumber() is
// EEXIST and nothing changed. A file system that cannot refuse to replace
// is given a hard link and an unlink instead; one that has no hard links
// either, a look and a rename.
Status RenameNoReplace(const std::string& from, const std::string& to);

// Renames FROM over TO (rename()).
Status RenameReplacing(const std::string& from, const std::string& to);
