// What the program asks the user outside its own dialogs: message boxes and
// the open-file and save-file dialogs, which tests answer instead of a
// user; and the file status query.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "ui/platform/WinDefs.h"

class QMessageBox;
class QWidget;

// Shows a modal message box over OWNER with TEXT, the CAPTION as its title,
// the buttons, icon and default button of TYPE (MB_OK or MB_YESNO;
// MB_ICONQUESTION, MB_ICONEXCLAMATION or no icon; MB_DEFBUTTON1 or 2), DETAIL
// (when not empty) as further text below and DETAILS (when not empty)
// behind a "Show Details..." button. Once shown, the details are a field
// named "Details" that Tab reaches and the keyboard scrolls, like any other
// control. Returns the button pressed: IDOK, IDYES or IDNO; closing a Yes/No
// box without a choice answers No.
int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption, UINT type,
                   const QString& detail = QString(), const QString& details = QString());

// What a file dialog is asked to show. An open-file dialog takes only an
// existing file, a folder chooser an existing folder; a save-file dialog
// takes an existing file without asking, as the caller asks about replacing
// it when it is about to.
struct FileDialogRequest {
    bool open = true;     // false: a save-file dialog
    bool folder = false;  // true: a folder chooser (open, no filter)
    QString title;
    QString initialDir{};  // empty: none given
    QString proposedName{};
    QString filter;  // Qt's syntax: "Text Files (*.txt);;All Files (*)"
    QString defaultExt;
};

// Runs the file dialog REQUEST describes; returns the full path of the
// chosen file, or an empty string when the user cancelled. The dialogs
// leave the process's current directory alone.
std::string RunFileDialog(const FileDialogRequest& request);

// PATH made absolute against the current directory (FullPath, framework/
// PathParts.h, '/' the only separator); PATH itself when it cannot be.
std::string FullPathOf(const std::string& path);

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

// The button that Enter presses in a message box of TYPE.
int DefaultAnswer(UINT type);

// The tests' seam. While a stand-in for the user is installed, no message
// box or file dialog is shown: each is put to the stand-in instead, and a
// modal dialog without a test's hook (CDialog::SetModalHook) ends with -1
// at once, so that no test waits for a window nobody will close.
class ScriptedUser {
public:
    virtual ~ScriptedUser() = default;
    virtual int Answer(const MessageBoxRequest& request) = 0;      // IDOK, IDYES or IDNO
    virtual QString Answer(const FileDialogRequest& request) = 0;  // empty: cancelled

    static inline ScriptedUser* s_pInstalled = nullptr;
};

// For a test that acts on a message box as a user would: while HOOK is
// set, a message box is put to the installed stand-in as before and then
// shown for real, HOOK acting on it from its own event loop; a box HOOK
// leaves open is closed with its default answer.
using MessageBoxHook = std::function<void(QMessageBox&)>;
void SetMessageBoxHook(MessageBoxHook hook);
