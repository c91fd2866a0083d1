// SampleListDatabase is one open Sample List: the SQLite connection, its
// two prepared statements and the record count. Every function returns a
// ferrox.h status.
//
// A new list is built under a temporary name beside its final one
// (ListFiles.h) and appears under its name only when Close() commits it:
// the appends are committed and synced, the file is renamed into place and
// the folder synced. Until then a list of that name stays as it was, and a
// list that is abandoned, or whose writer dies, never appears. Callers hold
// the list's lock (ListLock.h) from before Create() until Close() or
// Abandon().
//
// An existing list opened for writing takes its appends in one transaction,
// begun by the first append and committed by Close(): the file is either as
// it was or has every appended record. If SQLite gives up that transaction
// (a full disk, an I/O error), every later append and Close() report the
// failure. Destroying an open object abandons it.
#pragma once

#include <cstdint>
#include <string>

#include "datasystem/ferrox.h"
#include "framework/Signals.h"

struct sqlite3;
struct sqlite3_stmt;

class SampleListDatabase {
public:
    SampleListDatabase() = default;
    ~SampleListDatabase();
    SampleListDatabase(const SampleListDatabase&) = delete;
    SampleListDatabase& operator=(const SampleListDatabase&) = delete;

    // What is at PATH, for a list about to replace it: DB3_OK for a Sample
    // List (of any format version), DB3_E_NOT_FOUND for nothing, and
    // DB3_E_NOT_SAMPLE_LIST for anything else, an empty file included.
    static int32_t CheckReplaceable(const std::string& path);

    // Starts a new, empty list that Close() will put at PATH. With REPLACE,
    // which CheckReplaceable(PATH) must have allowed under the lock held
    // since, the commit replaces the Sample List there (anything else there
    // by then is DB3_E_NOT_SAMPLE_LIST); without it a file of that name,
    // there now or by the time of the commit, fails the create or the commit
    // with DB3_E_EXISTS. Files that dead writers of this list left behind
    // are removed first (ListFiles.h).
    int32_t Create(const std::string& path, bool replace);

    // Opens the list at PATH. The file is checked without being written (its
    // header, then its schema read as it lies on disk). READ_ONLY opens it
    // without locking or writing anything, ever: a list with a journal beside
    // it, an unfinished write of another program, is DB3_E_UNFINISHED and is
    // not repaired. For writing, SQLite may roll back such a journal. A list
    // whose records are not numbered 1..N is refused.
    int32_t Open(const std::string& path, bool readOnly);

    // Stores RECORD (DB3_SAMPLE_RECORD_SIZE bytes) as number NUMBER, which
    // must be the count plus one.
    int32_t Append(int32_t number, const void* record);

    // Copies record NUMBER into RECORD (DB3_SAMPLE_RECORD_SIZE bytes). A
    // stored record of another size is DB3_E_NOT_SAMPLE_LIST and is never
    // loaded whole.
    int32_t Read(int32_t number, void* record);

    // Commits the appends durably (and puts a new list in place) and closes;
    // the status of the commit, or of the failure that lost the appends.
    // Closed afterwards in any case; a new list that failed is removed.
    int32_t Close();

    // Closes without committing: a new list is removed, an existing one
    // keeps what it had at Open.
    void Abandon();

    int32_t GetCount() const { return m_nCount; }
    // The identity of the new list that Close() put in place, taken from
    // its own descriptor once its folder was synced; null when Close() put
    // none in place.
    const DB3_LIST_IDENTITY* GetCommitted() const { return m_bCommitted ? &m_committed : nullptr; }
    // The path of the list (for a new one, the path it will have).
    const std::string& GetPath() const { return m_strPath; }

private:
    int32_t Fail(int rc);
    // The size the file will have once the pending pages are written.
    std::int64_t DatabaseSize();
    int32_t OpenChecked(const std::string& uri, int flags);
    int32_t Prepare(bool forWriting);
    int32_t CommitTransaction();
    int32_t PutInPlace();
    void Release();

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_insert = nullptr;
    sqlite3_stmt* m_select = nullptr;
    std::string m_strPath;
    // The file a new list is built in; empty for an existing list.
    std::string m_strTemporary;
    // The temporary and its journal, removed if the process is interrupted.
    InterruptCleanup m_removeOnInterrupt[2];
    bool m_bReplace = false;
    int32_t m_nCount = 0;
    int32_t m_nCommittedCount = 0;
    bool m_bInTransaction = false;
    // The status that lost the transaction; every later call reports it.
    int32_t m_nLostTransaction = 0;
    DB3_LIST_IDENTITY m_committed{};
    bool m_bCommitted = false;
};
