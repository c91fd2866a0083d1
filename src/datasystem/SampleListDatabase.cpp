#include "datasystem/SampleListDatabase.h"

#include <sqlite3.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "datasystem/FerroxStatus.h"
#include "datasystem/ListFiles.h"
#include "datasystem/SampleListFormat.h"
#include "datasystem/ferrox.h"
#include "framework/File.h"

namespace {

using ferrox::JournalOf;
using ferrox::StatusFromSqlite;

constexpr int kOpenFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;

// "file:" URI for PATH with every byte but the plainest ones escaped.
std::string FileUri(const std::string& path) {
    std::string uri = "file:";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') || c == '/' || c == '.' || c == '_' || c == '-' ||
            c == '~') {
            uri += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            uri += escaped;
        }
    }
    return uri;
}

// The status for a file at PATH that is not a Sample List, with the cause
// when the file is not a regular one.
int32_t NotASampleList(const std::string& path) {
    const Result<FileStatus> st = StatusAt(path);
    if (!st.ok()) {
        return st.status().ErrorNumber() == ENOENT
                   ? ferrox::FailWithCause(DB3_E_NOT_SAMPLE_LIST, path,
                                           path +
                                               " is a symbolic link to a file that "
                                               "does not exist; it was left as it is")
                   : DB3_E_NOT_SAMPLE_LIST;
    }
    if (st.value().kind == FileKind::kRegular) {
        return DB3_E_NOT_SAMPLE_LIST;
    }
    return ferrox::FailWithCause(DB3_E_NOT_SAMPLE_LIST, path,
                                 path + " is " + FileKindName(st.value().kind) +
                                     ", not a Sample List; it was left as it is");
}

}  // namespace

SampleListDatabase::~SampleListDatabase() {
    Abandon();
}

void SampleListDatabase::Release() {
    sqlite3_finalize(m_insert);
    sqlite3_finalize(m_select);
    m_insert = nullptr;
    m_select = nullptr;
    if (m_db != nullptr) {
        if (m_bInTransaction) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        }
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_bInTransaction = false;
    m_nLostTransaction = 0;
    m_nCount = 0;
    m_nCommittedCount = 0;
}

void SampleListDatabase::Abandon() {
    Release();
    if (!m_strTemporary.empty()) {
        ferrox::RemoveTemporary(m_strTemporary);
        m_strTemporary.clear();
        m_removeOnInterrupt[0].Drop();
        m_removeOnInterrupt[1].Drop();
    }
}

// Never DB3_OK: RC is a failure even when it is an unexpected success code.
int32_t SampleListDatabase::Fail(int rc) {
    const int32_t status =
        StatusFromSqlite(rc, m_db, m_strTemporary.empty() ? m_strPath : m_strTemporary);
    return status == DB3_OK ? DB3_E_INTERNAL : status;
}

int32_t SampleListDatabase::CheckReplaceable(const std::string& path) {
    if (const Result<FileStatus> st = StatusAt(path, Links::kDoNotFollow); !st.ok()) {
        return st.status().ErrorNumber() == ENOENT
                   ? DB3_E_NOT_FOUND
                   : ferrox::FailOnFile("look at", path, st.status());
    }
    switch (ferrox::CheckHeader(path, true)) {
        case ferrox::HeaderCheck::kOurs:
            return DB3_OK;
        case ferrox::HeaderCheck::kUnreadable:
            return ferrox::FailOnFile("read", path, Status::FromErrno(errno));
        case ferrox::HeaderCheck::kMissing:  // a dangling symbolic link
        case ferrox::HeaderCheck::kForeign:
            break;
    }
    return NotASampleList(path);
}

