// What the program asks the user outside its own dialogs: message boxes and
// the open-file and save-file dialogs; the file status query; and the
// script through which tests answer the boxes and dialogs instead of a user.
#pragma once

#include <QString>
#include <deque>
#include <string>
#include <vector>

#include "ui/platform/WinDefs.h"

class QWidget;

// Shows a modal message box over OWNER with TEXT, the CAPTION as its title,
// the buttons, icon and default button of TYPE (MB_OK or MB_YESNO;
// MB_ICONQUESTION, MB_ICONEXCLAMATION or no icon; MB_DEFBUTTON1 or 2), DETAIL
// (when not empty) as further text below and DETAILS (when not empty)
// behind a "Show Details..." button. Returns the button pressed: IDOK, IDYES
// or IDNO; closing a Yes/No box without a choice answers No.
int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption, UINT type,
                   const QString& detail = QString(), const QString& details = QString());

// What a file dialog is asked to show. An open-file dialog takes only an
// existing file; a save-file dialog takes an existing one without asking,
// as the caller asks about replacing it when it is about to.
struct FileDialogRequest {
    bool open = true;  // false: a save-file dialog
    QString title;
    QString initialDir;  // empty: none given
    QString proposedName;
    QString filter;  // Qt's syntax: "Text Files (*.txt);;All Files (*)"
    QString defaultExt;
};

// Runs the file dialog REQUEST describes; returns the full path of the
// chosen file, or an empty string when the user cancelled. The dialogs
// leave the process's current directory alone.
std::string RunFileDialog(const FileDialogRequest& request);

// PATH made absolute against the current directory, and its title: its
// name without directory and without its last extension.
std::string FullPathOf(const std::string& path);
std::string FileTitleOf(const std::string& path);

// TRUE when a file system entry named PATH exists: a file, a directory or
// any other kind, a link even when it points nowhere. An empty path names
// nothing.
BOOL FileEntryExists(const std::string& path);

// What a message box was asked to show.
struct MessageBoxRequest {
    QString text;
    QString caption;
    QString detail;
    QString details;
    UINT type = 0;
};

// The tests' seam. While a script runs, no message box or file dialog is
// shown: each is recorded and takes the next answer scripted for its kind;
// without one, a message box answers with its default button and a file
// dialog is cancelled. A modal dialog without a test's hook
// (CDialog::SetModalHook) ends with -1 at once. No test waits for a window
// that nobody will close.
class CUiTestScript {
public:
    static void Start() {  // no answers, no records yet
        Stop();
        Current().active = true;
    }
    static void Stop() { Current() = {}; }
    static bool IsActive() { return Current().active; }

    static void AnswerMessageBox(int answer) { Current().messageAnswers.push_back(answer); }
    static void AcceptFileDialog(const QString& path) { Current().fileAnswers.push_back(path); }
    static void CancelFileDialog() { AcceptFileDialog(QString()); }

    static const std::vector<MessageBoxRequest>& MessageBoxes() { return Current().messageBoxes; }
    static const std::vector<FileDialogRequest>& FileDialogs() { return Current().fileDialogs; }

    // The running script, as the boxes and dialogs answer from it.
    struct State {
        bool active = false;
        std::deque<int> messageAnswers;
        std::deque<QString> fileAnswers;  // an empty path cancels
        std::vector<MessageBoxRequest> messageBoxes;
        std::vector<FileDialogRequest> fileDialogs;
    };
    static State& Current() {
        static State state;
        return state;
    }
};
