// CConvertApp: the application object. Its start-up runs the whole
// program: it loads the six remembered values of the main dialog from the
// profile "Korr2LD.INI", runs the dialog as the application's main window
// and, when it ends with a result above 0 (OK, or Cancel from Close,
// Escape or the close box), saves the six values back. No message loop
// follows.
//
// The profile is an INI file with a bare name (m_pszProfileName) in the
// user's settings folder (UserConfigFolder: $XDG_CONFIG_HOME, by default
// ~/.config; %APPDATA%\Korr2LD on Windows, where a first start takes the
// values over from the file Windows' profile service kept). Every read and every write goes to the
// file, as profile strings do: a missing file, section or key reads as the default, and a write
// replaces the file atomically, keeping every other section, key and comment. A file that exists
// but cannot be used as a profile reads as missing; the user is told why when the dialog opens, and
// the first write keeps the file as "<name>.bad" before replacing it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "framework/Types.h"

class CConvertApp {
public:
    // Runs the dialog; returns FALSE: no message loop follows.
    BOOL InitInstance();

    // Loads the data system's own libraries from where korr2ld-cli takes
    // them too ($KORR2LD_DATA_SYSTEM, Korr2LD.INI, on Windows the program's
    // folder), when one of them names a folder; FALSE, after telling the
    // user why, when they cannot be loaded from there.
    BOOL LoadDataSystemLibraries();

    std::string GetProfileString(const char* lpszSection, const char* lpszEntry,
                                 const char* lpszDefault);
    BOOL WriteProfileString(const char* lpszSection, const char* lpszEntry,
                            const std::string& value);
    // One (key, value) to write.
    using ProfileEntry = std::pair<const char*, std::string>;
    // Writes every entry of ENTRIES under SECTION, in order, in one save:
    // a crash or power cut leaves the file with all of them or none. FALSE
    // when an entry could not be written (the others are) or the save failed.
    BOOL WriteProfileStrings(const char* lpszSection, const std::vector<ProfileEntry>& entries);
    // The full path of the profile file, or empty without a profile name.
    std::string GetProfilePath() const;

    const char* m_pszProfileName = nullptr;
    // The Korrin export named on the command line, which the dialog starts
    // with as its chosen input; empty: none, the remembered input stands.
    std::string m_strStartFile;

private:
    std::vector<std::string> m_profileProblems;  // why the profile was ignored, each once
};