int32_t SampleListDatabase::Create(const std::string& path, bool replace) {
    Abandon();
    m_strPath = path;
    m_bReplace = replace;
    // What lies at PATH for a replace was checked by the DB3_MODE_REPLACE
    // just before, under the writer lock held since; the commit checks again,
    // as the list is built.
    if (!replace && CheckReplaceable(path) != DB3_E_NOT_FOUND) {
        return DB3_E_EXISTS;  // whatever it is, it is not ours to replace
    }
    ferrox::RemoveAbandonedFilesOf(path);

    if (const int32_t created = ferrox::CreateTemporaryFor(path, m_strTemporary);
        created != DB3_OK) {
        return created == DB3_E_NOT_FOUND ? DB3_E_LOCATION : created;
    }
    // Stopped by an interrupt, the process leaves no list being built.
    m_removeOnInterrupt[0].Hold(m_strTemporary);
    m_removeOnInterrupt[1].Hold(JournalOf(m_strTemporary));
    int rc = sqlite3_open_v2(m_strTemporary.c_str(), &m_db, kOpenFlags, nullptr);
    if (rc == SQLITE_OK) {
        // The schema needs no sync of its own: the file is not a list
        // before the commit, which syncs it whole. Nothing ever rolls the
        // file back after a crash either: it is private until the commit
        // renames it into place, and removed if it fails or its writer
        // dies. So its rollback journal stays in memory, where it still
        // undoes a transaction that SQLite gives up.
        const std::string setup = "PRAGMA page_size = " + std::to_string(ferrox::kPageSize) +
                                  "; PRAGMA journal_mode = MEMORY; PRAGMA synchronous = OFF;";
        rc = sqlite3_exec(m_db, setup.c_str(), nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK) {
        rc = sqlite3_exec(m_db, ferrox::SchemaScript().c_str(), nullptr, nullptr, nullptr);
    }
    int32_t status = DB3_OK;
    if (rc != SQLITE_OK) {
        // The schema takes the first two pages; a write cut short by the
        // file size limit is rolled back to an empty file before the
        // status is made, so the size it was to reach is given here.
        status = StatusFromSqlite(rc, m_db, m_strTemporary, 2 * ferrox::kPageSize);
        status = status == DB3_OK ? DB3_E_INTERNAL : status;
    } else {
        status = Prepare(true);
    }
    if (status != DB3_OK) {
        Abandon();
    }
    return status;
}

int32_t SampleListDatabase::Open(const std::string& path, bool readOnly) {
    Abandon();
    m_strPath = path;
    switch (ferrox::CheckHeader(path)) {
        case ferrox::HeaderCheck::kOurs:
            break;
        case ferrox::HeaderCheck::kMissing:
            return DB3_E_NOT_FOUND;
        case ferrox::HeaderCheck::kForeign:
            return DB3_E_NOT_SAMPLE_LIST;
        case ferrox::HeaderCheck::kUnreadable:
            return ferrox::FailOnFile("read", path, Status::FromErrno(errno));
    }
    const bool unfinished = ferrox::HasUnfinishedWrite(path);
    // "immutable" reads the file as it lies, without locks and without
    // looking at a journal or any other file beside it.
    const std::string asItLies = FileUri(path) + "?immutable=1";
    constexpr int kAsItLiesFlags = SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
    if (readOnly) {
        if (unfinished) {
            return DB3_E_UNFINISHED;
        }
        const int32_t status = OpenChecked(asItLies, kAsItLiesFlags);
        if (status != DB3_OK) {
            Release();
        }
        return status;
    }

    // The schema as it lies on disk, before anything may be rolled back.
    sqlite3* probe = nullptr;
    int rc = sqlite3_open_v2(asItLies.c_str(), &probe, kAsItLiesFlags, nullptr);
    ferrox::SchemaCheck check = ferrox::SchemaCheck::kEngineError;
    if (rc == SQLITE_OK) {
        check = ferrox::CheckSchema(probe, &rc);
    }
    int32_t probeStatus = StatusFromSqlite(rc, probe, path);
    if (probeStatus == DB3_OK) {
        probeStatus = DB3_E_NOT_SAMPLE_LIST;
    }
    sqlite3_close_v2(probe);
    if (check == ferrox::SchemaCheck::kMismatch) {
        return DB3_E_NOT_SAMPLE_LIST;
    }
    // A file with our header that cannot be read as it lies may be one that
    // a crash left half-written: only its journal can make it whole again.
    if (check == ferrox::SchemaCheck::kEngineError && !unfinished) {
        return probeStatus;
    }
    const int32_t status = OpenChecked(path, kOpenFlags);
    if (status != DB3_OK) {
        Release();
    }
    return status;
}

int32_t SampleListDatabase::OpenChecked(const std::string& uri, int flags) {
    int rc = sqlite3_open_v2(uri.c_str(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        return Fail(rc);
    }
    // The first read rolls back a journal left by a crash (for writing).
    switch (ferrox::CheckSchema(m_db, &rc)) {
        case ferrox::SchemaCheck::kOk:
            break;
        case ferrox::SchemaCheck::kMismatch:
            return DB3_E_NOT_SAMPLE_LIST;
        case ferrox::SchemaCheck::kEngineError:
            return Fail(rc);
    }

    // Numbers are distinct integers; with the smallest 1 and the largest
    // equal to the count they are exactly 1..count.
    sqlite3_stmt* counts = nullptr;
    rc = sqlite3_prepare_v2(m_db,
                            "SELECT count(*), coalesce(min(number), 1), coalesce(max(number), 0) "
                            "FROM records",
                            -1, &counts, nullptr);
    sqlite3_int64 count = 0;
    sqlite3_int64 smallest = 0;
    sqlite3_int64 largest = 0;
    if (rc == SQLITE_OK && (rc = sqlite3_step(counts)) == SQLITE_ROW) {
        count = sqlite3_column_int64(counts, 0);
        smallest = sqlite3_column_int64(counts, 1);
        largest = sqlite3_column_int64(counts, 2);
        rc = SQLITE_OK;
    }
    sqlite3_finalize(counts);
    if (rc != SQLITE_OK) {
        return Fail(rc);
    }
    if (count != largest || smallest != 1 || count > INT32_MAX) {
        return DB3_E_NOT_SAMPLE_LIST;
    }
    const int32_t status = Prepare((flags & SQLITE_OPEN_READWRITE) != 0);
    m_nCount = static_cast<int32_t>(count);
    m_nCommittedCount = m_nCount;
    return status;
}

int32_t SampleListDatabase::Prepare(bool forWriting) {
    if (forWriting) {
        sqlite3_busy_timeout(m_db, ferrox::kBusyTimeoutMs);
        const std::string setup = "PRAGMA cache_size = -" + std::to_string(ferrox::kCacheKiB) +
                                  "; PRAGMA synchronous = FULL;";
        const int rc = sqlite3_exec(m_db, setup.c_str(), nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            return Fail(rc);
        }
    }
    int rc = SQLITE_OK;
    if (forWriting) {
        rc = sqlite3_prepare_v3(m_db, "INSERT INTO records(number, data) VALUES(?1, ?2)", -1,
                                SQLITE_PREPARE_PERSISTENT, &m_insert, nullptr);
    }
    // The record is taken only when its size is right: length() and
    // typeof() read the stored size without loading the value.
    if (rc == SQLITE_OK) {
        const std::string select = "SELECT CASE WHEN typeof(data) = 'blob' AND length(data) = " +
                                   std::to_string(DB3_SAMPLE_RECORD_SIZE) +
                                   " THEN data END FROM records WHERE number = ?1";
        rc = sqlite3_prepare_v3(m_db, select.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &m_select,
                                nullptr);
    }
    return rc == SQLITE_OK ? DB3_OK : Fail(rc);
}

std::int64_t SampleListDatabase::DatabaseSize() {
    sqlite3_int64 pages = 0;
    sqlite3_int64 pageSize = 0;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_db,
                           "SELECT page_count, page_size FROM pragma_page_count, pragma_page_size",
                           -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        pages = sqlite3_column_int64(statement, 0);
        pageSize = sqlite3_column_int64(statement, 1);
    }
    sqlite3_finalize(statement);
    return pages * pageSize;
}

int32_t SampleListDatabase::Append(int32_t number, const void* record) {
    if (m_db == nullptr) {
        return DB3_E_NOT_OPEN;
    }
    if (m_insert == nullptr) {
        return DB3_E_READ_ONLY;
    }
    if (m_nLostTransaction != DB3_OK) {
        return m_nLostTransaction;
    }
    if (m_nCount == INT32_MAX) {
        return DB3_E_TOO_LARGE;
    }
    if (number != m_nCount + 1) {
        return DB3_E_SEQUENCE;
    }
    if (!m_bInTransaction) {
        const int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            return Fail(rc);
        }
        m_bInTransaction = true;
        m_nCommittedCount = m_nCount;
    }
    sqlite3_bind_int(m_insert, 1, number);
    sqlite3_bind_blob(m_insert, 2, record, DB3_SAMPLE_RECORD_SIZE, SQLITE_STATIC);
    const int rc = sqlite3_step(m_insert);
    sqlite3_reset(m_insert);
    if (rc != SQLITE_DONE) {
        const int32_t status = Fail(rc);
        if (sqlite3_get_autocommit(m_db)) {
            // SQLite rolled the whole transaction back.
            m_bInTransaction = false;
            m_nCount = m_nCommittedCount;
            m_nLostTransaction = status;
        }
        return status;
    }
    ++m_nCount;
    return DB3_OK;
}

