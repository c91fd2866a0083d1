#include "samplelist/fake_data_system.h"

#include <cstring>

namespace fake {

namespace {
DataSystem g_dataSystem;
}

DataSystem& Reset() {
    g_dataSystem = DataSystem{};
    return g_dataSystem;
}

DataSystem& Get() {
    return g_dataSystem;
}

std::vector<std::string> DataSystem::Functions() const {
    std::vector<std::string> names;
    for (const Call& call : calls) {
        names.push_back(call.function);
    }
    return names;
}

}  // namespace fake

using fake::Call;
using fake::g_dataSystem;

extern "C" {

int32_t StoreGlobalFile(const char* section, const char* key, const GLOBAL_FILE_INFO* info,
                        int32_t flag) {
    Call call;
    call.function = "StoreGlobalFile";
    call.section = section;
    call.key = key;
    call.info = *info;
    call.flag = flag;
    g_dataSystem.calls.push_back(call);
    return OSTREL_OK;
}

// Lookups are not recorded: the conversion makes them only to check its
// names and the lists beside its output. No location is configured, and no
// list is read in place.
int32_t _MSGGetGlobalFile(const char*, const char*, int32_t, GLOBAL_FILE_INFO* info) {
    std::memset(info, 0, sizeof *info);
    return OSTREL_OK;
}

int32_t UseGlobalFileInProcess(const char*, const char*, const GLOBAL_FILE_INFO*) {
    return OSTREL_E_INVALID;
}

int32_t DB3Open(int32_t database, const char* name, int32_t mode) {
    Call call;
    call.function = "DB3Open";
    call.database = database;
    call.name = name;
    call.mode = mode;
    g_dataSystem.calls.push_back(call);
    const auto status = g_dataSystem.openStatus.find(mode);
    if (status != g_dataSystem.openStatus.end() && status->second != 0) {
        return status->second;
    }
    if (mode == DB3_MODE_CREATE) {
        g_dataSystem.open = true;
        g_dataSystem.records = 0;
    } else if (mode == DB3_MODE_OPEN) {
        g_dataSystem.open = true;
    }
    return DB3_OK;
}

int32_t DB3Close(int32_t database) {
    Call call;
    call.function = "DB3Close";
    call.database = database;
    g_dataSystem.calls.push_back(call);
    g_dataSystem.open = false;
    return g_dataSystem.closeStatus;
}

int32_t DB3Abandon(int32_t database) {
    Call call;
    call.function = "DB3Abandon";
    call.database = database;
    g_dataSystem.calls.push_back(call);
    g_dataSystem.open = false;
    return DB3_OK;
}

const char* OstrelLastError(void) {
    return "";
}

int32_t DB3HandleRecord(int32_t database, int32_t number, void* record, int32_t operation,
                        int32_t flag) {
    if (g_dataSystem.recordAppends) {
        Call call;
        call.function = "DB3HandleRecord";
        call.database = database;
        call.number = number;
        call.record = record;
        call.operation = operation;
        call.flag = flag;
        g_dataSystem.calls.push_back(call);
    }
    if (!g_dataSystem.open) {
        return DB3_E_NOT_OPEN;
    }
    ++g_dataSystem.storeAttempts;
    if (g_dataSystem.storeStatus) {
        const int32_t status = g_dataSystem.storeStatus(number, g_dataSystem.storeAttempts);
        if (status != 0) {
            return status;
        }
    }
    if (operation != DB3_OP_STORE || flag != DB3_FLAG_APPEND ||
        number != g_dataSystem.records + 1) {
        return DB3_E_SEQUENCE;
    }
    ++g_dataSystem.records;
    if (g_dataSystem.stored.size() < g_dataSystem.keepRecords) {
        fake::Record copy;
        std::memcpy(copy.data(), record, copy.size());
        g_dataSystem.stored.push_back(copy);
    }
    return DB3_OK;
}

int32_t DB3GetRecordsInDB(int32_t database) {
    if (g_dataSystem.recordAppends) {
        Call call;
        call.function = "DB3GetRecordsInDB";
        call.database = database;
        g_dataSystem.calls.push_back(call);
    }
    return g_dataSystem.open ? g_dataSystem.records : 0;
}

int32_t DB3GetListIdentity(int32_t, const char*, int32_t, DB3_LIST_IDENTITY*) {
    return DB3_E_NOT_FOUND;  // the fake keeps no files
}

const char* DB3StatusText(int32_t status) {
    switch (status) {
        case DB3_OK:
            return "Success.";
        case DB3_E_FULL:
            return "No space left on the device.";
        case DB3_E_LOCATION:
            return "The Sample List location is not usable.";
        case DB3_E_BUSY:
            return "Another process holds the Sample List locked.";
        case DB3_E_IO:
            return "I/O error.";
        default:
            return "Failure.";
    }
}

// The fake knows no file, so no failure has a cause beyond its status.
const char* DB3GetFailureCause(int32_t, const char** path) {
    if (path != nullptr) {
        *path = "";
    }
    return "";
}

}  // extern "C"
