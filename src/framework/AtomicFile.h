// AtomicFile replaces the whole content of one file so that, whatever
// happens (a full disk, a crash, a power cut), the file afterwards holds
// either its old content or its new content, never a mixture or nothing.
//
// The new content goes to a temporary file in the same directory, which is
// synced and then renamed over the target; the directory is synced after
// the rename. A replaced file keeps its permission bits; a new file gets
// 0666 less the process's umask. A target that is a symbolic link is
// followed: the file it names is replaced and the link stays.
//
// On failure the target is untouched, no temporary file is left behind and
// the status names the file and the reason ("<file>: <what failed>:
// <reason>"). The directory must exist.
#pragma once

#include <string>
#include <string_view>

#include "framework/Status.h"

class AtomicFile {
public:
    explicit AtomicFile(std::string path);

    // Makes CONTENT the file's whole content.
    Status Write(std::string_view content);

    const std::string& GetPath() const { return m_strPath; }

private:
    // "<file>: WHAT", followed by ERROR's text unless ERROR is 0.
    Status Fail(const std::string& what, int error) const;

    std::string m_strPath;
};