int32_t SampleListDatabase::Read(int32_t number, void* record) {
    if (m_db == nullptr) {
        return DB3_E_NOT_OPEN;
    }
    if (number < 1 || number > m_nCount) {
        return DB3_E_NO_RECORD;
    }
    sqlite3_bind_int(m_select, 1, number);
    const int rc = sqlite3_step(m_select);
    int32_t status = DB3_OK;
    if (rc == SQLITE_ROW) {
        if (sqlite3_column_type(m_select, 0) == SQLITE_BLOB &&
            sqlite3_column_bytes(m_select, 0) == DB3_SAMPLE_RECORD_SIZE) {
            std::memcpy(record, sqlite3_column_blob(m_select, 0), DB3_SAMPLE_RECORD_SIZE);
        } else {
            status = DB3_E_NOT_SAMPLE_LIST;
        }
    } else if (rc == SQLITE_DONE) {
        status = DB3_E_NO_RECORD;
    } else {
        status = Fail(rc);
    }
    sqlite3_reset(m_select);
    return status;
}

int32_t SampleListDatabase::CommitTransaction() {
    if (!m_bInTransaction) {
        return m_nLostTransaction;
    }
    const std::int64_t size = DatabaseSize();
    const int rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const int32_t status =
            StatusFromSqlite(rc, m_db, m_strTemporary.empty() ? m_strPath : m_strTemporary, size);
        return status == DB3_OK ? DB3_E_INTERNAL : status;
    }
    m_bInTransaction = false;
    return DB3_OK;
}

