#include "datasystem/SampleListDatabase.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "datasystem/FerroxStatus.h"
#include "datasystem/SampleListFormat.h"
#include "datasystem/ferrox.h"

namespace {

using ferrox::StatusFromErrno;
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

std::string DirectoryPrefix(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

void SyncDirectory(const std::string& path) {
    const std::string prefix = DirectoryPrefix(path);
    const int fd =
        ::open(prefix.empty() ? "." : prefix.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        ::close(fd);
    }
}

// Removes the files SQLite keeps beside the list at PATH.
int32_t RemoveCompanions(const std::string& path) {
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        if (::unlink((path + suffix).c_str()) != 0 && errno != ENOENT) {
            return StatusFromErrno(errno);
        }
    }
    return DB3_OK;
}

// Renames FROM to TO unless TO exists.
int32_t MoveIntoPlace(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return DB3_OK;
    }
    if (errno == EEXIST) {
        return DB3_E_EXISTS;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return StatusFromErrno(errno);
    }
    // The file system cannot rename without replacing: a hard link refuses
    // an existing name as well.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return DB3_OK;
    }
    if (errno == EEXIST) {
        return DB3_E_EXISTS;
    }
    if (Exists(to)) {
        return DB3_E_EXISTS;
    }
    return std::rename(from.c_str(), to.c_str()) == 0 ? DB3_OK : StatusFromErrno(errno);
}

// Creates a new empty file beside PATH, named after it, and returns its
// name (empty on failure, errno set). The mode is 0666 less the umask, as
// for any new file.
std::string CreateTemporaryBeside(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = DirectoryPrefix(path) + "." + base + ".new-" +
                                      std::to_string(getpid()) + "-" + std::to_string(attempt);
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return candidate;
        }
        if (errno != EEXIST) {
            return std::string();
        }
    }
    errno = EEXIST;
    return std::string();
}

}  // namespace

CSampleListDatabase::~CSampleListDatabase() {
    Release();
}

void CSampleListDatabase::Release() {
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

// Never DB3_OK: RC is a failure even when it is an unexpected success code.
int32_t CSampleListDatabase::Fail(int rc) {
    const int32_t status = StatusFromSqlite(rc, m_db, m_strPath);
    return status == DB3_OK ? DB3_E_INTERNAL : status;
}

int32_t CSampleListDatabase::Create(const std::string& path) {
    if (Exists(path)) {
        return DB3_E_EXISTS;
    }
    if (errno != ENOENT) {
        return StatusFromErrno(errno);
    }
    const std::string temp = CreateTemporaryBeside(path);
    if (temp.empty()) {
        return errno == ENOENT ? DB3_E_LOCATION : StatusFromErrno(errno);
    }
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(temp.c_str(), &db, kOpenFlags, nullptr);
    if (rc == SQLITE_OK) {
        const std::string setup = "PRAGMA page_size = " + std::to_string(ferrox::kPageSize) +
                                  "; PRAGMA journal_mode = DELETE; PRAGMA synchronous = FULL;";
        rc = sqlite3_exec(db, setup.c_str(), nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK) {
        rc = sqlite3_exec(db, ferrox::SchemaScript().c_str(), nullptr, nullptr, nullptr);
    }
    int32_t status = rc == SQLITE_OK ? DB3_OK : StatusFromSqlite(rc, db, temp);
    sqlite3_close_v2(db);
    if (status == DB3_OK) {
        // A journal without its list cannot belong to the new one.
        status = RemoveCompanions(path);
    }
    if (status == DB3_OK) {
        status = MoveIntoPlace(temp, path);
    }
    if (status != DB3_OK) {
        ::unlink(temp.c_str());
        RemoveCompanions(temp);
        return status;
    }
    SyncDirectory(path);
    return DB3_OK;
}

int32_t CSampleListDatabase::Remove(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            return StatusFromErrno(errno);
        }
        if (Exists(path)) {
            return DB3_E_NOT_SAMPLE_LIST;  // a dangling symbolic link
        }
        return RemoveCompanions(path);
    }
    if (!S_ISREG(st.st_mode)) {
        return DB3_E_NOT_SAMPLE_LIST;
    }
    if (st.st_size != 0) {
        switch (ferrox::CheckHeader(path, true)) {
            case ferrox::HeaderCheck::kOurs:
                break;
            case ferrox::HeaderCheck::kMissing:
                return RemoveCompanions(path);
            case ferrox::HeaderCheck::kUnreadable:
                return StatusFromErrno(errno);
            case ferrox::HeaderCheck::kForeign:
                return DB3_E_NOT_SAMPLE_LIST;
        }
    }
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        return StatusFromErrno(errno);
    }
    const int32_t status = RemoveCompanions(path);
    SyncDirectory(path);
    return status;
}

