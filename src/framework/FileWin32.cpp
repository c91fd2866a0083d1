// File.h on Windows: the wide (UTF-16) API with UTF-8 paths inside, binary
// always, and the promises of the POSIX side kept with Windows means: a
// lock with LockFileEx and the same bounded wait, MoveFileExW that does not
// replace unless asked (written through, so that a rename lasts without a
// directory sync), FlushFileBuffers, and sharing modes under which a file
// another program holds open without sharing is refused with "Is open in
// another program".
#include <windows.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "framework/File.h"
#include "framework/SystemError.h"
#include "framework/Win32Text.h"

namespace {

constexpr auto kLockRetry = std::chrono::milliseconds(5);
// Files are locked at a byte far past any content: Windows locks keep
// other handles from reading and writing the bytes they cover.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

// Every file is shared with the program's other handles and processes,
// which keep out of each other's way with locks, as on POSIX; deleting and
// renaming stay possible while it is open, as there.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A file made to be written once by this process alone.
constexpr DWORD kSharePrivate = FILE_SHARE_READ | FILE_SHARE_DELETE;

HANDLE Native(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

FileHandle Handle(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<FileHandle>(handle);
}

// Directory locks: LockFileEx does not take a directory, so a directory is
// locked with a named mutex of its volume and file index, held by the
// handle that took it.
std::mutex g_directoryLocksGuard;
std::map<FileHandle, HANDLE> g_directoryLocks;

void ReleaseDirectoryLock(FileHandle file) {
    HANDLE mutex = nullptr;
    {
        const std::lock_guard<std::mutex> guard(g_directoryLocksGuard);
        const auto found = g_directoryLocks.find(file);
        if (found == g_directoryLocks.end()) {
            return;
        }
        mutex = found->second;
        g_directoryLocks.erase(found);
    }
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

// 100-nanosecond ticks since 1601 as seconds and nanoseconds since 1970.
void SplitTime(LONGLONG ticks, std::int64_t& seconds, std::int64_t& nanoseconds) {
    constexpr LONGLONG kEpochDifference = 116444736000000000LL;
    const LONGLONG since1970 = ticks - kEpochDifference;
    seconds = since1970 / 10000000;
    nanoseconds = (since1970 % 10000000) * 100;
    if (nanoseconds < 0) {
        seconds -= 1;
        nanoseconds += 1000000000;
    }
}

Result<FileStatus> StatusOfNative(HANDLE handle, bool isLink) {
    FileStatus status;
    switch (GetFileType(handle)) {
        case FILE_TYPE_CHAR:
            status.kind = FileKind::kCharacterDevice;
            return status;
        case FILE_TYPE_PIPE:
            status.kind = FileKind::kNamedPipe;
            return status;
        case FILE_TYPE_DISK:
            break;
        default:
            status.kind = FileKind::kOther;
            return status;
    }
    BY_HANDLE_FILE_INFORMATION info;
    FILE_BASIC_INFO basic;
    if (!GetFileInformationByHandle(handle, &info) ||
        !GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)) {
        return LastWin32Status();
    }
    if (isLink && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        status.kind = FileKind::kSymbolicLink;
    } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        status.kind = FileKind::kDirectory;
    } else {
        status.kind = FileKind::kRegular;
    }
    status.device = info.dwVolumeSerialNumber;
    status.inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    status.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    SplitTime(basic.LastWriteTime.QuadPart, status.modifiedSeconds, status.modifiedNanoseconds);
    SplitTime(
        basic.ChangeTime.QuadPart != 0 ? basic.ChangeTime.QuadPart : basic.LastWriteTime.QuadPart,
        status.changedSeconds, status.changedNanoseconds);
    const bool readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    status.permissions = status.kind == FileKind::kDirectory ? 0777u : (readOnly ? 0444u : 0666u);
    return status;
}

// Opens PATH with ACCESS for a look or a use; links followed unless FOLLOW
// is false. Directories open too.
Result<FileDescriptor> OpenNative(const std::string& path, DWORD access, DWORD share,
                                  DWORD disposition, DWORD flags) {
    if (path.find('\0') != std::string::npos) {
        return Status::FromErrno(EINVAL);
    }
    const HANDLE handle = CreateFileW(WidePath(path.empty() ? std::string(".") : path).c_str(),
                                      access, share, nullptr, disposition, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return LastWin32Status();
    }
    return FileDescriptor(Handle(handle));
}

Result<FileStatus> StatusOfPath(const std::string& path, bool follow) {
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    Result<FileDescriptor> opened =
        OpenNative(path, FILE_READ_ATTRIBUTES, kShareAll, OPEN_EXISTING, flags);
    if (!opened.ok()) {
        return opened.status();
    }
    return StatusOfNative(Native(opened.value().Get()), !follow);
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
    const FileHandle handle = std::exchange(m_handle, kNoFile);
    ReleaseDirectoryLock(handle);
    return CloseHandle(Native(handle)) ? Status::Ok() : LastWin32Status();
}

Result<FileStatus> StatusAt(const std::string& path, Links links) {
    return StatusOfPath(path, links == Links::kFollow);
}

Result<FileStatus> StatusOf(FileHandle file) {
    return StatusOfNative(Native(file), false);
}

Result<FileDescriptor> OpenRegularFile(const std::string& path, OpenFlags flags,
                                       unsigned permissions, FileStatus* found) {
    FileStatus ignored;
    FileStatus& st = found != nullptr ? *found : ignored;
    st = {};
    // Looked at before it is opened: a device name (CON, NUL, COM1) opens
    // the device.
    const bool follow = (flags & kOpenNoFollow) == 0;
    const Result<FileStatus> before = StatusOfPath(path, follow);
    if (before.ok()) {
        if (!follow && before.value().kind == FileKind::kSymbolicLink) {
            return Status::FromErrno(ELOOP);
        }
        if (Status regular = RequireRegularFile(before.value()); !regular.ok()) {
            st = before.value();
            return regular;
        }
    } else if (before.status().ErrorNumber() != ENOENT || (flags & kOpenCreate) == 0) {
        return before.status();
    }
    DWORD access = 0;
    if ((flags & kOpenRead) != 0) {
        access |= GENERIC_READ;
    }
    if ((flags & kOpenWrite) != 0) {
        // Appending: every write goes to the end, as with O_APPEND.
        access |= (flags & kOpenAppend) != 0
                      ? FILE_APPEND_DATA | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE
                      : GENERIC_WRITE;
    }
    const DWORD disposition = (flags & kOpenCreate) != 0 ? OPEN_ALWAYS : OPEN_EXISTING;
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if ((flags & kOpenCreate) != 0 && (permissions & 0222) == 0 && permissions != 0) {
        attributes = FILE_ATTRIBUTE_READONLY;
    }
    if (!follow) {
        attributes |= FILE_FLAG_OPEN_REPARSE_POINT;
    }
    Result<FileDescriptor> fd = OpenNative(path, access, kShareAll, disposition, attributes);
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
    st = opened.value();
    return fd;
}

Result<FileDescriptor> CreateNewFile(const std::string& path, OpenFlags flags,
                                     unsigned permissions) {
    DWORD access = GENERIC_WRITE;
    if ((flags & kOpenRead) != 0) {
        access |= GENERIC_READ;
    }
    const DWORD attributes =
        ((permissions & 0222) == 0 ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL) |
        FILE_FLAG_OPEN_REPARSE_POINT;
    return OpenNative(path, access, kSharePrivate, CREATE_NEW, attributes);
}

Result<FileDescriptor> CreateUniqueFile(std::string& pattern) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    if (pattern.size() < 6 || pattern.compare(pattern.size() - 6, 6, "XXXXXX") != 0) {
        return Status::FromErrno(EINVAL);
    }
    static std::uint64_t counter = 0;
    std::uint64_t seed = (static_cast<std::uint64_t>(GetCurrentProcessId()) << 32) ^
                         GetTickCount64() ^ (++counter * 0x9E3779B97F4A7C15ULL);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::uint64_t bits = seed;
        for (std::size_t i = pattern.size() - 6; i < pattern.size(); ++i) {
            pattern[i] = kLetters[bits % 36];
            bits /= 36;
        }
        Result<FileDescriptor> created = CreateNewFile(pattern, kOpenReadWrite, 0666);
        if (created.ok() || created.status().ErrorNumber() != EEXIST) {
            return created;
        }
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    }
    return Status::FromErrno(EEXIST);
}

