// The installed program's promises, tested on the built korr2ld itself:
// --help and --version without a display, a missing FILE, no display at
// all or one that cannot be opened, and a FILE that the dialog starts with.
#include <QtTest>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/scratch_dir.h"

namespace {

using k2ltest::ScratchDir;

// RELATIVE inside DIR, as a Qt file name.
QString FilePath(const ScratchDir& dir, const char* relative) {
    return QFile::decodeName(QByteArray::fromStdString(dir.Path(relative)));
}

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs korr2ld with ARGS in DIR, with no display and no Qt platform unless
// EXTRA (NAME=VALUE entries) names them, and with its settings and the data
// system's in DIR.
Run RunKorr2ld(const QStringList& args, const ScratchDir& dir,
               const std::vector<std::string>& extra = {}) {
    k2ltest::Command command{
        .program = K2L_BIN_DIR "/korr2ld",
        .directory = dir.Path(),
        .set = {"XDG_CONFIG_HOME=" + dir.Path("config"), "HOME=" + dir.Path(),
                "LUMENDA_HOME=" + dir.Path("lumenda")},
        .unset = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "K2L_SCREENSHOT"}};
    for (const QString& arg : args) {
        command.args.push_back(QFile::encodeName(arg).toStdString());
    }
    command.set.insert(command.set.end(), extra.begin(), extra.end());

    const k2ltest::ChildResult ended =
        k2ltest::ChildProcess::Start(command).Wait(std::chrono::seconds(60));
    Run run;
    if (ended.exitCode < 0) {
        run.err = QStringLiteral("did not end normally: ") + QString::fromLocal8Bit(ended.err);
        return run;
    }
    run.exitCode = ended.exitCode;
    run.out = QString::fromLocal8Bit(ended.out);
    run.err = QString::fromLocal8Bit(ended.err);
    return run;
}

// A display name that no X server answers: one without a socket.
QString UnansweredDisplay() {
    int number = 7391;
    while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number)) ||
           std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock")) {
        ++number;
    }
    return u':' + QString::number(number);
}

}  // namespace

class Korr2ldProgramTest : public QObject {
    Q_OBJECT

private slots:
    void withoutDisplay_data();
    void withoutDisplay();
    void startsWithTheNamedFile();
};

void Korr2ldProgramTest::withoutDisplay_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");      // standard output starts with it
    QTest::addColumn<QString>("err");      // standard error contains it
    QTest::addColumn<QStringList>("env");  // NAME=VALUE entries
    QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << 0
                            << QStringLiteral("Usage: korr2ld [options] [FILE]\n") << QString()
                            << QStringList();
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << 0
                               << QStringLiteral("korr2ld " K2L_VERSION "\n") << QString()
                               << QStringList();
    QTest::newRow("missing FILE") << QStringList{QStringLiteral("no-such-export.txt")} << 2
                                  << QString() << QStringLiteral("no-such-export.txt: no such file")
                                  << QStringList();
    QTest::newRow("no display") << QStringList() << 1 << QString()
                                << QStringLiteral("needs a graphical session") << QStringList();
    QTest::newRow("no display, with a FILE")
        << QStringList{QStringLiteral("plate7.txt")} << 1 << QString()
        << QStringLiteral("korr2ld-cli converts without one") << QStringList();
    const QString display = UnansweredDisplay();
    for (const QString& platform : {QString(), QStringLiteral("xcb")}) {
        QStringList env{QStringLiteral("DISPLAY=") + display};
        if (!platform.isEmpty()) {
            env << QStringLiteral("QT_QPA_PLATFORM=") + platform;
        }
        QTest::addRow("display %s that does not answer, platform '%s'", qPrintable(display),
                      qPrintable(platform))
            << QStringList{QStringLiteral("plate7.txt")} << 1 << QString()
            << QStringLiteral("korr2ld: cannot open the display ") + display +
                   QStringLiteral(" (DISPLAY)")
            << env;
    }
}

void Korr2ldProgramTest::withoutDisplay() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QStringList, env);
    const ScratchDir dir;
    dir.Write("plate7.txt", "");
    std::vector<std::string> extra;
    for (const QString& entry : env) {
        extra.push_back(entry.toStdString());
    }

    const Run run = RunKorr2ld(args, dir, extra);
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.err));
    QVERIFY2(run.out.startsWith(out), qPrintable(run.out));
    if (out.isEmpty()) {
        QCOMPARE(run.out, QString());
    }
    if (err.isEmpty()) {
        QCOMPARE(run.err, QString());
    } else {
        QVERIFY2(run.err.contains(err), qPrintable(run.err));
        if (exitCode == 1) {  // the dialog cannot open: one line says why
            QVERIFY2(run.err.count(u'\n') == 1 && run.err.endsWith(u'\n'), qPrintable(run.err));
        }
        QVERIFY2(!run.err.contains(QStringLiteral("Reinstalling")), qPrintable(run.err));
    }
    // Nothing was started, so nothing was saved.
    QVERIFY(!QFile::exists(FilePath(dir, "config/Korr2LD.INI")));
}

void Korr2ldProgramTest::startsWithTheNamedFile() {
    const ScratchDir dir;
    dir.Write("runs/plate7.txt", "");

    // The dialog saves a picture of itself once shown, and closes; closing
    // saves its values.
    const Run run =
        RunKorr2ld({QStringLiteral("runs/plate7.txt")}, dir,
                   {"QT_QPA_PLATFORM=offscreen", "K2L_SCREENSHOT=" + dir.Path("shot.png")});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(QFile::exists(FilePath(dir, "shot.png")));

    QFile settings(FilePath(dir, "config/Korr2LD.INI"));
    QVERIFY(settings.open(QIODevice::ReadOnly));
    const QByteArray saved = settings.readAll();
    const QByteArray input = QFile::encodeName(FilePath(dir, "runs/plate7.txt"));
    const QByteArray output = QFile::encodeName(FilePath(dir, "plate7.sdb"));
    QVERIFY2(saved.contains("Input=" + input + "\n"), saved.constData());
    QVERIFY2(saved.contains("Output=" + output + "\n"), saved.constData());
    QVERIFY2(saved.contains("Data=plate7\n"), saved.constData());
}

QTEST_GUILESS_MAIN(Korr2ldProgramTest)
#include "korr2ld_program_test.moc"
