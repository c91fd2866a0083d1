#include "framework/UserFolders.h"

#include <cstdlib>

std::optional<std::string> AbsoluteFolderFromEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return std::nullopt;
    }
    std::string folder = value;
    while (!folder.empty() && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

Result<std::string> UserCacheFolder() {
    if (std::optional<std::string> cache = AbsoluteFolderFromEnv("XDG_CACHE_HOME")) {
        return *cache;
    }
    if (const std::optional<std::string> home = AbsoluteFolderFromEnv("HOME")) {
        return *home + "/.cache";
    }
    return Status::Error("neither XDG_CACHE_HOME nor HOME names an absolute folder");
}