Status SetPermissionsLike(FileHandle file, const FileStatus* like) {
    if (like == nullptr || (like->permissions & 0222) != 0) {
        return Status::Ok();
    }
    FILE_BASIC_INFO basic;
    if (!GetFileInformationByHandleEx(Native(file), FileBasicInfo, &basic, sizeof basic)) {
        return LastWin32Status();
    }
    basic.FileAttributes |= FILE_ATTRIBUTE_READONLY;
    return SetFileInformationByHandle(Native(file), FileBasicInfo, &basic, sizeof basic)
               ? Status::Ok()
               : LastWin32Status();
}

Result<FileDescriptor> OpenDirectory(const std::string& directory) {
    Result<FileDescriptor> opened = OpenNative(directory, FILE_READ_ATTRIBUTES, kShareAll,
                                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (!opened.ok()) {
        return opened;
    }
    const Result<FileStatus> status = StatusOf(opened.value().Get());
    if (status.ok() && status.value().kind != FileKind::kDirectory) {
        return Status::FromErrno(ENOTDIR);
    }
    return opened;
}

Status LockFile(FileHandle file, LockMode mode, std::chrono::milliseconds wait) {
    const Result<FileStatus> status = StatusOf(file);
    if (status.ok() && status.value().kind == FileKind::kDirectory) {
        const std::wstring name = L"Local\\Korr2LD-directory-lock-" +
                                  std::to_wstring(status.value().device) + L"-" +
                                  std::to_wstring(status.value().inode);
        const HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
        if (mutex == nullptr) {
            return LastWin32Status();
        }
        const DWORD waited = WaitForSingleObject(mutex, static_cast<DWORD>(wait.count()));
        if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
            CloseHandle(mutex);
            return Status::FromErrno(EWOULDBLOCK);
        }
        const std::lock_guard<std::mutex> guard(g_directoryLocksGuard);
        g_directoryLocks[file] = mutex;
        return Status::Ok();
    }
    const DWORD flags =
        (mode == LockMode::kExclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0) | LOCKFILE_FAIL_IMMEDIATELY;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        OVERLAPPED where{};
        where.OffsetHigh = kLockOffsetHigh;
        if (LockFileEx(Native(file), flags, 0, 1, 0, &where)) {
            return Status::Ok();
        }
        const DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
            return StatusFromWin32(error);
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return Status::FromErrno(EWOULDBLOCK);
        }
        std::this_thread::sleep_for(kLockRetry);
    }
}

