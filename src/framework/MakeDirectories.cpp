#include "framework/MakeDirectories.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "framework/SystemError.h"

bool MakeDirectories(const std::string& directory, std::string& why) {
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = directory.find('/', pos + 1);
        const std::string prefix = directory.substr(0, pos);
        if (prefix.empty() || mkdir(prefix.c_str(), 0700) == 0 || errno == EEXIST) {
            continue;
        }
        why = "cannot create the directory " + prefix + ": " + SystemErrorText(errno);
        return false;
    }
    struct stat st;
    if (stat(directory.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        why = directory + " is not a directory";
        return false;
    }
    return true;
}
