// What the conversion dialog tells the user: the result message's counts,
// warnings and skipped lines, the preview, an export dropped onto it, and
// how far a long conversion has come.
#include <sys/stat.h>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTextEdit>
#include <QUrl>
#include <QtTest>
#include <utility>

#include "tests/ui/dialog_runner.h"
#include "tests/ui/ui_test_env.h"
#include "ui/ConversionProgress.h"
#include "ui/ConvertDlg.h"
#include "ui/PreviewWindow.h"
#include "ui/ResourceIds.h"
#include "ui/platform/qt/MessageBox.h"
#include "ui/platform/qt/TableWindow.h"

namespace {

// Three sample lines, the second with a decimal comma in column 3.
const QByteArray kExport =
    "Pos\tSample\tVolume\tTime\tWell\tFractions\tRack\tComment\n"
    "1\tBSA_1\t1.5\t2\tA1M2.5\tR1:3:5\tRack1\tdigest\n"
    "2\tBSA_2\t1,5\t2.25\tA2M2.5\tR1:1:2\tRack1\tdigest\n"
    "0\tunused\t0\t0\tA5M0\tR2:1:1\tRack2\tskipped\n";

void SetValues(CConvertDlg& dlg, const QString& input, const QString& output) {
    dlg.m_strInputFile = input.toStdString();
    dlg.m_strOutputFile = output.toStdString();
    dlg.m_strMSFile = "ESI_POS";
    dlg.m_strInletFile = "LC_30MIN";
    dlg.m_strMacroFile = "ACQUIRE";
    dlg.m_strDataFile = "plate7";
}

// Drags the files PATHS onto DLG and drops them there: whether the dialog
// took the drag, and whether it took the drop.
std::pair<bool, bool> Drop(CDialog& dlg, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls << QUrl::fromLocalFile(path);
    }
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dlg.Window(), &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dlg.Window(), &drop);
    return {enter.isAccepted(), drop.isAccepted()};
}

}  // namespace

class ConvertReportDlgTest : public QObject {
    Q_OBJECT

private slots:
    void resultCarriesCountsAndWarningsBehindDetails();
    void detailsAreReachedByTabAndScrolledAndAClashIsInTheMessage();
    void previewShowsTheRecordsAndWritesNothing();
    void droppedExportIsTakenAsIfSelected();
    void droppedFolderDeviceMissingFileOrTwoFilesAreRefused();
    void longConversionCountsRecordsInTheTitleAndKeepsPainting();
};

void ConvertReportDlgTest::resultCarriesCountsAndWarningsBehindDetails() {
    UiTestEnv env;
    const QString input = env.Write(QStringLiteral("plate7.txt"), kExport);
    const QString output = env.Path(QStringLiteral("plate7.sdb"));
    CConvertDlg dlg;
    SetValues(dlg, input, output);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { d.SendCommand(IDC_CONVERT); });

    QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    const ShownMessageBox& box = CUiTestScript::MessageBoxes().front();
    QCOMPARE(box.text, QStringLiteral("Sample List %1 created successfully").arg(output));
    QCOMPARE(box.detail, QStringLiteral("5 records written, 2 sample lines read, 2 other lines "
                                        "skipped\n1 warning: see the details."));
    const QStringList details = box.details.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(details.size(), 3);
    QVERIFY2(details[0].startsWith(input + QStringLiteral(":3:")), qPrintable(details[0]));
    QVERIFY2(details[0].endsWith(QStringLiteral("[decimal-comma]")), qPrintable(details[0]));
    QCOMPARE(details[1], input + QStringLiteral(":1: skipped: first column is text (Pos)"));
    QCOMPARE(details[2], input + QStringLiteral(":4: skipped: first column is zero (0)"));

    // The conversion is in the log, with its counts and warnings.
    const QStringList log =
        QString::fromUtf8(
            UiTestEnv::Read(env.Path(QStringLiteral("state/korr2ld/conversions.log"))))
            .split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(log.size(), 1);
    const QStringList fields = log.front().split(u'\t');
    QCOMPARE(fields.size(), 15);
    QCOMPARE(fields.mid(9, 6),
             QStringList({QStringLiteral("5"), QStringLiteral("2"), QStringLiteral("2"),
                          QStringLiteral("1"), QStringLiteral("created"), QString()}));
}

