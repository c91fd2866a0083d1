// What the program asks the user outside its own dialogs: message boxes and
// the open-file and save-file dialogs, which tests answer instead of a
// user; and the file status query.
//
// Texts are the program's 8-bit strings in the locale's encoding, as paths
// are to the file system.
#pragma once

#include <string>

#include "ui/platform/WinDefs.h"

// A modal message box (CDialog::MessageBox shows one over a dialog) with
// TEXT, the CAPTION as its title, the buttons, icon and default button of
// TYPE (MB_OK or MB_YESNO; MB_ICONQUESTION, MB_ICONEXCLAMATION or no icon;
// MB_DEFBUTTON1 or 2), DETAIL (when not empty) as further text below and
// DETAILS (when not empty) behind a "Show Details..." button. Once shown,
// the details are a field named "Details" that Tab reaches and the keyboard
// scrolls, like any other control. Returns the button pressed: IDOK, IDYES
// or IDNO; closing a Yes/No box without a choice answers No.
int AfxMessageBox(const std::string& text, const std::string& caption, UINT type,
                  const std::string& detail = std::string(),
                  const std::string& details = std::string());

// What a file dialog is asked to show. An open-file dialog takes only an
// existing file, a folder chooser an existing folder; a save-file dialog
// takes an existing file without asking, as the caller asks about replacing
// it when it is about to.
struct FileDialogRequest {
    bool open = true;     // false: a save-file dialog
    bool folder = false;  // true: a folder chooser (open, no filter)
    std::string title;
    std::string initialDir{};  // empty: none given
    std::string proposedName{};
    // Kinds of file separated by ";;", each a description that ends with
    // its patterns in parentheses: "Text Files (*.txt);;All Files (*)".
    std::string filter;
    std::string defaultExt;
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
    std::string text;
    std::string caption;
    std::string detail;
    std::string details;
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
    virtual int Answer(const MessageBoxRequest& request) = 0;          // IDOK, IDYES or IDNO
    virtual std::string Answer(const FileDialogRequest& request) = 0;  // empty: cancelled

    static inline ScriptedUser* s_pInstalled = nullptr;
};