Result<std::size_t> ReadSome(FileHandle file, void* buffer, std::size_t size) {
    DWORD got = 0;
    const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!ReadFile(Native(file), buffer, asked, &got, nullptr)) {
        const DWORD error = GetLastError();
        if (error == ERROR_HANDLE_EOF || error == ERROR_BROKEN_PIPE) {
            return std::size_t{0};
        }
        return StatusFromWin32(error);
    }
    return static_cast<std::size_t>(got);
}

Result<std::size_t> ReadAt(FileHandle file, void* buffer, std::size_t size, std::uint64_t offset) {
    // A read at an offset moves a synchronous handle's position: kept.
    LARGE_INTEGER zero{};
    LARGE_INTEGER position{};
    if (!SetFilePointerEx(Native(file), zero, &position, FILE_CURRENT)) {
        return LastWin32Status();
    }
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    const BOOL read = ReadFile(Native(file), buffer, asked, &got, &where);
    const DWORD error = read ? ERROR_SUCCESS : GetLastError();
    SetFilePointerEx(Native(file), position, nullptr, FILE_BEGIN);
    if (!read && error != ERROR_HANDLE_EOF) {
        return StatusFromWin32(error);
    }
    return static_cast<std::size_t>(read ? got : 0);
}

Status WriteAll(FileHandle file, std::string_view bytes, std::size_t* written) {
    std::size_t done = 0;
    Status status;
    while (done < bytes.size()) {
        const DWORD asked =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD got = 0;
        if (!WriteFile(Native(file), bytes.data() + done, asked, &got, nullptr)) {
            status = LastWin32Status();
            break;
        }
        if (got == 0) {
            status = Status::FromErrno(EIO);
            break;
        }
        done += got;
    }
    if (written != nullptr) {
        *written = done;
    }
    return status;
}

Status TruncateFile(FileHandle file, std::uint64_t size) {
    FILE_END_OF_FILE_INFO end;
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    return SetFileInformationByHandle(Native(file), FileEndOfFileInfo, &end, sizeof end)
               ? Status::Ok()
               : LastWin32Status();
}

Status SeekFile(FileHandle file, std::uint64_t offset) {
    LARGE_INTEGER where;
    where.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(Native(file), where, nullptr, FILE_BEGIN) ? Status::Ok()
                                                                      : LastWin32Status();
}

Status SyncFile(FileHandle file) {
    return FlushFileBuffers(Native(file)) ? Status::Ok() : LastWin32Status();
}

