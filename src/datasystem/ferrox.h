/* Ferrox: the data system's record library, as far as Korr2LD uses it.
 *
 * A database is known by a number; the Sample List database is number 5.
 * A Sample List named NAME lives in the directory and with the extension of
 * the data system's current sample-list location (key "SAMPLES_DB" of section
 * "SystemList" as _MSGGetGlobalFile gives it in this process, see ostrel.h),
 * as DIRECTORY NAME.EXTENSION (no dot when the extension is empty). NAME is
 * a bare file name: not empty, at most 255 bytes, without '/' or '\', and
 * not "." or "..".
 *
 * This implementation keeps each list in an SQLite file described in
 * docs/sample-list-format.md: table "records" with one row of exactly
 * DB3_SAMPLE_RECORD_SIZE bytes per record, numbered 1..N without gaps, and
 * a view "sample_list" that shows the written text fields.
 *
 * A new list appears complete or not at all (see DB3_MODE_CREATE). Appends
 * to an existing list go into one transaction that DB3Close commits
 * durably: until then the file, even after a crash or power cut, holds the
 * list as it was at DB3Open. A file that is not a Sample List is never
 * modified or removed by any call, nor is any file beside a list but the
 * record library's own (its lock, its temporary lists and their journals,
 * and the journal of a list it replaces).
 *
 * Every call returns a status: 0 on success, one of the DB3_E_* codes below
 * otherwise. DB3StatusText gives a sentence for any status.
 *
 * One database of each number can be open at a time in a process; the calls
 * are not thread-safe.
 */
#ifndef FERROX_H
#define FERROX_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Database numbers. */
#define DB3_SAMPLE_LIST 5

/* Size of one Sample List record in bytes. */
#define DB3_SAMPLE_RECORD_SIZE 4262

/* Modes of DB3Open.
 * DB3_MODE_CHECK   the sample-list location is configured, and its directory
 *                  exists and may be written by this process; opens nothing.
 *                  DB3_E_LOCATION otherwise.
 * DB3_MODE_REPLACE marks the list of that name to be replaced by the commit
 *                  of the next DB3_MODE_CREATE of that name; nothing is
 *                  removed now, so the list stays whole and readable until
 *                  that commit, and stays as it is when the new list is
 *                  abandoned or its writer dies. DB3_OK also when there is
 *                  no list of that name. A file of that name that is not a
 *                  Sample List (an empty file included) is left alone:
 *                  DB3_E_NOT_SAMPLE_LIST. Takes the list's writer lock (see
 *                  below). DB3_E_ALREADY_OPEN while a list is open.
 * DB3_MODE_CREATE  starts a new, empty list and opens it. It is built under
 *                  a hidden temporary name beside its own and appears under
 *                  its name only when DB3Close commits it (synced, renamed
 *                  into place, the folder synced): complete or not at all.
 *                  Unless DB3_MODE_REPLACE marked the name just before, a
 *                  file of that name fails the create or, when it appears
 *                  meanwhile, the commit: DB3_E_EXISTS. When a
 *                  DB3_MODE_REPLACE of the name just failed, the create
 *                  fails with its status (the replace asked for cannot be
 *                  done; DB3_E_BUSY comes at once, not after a second wait).
 * DB3_MODE_OPEN    opens an existing list for appending: DB3_E_NOT_FOUND
 *                  when there is no file, DB3_E_NOT_SAMPLE_LIST when the file
 *                  is not a Sample List (not SQLite, another application's
 *                  database, another schema or version, records not
 *                  numbered 1..N). A list that cannot be written is opened
 *                  for reading. A journal of an unfinished write beside it
 *                  is rolled back.
 * DB3_MODE_READ    opens an existing list for reading only, as DB3_MODE_OPEN
 *                  checks it, but never creates, changes, locks or removes
 *                  any file: a list with an unfinished write beside it is
 *                  DB3_E_UNFINISHED.
 * Every mode gives DB3_E_LOCATION when the location is not configured.
 *
 * One writer per list: DB3_MODE_REPLACE, DB3_MODE_CREATE and DB3_MODE_OPEN
 * take the list's writer lock, shared by all processes, and hold it until
 * DB3Close or DB3Abandon (or until a DB3_MODE_CREATE that fails). A lock
 * that another process holds is waited for 5 seconds, then DB3_E_BUSY.
 * The lock is an empty regular file beside the list; anything else at its
 * name (a link, a directory, a pipe, a device, a file with content) is not
 * the library's: it is left as it is and the call fails with DB3_E_EXISTS.
 * A create removes the temporary files that dead writers of the same list
 * left (holding the list's lock, it knows they are gone), and nothing else:
 * files of other lists, and files that only look like the library's, stay.
 * Files are never opened through a symbolic link at the lock's or a
 * temporary file's name, and a file to be read must be a regular file. */
