// Start-up and the remembered settings: what the application reads from
// Korr2LD.INI into the dialog and what it writes back when the dialog ends.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

#include "app/ConvertApp.h"
#include "framework/ProfileFile.h"
#include "tests/app/app_runner.h"
#include "tests/app/qt_test_env.h"
#include "ui/ConvertDlg.h"

namespace {

QString SettingsPath(const UiTestEnv& env) {
    return env.Path(QStringLiteral("config/Korr2LD.INI"));
}

// Runs the application; BODY acts on its dialog, which is then closed with
// the Close button unless BODY ended it.
void RunApp(const std::function<void(CConvertDlg&)>& body) {
    CConvertApp app;
    QCOMPARE(RunConvertApp(app, body), FALSE);
}

// The file's lines other than blank ones (the profile writer spaces sections).
QList<QByteArray> TextLines(const QString& path) {
    QList<QByteArray> lines = UiTestEnv::Read(path).split('\n');
    lines.removeAll(QByteArray());
    return lines;
}

}  // namespace

class ConvertAppTest : public QObject {
    Q_OBJECT

private slots:
    void settingsLiveInTheDesktopConfigDirectory();
    void firstStartShowsDefaultsAndCloseWritesSixKeys();
    void storedValuesAreLoadedAndWrittenBackInPlace();
    void tooLongValuesLoadUnchanged();
    void everyCancelWritesBackButNoResultWritesNothing();
    void typedTextIsNotSavedButExchangedTextIs();
    void unreadableSettingsAreReportedAndKeptAsBad();
};

void ConvertAppTest::settingsLiveInTheDesktopConfigDirectory() {
    UiTestEnv env;
    CConvertApp app;
    QVERIFY(app.GetProfilePath().empty());  // no profile name before start-up
    app.m_pszProfileName = "Korr2LD.INI";
    QCOMPARE(QString::fromStdString(app.GetProfilePath()), SettingsPath(env));
    QCOMPARE(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
             env.Path(QStringLiteral("config")));
}

void ConvertAppTest::firstStartShowsDefaultsAndCloseWritesSixKeys() {
    UiTestEnv env;
    // The configuration directory does not exist yet either.
    QVERIFY(QDir(env.Path(QStringLiteral("config"))).removeRecursively());
    RunApp([](CConvertDlg& dlg) {
        QCOMPARE(Shown(dlg, IDC_INPUT_FILE), QStringLiteral("[Not Specified]"));
        QCOMPARE(Shown(dlg, IDC_OUTPUT_FILE), QStringLiteral("[Not Specified]"));
        QCOMPARE(Shown(dlg, IDC_MS_FILE), QString());
        QCOMPARE(Shown(dlg, IDC_INLET_FILE), QString());
        QCOMPARE(Shown(dlg, IDC_MACRO_FILE), QString());
        QCOMPARE(Shown(dlg, IDC_DATA_FILE), QString());
        QVERIFY(!dlg.IsControlEnabled(IDC_CONVERT));
    });
    QVERIFY(CUiTestScript::MessageBoxes().empty());
    QCOMPARE(UiTestEnv::Read(SettingsPath(env)), QByteArray("[Files]\n"
                                                            "Input=[Not Specified]\n"
                                                            "Output=[Not Specified]\n"
                                                            "MS=\n"
                                                            "Inlet=\n"
                                                            "Macro=\n"
                                                            "Data=\n"));
}

void ConvertAppTest::storedValuesAreLoadedAndWrittenBackInPlace() {
    UiTestEnv env;
    const QString input = env.Write(QStringLiteral("in.txt"), "1\tS\t1\t1\tA1M1\tR1:1:1\tx\ty\n");
    env.Write(QStringLiteral("config/Korr2LD.INI"),
              "; kept by Korr2LD\n"
              "[Window]\n"
              "Left=10\n"
              "[files]\n"
              "data=D1\n"
              "Input=" +
                  QFile::encodeName(input) +
                  "\n"
                  "Extra=keep me\n"
                  "MS=ESI\n");
    RunApp([&](CConvertDlg& dlg) {
        QCOMPARE(Shown(dlg, IDC_INPUT_FILE), input);
        QCOMPARE(Shown(dlg, IDC_OUTPUT_FILE), QStringLiteral("[Not Specified]"));
        QCOMPARE(Shown(dlg, IDC_MS_FILE), QStringLiteral("ESI"));
        QCOMPARE(Shown(dlg, IDC_DATA_FILE), QStringLiteral("D1"));
        QVERIFY(dlg.IsControlEnabled(IDC_CONVERT));
        dlg.m_strMacroFile = "MAC";  // as the Options dialog would
    });
    // Existing keys keep their place, new ones follow in the order written;
    // everything else stays.
    QCOMPARE(TextLines(SettingsPath(env)),
             QList<QByteArray>({"; kept by Korr2LD", "[Window]", "Left=10", "[files]", "data=D1",
                                "Input=" + QFile::encodeName(input), "Extra=keep me", "MS=ESI",
                                "Output=[Not Specified]", "Inlet=", "Macro=MAC"}));
}

