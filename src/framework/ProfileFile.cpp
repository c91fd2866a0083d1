#include "framework/ProfileFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

#include "framework/AtomicFile.h"
#include "framework/SystemError.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

std::string Printable(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (IsControl(c)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

// Why NAME cannot be a section name, or nullptr when it can.
const char* SectionProblem(std::string_view name) {
    if (name.empty()) {
        return "the section name is empty";
    }
    if (IsBlank(name.front()) || IsBlank(name.back())) {
        return "the section name starts or ends with a blank";
    }
    for (const char c : name) {
        if (IsControl(c)) {
            return "the section name holds a control character";
        }
        if (c == ']') {
            return "the section name holds ']'";
        }
    }
    return nullptr;
}

const char* KeyProblem(std::string_view name) {
    if (name.empty()) {
        return "the key name is empty";
    }
    if (IsBlank(name.front()) || IsBlank(name.back())) {
        return "the key name starts or ends with a blank";
    }
    if (name.front() == ';' || name.front() == '#' || name.front() == '[') {
        return "the key name starts with ';', '#' or '['";
    }
    for (const char c : name) {
        if (IsControl(c)) {
            return "the key name holds a control character";
        }
        if (c == '=') {
            return "the key name holds '='";
        }
    }
    return nullptr;
}

const char* ValueProblem(std::string_view value) {
    for (const char c : value) {
        if (c == '\n' || c == '\r') {
            return "the value holds a line break and cannot be kept on one line";
        }
        if (IsControl(c)) {
            return "the value holds a control character and cannot be stored";
        }
    }
    return nullptr;
}

bool NeedsQuotes(std::string_view value) {
    if (value.empty()) {
        return false;
    }
    if (IsBlank(value.front()) || IsBlank(value.back())) {
        return true;
    }
    return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

std::string EncodeValue(std::string_view value) {
    if (NeedsQuotes(value)) {
        return "\"" + std::string(value) + "\"";
    }
    return std::string(value);
}

std::string DecodeValue(std::string_view stored) {
    if (stored.size() >= 2 && stored.front() == '"' && stored.back() == '"') {
        stored = stored.substr(1, stored.size() - 2);
    }
    return std::string(stored);
}

}  // namespace

CProfileFile::CProfileFile(std::string path) : m_strPath(std::move(path)) {
    Load();
}

CProfileFile::~CProfileFile() = default;

void CProfileFile::Ignore(const std::string& reason) {
    m_loadState = LoadState::kIgnored;
    m_strLoadMessage = m_strPath + ": ignored: " + reason;
}

void CProfileFile::Load() {
    const int fd = ::open(m_strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) {
            m_loadState = LoadState::kMissing;
        } else {
            Ignore(SystemErrorText(errno));
        }
        return;
    }
    std::string content;
    struct stat st;
    std::string problem;
    if (fstat(fd, &st) != 0) {
        problem = SystemErrorText(errno);
    } else if (S_ISDIR(st.st_mode)) {
        problem = "it is a directory";
    } else if (!S_ISREG(st.st_mode)) {
        problem = "it is not a regular file";
    } else if (static_cast<unsigned long long>(st.st_size) > kMaxFileSize) {
        problem = "it is larger than 1 MiB";
    } else {
        // Sized from the file, growing if it grew meanwhile, and never more
        // than one byte past the limit.
        content.resize(static_cast<std::size_t>(st.st_size) + 1);
        std::size_t used = 0;
        for (;;) {
            if (used == content.size()) {
                if (content.size() > kMaxFileSize) {
                    break;
                }
                content.resize(std::min(content.size() * 2, kMaxFileSize + 1));
            }
            const ssize_t got = ::read(fd, content.data() + used, content.size() - used);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                problem = SystemErrorText(errno);
                break;
            }
            if (got == 0) {
                break;
            }
            used += static_cast<std::size_t>(got);
        }
        content.resize(used);
        if (problem.empty() && used > kMaxFileSize) {
            problem = "it is larger than 1 MiB";
        }
    }
    ::close(fd);
    if (!problem.empty()) {
        Ignore(problem);
        return;
    }
    m_text = CProfileText(std::move(content));
    m_loadState = LoadState::kLoaded;
}

std::string CProfileFile::GetString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    const std::optional<std::string_view> stored = m_text.GetValue(section, key);
    return stored ? DecodeValue(*stored) : std::string(defaultValue);
}

BOOL CProfileFile::HasKey(std::string_view section, std::string_view key) const {
    return m_text.GetValue(section, key) ? TRUE : FALSE;
}

std::vector<std::string> CProfileFile::GetKeys(std::string_view section) const {
    return m_text.GetKeys(section);
}

BOOL CProfileFile::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
    m_strError.clear();
    const char* problem = SectionProblem(section);
    if (problem == nullptr) {
        problem = KeyProblem(key);
    }
    if (problem == nullptr) {
        problem = ValueProblem(value);
    }
    if (problem != nullptr) {
        m_strError =
            m_strPath + ": [" + Printable(section) + "] " + Printable(key) + ": " + problem;
        return FALSE;
    }
    const std::string text = EncodeValue(value);
    if (m_text.SizeAfter(section, key, text) > kMaxFileSize) {
        m_strError = m_strPath + ": [" + std::string(section) + "] " + std::string(key) +
                     ": the file would grow larger than 1 MiB";
        return FALSE;
    }
    m_text.SetValue(section, key, text);
    return TRUE;
}

BOOL CProfileFile::MoveBadFileAside() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string aside =
            m_strPath + ".bad" +
            (attempt == 0 ? std::string() : std::string(".").append(std::to_string(attempt)));
        int rc = renameat2(AT_FDCWD, m_strPath.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE);
        if (rc != 0 && (errno == EINVAL || errno == ENOSYS)) {
            // The file system cannot refuse to replace; look first instead.
            struct stat st;
            if (lstat(aside.c_str(), &st) == 0) {
                errno = EEXIST;
            } else {
                rc = std::rename(m_strPath.c_str(), aside.c_str());
            }
        }
        if (rc == 0) {
            m_strKeptAside = aside;
        }
        if (rc == 0 || errno == ENOENT) {
            m_loadState = LoadState::kMissing;
            return TRUE;
        }
        if (errno != EEXIST) {
            m_strError = m_strPath + ": cannot keep the unusable file as " + aside + ": " +
                         SystemErrorText(errno);
            return FALSE;
        }
    }
    m_strError =
        m_strPath + ": cannot keep the unusable file: too many " + m_strPath + ".bad files";
    return FALSE;
}

BOOL CProfileFile::Save() {
    m_strError.clear();
    m_strKeptAside.clear();
    if (m_loadState == LoadState::kIgnored && !MoveBadFileAside()) {
        return FALSE;
    }
    AtomicFile file(m_strPath);
    if (!file.Write(m_text.GetBytes())) {
        m_strError = file.GetError();
        return FALSE;
    }
    m_loadState = LoadState::kLoaded;
    m_strLoadMessage.clear();
    return TRUE;
}
