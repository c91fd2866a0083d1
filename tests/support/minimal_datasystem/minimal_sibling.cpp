#include "minimal_datasystem/minimal_sibling.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>

namespace {

struct State {
    std::string journal;
    std::map<std::string, std::pair<std::string, std::string>> locations;
    int32_t faults[3] = {0, 0, 0};  // by fault: 1 when on (check), the record number (store)
};

State& Get() {
    static State state = [] {
        State initial;
        const char* fault = std::getenv("MINIMAL_DS_FAULT");
        if (fault != nullptr) {
            initial.faults[MINIMAL_FAULT_CHECK] = std::strcmp(fault, "check") == 0;
            initial.faults[MINIMAL_FAULT_STORE] =
                std::strncmp(fault, "store ", 6) == 0 ? std::atoi(fault + 6) : 0;
        }
        return initial;
    }();
    return state;
}

}  // namespace

extern "C" {

void MinimalReset(void) {
    Get() = State{};
}

void MinimalSetFault(int32_t fault, int32_t number) {
    Get().faults[fault] = fault == MINIMAL_FAULT_CHECK ? 1 : number;
}

int32_t MinimalFault(int32_t fault, int32_t number) {
    const int32_t on = Get().faults[fault];
    return fault == MINIMAL_FAULT_CHECK ? (on != 0 ? 13 : 0) : (on != 0 && on == number ? 70 : 0);
}

void MinimalNote(const char* line) {
    Get().journal += std::string(line) + "\n";
}

const char* MinimalJournal(void) {
    return Get().journal.c_str();
}

void MinimalSetLocation(const char* key, const char* directory, const char* extension) {
    Get().locations[key] = {directory, extension};
}

void MinimalGetLocation(const char* key, char* directory, char* extension) {
    const auto& [dir, ext] = Get().locations[key];
    std::strncpy(directory, dir.c_str(), 259)[259] = '\0';
    std::strncpy(extension, ext.c_str(), 259)[259] = '\0';
}

}  // extern "C"
