#include "datasystem/SampleListFormat.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>

#include "datasystem/FerroxStatus.h"
#include "datasystem/SampleRecordFields.h"
#include "framework/AsciiCase.h"
#include "framework/File.h"

namespace ferrox {

namespace {

// The column of the view that shows FIELD: its text up to its first zero
// byte or to the end of its span.
std::string FieldExpression(const RecordField& field) {
    const std::string slice = "substr(data, " + std::to_string(field.offset + 1) + ", " +
                              std::to_string(field.span) + ")";
    return "CAST(substr(" + slice + ", 1, CASE instr(" + slice + ", x'00') WHEN 0 THEN " +
           std::to_string(field.span) + " ELSE instr(" + slice + ", x'00') - 1 END) AS TEXT) AS " +
           field.key;
}

std::uint32_t BigEndian32(const unsigned char* bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

// Runs SQL, a statement giving one integer; false when it fails.
bool QueryInteger(sqlite3* db, const char* sql, sqlite3_int64& value, int& rc) {
    sqlite3_stmt* statement = nullptr;
    rc = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            value = sqlite3_column_int64(statement, 0);
            rc = SQLITE_OK;
        }
    }
    sqlite3_finalize(statement);
    return rc == SQLITE_OK;
}

bool Equal(const unsigned char* text, const char* expected) {
    return text != nullptr && SameIgnoringAsciiCase(reinterpret_cast<const char*>(text), expected);
}

constexpr std::size_t kHeaderSize = 100;
// SQLite's file change counter: a big-endian count of the committed
// transactions that changed the file.
constexpr std::size_t kChangeCounterOffset = 24;

// Checks the header of the regular file open at FD, and gives its change
// counter in COUNTER (when not null). On kUnreadable, errno says why.
HeaderCheck CheckOpenHeader(FileHandle fd, bool anyVersion, std::uint32_t* counter) {
    unsigned char header[kHeaderSize];
    std::size_t used = 0;
    while (used < sizeof header) {
        const Result<std::size_t> got = ReadAt(fd, header + used, sizeof header - used, used);
        if (!got.ok()) {
            errno = got.status().ErrorNumber();
            return HeaderCheck::kUnreadable;
        }
        if (got.value() == 0) {
            break;
        }
        used += got.value();
    }
    if (used < sizeof header || std::memcmp(header, "SQLite format 3", 16) != 0) {
        return HeaderCheck::kForeign;
    }
    // Bytes 18 and 19 are 1 for a rollback journal (2 would mean WAL).
    if (header[18] != 1 || header[19] != 1 || BigEndian32(header + 68) != kApplicationId) {
        return HeaderCheck::kForeign;
    }
    if (!anyVersion && BigEndian32(header + 60) != kFormatVersion) {
        return HeaderCheck::kForeign;
    }
    if (counter != nullptr) {
        *counter = BigEndian32(header + kChangeCounterOffset);
    }
    return HeaderCheck::kOurs;
}

// Opens PATH, which must be a regular file, and checks its header: ST
// receives the status of the file opened, COUNTER (when not null) its
// change counter. On kUnreadable, errno says why.
HeaderCheck ReadHeader(const std::string& path, bool anyVersion, FileStatus& st,
                       std::uint32_t* counter) {
    Result<FileDescriptor> fd = OpenRegularFile(path, kOpenRead, 0, &st);
    if (!fd.ok()) {
        if (st.kind != FileKind::kNone) {
            return HeaderCheck::kForeign;  // not a regular file
        }
        errno = fd.status().ErrorNumber();
        return errno == ENOENT ? HeaderCheck::kMissing : HeaderCheck::kUnreadable;
    }
    const HeaderCheck check = CheckOpenHeader(fd.value().Get(), anyVersion, counter);
    const int error = errno;
    static_cast<void>(fd.value().Close());
    errno = error;
    return check;
}

}  // namespace

std::string SchemaScript() {
    std::string view = "CREATE VIEW sample_list AS SELECT number";
    for (const RecordField& field : kRecordFields) {
        view += ", ";
        view += FieldExpression(field);
    }
    view += " FROM records ORDER BY number;";
    return "BEGIN;"
           "PRAGMA application_id = " +
           std::to_string(kApplicationId) +
           ";"
           "PRAGMA user_version = " +
           std::to_string(kFormatVersion) +
           ";"
           "CREATE TABLE records(number INTEGER PRIMARY KEY, data BLOB NOT NULL);" +
           view + "COMMIT;";
}

HeaderCheck CheckHeader(const std::string& path, bool anyVersion) {
    FileStatus st;
    return ReadHeader(path, anyVersion, st, nullptr);
}

std::string JournalOf(const std::string& path) {
    return path + std::string(kJournalSuffix);
}

bool HasUnfinishedWrite(const std::string& path) {
    const Result<FileStatus> journal = StatusAt(JournalOf(path));
    return journal.ok() && journal.value().size > 0;
}

