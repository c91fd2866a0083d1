// Whether two names reach the same file: the same device and inode, links
// followed. The one test wherever a file must not be its own source, such
// as a Sample List written over the export it is made from.
#pragma once

#include <sys/stat.h>

#include <string>

inline bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True when both A and B exist and are the same file.
inline bool SameFile(const std::string& a, const std::string& b) {
    struct stat first;
    struct stat second;
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           SameFile(first, second);
}
