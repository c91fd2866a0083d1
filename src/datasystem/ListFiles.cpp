#include "datasystem/ListFiles.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "datasystem/FerroxStatus.h"
#include "datasystem/SampleListFormat.h"
#include "datasystem/ferrox.h"
#include "framework/File.h"
#include "framework/PathParts.h"
#include "framework/Process.h"

namespace ferrox {

namespace {

constexpr std::string_view kLockSuffix = ".lock";
constexpr std::string_view kTemporaryMarker = ".new-";
// Names of lists being built that one process tries before it gives up.
constexpr unsigned kTemporaryAttempts = 100;
// Digits of the largest process number or counter.
constexpr std::size_t kMaxDigits = 10;

// ".new-", the largest process number and counter, "-journal".
constexpr std::size_t kLongestSuffix =
    kTemporaryMarker.size() + kMaxDigits + 1 + kMaxDigits + std::string_view("-journal").size();
// A stem that leaves room for the leading '.' and the longest suffix.
constexpr std::size_t kMaxStem = kMaxNameBytes - 1 - kLongestSuffix;
constexpr std::size_t kHashDigits = 16;

// FNV-1a, 64 bits: the same for the same name in every process and build.
std::uint64_t NameHash(std::string_view name) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    return hash;
}

std::string BaseOf(const std::string& path) {
    return FileNameOf(path);
}

// Takes a decimal number without sign or leading zeros (and at least
// SMALLEST) from the front of TEXT; false when there is none.
bool TakeNumber(std::string_view& text, unsigned smallest) {
    std::size_t digits = 0;
    unsigned long long value = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        value = value * 10 + static_cast<unsigned>(text[digits] - '0');
        ++digits;
        if (digits > kMaxDigits) {
            return false;
        }
    }
    if (digits == 0 || (digits > 1 && text.front() == '0') || value < smallest) {
        return false;
    }
    text.remove_prefix(digits);
    return true;
}

bool TakePrefix(std::string_view& text, std::string_view prefix) {
    if (text.substr(0, prefix.size()) != prefix) {
        return false;
    }
    text.remove_prefix(prefix.size());
    return true;
}

}  // namespace

std::string HiddenStemOf(std::string_view listName) {
    if (listName.size() <= kMaxStem) {
        return std::string(listName);
    }
    // Cut where no UTF-8 sequence is split, so the name still reads.
    std::size_t cut = kMaxStem - 1 - kHashDigits;
    while (cut > 0 && (static_cast<unsigned char>(listName[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    char hash[kHashDigits + 1];
    std::snprintf(hash, sizeof hash, "%016llx",
                  static_cast<unsigned long long>(NameHash(listName)));
    return std::string(listName.substr(0, cut)) + "~" + hash;
}

std::string DirectoryOf(const std::string& path) {
    return path.substr(0, path.size() - FileNameOf(path).size());
}

std::string LockPathFor(const std::string& listPath) {
    return DirectoryOf(listPath) + "." + HiddenStemOf(BaseOf(listPath)) + std::string(kLockSuffix);
}

bool IsTemporaryOf(std::string_view entry, std::string_view listName) {
    return !listName.empty() && TakePrefix(entry, ".") &&
           TakePrefix(entry, HiddenStemOf(listName)) && TakePrefix(entry, kTemporaryMarker) &&
           TakeNumber(entry, 1) && TakePrefix(entry, "-") && TakeNumber(entry, 0) &&
           (entry.empty() || entry == kJournalSuffix);
}

std::int32_t CreateTemporaryFor(const std::string& listPath, std::string& temporaryPath) {
    const std::string prefix = DirectoryOf(listPath) + "." + HiddenStemOf(BaseOf(listPath)) +
                               std::string(kTemporaryMarker) + std::to_string(ProcessId()) + "-";
    std::string candidate;
    for (unsigned attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        candidate = prefix + std::to_string(attempt);
        Result<FileDescriptor> created = CreateNewFile(candidate, kOpenWrite, 0666);
        if (created.ok()) {
            temporaryPath = candidate;
            return DB3_OK;
        }
        if (created.status().ErrorNumber() != EEXIST) {
            return FailOnFile("create", candidate, created.status());
        }
    }
    return FailOnFile("create", candidate, Status::FromErrno(EEXIST));
}

void RemoveTemporary(const std::string& temporaryPath) {
    static_cast<void>(RemoveFile(temporaryPath));
    static_cast<void>(RemoveFile(JournalOf(temporaryPath)));
}

void RemoveAbandonedFilesOf(const std::string& listPath) {
    const std::string directory = DirectoryOf(listPath);
    const std::string listName = BaseOf(listPath);
    const Result<std::vector<DirectoryEntry>> entries = ListDirectory(directory);
    if (!entries.ok()) {
        return;
    }
    std::vector<std::string> abandoned;
    for (const DirectoryEntry& entry : entries.value()) {
        if (IsTemporaryOf(entry.name, listName)) {
            abandoned.push_back(directory + entry.name);
        }
    }
    for (const std::string& path : abandoned) {
        // A link, pipe or directory at such a name was not made here.
        const Result<FileStatus> st = StatusAt(path, Links::kDoNotFollow);
        if (st.ok() && st.value().kind == FileKind::kRegular) {
            static_cast<void>(RemoveFile(path));
        }
    }
}

}  // namespace ferrox
