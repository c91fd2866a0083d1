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

namespace {

// $VARIABLE, or $HOME/IN_HOME; a failure naming both when neither counts.
Result<std::string> UserFolder(const char* variable, const char* inHome) {
    if (std::optional<std::string> folder = AbsoluteFolderFromEnv(variable)) {
        return *folder;
    }
    if (const std::optional<std::string> home = AbsoluteFolderFromEnv("HOME")) {
        return *home + "/" + inHome;
    }
    return Status::Error(std::string("neither ") + variable + " nor HOME names an absolute folder");
}

}  // namespace

Result<std::string> UserCacheFolder() {
    return UserFolder("XDG_CACHE_HOME", ".cache");
}

Result<std::string> UserStateFolder() {
    return UserFolder("XDG_STATE_HOME", ".local/state");
}

Result<std::string> UserConfigFolder() {
    return UserFolder("XDG_CONFIG_HOME", ".config");
}
