// fs_recorder: a library preloaded (LD_PRELOAD) into a program under test
// that records, in order, every change the program makes to the files under
// a few folders, as the system calls that make them: creates, writes (with
// their offsets and bytes), truncations, syncs of files and folders,
// renames, links, removals and new folders. power_cut_test replays the
// record to build every state a power cut could leave.
//
// K2L_RECORD_FILE   the record, one operation a line (tab-separated):
//                   create P | mkdir P | write P OFFSET LENGTH AT |
//                   truncate P LENGTH | sync P | rename A B | link A B |
//                   unlink P | rmdir P; the bytes of a write are at
//                   offset AT of K2L_RECORD_FILE.data
// K2L_RECORD_DIRS   the folders recorded, absolute, separated by ':'
// K2L_RECORD_RACE   another program's part: just before a rename or link
//                   onto this path, a file is made there (no record needed)
//
// Only successful calls are recorded. Paths are absolute and lexically
// normalised; a descriptor's path is the one /proc gives at the call.
// The wrappers of a fortified build would clash with the definitions here.
#undef _FORTIFY_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

template <typename F>
F Real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

using OpenF = int (*)(const char*, int, ...);
using OpenatF = int (*)(int, const char*, int, ...);
using WriteF = ssize_t (*)(int, const void*, size_t);
using PwriteF = ssize_t (*)(int, const void*, size_t, off_t);

// "/a/./b//c/../d" as "/a/b/d".
std::string Normal(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t stop = std::min(path.find('/', start), path.size());
        const std::string part = path.substr(start, stop - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = stop + 1;
    }
    std::string normal;
    for (const std::string& part : parts)
        normal += "/" + part;
    return normal.empty() ? "/" : normal;
}

