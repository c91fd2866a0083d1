// The minimal settings library: locations kept by the sibling library.
#include <cstring>
#include <string>

#include "minimal_datasystem/minimal_datasystem.h"

extern "C" {

int32_t MINIMAL(_MSGGetGlobalFile)(const char* section, const char* key, int32_t flags,
                                   GLOBAL_FILE_INFO* info) {
    MinimalNote(
        (std::string("_MSGGetGlobalFile ") + section + " " + key + " " + std::to_string(flags))
            .c_str());
    std::memset(info, 0, sizeof *info);
    MinimalGetLocation(key, info->szDirectory, info->szExtension);
    return 0;
}

int32_t MINIMAL(StoreGlobalFile)(const char* section, const char* key, const GLOBAL_FILE_INFO* info,
                                 int32_t flag) {
    MinimalNote((std::string("StoreGlobalFile ") + section + " " + key + " " + info->szDirectory +
                 " " + info->szName + " " + info->szExtension + " " + std::to_string(flag))
                    .c_str());
    MinimalSetLocation(key, info->szDirectory, info->szExtension);
    return 0;
}

}  // extern "C"
