// The installed program's promises, tested on the built korr2ld itself:
// --help and --version without a display, a missing FILE, no display at
// all, and a FILE that the dialog starts with.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs korr2ld with ARGS in DIR, with no display and no Qt platform unless
// EXTRA names them, and with its settings and the data system's in DIR.
Run RunKorr2ld(const QStringList& args, const QTemporaryDir& dir,
               const QProcessEnvironment& extra = QProcessEnvironment()) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "K2L_SCREENSHOT"}) {
        env.remove(QLatin1String(name));
    }
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("HOME"), dir.path());
    env.insert(QStringLiteral("LUMENDA_HOME"), dir.filePath(QStringLiteral("lumenda")));
    env.insert(extra);

    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(K2L_BIN_DIR "/korr2ld"), args);
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        run.err = QStringLiteral("did not end normally: ") + process.readAllStandardError();
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
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
    QTest::addColumn<QString>("out");  // standard output starts with it
    QTest::addColumn<QString>("err");  // standard error contains it
    QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << 0
                            << QStringLiteral("Usage: korr2ld [options] [FILE]\n") << QString();
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << 0
                               << QStringLiteral("korr2ld " K2L_VERSION "\n") << QString();
    QTest::newRow("missing FILE") << QStringList{QStringLiteral("no-such-export.txt")} << 2
                                  << QString()
                                  << QStringLiteral("no-such-export.txt: no such file");
    QTest::newRow("no display") << QStringList() << 1 << QString()
                                << QStringLiteral("needs a graphical session");
    QTest::newRow("no display, with a FILE")
        << QStringList{QStringLiteral("plate7.txt")} << 1 << QString()
        << QStringLiteral("korr2ld-cli converts without one");
}

void Korr2ldProgramTest::withoutDisplay() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile export_(dir.filePath(QStringLiteral("plate7.txt")));
    QVERIFY(export_.open(QIODevice::WriteOnly));
    export_.close();

    const Run run = RunKorr2ld(args, dir);
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.err));
    QVERIFY2(run.out.startsWith(out), qPrintable(run.out));
    if (out.isEmpty()) {
        QCOMPARE(run.out, QString());
    }
    if (err.isEmpty()) {
        QCOMPARE(run.err, QString());
    } else {
        QVERIFY2(run.err.contains(err), qPrintable(run.err));
        QVERIFY2(!run.err.contains(QStringLiteral("Reinstalling")), qPrintable(run.err));
    }
    // Nothing was started, so nothing was saved.
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("config/Korr2LD.INI"))));
}

void Korr2ldProgramTest::startsWithTheNamedFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("runs")));
    QFile export_(dir.filePath(QStringLiteral("runs/plate7.txt")));
    QVERIFY(export_.open(QIODevice::WriteOnly));
    export_.close();

    // The dialog saves a picture of itself once shown, and closes; closing
    // saves its values.
    QProcessEnvironment extra;
    extra.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    extra.insert(QStringLiteral("K2L_SCREENSHOT"), dir.filePath(QStringLiteral("shot.png")));
    const Run run = RunKorr2ld({QStringLiteral("runs/plate7.txt")}, dir, extra);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("shot.png"))));

    QFile settings(dir.filePath(QStringLiteral("config/Korr2LD.INI")));
    QVERIFY(settings.open(QIODevice::ReadOnly));
    const QByteArray saved = settings.readAll();
    const QByteArray input = QFile::encodeName(dir.filePath(QStringLiteral("runs/plate7.txt")));
    const QByteArray output = QFile::encodeName(dir.filePath(QStringLiteral("plate7.sdb")));
    QVERIFY2(saved.contains("Input=" + input + "\n"), saved.constData());
    QVERIFY2(saved.contains("Output=" + output + "\n"), saved.constData());
    QVERIFY2(saved.contains("Data=plate7\n"), saved.constData());
}

QTEST_GUILESS_MAIN(Korr2ldProgramTest)
#include "korr2ld_program_test.moc"
