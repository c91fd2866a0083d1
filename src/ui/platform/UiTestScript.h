// CUiTestScript: the seam through which tests answer message boxes and file
// dialogs instead of a user.
//
// While a script is active no message box or file dialog is shown: each
// one takes the next scripted answer of its kind and is recorded with
// everything it was asked to show. A box or dialog for which no answer was
// scripted is recorded as unscripted and answered with the message box's
// default button, or by cancelling the file dialog, so a test never waits
// for a window that nobody will close.
#pragma once

#include <QString>
#include <deque>
#include <vector>

#include "ui/platform/WinDefs.h"

struct MessageBoxRequest {
    QString text;
    QString caption;
    QString detail;   // shown below the text; empty when none
    QString details;  // behind "Show Details..."; empty when none
    UINT type = 0;    // MB_ flags: buttons, icon and default button
    int answer = 0;   // unscripted: the default button's
    bool scripted = false;
};

struct FileDialogRequest {
    bool open = true;  // open-file dialog; false: save-file dialog
    QString title;
    QString initialDir;  // empty: none given
    QString proposedName;
    QString filter;  // as given to Qt ("Text Files (*.txt);;All Files (*)")
    QString defaultExt;
    DWORD flags = 0;
    bool accepted = false;
    QString path;  // the chosen path when accepted
    bool scripted = false;
};

class CUiTestScript {
public:
    // Starts a script with no answers and no records; Stop ends it.
    static void Start();
    static void Stop();
    static bool IsActive();

    static void AnswerMessageBox(int answer);
    static void AcceptFileDialog(const QString& path);
    static void CancelFileDialog();

    static const std::vector<MessageBoxRequest>& MessageBoxes();
    static const std::vector<FileDialogRequest>& FileDialogs();
    // Answers scripted but not asked for.
    static std::size_t PendingAnswers();

    // For the wrappers: record REQUEST and fill in its answer (a message
    // box's keeps the default button's when none was scripted).
    static void Ask(MessageBoxRequest& request);
    static void Ask(FileDialogRequest& request);

private:
    struct FileAnswer {
        bool accepted;
        QString path;
    };
    struct State {
        bool active = false;
        std::deque<int> messageAnswers;
        std::deque<FileAnswer> fileAnswers;
        std::vector<MessageBoxRequest> messageBoxes;
        std::vector<FileDialogRequest> fileDialogs;
    };
    static State& Current();
};
