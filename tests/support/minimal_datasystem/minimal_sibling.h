/* The sibling library that the minimal record and settings libraries both
 * need: the locations they share, the faults a test switches on, and the
 * journal of every call, one line each ("DB3Open 5 run12 5"). Written from
 * the data system's interface alone, it stands for a data system whose
 * libraries load their own helpers from their folder. */
#ifndef MINIMAL_SIBLING_H
#define MINIMAL_SIBLING_H

#include <stdint.h>

#ifdef _WIN32
#ifdef MINIMAL_SIBLING_BUILD
#define MINIMAL_API __declspec(dllexport)
#else
#define MINIMAL_API __declspec(dllimport)
#endif
#else
#define MINIMAL_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Faults. */
#define MINIMAL_FAULT_CHECK 1 /* DB3Open mode 5 gives 13 */
#define MINIMAL_FAULT_STORE 2 /* the store of record number `at` gives 70 */

MINIMAL_API void MinimalReset(void);
MINIMAL_API void MinimalSetFault(int32_t fault, int32_t at);
MINIMAL_API int32_t MinimalFault(int32_t fault, int32_t number);
/* Appends LINE to the journal, and to the file named by the environment
 * variable MINIMAL_DS_JOURNAL when it is set. The variable MINIMAL_DS_FAULT
 * ("check", or "store N") switches a fault on at the first call. */
MINIMAL_API void MinimalNote(const char* line);
/* The journal, lines ended by '\n'; valid until the next call. */
MINIMAL_API const char* MinimalJournal(void);
/* The location of KEY: DIRECTORY (with its separator) and EXTENSION, each
 * at most 259 bytes; empty when not set. */
MINIMAL_API void MinimalSetLocation(const char* key, const char* directory, const char* extension);
MINIMAL_API int32_t MinimalGetLocation(const char* key, char* directory, char* extension);

#ifdef __cplusplus
}
#endif

#endif
