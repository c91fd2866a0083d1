// The command line of korr2ld, read before the dialog's application
// exists, so that --help, --version and a wrong argument are answered
// without a display:
//
//   korr2ld [FILE]
//
// FILE is a Korrin export to start with: the dialog opens with it chosen,
// as if the user had picked it with the input's Select... button.
#pragma once

#include <QStringList>
#include <iosfwd>
#include <string>

struct StartRequest {
    bool bRun = false;    // open the dialog; otherwise exit with nExitCode
    int nExitCode = 0;    // 0 after --help or --version, 2 for a usage error
    std::string strFile;  // the export named on the command line, or empty
};

// Reads ARGUMENTS (the program's path first); a core application must
// exist. Help and version go to OUT, errors to ERR, naming the program.
StartRequest ParseCommandLine(const QStringList& arguments, std::ostream& out, std::ostream& err);

// TRUE when a window can be shown: a display is named ($DISPLAY or
// $WAYLAND_DISPLAY) or a Qt platform is chosen ($QT_QPA_PLATFORM).
// Without either, Qt would abort the program while starting.
bool HasGraphicalSession();
