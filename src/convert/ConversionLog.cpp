#include "convert/ConversionLog.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <optional>
#include <vector>

#include "convert/ConversionLogLine.h"
#include "framework/File.h"
#include "framework/MakeDirectories.h"
#include "framework/PathParts.h"
#include "framework/SystemError.h"
#include "framework/UserFolders.h"
#include "util/Sha256.h"

namespace {

constexpr const char* kLogFolder = "korr2ld";
constexpr const char* kLogName = "conversions.log";
constexpr std::size_t kTailChunk = 64 * 1024;
// How long appending and reading wait for another process's lock.
constexpr std::chrono::milliseconds kLogLockWait{2000};

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

// Writes LINE at the end of FD, which is locked. On a short write the file
// is cut back to its size before, so that the next line does not start
// inside this one. When the file does not end with a line feed (a line cut
// short that could not be cut off), LINE starts with one.
Status WriteLine(int fd, std::string line) {
    struct stat st;
    if (fstat(fd, &st) != 0) {
        return Status::FromErrno(errno);
    }
    char last = '\n';
    if (st.st_size > 0 && pread(fd, &last, 1, st.st_size - 1) == 1 && last != '\n') {
        line.insert(line.begin(), '\n');
    }
    std::size_t written = 0;
    const Status status = WriteAll(fd, line, &written);
    if (status.ok()) {
        return Status::Ok();
    }
    if (written == 0) {
        return status;
    }
    int cut;
    do {
        cut = ftruncate(fd, st.st_size);
    } while (cut != 0 && errno == EINTR);
    return cut == 0 ? Status::Error("the line was written only in part (" + status.message() +
                                    ") and was cut off again")
                    : Status::FromErrno(
                          "the line was written only in part and could not be cut off", errno);
}

// The sentence a caller shows for REASON, a failure of the log at PATH.
Status CannotWrite(const std::string& path, const std::string& reason) {
    return Status::Error("The conversion log " + path + " could not be written: " + reason + ".");
}

Status CannotRead(const std::string& path, const std::string& reason) {
    return Status::Error("The conversion log " + path + " could not be read: " + reason + ".");
}

std::string LockWaitText() {
    return std::to_string(kLogLockWait.count() / 1000) + " s";
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
    // The log is the program's own file: never appended to through a link.
    Result<FileDescriptor> opened =
        OpenRegularFile(path, O_APPEND | O_CREAT | O_RDWR | O_NOFOLLOW, 0600);
    if (!opened.ok()) {
        return CannotWrite(path, opened.status().message());
    }
    FileDescriptor& log = opened.value();
    const Status locked = LockFile(log.Get(), LockMode::kExclusive, kLogLockWait);
    if (locked.ErrorNumber() == EWOULDBLOCK) {
        return Status::Error("The conversion log " + path + " was locked by another process for " +
                             LockWaitText() + "; the entry for this conversion was not written.");
    }
    if (!locked.ok()) {
        return CannotWrite(path, "cannot lock it: " + locked.message());
    }
    if (const Status written = WriteLine(log.Get(), line); !written.ok()) {
        return CannotWrite(path, written.message());
    }
    if (const Status closed = log.Close(); !closed.ok()) {
        return CannotWrite(path, closed.message());
    }
    return Status::Ok();
}

// Collects the lines of a log read backwards, byte by byte from the end,
// keeping at most kMaxConversionLogLine bytes of any one line.
class TailCollector {
public:
    explicit TailCollector(std::vector<ConversionLogTail::Line>& lines) : m_lines(lines) {}

    // Takes BYTE, the one before those taken so far.
    void Take(char byte) {
        if (byte == '\n') {
            EndLine();
            return;
        }
        ++m_length;
        if (m_length <= kMaxConversionLogLine) {
            m_reversed += byte;
        } else if (!m_reversed.empty()) {
            std::string().swap(m_reversed);  // an overlong line: its length alone is kept
        }
    }
    // The line taken so far is complete (its start was reached).
    void EndLine() {
        if (m_length == 0) {
            return;  // empty lines are skipped
        }
        ConversionLogTail::Line line;
        line.length = m_length;
        line.text.assign(m_reversed.rbegin(), m_reversed.rend());
        m_lines.push_back(std::move(line));
        m_reversed.clear();
        m_length = 0;
    }

private:
    std::vector<ConversionLogTail::Line>& m_lines;
    std::string m_reversed;
    std::uint64_t m_length = 0;
};

}  // namespace

Result<std::string> ConversionLogPath() {
    const Result<std::string> state = UserStateFolder();
    if (!state.ok()) {
        return state.status();
    }
    return state.value() + "/" + kLogFolder + "/" + kLogName;
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
    Result<FileDescriptor> opened = OpenRegularFile(path, O_RDONLY);
    if (!opened.ok()) {
        if (opened.status().ErrorNumber() == ENOENT) {
            tail.missing = true;
        } else {
            tail.status = CannotRead(path, opened.status().message());
        }
        return tail;
    }
    const int fd = opened.value().Get();
    const Status locked = LockFile(fd, LockMode::kShared, kLogLockWait);
    if (locked.ErrorNumber() == EWOULDBLOCK) {
        tail.note = "the conversion log " + path + " was locked by another process for " +
                    LockWaitText() +
                    "; it was read all the same, so its last entry may be incomplete";
    } else if (!locked.ok()) {
        tail.status = CannotRead(path, "cannot lock it: " + locked.message());
        return tail;
    }
    struct stat st;
    if (fstat(fd, &st) != 0) {
        tail.status = CannotRead(path, SystemErrorText(errno));
        return tail;
    }
    // Walks backwards through the file until COUNT lines are complete or
    // the start is reached.
    std::vector<char> chunk(kTailChunk);
    TailCollector collector(tail.lines);
    off_t position = st.st_size;
    while (position > 0 && tail.lines.size() < count) {
        const auto size = static_cast<std::size_t>(std::min<off_t>(position, chunk.size()));
        const ssize_t got = pread(fd, chunk.data(), size, position - size);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got != static_cast<ssize_t>(size)) {
            tail.lines.clear();
            tail.status = CannotRead(path, SystemErrorText(got < 0 ? errno : EIO));
            return tail;
        }
        position -= size;
        for (std::size_t i = size; i-- > 0 && tail.lines.size() < count;) {
            collector.Take(chunk[i]);
        }
    }
    if (position == 0 && tail.lines.size() < count) {
        collector.EndLine();
    }
    std::reverse(tail.lines.begin(), tail.lines.end());
    return tail;
}
