// Taking a program's remembered values over from the place where the
// platform's own profile service kept a bare-named INI file before the
// program kept it in the user's settings folder (UserConfigFolder): on
// Windows the Windows folder, or the user's virtual store of it for a
// program that could not write there. POSIX systems have no such place.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Where the platform's profile service kept the file FILE_NAME, most
// recent first: on Windows %LOCALAPPDATA%\VirtualStore\Windows\FILE_NAME
// and %WINDIR%\FILE_NAME; nothing on POSIX systems.
std::vector<std::string> SystemProfilePaths(const std::string& fileName);

// Once: when nothing is at PATH and one of CANDIDATES is a profile that can
// be read, writes the KEYS of SECTION that the first such candidate holds
// into a new profile at PATH (its folder made when missing). The candidate
// is only read. Returns the candidate taken from, or "" when nothing was
// taken (PATH exists, no candidate is there or holds any of the keys, or
// the new profile could not be written).
std::string TakeOverProfileValues(const std::string& path,
                                  const std::vector<std::string>& candidates,
                                  std::string_view section,
                                  const std::vector<std::string_view>& keys);
