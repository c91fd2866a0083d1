#include "convert/ConversionChecks.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>
#include <optional>
#include <string_view>
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
// number possible.
void ReadDataFiles(const std::string& path, LowestRunningNumber& lowest, ClashCache* cache,
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
        if (!reader.Open(path).ok()) {
            return;
        }
        SAMPLE_RECORD record;
        for (std::int32_t n = 1; n <= reader.GetRecordCount(); ++n) {
            if (!reader.Read(n, record).ok()) {
                return;  // the names after it are unknown: nothing to keep
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
                return;
            }
        }
    }
    if (!index) {
        return;
    }
    const Result<SampleListIdentity> after = SampleListReader::Identify(path, true);
    if (after.ok()) {
        cache->Put(name, before.value().file, after.value().file, readAt, index->Names());
    }
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
                            const std::string& baseName) {
    const PathParts parts = SplitPath(listPath);
    const std::string directory = parts.drive + parts.directory;
    std::optional<ClashCache> cache;
    if (baseName.size() <= DataFileIndex::kIndexedBaseChars) {
        const PathParts absolute = SplitPath(FullPath(listPath, kMaxPath));
        if (!absolute.directory.empty()) {
            cache = ClashCache::ForFolder(absolute.drive + absolute.directory, parts.extension);
        }
    }
    for (const std::string& entry : Entries(directory.empty() ? "." : directory)) {
        const PathParts other = SplitPath(entry);
        const std::string path = directory + entry;
        if (entry.front() == '.' || other.extension != parts.extension || path == listPath) {
            continue;
        }
        const Result<SampleListIdentity> list = SampleListReader::Identify(path, false);
        if (!list.ok()) {
            continue;  // no list, or one the record library would not read
        }
        LowestRunningNumber lowest(baseName);
        const std::vector<std::string>* kept =
            cache ? cache->Find(entry, list.value().file) : nullptr;
        if (kept != nullptr) {
            for (const std::string& dataFile : *kept) {
                lowest.Take(dataFile);
            }
        } else {
            ReadDataFiles(path, lowest, cache ? &*cache : nullptr, entry);
        }
        if (lowest.Found()) {
            report.AddClashCandidate(
                ClashCandidate{list.value().path, lowest.GetNumber(), lowest.GetDataFile()});
        }
    }
    if (cache) {
        cache->Save();
    }
}
