// CConvertDlg: the program's main window, a modal dialog in which the user
// picks the Korrin input file and the Sample List output file, names the
// MS method, inlet method, macro and data file, and converts.
//
// The six texts are the dialog's state. The application loads them before
// DoModal and saves them after it; they change only at exchanges from the
// controls (Convert, select input, OK), at the two file choices and through
// the Conversion Options dialog. Closing takes nothing from the controls.
//
// Conversion Options, Preview, Method Folders and the About box are in the
// dialog's menu bar and its context menu, with their shortcuts. While a
// conversion runs the window stays painted and its title counts the
// records (ConversionProgress); keys and clicks wait until it is done.
#pragma once

#include <string>
#include <vector>

#include "ui/ResourceIds.h"
#include "ui/platform/Dialog.h"

class CSLConvert;
struct ConversionOutcome;

class CConvertDlg : public CDialog {
public:
    static constexpr UINT IDD = IDD_KORR2LD_DIALOG;

    explicit CConvertDlg(CDialog* pParent = nullptr);
    ~CConvertDlg() override;

    std::string m_strInputFile;   // full path of the Korrin input file
    std::string m_strOutputFile;  // full path of the Sample List (*.sdb)
    std::string m_strMSFile;      // MS method name
    std::string m_strDataFile;    // data file base name
    std::string m_strInletFile;   // inlet method name
    std::string m_strMacroFile;   // macro name
    HICON m_hIcon;                // the application icon

    // Makes the dialog, once open, choose PATH as its input as the input's
    // Select... button does when the user picks that file.
    void SetStartInput(const std::string& strPath) { m_strStartInput = strPath; }

    // The image the desktop shows for the minimised window.
    HICON OnQueryDragIcon() const { return m_hIcon; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnSysCommand(UINT nID, LPARAM lParam) override;
    BOOL OnCommand(UINT nID) override;

    void OnConvert();
    void OnSelectInput();
    void OnSelectOutput();
    void OnOptions();
    void OnPreview();
    void OnMethodFolders();

    // An export dropped onto the dialog is taken as if chosen with the
    // input's Select... button. Only one regular file is an export: several
    // files, a web address, a folder, a device or a named pipe are refused
    // at the drop, and so is anything while a conversion runs.
    BOOL OnDropFiles(const std::vector<std::string>& paths, BOOL bDrop) override;

private:
    // The input file chosen (made absolute here): the input, the output
    // with the input's title (util/OutputName.h) and "sdb", the data file
    // name, then the exchange towards the controls. A title that cannot
    // name a Sample List is refused with a message, and nothing changes.
    void TakeInputFile(const std::string& strChosen);
    // A conversion with the dialog's values (not yet taken from the
    // controls).
    void SetUpConversion(CSLConvert& convert) const;
    // Offers in each method list the files of its data system location, in
    // place of what it offered; a location that is not set is said in the
    // empty field ("no MS method folder set").
    void FillMethodLists();
    // The menu bar and the context menu, with their shortcuts.
    void AddMenus();
    // Runs CONVERT under the wait cursor, the window kept painted and its
    // title counting the records.
    ConversionOutcome RunShowingProgress(CSLConvert& convert);
    // Shows the four names in their fields, as the exchange towards the
    // controls does, leaving the paths and the Convert button alone.
    void ShowNames();

    std::string m_strStartInput;  // chosen once the dialog is open; empty: none
    BOOL m_bConverting = FALSE;   // a conversion runs (its progress keeps the window painted)
};
