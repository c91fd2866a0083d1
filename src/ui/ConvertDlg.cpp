#include "ui/ConvertDlg.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "convert/ConversionRun.h"
#include "convert/MethodFiles.h"
#include "convert/SLConvert.h"
#include "datasystem/LocationFields.h"
#include "datasystem/SampleListLocation.h"
#include "samplelist/SampListRecord.h"
#include "ui/AboutDlg.h"
#include "ui/OptionsDlg.h"
#include "ui/PreviewWindow.h"
#include "ui/platform/ComboBox.h"
#include "ui/platform/Cursor.h"
#include "ui/platform/DataExchange.h"
#include "ui/platform/FileDialog.h"
#include "ui/platform/FileStatus.h"
#include "ui/platform/MessageBox.h"
#include "ui/platform/SystemMenu.h"
#include "ui/platform/TextCodec.h"
#include "util/NameRule.h"
#include "util/OutputName.h"
#include "util/PathName.h"
#include "util/ReportText.h"

CConvertDlg::CConvertDlg(QWidget* pParent)
    : CDialog(IDD, pParent), m_hIcon(LoadIcon(IDR_MAINFRAME)) {}

CConvertDlg::~CConvertDlg() = default;

void CConvertDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_INPUT_FILE, m_strInputFile);
    DDX_Text(pDX, IDC_OUTPUT_FILE, m_strOutputFile);
    DDX_CBString(pDX, IDC_MS_FILE, m_strMSFile);
    DDV_PlainName(pDX, m_strMSFile);
    DDV_MaxChars(pDX, m_strMSFile, kMaxNameChars);
    DDX_Text(pDX, IDC_DATA_FILE, m_strDataFile);
    DDV_PlainName(pDX, m_strDataFile);
    DDV_MaxChars(pDX, m_strDataFile, kMaxNameChars);
    DDX_CBString(pDX, IDC_INLET_FILE, m_strInletFile);
    DDV_PlainName(pDX, m_strInletFile);
    DDV_MaxChars(pDX, m_strInletFile, kMaxNameChars);
    DDX_CBString(pDX, IDC_MACRO_FILE, m_strMacroFile);
    DDV_PlainName(pDX, m_strMacroFile);
    DDV_MaxChars(pDX, m_strMacroFile, kMaxNameChars);
    EnableControl(IDC_CONVERT, FileEntryExists(m_strInputFile));
}

BOOL CConvertDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    // The window menu's About entry. Linux desktops keep the window menu to
    // themselves, so it appears in the dialog's context menu, and F1 opens
    // the About box too. No control reaches the Conversion Options dialog;
    // its entry stands beside the About entry.
    const std::string strAboutMenu = LoadString(IDS_ABOUTBOX);
    if (!strAboutMenu.empty()) {
        CSystemMenu* pSysMenu = GetSystemMenu(FALSE);
        pSysMenu->AppendMenu(MF_SEPARATOR);
        pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        pSysMenu->SetShortcut(IDM_ABOUTBOX, QStringLiteral("F1"));
        pSysMenu->AppendCommand(IDC_OPTIONS, "Conversion Options...");
        pSysMenu->AppendCommand(IDC_PREVIEW, "Preview...");
    }

    SetIcon(m_hIcon);
    setAcceptDrops(true);

    FillMethodList(IDC_MS_FILE, kMSMethodKey);
    FillMethodList(IDC_INLET_FILE, kInletMethodKey);
    FillMethodList(IDC_MACRO_FILE, kMacroKey);

    if (!m_strStartInput.empty() && UpdateData(TRUE)) {
        TakeInputFile(CFileDialog::FullPathOf(m_strStartInput),
                      CFileDialog::FileTitleOf(m_strStartInput));
    }
    return TRUE;
}

void CConvertDlg::OnOK() {
    CDialog::OnOK();
}

BOOL CConvertDlg::OnCommand(UINT nID) {
    switch (nID) {
        case IDC_CONVERT:
            OnConvert();
            return TRUE;
        case IDC_SELECT_INPUT:
            OnSelectInput();
            return TRUE;
        case IDC_SELECT_OUTPUT:
            OnSelectOutput();
            return TRUE;
        case IDC_OPTIONS:
            OnOptions();
            return TRUE;
        case IDC_PREVIEW:
            OnPreview();
            return TRUE;
        default:
            return CDialog::OnCommand(nID);
    }
}

void CConvertDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CConvertDlg::FillMethodList(int nIDC, const char* pszKey) {
    auto* pCombo = GetDlgItemAs<CComboBox>(nIDC);
    if (pCombo == nullptr) {
        return;
    }
    // Each method by its name without extension, in the order of the full
    // file names; the field keeps the text the exchange put there.
    QStringList names;
    for (const MethodFile& file : ListMethodFiles(MethodFolderOf(pszKey))) {
        names << DecodeRecordText(file.name);
    }
    if (!names.isEmpty()) {
        const QString strShown = pCombo->GetWindowText();
        pCombo->addItems(names);
        pCombo->SetWindowText(strShown);
    }
}

void CConvertDlg::OnConvert() {
    if (!UpdateData(TRUE)) {
        return;
    }
    const std::string strCaption = GetWindowText();

    // The file the record library will write is the one asked about, and
    // the data system must be able to record where it is.
    Status usable = CheckOutputText(m_strOutputFile);
    if (const Result<std::string> written = SampleListPathAsGiven(m_strOutputFile); !written.ok()) {
        usable = written.status();
    }
    if (!usable.ok()) {
        MessageBox(FormatMessage("Sample List %1 could not be created", m_strOutputFile),
                   strCaption, MB_OK | MB_ICONEXCLAMATION,
                   "It cannot be written as named: " + usable.message() + ".");
        return;
    }
    const BOOL bExists = FileEntryExists(m_strOutputFile);
    if (bExists) {
        const std::string strMessage =
            FormatMessage("Sample List %1 already exists. Overwrite?", m_strOutputFile);
        if (MessageBox(strMessage, strCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) !=
            IDYES) {
            return;
        }
    }

    CSLConvert convert(m_strInputFile, m_strOutputFile);
    SetUpConversion(convert);
    // Only a list the user agreed to replace is replaced, not one that
    // appears meanwhile.
    convert.m_bReplaceExisting = bExists;

    const HCURSOR hOldCursor = SetCursor(LoadCursor(IDC_WAIT));
    const ConversionOutcome outcome = RunConversion(convert);
    SetCursor(hOldCursor);

    // The counts or the cause, and what the user should know besides;
    // every warning and skipped line behind "Show Details...".
    const ConversionReport& report = outcome.report;
    std::string strInformative =
        outcome.status.ok() ? ReportCountsLine(report) : outcome.status.message();
    for (const std::string& strNotice : report.Notices()) {
        strInformative += "\n" + strNotice;
    }
    if (report.WarningCount() != 0) {
        strInformative += "\n" + std::to_string(report.WarningCount()) +
                          (report.WarningCount() == 1 ? " warning" : " warnings") +
                          ": see the details.";
    }
    std::string strDetails;
    for (const std::string& strLine : ReportLines(report, m_strInputFile)) {
        strDetails += strLine + "\n";
    }
    if (!outcome.logProblem.empty()) {
        strDetails += outcome.logProblem + "\n";
    }

    if (outcome.status.ok()) {
        MessageBox(FormatMessage("Sample List %1 created successfully", m_strOutputFile),
                   strCaption, MB_OK, strInformative, strDetails);
    } else if (outcome.readError) {
        MessageBox(FormatMessage("Korrin input file %1 could not be read.", m_strInputFile),
                   strCaption, MB_OK | MB_ICONEXCLAMATION,
                   strInformative + "\n\n" +
                       FormatMessage("Sample List %1 was not created.", m_strOutputFile),
                   strDetails);
    } else {
        MessageBox(FormatMessage("Sample List %1 could not be created", m_strOutputFile),
                   strCaption, MB_OK | MB_ICONEXCLAMATION, strInformative, strDetails);
    }
}

void CConvertDlg::SetUpConversion(CSLConvert& convert) const {
    convert.m_strMSFile = m_strMSFile;
    convert.m_strInletFile = m_strInletFile;
    convert.m_strMacro = m_strMacroFile;
    convert.m_strDataFile = m_strDataFile;
}

void CConvertDlg::OnPreview() {
    if (!UpdateData(TRUE)) {
        return;
    }
    CSLConvert convert(m_strInputFile, m_strOutputFile);
    SetUpConversion(convert);
    convert.m_bDryRun = TRUE;
    PreviewContent content;
    content.title = "Preview of " + m_strOutputFile;
    std::int32_t nNumber = 0;
    convert.m_onRecord = [&content, &nNumber](const CSampListRecord& record) {
        ++nNumber;
        if (content.rows.size() < PreviewWindow::kMaxRows) {
            content.numbers.push_back(nNumber);
            content.rows.push_back(ReadRecordRow(record.m_record));
        } else {
            ++content.rowsNotShown;
        }
    };

    const HCURSOR hOldCursor = SetCursor(LoadCursor(IDC_WAIT));
    const ConversionOutcome outcome = RunConversion(convert);
    SetCursor(hOldCursor);
    content.summary = outcome.status.ok() ? ReportCountsLine(outcome.report, true)
                                          : "Convert would fail: " + outcome.status.message();
    content.findings = ReportLines(outcome.report, m_strInputFile);
    PreviewWindow::ShowModal(content, this);
}

