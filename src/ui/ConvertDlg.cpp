#include "ui/ConvertDlg.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>
#include <functional>

#include "convert/ConversionRun.h"
#include "convert/MethodFiles.h"
#include "convert/SLConvert.h"
#include "datasystem/LocationFields.h"
#include "datasystem/SampleListLocation.h"
#include "framework/File.h"
#include "samplelist/SampListRecord.h"
#include "ui/AboutDlg.h"
#include "ui/ConversionProgress.h"
#include "ui/MenuBar.h"
#include "ui/MethodFoldersDlg.h"
#include "ui/OptionsDlg.h"
#include "ui/PathLabel.h"
#include "ui/PreviewWindow.h"
#include "ui/platform/ComboBox.h"
#include "ui/platform/CommonDialogs.h"
#include "ui/platform/DataExchange.h"
#include "ui/platform/TextCodec.h"
#include "util/NameRule.h"
#include "util/OutputName.h"
#include "util/PathName.h"
#include "util/ReportText.h"

namespace {

// The three method lists, and what each says while its location is not set.
struct MethodList {
    int id;
    const char* key;
    const char* unset;
};
constexpr MethodList kMethodLists[] = {
    {IDC_MS_FILE, kMSMethodKey, "no MS method folder set"},
    {IDC_INLET_FILE, kInletMethodKey, "no inlet method folder set"},
    {IDC_MACRO_FILE, kMacroKey, "no macro folder set"},
};

// The file DATA brings when it is an export: one local regular file (a
// link to one included), by its path; empty otherwise.
std::string DroppedExport(const QMimeData& data) {
    const QList<QUrl> urls = data.urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) {
        return std::string();
    }
    std::string strPath = EncodePath(urls.front().toLocalFile());
    const Result<FileStatus> status = StatusAt(strPath);
    if (!status.ok() || !RequireRegularFile(status.value()).ok()) {
        return std::string();
    }
    return strPath;
}

// Runs the file dialog REQUEST describes, opened at CURRENT's folder and
// proposing CURRENT's file name; the chosen path, or empty when cancelled.
std::string ChooseFile(FileDialogRequest request, const std::string& strCurrent) {
    const CPathName current(strCurrent);
    request.initialDir = DecodePath(current.GetDirectory());
    request.proposedName = DecodePath(current.GetFileName());
    return RunFileDialog(request);
}

}  // namespace

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

    if (actions().isEmpty()) {
        AddMenus();
    }
    setWindowIcon(m_hIcon);  // one icon serves every size the desktop shows
    setAcceptDrops(true);
    for (const int nIDC : {IDC_INPUT_FILE, IDC_OUTPUT_FILE}) {
        if (auto* pLabel = GetDlgItemAs<QLabel>(nIDC)) {
            ElideInTheMiddle(*pLabel);
        }
    }

    FillMethodLists();

    if (!m_strStartInput.empty() && UpdateData(TRUE)) {
        TakeInputFile(m_strStartInput);
    }
    return TRUE;
}

void CConvertDlg::AddMenus() {
    // The window menu's About entry is a system command. Linux desktops keep
    // the window menu to themselves, so the entries that the template's
    // controls do not reach are in a menu bar of the dialog's own and in
    // its context menu: one action each, with one shortcut, clear of the
    // controls' mnemonics (Alt+C, S, E, M, I, A, D).
    setContextMenuPolicy(Qt::ActionsContextMenu);
    addAction(QString())->setSeparator(true);
    const auto entry = [this](const QString& text, const QKeySequence& keys,
                              std::function<void()> run) {
        QAction* action = addAction(text, this, std::move(run));
        action->setShortcut(keys);
        action->setShortcutVisibleInContextMenu(true);
        return action;
    };
    auto* bar = new QMenuBar(this);
    const std::string strAboutMenu = LoadString(IDS_ABOUTBOX);
    QAction* about = nullptr;
    if (!strAboutMenu.empty()) {
        about = entry(QString::fromLatin1(strAboutMenu), QKeySequence(Qt::Key_F1),
                      [this] { SendSysCommand(IDM_ABOUTBOX); });
    }
    QMenu* tools = bar->addMenu(QStringLiteral("&Tools"));
    tools->addAction(entry(QStringLiteral("Conversion Options..."),
                           QKeySequence(Qt::CTRL | Qt::Key_O),
                           [this] { SendCommand(IDC_OPTIONS); }));
    tools->addAction(entry(QStringLiteral("Preview..."), QKeySequence(Qt::CTRL | Qt::Key_P),
                           [this] { SendCommand(IDC_PREVIEW); }));
    tools->addAction(entry(QStringLiteral("Method Folders..."), QKeySequence(Qt::CTRL | Qt::Key_M),
                           [this] { SendCommand(IDC_METHOD_FOLDERS); }));
    if (about != nullptr) {
        bar->addMenu(QStringLiteral("&Help"))->addAction(about);
    }
    PlaceMenuBarAbove(*this, *bar);
}

