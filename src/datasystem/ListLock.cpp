#include "datasystem/ListLock.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "datasystem/FerroxStatus.h"
#include "datasystem/ListFiles.h"
#include "datasystem/ferrox.h"
#include "framework/FileIdentity.h"

namespace {

// The status for ST, found at the lock's name: not a lock file.
std::int32_t NotALockFile(const std::string& lockPath, const FileStatus& st) {
    const std::string kind =
        st.kind == FileKind::kRegular ? std::string("a file with content") : FileKindName(st.kind);
    return ferrox::FailWithCause(DB3_E_EXISTS, lockPath,
                                 lockPath +
                                     " is where the Sample List's lock file belongs, but it is " +
                                     kind + ", not an empty regular file; it was left as it is");
}

bool IsLockFile(const FileStatus& st) {
    return st.kind == FileKind::kRegular && st.size == 0;
}

// Opens the lock file at LOCK_PATH into FD, creating it when missing.
std::int32_t OpenLockFile(const std::string& lockPath, FileDescriptor& fd) {
    // Looked at first, so that nothing but a lock file is ever opened.
    const Result<FileStatus> found = StatusAt(lockPath, Links::kDoNotFollow);
    const bool exists = found.ok();
    if (exists && !IsLockFile(found.value())) {
        return NotALockFile(lockPath, found.value());
    }
    if (!exists && found.status().ErrorNumber() != ENOENT) {
        return ferrox::FailOnFile("look at the lock file", lockPath, found.status());
    }
    FileStatus st;
    Result<FileDescriptor> opened =
        OpenRegularFile(lockPath, kOpenReadWrite | kOpenCreate | kOpenNoFollow, 0666, &st);
    if (!opened.ok()) {
        // Something else took the name meanwhile.
        if (st.kind != FileKind::kNone || opened.status().ErrorNumber() == ELOOP) {
            if (st.kind == FileKind::kNone) {
                st.kind = FileKind::kSymbolicLink;
            }
            return NotALockFile(lockPath, st);
        }
        return ferrox::FailOnFile(exists ? "open the lock file" : "create the lock file", lockPath,
                                  opened.status());
    }
    if (!IsLockFile(st)) {
        return NotALockFile(lockPath, st);
    }
    fd = std::move(opened).value();
    return DB3_OK;
}

// Whether the file open at FD is still the one at LOCK_PATH: a holder
// removes the lock file when it releases the lock.
bool IsStillNamed(FileHandle fd, const std::string& lockPath) {
    const Result<FileStatus> opened = StatusOf(fd);
    const Result<FileStatus> named = StatusAt(lockPath, Links::kDoNotFollow);
    return opened.ok() && named.ok() && SameFile(opened.value(), named.value());
}

}  // namespace

ListLock::~ListLock() {
    Release();
}

std::int32_t ListLock::Acquire(const std::string& listPath, int waitMs) {
    Release();
    const std::string lockPath = ferrox::LockPathFor(listPath);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        FileDescriptor fd;
        if (const std::int32_t opened = OpenLockFile(lockPath, fd); opened != DB3_OK) {
            return opened;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const Status locked =
            LockFile(fd.Get(), LockMode::kExclusive, std::max(left, std::chrono::milliseconds(0)));
        if (locked.ErrorNumber() == EWOULDBLOCK) {
            return DB3_E_BUSY;
        }
        if (!locked.ok()) {
            return ferrox::FailOnFile("lock", lockPath, locked);
        }
        // The holder before us may have removed the file we locked; the
        // lock then protects nothing, and the file now at that name counts.
        if (IsStillNamed(fd.Get(), lockPath)) {
            m_fd = std::move(fd);
            m_strListPath = listPath;
            m_removeOnInterrupt.Hold(lockPath);
            return DB3_OK;
        }
    }
}

void ListLock::Release() {
    if (!m_fd.IsOpen()) {
        return;
    }
    // Once released, the name may be another holder's lock file.
    m_removeOnInterrupt.Drop();
    // Removed while still locked, so that nobody locks a file about to go.
    const std::string lockPath = ferrox::LockPathFor(m_strListPath);
    if (IsStillNamed(m_fd.Get(), lockPath)) {
        static_cast<void>(RemoveFile(lockPath));
    }
    static_cast<void>(m_fd.Close());
    m_strListPath.clear();
}