void CConvertDlg::TakeInputFile(const std::string& strPath, const std::string& strTitle) {
    // The output is named after the input: a title the record library
    // would read as a folder is refused, and nothing changes.
    if (const Status title = CheckDerivedTitle(strTitle); !title.ok()) {
        MessageBox(FormatMessage("Korrin input file %1 cannot name a Sample List.", strPath),
                   GetWindowText(), MB_OK | MB_ICONEXCLAMATION,
                   "The Sample List is named after it, and " + title.message() +
                       ". Rename the file, then choose it again.");
        return;
    }
    m_strInputFile = strPath;

    // The output keeps its directory and takes the input's name.
    CPathName pathOutput(m_strOutputFile);
    pathOutput.SetFileName(strTitle);
    pathOutput.SetExtension("sdb");
    const std::string strFullPath = pathOutput.GetFullPath();
    // A path that cannot be made absolute (it would be too long) stays as
    // it is rather than becoming empty.
    m_strOutputFile = strFullPath.empty() ? pathOutput.GetPath() : strFullPath;

    m_strDataFile = strTitle;
    UpdateData(FALSE);
}

void CConvertDlg::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile()) {
        event->acceptProposedAction();
    }
}

void CConvertDlg::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) {
        return;
    }
    event->acceptProposedAction();
    // As the Select... button: the controls' values first, then the file.
    if (!UpdateData(TRUE)) {
        return;
    }
    const std::string strFile = EncodePath(urls.front().toLocalFile());
    TakeInputFile(CFileDialog::FullPathOf(strFile), CFileDialog::FileTitleOf(strFile));
}

void CConvertDlg::OnSelectInput() {
    if (!UpdateData(TRUE)) {
        return;
    }

    const CPathName pathInput(m_strInputFile);
    const std::string strFileName = pathInput.GetFileName();
    const std::string strDirectory = pathInput.GetDirectory();

    CFileDialog dlg(TRUE, "txt", strFileName, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                    "Text Files (*.txt) | *.txt | All Files (*.*) | *.* ||", nullptr);
    dlg.m_ofn.lpstrInitialDir = strDirectory;
    dlg.m_ofn.lpstrTitle = "Korrin Input File";
    if (dlg.DoModal() != IDOK) {
        return;
    }
    TakeInputFile(dlg.GetPathName(), dlg.GetFileTitle());
}

void CConvertDlg::OnSelectOutput() {
    const CPathName pathOutput(m_strOutputFile);
    const std::string strFileName = pathOutput.GetFileName();
    const std::string strDirectory = pathOutput.GetDirectory();

    CFileDialog dlg(FALSE, "sdb", strFileName, OFN_HIDEREADONLY,
                    "Sample List Files (*.sdb) | *.sdb ||", nullptr);
    dlg.m_ofn.lpstrInitialDir = strDirectory;
    dlg.m_ofn.lpstrTitle = "Sample List Output File";
    if (dlg.DoModal() != IDOK) {
        return;
    }

    m_strOutputFile = dlg.GetPathName();
    UpdateData(FALSE);
}

void CConvertDlg::OnOptions() {
    COptionsDlg dlg;
    dlg.m_strDataFile = m_strDataFile;
    dlg.m_strInletName = m_strInletFile;
    dlg.m_strMSName = m_strMSFile;
    dlg.m_strMacroName = m_strMacroFile;
    if (dlg.DoModal() != IDOK) {
        return;
    }
    m_strDataFile = dlg.m_strDataFile;
    m_strInletFile = dlg.m_strInletName;
    m_strMSFile = dlg.m_strMSName;
    m_strMacroFile = dlg.m_strMacroName;
    // What the user accepted is what the fields show, and so what the next
    // Convert takes.
    ShowNames();
}

void CConvertDlg::ShowNames() {
    CDataExchange dx(this, FALSE);
    DDX_CBString(&dx, IDC_MS_FILE, m_strMSFile);
    DDX_Text(&dx, IDC_DATA_FILE, m_strDataFile);
    DDX_CBString(&dx, IDC_INLET_FILE, m_strInletFile);
    DDX_CBString(&dx, IDC_MACRO_FILE, m_strMacroFile);
}
