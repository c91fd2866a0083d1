// Creating a directory with its missing parents for the user's own files
// (settings, the conversion log): every directory made is 0700, less the
// umask, as the rest of such files are private too.
#pragma once

#include <string>

// Creates DIRECTORY and its missing parents. True when DIRECTORY then is a
// directory (existing ones are left as they are). Otherwise false, and WHY
// says what failed: "cannot create the directory D: <reason>" or "D is not
// a directory".
bool MakeDirectories(const std::string& directory, std::string& why);
