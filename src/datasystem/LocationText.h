// The one-line text that stands for a location (GLOBAL_FILE_INFO) in the
// settings file, e.g. "/home/lab/methods/*.ms" or "C:\Lists\run12.sdb":
//
//   text      = directory file
//   directory = everything up to and including the last '/' or '\'
//   file      = name "." extension   (split at the file's last '.')
//             | name                 (no '.': the extension is empty)
//   a name of "*" or "" stands for an empty name.
//
// So a name holding dots is followed by "." even when the extension is
// empty ("run.12." is name "run.12", no extension), an empty name is
// written "*" when an extension follows ("/m/*.ms"), and a directory alone
// is written as it is ("/data/lists/"). An empty text is an unconfigured
// location. docs/locations.md describes the format for people editing it.
#pragma once

#include <string>
#include <string_view>

#include "datasystem/ostrel.h"
#include "framework/Status.h"

namespace ostrel {

// Fails when INFO cannot be used as a location at all: a text runs to the
// end of its field without a terminating zero.
Status CheckTerminated(const GLOBAL_FILE_INFO& info);

// INFO's text. Fails when INFO has no unambiguous text: a directory that
// does not end with '/' or '\', a name or extension holding '/' or '\', a
// name "*", an extension holding '.', or a control character anywhere.
Result<std::string> FormatLocation(const GLOBAL_FILE_INFO& info);

// Fills INFO (zeroed first) from TEXT. Fails, leaving INFO all zero, when a
// part is too long for its field or TEXT holds a zero byte.
Status ParseLocation(std::string_view text, GLOBAL_FILE_INFO& info);

}  // namespace ostrel
