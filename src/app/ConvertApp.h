// CConvertApp: the application object. Its start-up runs the whole
// program: it loads the six remembered values of the main dialog from the
// profile "Korr2LD.INI", runs the dialog as the application's main window
// and, when it ends with a result above 0 (OK, or Cancel from Close,
// Escape or the close box), saves the six values back. No message loop
// follows.
#pragma once

#include <string>

#include "ui/platform/WinApp.h"

class CConvertApp : public CWinApp {
public:
    CConvertApp();

    BOOL InitInstance() override;

    // The Korrin export named on the command line, which the dialog starts
    // with as its chosen input; empty: none, the remembered input stands.
    std::string m_strStartFile;
};