Status SyncFileAt(const std::string& path) {
    Result<FileDescriptor> fd = OpenNative(path, GENERIC_READ | GENERIC_WRITE, kShareAll,
                                           OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT);
    if (!fd.ok()) {
        return fd.status();
    }
    if (Status synced = SyncFile(fd.value().Get()); !synced.ok()) {
        return synced;
    }
    return fd.value().Close();
}

Status SyncDirectory(const std::string&) {
    // Renames are written through (MOVEFILE_WRITE_THROUGH), and Windows has
    // no sync of a directory's entries.
    return Status::Ok();
}

Status RenameNoReplace(const std::string& from, const std::string& to) {
    if (MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_WRITE_THROUGH)) {
        return Status::Ok();
    }
    return LastWin32Status();
}

Status RenameReplacing(const std::string& from, const std::string& to) {
    if (MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return Status::Ok();
    }
    return LastWin32Status();
}

Status RemoveFile(const std::string& path) {
    return DeleteFileW(WidePath(path).c_str()) ? Status::Ok() : LastWin32Status();
}

Result<std::vector<DirectoryEntry>> ListDirectory(const std::string& directory) {
    std::string pattern = directory.empty() ? std::string(".") : directory;
    if (pattern.back() != '/' && pattern.back() != '\\') {
        pattern += '\\';
    }
    pattern += '*';
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileExW(WidePath(pattern).c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
    std::vector<DirectoryEntry> entries;
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) {
            return entries;
        }
        return StatusFromWin32(error);
    }
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        FileKind kind = FileKind::kRegular;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
            found.dwReserved0 == IO_REPARSE_TAG_SYMLINK) {
            kind = FileKind::kSymbolicLink;
        } else if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            kind = FileKind::kDirectory;
        }
        entries.push_back({Utf8FromWide(name), kind});
    } while (FindNextFileW(search, &found));
    const DWORD error = GetLastError();
    FindClose(search);
    if (error != ERROR_NO_MORE_FILES) {
        return StatusFromWin32(error);
    }
    return entries;
}

Status MakeDirectory(const std::string& directory) {
    return CreateDirectoryW(WidePath(directory).c_str(), nullptr) ? Status::Ok()
                                                                  : LastWin32Status();
}

Result<std::string> CurrentDirectory() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring wide(size, L'\0');
    const DWORD used = GetCurrentDirectoryW(size, wide.data());
    if (size == 0 || used == 0 || used >= size) {
        return LastWin32Status();
    }
    wide.resize(used);
    return Utf8FromWide(wide);
}

Status CheckWritable(const std::string& path) {
    // Windows tells a read-only file by its attribute; whether the user's
    // rights allow a write is known only by trying it.
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return LastWin32Status();
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return Status::FromErrno(EACCES);
    }
    return Status::Ok();
}

Result<std::string> ResolvedPath(const std::string& path) {
    Result<FileDescriptor> opened = OpenNative(path, FILE_READ_ATTRIBUTES, kShareAll, OPEN_EXISTING,
                                               FILE_FLAG_BACKUP_SEMANTICS);
    if (!opened.ok()) {
        return opened.status();
    }
    const HANDLE handle = Native(opened.value().Get());
    const DWORD size = GetFinalPathNameByHandleW(handle, nullptr, 0, FILE_NAME_NORMALIZED);
    std::wstring wide(size, L'\0');
    const DWORD used = GetFinalPathNameByHandleW(handle, wide.data(), size, FILE_NAME_NORMALIZED);
    if (size == 0 || used == 0 || used >= size) {
        return LastWin32Status();
    }
    wide.resize(used);
    if (wide.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        wide = L"\\\\" + wide.substr(8);
    } else if (wide.rfind(L"\\\\?\\", 0) == 0 && wide.size() < MAX_PATH + 4) {
        wide = wide.substr(4);
    }
    return Utf8FromWide(wide);
}

FileHandle StandardOutputFile() {
    const HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    return handle == nullptr ? kNoFile : Handle(handle);
}

Status CloseStandardOutput() {
    const HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return Status::FromErrno(EBADF);
    }
    // Only a file has anything left to report (a console or a pipe has
    // taken every byte at the write); the handle stays open for the rest of
    // the process, as the C runtime's stdout uses it too.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        return Status::Ok();
    }
    return FlushFileBuffers(handle) ? Status::Ok() : LastWin32Status();
}

std::FILE* OpenStream(const std::string& path, const char* mode) {
    return _wfopen(WidePath(path).c_str(), WideFromUtf8(mode).c_str());
}

int ErrnoFromSystemCode(int code) {
    return ErrnoFromWin32(static_cast<unsigned long>(code));
}
