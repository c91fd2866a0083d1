// CPathName holds one file path and answers the questions the dialog asks
// when it offers file choices: which directory and which file name a path
// names, and what the path becomes with another name, another extension,
// or made absolute.
//
// Both '\' and '/' separate directories, and a leading drive letter ("C:")
// is recognised, so Windows-style and POSIX paths behave alike; the path is
// taken apart and joined with SplitPath and MakePath (framework/PathParts.h).
// The path is kept in a fixed buffer of kMaxPath (framework/PathParts.h)
// bytes: at most 259 characters and a terminating zero.
//
// Nothing is ever cut to fit. An operation whose result would not fit in
// 259 characters leaves the stored path unchanged and returns an empty
// string; so does GetFullPath when the path cannot be made absolute.
#pragma once

#include <string>

#include "framework/PathParts.h"
#include "framework/Types.h"

class CPathName {
public:
    static constexpr const char* kRuntimeClassName = "CPathName";

    // Copies PATH into the buffer. A path of kMaxPath characters or more
    // does not fit, and a path holding a zero byte cannot be stored as
    // text: the stored path is then empty and IsValid() is FALSE.
    explicit CPathName(const std::string& path);
    virtual ~CPathName() = default;

    // FALSE while the stored path is empty: the path given was empty or was
    // refused. An empty path behaves as a path without directory or name.
    BOOL IsValid() const;

    std::string GetPath() const;
    // Drive followed by directory, e.g. "C:\Data\" or "/home/lab/runs/";
    // empty for a path without either. The stored path is unchanged.
    std::string GetDirectory() const;
    // Name followed by extension, e.g. "run12.txt"; "[Not Specified]" whole.
    // The stored path is unchanged.
    std::string GetFileName() const;
    // Rebuilds the path from its drive, directory, NAME and its extension,
    // stores it and returns it; "" when it would not fit (path unchanged).
    std::string SetFileName(const std::string& name);
    // Rebuilds the path from its drive, directory, name and EXTENSION ("sdb"
    // and ".sdb" alike; "" removes the extension), stores it and returns
    // it; "" when it would not fit (path unchanged).
    std::string SetExtension(const std::string& extension);
    // Makes the path absolute against the process's current directory
    // (FullPath in framework/PathParts.h, limit kMaxPath), stores it and
    // returns it. Returns "" and leaves the path unchanged when the result
    // would not fit or the path cannot be made absolute, e.g. "C:run12.sdb",
    // which is relative to a drive's own current directory.
    std::string GetFullPath();

private:
    // Stores CANDIDATE and returns it when it fits; otherwise returns "".
    std::string Store(const std::string& candidate);

    char m_szPath[kMaxPath];
};
