// A minimal record library and settings library, written from the data
// system's interface alone: the six entries Korr2LD needs and nothing else,
// both needing one sibling library (minimal_sibling.h). Lists are plain
// files of their own, not SQLite: kMinimalListHeader, then every record's
// 4262 bytes in order.
//
// In a test the entries (named Minimal...) are installed through the table
// the programs use; as libraries (minimal_exports.cpp) they are Ferrox and
// Ostrel beside the sibling, the store exported by number 13 only.
#pragma once

#include "datasystem/DataSystemEntries.h"
#include "minimal_datasystem/minimal_sibling.h"

inline constexpr const char kMinimalListHeader[] = "MINIMAL SAMPLE LIST\n";

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
        entries.MSGGetGlobalFile = &MinimalMSGGetGlobalFile;
        entries.StoreGlobalFile = &MinimalStoreGlobalFile;
        InstallDataSystem(entries);
    }
    ~ScopedMinimalDataSystem() { InstallDataSystem(m_previous); }
    ScopedMinimalDataSystem(const ScopedMinimalDataSystem&) = delete;
    ScopedMinimalDataSystem& operator=(const ScopedMinimalDataSystem&) = delete;

private:
    DataSystemEntries m_previous;
};
