// Where the record library keeps a Sample List: the one rule that turns the
// sample-list location (GLOBAL_FILE_INFO) and a list's name into the path of
// its file. The record library writes there, and whoever checks that path
// (for an existing list, or for the input itself) asks here.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "datasystem/ostrel.h"

// DIRECTORY NAME.EXTENSION, without the dot when the extension is empty.
inline std::string SampleListPath(const GLOBAL_FILE_INFO& location, std::string_view name) {
    std::string path(location.szDirectory,
                     strnlen(location.szDirectory, sizeof location.szDirectory));
    path += name;
    const std::size_t extensionLength = strnlen(location.szExtension, sizeof location.szExtension);
    if (extensionLength != 0) {
        path += '.';
        path.append(location.szExtension, extensionLength);
    }
    return path;
}
