// The file status query of the dialogs.
#pragma once

#include <string>

#include "framework/Types.h"

// TRUE when a file system entry named PATH exists: a file, a directory or
// any other kind, a link even when it points nowhere. An empty path names
// nothing.
BOOL FileEntryExists(const std::string& path);
