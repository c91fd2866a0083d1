// Fuzzes the INI profile reader and writer (CProfileFile) with the input
// as the file's content.
//
// Properties checked:
// - loading never fails other than by ignoring the file, and a file is
//   ignored only when it is larger than 64 MiB;
// - every key listed is readable by its name;
// - a save without writes gives the file back byte for byte;
// - after one WriteString and Save, the file is the original but for the
//   key's line, or one added key line, or the section and key added at the
//   end (fuzz/ProfileEditCheck.h); the value written reads back exactly,
//   before and after the save; every other key reads back as before, and
//   each section lists the same keys (plus the new one); saving again, and
//   writing the same value again, write the same bytes;
// - an ignored file is kept whole as "<file>.bad" by the next Save.
//
// Each input is stored into four times, each time into the original file:
// "Files"/"Input" with the input's first line (often refused) and with its
// printable bytes, and into the first section named in the file its first
// key and a key it does not have.
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "ProfileEditCheck.h"
#include "framework/ProfileFile.h"

namespace {

using Values = std::map<std::pair<std::string, std::string>, std::string>;
using KeyOrder = std::map<std::string, std::vector<std::string>>;

// Names of the sections the text may hold, as written between brackets.
std::vector<std::string> SectionNames(std::string_view text) {
    std::vector<std::string> names = {"Files", "SystemList"};
    for (const fuzz::IniLine& line : fuzz::IniLines(text)) {
        const std::string_view trimmed = fuzz::TrimBlanks(line.text);
        if (trimmed.empty() || trimmed.front() != '[') {
            continue;
        }
        const std::size_t close = trimmed.find(']');
        if (close != std::string_view::npos) {
            names.emplace_back(trimmed.substr(1, close - 1));
            names.emplace_back(fuzz::TrimBlanks(trimmed.substr(1, close - 1)));
        }
    }
    return names;
}

Values ReadAll(const CProfileFile& profile, const std::vector<std::string>& sections,
               KeyOrder& keyOrder) {
    Values values;
    for (const std::string& section : sections) {
        const std::vector<std::string> keys = profile.GetKeys(section);
        keyOrder[section] = keys;
        for (const std::string& key : keys) {
            FUZZ_CHECK(profile.HasKey(section, key) == TRUE);
            const std::string value = profile.GetString(section, key, "\nmissing");
            FUZZ_CHECK(value != "\nmissing");
            values[{section, key}] = value;
        }
    }
    return values;
}

struct Original {
    std::string path;
    std::string_view text;
    std::vector<std::string> sections;
    Values values;
    KeyOrder keyOrder;
};

// Stores VALUE as KEY of SECTION into the original file and checks the
// result (see above).
void CheckStore(const Original& original, const std::string& section, const std::string& key,
                std::string_view value) {
    k2ltest::WriteFile(original.path, original.text);
    {
        CProfileFile profile(original.path);
        if (profile.WriteString(section, key, value) != TRUE) {
            FUZZ_CHECK(!profile.GetError().empty());
            FUZZ_CHECK(profile.Save() == TRUE);
            FUZZ_CHECK(fuzz::ReadFile(original.path) == original.text);
            return;
        }
        FUZZ_CHECK(profile.GetString(section, key, "\nmissing") == value);
        FUZZ_CHECK(profile.Save() == TRUE);
    }
    const std::string saved = fuzz::ReadFile(original.path);
    FUZZ_CHECK(fuzz::StoreChangeProblem(original.text, saved, section, key).empty());

    CProfileFile profile(original.path);
    FUZZ_CHECK(profile.GetLoadState() == CProfileFile::LoadState::kLoaded);
    FUZZ_CHECK(profile.GetString(section, key, "\nmissing") == value);
    KeyOrder keyOrder;
    const Values values = ReadAll(profile, original.sections, keyOrder);
    for (const auto& [where, before] : original.values) {
        const bool stored = fuzz::SameNameIgnoringCase(where.first, section) &&
                            fuzz::SameNameIgnoringCase(where.second, key);
        FUZZ_CHECK(values.count(where) == 1 && values.at(where) == (stored ? value : before));
    }
    // A new key joins the keys of its section where it was added: in the
    // first section of that name, before the keys of later ones.
    for (const auto& [name, keys] : original.keyOrder) {
        std::vector<std::string> listed = keyOrder.at(name);
        if (fuzz::SameNameIgnoringCase(name, section) && listed.size() == keys.size() + 1) {
            for (auto it = listed.begin(); it != listed.end(); ++it) {
                if (*it == key) {
                    listed.erase(it);
                    break;
                }
            }
        }
        FUZZ_CHECK(listed == keys);
    }
    FUZZ_CHECK(profile.WriteString(section, key, value) == TRUE);
    FUZZ_CHECK(profile.Save() == TRUE);
    FUZZ_CHECK(fuzz::ReadFile(original.path) == saved);
}

std::string PrintableBytes(std::string_view text) {
    std::string printable;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            printable += c;
        }
    }
    return printable;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string directory = fuzz::ScratchPath("profile");
    fuzz::EmptyDirectory(fuzz::ScratchDir());
    FUZZ_CHECK(::mkdir(directory.c_str(), 0700) == 0);
    Original original;
    original.path = directory + "/Korr2LD.INI";
    original.text = std::string_view(reinterpret_cast<const char*>(data), size);
    original.sections = SectionNames(original.text);
    k2ltest::WriteFile(original.path, original.text);

    {
        CProfileFile profile(original.path);
        const CProfileFile::LoadState state = profile.GetLoadState();
        FUZZ_CHECK(state != CProfileFile::LoadState::kMissing);
        FUZZ_CHECK((state == CProfileFile::LoadState::kIgnored) ==
                   !profile.GetLoadMessage().empty());
        FUZZ_CHECK((state == CProfileFile::LoadState::kIgnored) ==
                   (size > CProfileFile::kMaxFileSize));
        original.values = ReadAll(profile, original.sections, original.keyOrder);
        if (state == CProfileFile::LoadState::kIgnored) {
            FUZZ_CHECK(original.values.empty());
            FUZZ_CHECK(profile.Save() == TRUE);
            FUZZ_CHECK(fuzz::ReadFile(original.path + ".bad") == original.text);
            return 0;
        }
        FUZZ_CHECK(profile.Save() == TRUE);
    }
    FUZZ_CHECK(fuzz::ReadFile(original.path) == original.text);

    const std::vector<fuzz::IniLine> lines = fuzz::IniLines(original.text);
    const std::string_view firstLine = lines.empty() ? original.text : lines[0].text;
    CheckStore(original, "Files", "Input", firstLine);
    CheckStore(original, "Files", "Input", PrintableBytes(firstLine));
    for (std::size_t i = 2; i < original.sections.size(); ++i) {
        const std::vector<std::string>& keys = original.keyOrder[original.sections[i]];
        if (!keys.empty()) {
            CheckStore(original, original.sections[i], keys.front(), PrintableBytes(original.text));
            CheckStore(original, original.sections[i], "Added", "x");
            break;
        }
    }
    return 0;
}
