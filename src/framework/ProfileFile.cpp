#include "framework/ProfileFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <utility>

#include "framework/AtomicFile.h"
#include "framework/File.h"
#include "framework/Status.h"
#include "framework/TextClass.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
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

// Ok when NAME can be a section name; otherwise why not.
Status CheckSectionName(std::string_view name) {
    if (name.empty()) {
        return Status::Error("the section name is empty");
    }
    if (IsBlank(name.front()) || IsBlank(name.back())) {
        return Status::Error("the section name starts or ends with a blank");
    }
    for (const char c : name) {
        if (IsControl(c)) {
            return Status::Error("the section name holds a control character");
        }
        if (c == ']') {
            return Status::Error("the section name holds ']'");
        }
    }
    return Status::Ok();
}

Status CheckKeyName(std::string_view name) {
    if (name.empty()) {
        return Status::Error("the key name is empty");
    }
    if (IsBlank(name.front()) || IsBlank(name.back())) {
        return Status::Error("the key name starts or ends with a blank");
    }
    if (name.front() == ';' || name.front() == '#' || name.front() == '[') {
        return Status::Error("the key name starts with ';', '#' or '['");
    }
    for (const char c : name) {
        if (IsControl(c)) {
            return Status::Error("the key name holds a control character");
        }
        if (c == '=') {
            return Status::Error("the key name holds '='");
        }
    }
    return Status::Ok();
}

Status CheckValue(std::string_view value) {
    for (const char c : value) {
        if (c == '\n' || c == '\r') {
            return Status::Error("the value holds a line break and cannot be kept on one line");
        }
        if (IsControl(c)) {
            return Status::Error("the value holds a control character and cannot be stored");
        }
    }
    return Status::Ok();
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

// "larger than 64 MiB", from the limit itself.
std::string LimitText() {
    return std::to_string(CProfileFile::kMaxFileSize / (1024 * 1024)) + " MiB";
}

// The whole content of the regular file open at FD, SIZE bytes when it was
// opened, or why it cannot be used as a profile. The file is read once,
// into a buffer of its size.
Result<std::string> ReadProfileBytes(FileHandle fd, std::uint64_t size) {
    const Status tooLarge = Status::Error("it is larger than " + LimitText());
    if (static_cast<unsigned long long>(size) > CProfileFile::kMaxFileSize) {
        return tooLarge;
    }
    // Sized from the file, growing if it grew meanwhile, and never more
    // than one byte past the limit.
    std::string content(static_cast<std::size_t>(size) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == content.size()) {
            if (content.size() > CProfileFile::kMaxFileSize) {
                return tooLarge;
            }
            content.resize(std::min(content.size() * 2, CProfileFile::kMaxFileSize + 1));
        }
        const Result<std::size_t> got = ReadSome(fd, content.data() + used, content.size() - used);
        if (!got.ok()) {
            return got.status();
        }
        if (got.value() == 0) {
            break;
        }
        used += got.value();
    }
    content.resize(used);
    return content;
}

}  // namespace

CProfileFile::CProfileFile(std::string path) : m_strPath(std::move(path)) {
    Load();
}

CProfileFile::~CProfileFile() = default;

void CProfileFile::Ignore(const std::string& reason) {
    m_loadState = LoadState::kIgnored;
    m_strLoadReason = reason;
}

std::string CProfileFile::GetLoadMessage() const {
    return m_strLoadReason.empty() ? std::string() : m_strPath + ": ignored: " + m_strLoadReason;
}

void CProfileFile::Load() {
    FileStatus st;
    Result<FileDescriptor> fd = OpenRegularFile(m_strPath, kOpenRead, 0, &st);
    if (!fd.ok()) {
        if (fd.status().ErrorNumber() == ENOENT) {
            m_loadState = LoadState::kMissing;
        } else {
            Ignore(fd.status().message());
        }
        return;
    }
    Result<std::string> content = ReadProfileBytes(fd.value().Get(), st.size);
    if (!content.ok()) {
        Ignore(content.status().message());
        return;
    }
    m_text = CProfileText(std::move(content).value());
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
    Status valid = CheckSectionName(section);
    if (valid.ok()) {
        valid = CheckKeyName(key);
    }
    if (valid.ok()) {
        valid = CheckValue(value);
    }
    if (!valid.ok()) {
        m_strError =
            valid.WithContext(m_strPath + ": [" + Printable(section) + "] " + Printable(key))
                .message();
        return FALSE;
    }
    const std::string text = EncodeValue(value);
    if (m_text.SizeAfter(section, key, text) > kMaxFileSize) {
        m_strError = m_strPath + ": [" + std::string(section) + "] " + std::string(key) +
                     ": the file would grow larger than " + LimitText();
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
        const Status moved = RenameNoReplace(m_strPath, aside);
        if (moved.ok() || moved.ErrorNumber() == ENOENT) {
            m_loadState = LoadState::kMissing;
            return TRUE;
        }
        if (moved.ErrorNumber() != EEXIST) {
            m_strError =
                m_strPath + ": cannot keep the unusable file as " + aside + ": " + moved.message();
            return FALSE;
        }
    }
    m_strError =
        m_strPath + ": cannot keep the unusable file: too many " + m_strPath + ".bad files";
    return FALSE;
}

Status CProfileFile::CheckWritable() const {
    // The mode, not access(): a privileged process may write anything, but
    // a file its owner made read-only is not to be rewritten by anyone.
    const Result<FileStatus> st = StatusAt(m_strPath);
    if (st.ok() && st.value().kind == FileKind::kRegular && (st.value().permissions & 0222) == 0) {
        return Status::Error(m_strPath + " is read-only");
    }
    return Status::Ok();
}

BOOL CProfileFile::Save(IgnoredFile ignored) {
    m_strError.clear();
    if (const Status writable = CheckWritable(); !writable.ok()) {
        m_strError = writable.message();
        return FALSE;
    }
    if (m_loadState == LoadState::kIgnored) {
        if (ignored == IgnoredFile::kLeaveAlone) {
            m_strError = m_strPath + " cannot be used: " + m_strLoadReason;
            return FALSE;
        }
        if (!MoveBadFileAside()) {
            return FALSE;
        }
    }
    if (const Status written = AtomicFile(m_strPath).Write(m_text.GetBytes()); !written.ok()) {
        m_strError = written.message();
        return FALSE;
    }
    m_loadState = LoadState::kLoaded;
    m_strLoadReason.clear();
    return TRUE;
}
