#include "convert/ConversionChecks.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "convert/ClashCache.h"
#include "convert/DataFileIndex.h"
#include "convert/MethodFiles.h"
#include "datasystem/FixedField.h"
#include "framework/AsciiCase.h"
#include "framework/File.h"
#include "framework/PathParts.h"
#include "samplelist/SampleListReader.h"

namespace {

// The names of the entries of DIRECTORY; empty when it cannot be read.
std::vector<std::string> Entries(const std::string& directory) {
    std::vector<std::string> names;
    const Result<std::vector<DirectoryEntry>> entries = ListDirectory(directory);
    if (!entries.ok()) {
        return names;
    }
    for (const DirectoryEntry& entry : entries.value()) {
        names.push_back(entry.name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Gives the data file names of the list at PATH to LOWEST, in record order,
// up to the first record that cannot be read. With CACHE, indexes them as
// well and keeps the index there as the list NAME's, when every record was
// read and the list did not change meanwhile; without, stops at the lowest
// number possible. A failure says why the list could not be read whole.
Status ReadDataFiles(const std::string& path, LowestRunningNumber& lowest, ClashCache* cache,
                     const std::string& name) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now);
    timespec readAt{};
    readAt.tv_sec = static_cast<std::time_t>(seconds.count());
    readAt.tv_nsec = static_cast<long>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now - seconds).count());
    const Result<SampleListIdentity> before =
        cache != nullptr ? SampleListReader::Identify(path, true)
                         : Result<SampleListIdentity>(Status::Error("not kept"));
    std::optional<DataFileIndex> index;
    if (before.ok()) {
        index.emplace();
    }
    {
        SampleListReader reader;
        if (Status opened = reader.Open(path); !opened.ok()) {
            return opened;
        }
        SAMPLE_RECORD record;
        for (std::int32_t n = 1; n <= reader.GetRecordCount(); ++n) {
            if (Status read = reader.Read(n, record); !read.ok()) {
                return read;  // the names after it are unknown: nothing to keep
            }
            const std::string_view dataFile = FixedFieldText(record.szDataFile);
            lowest.Take(dataFile);
            if (index) {
                index->Add(dataFile);
                if (index->Overflowed()) {
                    index.reset();
                }
            }
            if (!index && lowest.IsLowestPossible()) {
                return Status::Ok();
            }
        }
    }
    if (!index) {
        return Status::Ok();
    }
    const Result<SampleListIdentity> after = SampleListReader::Identify(path, true);
    if (after.ok()) {
        cache->Put(name, before.value().file, after.value().file, readAt, index->Names());
    }
    return Status::Ok();
}

// One notice naming every list of NOT_CHECKED (path, why) and why.
std::string NotCheckedNotice(const std::vector<std::pair<std::string, Status>>& notChecked) {
    const bool one = notChecked.size() == 1;
    std::string sentence = std::to_string(notChecked.size()) +
                           (one ? " other Sample List in the output folder could not be read, "
                                  "so it was not checked"
                                : " other Sample Lists in the output folder could not be read, "
                                  "so they were not checked") +
                           " for data file clashes (a clash would go unreported):";
    const char* separator = " ";
    for (const auto& [path, status] : notChecked) {
        std::string reason = status.message();
        if (!reason.empty() && reason.back() == '.') {
            reason.pop_back();
        }
        sentence += separator + path + ": " + reason;
        separator = "; ";
    }
    return sentence + ".";
}

}  // namespace

void CheckMethodName(ConversionReport& report, const std::string& output, const MethodName& name) {
    if (name.name.empty()) {
        report.Warn({ReportKind::kEmptyName, output, 0, 0, "", "",
                     std::string("the ") + name.what +
                         " name is empty: every record carries an empty " + name.what});
        return;
    }
    const MethodFolder folder = MethodFolderOf(name.key);
    if (folder.directory.empty()) {
        return;  // no folder configured: nothing to compare with
    }
    for (const MethodFile& file : ListMethodFiles(folder)) {
        if (SameIgnoringAsciiCase(file.name, name.name)) {
            return;
        }
    }
    report.Warn({ReportKind::kUnknownName, output, 0, 0, name.name, "",
                 std::string("the ") + name.what + " " + name.name +
                     " is not among the method files in " + folder.directory});
}

