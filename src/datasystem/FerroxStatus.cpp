#include "datasystem/FerroxStatus.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "datasystem/ferrox.h"
#include "framework/File.h"
#include "framework/Process.h"
#include "framework/SystemError.h"

namespace ferrox {

namespace {

FailureCause g_cause;

// The largest page a Sample List uses; a write of one page more than the
// limit allows is cut short.
constexpr std::int64_t kLargestWrite = 65536;

std::int64_t SizeOf(const std::string& path) {
    const Result<FileStatus> st = StatusAt(path);
    return st.ok() ? static_cast<std::int64_t>(st.value().size) : 0;
}

bool FileSizeLimitReached(const std::string& path, std::int64_t expectedSize) {
    const std::optional<std::uint64_t> limit = FileSizeLimit();
    if (!limit) {
        return false;
    }
    const auto max = static_cast<std::int64_t>(*limit);
    const std::int64_t size = std::max<std::int64_t>(SizeOf(path), expectedSize);
    return size + kLargestWrite > max || SizeOf(path + "-journal") + kLargestWrite > max;
}

}  // namespace

void ClearFailureCause() {
    g_cause = FailureCause();
}

const FailureCause& LastFailureCause() {
    return g_cause;
}

int32_t FailWithCause(int32_t status, const std::string& path, std::string clause) {
    g_cause.path = path;
    g_cause.clause = std::move(clause);
    return status;
}

int32_t FailOnFile(const std::string& what, const std::string& path, const Status& failed) {
    return FailWithCause(StatusFromErrno(failed.ErrorNumber()), path,
                         "cannot " + what + " " + path + ": " + failed.message());
}

int32_t StatusFromErrno(int error) {
    switch (error) {
        case ENOENT:
            return DB3_E_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
            return DB3_E_READ_ONLY;
        case ENOSPC:
            return DB3_E_FULL;
        case EFBIG:
            return DB3_E_TOO_LARGE;
        case EBUSY:
            return DB3_E_BUSY;
        default:
            return DB3_E_IO;
    }
}

int32_t StatusFromSqlite(int rc, sqlite3* db, const std::string& path, std::int64_t expectedSize) {
    const int systemError = db != nullptr ? ErrnoFromSystemCode(sqlite3_system_errno(db)) : 0;
    switch (rc & 0xFF) {
        case SQLITE_OK:
        case SQLITE_DONE:
        case SQLITE_ROW:
            return DB3_OK;
        case SQLITE_FULL:
            return FileSizeLimitReached(path, expectedSize) ? DB3_E_TOO_LARGE : DB3_E_FULL;
        case SQLITE_TOOBIG:
            return DB3_E_TOO_LARGE;
        case SQLITE_IOERR:
            if (systemError == EFBIG) {
                return DB3_E_TOO_LARGE;
            }
            if (systemError == ENOSPC) {
                return DB3_E_FULL;
            }
            if (systemError == 0 && FileSizeLimitReached(path, expectedSize)) {
                return DB3_E_TOO_LARGE;
            }
            return DB3_E_IO;
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return DB3_E_READ_ONLY;
        case SQLITE_CANTOPEN:
            if (systemError == EACCES || systemError == EPERM || systemError == EROFS) {
                return DB3_E_READ_ONLY;
            }
            return systemError == ENOENT ? DB3_E_NOT_FOUND : DB3_E_IO;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return DB3_E_BUSY;
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
        case SQLITE_FORMAT:
        case SQLITE_SCHEMA:
        case SQLITE_MISMATCH:
            return DB3_E_NOT_SAMPLE_LIST;
        default:
            return DB3_E_INTERNAL;
    }
}

const char* StatusText(int32_t status) {
    switch (status) {
        case DB3_OK:
            return "The operation succeeded.";
        case DB3_E_NOT_FOUND:
            return "There is no Sample List of that name at the sample-list location.";
        case DB3_E_IO:
            return "The operating system reported an input/output error on the Sample List.";
        case DB3_E_NOT_OPEN:
            return "The Sample List database is not open.";
        case DB3_E_BUSY:
            return "Another conversion or program is writing the Sample List; try again when "
                   "it is done.";
        case DB3_E_LOCATION:
            return "The sample-list location is not configured, its directory does not exist, "
                   "or it cannot be written.";
        case DB3_E_EXISTS:
            return "A file of that name already exists at the sample-list location.";
        case DB3_E_INVALID:
            return "The request is invalid: a bad database number, mode, operation, flag, "
                   "list name or record.";
        case DB3_E_TOO_LARGE:
            return "The Sample List would exceed the largest file size allowed.";
        case DB3_E_FULL:
            return "There is no space left on the device that holds the Sample List.";
        case DB3_E_READ_ONLY:
            return "The Sample List or its directory cannot be written.";
        case DB3_E_SEQUENCE:
            return "Records must be stored in order: the record number is not the record "
                   "count plus one.";
        case DB3_E_NO_RECORD:
            return "The Sample List has no record with that number.";
        case DB3_E_NOT_SAMPLE_LIST:
            return "The file is not a Sample List, or it is damaged.";
        case DB3_E_ALREADY_OPEN:
            return "A Sample List is already open in this program.";
        case DB3_E_UNFINISHED:
            return "The Sample List has an unfinished write beside it (a journal left by a "
                   "program that stopped while writing it); the data system completes or "
                   "undoes it when it next opens the list for writing.";
        case DB3_E_INTERNAL:
            return "The storage engine failed unexpectedly.";
        default:
            return "Unknown status of the record library.";
    }
}

}  // namespace ferrox
