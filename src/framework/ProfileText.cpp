#include "framework/ProfileText.h"

#include <utility>

#include "framework/AsciiCase.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
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

}  // namespace

CProfileText::CProfileText(std::string bytes) : m_bytes(std::move(bytes)) {
    Parse();
}

void CProfileText::Parse() {
    m_lastLine.reset();
    m_sections.clear();
    const std::string_view all = m_bytes;
    std::size_t crlf = 0;
    std::size_t lf = 0;
    std::size_t pos =
        all.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
    Section* current = nullptr;  // none before the first header
    bool currentIsFirst = false;
    while (pos < all.size()) {
        std::size_t stop = pos;
        while (stop < all.size() && all[stop] != '\r' && all[stop] != '\n') {
            ++stop;
        }
        std::size_t next = stop;
        if (stop < all.size()) {
            next = stop + 1;
            if (all[stop] == '\n') {
                ++lf;
            } else if (next < all.size() && all[next] == '\n') {
                ++next;
                ++crlf;
            }
        }
        const Line line{pos, stop, next};
        m_lastLine = line;
        std::size_t textBegin = pos;
        while (textBegin < stop && IsBlank(all[textBegin])) {
            ++textBegin;
        }
        const std::string_view text = Trimmed(all.substr(textBegin, stop - textBegin));
        pos = next;
        if (text.empty() || text.front() == ';' || text.front() == '#') {
            continue;
        }
        if (text.front() == '[') {
            const std::size_t close = text.find(']');
            if (close != std::string_view::npos) {
                const auto [it, added] =
                    m_sections.try_emplace(AsciiFolded(Trimmed(text.substr(1, close - 1))));
                current = &it->second;
                currentIsFirst = added;
                if (added) {
                    current->addAfter = line;
                }
                continue;
            }
        }
        const std::size_t equals = text.find('=');
        if (equals == std::string_view::npos || equals == 0 || current == nullptr) {
            continue;
        }
        const std::string_view name = Trimmed(text.substr(0, equals));
        const auto [found, added] =
            current->byName.try_emplace(AsciiFolded(name), current->entries.size());
        if (added) {
            current->entries.push_back({line, textBegin + equals + 1, std::string(name)});
        }
        if (currentIsFirst) {
            current->addAfter = line;
        }
    }
    m_newLine = crlf > lf ? "\r\n" : "\n";
}

const CProfileText::Entry* CProfileText::FindEntry(std::string_view section,
                                                   std::string_view key) const {
    const auto found = m_sections.find(AsciiFolded(section));
    if (found == m_sections.end()) {
        return nullptr;
    }
    const auto entry = found->second.byName.find(AsciiFolded(key));
    return entry == found->second.byName.end() ? nullptr : &found->second.entries[entry->second];
}

std::optional<std::string_view> CProfileText::GetValue(std::string_view section,
                                                       std::string_view key) const {
    const Entry* entry = FindEntry(section, key);
    if (entry == nullptr) {
        return std::nullopt;
    }
    const std::size_t end = entry->line.textEnd;
    return Trimmed(std::string_view(m_bytes).substr(entry->valueBegin, end - entry->valueBegin));
}

std::vector<std::string> CProfileText::GetKeys(std::string_view section) const {
    std::vector<std::string> keys;
    const auto found = m_sections.find(AsciiFolded(section));
    if (found != m_sections.end()) {
        for (const Entry& entry : found->second.entries) {
            keys.push_back(entry.name);
        }
    }
    return keys;
}

CProfileText::Edit CProfileText::PlanSetValue(std::string_view section, std::string_view key,
                                              std::string_view text) const {
    if (const Entry* entry = FindEntry(section, key)) {
        return {entry->valueBegin, entry->line.textEnd - entry->valueBegin, std::string(text)};
    }
    std::string line = std::string(key) + '=' + std::string(text) + m_newLine;
    const auto found = m_sections.find(AsciiFolded(section));
    if (found != m_sections.end()) {
        const Line& after = found->second.addAfter;
        if (after.end == after.textEnd) {
            line.insert(0, m_newLine);
        }
        return {after.end, 0, std::move(line)};
    }
    std::string added;
    if (m_lastLine) {
        const Line& last = *m_lastLine;
        std::string lastEnd = m_bytes.substr(last.textEnd, last.end - last.textEnd);
        if (lastEnd.empty()) {
            lastEnd = m_newLine;
            added = m_newLine;
        }
        // The blank line ends as the line before it does, so that it cannot
        // join a lone "\r" into one "\r\n".
        if (!Trimmed(std::string_view(m_bytes).substr(last.begin, last.textEnd - last.begin))
                 .empty()) {
            added += lastEnd;
        }
    }
    added += '[';
    added += section;
    added += ']';
    added += m_newLine;
    added += line;
    return {m_bytes.size(), 0, std::move(added)};
}

std::size_t CProfileText::SizeAfter(std::string_view section, std::string_view key,
                                    std::string_view text) const {
    const Edit edit = PlanSetValue(section, key, text);
    return m_bytes.size() - edit.erase + edit.insert.size();
}

void CProfileText::SetValue(std::string_view section, std::string_view key, std::string_view text) {
    const Edit edit = PlanSetValue(section, key, text);
    m_bytes.replace(edit.position, edit.erase, edit.insert);
    Parse();
}
