// UserFolders.h on POSIX systems: the XDG base directory rules.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "framework/UserFolders.h"

namespace {

// The account's entry of the user who runs the program, or nothing.
template <typename Field>
std::optional<std::string> AccountField(Field field) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && field(*found) != nullptr && field(*found)[0] != '\0') {
        return std::string(field(*found));
    }
    return std::nullopt;
}

// $VARIABLE/korr2ld, or $HOME/IN_HOME/korr2ld; a failure naming both when
// neither counts.
Result<std::string> UserFolder(const char* variable, const char* inHome) {
    if (std::optional<std::string> folder = AbsoluteFolderFromEnv(variable)) {
        return *folder + "/korr2ld";
    }
    if (const std::optional<std::string> home = AbsoluteFolderFromEnv("HOME")) {
        return *home + "/" + inHome + "/korr2ld";
    }
    return Status::Error(std::string("neither ") + variable + " nor HOME names an absolute folder");
}

}  // namespace

std::optional<std::string> EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

Result<std::string> HomeFolder() {
    if (std::optional<std::string> home = EnvironmentValue("HOME"); home && !home->empty()) {
        return *home;
    }
    if (std::optional<std::string> home = AccountField([](const passwd& p) { return p.pw_dir; })) {
        return *home;
    }
    return Status::Error("neither HOME nor the user's account names a home folder");
}

Result<std::string> UserCacheFolder() {
    return UserFolder("XDG_CACHE_HOME", ".cache");
}

Result<std::string> UserStateFolder() {
    return UserFolder("XDG_STATE_HOME", ".local/state");
}

Result<std::string> UserConfigHome() {
    // A relative XDG_CONFIG_HOME is invalid and to be ignored.
    if (std::optional<std::string> folder = AbsoluteFolderFromEnv("XDG_CONFIG_HOME")) {
        return *folder;
    }
    const Result<std::string> home = HomeFolder();
    if (!home.ok()) {
        return home.status();
    }
    return home.value() + "/.config";
}

Result<std::string> UserConfigFolder() {
    return UserConfigHome();
}

std::string UserName() {
    if (std::optional<std::string> name = AccountField([](const passwd& p) { return p.pw_name; })) {
        return *name;
    }
    if (std::optional<std::string> user = EnvironmentValue("USER"); user && !user->empty()) {
        return *user;
    }
    return std::to_string(getuid());
}
