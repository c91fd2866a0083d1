// How the program touches files: one small layer over the operating system
// (FilePosix.cpp, FileWin32.cpp; CMake builds the one for the target) that
// the record and settings libraries, the conversion log, the INI profiles
// and the conversion use, so that each rule is kept in one place:
// - a file belongs to one FileDescriptor and is closed once; a close that
//   fails is reported by Close(), not lost;
// - a file opened to be read or appended to must be a regular file: a
//   named pipe, socket, device or directory is refused with its kind,
//   without blocking on it and without opening a device;
// - files are binary: bytes are read and written as they are (no line end
//   is ever translated), and paths are UTF-8 (on Windows turned into the
//   system's UTF-16 names, never through a code page);
// - a lock is advisory between the program's processes, waited for a
//   bounded time;
// - a failure is a Status that carries an errno value and its text
//   (Status::FromErrno; the Windows twin maps its system's errors onto
//   them), or for a file of the wrong kind a clause naming the kind. The
//   messages do not name the file: the caller does, once.
// No type of the operating system shows here.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Status.h"

// An open file as the operating system knows it (a descriptor on POSIX, a
// HANDLE on Windows); kNoFile for none. Opaque outside the framework.
using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

// One open file, closed when the object goes (or by Close()).
class FileDescriptor {
public:
    FileDescriptor() = default;
    // Takes HANDLE (kNoFile for none).
    explicit FileDescriptor(FileHandle handle) : m_handle(handle) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    bool IsOpen() const { return m_handle != kNoFile; }
    FileHandle Get() const { return m_handle; }

    // Closes now (which also releases a lock taken through it). Ok when the
    // close succeeded or nothing was open; otherwise why close() failed,
    // which for a file written through it may be the first news of a failed
    // write. Closed afterwards in any case.
    Status Close();

private:
    FileHandle m_handle = kNoFile;
};

// What is at a path.
enum class FileKind {
    kNone,  // nothing, or not known
    kRegular,
    kDirectory,
    kSymbolicLink,
    kNamedPipe,
    kSocket,
    kCharacterDevice,
    kBlockDevice,
    kOther,
};

// What the system tells of a file. On Windows, DEVICE is the volume's serial
// number and INODE the file index; PERMISSIONS is 0444 for a read-only file
// and 0666 otherwise; CHANGED is the time of the last change of the file or
// its attributes.
struct FileStatus {
    FileKind kind = FileKind::kNone;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t changedSeconds = 0;
    std::int64_t changedNanoseconds = 0;
    // The permission bits (07777).
    unsigned permissions = 0;
    // The owner and group (POSIX; 0 on Windows).
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
};

// Whether A and B are one file: the same device and inode.
inline bool SameFile(const FileStatus& a, const FileStatus& b) {
    return a.device == b.device && a.inode == b.inode;
}

// Whether A and B are one file of the same size and modification time:
// unchanged, as far as the system can tell without reading it.
inline bool SameStamp(const FileStatus& a, const FileStatus& b) {
    return SameFile(a, b) && a.size == b.size && a.modifiedSeconds == b.modifiedSeconds &&
           a.modifiedNanoseconds == b.modifiedNanoseconds;
}

// KIND with its article: "a regular file", "a directory", "a symbolic
// link", "a named pipe (FIFO)", "a socket", "a character device", "a block
// device".
std::string FileKindName(FileKind kind);

// Ok for a regular file; otherwise why a file of that kind is refused:
// "Is a directory" (errno EISDIR), or "Is a named pipe (FIFO), not a
// regular file" and the like for the other kinds.
Status RequireRegularFile(const FileStatus& status);

// Whether links are followed when a path is looked at.
enum class Links { kFollow, kDoNotFollow };

// What is at PATH (the link itself with kDoNotFollow). The errno ENOENT
// when nothing is there.
Result<FileStatus> StatusAt(const std::string& path, Links links = Links::kFollow);
// What the open FILE is.
Result<FileStatus> StatusOf(FileHandle file);
// Whether anything is at PATH (a dangling link counts with kDoNotFollow).
bool Exists(const std::string& path, Links links = Links::kFollow);

// How a file is opened: one of kOpenRead, kOpenWrite, kOpenReadWrite, with
// any of the others.
using OpenFlags = unsigned;
inline constexpr OpenFlags kOpenRead = 0x1;
inline constexpr OpenFlags kOpenWrite = 0x2;
inline constexpr OpenFlags kOpenReadWrite = kOpenRead | kOpenWrite;
// Every write goes to the end.
inline constexpr OpenFlags kOpenAppend = 0x4;
// Made, empty, when nothing is at the path.
inline constexpr OpenFlags kOpenCreate = 0x8;
// A symbolic link at the path is refused (ELOOP), not followed.
inline constexpr OpenFlags kOpenNoFollow = 0x10;

// Opens PATH, which must be a regular file, with FLAGS and, for a file it
// creates, PERMISSIONS less the umask (on Windows: read-only when
// PERMISSIONS has no write bit). Never blocks and never opens anything but
// a regular file: PATH is looked at first (links followed unless FLAGS holds
// kOpenNoFollow) and refused when it is of another kind, and what was
// opened (without blocking) is checked again. FOUND, when given, receives
// what was found: the file's status on success, the status of the file
// refused for its kind, or kind kNone when the failure is the system's
// (ErrorNumber() tells, ENOENT for a missing file). On Windows the file is
// shared for reading only while it is open for writing, and a file that
// another program holds open without sharing it is refused with "Is open in
// another program" (errno EBUSY).
Result<FileDescriptor> OpenRegularFile(const std::string& path, OpenFlags flags,
                                       unsigned permissions = 0, FileStatus* found = nullptr);

