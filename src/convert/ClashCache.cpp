#include "convert/ClashCache.h"

#include <cerrno>
#include <charconv>
#include <utility>

#include "convert/DataFileIndex.h"
#include "framework/AtomicFile.h"
#include "framework/File.h"
#include "framework/MakeDirectories.h"
#include "framework/PathParts.h"
#include "framework/UserFolders.h"
#include "samplelist/SampleRecord.h"
#include "util/Sha256.h"
#include "util/TsvField.h"

namespace {

constexpr std::string_view kMagic = "korr2ld data file names";
constexpr std::string_view kEnd = "end";
// A list's name, the eight numbers of its identity, and whether it was
// kept by the conversion that wrote it.
constexpr std::size_t kIdentityFields = 10;
constexpr std::size_t kLongestDataFile = sizeof(SAMPLE_RECORD::szDataFile) - 1;
constexpr std::int64_t kNanosecondsPerSecond = 1000000000;

enum class FileState { kMissing, kUnusable, kRead };

// Reads the whole of the regular file PATH into CONTENT when it holds at
// most LIMIT bytes. A symbolic link at PATH is unusable: the cache is the
// program's own file, never one a link names.
FileState ReadSmallFile(const std::string& path, std::size_t limit, std::string& content) {
    FileStatus st;
    const Result<FileDescriptor> file = OpenRegularFile(path, kOpenRead | kOpenNoFollow, 0, &st);
    if (!file.ok()) {
        return file.status().ErrorNumber() == ENOENT ? FileState::kMissing : FileState::kUnusable;
    }
    if (st.size > limit) {
        return FileState::kUnusable;
    }
    // One byte more than expected tells a file that grew meanwhile.
    content.resize(static_cast<std::size_t>(st.size) + 1);
    std::size_t used = 0;
    for (;;) {
        const Result<std::size_t> got =
            ReadSome(file.value().Get(), content.data() + used, content.size() - used);
        if (!got.ok()) {
            return FileState::kUnusable;
        }
        if (got.value() == 0) {
            content.resize(used);
            return FileState::kRead;
        }
        used += got.value();
        if (used == content.size()) {
            return FileState::kUnusable;  // larger than it was
        }
    }
}

// TEXT as a whole decimal number of type T, with no sign but a leading
// '-' for signed types.
template <typename T>
bool ParseNumber(std::string_view text, T& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && stop == end;
}

bool ParseNanoseconds(std::string_view text, std::int64_t& value) {
    return ParseNumber(text, value) && value >= 0 && value < kNanosecondsPerSecond;
}

std::optional<std::string> ParseText(std::string_view field, std::size_t longest) {
    std::optional<std::string> text = UnescapeTsvField(field);
    if (!text || text->empty() || text->size() > longest || text->find('\0') != std::string::npos) {
        return std::nullopt;
    }
    return text;
}

bool SameFileStatus(const DB3_LIST_IDENTITY& a, const DB3_LIST_IDENTITY& b) {
    return a.device == b.device && a.inode == b.inode && a.size == b.size &&
           a.modifiedSeconds == b.modifiedSeconds &&
           a.modifiedNanoseconds == b.modifiedNanoseconds && a.changedSeconds == b.changedSeconds &&
           a.changedNanoseconds == b.changedNanoseconds;
}

// The list's last change, modification or status change, lay at least
// kSettledSeconds before READ_AT.
bool Settled(const DB3_LIST_IDENTITY& identity, const timespec& readAt) {
    const auto before = [&](std::int64_t seconds, std::int64_t nanoseconds) {
        const std::int64_t latest = seconds + ClashCache::kSettledSeconds;
        return latest < readAt.tv_sec || (latest == readAt.tv_sec && nanoseconds < readAt.tv_nsec);
    };
    return before(identity.modifiedSeconds, identity.modifiedNanoseconds) &&
           before(identity.changedSeconds, identity.changedNanoseconds);
}

std::string TextField(std::string_view text) {
    return "\t" + EscapeTsvField(text);
}

template <typename T>
std::string NumberField(T number) {
    return "\t" + std::to_string(number);
}

}  // namespace

