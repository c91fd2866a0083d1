#include "cli/OutputPaths.h"

#include <unistd.h>

#include <cerrno>
#include <climits>

#include "framework/PathParts.h"
#include "framework/SystemError.h"
#include "util/PathName.h"

namespace {

// Why a path could not be made absolute against the current folder: either
// that folder is gone, or the path would not fit the dialog's buffer.
Status NotAbsolute() {
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) == nullptr) {
        return Status::Error("The current folder cannot be found: " + SystemErrorText(errno) + ".");
    }
    return Status::Error("Its path would be longer than 259 characters.");
}

}  // namespace

std::string InputTitle(const std::string& input) {
    return SplitPath(input).name;
}

Result<std::string> DefaultOutputPath(const std::string& input) {
    CPathName path(input);
    if (!path.IsValid() || path.SetExtension("sdb").empty()) {
        return NotAbsolute();
    }
    return path.GetFullPath();
}

Result<std::string> AbsoluteOutputPath(const std::string& output) {
    CPathName path(output);
    if (!path.IsValid()) {
        return NotAbsolute();
    }
    return path.GetFullPath();
}
