// What the dialog and the command line check of the Sample List to create
// before anything is touched, besides what the record library itself
// refuses (datasystem/SampleListLocation.h).
//
// A list derived from an input (the dialog's select input and drop, the
// command line's default OUTPUT and its batches) is named after the
// input's title and stays in the folder it is derived into.
#pragma once

#include <string>
#include <string_view>

#include "framework/Status.h"

// The title of INPUT, a path of this file system: its file name after the
// last '/', without the extension from its last '.' ("/runs/Plate7.txt" ->
// "Plate7", "a\\b.txt" -> "a\\b", ".txt" -> "").
std::string InputTitle(const std::string& input);

// Ok when TITLE can name a Sample List derived from an input. The record
// library takes what comes before a '/' or '\\' in a list's path as its
// folder, so a title holding '\\' would send the list into another folder;
// it is refused: "its file name holds '\\', which a Sample List's name
// cannot hold".
Status CheckDerivedTitle(std::string_view title);

// Ok when OUTPUT can be recorded as the data system's sample-list location;
// a path holding a control character cannot: "its path holds a control
// character, which the data system's sample-list location cannot record".
// On Windows a file name that is a device name or ends in a dot or a space
// is refused too (ReservedNameFault, framework/PathParts.h).
Status CheckOutputText(std::string_view output);