std::int64_t RunningNumberOf(std::string_view dataFile, std::string_view baseName) {
    std::string_view name = dataFile;
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') {
        name = name.substr(1, name.size() - 2);
    }
    if (name.size() < baseName.size() ||
        !SameIgnoringAsciiCase(name.substr(0, baseName.size()), baseName)) {
        return 0;
    }
    const std::string_view digits = name.substr(baseName.size());
    constexpr std::size_t kLongest = 10;  // digits of the largest running number
    if (digits.size() < 3 || digits.size() > kLongest ||
        digits.find_first_not_of("0123456789") != std::string_view::npos ||
        (digits.size() > 3 && digits.front() == '0')) {
        return 0;
    }
    std::int64_t number = 0;
    for (const char c : digits) {
        number = number * 10 + (c - '0');
    }
    return number;
}

bool SameDataFileBase(const std::string& a, const std::string& b) {
    return SameIgnoringAsciiCase(a, b);
}

std::string FoldedDataFileBase(std::string_view base) {
    return AsciiFolded(base);
}

void CollectDataFileClashes(ConversionReport& report, const std::string& listPath,
                            const std::string& baseName, std::optional<ClashCache>* keep) {
    const PathParts parts = SplitPath(listPath);
    const std::string directory = parts.drive + parts.directory;
    const PathParts absolute = SplitPath(FullPath(listPath, kMaxPath));
    // The folder to name lists by: absolute, as their clashes name them.
    const std::string shownDirectory =
        absolute.directory.empty() ? directory : absolute.drive + absolute.directory;
    std::optional<ClashCache> cache;
    if (baseName.size() <= DataFileIndex::kIndexedBaseChars && !absolute.directory.empty()) {
        cache = ClashCache::ForFolder(absolute.drive + absolute.directory, parts.extension);
    }
    std::vector<std::pair<std::string, Status>> notChecked;
    for (const std::string& entry : Entries(directory.empty() ? "." : directory)) {
        const PathParts other = SplitPath(entry);
        const std::string path = directory + entry;
        if (entry.front() == '.' || other.extension != parts.extension || path == listPath) {
            continue;
        }
        const Result<SampleListIdentity> list =
            SampleListReader::Identify(path, cache && cache->NeedsCounter(entry));
        if (!list.ok()) {
            // No list, or one the record library would not read (an
            // unfinished write beside it): not checked, and said so.
            notChecked.emplace_back(shownDirectory + entry, list.status());
            continue;
        }
        LowestRunningNumber lowest(baseName);
        const std::vector<std::string>* kept =
            cache ? cache->Find(entry, list.value().file) : nullptr;
        if (kept != nullptr) {
            for (const std::string& dataFile : *kept) {
                lowest.Take(dataFile);
            }
        } else {
            if (Status read = ReadDataFiles(path, lowest, cache ? &*cache : nullptr, entry);
                !read.ok()) {
                notChecked.emplace_back(shownDirectory + entry, std::move(read));
            }
        }
        if (lowest.Found()) {
            report.AddClashCandidate(
                ClashCandidate{list.value().path, lowest.GetNumber(), lowest.GetDataFile()});
        }
    }
    if (keep != nullptr) {
        *keep = std::move(cache);
    } else if (cache) {
        cache->Save();
    }
    if (!notChecked.empty()) {
        report.Notice(NoticeKind::kListsNotChecked, NotCheckedNotice(notChecked));
    }
}

void KeepWrittenList(std::optional<ClashCache>& cache, const std::string& listPath,
                     const DataFileIndex& written) {
    if (!cache) {
        return;
    }
    if (!written.Overflowed()) {
        const Result<SampleListIdentity> list =
            SampleListReader::Identify(listPath, DB3_IDENTITY_COMMITTED);
        if (list.ok()) {
            cache->PutWritten(FileNameOf(listPath), list.value().file, written.Names());
        }
    }
    cache->Save();
    cache.reset();
}
