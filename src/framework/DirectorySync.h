// Making a rename or a removal in a directory last: the directory itself is
// synced, as a file's content is, so that after a crash the name points
// where it was made to point.
#pragma once

#include <string>

#include "framework/Status.h"

// Syncs DIRECTORY ("" for the current one). Ok on success, and also when the
// directory cannot be opened (what was done in it is done all the same) or
// the file system cannot sync a directory (EINVAL); otherwise the failure
// carries the errno of the failed sync.
Status SyncDirectory(const std::string& directory);