std::optional<ClashCache> ClashCache::ForFolder(const std::string& folder,
                                                const std::string& extension) {
    const Result<std::string> cacheHome = UserCacheFolder();
    if (!cacheHome.ok()) {
        return std::nullopt;
    }
    // A zero byte, which no folder holds, keeps the two apart.
    const std::string key = Sha256OfBytes(folder + '\0' + extension);
    return ClashCache(cacheHome.value() + "/data-files-" + key.substr(0, 32), folder, extension);
}

ClashCache::ClashCache(std::string file, std::string folder, std::string extension)
    : m_strFile(std::move(file)),
      m_strFolder(std::move(folder)),
      m_strExtension(std::move(extension)) {
    std::string content;
    switch (ReadSmallFile(m_strFile, kMaxFileBytes, content)) {
        case FileState::kMissing:
            break;
        case FileState::kUnusable:
            m_bStale = true;
            break;
        case FileState::kRead:
            m_bStale = !Parse(content);
            break;
    }
}

bool ClashCache::Parse(const std::string& content) {
    // The last line: "end", the number of lists, the digest of the rest.
    if (content.size() < 2 || content.back() != '\n') {
        return false;
    }
    const std::size_t lastLine = content.rfind('\n', content.size() - 2);
    if (lastLine == std::string::npos) {
        return false;
    }
    const std::string_view body(content.data(), lastLine + 1);
    const std::vector<std::string_view> end =
        SplitTsvLine(std::string_view(content).substr(lastLine + 1, content.size() - lastLine - 2));
    std::size_t lists = 0;
    if (end.size() != 3 || end[0] != kEnd || !ParseNumber(end[1], lists) ||
        end[2] != Sha256OfBytes(body)) {
        return false;
    }

    std::size_t start = 0;
    bool header = true;
    while (start < body.size()) {
        const std::size_t stop = body.find('\n', start);
        const std::string_view line = body.substr(start, stop - start);
        start = stop + 1;
        if (header) {
            const std::vector<std::string_view> fields = SplitTsvLine(line);
            if (fields.size() != 4 || fields[0] != kMagic ||
                fields[1] != std::to_string(kFormatVersion) ||
                UnescapeTsvField(fields[2]) != m_strFolder ||
                UnescapeTsvField(fields[3]) != m_strExtension) {
                return false;
            }
            header = false;
        } else if (!ParseEntry(line)) {
            m_loaded.clear();
            return false;
        }
    }
    if (header || m_loaded.size() != lists) {
        m_loaded.clear();
        return false;
    }
    return true;
}

bool ClashCache::ParseEntry(std::string_view line) {
    const std::vector<std::string_view> fields = SplitTsvLine(line);
    if (fields.size() < kIdentityFields ||
        fields.size() - kIdentityFields > DataFileIndex::kMaxBases) {
        return false;
    }
    // Names are written in order, so a name out of order is damage too.
    const std::optional<std::string> name = ParseText(fields[0], PathParts::kMaxNameChars);
    if (!name || name->find('/') != std::string::npos ||
        (!m_loaded.empty() && *name <= m_loaded.rbegin()->first)) {
        return false;
    }
    Entry entry;
    DB3_LIST_IDENTITY& identity = entry.identity;
    if (!ParseNumber(fields[1], identity.device) || !ParseNumber(fields[2], identity.inode) ||
        !ParseNumber(fields[3], identity.size) || identity.size < 0 ||
        !ParseNumber(fields[4], identity.modifiedSeconds) ||
        !ParseNanoseconds(fields[5], identity.modifiedNanoseconds) ||
        !ParseNumber(fields[6], identity.changedSeconds) ||
        !ParseNanoseconds(fields[7], identity.changedNanoseconds) ||
        !ParseNumber(fields[8], identity.changeCounter) || (fields[9] != "0" && fields[9] != "1")) {
        return false;
    }
    entry.written = fields[9] == "1";
    for (std::size_t i = kIdentityFields; i < fields.size(); ++i) {
        std::optional<std::string> dataFile = ParseText(fields[i], kLongestDataFile);
        if (!dataFile) {
            return false;
        }
        entry.names.push_back(std::move(*dataFile));
    }
    m_loaded.emplace_hint(m_loaded.end(), *name, std::move(entry));
    return true;
}