void CConvertDlg::OnCancel() {
    // The window manager's close box is no key or click, so it reaches the
    // dialog while a conversion keeps the window painted; the conversion
    // goes on and the dialog stays, to show how it ended.
    if (m_bConverting) {
        return;
    }
    CDialog::OnCancel();
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
        case IDC_METHOD_FOLDERS:
            OnMethodFolders();
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

void CConvertDlg::FillMethodLists() {
    for (const MethodList& list : kMethodLists) {
        auto* pCombo = GetDlgItemAs<CComboBox>(list.id);
        if (pCombo == nullptr) {
            continue;
        }
        // Each method by its name without extension, in the order of the
        // full file names; the field keeps the text the exchange put there.
        const MethodFolder folder = MethodFolderOf(list.key);
        QStringList names;
        for (const MethodFile& file : ListMethodFiles(folder)) {
            names << DecodeRecordText(file.name);
        }
        const QString strShown = pCombo->GetWindowText();
        pCombo->clear();
        pCombo->addItems(names);
        pCombo->SetWindowText(strShown);

        // Only a placeholder: the field's text, which the exchange reads, stays.
        const QString strUnset =
            folder.directory.empty() ? QString::fromLatin1(list.unset) : QString();
        pCombo->lineEdit()->setPlaceholderText(strUnset);
        pCombo->setToolTip(strUnset.isEmpty()
                               ? QString()
                               : strUnset + QStringLiteral(": Tools > Method Folders... sets it"));
    }
}

void CConvertDlg::OnMethodFolders() {
    CMethodFoldersDlg dlg;
    dlg.DoModal();
    // The lists offer what is stored now, whatever the dialog stored.
    FillMethodLists();
}

ConversionOutcome CConvertDlg::RunShowingProgress(CSLConvert& convert) {
    ConversionProgress progress(*this);
    const std::function<void(const CSampListRecord&)> onRecord = std::move(convert.m_onRecord);
    convert.m_onRecord = [&onRecord, &progress](const CSampListRecord& record) {
        if (onRecord) {
            onRecord(record);
        }
        progress.Record();
    };
    m_bConverting = TRUE;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    ConversionOutcome outcome = RunConversion(convert);
    QGuiApplication::restoreOverrideCursor();
    m_bConverting = FALSE;
    return outcome;
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
        MessageBox(
            QStringLiteral("Sample List %1 could not be created").arg(DecodePath(m_strOutputFile)),
            strCaption, MB_OK | MB_ICONEXCLAMATION,
            "It cannot be written as named: " + usable.message() + ".");
        return;
    }
    const BOOL bExists = FileEntryExists(m_strOutputFile);
    if (bExists) {
        const QString strMessage = QStringLiteral("Sample List %1 already exists. Overwrite?")
                                       .arg(DecodePath(m_strOutputFile));
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
    const ConversionOutcome outcome = RunShowingProgress(convert);

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
        MessageBox(
            QStringLiteral("Sample List %1 created successfully").arg(DecodePath(m_strOutputFile)),
            strCaption, MB_OK, strInformative, strDetails);
    } else if (outcome.readError) {
        MessageBox(QStringLiteral("Korrin input file %1 could not be read.")
                       .arg(DecodePath(m_strInputFile)),
                   strCaption, MB_OK | MB_ICONEXCLAMATION,
                   strInformative + "\n\nSample List " + m_strOutputFile + " was not created.",
                   strDetails);
    } else {
        MessageBox(
            QStringLiteral("Sample List %1 could not be created").arg(DecodePath(m_strOutputFile)),
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

    const ConversionOutcome outcome = RunShowingProgress(convert);
    content.summary = outcome.status.ok() ? ReportCountsLine(outcome.report, true)
                                          : "Convert would fail: " + outcome.status.message();
    content.findings = ReportLines(outcome.report, m_strInputFile);
    PreviewWindow::ShowModal(content, this);
}

void CConvertDlg::TakeInputFile(const std::string& strChosen) {
    const std::string strPath = FullPathOf(strChosen);
    const std::string strTitle = InputTitle(strChosen);
    // The output is named after the input: a title the record library
    // would read as a folder is refused, and nothing changes.
    if (const Status title = CheckDerivedTitle(strTitle); !title.ok()) {
        MessageBox(QStringLiteral("Korrin input file %1 cannot name a Sample List.")
                       .arg(DecodePath(strPath)),
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
    if (!m_bConverting && !DroppedExport(*event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void CConvertDlg::dropEvent(QDropEvent* event) {
    const std::string strFile = m_bConverting ? std::string() : DroppedExport(*event->mimeData());
    if (strFile.empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // As the Select... button: the controls' values first, then the file.
    if (!UpdateData(TRUE)) {
        return;
    }
    TakeInputFile(strFile);
}

void CConvertDlg::OnSelectInput() {
    if (!UpdateData(TRUE)) {
        return;
    }

    const std::string strPath =
        ChooseFile({.open = true,
                    .title = QStringLiteral("Korrin Input File"),
                    .filter = QStringLiteral("Text Files (*.txt);;All Files (*)"),
                    .defaultExt = QStringLiteral("txt")},
                   m_strInputFile);
    if (strPath.empty()) {
        return;
    }
    TakeInputFile(strPath);
}

void CConvertDlg::OnSelectOutput() {
    const std::string strPath = ChooseFile({.open = false,
                                            .title = QStringLiteral("Sample List Output File"),
                                            .filter = QStringLiteral("Sample List Files (*.sdb)"),
                                            .defaultExt = QStringLiteral("sdb")},
                                           m_strOutputFile);
    if (strPath.empty()) {
        return;
    }
    m_strOutputFile = strPath;
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
