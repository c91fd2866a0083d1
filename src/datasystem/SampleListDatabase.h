// CSampleListDatabase is one open Sample List file: the SQLite connection,
// its two prepared statements and the record count. The static functions
// create and remove list files. Every function returns a ferrox.h status.
//
// Appends run in one transaction, begun by the first append and committed
// by Close(), so that a list is either as it was before or has every
// appended record. If SQLite gives up that transaction (a full disk, an I/O
// error), every later append and Close() report the failure: nothing of the
// transaction remains, and nothing pretends otherwise. Destroying an open
// object rolls back what was not committed.
#pragma once

#include <cstdint>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

class CSampleListDatabase {
public:
    CSampleListDatabase() = default;
    ~CSampleListDatabase();
    CSampleListDatabase(const CSampleListDatabase&) = delete;
    CSampleListDatabase& operator=(const CSampleListDatabase&) = delete;

    // Creates an empty list at PATH: built under a temporary name in the
    // same directory and renamed into place only when complete, never over
    // an existing file (DB3_E_EXISTS). A journal left beside PATH without
    // its list is removed first, so that it cannot be played into the new
    // list.
    static int32_t Create(const std::string& path);

    // Removes the list at PATH and its journal; DB3_OK when there is none.
    // A file that is not a Sample List (nor empty) is left alone:
    // DB3_E_NOT_SAMPLE_LIST.
    static int32_t Remove(const std::string& path);

    // Opens the list at PATH. The file is checked without being written (its
    // header, then its schema read as it lies on disk) before it is opened
    // for writing; only then may SQLite roll back a journal left by a
    // crash. A list whose records are not numbered 1..N is refused.
    int32_t Open(const std::string& path);

    // Stores RECORD (DB3_SAMPLE_RECORD_SIZE bytes) as number NUMBER, which
    // must be the count plus one.
    int32_t Append(int32_t number, const void* record);

    // Copies record NUMBER into RECORD (DB3_SAMPLE_RECORD_SIZE bytes).
    int32_t Read(int32_t number, void* record);

    // Commits the appends durably and closes; the status of the commit, or
    // of the failure that lost the transaction. Closed afterwards in any case.
    int32_t Close();

    int32_t GetCount() const { return m_nCount; }
    const std::string& GetPath() const { return m_strPath; }

private:
    int32_t Fail(int rc);
    // The size the file will have once the pending pages are written.
    std::int64_t DatabaseSize();
    int32_t OpenChecked();
    void Release();

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_insert = nullptr;
    sqlite3_stmt* m_select = nullptr;
    std::string m_strPath;
    int32_t m_nCount = 0;
    int32_t m_nCommittedCount = 0;
    bool m_bInTransaction = false;
    // The status that lost the transaction; every later call reports it.
    int32_t m_nLostTransaction = 0;
};
