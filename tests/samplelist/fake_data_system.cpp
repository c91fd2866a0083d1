#include "samplelist/fake_data_system.h"

#include "datasystem/DataSystemEntries.h"

#include <cstring>
#include <map>

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

namespace {

// Records a call of FUNCTION on DATABASE and returns it, for the rest of its
// arguments.
Call& Recorded(const char* function, std::int32_t database = 0) {
    Call& call = g_dataSystem.calls.emplace_back();
    call.function = function;
    call.database = database;
    return call;
}

}  // namespace

extern "C" {

int32_t StoreGlobalFile(const char* section, const char* key, const GLOBAL_FILE_INFO* info,
                        int32_t flag) {
    Call& call = Recorded("StoreGlobalFile");
    call.section = section;
    call.key = key;
    call.info = *info;
    call.flag = flag;
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
    Call& call = Recorded("DB3Open", database);
    call.name = name;
    call.mode = mode;
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
    Recorded("DB3Close", database);
    g_dataSystem.open = false;
    return g_dataSystem.closeStatus;
}

int32_t DB3Abandon(int32_t database) {
    Recorded("DB3Abandon", database);
    g_dataSystem.open = false;
    return DB3_OK;
}

const char* OstrelLastError(void) {
    return "";
}

int32_t DB3HandleRecord(int32_t database, int32_t number, void* record, int32_t operation,
                        int32_t flag) {
    if (g_dataSystem.recordAppends) {
        Call& call = Recorded("DB3HandleRecord", database);
        call.number = number;
        call.record = record;
        call.operation = operation;
        call.flag = flag;
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
        Recorded("DB3GetRecordsInDB", database);
    }
    return g_dataSystem.open ? g_dataSystem.records : 0;
}

int32_t DB3GetListIdentity(int32_t, const char*, int32_t, DB3_LIST_IDENTITY*) {
    return DB3_E_NOT_FOUND;  // the fake keeps no files
}

const char* DB3StatusText(int32_t status) {
    static const std::map<std::int32_t, const char*> kTexts = {
        {DB3_OK, "Success."},
        {DB3_E_FULL, "No space left on the device."},
        {DB3_E_LOCATION, "The Sample List location is not usable."},
        {DB3_E_BUSY, "Another process holds the Sample List locked."},
        {DB3_E_IO, "I/O error."}};
    const auto text = kTexts.find(status);
    return text != kTexts.end() ? text->second : "Failure.";
}

// The fake knows no file, so no failure has a cause beyond its status.
const char* DB3GetFailureCause(int32_t, const char** path) {
    if (path != nullptr) {
        *path = "";
    }
    return "";
}

}  // extern "C"

namespace {
const DataSystemEntries* g_installed = nullptr;
DataSystemEntries g_installedCopy;
}  // namespace

void InstallDataSystem(const DataSystemEntries& entries) {
    g_installedCopy = entries;
    g_installed = &g_installedCopy;
}

// The fake stands for Korr2LD's own libraries: every entry it has.
const DataSystemEntries& DataSystem() {
    static const DataSystemEntries entries = [] {
        DataSystemEntries table;
        table.DB3Open = &DB3Open;
        table.DB3Close = &DB3Close;
        table.DB3HandleRecord = &DB3HandleRecord;
        table.DB3GetRecordsInDB = &DB3GetRecordsInDB;
        table.MSGGetGlobalFile = &_MSGGetGlobalFile;
        table.StoreGlobalFile = &StoreGlobalFile;
        table.DB3Abandon = &DB3Abandon;
        table.DB3StatusText = &DB3StatusText;
        table.DB3GetFailureCause = &DB3GetFailureCause;
        table.DB3GetListIdentity = &DB3GetListIdentity;
        table.UseGlobalFileInProcess = &UseGlobalFileInProcess;
        table.OstrelLastError = &OstrelLastError;
        table.ours = true;
        return table;
    }();
    return g_installed != nullptr ? *g_installed : entries;
}
