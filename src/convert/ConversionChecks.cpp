#include "convert/ConversionChecks.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "convert/MethodFiles.h"
#include "datasystem/FixedField.h"
#include "framework/PathParts.h"
#include "samplelist/SampleListReader.h"

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

// The names of the entries of DIRECTORY; empty when it cannot be read.
std::vector<std::string> Entries(const std::string& directory) {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), ::closedir);
    if (!dir) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        names.emplace_back(entry->d_name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool IsRegularFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
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
        if (SameIgnoringCase(file.name, name.name)) {
            return;
        }
    }
    report.Warn({ReportKind::kUnknownName, output, 0, 0, name.name, "",
                 std::string("the ") + name.what + " " + name.name +
                     " is not among the method files in " + folder.directory});
}

std::int64_t RunningNumberOf(const std::string& dataFile, const std::string& baseName) {
    std::string_view name(dataFile);
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') {
        name = name.substr(1, name.size() - 2);
    }
    if (name.size() < baseName.size() ||
        !SameIgnoringCase(name.substr(0, baseName.size()), baseName)) {
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
    return SameIgnoringCase(a, b);
}

void CollectDataFileClashes(ConversionReport& report, const std::string& listPath,
                            const std::string& baseName) {
    const PathParts parts = SplitPath(listPath);
    const std::string directory = parts.drive + parts.directory;
    for (const std::string& entry : Entries(directory.empty() ? "." : directory)) {
        const PathParts other = SplitPath(entry);
        const std::string path = directory + entry;
        if (entry.front() == '.' || other.extension != parts.extension || path == listPath ||
            !IsRegularFile(path)) {
            continue;
        }
        SampleListReader reader;
        if (!reader.Open(path).ok()) {
            continue;
        }
        SAMPLE_RECORD record;
        for (std::int32_t n = 1; n <= reader.GetRecordCount() && reader.Read(n, record).ok(); ++n) {
            const std::string dataFile(FixedFieldText(record.szDataFile));
            const std::int64_t number = RunningNumberOf(dataFile, baseName);
            if (number != 0) {
                report.AddClashCandidate(ClashCandidate{reader.GetPath(), number, dataFile});
                if (number == 1) {
                    break;  // no lower number to find
                }
            }
        }
    }
}
