// The operating system's text for an errno value, made in one place.
#pragma once

#include <string>

// The text for ERROR ("No such file or directory"), as strerror gives it
// but safe to call from any thread; "unknown error" for 0.
std::string SystemErrorText(int error);

// The errno value for CODE, an error the system reports in its own terms
// (SQLite's sqlite3_system_errno: errno itself on POSIX systems, where a
// full quota, EDQUOT, counts as a full disk, ENOSPC; GetLastError() on
// Windows).
int ErrnoFromSystemCode(int code);