#define DB3_MODE_OPEN 0
#define DB3_MODE_READ 1
#define DB3_MODE_CREATE 2
#define DB3_MODE_REPLACE 3
#define DB3_MODE_CHECK 5

/* Operations of DB3HandleRecord.
 * DB3_OP_READ   with flag 0: copies record NUMBER into the caller's buffer of
 *               DB3_SAMPLE_RECORD_SIZE bytes. DB3_E_NO_RECORD when there is
 *               none, DB3_E_NOT_SAMPLE_LIST when its stored size is wrong.
 * DB3_OP_STORE  with flag DB3_FLAG_APPEND: appends RECORD (DB3_SAMPLE_RECORD_SIZE
 *               bytes) as number NUMBER, which must be the record count plus
 *               one (DB3_E_SEQUENCE otherwise). If a failure makes the
 *               storage engine give up the pending appends (a full disk, an
 *               I/O error), that status is returned by every later store
 *               and by DB3Close: nothing appended since the open is kept.
 * Other combinations give DB3_E_INVALID. */
#define DB3_OP_READ 1
#define DB3_OP_STORE 3

/* Flags of DB3HandleRecord. */
#define DB3_FLAG_APPEND 1 /* NUMBER must be the record count plus one */

/* Statuses. */
#define DB3_OK 0
#define DB3_E_NOT_FOUND 2        /* no Sample List of that name at the location */
#define DB3_E_IO 5               /* the operating system reported an I/O error */
#define DB3_E_NOT_OPEN 9         /* the database is not open */
#define DB3_E_BUSY 11            /* another process kept the list locked for 5 s */
#define DB3_E_LOCATION 13        /* the location is not configured, missing or not writable */
#define DB3_E_EXISTS 17          /* a file of that name already exists (create), or */
                                 /* something other than a lock file at the lock's name */
#define DB3_E_INVALID 22         /* bad database number, mode, operation, flag, name or record */
#define DB3_E_TOO_LARGE 27       /* the file would exceed the allowed file size */
#define DB3_E_FULL 28            /* no space left on the device */
#define DB3_E_READ_ONLY 30       /* the list or its directory cannot be written */
#define DB3_E_SEQUENCE 34        /* store: NUMBER is not the record count plus one */
#define DB3_E_NO_RECORD 35       /* read: no record with that number */
#define DB3_E_NOT_SAMPLE_LIST 40 /* the file is not a Sample List, or is damaged */
#define DB3_E_ALREADY_OPEN 41    /* the database is already open */
#define DB3_E_UNFINISHED 42      /* read: an unfinished write (a journal) lies beside the list */
#define DB3_E_INTERNAL 99        /* any other failure of the storage engine */

int32_t DB3Open(int32_t database, const char* name, int32_t mode);
/* Commits the appends durably and closes the database, which is closed
 * afterwards whatever the status: that of the commit, or of the failure that
 * lost the appends. */
int32_t DB3Close(int32_t database);
/* Closes the database without committing: a list being created never
 * appears (an existing list it was to replace stays as it is), a list
 * opened with DB3_MODE_OPEN keeps what it had when it was opened. Releases
 * the writer lock and a DB3_MODE_REPLACE mark. DB3_E_NOT_OPEN when nothing
 * was open (the lock and mark are released all the same). */
