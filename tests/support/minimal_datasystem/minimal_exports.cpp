// The entries of the minimal pair under the data system's names, for the
// libraries built from it (Ferrox and Ostrel; see ../CMakeLists.txt): the
// six entries and nothing else. On Windows the .def files export them, the
// store by number 13 only.
#include "minimal_datasystem/minimal_datasystem.h"

#ifdef _WIN32
#define MINIMAL_EXPORT
#else
#define MINIMAL_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

#ifdef MINIMAL_FERROX
MINIMAL_EXPORT int32_t DB3Open(int32_t database, const char* name, int32_t mode) {
    return MinimalDB3Open(database, name, mode);
}
MINIMAL_EXPORT int32_t DB3Close(int32_t database) {
    return MinimalDB3Close(database);
}
MINIMAL_EXPORT int32_t DB3HandleRecord(int32_t database, int32_t number, void* record,
                                       int32_t operation, int32_t flag) {
    return MinimalDB3HandleRecord(database, number, record, operation, flag);
}
MINIMAL_EXPORT int32_t DB3GetRecordsInDB(int32_t database) {
    return MinimalDB3GetRecordsInDB(database);
}
#else
MINIMAL_EXPORT int32_t _MSGGetGlobalFile(const char* section, const char* key, int32_t flags,
                                         GLOBAL_FILE_INFO* info) {
    return MinimalMSGGetGlobalFile(section, key, flags, info);
}
MINIMAL_EXPORT int32_t StoreGlobalFile(const char* section, const char* key,
                                       const GLOBAL_FILE_INFO* info, int32_t flag) {
    return MinimalStoreGlobalFile(section, key, info, flag);
}
#endif

}  // extern "C"
