#include "framework/MakeDirectories.h"

#include <cerrno>

#include "framework/File.h"
#include "framework/PathParts.h"

Status MakeDirectories(const std::string& directory) {
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = kNativeSeparators == PathSeparators::kBoth ? directory.find_first_of("/\\", pos + 1)
                                                         : directory.find('/', pos + 1);
        const std::string prefix = directory.substr(0, pos);
        // A drive ("C:") or a share ("\\\\server\\share") is there or not: never made.
        if (prefix.empty() || Exists(prefix)) {
            continue;
        }
        const Status made = MakeDirectory(prefix);
        if (made.ok() || made.ErrorNumber() == EEXIST) {
            continue;
        }
        return Status::FromErrno("cannot create the directory " + prefix, made.ErrorNumber());
    }
    const Result<FileStatus> status = StatusAt(directory);
    if (!status.ok() || status.value().kind != FileKind::kDirectory) {
        return Status::Error(directory + " is not a directory");
    }
    return Status::Ok();
}
