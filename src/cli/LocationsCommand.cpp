#include "cli/LocationsCommand.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>

#include "cli/ExitCode.h"
#include "cli/TextEscape.h"
#include "datasystem/FixedField.h"
#include "datasystem/LocationFields.h"
#include "datasystem/ostrel.h"
#include "framework/PathParts.h"

namespace {

constexpr const char* kKnownKeys[] = {kSampleListKey, kMSMethodKey, kInletMethodKey, kMacroKey};

void PrintLocation(std::ostream& out, std::string_view key, const GLOBAL_FILE_INFO& info) {
    out << EscapeForTsv(key) << '\t' << EscapeForTsv(FixedFieldText(info.szDirectory)) << '\t'
        << EscapeForTsv(FixedFieldText(info.szExtension)) << '\t'
        << EscapeForTsv(FixedFieldText(info.szName)) << '\n';
}

// The spelling Korr2LD uses of KEY, one of its known keys, or nullptr.
// Keys compare as the settings file compares them: without regard to ASCII
// case (the program runs in the C locale).
const char* KnownKey(const std::string& key) {
    const auto found =
        std::find_if(std::begin(kKnownKeys), std::end(kKnownKeys),
                     [&](const char* known) { return strcasecmp(key.c_str(), known) == 0; });
    return found != std::end(kKnownKeys) ? *found : nullptr;
}

// "SAMPLES_DB, MS_FUNC_DB, LC_DB and MACRO".
std::string KnownKeyList() {
    std::string list;
    for (std::size_t i = 0; i < std::size(kKnownKeys); ++i) {
        list += i == 0 ? "" : i + 1 == std::size(kKnownKeys) ? " and " : ", ";
        list += kKnownKeys[i];
    }
    return list;
}

// Keys are upper-case words joined by underscores, as the data system's are.
bool IsWellFormedKey(const std::string& key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
}

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

int Refuse(std::ostream& err, const std::string& message) {
    err << "korr2ld-cli locations: " << message << '\n';
    return kExitFailure;
}

}  // namespace

void AddLocationsCommand(CLI::App& app, int& exitCode) {
    CLI::App* locations =
        app.add_subcommand("locations", "Read and set the data system's global file locations");
    locations->footer(
        "Section SystemList, keys SAMPLES_DB (Sample Lists), MS_FUNC_DB (MS methods),\n"
        "LC_DB (inlet methods), MACRO (macros); keys compare without regard to\n"
        "case. list and get print KEY TAB DIRECTORY TAB EXTENSION TAB NAME,\n"
        "escaped as show --format tsv.");
    locations->require_subcommand(1);

    CLI::App* list = locations->add_subcommand("list", "print every configured location");
    list->callback([&exitCode] { exitCode = RunLocationsList(std::cout, std::cerr); });

    auto key = std::make_shared<std::string>();
    CLI::App* get = locations->add_subcommand("get", "print the location of one key");
    get->add_option("KEY", *key, "e.g. MS_FUNC_DB")->required();
    get->callback([key, &exitCode] { exitCode = RunLocationsGet(*key, std::cout, std::cerr); });

    auto setting = std::make_shared<LocationSetting>();
    CLI::App* set =
        locations->add_subcommand("set", "store the directory and extension of one key");
    set->footer(
        "DIRECTORY is made absolute with a trailing separator and must exist.\n"
        "EXTENSION is given without its dot; when left out, the key's current one\n"
        "is kept. Prints the location and the settings file it was stored in.\n"
        "KEY is one of " +
        KnownKeyList() + ", unless --any-key is given.");
    set->add_option("KEY", setting->key, "e.g. MS_FUNC_DB")->required();
    set->add_option("DIRECTORY", setting->directory, "directory of the files")->required();
    set->add_option_function<std::string>(
        "EXTENSION", [setting](const std::string& value) { setting->extension = value; },
        "extension of the files, e.g. ms");
    set->add_flag("--any-key", setting->anyKey,
                  "store a key that Korr2LD does not use (upper-case letters, digits, '_')");
    set->callback(
        [setting, &exitCode] { exitCode = RunLocationsSet(*setting, std::cout, std::cerr); });
}

