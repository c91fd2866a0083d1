// The data system's locations set from the dialog: method lists that say
// when their folder is not set, and the Method Folders dialog, which stores
// by the rules and with the messages of korr2ld-cli locations set.
#include <sys/stat.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "support/child_process.h"
#include "tests/ui/dialog_runner.h"
#include "tests/ui/ui_test_env.h"
#include "ui/ConvertDlg.h"
#include "ui/MethodFoldersDlg.h"
#include "ui/platform/ComboBox.h"

namespace {

QLineEdit* Edit(CDialog& dlg, int id) {
    if (auto* combo = dlg.GetDlgItemAs<CComboBox>(id)) {
        return combo->lineEdit();
    }
    return dlg.GetDlgItemAs<QLineEdit>(id);
}

QStringList Entries(CDialog& dlg, int id) {
    QStringList entries;
    auto* combo = dlg.GetDlgItemAs<CComboBox>(id);
    for (int i = 0; i < combo->count(); ++i) {
        entries << combo->itemText(i);
    }
    return entries;
}

QString SettingsFile(const UiTestEnv& env) {
    return env.Path(QStringLiteral("lumenda/Lumenda.ini"));
}

}  // namespace

class MethodFoldersDlgTest : public QObject {
    Q_OBJECT

private slots:
    void unsetListsSayItAndMethodFoldersFillsThem();
    void refusedRowStoresNothingAndSaysWhatTheCliSays_data();
    void refusedRowStoresNothingAndSaysWhatTheCliSays();
};

void MethodFoldersDlgTest::unsetListsSayItAndMethodFoldersFillsThem() {
    UiTestEnv env;
    env.Write(QStringLiteral("methods/ms/ESI1.ms"), "m");
    env.Write(QStringLiteral("methods/inlet/LC2.lc"), "m");
    env.Write(QStringLiteral("methods/inlet/LC1.lc"), "m");
    const QString msFolder = env.Path(QStringLiteral("methods/ms/"));
    const QString inletFolder = env.Path(QStringLiteral("methods/inlet"));
    QVERIFY(UiTestEnv::ConfigureLocation("MS_FUNC_DB", msFolder, "ms"));
    const QByteArray before = UiTestEnv::Read(SettingsFile(env));

    CUiTestScript::AcceptFileDialog(inletFolder);
    OnEveryRun(IDD_METHOD_FOLDERS, [&](CDialog& shown) {
        QCOMPARE(shown.windowTitle(), QStringLiteral("Method Folders"));
        QCOMPARE(Edit(shown, IDC_MS_FOLDER)->text(), msFolder);
        QCOMPARE(Edit(shown, IDC_MS_EXTENSION)->text(), QStringLiteral("ms"));
        QCOMPARE(Edit(shown, IDC_INLET_FOLDER)->text(), QString());
        QCOMPARE(shown.GetDlgItemAs<QLabel>(IDC_SETTINGS_FILE)->text(),
                 QStringLiteral("Stored in ") + SettingsFile(env));
        shown.GetDlgItemAs<QPushButton>(IDC_INLET_BROWSE)->click();
        QCOMPARE(Edit(shown, IDC_INLET_FOLDER)->text(), inletFolder);
        Edit(shown, IDC_INLET_EXTENSION)->setText(QStringLiteral(".lc"));
        QTest::keyClick(Edit(shown, IDC_INLET_EXTENSION), Qt::Key_Return);  // OK
        QVERIFY(!shown.isVisible());
    });

    CConvertDlg dlg;
    dlg.m_strInputFile = dlg.m_strOutputFile = "[Not Specified]";
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        // Only a placeholder says so: the field's text, which the exchange
        // takes, stays empty.
        QCOMPARE(Edit(d, IDC_MS_FILE)->placeholderText(), QString());
        QCOMPARE(Edit(d, IDC_INLET_FILE)->placeholderText(),
                 QStringLiteral("no inlet method folder set"));
        QCOMPARE(Edit(d, IDC_MACRO_FILE)->placeholderText(), QStringLiteral("no macro folder set"));
        QCOMPARE(Shown(d, IDC_INLET_FILE), QString());
        d.m_strInletFile = "unread";
        QVERIFY(d.UpdateData(TRUE));
        QCOMPARE(d.m_strInletFile, std::string());

        d.SendCommand(IDC_METHOD_FOLDERS);
        QCOMPARE(Entries(d, IDC_INLET_FILE), QStringList({"LC1", "LC2"}));
        QCOMPARE(Entries(d, IDC_MS_FILE), QStringList({"ESI1"}));  // filled once, not twice
        QCOMPARE(Edit(d, IDC_INLET_FILE)->placeholderText(), QString());
        QCOMPARE(Edit(d, IDC_MACRO_FILE)->placeholderText(), QStringLiteral("no macro folder set"));
    });

    QCOMPARE(CUiTestScript::FileDialogs().size(), std::size_t(1));
    const FileDialogRequest& chooser = CUiTestScript::FileDialogs().front();
    QVERIFY(chooser.folder);
    QCOMPARE(chooser.title, QStringLiteral("Inlet Method Folder"));
    // The inlet location is stored as the CLI stores it; the MS line, not
    // changed, is as it was.
    QCOMPARE(UiTestEnv::Read(SettingsFile(env)),
             before + "LC_DB=" + QFile::encodeName(inletFolder) + "/*.lc\n");
    QVERIFY(CUiTestScript::MessageBoxes().empty());
}