int32_t CSampleListDatabase::Open(const std::string& path) {
    Release();
    m_strPath = path;
    switch (ferrox::CheckHeader(path)) {
        case ferrox::HeaderCheck::kOurs:
            break;
        case ferrox::HeaderCheck::kMissing:
            return DB3_E_NOT_FOUND;
        case ferrox::HeaderCheck::kForeign:
            return DB3_E_NOT_SAMPLE_LIST;
        case ferrox::HeaderCheck::kUnreadable:
            return StatusFromErrno(errno);
    }

    // The schema as it lies on disk: "immutable" reads the file without
    // locks and without looking at a journal, so nothing can be written.
    sqlite3* probe = nullptr;
    int rc = sqlite3_open_v2((FileUri(path) + "?immutable=1").c_str(), &probe,
                             SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
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
    if (check == ferrox::SchemaCheck::kEngineError && !Exists(path + "-journal")) {
        return probeStatus;
    }
    const int32_t status = OpenChecked();
    if (status != DB3_OK) {
        Release();
    }
    return status;
}

int32_t CSampleListDatabase::OpenChecked() {
    // A file that cannot be written is opened for reading only.
    int rc = sqlite3_open_v2(m_strPath.c_str(), &m_db, kOpenFlags, nullptr);
    if (rc != SQLITE_OK) {
        return Fail(rc);
    }
    sqlite3_busy_timeout(m_db, ferrox::kBusyTimeoutMs);
    const std::string setup = "PRAGMA cache_size = -" + std::to_string(ferrox::kCacheKiB) +
                              "; PRAGMA synchronous = FULL;";
    rc = sqlite3_exec(m_db, setup.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        return Fail(rc);
    }
    // The first read rolls back a journal left by a crash.
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

    rc = sqlite3_prepare_v3(m_db, "INSERT INTO records(number, data) VALUES(?1, ?2)", -1,
                            SQLITE_PREPARE_PERSISTENT, &m_insert, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_prepare_v3(m_db, "SELECT data FROM records WHERE number = ?1", -1,
                                SQLITE_PREPARE_PERSISTENT, &m_select, nullptr);
    }
    if (rc != SQLITE_OK) {
        return Fail(rc);
    }
    m_nCount = static_cast<int32_t>(count);
    m_nCommittedCount = m_nCount;
    return DB3_OK;
}

std::int64_t CSampleListDatabase::DatabaseSize() {
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

int32_t CSampleListDatabase::Append(int32_t number, const void* record) {
    if (m_db == nullptr) {
        return DB3_E_NOT_OPEN;
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

int32_t CSampleListDatabase::Read(int32_t number, void* record) {
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

int32_t CSampleListDatabase::Close() {
    if (m_db == nullptr) {
        return DB3_E_NOT_OPEN;
    }
    int32_t status = m_nLostTransaction;
    if (m_bInTransaction) {
        const std::int64_t size = DatabaseSize();
        const int rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            status = StatusFromSqlite(rc, m_db, m_strPath, size);
            status = status == DB3_OK ? DB3_E_INTERNAL : status;
        } else {
            m_bInTransaction = false;
        }
    }
    Release();  // rolls back a transaction whose commit failed
    return status;
}
