#include "framework/AtomicFile.h"

#include <cerrno>
#include <utility>

#include "framework/File.h"
#include "framework/PathParts.h"

namespace {

// The file that a write to PATH should replace: the target of a symbolic
// link, so that the link itself survives.
std::string ResolveTarget(const std::string& path) {
    const Result<FileStatus> link = StatusAt(path, Links::kDoNotFollow);
    if (!link.ok() || link.value().kind != FileKind::kSymbolicLink) {
        return path;
    }
    Result<std::string> real = ResolvedPath(path);
    // A dangling link is replaced by the file.
    return real.ok() ? std::move(real).value() : path;
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : m_strPath(std::move(path)) {}

Status AtomicFile::Fail(const std::string& what, int error) const {
    const std::string where = m_strPath + ": " + what;
    return error != 0 ? Status::FromErrno(where, error) : Status::Error(where);
}

Status AtomicFile::Write(std::string_view content) {
    if (m_strPath.empty()) {
        return Fail("no file name", 0);
    }
    const std::string target = ResolveTarget(m_strPath);
    const std::string folder = FolderOf(target);
    const std::string directory = folder.empty() ? std::string(".") : folder;

    const Result<FileStatus> existing = StatusAt(target);
    const bool exists = existing.ok();
    if (exists && existing.value().kind == FileKind::kDirectory) {
        return Fail("cannot replace", EISDIR);
    }
    if (exists && existing.value().kind != FileKind::kRegular) {
        return Fail("cannot replace: not a regular file", 0);
    }

    std::string temp = directory + "/." + FileNameOf(target) + ".XXXXXX";
    Result<FileDescriptor> created = CreateUniqueFile(temp);
    if (!created.ok()) {
        return Fail("cannot create a temporary file in " + directory,
                    created.status().ErrorNumber());
    }
    FileDescriptor fd = std::move(created).value();
    auto abandon = [&](const std::string& what, int error) {
        static_cast<void>(fd.Close());
        static_cast<void>(RemoveFile(temp));
        return Fail(what, error);
    };
    if (const Status set = SetPermissionsLike(fd.Get(), exists ? &existing.value() : nullptr);
        !set.ok()) {
        return abandon("cannot set the permissions of " + temp, set.ErrorNumber());
    }
    if (const Status written = WriteAll(fd.Get(), content); !written.ok()) {
        return abandon("cannot write " + temp, written.ErrorNumber());
    }
    if (const Status synced = SyncFile(fd.Get()); !synced.ok()) {
        return abandon("cannot sync " + temp, synced.ErrorNumber());
    }
    if (const Status closed = fd.Close(); !closed.ok()) {
        return abandon("cannot close " + temp, closed.ErrorNumber());
    }
    if (const Status renamed = RenameReplacing(temp, target); !renamed.ok()) {
        return abandon("cannot replace", renamed.ErrorNumber());
    }

    // The rename itself must reach the disk before the write counts.
    if (const Status synced = SyncDirectory(directory); !synced.ok()) {
        return Fail("replaced, but the directory could not be synced", synced.ErrorNumber());
    }
    return Status::Ok();
}
