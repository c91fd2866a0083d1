#include "framework/PathParts.h"

#include <vector>

#include "framework/File.h"

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool HasDrive(const std::string& path) {
    return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

// Appends the segments of TEXT (split at SEPARATORS) to SEGMENTS, dropping
// empty and "." segments and letting ".." remove the one before it.
void AppendSegments(const std::string& text, bool (*is_separator)(char),
                    std::vector<std::string>& segments) {
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = begin;
        while (end < text.size() && !is_separator(text[end])) {
            ++end;
        }
        const std::string segment = text.substr(begin, end - begin);
        if (segment == "..") {
            if (!segments.empty()) {
                segments.pop_back();
            }
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        begin = end + 1;
    }
}

bool IsSlash(char c) {
    return c == '/';
}

// The last separator of one of the program's own paths.
std::size_t LastSeparator(const std::string& path) {
    return kNativeSeparators == PathSeparators::kBoth ? path.find_last_of("/\\") : path.rfind('/');
}

// The length of the UNC root of PATH ("\\server\share\", "\\?\C:\"),
// or 0 when PATH has none. Only this system's own paths on Windows have one.
std::size_t UncRootLength(const std::string& path) {
    if (kNativeSeparators != PathSeparators::kBoth || path.size() < 3 || !IsSeparator(path[0]) ||
        !IsSeparator(path[1]) || IsSeparator(path[2])) {
        return 0;
    }
    std::size_t end = 2;
    for (int part = 0; part < 2; ++part) {
        while (end < path.size() && !IsSeparator(path[end])) {
            ++end;
        }
        if (end < path.size()) {
            ++end;
        }
    }
    return end;
}

}  // namespace

BOOL PathParts::WithinClassicLimits() const {
    return drive.size() <= kMaxDriveChars && directory.size() <= kMaxDirChars &&
                   name.size() <= kMaxNameChars && extension.size() <= kMaxExtChars
               ? TRUE
               : FALSE;
}

PathParts SplitPath(const std::string& path) {
    PathParts parts;
    std::size_t pos = 0;
    if (HasDrive(path)) {
        parts.drive = path.substr(0, 2);
        pos = 2;
    }

    std::size_t name_begin = pos;
    for (std::size_t i = pos; i < path.size(); ++i) {
        if (IsSeparator(path[i])) {
            name_begin = i + 1;
        }
    }
    parts.directory = path.substr(pos, name_begin - pos);

    const std::size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot >= name_begin) {
        parts.name = path.substr(name_begin, dot - name_begin);
        parts.extension = path.substr(dot);
    } else {
        parts.name = path.substr(name_begin);
    }
    return parts;
}

std::string MakePath(const std::string& drive, const std::string& directory,
                     const std::string& name, const std::string& extension) {
    std::string path;
    if (!drive.empty()) {
        path += drive[0];
        path += ':';
    }
    if (!directory.empty()) {
        path += directory;
        if (!IsSeparator(directory.back())) {
            const std::size_t last = directory.find_last_of("\\/");
            if (last != std::string::npos) {
                path += directory[last];
            } else {
                path += drive.empty() ? '/' : '\\';
            }
        }
    }
    path += name;
    if (!extension.empty()) {
        if (extension[0] != '.') {
            path += '.';
        }
        path += extension;
    }
    return path;
}

std::string_view ReservedNameFault(std::string_view name) {
    if (kNativeSeparators != PathSeparators::kBoth || name.empty()) {
        return {};
    }
    if (name.back() == '.' || name.back() == ' ') {
        return "its name ends in a dot or a space, which Windows drops from a file's name";
    }
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') {
        base.remove_suffix(1);
    }
    std::string upper;
    for (const char c : base) {
        upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    const bool numbered = upper.size() == 4 &&
                          (upper.rfind("COM", 0) == 0 || upper.rfind("LPT", 0) == 0) &&
                          upper[3] >= '1' && upper[3] <= '9';
    if (numbered || upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") {
        return "its name is one of Windows' device names (CON, PRN, AUX, NUL, COM1-COM9, "
               "LPT1-LPT9), which name a device, not a file";
    }
    return {};
}

bool IsAbsolutePath(const std::string& path) {
    if (!path.empty() && path[0] == '/') {
        return true;
    }
    return kNativeSeparators == PathSeparators::kBoth &&
           ((HasDrive(path) && path.size() > 2 && IsSeparator(path[2])) ||
            (path.size() > 1 && IsSeparator(path[0]) && IsSeparator(path[1])));
}

std::string FullPath(const std::string& path, std::size_t limit, PathSeparators separators) {
    if (path.find('\0') != std::string::npos) {
        return std::string();
    }
    if (kNativeSeparators == PathSeparators::kBoth) {
        separators = PathSeparators::kBoth;
    }
    const bool both = separators == PathSeparators::kBoth;
    bool (*const is_separator)(char) = both ? IsSeparator : IsSlash;

    std::string root;
    std::vector<std::string> segments;
    std::string relative;
    if (const std::size_t unc = both ? UncRootLength(path) : 0; unc > 0) {
        root = path.substr(0, unc);
        if (!IsSeparator(root.back())) {
            root += '\\';
        }
        relative = path.substr(unc);
    } else if (both && HasDrive(path)) {
        if (path.size() < 3 || !IsSeparator(path[2])) {
            return std::string();  // relative to a drive's own current directory
        }
        root = path.substr(0, 3);
        relative = path.substr(3);
    } else if (!path.empty() && is_separator(path[0])) {
        root = path.substr(0, 1);
        relative = path.substr(1);
    } else {
        const Result<std::string> current = CurrentDirectory();
        const std::string cwd = current.ok() ? current.value() : std::string();
        if (kNativeSeparators == PathSeparators::kBoth && IsAbsolutePath(cwd)) {
            // "C:\x" or "\\server\share\x": taken apart as such.
            return FullPath(path.empty() ? cwd : cwd + '\\' + path, limit, separators);
        }
        if (cwd.empty() || cwd[0] != '/') {
            return std::string();
        }
        root.assign(1, '/');
        // The current directory is a POSIX path: a '\' in it belongs to a name.
        AppendSegments(cwd, IsSlash, segments);
        relative = path;
    }
    AppendSegments(relative, is_separator, segments);

    const char separator = root.back();
    std::string result = root;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (i > 0) {
            result += separator;
        }
        result += segments[i];
    }
    if (!segments.empty() && !path.empty() && is_separator(path.back())) {
        result += separator;
    }

    if (result.size() >= limit) {
        return std::string();
    }
    return result;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = LastSeparator(path);
    if (slash == std::string::npos) {
        return std::string();
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = LastSeparator(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
