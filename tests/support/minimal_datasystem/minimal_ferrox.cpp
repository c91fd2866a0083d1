// The minimal record library (minimal_datasystem.h). Database 5 only; the
// list's file is DIRECTORY NAME.EXTENSION of the stored SAMPLES_DB location.
#include <cstdio>
#include <cstring>
#include <string>

#include "minimal_datasystem/minimal_entries.h"
#include "minimal_datasystem/minimal_sibling.h"

namespace {

constexpr long kRecordSize = 4262;
constexpr char kHeader[] = "MINIMAL SAMPLE LIST\n";
constexpr long kHeaderSize = sizeof kHeader - 1;

std::FILE* g_list = nullptr;
int32_t g_count = 0;
std::string g_replace;

bool ListPath(const char* name, std::string& path) {
    char directory[260];
    char extension[260];
    if (MinimalGetLocation("SAMPLES_DB", directory, extension) == 0 || directory[0] == '\0') {
        return false;
    }
    path = std::string(directory) + name + (extension[0] != '\0' ? "." : "") + extension;
    return true;
}

void Note(const std::string& line) {
    MinimalNote(line.c_str());
}

}  // namespace

extern "C" {

int32_t MinimalDB3Open(int32_t database, const char* name, int32_t mode) {
    Note("DB3Open " + std::to_string(database) + " " + name + " " + std::to_string(mode));
    std::string path;
    if (database != 5 || !ListPath(name, path)) {
        return 13;
    }
    switch (mode) {
        case 5:
            return MinimalFault(MINIMAL_FAULT_CHECK, 0);
        case 3:
            g_replace = path;
            return 0;
        case 2: {
            if (g_list != nullptr) {
                return 41;
            }
            std::FILE* existing = std::fopen(path.c_str(), "rb");
            if (existing != nullptr) {
                std::fclose(existing);
                if (g_replace != path) {
                    return 17;
                }
            }
            g_replace.clear();
            g_list = std::fopen(path.c_str(), "wb");
            if (g_list == nullptr || std::fwrite(kHeader, 1, kHeaderSize, g_list) != kHeaderSize) {
                return 5;
            }
            g_count = 0;
            return 0;
        }
        case 0: {
            g_list = std::fopen(path.c_str(), "r+b");
            if (g_list == nullptr || std::fseek(g_list, 0, SEEK_END) != 0) {
                return 2;
            }
            g_count = static_cast<int32_t>((std::ftell(g_list) - kHeaderSize) / kRecordSize);
            return 0;
        }
        default:
            return 22;
    }
}

int32_t MinimalDB3Close(int32_t database) {
    Note("DB3Close " + std::to_string(database));
    if (g_list == nullptr) {
        return 9;
    }
    const int result = std::fclose(g_list);
    g_list = nullptr;
    g_count = 0;
    return result == 0 ? 0 : 5;
}

int32_t MinimalDB3HandleRecord(int32_t database, int32_t number, void* record, int32_t operation,
                               int32_t flag) {
    Note("DB3HandleRecord " + std::to_string(database) + " " + std::to_string(number) + " " +
         std::to_string(operation) + " " + std::to_string(flag));
    if (g_list == nullptr || operation != 3 || flag != 1 || number != g_count + 1) {
        return 22;
    }
    if (const int32_t fault = MinimalFault(MINIMAL_FAULT_STORE, number); fault != 0) {
        return fault;
    }
    if (std::fwrite(record, 1, kRecordSize, g_list) != static_cast<std::size_t>(kRecordSize)) {
        return 5;
    }
    ++g_count;
    return 0;
}

int32_t MinimalDB3GetRecordsInDB(int32_t database) {
    Note("DB3GetRecordsInDB " + std::to_string(database));
    return g_count;
}

}  // extern "C"
