#include "framework/ProfileFile.h"

// The library is used without character conversion (texts are bytes) and
// its implementation is compiled here, in its only user.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <utility>

#include "framework/AtomicFile.h"

namespace {

constexpr std::string_view kUtf8Signature = "\xEF\xBB\xBF";

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

// One line of the file, without its line end.
struct Line {
    std::string_view text;
    std::size_t end;  // offset just past the line end
};

// Splits at "\r\n", "\n" or "\r", as the parser does.
std::vector<Line> SplitLines(std::string_view content) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t stop = content.find_first_of("\r\n", pos);
        std::size_t next;
        if (stop == std::string_view::npos) {
            stop = content.size();
            next = stop;
        } else {
            next = stop + 1;
            if (content[stop] == '\r' && next < content.size() && content[next] == '\n') {
                ++next;
            }
        }
        lines.push_back({content.substr(pos, stop - pos), next});
        pos = next;
    }
    return lines;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Names compare as the parser compares them: ignoring ASCII case.
std::string Folded(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return folded;
}

// Tracks the sections and keys of a file line by line, to find entries that
// would not come back whole from a save: the parser drops text after a
// section header, merges repeated sections and keeps only the last of
// repeated keys (losing the comments before the others), and a name that
// holds a control character could be listed but never read back.
class EntryChecker {
public:
    // Why the entry LINE would be changed or lost by a save, or "".
    std::string Problem(std::string_view line) {
        line = Trimmed(line);
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            const std::string_view name = Trimmed(line.substr(1, close - 1));
            if (!Trimmed(line.substr(close + 1)).empty()) {
                return "text follows the section header [" + std::string(name) + "]";
            }
            if (const char* problem = SectionProblem(name)) {
                return problem;
            }
            if (!m_sections.insert(Folded(name)).second) {
                return "the section [" + std::string(name) + "] appears twice";
            }
            m_section = std::string(name);
            m_keys.clear();
            return {};
        }
        const std::string_view key = Trimmed(line.substr(0, line.find('=')));
        if (const char* problem = KeyProblem(key)) {
            return problem;
        }
        if (!m_keys.insert(Folded(key)).second) {
            return "the key " + std::string(key) + " appears twice in [" + m_section + "]";
        }
        return {};
    }

private:
    std::set<std::string> m_sections;
    std::set<std::string> m_keys;
    std::string m_section;
};

enum class LineKind { kBlank, kComment, kEntry, kInvalid };

LineKind Classify(std::string_view line) {
    std::size_t start = 0;
    while (start < line.size() && IsBlank(line[start])) {
        ++start;
    }
    line.remove_prefix(start);
    if (line.empty()) {
        return LineKind::kBlank;
    }
    if (line.front() == ';' || line.front() == '#') {
        return LineKind::kComment;
    }
    if (line.front() == '[') {
        return line.find(']') != std::string_view::npos ? LineKind::kEntry : LineKind::kInvalid;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0) {
        return LineKind::kInvalid;
    }
    return LineKind::kEntry;
}

// The comment lines of LINES (with blank lines between them), line ends
// made '\n'; empty when LINES hold no comment.
std::string KeepComments(const std::vector<Line>& lines, std::size_t first, bool& blankBefore) {
    std::size_t begin = first;
    while (begin < lines.size() && Classify(lines[begin].text) == LineKind::kBlank) {
        ++begin;
    }
    blankBefore = begin > first;
    std::size_t end = lines.size();
    while (end > begin && Classify(lines[end - 1].text) == LineKind::kBlank) {
        --end;
    }
    std::string kept;
    for (std::size_t i = begin; i < end; ++i) {
        kept.append(lines[i].text);
        kept += '\n';
    }
    return kept;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Where the comments after the file's last entry go in BODY, the written
// profile: before the blank lines that precede the first section the file
// did not have (new sections carry no comments), else at the end.
std::size_t TailPosition(const std::string& body, const std::vector<std::string>& loaded) {
    std::size_t lineStart = 0;
    while (lineStart < body.size()) {
        std::size_t lineEnd = body.find('\n', lineStart);
        if (lineEnd == std::string::npos) {
            lineEnd = body.size();
        }
        const std::string_view line(body.data() + lineStart, lineEnd - lineStart);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const std::string_view name = line.substr(1, line.size() - 2);
            const bool known = std::any_of(loaded.begin(), loaded.end(),
                                           [&](const std::string& s) { return SameName(s, name); });
            if (!known) {
                std::size_t position = lineStart;
                while (position > 0 && body[position - 1] == '\n' &&
                       (position < 2 || body[position - 2] == '\n')) {
                    --position;
                }
                return position;
            }
        }
        lineStart = lineEnd + 1;
    }
    return body.size();
}

}  // namespace

