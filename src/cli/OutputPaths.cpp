#include "cli/OutputPaths.h"

#include "framework/PathParts.h"
#include "util/PathName.h"

std::string InputTitle(const std::string& input) {
    return SplitPath(input).name;
}

std::string DefaultOutputPath(const std::string& input) {
    CPathName path(input);
    if (!path.IsValid() || path.SetExtension("sdb").empty()) {
        return std::string();
    }
    return path.GetFullPath();
}

std::string AbsoluteOutputPath(const std::string& output) {
    CPathName path(output);
    if (!path.IsValid()) {
        return std::string();
    }
    return path.GetFullPath();
}
