// The paths and names `convert` derives from its arguments, the way the
// conversion dialog derives them when the user chooses an input file.
#pragma once

#include <string>

// The input's title: its file name without directory and extension
// ("/runs/Plate7.txt" -> "Plate7"). The default data file name.
std::string InputTitle(const std::string& input);

// The default Sample List for INPUT: the input's directory, the input's
// title and the extension "sdb", made absolute against the current
// directory. Empty when that path cannot be made absolute or would not fit
// the dialog's 259-character path buffer.
std::string DefaultOutputPath(const std::string& input);

// OUTPUT made absolute against the current directory, as the dialog shows
// a chosen output file; its extension is kept as given (none stays none).
// Empty under the same conditions as DefaultOutputPath.
std::string AbsoluteOutputPath(const std::string& output);