std::string FdPath(int fd) {
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[4096];
    const ssize_t n = readlink(link, target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
}

std::string Absolute(int dirfd, const char* path) {
    if (path == nullptr)
        return {};
    if (path[0] == '/')
        return Normal(path);
    std::string base;
    if (dirfd == AT_FDCWD) {
        char cwd[4096];
        base = getcwd(cwd, sizeof cwd) != nullptr ? cwd : "";
    } else {
        base = FdPath(dirfd);
    }
    return Normal(base + "/" + path);
}

class Recorder {
public:
    Recorder() {
        const char* file = std::getenv("K2L_RECORD_FILE");
        const char* dirs = std::getenv("K2L_RECORD_DIRS");
        if (const char* race = std::getenv("K2L_RECORD_RACE"))
            m_race = Normal(race);
        if (file == nullptr || dirs == nullptr)
            return;
        const OpenF open = Real<OpenF>("open");
        m_log = open(file, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
        m_data = open((std::string(file) + ".data").c_str(),
                      O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
        std::string all = dirs;
        for (std::size_t start = 0; start < all.size();) {
            const std::size_t stop = std::min(all.find(':', start), all.size());
            if (stop > start)
                m_dirs.push_back(Normal(all.substr(start, stop - start)));
            start = stop + 1;
        }
    }

    bool Watched(const std::string& path) const {
        for (const std::string& dir : m_dirs) {
            if (path == dir || path.compare(0, dir.size() + 1, dir + "/") == 0)
                return true;
        }
        return false;
    }

    void Log(const std::string& line) const {
        if (m_log >= 0)
            static_cast<void>(Real<WriteF>("write")(m_log, line.data(), line.size()));
    }

    void Wrote(const std::string& path, off_t offset, const void* bytes, std::size_t length) {
        const off_t at = lseek(m_data, 0, SEEK_END);
        static_cast<void>(Real<WriteF>("write")(m_data, bytes, length));
        Log("write\t" + path + "\t" + std::to_string(offset) + "\t" + std::to_string(length) +
            "\t" + std::to_string(at) + "\n");
    }

    // Another program takes TO first.
    void Race(const std::string& to) const {
        if (m_race.empty() || to != m_race)
            return;
        const int fd = Real<OpenF>("open")(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd >= 0) {
            static_cast<void>(Real<WriteF>("write")(fd, "another program's file\n", 23));
            close(fd);
        }
    }

private:
    int m_log = -1;
    int m_data = -1;
    std::vector<std::string> m_dirs;
    std::string m_race;
};

Recorder& Rec() {
    static Recorder recorder;
    return recorder;
}

bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

int Opened(int fd, const std::string& path, int flags, bool existed) {
    if (fd >= 0 && Rec().Watched(path)) {
        if (!existed && (flags & O_CREAT) != 0) {
            Rec().Log("create\t" + path + "\n");
        } else if ((flags & O_TRUNC) != 0 && (flags & O_ACCMODE) != O_RDONLY) {
            Rec().Log("truncate\t" + path + "\t0\n");
        }
    }
    return fd;
}

int DoOpenat(const char* name, int dirfd, const char* path, int flags, mode_t mode) {
    const std::string absolute = Absolute(dirfd, path);
    const bool existed = Exists(absolute);
    const int fd = Real<OpenatF>(name)(dirfd, path, flags, mode);
    return Opened(fd, absolute, flags, existed);
}

mode_t ModeOf(int flags, va_list args) {
    return (flags & (O_CREAT | O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

ssize_t Written(int fd, off_t offset, const void* bytes, ssize_t n) {
    if (n > 0) {
        const std::string path = FdPath(fd);
        if (Rec().Watched(path))
            Rec().Wrote(path, offset, bytes, static_cast<std::size_t>(n));
    }
    return n;
}

// Where a write() at FD's position lands.
off_t WriteOffset(int fd) {
    if ((fcntl(fd, F_GETFL) & O_APPEND) != 0) {
        struct stat st;
        return fstat(fd, &st) == 0 ? st.st_size : 0;
    }
    return lseek(fd, 0, SEEK_CUR);
}

void Synced(int fd, int result) {
    const std::string path = FdPath(fd);
    if (result == 0 && Rec().Watched(path))
        Rec().Log("sync\t" + path + "\n");
}

int Moved(const char* what, const std::string& from, const std::string& to, int result) {
    if (result == 0 && (Rec().Watched(from) || Rec().Watched(to))) {
        Rec().Log(std::string(what) + "\t" + from + "\t" + to + "\n");
    }
    return result;
}

int Removed(const std::string& path, bool folder, int result) {
    if (result == 0 && Rec().Watched(path)) {
        Rec().Log(std::string(folder ? "rmdir\t" : "unlink\t") + path + "\n");
    }
    return result;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeOf(flags, args);
    va_end(args);
    return DoOpenat("openat", AT_FDCWD, path, flags, mode);
}
int open64(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeOf(flags, args);
    va_end(args);
    return DoOpenat("openat", AT_FDCWD, path, flags, mode);
}
int openat(int dirfd, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeOf(flags, args);
    va_end(args);
    return DoOpenat("openat", dirfd, path, flags, mode);
}
int openat64(int dirfd, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeOf(flags, args);
    va_end(args);
    return DoOpenat("openat", dirfd, path, flags, mode);
}
int creat(const char* path, mode_t mode) {
    return DoOpenat("openat", AT_FDCWD, path, O_WRONLY | O_CREAT | O_TRUNC, mode);
}
int creat64(const char* path, mode_t mode) {
    return creat(path, mode);
}

int mkostemp(char* pattern, int flags) {
    const int fd = Real<int (*)(char*, int)>("mkostemp")(pattern, flags);
    return Opened(fd, Absolute(AT_FDCWD, pattern), O_CREAT, false);
}
int mkstemp(char* pattern) {
    return mkostemp(pattern, 0);
}

ssize_t write(int fd, const void* bytes, size_t length) {
    const off_t offset = WriteOffset(fd);
    return Written(fd, offset, bytes, Real<WriteF>("write")(fd, bytes, length));
}
ssize_t pwrite(int fd, const void* bytes, size_t length, off_t offset) {
    return Written(fd, offset, bytes, Real<PwriteF>("pwrite")(fd, bytes, length, offset));
}
ssize_t pwrite64(int fd, const void* bytes, size_t length, off_t offset) {
    return Written(fd, offset, bytes, Real<PwriteF>("pwrite64")(fd, bytes, length, offset));
}
ssize_t writev(int fd, const struct iovec* parts, int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i) {
        bytes.append(static_cast<const char*>(parts[i].iov_base), parts[i].iov_len);
    }
    const off_t offset = WriteOffset(fd);
    return Written(fd, offset, bytes.data(),
                   Real<ssize_t (*)(int, const struct iovec*, int)>("writev")(fd, parts, count));
}

int ftruncate(int fd, off_t length) {
    const int result = Real<int (*)(int, off_t)>("ftruncate")(fd, length);
    const std::string path = FdPath(fd);
    if (result == 0 && Rec().Watched(path)) {
        Rec().Log("truncate\t" + path + "\t" + std::to_string(length) + "\n");
    }
    return result;
}
int ftruncate64(int fd, off_t length) {
    return ftruncate(fd, length);
}

int fsync(int fd) {
    const int result = Real<int (*)(int)>("fsync")(fd);
    Synced(fd, result);
    return result;
}
int fdatasync(int fd) {
    const int result = Real<int (*)(int)>("fdatasync")(fd);
    Synced(fd, result);
    return result;
}

int renameat2(int fromfd, const char* from, int tofd, const char* to, unsigned int flags) {
    const std::string target = Absolute(tofd, to);
    Rec().Race(target);
    return Moved("rename", Absolute(fromfd, from), target,
                 Real<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2")(
                     fromfd, from, tofd, to, flags));
}
int renameat(int fromfd, const char* from, int tofd, const char* to) {
    const std::string target = Absolute(tofd, to);
    Rec().Race(target);
    return Moved(
        "rename", Absolute(fromfd, from), target,
        Real<int (*)(int, const char*, int, const char*)>("renameat")(fromfd, from, tofd, to));
}
int rename(const char* from, const char* to) {
    const std::string target = Absolute(AT_FDCWD, to);
    Rec().Race(target);
    return Moved("rename", Absolute(AT_FDCWD, from), target,
                 Real<int (*)(const char*, const char*)>("rename")(from, to));
}
int linkat(int fromfd, const char* from, int tofd, const char* to, int flags) {
    const std::string target = Absolute(tofd, to);
    Rec().Race(target);
    return Moved("link", Absolute(fromfd, from), target,
                 Real<int (*)(int, const char*, int, const char*, int)>("linkat")(fromfd, from,
                                                                                  tofd, to, flags));
}
int link(const char* from, const char* to) {
    const std::string target = Absolute(AT_FDCWD, to);
    Rec().Race(target);
    return Moved("link", Absolute(AT_FDCWD, from), target,
                 Real<int (*)(const char*, const char*)>("link")(from, to));
}

int unlink(const char* path) {
    return Removed(Absolute(AT_FDCWD, path), false, Real<int (*)(const char*)>("unlink")(path));
}
int unlinkat(int dirfd, const char* path, int flags) {
    return Removed(Absolute(dirfd, path), (flags & AT_REMOVEDIR) != 0,
                   Real<int (*)(int, const char*, int)>("unlinkat")(dirfd, path, flags));
}
int rmdir(const char* path) {
    return Removed(Absolute(AT_FDCWD, path), true, Real<int (*)(const char*)>("rmdir")(path));
}
int mkdir(const char* path, mode_t mode) {
    const int result = Real<int (*)(const char*, mode_t)>("mkdir")(path, mode);
    const std::string absolute = Absolute(AT_FDCWD, path);
    if (result == 0 && Rec().Watched(absolute))
        Rec().Log("mkdir\t" + absolute + "\n");
    return result;
}
int mkdirat(int dirfd, const char* path, mode_t mode) {
    const int result = Real<int (*)(int, const char*, mode_t)>("mkdirat")(dirfd, path, mode);
    const std::string absolute = Absolute(dirfd, path);
    if (result == 0 && Rec().Watched(absolute))
        Rec().Log("mkdir\t" + absolute + "\n");
    return result;
}

}  // extern "C"
