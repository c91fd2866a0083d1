// CFileDialog: the common open-file and save-file dialogs.
//
// Construction takes what the dialog proposes; m_ofn adds the initial
// directory and the title before DoModal. On IDOK the chosen file is
// available as its full path and as its title (its name without directory
// and without its last extension).
//
// The filter is given as the dialogs' resources write it: pairs of
// description and pattern separated by "|" and ended by "||", blanks around
// the separators allowed. It is shown with Qt's filter syntax, where the
// pattern "*.*" (every file) becomes "*".
//
// The save dialog takes an existing file without asking: the caller asks
// about replacing it, when it is about to. The dialogs leave the process's
// current directory alone.
#pragma once

#include <QString>
#include <string>

#include "ui/platform/WinDefs.h"

class QWidget;

class CFileDialog {
public:
    CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const std::string& fileName,
                DWORD dwFlags, const char* lpszFilter, QWidget* pParentWnd = nullptr);

    // IDOK when the user chose a file, IDCANCEL otherwise.
    INT_PTR DoModal();

    std::string GetPathName() const;
    std::string GetFileTitle() const;

    // What the dialog gives back when the user chooses PATH: its full path
    // (absolute against the current directory) and its title.
    static std::string FullPathOf(const std::string& path);
    static std::string FileTitleOf(const std::string& path);

    // "Text Files (*.txt) | *.txt | All Files (*.*) | *.* ||" ->
    // "Text Files (*.txt);;All Files (*)".
    static QString TranslateFilter(const std::string& filter);

    struct OpenFileName {
        DWORD Flags = 0;
        std::string lpstrInitialDir;  // empty: none given
        std::string lpstrTitle;       // empty: the dialog's own title
    } m_ofn;

private:
    BOOL m_bOpenFileDialog;
    std::string m_strDefExt;
    std::string m_strFileName;  // proposed, then chosen
    std::string m_strFilter;
    QWidget* m_pParentWnd;
};