void ConvertReportDlgTest::detailsAreReachedByTabAndScrolledAndAClashIsInTheMessage() {
    UiTestEnv env;
    QByteArray commas = "Pos\tSample\tVolume\tTime\tWell\tFractions\tRack\tComment\n";
    for (int line = 1; line <= 80; ++line) {
        commas += QByteArray::number(line) + "\tS\t1,5\t2\tA1M2.5\tR1:1:1\tRack1\tx\n";
    }
    const QString input = env.Write(QStringLiteral("plate7.txt"), commas);
    CConvertDlg dlg;
    SetValues(dlg, input, env.Path(QStringLiteral("plate8.sdb")));
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { d.SendCommand(IDC_CONVERT); });

    QTextEdit* details = nullptr;
    int scrolled = 0;
    SetMessageBoxHook([&](QMessageBox& box) {
        QApplication::setActiveWindow(&box);
        box.buttons().constLast()->click();  // Show Details...
        for (int tab = 0; tab < 8 && details == nullptr; ++tab) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            details = qobject_cast<QTextEdit*>(QApplication::focusWidget());
        }
        QTest::keyClick(details, Qt::Key_PageDown);
        scrolled = details->verticalScrollBar()->value();
    });
    // A second list beside the first with the same data file names.
    SetValues(dlg, input, env.Path(QStringLiteral("plate9.sdb")));
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { d.SendCommand(IDC_CONVERT); });
    SetMessageBoxHook(nullptr);

    QVERIFY(details != nullptr && scrolled > 0);
    const ShownMessageBox& box = CUiTestScript::MessageBoxes().back();
    QVERIFY2(box.detail.contains(QStringLiteral("Data file clash: the Sample List ") +
                                 env.Path(QStringLiteral("plate8.sdb")) +
                                 QStringLiteral(" also has records")),
             qPrintable(box.detail));
}

void ConvertReportDlgTest::previewShowsTheRecordsAndWritesNothing() {
    UiTestEnv env;
    const QString input = env.Write(QStringLiteral("plate7.txt"), kExport);
    const QString output = env.Path(QStringLiteral("plate7.sdb"));
    const QString settings = QString::fromLocal8Bit(OstrelSettingsPath());
    int shown = 0;
    CTableWindow::SetShowHook([&](CTableWindow& window) {
        ++shown;
        QCOMPARE(window.Table()->rowCount(), 5);
        QCOMPARE(window.Table()->item(0, 1)->text(), QStringLiteral("plate001"));
        QCOMPARE(window.Table()->item(4, 1)->text(), QStringLiteral("[plate005]"));
        QCOMPARE(window.Table()->item(4, 2)->text(), QStringLiteral("Fraction:2, 1.00, 2.25"));
        QVERIFY(window.Summary()->text().startsWith(QStringLiteral("5 records to write")));
        QVERIFY(window.Findings()->toPlainText().contains(QStringLiteral("[decimal-comma]")));
        QVERIFY(window.isSizeGripEnabled());
        // Tab leaves the table for the warnings and Close; both panes are named.
        QApplication::setActiveWindow(&window);
        window.Table()->setFocus();
        QTest::keyClick(window.Table(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), window.Findings());
        QTest::keyClick(window.Findings(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), window.Buttons()->button(QDialogButtonBox::Close));
        QCOMPARE(window.Table()->accessibleName(), QStringLiteral("Records"));
        QCOMPARE(window.Findings()->accessibleName(), QStringLiteral("Warnings and skipped lines"));
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    });
    CConvertDlg dlg;
    SetValues(dlg, input, output);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { d.SendCommand(IDC_PREVIEW); });
    CTableWindow::SetShowHook(nullptr);

    QCOMPARE(shown, 1);
    QVERIFY(CUiTestScript::MessageBoxes().empty());
    QVERIFY(!QFile::exists(output));
    QVERIFY2(!QFile::exists(settings), qPrintable(settings));  // no location stored
}

