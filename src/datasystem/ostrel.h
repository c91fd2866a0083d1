/* Ostrel: the data system's settings library, as far as Korr2LD uses it.
 *
 * It keeps the data system's global file locations: for each key of a
 * section (Korr2LD uses section "SystemList" with the keys "SAMPLES_DB",
 * "MS_FUNC_DB", "LC_DB" and "MACRO") a directory, a file base name and an
 * extension. This implementation stores them in the INI file "Lumenda.ini"
 * in the directory named by $LUMENDA_HOME, by default
 * $XDG_CONFIG_HOME/lumenda (~/.config/lumenda); docs/locations.md describes
 * the format.
 *
 * A location stored by a process is the one that process itself reads back
 * from then on, whatever other processes store later; it is also written to
 * the file for the rest of the data system. The calls are not thread-safe.
 */
#ifndef OSTREL_H
#define OSTREL_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* One location, 784 bytes; callers zero it before every use. All texts are
 * zero-terminated 8-bit text. */
typedef struct GLOBAL_FILE_INFO {
    uint8_t reserved[2];   /* not interpreted; left zero */
    char szDirectory[260]; /* drive and directory, with its trailing separator */
    char szName[256];      /* file base name */
    char szExtension[266]; /* extension without its leading dot */
} GLOBAL_FILE_INFO;

#ifdef __cplusplus
static_assert(sizeof(GLOBAL_FILE_INFO) == 784, "the location record is 784 bytes");
static_assert(offsetof(GLOBAL_FILE_INFO, reserved) == 0);
static_assert(offsetof(GLOBAL_FILE_INFO, szDirectory) == 2);
static_assert(offsetof(GLOBAL_FILE_INFO, szName) == 262);
static_assert(offsetof(GLOBAL_FILE_INFO, szExtension) == 518);
#endif

/* Statuses of the calls below. OSTREL_E_READ: the settings file exists but
 * could not be used, or the value of the key does not fit the record. */
#define OSTREL_OK 0
#define OSTREL_E_INVALID 22 /* null argument, or a location that cannot be stored */
#define OSTREL_E_READ 5     /* the settings file or the key's value cannot be used */
#define OSTREL_E_WRITE 28   /* the settings file could not be written */

/* Fills INFO with the location of KEY in SECTION; FLAGS must be 0. A key
 * that is not configured gives an all-zero INFO (empty directory), and so
 * does one whose value does not fit the record (OSTREL_E_READ, and
 * OstrelLastError says which part is too long) or a settings file that
 * cannot be used (OSTREL_E_READ): one that cannot be read, is not a regular
 * file (a pipe or device is never opened) or is larger than 64 MiB. Such a
 * file is left as it is, by this call and by every store. Section and key
 * names compare without regard to case. */
int32_t _MSGGetGlobalFile(const char* section, const char* key, int32_t flags,
                          GLOBAL_FILE_INFO* info);

/* Stores INFO as the location of KEY in SECTION, for this process at once
 * and in the settings file (replaced atomically; other keys, sections and
 * comments are kept byte for byte; the directory is created when missing).
 * The file is read, changed and replaced under an advisory lock (flock) on
 * its directory, so that processes storing at the same time keep each
 * other's keys. The file is never emptied, moved aside or rewritten with
 * this key alone: a file this library cannot keep as it is stays untouched
 * and the store fails. FLAG 1 is the only value in use. A status other than
 * OSTREL_OK means the file was not written (OstrelLastError says why); this
 * process uses INFO all the same:
 *   OSTREL_E_INVALID  INFO has no unambiguous text in the file (e.g. a
 *                     directory without a trailing separator, see
 *                     docs/locations.md), or a text of INFO is not
 *                     terminated within its field: then this process has
 *                     no location for KEY at all, so that nothing is
 *                     written to a place the caller did not ask for;
 *   OSTREL_E_READ     the file cannot be used (see _MSGGetGlobalFile):
 *                     "<file> cannot be used: <reason>";
 *   OSTREL_E_WRITE    the file is read-only (its mode has no write bit;
 *                     "<file> is read-only", whoever runs the store), the
 *                     file or its directory could not be written, or
 *                     another process held the lock for 10 seconds. */
int32_t StoreGlobalFile(const char* section, const char* key, const GLOBAL_FILE_INFO* info,
                        int32_t flag);

/* Uses INFO as the location of KEY in SECTION for this process only,
 * without writing the settings file (for tools that read a list in place).
 * OSTREL_E_INVALID when a text of INFO is not terminated within its field;
 * the process then has no location for KEY. */
int32_t UseGlobalFileInProcess(const char* section, const char* key, const GLOBAL_FILE_INFO* info);

/* Calls VISIT for every key configured in SECTION of the settings file, in
 * file order, then for the keys only this process uses. A location this
 * process stored or uses is given instead of the file's; a value that does
 * not fit the record is given as an all-zero INFO. A key whose name holds
 * a zero byte cannot be named in a call and is not visited. Returns
 * OSTREL_OK, or OSTREL_E_READ when the file could not be used. */
typedef void (*OstrelVisitor)(void* context, const char* key, const GLOBAL_FILE_INFO* info);
int32_t EnumGlobalFiles(const char* section, OstrelVisitor visit, void* context);

/* The full path of the settings file this process uses, from the
 * environment at the time of the call; never NULL; valid until the next
 * call into this library. */
const char* OstrelSettingsPath(void);

/* A sentence describing the failure of the last call above in this process
 * (file name and reason), or an empty string when it succeeded. Valid until
 * the next call into this library. */
const char* OstrelLastError(void);

/* Exported by Korr2LD's own settings library only, so that a caller can
 * tell it from the data system's. Returns 1. */
int32_t Korr2ldOstrelStandIn(void);

#ifdef __cplusplus
}
#endif

#endif /* OSTREL_H */
