// CMethodFoldersDlg: the Method Folders dialog, which shows and sets where
// the data system keeps MS methods, inlet methods and macros: the
// locations "MS_FUNC_DB", "LC_DB" and "MACRO", a folder and the files'
// extension each, through the settings library, with the rules and
// messages of `korr2ld-cli locations set` (convert/LocationSetting.h).
//
// It reads the three locations when it opens. OK takes the rows and stores
// those that the user changed: every changed row is checked before any is
// stored, and a refused row is named in a message with the reason, gets
// the focus and keeps the dialog open with nothing stored. Cancel stores
// nothing. Browse... chooses a row's folder with a folder chooser.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "convert/MethodFiles.h"
#include "ui/ResourceIds.h"
#include "ui/platform/Dialog.h"

class CMethodFoldersDlg : public CDialog {
public:
    static constexpr UINT IDD = IDD_METHOD_FOLDERS;
    static constexpr std::size_t kRows = 3;  // MS methods, inlet methods, macros

    explicit CMethodFoldersDlg(CDialog* pParent = nullptr);
    ~CMethodFoldersDlg() override;

    // Each row's folder and extension, as the fields show them.
    std::array<MethodFolder, kRows> m_folders;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(UINT nID) override;

private:
    void OnBrowse(std::size_t row);
    // Tells why ROW was not stored and puts the focus on its folder.
    void RefuseRow(std::size_t row, const std::string& strWhy);

    std::array<MethodFolder, kRows> m_stored;  // as read when the dialog opened
};
