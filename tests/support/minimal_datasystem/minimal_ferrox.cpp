// The minimal record library: database 5, created lists only; the list is
// DIRECTORY NAME.EXTENSION of the SAMPLES_DB location.
#include <cstdio>
#include <string>

#include "minimal_datasystem/minimal_datasystem.h"

namespace {

constexpr std::size_t kRecordSize = 4262;
std::FILE* g_list = nullptr;
int32_t g_count = 0;
std::string g_replace;  // marked by mode 3

int32_t Noted(const std::string& call, int32_t status) {
    MinimalNote(call.c_str());
    return status;
}

}  // namespace

extern "C" {

int32_t MINIMAL(DB3Open)(int32_t database, const char* name, int32_t mode) {
    const std::string call =
        "DB3Open " + std::to_string(database) + " " + name + " " + std::to_string(mode);
    char directory[260];
    char extension[260];
    MinimalGetLocation("SAMPLES_DB", directory, extension);
    const std::string path =
        std::string(directory) + name + (*extension != '\0' ? "." : "") + extension;
    if (database != 5 || *directory == '\0' || mode == 5) {
        return Noted(call, *directory == '\0' ? 13 : MinimalFault(MINIMAL_FAULT_CHECK, 0));
    }
    if (mode == 3) {
        g_replace = path;
        return Noted(call, 0);
    }
    std::FILE* existing = std::fopen(path.c_str(), "rb");
    if (mode != 2 || g_list != nullptr || (existing != nullptr && g_replace != path)) {
        if (existing != nullptr) {
            std::fclose(existing);
        }
        return Noted(call, 22);
    }
    if (existing != nullptr) {
        std::fclose(existing);
    }
    g_replace.clear();
    g_count = 0;
    g_list = std::fopen(path.c_str(), "wb");
    return Noted(call, g_list != nullptr && std::fputs(kMinimalListHeader, g_list) >= 0 ? 0 : 5);
}

int32_t MINIMAL(DB3Close)(int32_t database) {
    const int closed = g_list != nullptr ? std::fclose(g_list) : EOF;
    g_list = nullptr;
    return Noted("DB3Close " + std::to_string(database), closed == 0 ? 0 : 9);
}

int32_t MINIMAL(DB3HandleRecord)(int32_t database, int32_t number, void* record, int32_t operation,
                                 int32_t flag) {
    const std::string call = "DB3HandleRecord " + std::to_string(database) + " " +
                             std::to_string(number) + " " + std::to_string(operation) + " " +
                             std::to_string(flag);
    if (g_list == nullptr || operation != 3 || flag != 1 || number != g_count + 1) {
        return Noted(call, 22);
    }
    if (const int32_t fault = MinimalFault(MINIMAL_FAULT_STORE, number); fault != 0) {
        return Noted(call, fault);
    }
    if (std::fwrite(record, 1, kRecordSize, g_list) != kRecordSize) {
        return Noted(call, 5);
    }
    ++g_count;
    return Noted(call, 0);
}

int32_t MINIMAL(DB3GetRecordsInDB)(int32_t database) {
    return Noted("DB3GetRecordsInDB " + std::to_string(database), g_count);
}

}  // extern "C"
