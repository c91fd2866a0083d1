#include "ui/platform/WinApp.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

#include "framework/ProfileFile.h"
#include "ui/platform/TextCodec.h"

CWinApp::CWinApp() = default;

CWinApp::~CWinApp() = default;

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return 0;
}

BOOL CWinApp::Enable3dControls() {
    return TRUE;
}

std::string CWinApp::GetProfilePath() const {
    if (m_pszProfileName == nullptr || *m_pszProfileName == '\0') {
        return std::string();
    }
    const QString directory =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return EncodePath(QDir(directory).filePath(QString::fromLatin1(m_pszProfileName)));
}

std::string CWinApp::GetProfileString(const char* lpszSection, const char* lpszEntry,
                                      const char* lpszDefault) {
    const std::string path = GetProfilePath();
    if (path.empty()) {
        return lpszDefault;
    }
    const CProfileFile profile(path);
    if (profile.GetLoadState() == CProfileFile::LoadState::kIgnored) {
        const std::string& problem = profile.GetLoadMessage();
        if (std::find(m_profileProblems.begin(), m_profileProblems.end(), problem) ==
            m_profileProblems.end()) {
            m_profileProblems.push_back(problem);
        }
    }
    return profile.GetString(lpszSection, lpszEntry, lpszDefault);
}

BOOL CWinApp::WriteProfileString(const char* lpszSection, const char* lpszEntry,
                                 const std::string& value) {
    const std::string path = GetProfilePath();
    if (path.empty()) {
        return FALSE;
    }
    QDir().mkpath(QFileInfo(DecodePath(path)).absolutePath());
    CProfileFile profile(path);
    if (!profile.WriteString(lpszSection, lpszEntry, value)) {
        return FALSE;
    }
    return profile.Save();
}
