// The Sample List paths `convert` derives from its arguments, the way the
// conversion dialog derives them when the user chooses an input file, made
// absolute against the current directory (FullPath, framework/PathParts.h).
#pragma once

#include <string>

#include "framework/Status.h"

struct OutputPath {
    std::string path;  // absolute; as derived when it cannot be made so
    Status status;     // why it cannot be used; ok when it can
};

// INPUT's default Sample List: the input's folder and title (util/
// OutputName.h) with the extension "sdb". The input's path is one of this
// file system: only '/' separates its folders.
OutputPath DefaultOutputPath(const std::string& input);

// The Sample List for INPUT in the folder DIRECTORY of a batch:
// DIRECTORY/<title>.sdb. DIRECTORY is read as typed: '\' separates too.
OutputPath BatchOutputPath(const std::string& directory, const std::string& input);

// OUTPUT as given, read as typed: '\' separates too, as in the dialog's
// paths. Its extension is kept as given (none stays none).
OutputPath GivenOutputPath(const std::string& output);

// Each fails, naming no path (the caller names it), when the current
// folder cannot be found or the path would not fit the data system's 259
// characters (kMaxPathChars).
