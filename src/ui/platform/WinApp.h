// CWinApp: the application object's base, with the profile service.
//
// The profile is an INI file with a bare name (m_pszProfileName); the
// desktop's configuration directory holds it ($XDG_CONFIG_HOME, by default
// ~/.config). Every read and every write goes to the file, as profile
// strings do: a missing file, section or key reads as the default, and a
// write replaces the file atomically, keeping every other section, key and
// comment.
//
// A file that exists but cannot be used as a profile reads as missing; the
// reason is kept for the application to tell the user (GetProfileProblems)
// and the first write keeps the file as "<name>.bad" before replacing it.
#pragma once

#include <string>
#include <vector>

#include "ui/platform/WinDefs.h"

class QWidget;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();

    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Runs the application; FALSE: no message loop follows.
    virtual BOOL InitInstance();
    // Returns the process's exit code.
    virtual int ExitInstance();

    // The three-dimensional control look is the desktop's own; nothing to do.
    BOOL Enable3dControls();

    std::string GetProfileString(const char* lpszSection, const char* lpszEntry,
                                 const char* lpszDefault);
    BOOL WriteProfileString(const char* lpszSection, const char* lpszEntry,
                            const std::string& value);

    // The full path of the profile file, or empty without a profile name.
    std::string GetProfilePath() const;
    // Why the profile file was ignored when read, each reason once.
    const std::vector<std::string>& GetProfileProblems() const { return m_profileProblems; }

    const char* m_pszProfileName = nullptr;
    QWidget* m_pMainWnd = nullptr;

private:
    std::vector<std::string> m_profileProblems;
};
