// PathParts takes a file path apart and puts it together again, and makes a
// path absolute, the way the classic C runtime's path splitter, composer and
// full-path function do, on any platform:
//
// - Both '\' and '/' separate directories. A leading ASCII letter followed
//   by ':' ("C:") is a drive; any other ':' is an ordinary character.
// - directory keeps its leading and trailing separators ("\Data\"); name is
//   the final component up to its last '.'; extension runs from that '.' to
//   the end, dot included. So "A.B.ext" is name "A.B" and extension ".ext",
//   ".ext" is name "" and extension ".ext", and "run12" has no extension.
//
// The classic splitter writes into buffers of fixed size and cuts longer
// parts. SplitPath returns every part whole instead, because a cut directory
// names another place; callers that need the classic bounds test them with
// WithinClassicLimits().
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/Types.h"

// The longest path the data system's platform takes, in bytes with the
// terminating zero: 259 characters. CPathName's buffer, the Sample List
// paths the command line writes and the location records are held to it.
inline constexpr std::size_t kMaxPath = 260;
inline constexpr std::size_t kMaxPathChars = kMaxPath - 1;

// Which characters separate the directories of a path.
enum class PathSeparators {
    kBoth,       // '\' and '/': paths typed or stored the data system's way
    kSlashOnly,  // '/' only: paths of this file system, where '\' is a
                 // character of a name and "C:" no drive
};

// The separators of this system's own paths: '/' only on POSIX systems;
// on Windows both, where "C:\x", "\\server\share\x" and "\x" are its own
// forms, and kSlashOnly means the same as kBoth.
// kNativeSeparator is the one this system's own paths are joined with.
#ifdef _WIN32
inline constexpr PathSeparators kNativeSeparators = PathSeparators::kBoth;
inline constexpr char kNativeSeparator = '\\';
#else
inline constexpr PathSeparators kNativeSeparators = PathSeparators::kSlashOnly;
inline constexpr char kNativeSeparator = '/';
#endif

// Whether PATH is absolute on this system: it starts with '/', or on
// Windows with a drive and a separator ("C:\", "C:/") or with two
// separators (a UNC path).
bool IsAbsolutePath(const std::string& path);

// Whether NAME, a file name without its folder, can name a new file of its
// own on this system. Always so on POSIX systems. On Windows a device name
// (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, in any letter case and
// with any extension: "nul.sdb") opens the device, and a final dot or space
// is dropped from the name (another file): both are refused, with the
// clause "its name ... ".
std::string_view ReservedNameFault(std::string_view name);

struct PathParts {
    // Bounds of the classic splitter's buffers, in characters (terminating
    // zero not counted).
    static constexpr std::size_t kMaxDriveChars = 2;
    static constexpr std::size_t kMaxDirChars = 255;
    static constexpr std::size_t kMaxNameChars = 255;
    static constexpr std::size_t kMaxExtChars = 255;

    std::string drive;      // "C:" or empty
    std::string directory;  // "\Data\", "/home/lab/", "sub/" or empty
    std::string name;       // "run12"
    std::string extension;  // ".txt" or empty

    // TRUE when every part fits the classic splitter's buffer.
    BOOL WithinClassicLimits() const;
};

// Splits PATH into drive, directory, name and extension. Concatenating the
// four parts gives PATH back exactly.
PathParts SplitPath(const std::string& path);

// Joins the four parts. A non-empty DRIVE contributes its first character
// and ':'. A non-empty DIRECTORY that does not end in a separator gets one:
// the last separator it already contains, or, when it has none, '\' after
// a drive and '/' otherwise. A non-empty EXTENSION that does not start with
// '.' gets one. Parts are not bounded; the result is as long as it takes.
std::string MakePath(const std::string& drive, const std::string& directory,
                     const std::string& name, const std::string& extension);

// Makes PATH absolute and returns it, or returns an empty string when that
// is impossible. Never returns an empty string on success. The one way the
// program makes a path absolute: with kBoth for paths typed or stored with
// either separator (CPathName), with kSlashOnly for paths of this file
// system (a chosen or dropped file, an input of the command line).
//
// - "/x" and "\x" are absolute already; so is a drive followed by a
//   separator ("C:\Data\x"), which keeps its drive (with kSlashOnly, only
//   "/x"). A relative path is joined to the process's current directory;
//   an empty path gives the current directory itself.
// - "." and ".." segments are resolved lexically (symbolic links are not
//   followed, the file need not exist); ".." at the root stays at the root.
//   Repeated separators collapse to one, every separator becomes the
//   root's ('/' for paths made absolute against the current directory),
//   and a trailing separator is kept.
// - Fails for a drive without a separator ("C:run12.txt", "C:"): it is
//   relative to that drive's own current directory, which is not known
//   here. Fails when the current directory cannot be read, when PATH holds
//   a zero byte, and when the result has LIMIT characters or more (LIMIT
//   counts the terminating zero, like the classic function's buffer size;
//   SIZE_MAX for no limit).
std::string FullPath(const std::string& path, std::size_t limit,
                     PathSeparators separators = PathSeparators::kBoth);

// For the program's own paths, where '/' separates (and on Windows '\' as
// well): the folder of PATH, up to its last separator (not included,
// except that a name right under the root gives "/"), or "" when PATH holds
// no separator.
std::string FolderOf(const std::string& path);

// The part of PATH after its last separator (all of PATH when it holds
// none).
std::string FileNameOf(const std::string& path);
