// The paths and names `convert` derives from its arguments, the way the
// conversion dialog derives them when the user chooses an input file.
#pragma once

#include <string>

#include "framework/Status.h"

// The input's title: its file name without directory and extension
// ("/runs/Plate7.txt" -> "Plate7"). The default data file name.
std::string InputTitle(const std::string& input);

// The default Sample List for INPUT: the input's directory, the input's
// title and the extension "sdb", made absolute against the current
// directory. A failure, as a sentence, when that path cannot be made
// absolute (the current folder is gone) or would not fit the dialog's
// 259-character path buffer.
Result<std::string> DefaultOutputPath(const std::string& input);

// OUTPUT made absolute against the current directory, as the dialog shows
// a chosen output file; its extension is kept as given (none stays none).
// A failure under the same conditions as DefaultOutputPath.
Result<std::string> AbsoluteOutputPath(const std::string& output);
