// The Sample List file format (docs/sample-list-format.md): an SQLite
// database, marked by its application id and format version, with the
// table "records" and the view "sample_list".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "datasystem/ferrox.h"
#include "framework/File.h"

struct sqlite3;

namespace ferrox {

// "FXSL" in the database header: the file is a Sample List.
constexpr std::uint32_t kApplicationId = 0x4658534C;
constexpr std::uint32_t kFormatVersion = 1;
// One page holds 15 records; a record never spills to overflow pages.
constexpr int kPageSize = 65536;
// Bounds the memory of an open list whatever its size (KiB).
constexpr int kCacheKiB = 4096;
// How long a call waits for another program's lock before DB3_E_BUSY.
constexpr int kBusyTimeoutMs = 5000;

// The statements that give an empty database the Sample List schema, in one
// transaction. The page size must be set before, on the empty file.
std::string SchemaScript();

enum class HeaderCheck {
    kOurs,        // an SQLite file with our application id and version
    kMissing,     // no file
    kForeign,     // something else, or another version
    kUnreadable,  // could not be read; errno tells why
};

// Looks at the first 100 bytes of PATH without SQLite, so that nothing is
// rolled back or written before the file is known to be a Sample List.
// ANY_VERSION accepts every format version (for removal).
HeaderCheck CheckHeader(const std::string& path, bool anyVersion = false);

// The journal SQLite keeps beside the list at PATH while it writes it in
// place: PATH followed by kJournalSuffix.
inline constexpr std::string_view kJournalSuffix = "-journal";
std::string JournalOf(const std::string& path);

// True when a journal that is not empty lies beside the list at PATH: a
// write that has not finished, or whose writer died, and that only the
// next open for writing repairs.
bool HasUnfinishedWrite(const std::string& path);

// DB3GetListIdentity for the file at PATH (ferrox.h): a status, and
// IDENTITY filled when it is DB3_OK. With CHANGE_COUNTER the status comes
// from the one descriptor the header is read through.
int32_t IdentifyList(const std::string& path, bool changeCounter, DB3_LIST_IDENTITY& identity);

// The same, change counter included, for the list open as FILE (its journal
// is not looked at).
int32_t IdentifyOpenList(FileHandle file, DB3_LIST_IDENTITY& identity);

enum class SchemaCheck { kOk, kMismatch, kEngineError };

// Checks the open database's application id, version and table "records"
// (a rowid table with columns "number INTEGER PRIMARY KEY" and "data BLOB
// NOT NULL"). On kEngineError, *RC holds SQLite's result code.
SchemaCheck CheckSchema(sqlite3* db, int* rc);

}  // namespace ferrox
