// Where the program keeps the user's own files, by the XDG base directory
// rules: a variable counts only when it holds an absolute path.
#pragma once

#include <optional>
#include <string>

#include "framework/Status.h"

// The variable NAME when it holds an absolute path, without trailing
// slashes ("/" thus becomes ""); else nothing.
std::optional<std::string> AbsoluteFolderFromEnv(const char* name);

// $XDG_CACHE_HOME, or $HOME/.cache when it is unset, empty or not absolute.
// A failure when neither names an absolute folder.
Result<std::string> UserCacheFolder();

// $XDG_STATE_HOME, or $HOME/.local/state when it is unset, empty or not
// absolute. A failure when neither names an absolute folder.
Result<std::string> UserStateFolder();

// $XDG_CONFIG_HOME, or $HOME/.config when it is unset, empty or not
// absolute: where the dialog keeps Korr2LD.INI. A failure when neither
// names an absolute folder.
Result<std::string> UserConfigFolder();
