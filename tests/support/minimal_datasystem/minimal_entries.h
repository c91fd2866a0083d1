// The minimal pair's entries under names of their own (Minimal...), so
// that a test can link them beside Korr2LD's stand-ins.
#pragma once

#include <stdint.h>

#include "datasystem/ostrel.h"

extern "C" {
int32_t MinimalDB3Open(int32_t database, const char* name, int32_t mode);
int32_t MinimalDB3Close(int32_t database);
int32_t MinimalDB3HandleRecord(int32_t database, int32_t number, void* record, int32_t operation,
                               int32_t flag);
int32_t MinimalDB3GetRecordsInDB(int32_t database);
int32_t MinimalMSGGetGlobalFile(const char* section, const char* key, int32_t flags,
                                GLOBAL_FILE_INFO* info);
int32_t MinimalStoreGlobalFile(const char* section, const char* key, const GLOBAL_FILE_INFO* info,
                               int32_t flag);
}