void MethodFoldersDlgTest::refusedRowStoresNothingAndSaysWhatTheCliSays_data() {
    QTest::addColumn<bool>("readOnlySettings");
    QTest::newRow("a folder that does not exist") << false;
    QTest::newRow("a settings file that is read-only") << true;
}

void MethodFoldersDlgTest::refusedRowStoresNothingAndSaysWhatTheCliSays() {
    QFETCH(bool, readOnlySettings);
    UiTestEnv env;
    env.Write(QStringLiteral("methods/inlet/LC1.lc"), "m");
    const QString macroFolder = readOnlySettings ? env.Path(QStringLiteral("methods/inlet"))
                                                 : env.Path(QStringLiteral("methods/none"));
    if (readOnlySettings) {
        env.Write(QStringLiteral("lumenda/Lumenda.ini"), "; kept\n");
        QVERIFY(::chmod(QFile::encodeName(SettingsFile(env)).constData(), 0444) == 0);
    }
    const bool existed = QFile::exists(SettingsFile(env));
    const QByteArray before = existed ? UiTestEnv::Read(SettingsFile(env)) : QByteArray();

    CMethodFoldersDlg dlg;
    const INT_PTR result = RunModal<CMethodFoldersDlg>(dlg, [&](CMethodFoldersDlg& d) {
        // A row that could be stored, and one that cannot.
        Edit(d, IDC_INLET_FOLDER)->setText(env.Path(QStringLiteral("methods/inlet")));
        Edit(d, IDC_MACRO_FOLDER)->setText(macroFolder);
        Edit(d, IDC_MACRO_EXTENSION)->setText(QStringLiteral("mac"));
        d.GetDlgItemAs<QPushButton>(IDOK)->click();
        QVERIFY(d.isVisible());
        QCOMPARE(d.focusWidget(),
                 d.GetDlgItem(readOnlySettings ? IDC_INLET_FOLDER : IDC_MACRO_FOLDER));
        // A row changed without a folder is refused too: a location is set
        // here, never removed.
        Edit(d, IDC_INLET_FOLDER)->clear();
        Edit(d, IDC_INLET_EXTENSION)->setText(QStringLiteral("lc"));
        Edit(d, IDC_MACRO_FOLDER)->clear();
        Edit(d, IDC_MACRO_EXTENSION)->clear();
        d.GetDlgItemAs<QPushButton>(IDOK)->click();
        QVERIFY(d.isVisible());
    });
    QCOMPARE(result, INT_PTR(IDCANCEL));
    QCOMPARE(QFile::exists(SettingsFile(env)), existed);
    if (existed) {
        QCOMPARE(UiTestEnv::Read(SettingsFile(env)), before);
    }

    // korr2ld-cli says the same of the same location.
    const std::string row = readOnlySettings ? "LC_DB" : "MACRO";
    const std::string folder = readOnlySettings ? env.StdPath(QStringLiteral("methods/inlet"))
                                                : QFile::encodeName(macroFolder).toStdString();
    const k2ltest::ChildResult cli =
        k2ltest::ChildProcess::Start({.program = K2L_BIN_DIR "/korr2ld-cli",
                                      .args = {"locations", "set", row, folder, "mac"}})
            .Wait();
    QCOMPARE(cli.exitCode, 1);
    const std::string prefix = "korr2ld-cli locations: ";
    QVERIFY2(cli.err.rfind(prefix, 0) == 0 && cli.err.back() == '\n', cli.err.c_str());
    const QString clause = QString::fromStdString(cli.err.substr(prefix.size()).c_str()).chopped(1);

    const auto& boxes = CUiTestScript::MessageBoxes();
    QCOMPARE(boxes.size(), std::size_t(2));
    QCOMPARE(boxes[0].text,
             (readOnlySettings ? QStringLiteral("Inlet methods: ") : QStringLiteral("Macros: ")) +
                 clause + u'.');
    QCOMPARE(boxes[0].caption, QStringLiteral("Method Folders"));
    QCOMPARE(boxes[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
    QCOMPARE(boxes[1].text,
             QStringLiteral("Inlet methods: a folder is needed; nothing was stored."));
}

K2L_QTEST_MAIN(MethodFoldersDlgTest)
#include "method_folders_dlg_test.moc"