namespace {

// IDENTITY for a file of status ST and change counter COUNTER.
void FillIdentity(const FileStatus& st, std::uint32_t counter, DB3_LIST_IDENTITY& identity) {
    identity = DB3_LIST_IDENTITY{};
    identity.device = st.device;
    identity.inode = st.inode;
    identity.size = static_cast<std::int64_t>(st.size);
    identity.modifiedSeconds = st.modifiedSeconds;
    identity.modifiedNanoseconds = st.modifiedNanoseconds;
    identity.changedSeconds = st.changedSeconds;
    identity.changedNanoseconds = st.changedNanoseconds;
    identity.changeCounter = counter;
}

}  // namespace

int32_t IdentifyList(const std::string& path, bool changeCounter, DB3_LIST_IDENTITY& identity) {
    FileStatus st;
    std::uint32_t counter = 0;
    if (!changeCounter) {
        const Result<FileStatus> found = StatusAt(path);
        if (!found.ok()) {
            return StatusFromErrno(found.status().ErrorNumber());
        }
        st = found.value();
        if (st.kind != FileKind::kRegular) {
            return DB3_E_NOT_SAMPLE_LIST;
        }
    } else {
        switch (ReadHeader(path, false, st, &counter)) {
            case HeaderCheck::kOurs:
                break;
            case HeaderCheck::kMissing:
                return DB3_E_NOT_FOUND;
            case HeaderCheck::kForeign:
                return DB3_E_NOT_SAMPLE_LIST;
            case HeaderCheck::kUnreadable:
                return StatusFromErrno(errno);
        }
    }
    if (HasUnfinishedWrite(path)) {
        return DB3_E_UNFINISHED;
    }
    FillIdentity(st, counter, identity);
    return DB3_OK;
}

int32_t IdentifyOpenList(FileHandle file, DB3_LIST_IDENTITY& identity) {
    std::uint32_t counter = 0;
    const Result<FileStatus> st = StatusOf(file);
    if (!st.ok()) {
        return StatusFromErrno(st.status().ErrorNumber());
    }
    if (CheckOpenHeader(file, false, &counter) != HeaderCheck::kOurs) {
        return DB3_E_NOT_SAMPLE_LIST;
    }
    FillIdentity(st.value(), counter, identity);
    return DB3_OK;
}

SchemaCheck CheckSchema(sqlite3* db, int* rc) {
    *rc = SQLITE_OK;
    sqlite3_int64 applicationId = 0;
    sqlite3_int64 version = 0;
    if (!QueryInteger(db, "PRAGMA application_id", applicationId, *rc) ||
        !QueryInteger(db, "PRAGMA user_version", version, *rc)) {
        return SchemaCheck::kEngineError;
    }
    if (applicationId != static_cast<std::int32_t>(kApplicationId) || version != kFormatVersion) {
        return SchemaCheck::kMismatch;
    }

    // Columns: cid, name, type, notnull, dflt_value, pk.
    sqlite3_stmt* statement = nullptr;
    *rc = sqlite3_prepare_v2(db, "PRAGMA table_info(records)", -1, &statement, nullptr);
    int columns = 0;
    bool shapeOk = true;
    while (*rc == SQLITE_OK || *rc == SQLITE_ROW) {
        if ((*rc = sqlite3_step(statement)) != SQLITE_ROW) {
            break;
        }
        const unsigned char* name = sqlite3_column_text(statement, 1);
        const unsigned char* type = sqlite3_column_text(statement, 2);
        const int notNull = sqlite3_column_int(statement, 3);
        const int primaryKey = sqlite3_column_int(statement, 5);
        if (columns == 0) {
            shapeOk = shapeOk && Equal(name, "number") && Equal(type, "INTEGER") && primaryKey == 1;
        } else if (columns == 1) {
            shapeOk = shapeOk && Equal(name, "data") && Equal(type, "BLOB") && notNull == 1 &&
                      primaryKey == 0;
        }
        ++columns;
    }
    sqlite3_finalize(statement);
    if (*rc != SQLITE_DONE) {
        return SchemaCheck::kEngineError;
    }
    *rc = SQLITE_OK;
    if (!shapeOk || columns != 2) {
        return SchemaCheck::kMismatch;
    }

    // "number" must be the rowid itself: a table WITHOUT ROWID, or a key
    // that is not an alias of the rowid, comes with an index of origin "pk".
    sqlite3_int64 keyIndexes = 0;
    if (!QueryInteger(db, "SELECT count(*) FROM pragma_index_list('records') WHERE origin = 'pk'",
                      keyIndexes, *rc)) {
        return SchemaCheck::kEngineError;
    }
    return keyIndexes == 0 ? SchemaCheck::kOk : SchemaCheck::kMismatch;
}

}  // namespace ferrox
