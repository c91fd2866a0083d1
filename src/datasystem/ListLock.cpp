#include "datasystem/ListLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "datasystem/FerroxStatus.h"
#include "datasystem/ListFiles.h"
#include "datasystem/ferrox.h"
#include "framework/FileIdentity.h"

namespace {

// How often a waiting writer tries again.
constexpr auto kRetry = std::chrono::milliseconds(10);

}  // namespace

ListLock::~ListLock() {
    Release();
}

std::int32_t ListLock::Acquire(const std::string& listPath, int waitMs) {
    Release();
    const std::string lockPath = ferrox::LockPathFor(listPath);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0) {
            return ferrox::StatusFromErrno(errno);
        }
        while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR) {
                const int error = errno;
                ::close(fd);
                return ferrox::StatusFromErrno(error);
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                ::close(fd);
                return DB3_E_BUSY;
            }
            std::this_thread::sleep_for(kRetry);
        }
        // The holder before us may have removed the file we locked; the
        // lock then protects nothing, and the file now at that name counts.
        struct stat locked;
        struct stat named;
        if (fstat(fd, &locked) == 0 && ::stat(lockPath.c_str(), &named) == 0 &&
            SameFile(locked, named)) {
            m_fd = fd;
            m_strListPath = listPath;
            m_strLockPath = lockPath;
            return DB3_OK;
        }
        ::close(fd);
    }
}

void ListLock::Release() {
    if (m_fd < 0) {
        return;
    }
    // Removed while still locked, so that nobody locks a file about to go.
    ::unlink(m_strLockPath.c_str());
    ::close(m_fd);
    m_fd = -1;
    m_strListPath.clear();
    m_strLockPath.clear();
}
