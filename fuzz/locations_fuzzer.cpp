// Fuzzes the settings library's location store (datasystem/ostrel.h) with
// the input as the content of Lumenda.ini.
//
// Properties checked:
// - every location handed out has each text terminated within its field
//   and the reserved bytes zero; a failed read hands out an all-zero record;
// - EnumGlobalFiles and _MSGGetGlobalFile agree on every key;
// - a location's text in the file and the record read from it translate
//   into each other (FormatLocation of what ParseLocation gave reads back
//   the same record);
// - storing "SAMPLES_DB" keeps every other key of the file with its value
//   and every byte but those of its line (fuzz/ProfileEditCheck.h), and
//   leaves an unusable file (one larger than 64 MiB) as it is, failing.
//
// Storing makes the process use the stored location for "SAMPLES_DB" from
// then on; it is the same location for every input, so runs stay
// reproducible, and the other keys are still read from the file.
#include <strings.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "ProfileEditCheck.h"
#include "datasystem/LocationText.h"
#include "datasystem/ostrel.h"
#include "framework/ProfileFile.h"

namespace {

constexpr const char* kSection = "SystemList";

template <std::size_t N>
bool Terminated(const char (&field)[N]) {
    return std::memchr(field, '\0', N) != nullptr;
}

bool IsZero(const GLOBAL_FILE_INFO& info) {
    static const GLOBAL_FILE_INFO zero{};
    return std::memcmp(&info, &zero, sizeof info) == 0;
}

void CheckInfo(const GLOBAL_FILE_INFO& info) {
    FUZZ_CHECK(info.reserved[0] == 0 && info.reserved[1] == 0);
    FUZZ_CHECK(Terminated(info.szDirectory));
    FUZZ_CHECK(Terminated(info.szName));
    FUZZ_CHECK(Terminated(info.szExtension));
    FUZZ_CHECK(ostrel::CheckTerminated(info).ok());
    const Result<std::string> text = ostrel::FormatLocation(info);
    if (text.ok()) {
        GLOBAL_FILE_INFO back;
        FUZZ_CHECK(ostrel::ParseLocation(text.value(), back).ok());
        FUZZ_CHECK(std::memcmp(&back, &info, sizeof info) == 0);
    } else {
        FUZZ_CHECK(!text.status().message().empty());
    }
}

GLOBAL_FILE_INFO Get(const char* key, std::int32_t& status) {
    GLOBAL_FILE_INFO info;
    std::memset(&info, 0xA5, sizeof info);  // must be overwritten whole
    status = _MSGGetGlobalFile(kSection, key, 0, &info);
    FUZZ_CHECK(status == OSTREL_OK || status == OSTREL_E_READ);
    if (status != OSTREL_OK) {
        FUZZ_CHECK(IsZero(info));
    }
    CheckInfo(info);
    return info;
}

struct Visit {
    std::vector<std::string> keys;
    std::vector<GLOBAL_FILE_INFO> infos;
};

void Visitor(void* context, const char* key, const GLOBAL_FILE_INFO* info) {
    FUZZ_CHECK(key != nullptr && info != nullptr);
    CheckInfo(*info);
    auto* visit = static_cast<Visit*>(context);
    visit->keys.emplace_back(key);
    visit->infos.push_back(*info);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string directory = fuzz::ScratchPath("lumenda");
    static const std::string path = directory + "/Lumenda.ini";
    fuzz::EmptyDirectory(directory);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    k2ltest::WriteFile(path, text);
    FUZZ_CHECK(OstrelSettingsPath() == path);

    std::int32_t status = 0;
    for (const char* key : {"MS_FUNC_DB", "LC_DB", "MACRO", "SAMPLES_DB", "ms_func_db"}) {
        Get(key, status);
    }

    Visit visit;
    const std::int32_t enumStatus = EnumGlobalFiles(kSection, Visitor, &visit);
    FUZZ_CHECK(enumStatus == OSTREL_OK || enumStatus == OSTREL_E_READ);
    for (std::size_t i = 0; i < visit.keys.size(); ++i) {
        const GLOBAL_FILE_INFO info = Get(visit.keys[i].c_str(), status);
        FUZZ_CHECK(std::memcmp(&info, &visit.infos[i], sizeof info) == 0);
    }

    // What the file holds before the store, read as a profile.
    std::map<std::string, std::string> before;
    bool usable = false;
    {
        const CProfileFile profile(path);
        usable = profile.GetLoadState() == CProfileFile::LoadState::kLoaded;
        for (const std::string& key : profile.GetKeys(kSection)) {
            FUZZ_CHECK(profile.HasKey(kSection, key) == TRUE);
            before[key] = profile.GetString(kSection, key, "");
        }
    }

    GLOBAL_FILE_INFO stored{};
    std::strcpy(stored.szDirectory, "/srv/lumenda/lists/");
    std::strcpy(stored.szExtension, "sdb");
    FUZZ_CHECK(StoreGlobalFile(kSection, "SAMPLES_DB", &stored, 1) ==
               (usable ? OSTREL_OK : OSTREL_E_READ));
    const GLOBAL_FILE_INFO read = Get("SAMPLES_DB", status);
    FUZZ_CHECK(status == OSTREL_OK && std::memcmp(&read, &stored, sizeof read) == 0);
    if (!usable) {
        FUZZ_CHECK(fuzz::ReadFile(path) == text);
        return 0;
    }

    const CProfileFile profile(path);
    FUZZ_CHECK(profile.GetLoadState() == CProfileFile::LoadState::kLoaded);
    FUZZ_CHECK(profile.GetString(kSection, "SAMPLES_DB", "") == "/srv/lumenda/lists/*.sdb");
    FUZZ_CHECK(
        fuzz::StoreChangeProblem(text, fuzz::ReadFile(path), kSection, "SAMPLES_DB").empty());
    for (const auto& [key, value] : before) {
        if (strcasecmp(key.c_str(), "SAMPLES_DB") != 0) {
            FUZZ_CHECK(profile.GetString(kSection, key, "\x01missing") == value);
        }
    }
    return 0;
}
