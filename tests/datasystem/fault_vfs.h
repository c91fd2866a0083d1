// A test VFS for SQLite that wraps the default one and makes chosen file
// operations fail, so that the record library can be shown a full disk or
// an I/O error at any point of a write without a real device doing so.
//
// Install() registers it as SQLite's default VFS (once per process); every
// connection opened afterwards goes through it, including those the record
// library opens itself. While no fault is armed it only forwards.
//
// A fault names an operation (write, sync, truncate, delete of a file,
// read), the kind of file it applies to (the database, its rollback journal,
// or any), when it begins (on the Nth matching call since Arm, or on the
// write that would take the bytes written since Arm past a budget; the part
// of that write within the budget is written first, like a device that
// fills up in the middle of a page), and the SQLite result code and errno
// the failed call reports. A sticky fault fails every later matching call
// too, like a full disk; a single one fails one call only.
#pragma once

#include <sqlite3.h>

#include <cerrno>
#include <cstdint>

namespace faultvfs {

enum class Op { kWrite, kSync, kTruncate, kDelete, kRead };
enum class FileKind { kAny, kDatabase, kJournal };

struct Fault {
    Op op = Op::kWrite;
    FileKind file = FileKind::kAny;
    // Fails the Nth matching call (1-based) since Arm; 0: not by count.
    int onCall = 0;
    // Writes only: fails the write that takes the bytes written to matching
    // files since Arm past this budget; negative: not by bytes.
    std::int64_t afterBytes = -1;
    int resultCode = 0;   // e.g. SQLITE_FULL, SQLITE_IOERR_WRITE
    int systemError = 0;  // errno the failure reports (sqlite3_system_errno)
    bool sticky = true;
};

// A failing write on FILE: once AFTER_BYTES are written (negative: not by
// bytes), or on call ON_CALL; a full disk unless told otherwise.
inline Fault WriteFault(FileKind file, std::int64_t afterBytes, int onCall = 0,
                        int resultCode = SQLITE_FULL, int systemError = ENOSPC) {
    return Fault{.op = Op::kWrite,
                 .file = file,
                 .onCall = onCall,
                 .afterBytes = afterBytes,
                 .resultCode = resultCode,
                 .systemError = systemError};
}

// Call ON_CALL of OP on FILE fails with RESULT_CODE and EIO (and every later
// one, when STICKY).
inline Fault CallFault(Op op, FileKind file, int onCall, int resultCode, bool sticky = true) {
    return Fault{.op = op,
                 .file = file,
                 .onCall = onCall,
                 .resultCode = resultCode,
                 .systemError = EIO,
                 .sticky = sticky};
}

// Registers the VFS as SQLite's default; later calls do nothing.
void Install();

// Arms FAULT, replacing any fault armed before, and resets the counters.
void Arm(const Fault& fault);

// Arms FAULT beside those armed already (e.g. a failing truncate after a
// failing write); a call fails when any of them says so.
void ArmAlso(const Fault& fault);

// Lets every call through again; the counters are kept.
void Disarm();

// Calls that failed because of the armed faults, since Arm.
int Failures();

// Bytes written to files of the first armed fault's kind since Arm.
std::int64_t BytesWritten();

// Calls of the first armed fault's operation on files of its kind since Arm.
int Calls();

// Disarms on destruction, so that a failing test leaves no fault behind.
class ScopedFault {
public:
    explicit ScopedFault(const Fault& fault) { Arm(fault); }
    ~ScopedFault() { Disarm(); }
    ScopedFault(const ScopedFault&) = delete;
    ScopedFault& operator=(const ScopedFault&) = delete;
};

}  // namespace faultvfs
