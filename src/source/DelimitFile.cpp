#include "source/DelimitFile.h"

#include <cstring>

namespace {

// Bytes taken from the stream per step of a line read.
constexpr std::size_t kChunkSize = 128;

bool StartsWith(const std::string& field, const std::string& marker) {
    return !marker.empty() && field.compare(0, marker.size(), marker) == 0;
}

}  // namespace

CDelimitFile::CDelimitFile() = default;

CDelimitFile::~CDelimitFile() = default;

BOOL CDelimitFile::ReadString(std::string& line) {
    return ReadLineInSteps(line, kChunkSize);
}

void CDelimitFile::WriteRecord(const std::vector<std::string>& fields) {
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0 && !m_strDelimiters.empty()) {
            text += m_strDelimiters[0];
        }
        text += fields[i];
    }
    text += '\n';
    WriteString(text);
}

void CDelimitFile::WriteTypedRecord(const std::vector<std::string>& fields, int type) {
    std::vector<std::string> copy = fields;
    if (!copy.empty()) {
        if (type == LINE_SECTION) {
            copy[0] = m_strSectionOpen + copy[0] + m_strSectionClose;
        } else if (type == LINE_COMMENT) {
            copy[0] = m_strComment + copy[0];
        }
    }
    WriteRecord(copy);
}

void CDelimitFile::OnRecordRead() {}

BOOL CDelimitFile::SetDelimiters(const std::string& delimiters) {
    m_strDelimiters = delimiters;
    return TRUE;
}

int CDelimitFile::SplitLine(const std::string& line, std::vector<std::string>& fields) const {
    // Split a private copy: LINE may be one of FIELDS, which appending moves.
    const std::string copy = line;
    return SplitFrom(copy, fields, fields.size());
}

int CDelimitFile::ParseLine(const std::string& line, std::vector<std::string>& fields,
                            int* type) const {
    const int count = SplitLine(line, fields);
    if (type != nullptr) {
        Classify(fields, type);
    }
    return count;
}

BOOL CDelimitFile::ReadRecord(std::vector<std::string>& fields, int* type) {
    // The fields' strings are overwritten in place rather than cleared first,
    // so that their buffers serve the next line; every way out leaves FIELDS
    // as if it had been emptied before the read.
    try {
        if (!ReadString(m_strLine)) {
            fields.clear();
            return FALSE;
        }
    } catch (...) {
        fields.clear();
        throw;
    }
    SplitFrom(m_strLine, fields, 0);
    if (type != nullptr) {
        Classify(fields, type);
    }
    OnRecordRead();
    return TRUE;
}

int CDelimitFile::SplitFrom(std::string_view rest, std::vector<std::string>& fields,
                            std::size_t first) const {
    std::size_t count = first;
    auto put = [&fields, &count](std::string_view field) {
        if (count < fields.size()) {
            fields[count].assign(field);
        } else {
            fields.emplace_back(field);
        }
        ++count;
    };
    while (!rest.empty()) {
        const std::size_t pos = FindDelimiter(rest);
        if (pos == std::string_view::npos) {
            put(rest);
            break;
        }
        if (pos == 0 && m_bMergeDelimiters) {
            rest.remove_prefix(1);
            continue;
        }
        put(rest.substr(0, pos));
        rest.remove_prefix(pos + 1);
    }
    fields.resize(count);
    return static_cast<int>(count);
}

std::size_t CDelimitFile::FindDelimiter(std::string_view text) const {
    if (m_strDelimiters.size() == 1) {
        const void* hit = std::memchr(text.data(), m_strDelimiters[0], text.size());
        return hit == nullptr
                   ? std::string_view::npos
                   : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    }
    // string_view's search takes the set by its size, so a NUL byte in the
    // set is an ordinary delimiter.
    return text.find_first_of(std::string_view(m_strDelimiters));
}

void CDelimitFile::Classify(std::vector<std::string>& fields, int* type) const {
    *type = LINE_DATA;
    if (fields.empty()) {
        *type = LINE_EMPTY;
        return;
    }
    std::string& first = fields[0];
    if (StartsWith(first, m_strComment)) {
        *type = LINE_COMMENT;
        first.erase(0, m_strComment.size());
        return;
    }
    if (StartsWith(first, m_strSectionOpen) && !m_strSectionClose.empty()) {
        const std::size_t close = first.find(m_strSectionClose, m_strSectionOpen.size());
        if (close != std::string::npos && close > 0) {
            *type = LINE_SECTION;
            first = first.substr(m_strSectionOpen.size(), close - m_strSectionOpen.size());
            return;
        }
    }
    if (StartsWith(first, m_strBlockOpen)) {
        *type = LINE_BLOCK_BEGIN;
        first.erase(0, m_strBlockOpen.size());
        return;
    }
    if (StartsWith(first, m_strBlockClose)) {
        *type = LINE_BLOCK_END;
        first.erase(0, m_strBlockClose.size());
    }
}