int32_t DB3Abandon(int32_t database);
int32_t DB3HandleRecord(int32_t database, int32_t number, void* record, int32_t operation,
                        int32_t flag);
/* The number of records of the open database, or 0 when it is not open;
 * kept in memory, so it costs nothing. */
int32_t DB3GetRecordsInDB(int32_t database);

/* A short English sentence for a status; never NULL. */
const char* DB3StatusText(int32_t status);

/* The full path of the file of the last DB3Open (any mode) of DATABASE,
 * or an empty string; valid until the next DB3Open. */
const char* DB3GetPath(int32_t database);

/* Why the last call on DATABASE failed, where its status alone does not
 * say: a clause that names the file concerned and the cause, such as
 * "cannot read /data/run.sdb: Too many levels of symbolic links" (the
 * operating system's text for its error), "/data/run.sdb is a directory,
 * not a Sample List; it was left as it is" or "/data/.run.sdb.lock is where
 * the Sample List's lock file belongs, but it is a symbolic link, not an
 * empty regular file; it was left as it is". PATH, when not NULL, receives
 * the file alone. An empty string (and PATH "") when the last call
 * succeeded or its status says all there is. The status numbers stay as
 * above; this only tells more. Valid until the next call on DATABASE. */
const char* DB3GetFailureCause(int32_t database, const char** path);

/* A list's file as it lies now, for a caller that keeps what it read from
 * the list and must know whether the list may have changed since. Any write
 * to the file, a rename over it or a change of its times sets the change
 * time to the present; nothing sets it back. */
typedef struct DB3_LIST_IDENTITY {
    uint64_t device;
    uint64_t inode;
    int64_t size; /* bytes */
    int64_t modifiedSeconds;
    int64_t modifiedNanoseconds;
    int64_t changedSeconds; /* status change time */
    int64_t changedNanoseconds;
    uint32_t changeCounter; /* the storage engine's count of committed
                             * writes (SQLite's file change counter);
                             * 0 unless DB3_IDENTITY_COUNTER asked for it */
    uint32_t reserved;      /* 0 */
} DB3_LIST_IDENTITY;

/* What DB3GetListIdentity looks at. */
#define DB3_IDENTITY_STATUS 0  /* the file's status only, nothing read */
#define DB3_IDENTITY_COUNTER 1 /* and the change counter in the list's header */
#define DB3_IDENTITY_COMMITTED                      \
    2 /* the list the last DB3Close of DATABASE put \
       * in place, as it was then (see below) */

/* Fills IDENTITY for the Sample List NAME at the sample-list location
 * without opening it as a database: read-only, it takes no lock and
 * creates, changes or removes nothing, and it can be called while a list
 * is open (DB3GetPath stays as it was). DB3_OK when DB3_MODE_READ would
 * find a list to check there: DB3_E_NOT_FOUND when there is no file,
 * DB3_E_NOT_SAMPLE_LIST when it is not a regular file (links are
 * followed) or, with DB3_IDENTITY_COUNTER, its header is not a Sample
 * List's, DB3_E_UNFINISHED when an unfinished write lies beside it.
 * With DB3_IDENTITY_COMMITTED nothing is looked at now: the identity, change
 * counter included, that the last DB3Close of DATABASE took of the list it
 * committed under NAME, from the list's own descriptor once the list was in
 * place and its folder synced, while the writer lock was still held (so no
 * other writer through this library, and no file put at the name meanwhile,
 * can have changed it before); DB3_E_NOT_FOUND when that close committed no
 * list of that name (or the process made no such close). */
int32_t DB3GetListIdentity(int32_t database, const char* name, int32_t what,
                           DB3_LIST_IDENTITY* identity);

/* Exported by Korr2LD's own record library only, so that a caller can tell
 * it from the data system's: the modes, operations and statuses above
 * beyond DB3Open, DB3Close, DB3HandleRecord(3, 1) and DB3GetRecordsInDB are
 * this library's. Returns 1. */
int32_t Korr2ldFerroxStandIn(void);

#ifdef __cplusplus
}
#endif

#endif /* FERROX_H */
