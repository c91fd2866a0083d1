// The parts of File.h that are the same on every system.
#include "framework/File.h"

#include <cerrno>

std::string FileKindName(FileKind kind) {
    switch (kind) {
        case FileKind::kRegular:
            return "a regular file";
        case FileKind::kDirectory:
            return "a directory";
        case FileKind::kSymbolicLink:
            return "a symbolic link";
        case FileKind::kNamedPipe:
            return "a named pipe (FIFO)";
        case FileKind::kSocket:
            return "a socket";
        case FileKind::kCharacterDevice:
            return "a character device";
        case FileKind::kBlockDevice:
            return "a block device";
        default:
            return "a file of an unknown kind";
    }
}

Status RequireRegularFile(const FileStatus& status) {
    if (status.kind == FileKind::kRegular) {
        return Status::Ok();
    }
    if (status.kind == FileKind::kDirectory) {
        return Status::FromErrno(EISDIR);
    }
    return Status::Error("Is " + FileKindName(status.kind) + ", not a regular file");
}

bool Exists(const std::string& path, Links links) {
    return StatusAt(path, links).ok();
}
