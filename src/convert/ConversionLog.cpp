#include "convert/ConversionLog.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <exception>
#include <optional>
#include <vector>

#include "convert/ConversionLogLine.h"
#include "framework/MakeDirectories.h"
#include "framework/PathParts.h"
#include "framework/SystemError.h"
#include "framework/UserFolders.h"
#include "util/Sha256.h"

namespace {

constexpr const char* kLogFolder = "korr2ld";
constexpr const char* kLogName = "conversions.log";
constexpr std::size_t kTailChunk = 64 * 1024;

std::string UtcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    char text[32] = "";
    if (gmtime_r(&now, &utc) == nullptr ||
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc) == 0) {
        return "?";
    }
    return text;
}

std::string UserName() {
    const uid_t uid = getuid();
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_name != nullptr && found->pw_name[0] != '\0') {
        return found->pw_name;
    }
    const char* user = std::getenv("USER");
    if (user != nullptr && user[0] != '\0') {
        return user;
    }
    return std::to_string(uid);
}

// Holds an open descriptor and closes it at the end of the scope (closing
// also releases its flock).
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return m_fd; }
    // Closes now; the errno of a failed close, else 0.
    int Close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

int LockFile(int fd, int operation) {
    while (flock(fd, operation) != 0) {
        if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}

// Writes LINE with one write() at the end of FD, which is locked. On a short
// write the file is cut back to its size before, so that the next line does
// not start inside this one. When the file does not end with a line feed
// (a line cut short that could not be cut off), LINE starts with one.
Status WriteLine(int fd, std::string line) {
    struct stat st;
    if (fstat(fd, &st) != 0) {
        return Status::FromErrno(errno);
    }
    char last = '\n';
    if (st.st_size > 0 && pread(fd, &last, 1, st.st_size - 1) == 1 && last != '\n') {
        line.insert(line.begin(), '\n');
    }
    ssize_t written;
    do {
        written = ::write(fd, line.data(), line.size());
    } while (written < 0 && errno == EINTR);
    if (written < 0) {
        return Status::FromErrno(errno);
    }
    if (written == static_cast<ssize_t>(line.size())) {
        return Status::Ok();
    }
    int cut;
    do {
        cut = ftruncate(fd, st.st_size);
    } while (cut != 0 && errno == EINTR);
    return cut == 0 ? Status::Error("the line was written only in part")
                    : Status::FromErrno(
                          "the line was written only in part and could not be cut off", errno);
}

// The sentence a caller shows for REASON, a failure of the log at PATH.
Status CannotWrite(const std::string& path, const std::string& reason) {
    return Status::Error("The conversion log " + path + " could not be written: " + reason + ".");
}

Status CannotRead(const std::string& path, int error) {
    return Status::Error("The conversion log " + path +
                         " could not be read: " + SystemErrorText(error) + ".");
}

Status Append(const std::string& path, const ConversionLogEntry& entry) {
    const std::string folder = FolderOf(path);
    if (!folder.empty()) {
        if (const Status made = MakeDirectories(folder); !made.ok()) {
            return CannotWrite(path, made.message());
        }
    }

    ConversionLogRecord record;
    record.time = UtcNow();
    record.user = UserName();
    const Result<std::string> digest = Sha256OfFile(entry.input);
    record.inputSha256 = digest.ok() ? digest.value() : std::string(kNoInputDigest);
    record.entry = entry;
    const std::string line = FormatConversionLogLine(record);

    // Read as well as write: the last byte is looked at before appending.
    Descriptor log(::open(path.c_str(), O_APPEND | O_CREAT | O_RDWR | O_CLOEXEC, 0600));
    if (log.Get() < 0) {
        return CannotWrite(path, SystemErrorText(errno));
    }
    if (const int error = LockFile(log.Get(), LOCK_EX); error != 0) {
        return CannotWrite(path, "cannot lock it: " + SystemErrorText(error));
    }
    if (const Status written = WriteLine(log.Get(), line); !written.ok()) {
        return CannotWrite(path, written.message());
    }
    if (const int error = log.Close(); error != 0) {
        return CannotWrite(path, SystemErrorText(error));
    }
    return Status::Ok();
}

}  // namespace

void ConversionLogEntry::TakeCounts(const ConversionReport& report, std::size_t notices) {
    records = report.records;
    sampleLines = report.sampleLines;
    skippedLines = report.skippedLines;
    warnings = report.WarningCount() + static_cast<std::int64_t>(notices);
}

Result<std::string> ConversionLogPath() {
    std::optional<std::string> state = AbsoluteFolderFromEnv("XDG_STATE_HOME");
    if (!state) {
        const std::optional<std::string> home = AbsoluteFolderFromEnv("HOME");
        if (!home) {
            return Status::Error("neither XDG_STATE_HOME nor HOME names an absolute folder");
        }
        state = *home + "/.local/state";
    }
    return *state + "/" + kLogFolder + "/" + kLogName;
}

Status AppendConversionLog(const ConversionLogEntry& entry) noexcept {
    try {
        const Result<std::string> path = ConversionLogPath();
        if (!path.ok()) {
            return Status::Error(
                "The conversion log could not be written: " + path.status().message() + ".");
        }
        return AppendConversionLogTo(path.value(), entry);
    } catch (const std::exception& error) {
        return Status::Error(
            "The conversion log could not be written: " + std::string(error.what()) + ".");
    } catch (...) {
        return Status::Error("The conversion log could not be written.");
    }
}

Status AppendConversionLogTo(const std::string& path, const ConversionLogEntry& entry) noexcept {
    try {
        return Append(path, entry);
    } catch (const std::exception& error) {
        return CannotWrite(path, error.what());
    } catch (...) {
        return CannotWrite(path, "unexpected error");
    }
}

ConversionLogTail ReadConversionLogTail(const std::string& path, std::size_t count) {
    ConversionLogTail tail;
    Descriptor log(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (log.Get() < 0) {
        if (errno == ENOENT) {
            tail.missing = true;
        } else {
            tail.status = CannotRead(path, errno);
        }
        return tail;
    }
    struct stat st;
    int error = LockFile(log.Get(), LOCK_SH);
    if (error == 0 && fstat(log.Get(), &st) != 0) {
        error = errno;
    } else if (error == 0 && S_ISDIR(st.st_mode)) {
        error = EISDIR;
    }
    // Walks backwards through the file, collecting each line's bytes in
    // reverse order until COUNT lines are complete or the start is reached.
    std::vector<char> chunk(kTailChunk);
    std::string reversed;
    off_t position = error == 0 ? st.st_size : 0;
    while (error == 0 && position > 0 && tail.lines.size() < count) {
        const auto size = static_cast<std::size_t>(std::min<off_t>(position, chunk.size()));
        const ssize_t got = pread(log.Get(), chunk.data(), size, position - size);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got != static_cast<ssize_t>(size)) {
            error = got < 0 ? errno : EIO;
            break;
        }
        position -= size;
        for (std::size_t i = size; i-- > 0 && tail.lines.size() < count;) {
            if (chunk[i] != '\n') {
                reversed += chunk[i];
            } else if (!reversed.empty()) {
                tail.lines.emplace_back(reversed.rbegin(), reversed.rend());
                reversed.clear();
            }
        }
    }
    if (error != 0) {
        tail.lines.clear();
        tail.status = CannotRead(path, error);
        return tail;
    }
    if (position == 0 && !reversed.empty() && tail.lines.size() < count) {
        tail.lines.emplace_back(reversed.rbegin(), reversed.rend());
    }
    std::reverse(tail.lines.begin(), tail.lines.end());
    return tail;
}
