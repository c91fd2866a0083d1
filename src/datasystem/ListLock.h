// ListLock: the one-writer-at-a-time lock of one Sample List.
//
// Every process that writes a list holds the lock of its name from the
// moment it decides to write until the list is committed or abandoned, so
// that two conversions into one name, from any two processes, never
// interleave. The lock is an advisory lock (flock) on a hidden lock file
// beside the list (ListFiles.h names it); the holder removes the file when
// it releases the lock, and a process that dies releases the lock with its
// descriptor, leaving only the empty file for the next writer to reuse or
// remove. A waiter that locked a file already removed by its holder starts
// again on the file now at that name, so two processes never both believe
// they hold the lock.
#pragma once

#include <cstdint>
#include <string>

class ListLock {
public:
    ListLock() = default;
    ~ListLock();
    ListLock(const ListLock&) = delete;
    ListLock& operator=(const ListLock&) = delete;

    // Takes the lock of the list at LIST_PATH, waiting at most WAIT_MS for
    // another holder. DB3_OK; DB3_E_BUSY when another process held it for
    // that long; otherwise the status of the failing file operation.
    std::int32_t Acquire(const std::string& listPath, int waitMs);

    // Releases the lock and removes its file; nothing when not held.
    void Release();

    bool IsHeld() const { return m_fd >= 0; }
    const std::string& GetListPath() const { return m_strListPath; }

private:
    int m_fd = -1;
    std::string m_strListPath;
    std::string m_strLockPath;
};
