#include "framework/DirectorySync.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

Status SyncDirectory(const std::string& directory) {
    const std::string name = directory.empty() ? std::string(".") : directory;
    const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return Status::Ok();
    }
    const int error = fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    if (error == 0 || error == EINVAL) {
        return Status::Ok();
    }
    return Status::FromErrno("cannot sync the directory " + name, error);
}
