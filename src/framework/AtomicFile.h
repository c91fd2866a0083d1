// AtomicFile replaces the whole content of one file so that, whatever
// happens (a full disk, a crash, a power cut), the file afterwards holds
// either its old content or its new content, never a mixture or nothing.
//
// The new content goes to a temporary file in the same directory, which is
// synced and then renamed over the target; the directory is synced after
// the rename. A replaced file keeps its permission bits; a new file gets
// 0666 less the process's umask. A target that is a symbolic link is
// followed: the file it names is replaced and the link stays (a user may
// link a settings file to one kept elsewhere); unless the writer owns the
// name (kReplaceLink): then the link itself is replaced by the new file and
// the file it names is left as it is.
//
// The temporary file is ".NAME.new-" and six characters beside NAME, locked
// (flock) by its writer until it is renamed: one that a writer killed or a
// power cut left is removed by the next write of NAME; a locked one, a link
// or anything but a regular file is left alone.
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
    // What a symbolic link at the file's name stands for.
    enum class LinkAtName { kFollow, kReplaceLink };

    explicit AtomicFile(std::string path, LinkAtName link = LinkAtName::kFollow);

    // Makes CONTENT the file's whole content.
    Status Write(std::string_view content);

    const std::string& GetPath() const { return m_strPath; }

private:
    // "<file>: WHAT", followed by ERROR's text unless ERROR is 0.
    Status Fail(const std::string& what, int error) const;

    std::string m_strPath;
    LinkAtName m_link;
};
