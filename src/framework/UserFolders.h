// Where the program keeps the user's own files, by each system's rules:
// on POSIX systems the XDG base directory rules (a variable counts only
// when it holds an absolute path), on Windows the user's application data
// folders. One implementation per system (UserFoldersPosix.cpp,
// UserFoldersWin32.cpp).
#pragma once

#include <optional>
#include <string>

#include "framework/Status.h"

// The value of the environment variable NAME as UTF-8; nothing when it is
// unset.
std::optional<std::string> EnvironmentValue(const char* name);

// The variable NAME when it holds an absolute path, without trailing
// separators ("/" thus becomes ""); else nothing.
std::optional<std::string> AbsoluteFolderFromEnv(const char* name);

// The user's home folder: $HOME, else the account's (POSIX);
// %USERPROFILE% (Windows).
Result<std::string> HomeFolder();

// The folder of the program's cache: $XDG_CACHE_HOME/korr2ld, or
// $HOME/.cache/korr2ld when it is unset, empty or not absolute; on Windows
// %LOCALAPPDATA%\Korr2LD. A failure when none names an absolute folder.
Result<std::string> UserCacheFolder();

// The folder of the program's state (the conversion log):
// $XDG_STATE_HOME/korr2ld, or $HOME/.local/state/korr2ld; on Windows
// %LOCALAPPDATA%\Korr2LD. A failure when none names an absolute folder.
Result<std::string> UserStateFolder();

// The folder where programs keep the user's settings: $XDG_CONFIG_HOME (when
// absolute), or .config in the home folder; on Windows %APPDATA%.
Result<std::string> UserConfigHome();

// The folder of the program's settings file (Korr2LD.INI): UserConfigHome()
// itself on POSIX systems, %APPDATA%\Korr2LD on Windows.
Result<std::string> UserConfigFolder();

// The name of the user who runs the program (the account's name, else
// $USER or %USERNAME%, else the user's number).
std::string UserName();