// Moves the committed new list from its temporary name to its own.
int32_t SampleListDatabase::PutInPlace() {
    int32_t status = DB3_OK;
    if (const Status synced = SyncFileAt(m_strTemporary); !synced.ok()) {
        status = ferrox::FailOnFile("sync", m_strTemporary, synced);
    }
    // Opened while the name is still private: whatever is at the list's name
    // later, this is the list written.
    const Result<FileDescriptor> own = OpenRegularFile(m_strTemporary, kOpenRead | kOpenNoFollow);
    int32_t there = DB3_E_NOT_FOUND;
    if (status == DB3_OK) {
        there = CheckReplaceable(m_strPath);
        if (there == DB3_OK && !m_bReplace) {
            status = DB3_E_EXISTS;  // a list appeared while this one was built
        } else if (there != DB3_OK && there != DB3_E_NOT_FOUND) {
            status = there;
        }
    }
    // A journal beside the name belongs to the list being replaced, or to
    // none: it must not be played into the new list. (Beside a name too
    // long to take the journal's suffix there can be none.)
    const std::string journal = JournalOf(m_strPath);
    if (status == DB3_OK) {
        if (const Status removed = RemoveFile(journal); !removed.ok() &&
                                                        removed.ErrorNumber() != ENOENT &&
                                                        removed.ErrorNumber() != ENAMETOOLONG) {
            status = ferrox::FailOnFile("remove", journal, removed);
        }
    }
    if (status == DB3_OK) {
        const Status moved = there == DB3_OK ? RenameReplacing(m_strTemporary, m_strPath)
                                             : RenameNoReplace(m_strTemporary, m_strPath);
        if (moved.ErrorNumber() == EEXIST) {
            status = DB3_E_EXISTS;
        } else if (!moved.ok()) {
            status = ferrox::FailOnFile("put the new list in place as", m_strPath, moved);
        }
    }
    if (status != DB3_OK) {
        return status;
    }
    // Gone from its temporary name by the rename: nothing left to remove.
    m_strTemporary.clear();
    m_removeOnInterrupt[0].Drop();
    m_removeOnInterrupt[1].Drop();
    // The list is in place and complete; a folder that cannot be synced
    // leaves only its survival of a power cut in doubt, which is not a
    // failure of the list.
    static_cast<void>(SyncDirectory(ferrox::DirectoryOf(m_strPath)));
    m_bCommitted = own.ok() && ferrox::IdentifyOpenList(own.value().Get(), m_committed) == DB3_OK;
    return DB3_OK;
}

int32_t SampleListDatabase::Close() {
    if (m_db == nullptr) {
        return DB3_E_NOT_OPEN;
    }
    int32_t status = CommitTransaction();
    Release();  // rolls back a transaction whose commit failed
    if (status == DB3_OK && !m_strTemporary.empty()) {
        status = PutInPlace();
    }
    Abandon();  // removes a new list that could not be put in place
    return status;
}
