#include "cli/OutputPaths.h"

#include <cstdint>

#include "framework/File.h"
#include "framework/PathParts.h"
#include "framework/SystemError.h"
#include "util/OutputName.h"

namespace {

OutputPath Absolute(const std::string& path, PathSeparators separators) {
    const std::string full = FullPath(path, SIZE_MAX, separators);
    if (full.empty()) {
        if (const Result<std::string> cwd = CurrentDirectory(); !cwd.ok()) {
            return {path, Status::Error("The current folder cannot be found: " +
                                        cwd.status().message() + ".")};
        }
    } else if (full.size() <= kMaxPathChars) {
        return {full, Status::Ok()};
    }
    return {full.empty() ? path : full,
            Status::Error("Its path would be longer than " + std::to_string(kMaxPathChars) +
                          " characters.")};
}

}  // namespace

OutputPath DefaultOutputPath(const std::string& input) {
    // The input's path with its file name replaced.
    const std::string folder = input.substr(0, input.size() - FileNameOf(input).size());
    return Absolute(folder + InputTitle(input) + ".sdb", PathSeparators::kSlashOnly);
}

OutputPath BatchOutputPath(const std::string& directory, const std::string& input) {
    const bool separated = directory.back() == '/' || directory.back() == '\\';
    return Absolute(directory + (separated ? "" : "/") + InputTitle(input) + ".sdb",
                    PathSeparators::kBoth);
}

OutputPath GivenOutputPath(const std::string& output) {
    return Absolute(output, PathSeparators::kBoth);
}
