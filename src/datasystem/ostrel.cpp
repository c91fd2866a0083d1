// The settings library: locations kept in Lumenda.ini (see ostrel.h and
// docs/locations.md), with the locations this process stored taking
// precedence over the file for this process.
#include "datasystem/ostrel.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "datasystem/LocationText.h"
#include "framework/File.h"
#include "framework/MakeDirectories.h"
#include "framework/PathParts.h"
#include "framework/ProfileFile.h"
#include "framework/UserFolders.h"

namespace {

constexpr const char* kFileName = "Lumenda.ini";

std::string g_lastError;
std::string g_settingsPath;

// Locations this process uses whatever the file says, by settings file,
// section and key (names compared without regard to case, as in the file).
std::map<std::string, GLOBAL_FILE_INFO> g_processLocations;

std::string NonEmptyEnv(const char* name) {
    return EnvironmentValue(name).value_or(std::string());
}

std::string SettingsDirectory() {
    std::string directory = NonEmptyEnv("LUMENDA_HOME");
    if (!directory.empty()) {
        return directory;
    }
    const Result<std::string> config = UserConfigHome();
    return (config.ok() ? config.value() : std::string("./.config")) + "/lumenda";
}

const std::string& SettingsPath() {
    std::string directory = SettingsDirectory();
    while (directory.size() > 1 && directory.back() == kNativeSeparator) {
        directory.pop_back();
    }
    g_settingsPath = directory +
                     (directory.size() == 1 && directory[0] == kNativeSeparator
                          ? ""
                          : std::string(1, kNativeSeparator)) +
                     kFileName;
    return g_settingsPath;
}

std::string Upper(const char* text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

std::string ProcessKey(const std::string& path, const char* section, const char* key) {
    return path + '\n' + Upper(section) + '\n' + Upper(key);
}

int32_t Fail(int32_t status, const std::string& message) {
    g_lastError = message;
    return status;
}

bool ValidNames(const char* section, const char* key) {
    return section != nullptr && key != nullptr && *section != '\0' && *key != '\0';
}

// An advisory lock (flock) on the settings file's directory, held for one
// read-modify-write of the file so that processes storing at the same time
// do not lose each other's keys. The directory, because the file itself is
// replaced on every store, and a lock file of its own would be left lying
// beside it. The lock goes with the descriptor: a process that dies
// releases it.
class SettingsLock {
public:
    // How long a store waits for another process's store to finish.
    static constexpr auto kWait = std::chrono::seconds(10);

    SettingsLock(const std::string& settingsPath, const std::string& directory) {
        Result<FileDescriptor> opened = OpenDirectory(directory);
        if (!opened.ok()) {
            m_status = opened.status().WithContext(settingsPath +
                                                   ": cannot open its directory to lock it");
            return;
        }
        const Status locked = LockFile(opened.value().Get(), LockMode::kExclusive, kWait);
        if (locked.ErrorNumber() == EWOULDBLOCK) {
            m_status = Status::Error(settingsPath +
                                     ": another process has kept its directory locked for 10 "
                                     "seconds; the file was not changed");
        } else if (!locked.ok()) {
            m_status = locked.WithContext(settingsPath + ": cannot lock its directory");
        } else {
            m_directory = std::move(opened).value();
        }
    }

    // Ok when the lock is held, else why not.
    const Status& GetStatus() const { return m_status; }

private:
    FileDescriptor m_directory;
    Status m_status;
};

// The location of KEY in the loaded PROFILE; false (INFO zero, reason in
// g_lastError) when its text does not fit the record.
bool LocationFromFile(const CProfileFile& profile, const char* section, const char* key,
                      GLOBAL_FILE_INFO& info) {
    const Status parsed = ostrel::ParseLocation(profile.GetString(section, key, ""), info);
    if (!parsed.ok()) {
        g_lastError = profile.GetPath() + ": [" + section + "] " + key + ": " + parsed.message() +
                      "; the location is taken as not configured";
    }
    return parsed.ok();
}

}  // namespace

extern "C" {

int32_t _MSGGetGlobalFile(const char* section, const char* key, int32_t flags,
                          GLOBAL_FILE_INFO* info) {
    g_lastError.clear();
    if (info == nullptr) {
        return Fail(OSTREL_E_INVALID, "no location record given");
    }
    std::memset(info, 0, sizeof *info);
    if (!ValidNames(section, key) || flags != 0) {
        return Fail(OSTREL_E_INVALID, "a section and a key are required, and flags must be 0");
    }
    const std::string& path = SettingsPath();
    const auto found = g_processLocations.find(ProcessKey(path, section, key));
    if (found != g_processLocations.end()) {
        *info = found->second;
        return OSTREL_OK;
    }
    const CProfileFile profile(path);
    if (profile.GetLoadState() == CProfileFile::LoadState::kIgnored) {
        return Fail(OSTREL_E_READ, profile.GetLoadMessage());
    }
    return LocationFromFile(profile, section, key, *info) ? OSTREL_OK : OSTREL_E_READ;
}

int32_t UseGlobalFileInProcess(const char* section, const char* key, const GLOBAL_FILE_INFO* info) {
    g_lastError.clear();
    if (!ValidNames(section, key) || info == nullptr) {
        return Fail(OSTREL_E_INVALID, "a section, a key and a location record are required");
    }
    const std::string key_ = ProcessKey(SettingsPath(), section, key);
    if (const Status terminated = ostrel::CheckTerminated(*info); !terminated.ok()) {
        // Nothing may end up in a place the caller did not ask for: the
        // process is left without a location for the key instead.
        GLOBAL_FILE_INFO none;
        std::memset(&none, 0, sizeof none);
        g_processLocations[key_] = none;
        return Fail(OSTREL_E_INVALID,
                    std::string("[") + section + "] " + key + ": " + terminated.message());
    }
    g_processLocations[key_] = *info;
    return OSTREL_OK;
}

int32_t StoreGlobalFile(const char* section, const char* key, const GLOBAL_FILE_INFO* info,
                        int32_t flag) {
    (void)flag;  // 1 is the only value in use; it asks for nothing else
    const int32_t used = UseGlobalFileInProcess(section, key, info);
    if (used != OSTREL_OK) {
        return used;
    }
    const std::string path = SettingsPath();
    const Result<std::string> text = ostrel::FormatLocation(*info);
    if (!text.ok()) {
        return Fail(OSTREL_E_INVALID, path + ": [" + section + "] " + key + ": " +
                                          text.status().message() + "; the file was not changed");
    }
    const std::string directory = FolderOf(path);
    if (!directory.empty()) {
        if (const Status made = MakeDirectories(directory); !made.ok()) {
            return Fail(OSTREL_E_WRITE, path + ": " + made.message());
        }
    }
    const SettingsLock lock(path, directory.empty() ? std::string("/") : directory);
    if (!lock.GetStatus().ok()) {
        return Fail(OSTREL_E_WRITE, lock.GetStatus().message());
    }
    // The data system's file: one that cannot be used as it is stays as it
    // is (never moved aside, emptied or rewritten with this key alone), and
    // so does a read-only one.
    CProfileFile profile(path);
    if (!profile.WriteString(section, key, text.value())) {
        return Fail(OSTREL_E_INVALID, profile.GetError());
    }
    const bool usable = profile.GetLoadState() != CProfileFile::LoadState::kIgnored;
    if (!profile.Save(CProfileFile::IgnoredFile::kLeaveAlone)) {
        return Fail(usable ? OSTREL_E_WRITE : OSTREL_E_READ, profile.GetError());
    }
    g_lastError.clear();
    return OSTREL_OK;
}

int32_t EnumGlobalFiles(const char* section, OstrelVisitor visit, void* context) {
    g_lastError.clear();
    if (section == nullptr || *section == '\0' || visit == nullptr) {
        return Fail(OSTREL_E_INVALID, "a section and a visitor are required");
    }
    const std::string path = SettingsPath();
    const CProfileFile profile(path);
    if (profile.GetLoadState() == CProfileFile::LoadState::kIgnored) {
        return Fail(OSTREL_E_READ, profile.GetLoadMessage());
    }
    std::vector<std::string> keys = profile.GetKeys(section);
    // A name with a zero byte would reach the visitor cut short.
    keys.erase(
        std::remove_if(keys.begin(), keys.end(),
                       [](const std::string& key) { return key.find('\0') != std::string::npos; }),
        keys.end());
    // Keys this process uses but the file lacks follow the file's keys.
    const std::string prefix = path + '\n' + Upper(section) + '\n';
    for (auto it = g_processLocations.lower_bound(prefix);
         it != g_processLocations.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
        const std::string key = it->first.substr(prefix.size());
        if (!profile.HasKey(section, key)) {
            keys.push_back(key);
        }
    }
    for (const std::string& key : keys) {
        GLOBAL_FILE_INFO info;
        std::memset(&info, 0, sizeof info);
        const auto found = g_processLocations.find(ProcessKey(path, section, key.c_str()));
        if (found != g_processLocations.end()) {
            info = found->second;
        } else {
            LocationFromFile(profile, section, key.c_str(), info);
        }
        visit(context, key.c_str(), &info);
    }
    return OSTREL_OK;
}

const char* OstrelSettingsPath(void) {
    return SettingsPath().c_str();
}

const char* OstrelLastError(void) {
    return g_lastError.c_str();
}

int32_t Korr2ldOstrelStandIn(void) {
    return 1;
}

}  // extern "C"
