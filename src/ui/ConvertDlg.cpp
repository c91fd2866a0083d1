#include "ui/ConvertDlg.h"

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
#include "ui/MethodFoldersDlg.h"
#include "ui/OptionsDlg.h"
#include "ui/PreviewWindow.h"
#include "ui/platform/Busy.h"
#include "ui/platform/CommonDialogs.h"
#include "ui/platform/DataExchange.h"
#include "util/NameRule.h"
#include "util/OutputName.h"
#include "util/PathName.h"
#include "util/ReportText.h"

namespace {

// The three method lists, and what each says while its location is not
// set: in the empty field, short enough to be read whole at the field's
// width, and to a screen reader and in the tooltip, whole.
constexpr const char* kUnsetShown = "no folder set";
struct MethodList {
    int id;
    const char* key;
    const char* unset;
};
constexpr MethodList kMethodLists[] = {
    {IDC_MS_FILE, kMSMethodKey, "No MS method folder is set"},
    {IDC_INLET_FILE, kInletMethodKey, "No inlet method folder is set"},
    {IDC_MACRO_FILE, kMacroKey, "No macro folder is set"},
};

// The file dropped when it is an export: one regular file (a link to one
// included), by its path; empty otherwise.
std::string DroppedExport(const std::vector<std::string>& paths) {
    if (paths.size() != 1) {
        return std::string();
    }
    const std::string& strPath = paths.front();
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
    request.initialDir = current.GetDirectory();
    request.proposedName = current.GetFileName();
    return RunFileDialog(request);
}

}  // namespace

CConvertDlg::CConvertDlg(CDialog* pParent)
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

    AddMenus();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    DragAcceptFiles();

    FillMethodLists();

    if (!m_strStartInput.empty() && UpdateData(TRUE)) {
        TakeInputFile(m_strStartInput);
    }
    return TRUE;
}

void CConvertDlg::AddMenus() {
    // The window menu's About entry is a system command; the entries that
    // the template's controls do not reach are in the dialog's menus: one
    // shortcut each, clear of the controls' mnemonics (Alt+C, S, E, M, I,
    // A, D).
    std::vector<Menu> menus{{"&Tools",
                             {{"Conversion Options...", IDC_OPTIONS, {'O', FCONTROL}},
                              {"Preview...", IDC_PREVIEW, {'P', FCONTROL}},
                              {"Method Folders...", IDC_METHOD_FOLDERS, {'M', FCONTROL}}}}};
    if (std::string strAboutMenu = LoadString(IDS_ABOUTBOX); !strAboutMenu.empty()) {
        menus.push_back({"&Help", {{std::move(strAboutMenu), IDM_ABOUTBOX, {VK_F1}, true}}});
    }
    SetMenus(menus);
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
        if (!HasDlgItem(list.id)) {
            continue;
        }
        // Each method by its name without extension, in the order of the
        // full file names; the field keeps the text the exchange put there.
        const MethodFolder folder = MethodFolderOf(list.key);
        std::vector<std::string> names;
        for (const MethodFile& file : ListMethodFiles(folder)) {
            names.push_back(file.name);
        }
        SetComboEntries(list.id, names);

        // Only a placeholder: the field's text, which the exchange reads, stays.
        if (folder.directory.empty()) {
            SetCueBanner(list.id, kUnsetShown,
                         std::string(list.unset) + "; Tools > Method Folders... (Ctrl+M) sets it");
        } else {
            SetCueBanner(list.id, std::string(), std::string());
        }
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
    ConversionOutcome outcome = [&convert] {
        const CWaitCursor wait;
        return RunConversion(convert);
    }();
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
        MessageBox("Sample List " + m_strOutputFile + " could not be created", strCaption,
                   MB_OK | MB_ICONEXCLAMATION,
                   "It cannot be written as named: " + usable.message() + ".");
        return;
    }
    const BOOL bExists = FileEntryExists(m_strOutputFile);
    if (bExists) {
        const std::string strMessage =
            "Sample List " + m_strOutputFile + " already exists. Overwrite?";
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
    std::string strDetails;
    for (const ReportNotice& notice : report.Notices()) {
        if (notice.kind == NoticeKind::kListsNotChecked) {
            // Long (a path and a reason per list): whole in the details.
            strInformative +=
                "\nSome Sample Lists beside it could not be checked for data file "
                "clashes: see the details.";
            strDetails += notice.sentence + "\n";
        } else {
            strInformative += "\n" + notice.sentence;
        }
    }
    // Lists whose raw data files would overwrite each other's: said in the
    // message itself, never only behind the collapsed details.
    for (const ReportNote& note : report.Notes()) {
        if (note.kind == ReportKind::kDataFileClash) {
            strInformative += "\nData file clash: " + VisibleText(note.message) + ".";
        }
    }
    if (const std::int64_t more = report.Omitted(ReportKind::kDataFileClash); more != 0) {
        strInformative += "\n" + std::to_string(more) + " more data file clashes: see the details.";
    }
    if (report.WarningCount() != 0) {
        strInformative += "\n" + std::to_string(report.WarningCount()) +
                          (report.WarningCount() == 1 ? " warning" : " warnings") +
                          ": see the details.";
    }
    for (const std::string& strLine : ReportLines(report, m_strInputFile)) {
        strDetails += strLine + "\n";
    }
    if (!outcome.logProblem.empty()) {
        strDetails += outcome.logProblem + "\n";
    }

    if (outcome.status.ok()) {
        MessageBox("Sample List " + m_strOutputFile + " created successfully", strCaption, MB_OK,
                   strInformative, strDetails);
    } else if (outcome.readError) {
        MessageBox("Korrin input file " + m_strInputFile + " could not be read.", strCaption,
                   MB_OK | MB_ICONEXCLAMATION,
                   strInformative + "\n\nSample List " + m_strOutputFile + " was not created.",
                   strDetails);
    } else {
        MessageBox("Sample List " + m_strOutputFile + " could not be created", strCaption,
                   MB_OK | MB_ICONEXCLAMATION, strInformative, strDetails);
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
        MessageBox("Korrin input file " + strPath + " cannot name a Sample List.", GetWindowText(),
                   MB_OK | MB_ICONEXCLAMATION,
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

BOOL CConvertDlg::OnDropFiles(const std::vector<std::string>& paths, BOOL bDrop) {
    const std::string strFile = m_bConverting ? std::string() : DroppedExport(paths);
    if (strFile.empty()) {
        return FALSE;
    }
    // As the Select... button: the controls' values first, then the file.
    if (bDrop && UpdateData(TRUE)) {
        TakeInputFile(strFile);
    }
    return TRUE;
}

void CConvertDlg::OnSelectInput() {
    if (!UpdateData(TRUE)) {
        return;
    }

    const std::string strPath = ChooseFile({.open = true,
                                            .title = "Korrin Input File",
                                            .filter = "Text Files (*.txt);;All Files (*)",
                                            .defaultExt = "txt"},
                                           m_strInputFile);
    if (strPath.empty()) {
        return;
    }
    TakeInputFile(strPath);
}

void CConvertDlg::OnSelectOutput() {
    const std::string strPath = ChooseFile({.open = false,
                                            .title = "Sample List Output File",
                                            .filter = "Sample List Files (*.sdb)",
                                            .defaultExt = "sdb"},
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
