// Where the record library keeps a Sample List: the one rule that turns a
// path into the sample-list location (GLOBAL_FILE_INFO) and a list's name,
// and a location and name back into the path of the file the record library
// writes. Whoever publishes a list's location, or checks that path (for an
// existing list, or for the input itself), asks here.
//
// It belongs to the contract callers build on whichever implementation of the
// data system they link (see CMakeLists.txt), so it is kept apart from the
// stand-in's own library.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "datasystem/ostrel.h"
#include "framework/Status.h"

// A Sample List as the record library finds it.
struct SampleListLocation {
    // The location: the path's drive and directory, its base name, and its
    // extension without the leading '.'; zero beyond each text.
    GLOBAL_FILE_INFO info;
    // The base name, by which DB3Open knows the list.
    std::string name;
};

// The parts of a path that the location record may be unable to carry.
enum class LocationPart {
    kPath,  // the whole path: it holds a zero byte, which no field can carry
    kDirectory,
    kName,
    kExtension,
};

// "path", "directory", "name" or "extension".
const char* LocationPartName(LocationPart part);

// The part for which LocateSampleList refuses PATH: kPath for a zero byte,
// else the first part too long for its field; nothing when PATH fits.
std::optional<LocationPart> UnfitLocationPart(const std::string& path);

// PATH as a location and a name (which may be empty: a path that names a
// directory only). Fails when PATH holds a zero byte ("its path holds a zero
// byte") or a part does not fit its field ("its directory is too long for
// the data system's sample-list location").
Result<SampleListLocation> LocateSampleList(const std::string& path);

// DIRECTORY NAME.EXTENSION, without the dot when the extension is empty.
std::string SampleListPath(const GLOBAL_FILE_INFO& location, std::string_view name);

// The path of the file the record library writes for the list PATH names,
// which is PATH itself. Fails, with a clause saying why, when PATH cannot be
// written as given: LocateSampleList refuses it, it names no file, or the
// record library would write another path (a name ending in a dot is
// written without it).
Result<std::string> SampleListPathAsGiven(const std::string& path);
