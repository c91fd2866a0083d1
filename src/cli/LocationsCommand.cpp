#include "cli/LocationsCommand.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>

#include "cli/ExitCode.h"
#include "cli/TextEscape.h"
#include "convert/LocationSetting.h"
#include "datasystem/DataSystemEntries.h"
#include "datasystem/FixedField.h"
#include "datasystem/LocationFields.h"
#include "datasystem/ostrel.h"
#include "framework/TextClass.h"

namespace {

// A key or value as list and get print it: escaped as show --format tsv,
// and every other control byte and DEL as "\xNN" (a backslash is already
// "\\", so this reads back), so that a value edited into Lumenda.ini by
// hand cannot move the cursor or recolour the terminal.
std::string EscapeValue(std::string_view text) {
    std::string escaped;
    for (const char c : EscapeForTsv(text)) {
        if (IsControl(c)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
            escaped += hex;
        } else {
            escaped += c;
        }
    }
    return escaped;
}

void PrintLocation(std::ostream& out, std::string_view key, const GLOBAL_FILE_INFO& info) {
    out << EscapeValue(key) << '\t' << EscapeValue(FixedFieldText(info.szDirectory)) << '\t'
        << EscapeValue(FixedFieldText(info.szExtension)) << '\t'
        << EscapeValue(FixedFieldText(info.szName)) << '\n';
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
        "escaped as show --format tsv, and other control bytes as \\xNN.");
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
        KnownLocationKeyList() + ", unless --any-key is given.");
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

namespace {

// The settings file, as far as the settings library names it.
std::string SettingsPlace(const DataSystemEntries& ds) {
    return ds.OstrelSettingsPath != nullptr ? std::string(ds.OstrelSettingsPath())
                                            : std::string("the data system's settings");
}

// Without a way to list every key: the keys Korr2LD uses, read one by one.
int ListKorr2ldKeys(const DataSystemEntries& ds, std::ostream& out, std::ostream& err) {
    int count = 0;
    for (const char* key : kKorr2ldLocationKeys) {
        GLOBAL_FILE_INFO info;
        std::memset(&info, 0, sizeof info);
        if (ds.MSGGetGlobalFile(kLocationSection, key, 0, &info) != OSTREL_OK) {
            return Refuse(err, SettingsLibraryError(ds, "the locations could not be read"));
        }
        if (info.szDirectory[0] != '\0') {
            PrintLocation(out, key, info);
            ++count;
        }
    }
    if (count == 0) {
        err << "note: none of the keys " << KnownLocationKeyList() << " is configured in "
            << SettingsPlace(ds) << '\n';
    }
    return kExitOk;
}

}  // namespace

int RunLocationsList(std::ostream& out, std::ostream& err) {
    const DataSystemEntries& ds = DataSystem();
    if (ds.EnumGlobalFiles == nullptr) {
        return ListKorr2ldKeys(ds, out, err);
    }
    struct Listing {
        std::ostream& out;
        int count;
    } listing{out, 0};
    const auto visit = [](void* context, const char* key, const GLOBAL_FILE_INFO* info) {
        auto& target = *static_cast<Listing*>(context);
        PrintLocation(target.out, key, *info);
        ++target.count;
    };
    if (ds.EnumGlobalFiles(kLocationSection, visit, &listing) != OSTREL_OK) {
        return Refuse(err, SettingsLibraryError(ds, "the locations could not be read"));
    }
    if (listing.count == 0) {
        err << "note: no locations are configured in " << SettingsPlace(ds) << '\n';
    }
    return kExitOk;
}

int RunLocationsGet(const std::string& key, std::ostream& out, std::ostream& err) {
    const DataSystemEntries& ds = DataSystem();
    GLOBAL_FILE_INFO info;
    std::memset(&info, 0, sizeof info);
    if (ds.MSGGetGlobalFile(kLocationSection, key.c_str(), 0, &info) != OSTREL_OK) {
        return Refuse(err, SettingsLibraryError(ds, "the locations could not be read"));
    }
    if (info.szDirectory[0] == '\0') {
        return Refuse(err, EscapeForTable(key) + " is not configured in " + SettingsPlace(ds));
    }
    PrintLocation(out, key, info);
    return kExitOk;
}

int RunLocationsSet(const LocationSetting& setting, std::ostream& out, std::ostream& err) {
    if (const Status asked = CheckLocationSetting(setting); !asked.ok()) {
        err << "korr2ld-cli locations set: " << asked.message() << '\n';
        return kExitUsage;
    }
    if (const Status settable = LocationsSettable(); !settable.ok()) {
        err << "korr2ld-cli locations set: " << settable.message() << '\n';
        return kExitFailure;
    }
    const Result<PreparedLocation> location = PrepareLocation(setting);
    if (!location.ok()) {
        return Refuse(err, location.status().message());
    }
    if (const Status stored = StoreLocation(location.value()); !stored.ok()) {
        return Refuse(err, stored.message());
    }
    if (KnownLocationKey(setting.key) == nullptr) {
        err << "note: Korr2LD itself uses only the keys " << KnownLocationKeyList() << '\n';
    }
    PrintLocation(out, location.value().key, location.value().info);
    out << "stored in " << SettingsPlace(DataSystem()) << '\n';
    return kExitOk;
}
