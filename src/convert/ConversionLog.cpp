#include "convert/ConversionLog.h"

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

constexpr const char* kLogName = "conversions.log";
constexpr std::size_t kTailChunk = 64 * 1024;
// How long appending and reading wait for another process's lock.
constexpr std::chrono::milliseconds kLogLockWait{2000};

std::string UtcNow() {
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date(day);
    const hh_mm_ss<seconds> time(now - day);
    char text[32] = "";
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

// Writes LINE at the end of FD, which is locked. On a short write the file
// is cut back to its size before, so that the next line does not start
// inside this one. When the file does not end with a line feed (a line cut
// short that could not be cut off), LINE starts with one.
Status WriteLine(FileHandle fd, std::string line) {
    const Result<FileStatus> st = StatusOf(fd);
    if (!st.ok()) {
        return st.status();
    }
    const std::uint64_t size = st.value().size;
    char last = '\n';
    if (size > 0 && ReadAt(fd, &last, 1, size - 1).ok() && last != '\n') {
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
    const Status cut = TruncateFile(fd, size);
    return cut.ok()
               ? Status::Error("the line was written only in part (" + status.message() +
                               ") and was cut off again")
               : Status::FromErrno("the line was written only in part and could not be cut off",
                                   cut.ErrorNumber());
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
        OpenRegularFile(path, kOpenAppend | kOpenCreate | kOpenReadWrite | kOpenNoFollow, 0600);
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
    return state.value() + "/" + kLogName;
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
    Result<FileDescriptor> opened = OpenRegularFile(path, kOpenRead);
    if (!opened.ok()) {
        if (opened.status().ErrorNumber() == ENOENT) {
            tail.missing = true;
        } else {
            tail.status = CannotRead(path, opened.status().message());
        }
        return tail;
    }
    const FileHandle fd = opened.value().Get();
    const Status locked = LockFile(fd, LockMode::kShared, kLogLockWait);
    if (locked.ErrorNumber() == EWOULDBLOCK) {
        tail.note = "the conversion log " + path + " was locked by another process for " +
                    LockWaitText() +
                    "; it was read all the same, so its last entry may be incomplete";
    } else if (!locked.ok()) {
        tail.status = CannotRead(path, "cannot lock it: " + locked.message());
        return tail;
    }
    const Result<FileStatus> st = StatusOf(fd);
    if (!st.ok()) {
        tail.status = CannotRead(path, st.status().message());
        return tail;
    }
    // Walks backwards through the file until COUNT lines are complete or
    // the start is reached.
    std::vector<char> chunk(kTailChunk);
    TailCollector collector(tail.lines);
    std::uint64_t position = st.value().size;
    while (position > 0 && tail.lines.size() < count) {
        const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(position, chunk.size()));
        const Result<std::size_t> got = ReadAt(fd, chunk.data(), size, position - size);
        if (!got.ok() || got.value() != size) {
            tail.lines.clear();
            tail.status =
                CannotRead(path, got.ok() ? SystemErrorText(EIO) : got.status().message());
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