void ConvertReportDlgTest::droppedExportIsTakenAsIfSelected() {
    UiTestEnv env;
    const QString input = env.Write(QStringLiteral("Runs/Plate9.txt"), kExport);
    CConvertDlg dlg;
    SetValues(dlg, QStringLiteral("[Not Specified]"), env.Path(QStringLiteral("Lists/old.sdb")));
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        QVERIFY(d.Window().acceptDrops());
        QVERIFY(Drop(d, {input}).first);
        QCOMPARE(Shown(d, IDC_INPUT_FILE), input);
        QCOMPARE(Shown(d, IDC_OUTPUT_FILE), env.Path(QStringLiteral("Lists/Plate9.sdb")));
        QCOMPARE(Shown(d, IDC_DATA_FILE), QStringLiteral("Plate9"));
        QVERIFY(d.IsControlEnabled(IDC_CONVERT));
    });
    QCOMPARE(dlg.m_strInputFile, input.toStdString());
}

void ConvertReportDlgTest::droppedFolderDeviceMissingFileOrTwoFilesAreRefused() {
    UiTestEnv env;
    const QString fifo = env.Path(QStringLiteral("pipe.txt"));
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    CConvertDlg dlg;
    SetValues(dlg, QStringLiteral("[Not Specified]"), env.Path(QStringLiteral("old.sdb")));
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        const QString input = env.Write(QStringLiteral("in.txt"), kExport);
        for (const QStringList& paths :
             {QStringList{env.Path(QStringLiteral("work"))}, QStringList{fifo},
              QStringList{QStringLiteral("/dev/null")}, QStringList{env.Path(QStringLiteral("no"))},
              QStringList{input, input}}) {  // two files at once are not an export
            QVERIFY2(Drop(d, paths) == std::pair(false, false), qPrintable(paths.join(u' ')));
        }
    });
    QCOMPARE(dlg.m_strInputFile, std::string("[Not Specified]"));
}

// The titles a window shows, and whether it was painted while its title
// counted records.
class TitleWatch : public QObject {
public:
    QStringList titles;
    bool paintedWhileCounting = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QString title = static_cast<QWidget*>(watched)->windowTitle();
        if (event->type() == QEvent::WindowTitleChange) {
            titles << title;
        }
        paintedWhileCounting |= event->type() == QEvent::Paint && title.contains(u'-');
        return false;
    }
};

void ConvertReportDlgTest::longConversionCountsRecordsInTheTitleAndKeepsPainting() {
    UiTestEnv env;
    QByteArray lines = "Pos\tSample\tVolume\tTime\tWell\tFractions\tRack\tComment\n";
    for (int i = 1; i <= 3000; ++i) {
        lines += QByteArray::number(i) + "\tS\t1.5\t2\tA1M2.5\tR1:1:1\tRack1\tx\n";
    }
    CConvertDlg dlg;
    SetValues(dlg, env.Write(QStringLiteral("plate7.txt"), lines),
              env.Path(QStringLiteral("plate7.sdb")));
    ConversionProgress::SetInterval(std::chrono::milliseconds(0));
    TitleWatch watch;
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        d.Window().installEventFilter(&watch);
        // Due at the first chance the conversion gives the event loop.
        QTimer::singleShot(0, &d.Window(), [&d] { d.Window().update(); });
        d.SendCommand(IDC_CONVERT);
        d.Window().removeEventFilter(&watch);
    });
    ConversionProgress::SetInterval(std::chrono::milliseconds(100));
    QVERIFY(watch.paintedWhileCounting);
    QCOMPARE(watch.titles.size(), 3001);
    QCOMPARE(watch.titles.front(), QStringLiteral("Korrin File Conversion - 1 record"));
    QCOMPARE(watch.titles[2999], QStringLiteral("Korrin File Conversion - 3,000 records"));
    QCOMPARE(watch.titles.back(), QStringLiteral("Korrin File Conversion"));
    QCOMPARE(CUiTestScript::MessageBoxes().at(0).caption, watch.titles.back());
}

K2L_QTEST_MAIN(ConvertReportDlgTest)
#include "convert_report_dlg_test.moc"
