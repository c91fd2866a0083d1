// The parts of CommonDialogs.h that are the same on every twin.
#include "ui/platform/CommonDialogs.h"

#include <cstdint>

#include "framework/File.h"
#include "framework/PathParts.h"

std::string FullPathOf(const std::string& path) {
    const std::string full = FullPath(path, SIZE_MAX, kNativeSeparators);
    return full.empty() ? path : full;
}

BOOL FileEntryExists(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        return FALSE;
    }
    return Exists(path, Links::kDoNotFollow) ? TRUE : FALSE;
}
