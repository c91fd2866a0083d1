// Checks, line by line, that one store of a key into an INI file changed
// only what a store may change, for the harnesses that store into arbitrary
// files (profile_file, locations). Written from the rules of
// framework/ProfileText.h, not from its code:
// - the bytes are the same, when the value was already there;
// - or one line changed: the key's line, the same up to and including its
//   first '=' and with the same line end (or none, as before);
// - or one line was added, "KEY=..." (the line before it may have got the
//   line end it lacked, when it was the file's last);
// - or, at the end of the file, "[SECTION]" and "KEY=...", perhaps after a
//   blank line (and the last line may have got its line end).
// A byte-order mark at the start stays. Added lines have line ends.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

struct IniLine {
    std::string_view text;
    std::string_view end;  // "\r\n", "\n", "\r" or "" (the last line only)
    bool operator==(const IniLine&) const = default;
};

inline std::vector<IniLine> IniLines(std::string_view bytes) {
    std::vector<IniLine> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t stop = bytes.find_first_of("\r\n", pos);
        if (stop == std::string_view::npos) {
            stop = bytes.size();
        }
        std::size_t next = stop;
        if (stop < bytes.size()) {
            next = stop + 1 + (bytes.substr(stop, 2) == "\r\n" ? 1 : 0);
        }
        lines.push_back({bytes.substr(pos, stop - pos), bytes.substr(stop, next - stop)});
        pos = next;
    }
    return lines;
}

inline bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}

inline std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// Empty when AFTER is BEFORE changed by one store of KEY into SECTION as
// described above, else what is wrong.
inline std::string StoreChangeProblem(std::string_view before, std::string_view after,
                                      std::string_view section, std::string_view key) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (before.substr(0, 3) == kMark) {
        if (after.substr(0, 3) != kMark) {
            return "the byte-order mark was lost";
        }
        before.remove_prefix(3);
        after.remove_prefix(3);
    }
    const std::vector<IniLine> old = IniLines(before);
    const std::vector<IniLine> now = IniLines(after);
    std::size_t same = 0;
    while (same < old.size() && same < now.size() && old[same] == now[same]) {
        ++same;
    }
    std::size_t sameAtEnd = 0;
    while (sameAtEnd < old.size() - same && sameAtEnd < now.size() - same &&
           old[old.size() - 1 - sameAtEnd] == now[now.size() - 1 - sameAtEnd]) {
        ++sameAtEnd;
    }
    const std::vector<IniLine> removed(old.begin() + same, old.end() - sameAtEnd);
    std::vector<IniLine> added(now.begin() + same, now.end() - sameAtEnd);
    if (removed.empty() && added.empty()) {
        return {};
    }
    if (removed.size() == 1 && added.size() == 1) {
        const std::string_view was = removed[0].text;
        const std::size_t equals = was.find('=');
        if (equals == std::string_view::npos ||
            !SameNameIgnoringCase(TrimBlanks(was.substr(0, equals)), key) ||
            added[0].text.substr(0, equals + 1) != was.substr(0, equals + 1) ||
            added[0].end != removed[0].end) {
            return "a line other than the key's was changed";
        }
        return {};
    }
    for (const IniLine& line : added) {
        if (line.end.empty()) {
            return "an added line has no line end";
        }
    }
    const auto isKeyLine = [&](std::string_view text) {
        return text.substr(0, key.size() + 1) == std::string(key) + "=";
    };
    if (added.empty()) {
        return "lines were removed";
    }
    if (removed.size() > 1) {
        return "more than one line was changed or removed";
    }
    if (removed.size() == 1) {
        // The file's last line, which lacked its line end.
        if (!removed[0].end.empty() || sameAtEnd != 0 || added[0].text != removed[0].text) {
            return "a line was changed that is not the key's";
        }
        added.erase(added.begin());
    }
    if (added.size() == 1 && isKeyLine(added[0].text)) {
        return {};
    }
    if (sameAtEnd != 0) {
        return "lines were added that are neither the key's nor at the end";
    }
    if (added.size() == 3 && TrimBlanks(added[0].text).empty()) {
        added.erase(added.begin());
    }
    if (added.size() == 2 && added[0].text == "[" + std::string(section) + "]" &&
        isKeyLine(added[1].text)) {
        return {};
    }
    return "the lines added are not the key's line, nor its section and line at the end";
}

}  // namespace fuzz
