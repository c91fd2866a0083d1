// Turning failures of the operating system and of SQLite into the record
// library's statuses (ferrox.h), and statuses into sentences; and the cause
// behind the last failure, which DB3GetFailureCause gives.
#pragma once

#include <cstdint>
#include <string>

#include "framework/Status.h"

struct sqlite3;

namespace ferrox {

// What was wrong with which file when the last call failed, where the
// status alone does not say: the file, and a clause naming it and the
// cause ("cannot open the lock file /d/.a.sdb.lock: Too many levels of
// symbolic links"). Both empty when there is none.
struct FailureCause {
    std::string path;
    std::string clause;
};

// Forgets the cause; every entry point of the record library calls it
// first, so that a cause always belongs to the status just returned.
void ClearFailureCause();
const FailureCause& LastFailureCause();

// Notes CLAUSE about PATH as the cause, and returns STATUS.
int32_t FailWithCause(int32_t status, const std::string& path, std::string clause);
// Notes "cannot WHAT PATH: <FAILED's text>" as the cause, and returns the
// status for FAILED's errno (DB3_E_IO when it has none: a file of the
// wrong kind). Never DB3_OK.
int32_t FailOnFile(const std::string& what, const std::string& path, const Status& failed);

// The status for errno ERROR of a failed file operation; DB3_E_IO when
// ERROR is 0 (a failure without one, such as a file of the wrong kind).
// Never DB3_OK.
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
