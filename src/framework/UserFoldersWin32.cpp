// UserFolders.h on Windows: the user's application data folders.
#include <windows.h>

#include <vector>

#include "framework/UserFolders.h"
#include "framework/Win32Text.h"

namespace {

// %VARIABLE%\Korr2LD; a failure naming it when it is not an absolute folder.
Result<std::string> ProgramFolderIn(const char* variable) {
    if (std::optional<std::string> folder = AbsoluteFolderFromEnv(variable)) {
        return *folder + "\\Korr2LD";
    }
    return Status::Error(std::string(variable) + " does not name an absolute folder");
}

}  // namespace

std::optional<std::string> EnvironmentValue(const char* name) {
    const std::wstring wide = WideFromUtf8(name);
    const DWORD size = GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
    if (size == 0) {
        return std::nullopt;
    }
    std::wstring value(size, L'\0');
    const DWORD used = GetEnvironmentVariableW(wide.c_str(), value.data(), size);
    if (used >= size) {
        return std::nullopt;
    }
    value.resize(used);
    return Utf8FromWide(value);
}

Result<std::string> HomeFolder() {
    if (std::optional<std::string> home = AbsoluteFolderFromEnv("USERPROFILE")) {
        return *home;
    }
    return Status::Error("USERPROFILE does not name an absolute folder");
}

Result<std::string> UserCacheFolder() {
    return ProgramFolderIn("LOCALAPPDATA");
}

Result<std::string> UserStateFolder() {
    return ProgramFolderIn("LOCALAPPDATA");
}

Result<std::string> UserConfigHome() {
    if (std::optional<std::string> folder = AbsoluteFolderFromEnv("APPDATA")) {
        return *folder;
    }
    return Status::Error("APPDATA does not name an absolute folder");
}

Result<std::string> UserConfigFolder() {
    return ProgramFolderIn("APPDATA");
}

std::string UserName() {
    wchar_t name[257];
    DWORD size = sizeof name / sizeof name[0];
    if (GetUserNameW(name, &size) && size > 1) {
        return Utf8FromWide(std::wstring_view(name, size - 1));
    }
    if (std::optional<std::string> user = EnvironmentValue("USERNAME"); user && !user->empty()) {
        return *user;
    }
    return "?";
}
