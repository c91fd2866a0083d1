// Signal dispositions both executables set before they do anything else,
// and the removal of a process's own temporary files when it is stopped.
#pragma once

#include <cstddef>
#include <string>

// Ignores SIGXFSZ, so that a write passing the process's file size limit
// (ulimit -f) fails with EFBIG, which the record library reports as a
// Sample List that would exceed the largest file size allowed, instead of
// ending the process without a word. Call at the very start of main; child
// processes inherit the disposition.
void IgnoreFileSizeSignal();

// Makes an interrupt remove the files registered below (InterruptCleanup)
// and then end the process as the interrupt would have without it, with
// the usual status: on POSIX SIGINT, SIGTERM and SIGHUP (a signal ignored
// when the process started, as under nohup, stays ignored); on Windows
// Ctrl+C, Ctrl+Break and closing the console window. Call at the start of
// main, once.
void RemoveFilesOnInterrupt();

// One file to remove if the process is interrupted while this object
// holds it. Registering and dropping are cheap (no allocation, no system
// call) and may happen on any thread; the interrupt handler only removes
// files by name. At most kInterruptCleanupFiles files are held at a time,
// each name shorter than kInterruptCleanupPathBytes bytes; a file beyond
// that is simply not removed on an interrupt (what is left is a hidden
// temporary that its owner's next run removes).
//
// The owner drops a file (Drop, or the destructor) before the name can
// stand for anything that is no longer its own: before it renames the file
// into place or releases a lock whose file another process may create anew.
inline constexpr int kInterruptCleanupFiles = 16;
inline constexpr std::size_t kInterruptCleanupPathBytes = 4096;

class InterruptCleanup {
public:
    InterruptCleanup() = default;
    explicit InterruptCleanup(const std::string& path) { Hold(path); }
    ~InterruptCleanup() { Drop(); }
    InterruptCleanup(const InterruptCleanup&) = delete;
    InterruptCleanup& operator=(const InterruptCleanup&) = delete;

    // Holds PATH (dropping what was held); false when it cannot be held.
    bool Hold(const std::string& path);
    // From now on an interrupt leaves the file alone.
    void Drop();
    bool IsHeld() const { return m_nSlot >= 0; }

private:
    int m_nSlot = -1;
};
