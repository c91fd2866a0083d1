#include "util/PathName.h"

#include <cstring>

#include "framework/PathParts.h"

namespace {

bool Fits(const std::string& path) {
    return path.size() < kMaxPath && path.find('\0') == std::string::npos;
}

}  // namespace

CPathName::CPathName(const std::string& path) {
    m_szPath[0] = '\0';
    Store(path);
}

BOOL CPathName::IsValid() const {
    return m_szPath[0] != '\0' ? TRUE : FALSE;
}

std::string CPathName::GetPath() const {
    return std::string(m_szPath);
}

std::string CPathName::GetDirectory() const {
    const PathParts parts = SplitPath(m_szPath);
    return parts.drive + parts.directory;
}

std::string CPathName::GetFileName() const {
    const PathParts parts = SplitPath(m_szPath);
    return parts.name + parts.extension;
}

std::string CPathName::SetFileName(const std::string& name) {
    const PathParts parts = SplitPath(m_szPath);
    return Store(MakePath(parts.drive, parts.directory, name, parts.extension));
}

std::string CPathName::SetExtension(const std::string& extension) {
    const PathParts parts = SplitPath(m_szPath);
    return Store(MakePath(parts.drive, parts.directory, parts.name, extension));
}

std::string CPathName::GetFullPath() {
    const std::string full = FullPath(m_szPath, kMaxPath);
    if (full.empty()) {
        return std::string();  // FullPath never succeeds with an empty result
    }
    return Store(full);
}

std::string CPathName::Store(const std::string& candidate) {
    if (!Fits(candidate)) {
        return std::string();
    }
    std::memcpy(m_szPath, candidate.data(), candidate.size());
    m_szPath[candidate.size()] = '\0';
    return candidate;
}
