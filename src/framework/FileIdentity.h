// Whether two names reach the same file: the same device and inode (on
// Windows the volume and file index), links followed. The one test wherever
// a file must not be its own source, such as a Sample List written over the
// export it is made from.
#pragma once

#include <string>

#include "framework/File.h"

// True when both A and B exist and are the same file.
inline bool SameFile(const std::string& a, const std::string& b) {
    const Result<FileStatus> first = StatusAt(a);
    const Result<FileStatus> second = StatusAt(b);
    return first.ok() && second.ok() && SameFile(first.value(), second.value());
}
