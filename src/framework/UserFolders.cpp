// The parts of UserFolders.h that are the same on every system.
#include "framework/UserFolders.h"

#include "framework/PathParts.h"

std::optional<std::string> AbsoluteFolderFromEnv(const char* name) {
    std::optional<std::string> value = EnvironmentValue(name);
    if (!value || !IsAbsolutePath(*value)) {
        return std::nullopt;
    }
    std::string folder = std::move(*value);
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) {
        folder.pop_back();
    }
    return folder;
}
