// ListLock: the one-writer-at-a-time lock of one Sample List.
//
// Every process that writes a list holds the lock of its name from the
// moment it decides to write until the list is committed or abandoned, so
// that two conversions into one name, from any two processes, never
// interleave. The lock is an advisory lock (flock) on a hidden lock file
// beside the list (ListFiles.h names it); the holder removes the file when
// it releases the lock, and a process that dies releases the lock with its
// descriptor, leaving only the empty file for the next writer to reuse. A
// waiter that locked a file already removed by its holder starts again on
// the file now at that name, so two processes never both believe they hold
// the lock.
//
// Only an empty regular file at the lock's name is a lock file: anything
// else there (a symbolic link, a directory, a pipe, a device, a file with
// content) was not made by the record library, and is never opened through
// a link, locked, written, truncated or removed; the lock then cannot be
// taken (DB3_E_EXISTS, the cause naming that file).
#pragma once

#include <cstdint>
#include <string>

#include "framework/File.h"
#include "framework/Signals.h"

class ListLock {
public:
    ListLock() = default;
    ~ListLock();
    ListLock(const ListLock&) = delete;
    ListLock& operator=(const ListLock&) = delete;

    // Takes the lock of the list at LIST_PATH, waiting at most WAIT_MS for
    // another holder. DB3_OK; DB3_E_BUSY when another process held it for
    // that long; DB3_E_EXISTS when something that is not a lock file is at
    // the lock's name; otherwise the status of the failing file operation.
    // The cause of a failure is noted (FerroxStatus.h).
    std::int32_t Acquire(const std::string& listPath, int waitMs);

    // Releases the lock and removes its file (when its name still is the
    // file locked); nothing when not held.
    void Release();

    bool IsHeld() const { return m_fd.IsOpen(); }
    const std::string& GetListPath() const { return m_strListPath; }

private:
    FileDescriptor m_fd;
    std::string m_strListPath;
    // The lock file, removed if the process is interrupted while it holds
    // the lock (the lock goes with the process anyway).
    InterruptCleanup m_removeOnInterrupt;
};
