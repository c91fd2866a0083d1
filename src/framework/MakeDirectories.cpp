#include "framework/MakeDirectories.h"

#include <sys/stat.h>

#include <cerrno>

Status MakeDirectories(const std::string& directory) {
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = directory.find('/', pos + 1);
        const std::string prefix = directory.substr(0, pos);
        if (prefix.empty() || mkdir(prefix.c_str(), 0700) == 0 || errno == EEXIST) {
            continue;
        }
        return Status::FromErrno("cannot create the directory " + prefix, errno);
    }
    struct stat st;
    if (stat(directory.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return Status::Error(directory + " is not a directory");
    }
    return Status::Ok();
}
