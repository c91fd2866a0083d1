// Another process for the data system's tests: it knows nothing of the
// test's own process locations, only what the settings file says.
//   data_system_probe get KEY      prints "STATUS|DIRECTORY|NAME|EXTENSION"
//   data_system_probe create NAME  creates an empty Sample List, prints its path
#include <cstdio>
#include <cstring>

#include "datasystem/ferrox.h"
#include "datasystem/ostrel.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    if (std::strcmp(argv[1], "get") == 0) {
        GLOBAL_FILE_INFO info;
        std::memset(&info, 0, sizeof info);
        const int32_t status = _MSGGetGlobalFile("SystemList", argv[2], 0, &info);
        std::printf("%d|%.259s|%.255s|%.265s\n", status, info.szDirectory, info.szName,
                    info.szExtension);
        return 0;
    }
    if (std::strcmp(argv[1], "create") == 0) {
        if (DB3Open(DB3_SAMPLE_LIST, argv[2], DB3_MODE_CHECK) != DB3_OK ||
            DB3Open(DB3_SAMPLE_LIST, argv[2], DB3_MODE_CREATE) != DB3_OK) {
            return 1;
        }
        std::printf("%s\n", DB3GetPath(DB3_SAMPLE_LIST));
        return DB3Close(DB3_SAMPLE_LIST) == DB3_OK ? 0 : 1;
    }
    return 2;
}
