// Creating a directory with its missing parents for the user's own files
// (settings, the conversion log): every directory made is 0700, less the
// umask, as the rest of such files are private too.
#pragma once

#include <string>

#include "framework/Status.h"

// Creates DIRECTORY and its missing parents. Ok when DIRECTORY then is a
// directory (existing ones are left as they are); otherwise the failure
// says what failed: "cannot create the directory D: <reason>" or "D is not
// a directory".
Status MakeDirectories(const std::string& directory);
