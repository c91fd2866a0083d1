// What korr2ld makes of its command line and its environment, before any
// window exists; and the export named there, which the dialog starts with
// as if it had been chosen with the input's Select... button.
#include <QPushButton>
#include <QtTest>
#include <sstream>

#include "app/CommandLine.h"
#include "app/ConvertApp.h"
#include "support/scoped_env.h"
#include "tests/app/app_runner.h"
#include "tests/app/qt_test_env.h"
#include "ui/ConvertDlg.h"

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Runs the application with START_FILE on its command line; BODY acts on
// its dialog, which is then closed.
void RunAppWith(const std::string& startFile, const std::function<void(CConvertDlg&)>& body) {
    CConvertApp app;
    app.m_strStartFile = startFile;
    RunConvertApp(app, body);
}

// VALUE as k2ltest::ScopedEnv takes it: a null array removes the variable.
const char* EnvValue(const QByteArray& value) {
    return value.isNull() ? nullptr : value.constData();
}

}  // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void arguments_data();
    void arguments();
    void helpNamesTheProgramAndItsArgument();
    void graphicalSession_data();
    void graphicalSession();
    void startFileIsChosenAsSelectWouldChooseIt();
    void startFileGoesThroughTheSameValidationAsSelect();
    void withoutStartFileTheRememberedInputStands();
};

void CommandLineTest::arguments_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("run");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");   // what standard output starts with
    QTest::addColumn<QString>("err");   // what standard error contains
    QTest::addColumn<QString>("file");  // the file to start with, relative to work/
    const QString none;
    QTest::newRow("nothing") << QStringList() << true << 0 << none << none << none;
    QTest::newRow("a file") << QStringList{QStringLiteral("plate7.txt")} << true << 0 << none
                            << none << QStringLiteral("plate7.txt");
    QTest::newRow("a file after --") << QStringList{QStringLiteral("--"), QStringLiteral("-x.txt")}
                                     << true << 0 << none << none << QStringLiteral("-x.txt");
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << false << 0
                               << QStringLiteral("korr2ld " K2L_VERSION "\n") << none << none;
    QTest::newRow("-v") << QStringList{QStringLiteral("-v")} << false << 0
                        << QStringLiteral("korr2ld " K2L_VERSION "\n") << none << none;
    QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << false << 0
                            << QStringLiteral("Usage: korr2ld ") << none << none;
    QTest::newRow("-h before a file")
        << QStringList{QStringLiteral("-h"), QStringLiteral("plate7.txt")} << false << 0
        << QStringLiteral("Usage: korr2ld ") << none << none;
    QTest::newRow("missing file") << QStringList{QStringLiteral("gone.txt")} << false << 2 << none
                                  << QStringLiteral("korr2ld: gone.txt: no such file") << none;
    QTest::newRow("a directory") << QStringList{QStringLiteral("folder")} << false << 2 << none
                                 << QStringLiteral("korr2ld: folder: not a file") << none;
    QTest::newRow("two files") << QStringList{QStringLiteral("plate7.txt"),
                                              QStringLiteral("plate7.txt")}
                               << false << 2 << none << QStringLiteral("one FILE at most") << none;
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--bogus")} << false << 2 << none
                                    << QStringLiteral("bogus") << none;
    QTest::newRow("Qt's help-all is not offered")
        << QStringList{QStringLiteral("--help-all")} << false << 2 << none
        << QStringLiteral("help-all") << none;
}

void CommandLineTest::arguments() {
    QFETCH(QStringList, args);
    QFETCH(bool, run);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QString, file);
    UiTestEnv env;
    env.Write(QStringLiteral("work/plate7.txt"), "");
    env.Write(QStringLiteral("work/-x.txt"), "");
    QVERIFY(QDir(env.Path(QStringLiteral("work"))).mkdir(QStringLiteral("folder")));

    std::ostringstream outStream;
    std::ostringstream errStream;
    const StartRequest request = ParseCommandLine(
        QStringList{QStringLiteral("/usr/bin/korr2ld")} + args, outStream, errStream);
    QCOMPARE(request.bRun, run);
    QCOMPARE(request.nExitCode, exitCode);
    QCOMPARE(Q(request.strFile), file);
    QVERIFY2(Q(outStream.str()).startsWith(out), outStream.str().c_str());
    if (out.isEmpty()) {
        QCOMPARE(Q(outStream.str()), QString());
    }
    if (err.isEmpty()) {
        QCOMPARE(Q(errStream.str()), QString());
    } else {
        QVERIFY2(Q(errStream.str()).contains(err), errStream.str().c_str());
        QVERIFY(Q(errStream.str()).contains(QStringLiteral("korr2ld --help")));
    }
}

