// The entries of the data system's two libraries, the record library
// (ferrox.h) and the settings library (ostrel.h), as one table: the only way
// the rest of Korr2LD reaches them.
//
// What Korr2LD needs of any record library and settings library are the six
// required entries below, with their arguments and their statuses: 0 for
// success, and 13 from DB3Open in mode 5 (DB3_MODE_CHECK) for a location
// that cannot be used. Every other status, mode and operation, and the file
// format, belong to the library. The optional entries are those only
// Korr2LD's own libraries (the stand-ins in src/datasystem) give; each is
// nullptr when the library loaded does not export it, and a caller does
// without it and says what it could not do.
//
// `ours` is true only when both libraries export their stand-in marker
// (Korr2ldFerroxStandIn, Korr2ldOstrelStandIn): only then may a caller rely
// on the meanings ferrox.h and ostrel.h give to other modes, operations and
// statuses (DB3_MODE_REPLACE, DB3_OP_READ, the DB3_E_* texts).
//
// The table in use is DataSystem(). It is chosen once at start-up
// (InstallDataSystem) before any call; without that, it is the
// implementation the executable links (the stand-ins in the programs, a
// fake in some tests). All calls are made from one thread, one at a time.
#pragma once

#include <cstdint>

#include "datasystem/ferrox.h"
#include "datasystem/ostrel.h"

struct DataSystemEntries {
    // Required: the record library.
    int32_t (*DB3Open)(int32_t database, const char* name, int32_t mode) = nullptr;
    int32_t (*DB3Close)(int32_t database) = nullptr;
    int32_t (*DB3HandleRecord)(int32_t database, int32_t number, void* record, int32_t operation,
                               int32_t flag) = nullptr;
    int32_t (*DB3GetRecordsInDB)(int32_t database) = nullptr;
    // Required: the settings library (the store is its entry 13, by number).
    int32_t (*MSGGetGlobalFile)(const char* section, const char* key, int32_t flags,
                                GLOBAL_FILE_INFO* info) = nullptr;
    int32_t (*StoreGlobalFile)(const char* section, const char* key, const GLOBAL_FILE_INFO* info,
                               int32_t flag) = nullptr;

    // Optional: Korr2LD's own libraries only.
    int32_t (*DB3Abandon)(int32_t database) = nullptr;
    const char* (*DB3StatusText)(int32_t status) = nullptr;
    const char* (*DB3GetPath)(int32_t database) = nullptr;
    const char* (*DB3GetFailureCause)(int32_t database, const char** path) = nullptr;
    int32_t (*DB3GetListIdentity)(int32_t database, const char* name, int32_t what,
                                  DB3_LIST_IDENTITY* identity) = nullptr;
    int32_t (*UseGlobalFileInProcess)(const char* section, const char* key,
                                      const GLOBAL_FILE_INFO* info) = nullptr;
    int32_t (*EnumGlobalFiles)(const char* section, OstrelVisitor visit, void* context) = nullptr;
    const char* (*OstrelSettingsPath)() = nullptr;
    const char* (*OstrelLastError)() = nullptr;

    // Both libraries are Korr2LD's own.
    bool ours = false;

    // The six required entries are all there.
    bool Complete() const {
        return DB3Open && DB3Close && DB3HandleRecord && DB3GetRecordsInDB && MSGGetGlobalFile &&
               StoreGlobalFile;
    }
    // The record library reads lists in place (DB3_MODE_READ, DB3_OP_READ).
    bool Reads() const { return ours && UseGlobalFileInProcess != nullptr; }
};

// The names of the marker entries that only Korr2LD's own libraries export.
inline constexpr const char* kFerroxStandInMarker = "Korr2ldFerroxStandIn";
inline constexpr const char* kOstrelStandInMarker = "Korr2ldOstrelStandIn";

// The table in use.
const DataSystemEntries& DataSystem();

// Makes ENTRIES (Complete()) the table in use, from now on. Called once at
// start-up, before any call into the libraries; tests install theirs and
// put the previous table back.
void InstallDataSystem(const DataSystemEntries& entries);

// The implementation linked into the executable defines the two functions
// above: the stand-ins (k2l_datasystem, StandInEntries.cpp) or a test's fake.
// Whoever calls the libraries links one of them after its own code.