void ConvertAppTest::tooLongValuesLoadUnchanged() {
    UiTestEnv env;
    env.Write(QStringLiteral("config/Korr2LD.INI"),
              "[Files]\nMS=MS_TOO_LONG\nInlet=INLET_TOO_LONG\nMacro=MACRO_TOO_LONG\n"
              "Data=DATA_TOO_LONG\n");
    RunApp([](CConvertDlg& dlg) {
        QCOMPARE(Shown(dlg, IDC_MS_FILE), QStringLiteral("MS_TOO_LONG"));
        QCOMPARE(Shown(dlg, IDC_INLET_FILE), QStringLiteral("INLET_TOO_LONG"));
        QCOMPARE(Shown(dlg, IDC_MACRO_FILE), QStringLiteral("MACRO_TOO_LONG"));
        QCOMPARE(Shown(dlg, IDC_DATA_FILE), QStringLiteral("DATA_TOO_LONG"));
        QVERIFY(CUiTestScript::MessageBoxes().empty());
        // Refused only at the next exchange from the controls.
        dlg.Window().GetDlgItemAs<QPushButton>(IDC_SELECT_INPUT)->click();
        QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    });
    const QByteArray saved = UiTestEnv::Read(SettingsPath(env));
    QVERIFY(saved.contains("\nMS=MS_TOO_LONG\n"));
    QVERIFY(saved.contains("\nData=DATA_TOO_LONG\n"));
}

void ConvertAppTest::everyCancelWritesBackButNoResultWritesNothing() {
    UiTestEnv env;
    for (int way = 0; way < 3; ++way) {
        QFile::remove(SettingsPath(env));
        RunApp([way](CConvertDlg& dlg) {
            if (way == 0) {
                QTest::keyClick(&dlg.Window(), Qt::Key_Escape);
            } else if (way == 1) {
                dlg.Window().close();
            } else {
                dlg.SendCommand(IDOK);
            }
        });
        QVERIFY2(QFile::exists(SettingsPath(env)), qPrintable(QString::number(way)));
    }
    // A dialog that ends with a result of 0 or less leaves the file alone.
    QFile::remove(SettingsPath(env));
    RunApp([](CConvertDlg& dlg) { dlg.EndDialog(0); });
    RunApp([](CConvertDlg& dlg) { dlg.EndDialog(-1); });
    QVERIFY(!QFile::exists(SettingsPath(env)));
}

void ConvertAppTest::typedTextIsNotSavedButExchangedTextIs() {
    UiTestEnv env;
    env.Write(QStringLiteral("config/Korr2LD.INI"), "[Files]\nMS=OLD\nInlet=OLDLC\n");
    CUiTestScript::CancelFileDialog();
    RunApp([](CConvertDlg& dlg) {
        auto* inlet = dlg.Window().GetDlgItemAs<QComboBox>(IDC_INLET_FILE)->lineEdit();
        inlet->setText(QStringLiteral("NEWLC"));
        // Select input takes the fields (then the dialog is cancelled) ...
        dlg.Window().GetDlgItemAs<QPushButton>(IDC_SELECT_INPUT)->click();
        // ... text typed after it is not taken.
        auto* ms = dlg.Window().GetDlgItemAs<QComboBox>(IDC_MS_FILE)->lineEdit();
        ms->setText(QStringLiteral("NEW"));
    });
    const QByteArray saved = UiTestEnv::Read(SettingsPath(env));
    QVERIFY2(saved.contains("\nMS=OLD\n"), saved.constData());
    QVERIFY2(saved.contains("\nInlet=NEWLC\n"), saved.constData());
}

void ConvertAppTest::unreadableSettingsAreReportedAndKeptAsBad() {
    UiTestEnv env;
    // Larger than a settings file can be (sparse, so it takes no disk).
    const QByteArray broken = "this is not\nan INI file at all\n[Files\n";
    const qint64 size = CProfileFile::kMaxFileSize + 1;
    QVERIFY(QFile::resize(env.Write(QStringLiteral("config/Korr2LD.INI"), broken), size));
    RunApp([](CConvertDlg& dlg) {
        QCOMPARE(Shown(dlg, IDC_INPUT_FILE), QStringLiteral("[Not Specified]"));
    });
    QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    const ShownMessageBox& told = CUiTestScript::MessageBoxes().front();
    QVERIFY2(told.text.contains(SettingsPath(env)), qPrintable(told.text));
    QVERIFY2(told.text.contains(QStringLiteral("ignored")), qPrintable(told.text));
    QCOMPARE(told.type & MB_ICONMASK, MB_ICONEXCLAMATION);
    QCOMPARE(told.caption, QStringLiteral("Korrin File Conversion"));
    // The original is kept, and the new file holds the six values.
    const QString kept = SettingsPath(env) + QStringLiteral(".bad");
    QCOMPARE(QFileInfo(kept).size(), size);
    QVERIFY(UiTestEnv::Read(kept).startsWith(broken));
    QVERIFY(UiTestEnv::Read(SettingsPath(env)).startsWith("[Files]\nInput=[Not Specified]\n"));
}

K2L_QTEST_MAIN(ConvertAppTest)
#include "convert_app_test.moc"