void CommandLineTest::helpNamesTheProgramAndItsArgument() {
    std::ostringstream out;
    std::ostringstream err;
    ParseCommandLine({QStringLiteral("/some/where/korr2ld"), QStringLiteral("--help")}, out, err);
    const QString help = Q(out.str());
    // Not by the path it was started with (this test's own).
    QVERIFY2(!help.contains(QCoreApplication::arguments().constFirst()), qPrintable(help));
    for (const char* word : {"[FILE]", "--help", "--version", "korr2ld-cli"}) {
        QVERIFY2(help.contains(QLatin1String(word)), word);
    }
}

void CommandLineTest::graphicalSession_data() {
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArray>("wayland");
    QTest::addColumn<QByteArray>("platform");
    QTest::addColumn<bool>("graphical");
    const QByteArray unset;
    QTest::newRow("nothing set") << unset << unset << unset << false;
    QTest::newRow("all empty") << QByteArray("") << QByteArray("") << QByteArray("") << false;
    QTest::newRow("X11") << QByteArray(":0") << unset << unset << true;
    QTest::newRow("Wayland") << unset << QByteArray("wayland-0") << unset << true;
    QTest::newRow("a chosen Qt platform") << unset << unset << QByteArray("offscreen") << true;
}

void CommandLineTest::graphicalSession() {
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, wayland);
    QFETCH(QByteArray, platform);
    QFETCH(bool, graphical);
    const k2ltest::ScopedEnv d("DISPLAY", EnvValue(display));
    const k2ltest::ScopedEnv w("WAYLAND_DISPLAY", EnvValue(wayland));
    const k2ltest::ScopedEnv p("QT_QPA_PLATFORM", EnvValue(platform));
    QCOMPARE(HasGraphicalSession(), graphical);
}

void CommandLineTest::startFileIsChosenAsSelectWouldChooseIt() {
    UiTestEnv env;
    QVERIFY(UiTestEnv::ConfigureLocation("MS_FUNC_DB", env.Path(QStringLiteral("ms/")), "ms"));
    env.Write(QStringLiteral("ms/ESI_POS.ms"), "");
    env.Write(QStringLiteral("config/Korr2LD.INI"),
              "[Files]\nOutput=" + QFile::encodeName(env.Path(QStringLiteral("lists/old.sdb"))) +
                  "\nMS=esi\n");
    const QString input = env.Write(QStringLiteral("work/runs/plate7.txt"), "");
    // Relative to the current directory, as a shell passes it.
    RunAppWith("runs/plate7.txt", [&](CConvertDlg& dlg) {
        QCOMPARE(Shown(dlg, IDC_INPUT_FILE), input);
        QCOMPARE(Shown(dlg, IDC_OUTPUT_FILE), env.Path(QStringLiteral("lists/plate7.sdb")));
        QCOMPARE(Shown(dlg, IDC_DATA_FILE), QStringLiteral("plate7"));
        // The exchange towards the controls after the choice matched the list.
        QCOMPARE(Shown(dlg, IDC_MS_FILE), QStringLiteral("ESI_POS"));
        QVERIFY(dlg.IsControlEnabled(IDC_CONVERT));
    });
    QVERIFY(CUiTestScript::MessageBoxes().empty());
    QVERIFY(CUiTestScript::FileDialogs().empty());
    const QByteArray saved = UiTestEnv::Read(env.Path(QStringLiteral("config/Korr2LD.INI")));
    QVERIFY2(saved.contains("Input=" + QFile::encodeName(input) + "\n"), saved.constData());
    QVERIFY2(saved.contains("Data=plate7\n"), saved.constData());
}

void CommandLineTest::startFileGoesThroughTheSameValidationAsSelect() {
    UiTestEnv env;
    env.Write(QStringLiteral("config/Korr2LD.INI"), "[Files]\nMacro=MACRO_TOO_LONG\n");
    env.Write(QStringLiteral("work/plate7.txt"), "");
    RunAppWith("plate7.txt", [&](CConvertDlg& dlg) {
        // Refused as Select... would refuse it: nothing was chosen.
        QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
        QCOMPARE(Shown(dlg, IDC_INPUT_FILE), QStringLiteral("[Not Specified]"));
        QCOMPARE(Shown(dlg, IDC_DATA_FILE), QString());
    });
}

void CommandLineTest::withoutStartFileTheRememberedInputStands() {
    UiTestEnv env;
    const QString remembered = env.Write(QStringLiteral("work/old.txt"), "");
    env.Write(QStringLiteral("config/Korr2LD.INI"),
              "[Files]\nInput=" + QFile::encodeName(remembered) + "\nData=OLD\n");
    RunAppWith(std::string(), [&](CConvertDlg& dlg) {
        QCOMPARE(Shown(dlg, IDC_INPUT_FILE), remembered);
        QCOMPARE(Shown(dlg, IDC_OUTPUT_FILE), QStringLiteral("[Not Specified]"));
        QCOMPARE(Shown(dlg, IDC_DATA_FILE), QStringLiteral("OLD"));
    });
    QVERIFY(CUiTestScript::MessageBoxes().empty());
}

K2L_QTEST_MAIN(CommandLineTest)
#include "command_line_test.moc"
