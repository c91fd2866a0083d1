// A minimal record library and settings library, written from the data
// system's interface alone: the six entries Korr2LD needs and nothing else,
// both needing one sibling library (minimal_sibling.h). Lists are plain
// files of their own, not SQLite: kMinimalListHeader, then every record's
// 4262 bytes in order.
//
// In a test the entries (named Minimal..., MINIMAL(name)) are installed
// through the table the programs use; built as the libraries Ferrox and
// Ostrel (MINIMAL_LIBRARY) beside the sibling, they carry the data system's
// names and are the only entries exported (the .def files on Windows, the
// store there by number 13 only), called as MINIMAL_CALL says (__stdcall
// for a pair like a data system whose entries pop their arguments).
#pragma once

#include "minimal_datasystem/minimal_sibling.h"
#ifdef MINIMAL_LIBRARY
// The location record as the data system's interface lays it out.
struct GLOBAL_FILE_INFO {
    uint8_t reserved[2];
    char szDirectory[260];
    char szName[256];
    char szExtension[266];
};
static_assert(sizeof(GLOBAL_FILE_INFO) == 784);
#else
#include "datasystem/DataSystemEntries.h"
#endif
#ifndef MINIMAL_CALL
#define MINIMAL_CALL
#endif

inline constexpr const char kMinimalListHeader[] = "MINIMAL SAMPLE LIST\n";

#if defined(MINIMAL_LIBRARY) && !defined(_WIN32)
#define MINIMAL(name) __attribute__((visibility("default"))) MINIMAL_CALL name
#elif defined(MINIMAL_LIBRARY)
#define MINIMAL(name) MINIMAL_CALL name
#else
#define MINIMAL(name) Minimal##name
#endif

extern "C" {
int32_t MINIMAL(DB3Open)(int32_t database, const char* name, int32_t mode);
int32_t MINIMAL(DB3Close)(int32_t database);
int32_t MINIMAL(DB3HandleRecord)(int32_t database, int32_t number, void* record, int32_t operation,
                                 int32_t flag);
int32_t MINIMAL(DB3GetRecordsInDB)(int32_t database);
int32_t MINIMAL(_MSGGetGlobalFile)(const char* section, const char* key, int32_t flags,
                                   GLOBAL_FILE_INFO* info);
int32_t MINIMAL(StoreGlobalFile)(const char* section, const char* key, const GLOBAL_FILE_INFO* info,
                                 int32_t flag);
}

#ifndef MINIMAL_LIBRARY
// Installs the six entries (not ours) for a scope, the sibling reset, and
// puts the previous table back.
class ScopedMinimalDataSystem {
public:
    ScopedMinimalDataSystem() : m_previous(DataSystem()) {
        MinimalReset();
        DataSystemEntries entries;
        entries.DB3Open = &MinimalDB3Open;
        entries.DB3Close = &MinimalDB3Close;
        entries.DB3HandleRecord = &MinimalDB3HandleRecord;
        entries.DB3GetRecordsInDB = &MinimalDB3GetRecordsInDB;
        entries.MSGGetGlobalFile = &Minimal_MSGGetGlobalFile;
        entries.StoreGlobalFile = &MinimalStoreGlobalFile;
        InstallDataSystem(entries);
    }
    ~ScopedMinimalDataSystem() { InstallDataSystem(m_previous); }
    ScopedMinimalDataSystem(const ScopedMinimalDataSystem&) = delete;
    ScopedMinimalDataSystem& operator=(const ScopedMinimalDataSystem&) = delete;

private:
    DataSystemEntries m_previous;
};
#endif
