// The sibling library that the minimal record and settings libraries both
// need (as a data system's libraries load helpers from their own folder):
// the locations they share, the faults a test switches on (also from the
// variable MINIMAL_DS_FAULT: "check" or "store N") and the journal of every
// call, one line each ("DB3Open 5 run12 5").
#pragma once

#include <stdint.h>

#if defined(_WIN32) && defined(MINIMAL_SIBLING_BUILD)
#define MINIMAL_API __declspec(dllexport)
#elif defined(_WIN32) && defined(MINIMAL_LIBRARY)
#define MINIMAL_API __declspec(dllimport)
#elif defined(_WIN32)
#define MINIMAL_API  // linked into a test
#else
#define MINIMAL_API __attribute__((visibility("default")))
#endif

extern "C" {
enum { MINIMAL_FAULT_CHECK = 1, MINIMAL_FAULT_STORE = 2 };  // 13 from mode 5; 70 from store N
MINIMAL_API void MinimalReset(void);
MINIMAL_API void MinimalSetFault(int32_t fault, int32_t number);
MINIMAL_API int32_t MinimalFault(int32_t fault, int32_t number);  // the status to give, or 0
MINIMAL_API void MinimalNote(const char* line);
MINIMAL_API const char* MinimalJournal(void);
// DIRECTORY and EXTENSION of KEY, at most 259 bytes each; empty when not set.
MINIMAL_API void MinimalSetLocation(const char* key, const char* directory, const char* extension);
MINIMAL_API void MinimalGetLocation(const char* key, char* directory, char* extension);
}
