#include "minimal_sibling.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>

namespace {

struct State {
    std::string journal;
    std::map<std::string, std::pair<std::string, std::string>> locations;
    int32_t checkFault = 0;
    int32_t storeFaultAt = 0;
};

State FromEnvironment() {
    State state;
    if (const char* fault = std::getenv("MINIMAL_DS_FAULT")) {
        if (std::strcmp(fault, "check") == 0) {
            state.checkFault = 1;
        } else if (std::strncmp(fault, "store ", 6) == 0) {
            state.storeFaultAt = std::atoi(fault + 6);
        }
    }
    return state;
}

State& Get() {
    static State state = FromEnvironment();
    return state;
}

}  // namespace

extern "C" {

void MinimalReset(void) {
    Get() = State{};
}

void MinimalSetFault(int32_t fault, int32_t at) {
    if (fault == MINIMAL_FAULT_CHECK) {
        Get().checkFault = 1;
    } else if (fault == MINIMAL_FAULT_STORE) {
        Get().storeFaultAt = at;
    }
}

int32_t MinimalFault(int32_t fault, int32_t number) {
    if (fault == MINIMAL_FAULT_CHECK) {
        return Get().checkFault != 0 ? 13 : 0;
    }
    return Get().storeFaultAt != 0 && number == Get().storeFaultAt ? 70 : 0;
}

void MinimalNote(const char* line) {
    Get().journal += line;
    Get().journal += '\n';
    if (const char* path = std::getenv("MINIMAL_DS_JOURNAL")) {
        if (std::FILE* file = std::fopen(path, "a")) {
            std::fprintf(file, "%s\n", line);
            std::fclose(file);
        }
    }
}

const char* MinimalJournal(void) {
    return Get().journal.c_str();
}

void MinimalSetLocation(const char* key, const char* directory, const char* extension) {
    Get().locations[key] = {directory, extension};
}

int32_t MinimalGetLocation(const char* key, char* directory, char* extension) {
    const auto found = Get().locations.find(key);
    directory[0] = extension[0] = '\0';
    if (found == Get().locations.end() || found->second.first.size() > 259 ||
        found->second.second.size() > 259) {
        return 0;
    }
    std::memcpy(directory, found->second.first.c_str(), found->second.first.size() + 1);
    std::memcpy(extension, found->second.second.c_str(), found->second.second.size() + 1);
    return 1;
}

}  // extern "C"
