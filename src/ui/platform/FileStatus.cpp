#include "ui/platform/FileStatus.h"

#include <sys/stat.h>

BOOL FileEntryExists(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        return FALSE;
    }
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 ? TRUE : FALSE;
}
