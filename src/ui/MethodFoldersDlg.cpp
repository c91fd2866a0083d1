#include "ui/MethodFoldersDlg.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <string>
#include <utility>
#include <vector>

#include "convert/LocationSetting.h"
#include "datasystem/DataSystemEntries.h"
#include "datasystem/LocationFields.h"
#include "datasystem/ostrel.h"
#include "ui/PathLabel.h"
#include "ui/platform/CommonDialogs.h"
#include "ui/platform/DataExchange.h"
#include "ui/platform/TextCodec.h"

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

// A folder or an extension: bytes of the file system, shown and taken in
// the locale's file name encoding, whatever they hold.
void DDX_PathText(CDataExchange* pDX, int nIDC, std::string& value) {
    auto* edit = dynamic_cast<QLineEdit*>(pDX->PrepareEditCtrl(nIDC));
    if (edit == nullptr) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        value = EncodePath(edit->text());
    } else {
        edit->setText(DecodePath(value));
        edit->setCursorPosition(0);
    }
}

}  // namespace

CMethodFoldersDlg::CMethodFoldersDlg(QWidget* pParent) : CDialog(IDD, pParent) {}

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
            for (const int id : {row.folderId, row.extensionId}) {
                if (auto* edit = GetDlgItemAs<QLineEdit>(id)) {
                    edit->setReadOnly(true);
                }
            }
            if (auto* browse = GetDlgItemAs<QAbstractButton>(row.browseId)) {
                browse->setEnabled(false);
            }
        }
    }
    if (auto* settings = GetDlgItemAs<QLabel>(IDC_SETTINGS_FILE)) {
        QString sentence = QString::fromLatin1(settable.message().c_str()) + '.';
        sentence[0] = sentence[0].toUpper();
        settings->setText(
            !settable.ok() ? sentence
            : ds.OstrelSettingsPath != nullptr
                ? QStringLiteral("Stored in %1").arg(DecodePath(ds.OstrelSettingsPath()))
                : QString());
        settings->setToolTip(settings->text());
        ElideInTheMiddle(*settings);
    }
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
    auto* edit = GetDlgItemAs<QLineEdit>(kFolderRows[row].folderId);
    FileDialogRequest request;
    request.folder = true;
    request.title = QString::fromLatin1(kFolderRows[row].chooserTitle);
    request.initialDir = edit->text();
    const std::string strFolder = RunFileDialog(request);
    if (!strFolder.empty()) {
        edit->setText(DecodePath(strFolder));
        edit->setCursorPosition(0);
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
    auto* edit = GetDlgItemAs<QLineEdit>(kFolderRows[row].folderId);
    MessageBox(QStringLiteral("%1: %2.").arg(edit->accessibleName(), DecodePath(strWhy)),
               GetWindowText(), MB_OK | MB_ICONEXCLAMATION);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}
