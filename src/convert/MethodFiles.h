// The method files of one of the data system's locations (the MS method,
// inlet method and macro folders): what the dialog offers in its method
// lists and what a conversion checks its names against. The one listing of
// them.
#pragma once

#include <string>
#include <vector>

// A location as the settings library gives it.
struct MethodFolder {
    std::string directory;  // as configured; empty: no folder configured
    std::string extension;  // as configured, with or without its leading '.'

    bool operator==(const MethodFolder&) const = default;
};

struct MethodFile {
    std::string fileName;  // its name in the folder: "ESI1.ms", ".ms"
    // The method's name, as the lists show it and a record carries it: the
    // file name up to its first '.' when that is past its start ("ESI1"),
    // else the whole file name (".ms").
    std::string name;
};

// The location KEY ("MS_FUNC_DB", ...) as the data system's settings
// library has it (_MSGGetGlobalFile); both texts empty when it has none.
MethodFolder MethodFolderOf(const char* key);

// The method files of FOLDER: the regular files, and links to them, in its
// directory whose names end in '.' and its extension, ASCII case ignored
// (every file when the extension is empty), whatever bytes their names
// hold. A separator at the directory's end, '\\' or '/', only ends it; a
// relative directory is taken from the current one. Sorted by file name,
// ASCII case ignored, names equal but for case in byte order. Empty when
// no directory is configured or it cannot be read.
std::vector<MethodFile> ListMethodFiles(const MethodFolder& folder);