int RunLocationsList(std::ostream& out, std::ostream& err) {
    struct Listing {
        std::ostream& out;
        int count;
    } listing{out, 0};
    const auto visit = [](void* context, const char* key, const GLOBAL_FILE_INFO* info) {
        auto& target = *static_cast<Listing*>(context);
        PrintLocation(target.out, key, *info);
        ++target.count;
    };
    if (EnumGlobalFiles(kLocationSection, visit, &listing) != OSTREL_OK) {
        return Refuse(err, SettingsLibraryError("the locations could not be read"));
    }
    if (listing.count == 0) {
        err << "note: no locations are configured in " << OstrelSettingsPath() << '\n';
    }
    return kExitOk;
}

int RunLocationsGet(const std::string& key, std::ostream& out, std::ostream& err) {
    GLOBAL_FILE_INFO info;
    std::memset(&info, 0, sizeof info);
    if (_MSGGetGlobalFile(kLocationSection, key.c_str(), 0, &info) != OSTREL_OK) {
        return Refuse(err, SettingsLibraryError("the locations could not be read"));
    }
    if (info.szDirectory[0] == '\0') {
        return Refuse(err, EscapeForTable(key) + " is not configured in " + OstrelSettingsPath());
    }
    PrintLocation(out, key, info);
    return kExitOk;
}

int RunLocationsSet(const LocationSetting& setting, std::ostream& out, std::ostream& err) {
    const char* known = KnownKey(setting.key);
    if (known == nullptr && !setting.anyKey) {
        err << "korr2ld-cli locations set: the key '" << EscapeForTable(setting.key)
            << "' is not one that Korr2LD uses: " << KnownKeyList()
            << " (--any-key stores another)\n";
        return kExitUsage;
    }
    const std::string key = known != nullptr ? std::string(known) : setting.key;
    if (!IsWellFormedKey(key)) {
        err << "korr2ld-cli locations set: the key '" << EscapeForTable(key)
            << "' is not a key of the data system (upper-case letters, digits and '_')\n";
        return kExitUsage;
    }
    if (setting.extension &&
        std::any_of(setting.extension->begin(), setting.extension->end(), IsSeparator)) {
        err << "korr2ld-cli locations set: the extension '" << EscapeForTable(*setting.extension)
            << "' holds a directory separator\n";
        return kExitUsage;
    }

    std::string directory = FullPath(setting.directory, kMaxPath);
    if (directory.empty()) {
        return Refuse(err, "the directory " + setting.directory + " cannot be made absolute");
    }
    std::error_code error;
    const auto status = std::filesystem::status(directory, error);
    if (!std::filesystem::exists(status)) {
        return Refuse(err, "the directory " + directory + " does not exist; nothing was stored");
    }
    if (!std::filesystem::is_directory(status)) {
        return Refuse(err, directory + " is not a directory; nothing was stored");
    }
    if (!IsSeparator(directory.back())) {
        directory += '/';
    }
    if (directory.size() >= sizeof(GLOBAL_FILE_INFO::szDirectory)) {
        return Refuse(
            err, "the directory " + directory + " is longer than the data system accepts (" +
                     std::to_string(sizeof(GLOBAL_FILE_INFO::szDirectory) - 1) + " characters)");
    }

    GLOBAL_FILE_INFO info;
    std::memset(&info, 0, sizeof info);
    if (_MSGGetGlobalFile(kLocationSection, key.c_str(), 0, &info) != OSTREL_OK) {
        return Refuse(err, SettingsLibraryError("the locations could not be read"));
    }
    std::string extension =
        setting.extension.value_or(std::string(FixedFieldText(info.szExtension)));
    if (!extension.empty() && extension.front() == '.') {
        extension.erase(0, 1);
    }
    if (!WriteFixedField(info.szDirectory, directory) ||
        !WriteFixedField(info.szExtension, extension)) {
        return Refuse(err, "the extension is longer than the data system accepts");
    }
    if (StoreGlobalFile(kLocationSection, key.c_str(), &info, 1) != OSTREL_OK) {
        return Refuse(err, SettingsLibraryError("the location could not be stored") +
                               "; the settings file was not changed");
    }
    if (known == nullptr) {
        err << "note: Korr2LD itself uses only the keys " << KnownKeyList() << '\n';
    }
    PrintLocation(out, key, info);
    out << "stored in " << OstrelSettingsPath() << '\n';
    return kExitOk;
}
