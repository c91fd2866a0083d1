// A recording stand-in for the data system's record library and settings
// library (datasystem/ferrox.h, ostrel.h), for tests that check the exact
// calls the Sample List code makes and that inject the library's refusals.
//
// It keeps one database's state the way the record library is relied on to:
// a create (mode 2) or open (mode 0) that succeeds opens it, with no records
// after a create; a store of record count + 1 adds one record; close closes.
// Statuses to return are set per mode, per store and for close.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "datasystem/ferrox.h"
#include "datasystem/ostrel.h"

namespace fake {

struct Call {
    std::string function;  // "StoreGlobalFile", "DB3Open", "DB3HandleRecord", ...
    std::int32_t database = 0;
    std::string name;              // DB3Open
    std::int32_t mode = 0;         // DB3Open
    std::int32_t number = 0;       // DB3HandleRecord
    std::int32_t operation = 0;    // DB3HandleRecord
    std::int32_t flag = 0;         // DB3HandleRecord, StoreGlobalFile
    const void* record = nullptr;  // DB3HandleRecord
    std::string section;           // StoreGlobalFile
    std::string key;               // StoreGlobalFile
    GLOBAL_FILE_INFO info{};       // StoreGlobalFile
};

using Record = std::array<unsigned char, DB3_SAMPLE_RECORD_SIZE>;

struct DataSystem {
    // Every call, in order. DB3HandleRecord and DB3GetRecordsInDB calls are
    // left out when recordAppends is false (for long runs).
    std::vector<Call> calls;
    bool recordAppends = true;
    // Copies of the records stored, up to keepRecords of them.
    std::vector<Record> stored;
    std::size_t keepRecords = 100000;

    // Statuses to return.
    std::map<std::int32_t, std::int32_t> openStatus;  // by DB3Open mode; 0 when absent
    std::int32_t closeStatus = 0;
    // Status for storing record NUMBER (the count of stores asked so far,
    // 1-based, as the second argument); 0 when empty.
    std::function<std::int32_t(std::int32_t number, std::int64_t attempt)> storeStatus;

    // The database's state.
    bool open = false;
    std::int32_t records = 0;
    std::int64_t storeAttempts = 0;

    std::vector<std::string> Functions() const;  // the function names of calls
};

// The one fake data system of the process, reset to its initial state.
DataSystem& Reset();
DataSystem& Get();

}  // namespace fake
