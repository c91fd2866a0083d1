#include "convert/LocationSetting.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "datasystem/DataSystemEntries.h"
#include "datasystem/FixedField.h"
#include "datasystem/LocationFields.h"
#include "framework/AsciiCase.h"
#include "framework/PathParts.h"
#include "util/PrintableEscape.h"

namespace {

// Keys are upper-case words joined by underscores, as the data system's are.
bool IsWellFormedKey(const std::string& key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
}

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

}  // namespace

const char* KnownLocationKey(const std::string& key) {
    const auto found =
        std::find_if(std::begin(kKorr2ldLocationKeys), std::end(kKorr2ldLocationKeys),
                     [&](const char* known) { return SameIgnoringAsciiCase(key, known); });
    return found != std::end(kKorr2ldLocationKeys) ? *found : nullptr;
}

std::string KnownLocationKeyList() {
    constexpr std::size_t count = std::size(kKorr2ldLocationKeys);
    std::string list;
    for (std::size_t i = 0; i < count; ++i) {
        list += i == 0 ? "" : i + 1 == count ? " and " : ", ";
        list += kKorr2ldLocationKeys[i];
    }
    return list;
}

Status CheckLocationSetting(const LocationSetting& setting) {
    const char* known = KnownLocationKey(setting.key);
    if (known == nullptr && !setting.anyKey) {
        return Status::Error("the key '" + EscapeToPrintableAscii(setting.key) +
                             "' is not one that Korr2LD uses: " + KnownLocationKeyList() +
                             " (--any-key stores another)");
    }
    if (known == nullptr && !IsWellFormedKey(setting.key)) {
        return Status::Error("the key '" + EscapeToPrintableAscii(setting.key) +
                             "' is not a key of the data system (upper-case letters, digits "
                             "and '_')");
    }
    if (setting.extension &&
        std::any_of(setting.extension->begin(), setting.extension->end(), IsSeparator)) {
        return Status::Error("the extension '" + EscapeToPrintableAscii(*setting.extension) +
                             "' holds a directory separator");
    }
    return Status::Ok();
}

Result<PreparedLocation> PrepareLocation(const LocationSetting& setting) {
    if (Status asked = CheckLocationSetting(setting); !asked.ok()) {
        return asked;
    }
    const char* known = KnownLocationKey(setting.key);
    PreparedLocation location{known != nullptr ? std::string(known) : setting.key, {}};

    std::string directory = FullPath(setting.directory, kMaxPath);
    if (directory.empty()) {
        return Status::Error("the directory " + setting.directory + " cannot be made absolute");
    }
    std::error_code error;
    const auto status = std::filesystem::status(directory, error);
    if (!std::filesystem::exists(status)) {
        return Status::Error("the directory " + directory + " does not exist; nothing was stored");
    }
    if (!std::filesystem::is_directory(status)) {
        return Status::Error(directory + " is not a directory; nothing was stored");
    }
    // Stored with its final separator, this system's (FullPath gives the
    // path with it), so that a Windows folder does not end in '/'.
    if (!IsSeparator(directory.back())) {
        directory += kNativeSeparator;
    }
    GLOBAL_FILE_INFO& info = location.info;
    if (directory.size() >= sizeof info.szDirectory) {
        return Status::Error("the directory " + directory +
                             " is longer than the data system accepts (" +
                             std::to_string(sizeof info.szDirectory - 1) + " characters)");
    }

    std::memset(&info, 0, sizeof info);
    if (DataSystem().MSGGetGlobalFile(kLocationSection, location.key.c_str(), 0, &info) !=
        OSTREL_OK) {
        return Status::Error(SettingsLibraryError(DataSystem(), "the locations could not be read"));
    }
    std::string extension =
        setting.extension.value_or(std::string(FixedFieldText(info.szExtension)));
    if (!extension.empty() && extension.front() == '.') {
        extension.erase(0, 1);
    }
    if (!WriteFixedField(info.szDirectory, directory) ||
        !WriteFixedField(info.szExtension, extension)) {
        return Status::Error("the extension is longer than the data system accepts");
    }
    return location;
}

Status LocationsSettable() {
    if (!DataSystem().ours) {
        return Status::Error(kLocationsSetInDataSystem);
    }
    return Status::Ok();
}

Status StoreLocation(const PreparedLocation& location) {
    if (const Status settable = LocationsSettable(); !settable.ok()) {
        return settable;
    }
    if (DataSystem().StoreGlobalFile(kLocationSection, location.key.c_str(), &location.info, 1) !=
        OSTREL_OK) {
        return Status::Error(
            SettingsLibraryError(DataSystem(), "the location could not be stored") +
            "; the settings file was not changed");
    }
    return Status::Ok();
}