// Creates PATH as a new, empty regular file (PERMISSIONS less the umask) and
// opens it with FLAGS (kOpenWrite or kOpenReadWrite): never an existing
// file, and never through a symbolic link. EEXIST when something is at PATH.
Result<FileDescriptor> CreateNewFile(const std::string& path, OpenFlags flags,
                                     unsigned permissions);

// Creates a new, empty regular file at PATTERN, whose last six characters
// ("XXXXXX") are replaced by ones that give a name nothing has; PATTERN
// then holds that name. Opened for reading and writing, never through a
// link.
Result<FileDescriptor> CreateUniqueFile(std::string& pattern);

// Gives FILE the permission bits of LIKE and, where the process may, its
// owner and group; without LIKE, those of a new file (0666 less the umask).
// On Windows only the read-only attribute follows.
Status SetPermissionsLike(FileHandle file, const FileStatus* like);

// Opens the directory DIRECTORY ("" for the current one) for syncing or
// locking.
Result<FileDescriptor> OpenDirectory(const std::string& directory);

// How a lock is shared.
enum class LockMode { kShared, kExclusive };

// Takes a lock of MODE on FILE (the whole file; flock on POSIX, LockFileEx
// on Windows), trying again every few milliseconds for at most WAIT while
// another holder keeps it (WAIT 0: one try). Ok when it is held;
// ErrorNumber() EWOULDBLOCK when the wait ran out; otherwise the system's
// error.
Status LockFile(FileHandle file, LockMode mode, std::chrono::milliseconds wait);

// Reads up to SIZE bytes at FILE's offset into BUFFER, going on after
// interruptions: how many were read, 0 at the end of the file.
Result<std::size_t> ReadSome(FileHandle file, void* buffer, std::size_t size);
// Reads up to SIZE bytes at OFFSET, leaving FILE's offset as it was.
Result<std::size_t> ReadAt(FileHandle file, void* buffer, std::size_t size, std::uint64_t offset);

// Writes all of BYTES at FILE's offset (or its end, for kOpenAppend), going
// on after short writes and interruptions. On failure the errno of the
// write that failed (ENOSPC, EFBIG, ...); WRITTEN, when given, receives how
// many bytes were written in any case.
Status WriteAll(FileHandle file, std::string_view bytes, std::size_t* written = nullptr);

// Cuts or extends FILE to SIZE bytes.
Status TruncateFile(FileHandle file, std::uint64_t size);

// Moves FILE's offset to OFFSET from its start.
Status SeekFile(FileHandle file, std::uint64_t offset);

// Makes what was written to FILE last (fsync, FlushFileBuffers).
Status SyncFile(FileHandle file);
// The same for the file at PATH, a file this program made (opened without
// following a link).
Status SyncFileAt(const std::string& path);

// Makes a rename or a removal in DIRECTORY ("" for the current one) last:
// the directory is synced as a file's content is. Ok on success, and also
// when the directory cannot be opened (what was done in it is done all the
// same) or its file system cannot sync a directory (EINVAL; Windows, whose
// renames are made to last by the rename itself); otherwise the errno of
// the failed sync, with "cannot sync the directory D".
Status SyncDirectory(const std::string& directory);

// Renames FROM to TO unless something is at TO: then ErrorNumber() is
// EEXIST and nothing changed. A file system that cannot refuse to replace
// is given a hard link and an unlink instead; one that has no hard links
// either, a look and a rename. On Windows MoveFileExW without
// MOVEFILE_REPLACE_EXISTING, written through.
Status RenameNoReplace(const std::string& from, const std::string& to);

// Renames FROM over TO (rename(); on Windows MoveFileExW replacing,
// written through).
Status RenameReplacing(const std::string& from, const std::string& to);

// Removes the file PATH (not a directory). ENOENT when nothing is there.
Status RemoveFile(const std::string& path);

// One name in a directory, with what it is (the link itself, not what it
// names).
struct DirectoryEntry {
    std::string name;
    FileKind kind = FileKind::kNone;
};
// The names in DIRECTORY ("" for the current one) in the order the system
// gives them, without "." and "..".
Result<std::vector<DirectoryEntry>> ListDirectory(const std::string& directory);

// Makes the new directory DIRECTORY (0700 less the umask on POSIX). EEXIST
// when something is there.
Status MakeDirectory(const std::string& directory);

// The process's current directory.
Result<std::string> CurrentDirectory();

// Ok when this process may write the file PATH (the folder PATH, and make
// files in it, for a directory); otherwise why not (EACCES, EROFS, ...).
Status CheckWritable(const std::string& path);

// The absolute path of the file that PATH names, links resolved; nothing
// when it cannot be found.
Result<std::string> ResolvedPath(const std::string& path);

// The process's standard output, written as bytes (no line end is ever
// changed; on Windows a console is set to show UTF-8).
FileHandle StandardOutputFile();
// Closes the standard output, for what a file system reports only then
// (a full NFS quota); EBADF when it was not open.
Status CloseStandardOutput();

// fopen() of the UTF-8 PATH with MODE ("rb", "wb", "ab"; binary always);
// null with errno set when it fails.
std::FILE* OpenStream(const std::string& path, const char* mode);