bool ClashCache::Entry::Serves(const DB3_LIST_IDENTITY& now) const {
    return SameFileStatus(identity, now) &&
           (!written || identity.changeCounter == now.changeCounter);
}

bool ClashCache::NeedsCounter(const std::string& name) const {
    const auto kept = m_kept.find(name);
    const auto loaded = m_loaded.find(name);
    return (kept != m_kept.end() && kept->second.written) ||
           (loaded != m_loaded.end() && loaded->second.written);
}

const std::vector<std::string>* ClashCache::Find(const std::string& name,
                                                 const DB3_LIST_IDENTITY& identity) {
    if (const auto kept = m_kept.find(name); kept != m_kept.end()) {
        return kept->second.Serves(identity) ? &kept->second.names : nullptr;
    }
    const auto loaded = m_loaded.find(name);
    if (loaded == m_loaded.end()) {
        return nullptr;
    }
    auto entry = m_loaded.extract(loaded);
    if (!entry.mapped().Serves(identity)) {
        m_bDropped = true;
        return nullptr;
    }
    return &m_kept.insert(std::move(entry)).position->second.names;
}

void ClashCache::Put(const std::string& name, const DB3_LIST_IDENTITY& before,
                     const DB3_LIST_IDENTITY& after, const timespec& readAt,
                     std::vector<std::string> names) {
    if (!SameFileStatus(before, after) || before.changeCounter != after.changeCounter ||
        !Settled(before, readAt)) {
        return;
    }
    m_kept.insert_or_assign(name, Entry{before, std::move(names), false});
    m_bPut = true;
}

void ClashCache::PutWritten(const std::string& name, const DB3_LIST_IDENTITY& written,
                            std::vector<std::string> names) {
    m_loaded.erase(name);
    m_kept.insert_or_assign(name, Entry{written, std::move(names), true});
    m_bPut = true;
}

std::string ClashCache::Format() const {
    std::string content = std::string(kMagic) + NumberField(kFormatVersion) +
                          TextField(m_strFolder) + TextField(m_strExtension) + "\n";
    for (const auto& [name, entry] : m_kept) {
        const DB3_LIST_IDENTITY& identity = entry.identity;
        content += EscapeTsvField(name) + NumberField(identity.device) +
                   NumberField(identity.inode) + NumberField(identity.size) +
                   NumberField(identity.modifiedSeconds) +
                   NumberField(identity.modifiedNanoseconds) +
                   NumberField(identity.changedSeconds) + NumberField(identity.changedNanoseconds) +
                   NumberField(identity.changeCounter) + NumberField(entry.written ? 1 : 0);
        for (const std::string& dataFile : entry.names) {
            content += TextField(dataFile);
        }
        content += '\n';
    }
    return content + std::string(kEnd) + NumberField(m_kept.size()) + "\t" +
           Sha256OfBytes(content) + "\n";
}

void ClashCache::Save() const {
    // Unchanged: every list loaded was found again as it was, none was put.
    if (!m_bStale && !m_bPut && !m_bDropped && m_loaded.empty()) {
        return;
    }
    if (!MakeDirectories(FolderOf(m_strFile)).ok()) {
        return;
    }
    const std::string content = Format();
    if (content.size() <= kMaxFileBytes) {
        static_cast<void>(
            AtomicFile(m_strFile, AtomicFile::LinkAtName::kReplaceLink).Write(content));
    }
}
