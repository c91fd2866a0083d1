// Fuzzes the INI profile reader and writer (CProfileFile) with the input
// as the file's content.
//
// Properties checked:
// - loading never fails other than by ignoring the file;
// - a loaded profile saved and loaded again gives every section and key
//   the same value in the same order and keeps every comment line in
//   order; from the second save on, saving writes the same bytes (the
//   first save may still tidy the file: an empty section header "[]" is
//   not written back, and blank lines move);
// - a value written by WriteString reads back exactly;
// - an ignored file is kept whole as "<file>.bad" by the next Save.
#include <strings.h>
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "framework/ProfileFile.h"

namespace {

using Values = std::map<std::pair<std::string, std::string>, std::string>;

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t stop = text.find_first_of("\r\n", pos);
        if (stop == std::string_view::npos) {
            stop = text.size();
        }
        lines.push_back(text.substr(pos, stop - pos));
        pos = stop + 1;
        if (stop < text.size() && text[stop] == '\r' && pos < text.size() && text[pos] == '\n') {
            ++pos;
        }
    }
    return lines;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// Names of the sections the text may hold, as written between brackets.
std::vector<std::string> SectionNames(std::string_view text) {
    std::vector<std::string> names = {"Files", "SystemList"};
    for (const std::string_view line : Lines(text)) {
        const std::string_view trimmed = Trim(line);
        if (trimmed.empty() || trimmed.front() != '[') {
            continue;
        }
        const std::size_t close = trimmed.find(']');
        if (close != std::string_view::npos) {
            names.emplace_back(trimmed.substr(1, close - 1));
            names.emplace_back(Trim(trimmed.substr(1, close - 1)));
        }
    }
    return names;
}

// Comment lines of TEXT, trimmed, in order.
std::vector<std::string> Comments(std::string_view text) {
    std::vector<std::string> comments;
    for (const std::string_view line : Lines(text)) {
        const std::string_view trimmed = Trim(line);
        if (!trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#')) {
            comments.emplace_back(trimmed);
        }
    }
    return comments;
}

Values ReadAll(const CProfileFile& profile, const std::vector<std::string>& sections,
               std::map<std::string, std::vector<std::string>>& keyOrder) {
    Values values;
    for (const std::string& section : sections) {
        const std::vector<std::string> keys = profile.GetKeys(section);
        keyOrder[section] = keys;
        for (const std::string& key : keys) {
            FUZZ_CHECK(profile.HasKey(section, key) == TRUE);
            values[{section, key}] = profile.GetString(section, key, "\x01missing");
        }
    }
    return values;
}

bool IsSubsequence(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
    std::size_t i = 0;
    for (const std::string& item : whole) {
        if (i < part.size() && item == part[i]) {
            ++i;
        }
    }
    return i == part.size();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::ScratchDir();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string directory = fuzz::ScratchPath("profile");
    static const std::string path = directory + "/Korr2LD.INI";
    fuzz::EmptyDirectory(fuzz::ScratchDir());
    FUZZ_CHECK(::mkdir(directory.c_str(), 0700) == 0);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    fuzz::WriteFile(path, text);

    const std::vector<std::string> sections = SectionNames(text);
    std::map<std::string, std::vector<std::string>> keyOrder;
    Values values;
    CProfileFile::LoadState state;
    {
        CProfileFile profile(path);
        state = profile.GetLoadState();
        FUZZ_CHECK(state != CProfileFile::LoadState::kMissing);
        FUZZ_CHECK((state == CProfileFile::LoadState::kIgnored) ==
                   !profile.GetLoadMessage().empty());
        values = ReadAll(profile, sections, keyOrder);
        if (state == CProfileFile::LoadState::kIgnored) {
            FUZZ_CHECK(values.empty());
        }
        FUZZ_CHECK(profile.Save() == TRUE);
    }
    if (state == CProfileFile::LoadState::kIgnored) {
        FUZZ_CHECK(fuzz::ReadFile(path + ".bad") == text);
        return 0;
    }

    // Saved and loaded again: the same profile.
    const std::string saved = fuzz::ReadFile(path);
    {
        CProfileFile profile(path);
        FUZZ_CHECK(profile.GetLoadState() == CProfileFile::LoadState::kLoaded);
        std::map<std::string, std::vector<std::string>> reloadedOrder;
        FUZZ_CHECK(ReadAll(profile, sections, reloadedOrder) == values);
        FUZZ_CHECK(reloadedOrder == keyOrder);
        FUZZ_CHECK(IsSubsequence(Comments(text), Comments(saved)));
        FUZZ_CHECK(profile.Save() == TRUE);
    }
    const std::string resaved = fuzz::ReadFile(path);
    {
        CProfileFile profile(path);
        FUZZ_CHECK(profile.Save() == TRUE);
    }
    FUZZ_CHECK(fuzz::ReadFile(path) == resaved);

    // A value written reads back exactly, and the others stay.
    const std::string_view firstLine = Lines(text).empty() ? text : Lines(text)[0];
    {
        CProfileFile profile(path);
        if (profile.WriteString("Files", "Input", firstLine) == TRUE) {
            FUZZ_CHECK(profile.GetString("Files", "Input", "\x01missing") == firstLine);
            FUZZ_CHECK(profile.Save() == TRUE);
            // The key may be there already, in another case.
            bool found = false;
            for (auto& [where, value] : values) {
                if (strcasecmp(where.first.c_str(), "Files") == 0 &&
                    strcasecmp(where.second.c_str(), "Input") == 0) {
                    value = firstLine;
                    found = true;
                }
            }
            if (!found) {
                values[{"Files", "Input"}] = firstLine;
            }
        } else {
            FUZZ_CHECK(!profile.GetError().empty());
        }
    }
    {
        CProfileFile profile(path);
        FUZZ_CHECK(profile.GetLoadState() == CProfileFile::LoadState::kLoaded);
        std::map<std::string, std::vector<std::string>> order;
        Values reread = ReadAll(profile, sections, order);
        for (const auto& [where, value] : values) {
            FUZZ_CHECK(reread.count(where) == 1 && reread[where] == value);
        }
    }
    return 0;
}
