#include "framework/ProfileTakeOver.h"

#include "framework/File.h"
#include "framework/MakeDirectories.h"
#include "framework/PathParts.h"
#include "framework/ProfileFile.h"
#include "framework/UserFolders.h"

std::vector<std::string> SystemProfilePaths(const std::string& fileName) {
    std::vector<std::string> paths;
    if (kNativeSeparators != PathSeparators::kBoth) {
        return paths;
    }
    const std::optional<std::string> windows = AbsoluteFolderFromEnv("WINDIR");
    if (const std::optional<std::string> local = AbsoluteFolderFromEnv("LOCALAPPDATA");
        local && windows) {
        // The store mirrors the Windows folder's path without its drive.
        const std::size_t drive = windows->size() > 1 && (*windows)[1] == ':' ? 2 : 0;
        paths.push_back(*local + "\\VirtualStore" + windows->substr(drive) + "\\" + fileName);
    }
    if (windows) {
        paths.push_back(*windows + "\\" + fileName);
    }
    return paths;
}

std::string TakeOverProfileValues(const std::string& path,
                                  const std::vector<std::string>& candidates,
                                  std::string_view section,
                                  const std::vector<std::string_view>& keys) {
    if (path.empty() || Exists(path, Links::kDoNotFollow)) {
        return std::string();
    }
    for (const std::string& candidate : candidates) {
        const CProfileFile old(candidate);
        if (old.GetLoadState() != CProfileFile::LoadState::kLoaded) {
            continue;
        }
        CProfileFile taken(path);
        bool any = false;
        for (const std::string_view key : keys) {
            if (old.HasKey(section, key)) {
                any = taken.WriteString(section, key, old.GetString(section, key, "")) || any;
            }
        }
        if (!any) {
            continue;
        }
        const std::string folder = FolderOf(path);
        if ((!folder.empty() && !MakeDirectories(folder).ok()) || !taken.Save()) {
            return std::string();
        }
        return candidate;
    }
    return std::string();
}
