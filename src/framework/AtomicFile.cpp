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

// A temporary file is ".NAME.new-" and six characters, and its writer holds
// an exclusive lock on it from its creation until it is renamed over NAME.
// One that can be locked was left by a writer that died or a power cut: the
// next write of NAME removes it.
std::string TemporaryPrefix(const std::string& directory, const std::string& target) {
    return directory + "/." + FileNameOf(target) + ".new-";
}
constexpr std::size_t kTemporarySuffix = 6;

// Whether FILE is still the file at PATH.
bool StillAt(FileHandle file, const std::string& path) {
    const Result<FileStatus> opened = StatusOf(file);
    const Result<FileStatus> named = StatusAt(path, Links::kDoNotFollow);
    return opened.ok() && named.ok() && SameFile(opened.value(), named.value());
}

void RemoveDeadTemporaries(const std::string& directory, const std::string& target) {
    const std::string prefix = FileNameOf(TemporaryPrefix(directory, target));
    const Result<std::vector<DirectoryEntry>> entries = ListDirectory(directory);
    if (!entries.ok()) {
        return;
    }
    for (const DirectoryEntry& entry : entries.value()) {
        const std::string& name = entry.name;
        if (name.size() != prefix.size() + kTemporarySuffix || name.rfind(prefix, 0) != 0) {
            continue;
        }
        const std::string path = directory + "/" + name;
        // A regular file only, never through a link, never blocking.
        Result<FileDescriptor> file = OpenRegularFile(path, kOpenRead | kOpenNoFollow);
        if (file.ok() &&
            LockFile(file.value().Get(), LockMode::kExclusive, std::chrono::milliseconds(0)).ok() &&
            StillAt(file.value().Get(), path)) {
            static_cast<void>(RemoveFile(path));
        }
    }
}

// Creates and locks a temporary file for TARGET in DIRECTORY; its path in TEMP.
Result<FileDescriptor> CreateTemporary(const std::string& directory, const std::string& target,
                                       std::string& temp) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        temp = TemporaryPrefix(directory, target) + std::string(kTemporarySuffix, 'X');
        Result<FileDescriptor> created = CreateUniqueFile(temp);
        if (!created.ok()) {
            return created;
        }
        // Another writer's clean-up may have taken it before it was locked.
        if (LockFile(created.value().Get(), LockMode::kExclusive, std::chrono::milliseconds(0))
                .ok() &&
            StillAt(created.value().Get(), temp)) {
            return created;
        }
    }
    return Status::FromErrno(EAGAIN);
}

}  // namespace

AtomicFile::AtomicFile(std::string path, LinkAtName link)
    : m_strPath(std::move(path)), m_link(link) {}

Status AtomicFile::Fail(const std::string& what, int error) const {
    const std::string where = m_strPath + ": " + what;
    return error != 0 ? Status::FromErrno(where, error) : Status::Error(where);
}

Status AtomicFile::Write(std::string_view content) {
    if (m_strPath.empty()) {
        return Fail("no file name", 0);
    }
    const bool follow = m_link == LinkAtName::kFollow;
    const std::string target = follow ? ResolveTarget(m_strPath) : m_strPath;
    const std::string folder = FolderOf(target);
    const std::string directory = folder.empty() ? std::string(".") : folder;

    const Result<FileStatus> existing =
        StatusAt(target, follow ? Links::kFollow : Links::kDoNotFollow);
    // A link that is not followed is replaced as a whole, like a missing file.
    const bool exists = existing.ok() && existing.value().kind != FileKind::kSymbolicLink;
    if (exists && existing.value().kind == FileKind::kDirectory) {
        return Fail("cannot replace", EISDIR);
    }
    if (exists && existing.value().kind != FileKind::kRegular) {
        return Fail("cannot replace: not a regular file", 0);
    }

    RemoveDeadTemporaries(directory, target);
    std::string temp;
    Result<FileDescriptor> created = CreateTemporary(directory, target, temp);
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
    // The file stays open, and so locked, until it has its name: a clean-up
    // by another writer never takes it.
    if (const Status renamed = RenameReplacing(temp, target); !renamed.ok()) {
        return abandon("cannot replace", renamed.ErrorNumber());
    }
    if (const Status closed = fd.Close(); !closed.ok()) {
        return Fail("replaced, but " + temp + " could not be closed", closed.ErrorNumber());
    }

    // The rename itself must reach the disk before the write counts.
    if (const Status synced = SyncDirectory(directory); !synced.ok()) {
        return Fail("replaced, but the directory could not be synced", synced.ErrorNumber());
    }
    return Status::Ok();
}
