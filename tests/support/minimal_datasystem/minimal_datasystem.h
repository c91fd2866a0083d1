// A minimal record library and settings library, written from the data
// system's interface alone: the six entries Korr2LD needs and nothing else
// (the store of locations reached by number 13 only, in the DLL), both
// needing one sibling library (minimal_sibling.h). Lists are plain files of
// their own, not SQLite: the header kMinimalListHeader, then every record's
// 4262 bytes in order.
//
// On Linux the entries are linked into the test (named Minimal...) and
// installed through the same table the programs use; on Windows they are
// built as Ferrox.dll and Ostrel.dll beside minimal_sibling.dll and loaded.
#pragma once

#include <cstdint>

#include "datasystem/DataSystemEntries.h"
#include "minimal_datasystem/minimal_entries.h"
#include "minimal_datasystem/minimal_sibling.h"

inline constexpr const char kMinimalListHeader[] = "MINIMAL SAMPLE LIST\n";

// The six entries as a table, as a loader gives them: nothing optional,
// not ours.
inline DataSystemEntries MinimalDataSystemEntries() {
    DataSystemEntries entries;
    entries.DB3Open = &MinimalDB3Open;
    entries.DB3Close = &MinimalDB3Close;
    entries.DB3HandleRecord = &MinimalDB3HandleRecord;
    entries.DB3GetRecordsInDB = &MinimalDB3GetRecordsInDB;
    entries.MSGGetGlobalFile = &MinimalMSGGetGlobalFile;
    entries.StoreGlobalFile = &MinimalStoreGlobalFile;
    return entries;
}

// Installs the minimal pair for a scope and puts the previous table back.
class ScopedMinimalDataSystem {
public:
    ScopedMinimalDataSystem() : m_previous(DataSystem()) {
        MinimalReset();
        InstallDataSystem(MinimalDataSystemEntries());
    }
    ~ScopedMinimalDataSystem() { InstallDataSystem(m_previous); }
    ScopedMinimalDataSystem(const ScopedMinimalDataSystem&) = delete;
    ScopedMinimalDataSystem& operator=(const ScopedMinimalDataSystem&) = delete;

private:
    DataSystemEntries m_previous;
};
