#include "ui/MethodFoldersDlg.h"

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "convert/LocationSetting.h"
#include "datasystem/DataSystemEntries.h"
#include "datasystem/LocationFields.h"
#include "datasystem/ostrel.h"
#include "ui/platform/CommonDialogs.h"
#include "ui/platform/DataExchange.h"

namespace {

struct FolderRow {
    const char* key;
    int folderId;
    int browseId;
    int extensionId;
    const char* chooserTitle;
};

constexpr std::array<FolderRow, CMethodFoldersDlg::kRows> kFolderRows = {{
    {kMSMethodKey, IDC_MS_FOLDER, IDC_MS_BROWSE, IDC_MS_EXTENSION, "MS Method Folder"},
    {kInletMethodKey, IDC_INLET_FOLDER, IDC_INLET_BROWSE, IDC_INLET_EXTENSION,
     "Inlet Method Folder"},
    {kMacroKey, IDC_MACRO_FOLDER, IDC_MACRO_BROWSE, IDC_MACRO_EXTENSION, "Macro Folder"},
}};

}  // namespace

CMethodFoldersDlg::CMethodFoldersDlg(CDialog* pParent) : CDialog(IDD, pParent) {}

CMethodFoldersDlg::~CMethodFoldersDlg() = default;

void CMethodFoldersDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    for (std::size_t row = 0; row < kRows; ++row) {
        DDX_PathText(pDX, kFolderRows[row].folderId, m_folders[row].directory);
        DDX_PathText(pDX, kFolderRows[row].extensionId, m_folders[row].extension);
    }
}

BOOL CMethodFoldersDlg::OnInitDialog() {
    for (std::size_t row = 0; row < kRows; ++row) {
        m_stored[row] = MethodFolderOf(kFolderRows[row].key);
    }
    m_folders = m_stored;
    CDialog::OnInitDialog();
    const DataSystemEntries& ds = DataSystem();
    const Status settable = LocationsSettable();
    if (!settable.ok()) {
        // The data system's own settings: shown, not changed.
        for (const FolderRow& row : kFolderRows) {
            SetReadOnly(row.folderId, TRUE);
            SetReadOnly(row.extensionId, TRUE);
            EnableControl(row.browseId, FALSE);
        }
    }
    std::string strSettings;
    if (!settable.ok()) {
        strSettings = settable.message() + '.';
        strSettings[0] =
            static_cast<char>(std::toupper(static_cast<unsigned char>(strSettings[0])));
    } else if (ds.OstrelSettingsPath != nullptr) {
        strSettings = std::string("Stored in ") + ds.OstrelSettingsPath();
    }
    SetDlgItemText(IDC_SETTINGS_FILE, strSettings);
    SetDlgItemToolTip(IDC_SETTINGS_FILE, strSettings);
    return TRUE;
}

BOOL CMethodFoldersDlg::OnCommand(UINT nID) {
    for (std::size_t row = 0; row < kRows; ++row) {
        if (static_cast<int>(nID) == kFolderRows[row].browseId) {
            OnBrowse(row);
            return TRUE;
        }
    }
    return CDialog::OnCommand(nID);
}

void CMethodFoldersDlg::OnBrowse(std::size_t row) {
    const int nFolder = kFolderRows[row].folderId;
    FileDialogRequest request;
    request.folder = true;
    request.title = kFolderRows[row].chooserTitle;
    request.initialDir = GetDlgItemText(nFolder);
    const std::string strFolder = RunFileDialog(request);
    if (!strFolder.empty()) {
        SetDlgItemText(nFolder, strFolder);
    }
}

void CMethodFoldersDlg::OnOK() {
    if (!LocationsSettable().ok()) {
        EndDialog(IDCANCEL);  // nothing here can be changed
        return;
    }
    if (!UpdateData(TRUE)) {
        return;
    }
    // Every changed row is checked before any is stored.
    std::vector<std::pair<std::size_t, PreparedLocation>> changed;
    for (std::size_t row = 0; row < kRows; ++row) {
        const MethodFolder& folder = m_folders[row];
        if (folder == m_stored[row]) {
            continue;
        }
        // A location is set, never removed: an empty folder would be taken
        // as the current directory.
        if (folder.directory.empty()) {
            RefuseRow(row, "a folder is needed; nothing was stored");
            return;
        }
        const Result<PreparedLocation> prepared =
            PrepareLocation({kFolderRows[row].key, folder.directory, folder.extension});
        if (!prepared.ok()) {
            RefuseRow(row, prepared.status().message());
            return;
        }
        changed.emplace_back(row, prepared.value());
    }
    for (const auto& [row, location] : changed) {
        if (const Status stored = StoreLocation(location); !stored.ok()) {
            RefuseRow(row, stored.message());
            return;
        }
        m_stored[row] = m_folders[row];
    }
    EndDialog(IDOK);
}

void CMethodFoldersDlg::RefuseRow(std::size_t row, const std::string& strWhy) {
    const int nFolder = kFolderRows[row].folderId;
    MessageBox(GetDlgItemName(nFolder) + ": " + strWhy + ".", GetWindowText(),
               MB_OK | MB_ICONEXCLAMATION);
    GotoDlgCtrl(nFolder);
}