struct CProfileFile::Data {
    CSimpleIniA ini{false, false, false};
    // Comments the parser would drop: those of a file without any section
    // or key (written first), and those after the last entry (written last).
    std::string head;
    std::string tail;
    bool blankBeforeTail = false;
    // Sections the file had, so that the tail stays before new ones.
    std::vector<std::string> loadedSections;
};

CProfileFile::CProfileFile(std::string path)
    : m_strPath(std::move(path)), m_data(std::make_unique<Data>()) {
    m_data->ini.SetSpaces(false);
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
            Ignore(std::strerror(errno));
        }
        return;
    }
    std::string content;
    struct stat st;
    std::string problem;
    if (fstat(fd, &st) != 0) {
        problem = std::strerror(errno);
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
                problem = std::strerror(errno);
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
    if (content.find('\0') != std::string::npos) {
        Ignore("it holds zero bytes, so it is not a text file");
        return;
    }

    std::string_view text = content;
    if (text.substr(0, kUtf8Signature.size()) == kUtf8Signature) {
        text.remove_prefix(kUtf8Signature.size());
    }
    const std::vector<Line> lines = SplitLines(text);
    std::size_t afterLastEntry = 0;  // index of the line after the last entry
    EntryChecker entries;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LineKind kind = Classify(lines[i].text);
        if (kind == LineKind::kInvalid) {
            Ignore("line " + std::to_string(i + 1) +
                   " is neither a [section], a key=value pair nor a comment: \"" +
                   Printable(lines[i].text.substr(0, 60)) + "\"");
            return;
        }
        if (kind == LineKind::kEntry) {
            const std::string entryProblem = entries.Problem(lines[i].text);
            if (!entryProblem.empty()) {
                Ignore("line " + std::to_string(i + 1) + ": " + Printable(entryProblem));
                return;
            }
            afterLastEntry = i + 1;
        }
    }
    bool blankBefore = false;
    if (afterLastEntry == 0) {
        m_data->head = KeepComments(lines, 0, blankBefore);
        m_loadState = LoadState::kLoaded;
        return;
    }
    if (m_data->ini.LoadData(content) < 0) {
        m_data->ini.Reset();
        Ignore("it cannot be parsed");
        return;
    }
    m_data->tail = KeepComments(lines, afterLastEntry, m_data->blankBeforeTail);
    CSimpleIniA::TNamesDepend sections;
    m_data->ini.GetAllSections(sections);
    for (const auto& section : sections) {
        m_data->loadedSections.emplace_back(section.pItem);
    }
    m_loadState = LoadState::kLoaded;
}

std::string CProfileFile::GetString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    if (SectionProblem(section) != nullptr || KeyProblem(key) != nullptr) {
        return std::string(defaultValue);
    }
    const char* stored =
        m_data->ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
    return stored == nullptr ? std::string(defaultValue) : DecodeValue(stored);
}

BOOL CProfileFile::HasKey(std::string_view section, std::string_view key) const {
    if (SectionProblem(section) != nullptr || KeyProblem(key) != nullptr) {
        return FALSE;
    }
    return m_data->ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr) !=
                   nullptr
               ? TRUE
               : FALSE;
}

std::vector<std::string> CProfileFile::GetKeys(std::string_view section) const {
    std::vector<std::string> keys;
    CSimpleIniA::TNamesDepend entries;
    if (SectionProblem(section) != nullptr ||
        !m_data->ini.GetAllKeys(std::string(section).c_str(), entries)) {
        return keys;
    }
    entries.sort(CSimpleIniA::Entry::LoadOrder());
    for (const auto& entry : entries) {
        keys.emplace_back(entry.pItem);
    }
    return keys;
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
    const SI_Error rc = m_data->ini.SetValue(std::string(section).c_str(), std::string(key).c_str(),
                                             EncodeValue(value).c_str());
    if (rc < 0) {
        m_strError =
            m_strPath + ": [" + std::string(section) + "] " + std::string(key) + ": out of memory";
        return FALSE;
    }
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
                         std::strerror(errno);
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
    std::string body;
    if (m_data->ini.Save(body, true) < 0) {
        m_strError = m_strPath + ": out of memory";
        return FALSE;
    }
    if (!m_data->tail.empty()) {
        std::string tail = m_data->tail;
        if (m_data->blankBeforeTail) {
            tail.insert(0, "\n");
        }
        body.insert(TailPosition(body, m_data->loadedSections), tail);
    }
    std::string content = m_data->head;
    if (!content.empty() && !body.empty()) {
        content += '\n';
    }
    content += body;
    CAtomicFile file(m_strPath);
    if (!file.Write(content)) {
        m_strError = file.GetError();
        return FALSE;
    }
    m_loadState = LoadState::kLoaded;
    m_strLoadMessage.clear();
    return TRUE;
}
