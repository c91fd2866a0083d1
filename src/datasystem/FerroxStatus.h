// Turning failures of the operating system and of SQLite into the record
// library's statuses (ferrox.h), and statuses into sentences.
#pragma once

#include <cstdint>
#include <string>

struct sqlite3;

namespace ferrox {

// The status for errno ERROR of a file operation.
int32_t StatusFromErrno(int error);

// The status for result code RC of an SQLite call on DB (which may be
// null), working on the Sample List at PATH, which was about to grow to
// EXPECTED_SIZE bytes (0 when not known). A failed write counts as "too
// large" when the file reached, or was to pass, the process's file size
// limit: SQLite reports a write cut short by that limit as a full disk, and
// the error number of a failed commit is lost in the rollback that follows.
int32_t StatusFromSqlite(int rc, sqlite3* db, const std::string& path,
                         std::int64_t expectedSize = 0);

const char* StatusText(int32_t status);

}  // namespace ferrox
