// The dialogs with the desktop's font, at the scale factor the test runs
// with (CTest runs it at 1 and at 2): every text fits its control, group
// titles lie on their frame line with the controls clear of them, no two
// controls overlap, captions have room in the title bar, and a push
// button's mnemonic gives it the focus. What a screen reader says of each
// control, and long paths elided in the middle.
#include <QAccessible>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

#include "tests/ui/dialog_runner.h"
#include "tests/ui/ui_test_env.h"
#include "ui/AboutDlg.h"
#include "ui/ConvertDlg.h"
#include "ui/MethodFoldersDlg.h"
#include "ui/OptionsDlg.h"
#include "ui/PreviewWindow.h"
#include "ui/platform/qt/DialogBuilder.h"
#include "ui/platform/qt/PathLabel.h"
#include "ui/platform/qt/TableWindow.h"
#include "ui/platform/qt/TextCodec.h"

namespace {

// The text a label shows: without its mnemonic marker when it has one.
QString ShownText(const QLabel& label) {
    return label.buddy() != nullptr ? CDialogBuilder::StripMnemonic(label.text()) : label.text();
}

// Checks everything that can be measured on the open dialog DLG.
void CheckFit(const CDialog& dlg) {
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    QCOMPARE(dlg.Window().devicePixelRatioF(), scale);
    QVERIFY2(
        dlg.Window().width() >= CaptionNeedsWidth(dlg.Window().windowTitle(), dlg.Window().font()),
        qPrintable(dlg.Window().windowTitle()));

    QList<QWidget*> controls;
    for (QWidget* child : dlg.Window().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow()) {  // menus and popups are not controls
            controls << child;
        }
    }
    for (const QWidget* control : controls) {
        const QRect rect = control->geometry();
        const QString name = control->metaObject()->className() + QStringLiteral(" at ") +
                             QString::number(rect.x()) + u',' + QString::number(rect.y());
        QVERIFY2(dlg.Window().rect().contains(rect),
                 qPrintable(name + QStringLiteral(" leaves the dialog")));

        if (const auto* label = qobject_cast<const QLabel*>(control);
            label != nullptr && label->pixmap().isNull()) {
            const QFontMetrics metrics(label->font());
            const QString text =
                ElidesInTheMiddle(*label) ? PaintedPathText(*label) : ShownText(*label);
            QVERIFY2(metrics.horizontalAdvance(text) <= label->contentsRect().width(),
                     qPrintable(QStringLiteral("\"%1\" is cut").arg(text)));
            QVERIFY2(metrics.height() <= label->contentsRect().height(),
                     qPrintable(QStringLiteral("\"%1\" is cut below").arg(text)));
        }
        if (const auto* button = qobject_cast<const QPushButton*>(control)) {
            const QFontMetrics metrics(button->font());
            const QString text = CDialogBuilder::StripMnemonic(button->text());
            QVERIFY2(metrics.horizontalAdvance(text) < button->width(),
                     qPrintable(QStringLiteral("\"%1\" is cut").arg(text)));
        }
        if (qobject_cast<const QGroupBox*>(control) != nullptr) {
            // Only the dialogs' own group box puts its title on the frame line.
            QVERIFY(dynamic_cast<const CGroupBox*>(control) != nullptr);
        }
        if (const auto* group = dynamic_cast<const CGroupBox*>(control)) {
            const QRect title = group->TitleRect();
            QVERIFY2(qAbs(title.center().y() - group->FrameLineY()) <= 1,
                     qPrintable(group->title() + QStringLiteral(" is off its frame line")));
            QVERIFY(group->rect().contains(title));
            QVERIFY2(QFontMetrics(group->font()).horizontalAdvance(group->title()) <= title.width(),
                     qPrintable(group->title() + QStringLiteral(" is cut")));
            // Whatever lies inside the box starts below its title line.
            const int titleBottom = rect.y() + title.bottom();
            for (const QWidget* other : controls) {
                if (other != control && rect.contains(other->geometry())) {
                    QVERIFY2(other->geometry().top() > titleBottom,
                             qPrintable(QStringLiteral("a control straddles the top of ") +
                                        group->title()));
                }
            }
            continue;
        }
        // No two controls overlap; group boxes hold them, so they are left out.
        for (const QWidget* other : controls) {
            if (other != control && qobject_cast<const QGroupBox*>(other) == nullptr) {
                QVERIFY2(!rect.intersects(other->geometry()),
                         qPrintable(name + QStringLiteral(" overlaps another control")));
            }
        }
    }
}

QString Accessible(QWidget* control, QAccessible::Text text) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    return accessible != nullptr ? accessible->text(text) : QString();
}

// Every control of DLG has an accessible name, and every one that takes the
// focus a description too; the dialog has a fixed size and no maximise
// button.
void CheckNamed(CDialog& dlg) {
    QVERIFY(!(dlg.Window().windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(dlg.Window().minimumSize(), dlg.Window().maximumSize());
    for (QWidget* control : dlg.Window().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control->isWindow() || qobject_cast<QMenuBar*>(control) != nullptr) {
            continue;
        }
        const QString where =
            dlg.Window().windowTitle() + u' ' + control->metaObject()->className();
        QVERIFY2(!Accessible(control, QAccessible::Name).isEmpty(), qPrintable(where));
        QVERIFY2(control->focusPolicy() == Qt::NoFocus ||
                     !Accessible(control, QAccessible::Description).isEmpty(),
                 qPrintable(where));
    }
}

bool IsFocused(const CDialog& dlg, int id) {
    QWidget* control = dlg.Window().GetDlgItem(id);
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && (focus == control || control->isAncestorOf(focus));
}

}  // namespace

class DialogFitTest : public QObject {
    Q_OBJECT

private slots:
    void textsFit_data();
    void textsFit();
    void buttonMnemonicMovesTheFocusBeforeClicking_data();
    void buttonMnemonicMovesTheFocusBeforeClicking();
    void enterAfterChoosingAFileDoesNotClose();
    void everyControlIsNamedAndLongPathsElideInTheMiddle();
    void previewFitsASmallScreenAndScales();
};

void DialogFitTest::textsFit_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pointSize");
    QTest::newRow("desktop default") << QString() << 0;
    QTest::newRow("DejaVu Sans 9") << QStringLiteral("DejaVu Sans") << 9;
    QTest::newRow("DejaVu Sans 10") << QStringLiteral("DejaVu Sans") << 10;
    QTest::newRow("DejaVu Sans 11") << QStringLiteral("DejaVu Sans") << 11;
    QTest::newRow("DejaVu Sans 14") << QStringLiteral("DejaVu Sans") << 14;
}

void DialogFitTest::textsFit() {
    QFETCH(QString, family);
    QFETCH(int, pointSize);
    UiTestEnv env;
    const QFont previous = QApplication::font();
    QFont font = previous;
    if (!family.isEmpty()) {
        font.setFamily(family);
        font.setPointSize(pointSize);
    }
    QApplication::setFont(font);
    {
        CConvertDlg main;
        main.m_strInputFile = "[Not Specified]";
        main.m_strOutputFile = "[Not Specified]";
        RunModal<CConvertDlg>(main, [](CConvertDlg& d) { CheckFit(d); });
    }
    if (!QTest::currentTestFailed()) {
        COptionsDlg options;
        RunModal<COptionsDlg>(options, [](COptionsDlg& d) { CheckFit(d); });
    }
    if (!QTest::currentTestFailed()) {
        CAboutDlg about;
        RunModal<CAboutDlg>(about, [](CAboutDlg& d) { CheckFit(d); });
    }
    if (!QTest::currentTestFailed()) {
        CMethodFoldersDlg folders;
        RunModal<CMethodFoldersDlg>(folders, [](CMethodFoldersDlg& d) { CheckFit(d); });
    }
    QApplication::setFont(previous);
}

void DialogFitTest::buttonMnemonicMovesTheFocusBeforeClicking_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("openFileDialog");
    QTest::newRow("Alt+S") << int(Qt::Key_S) << IDC_SELECT_INPUT << true;
    QTest::newRow("Alt+E") << int(Qt::Key_E) << IDC_SELECT_OUTPUT << true;
    QTest::newRow("Alt+C") << int(Qt::Key_C) << IDC_CONVERT << false;
}

void DialogFitTest::buttonMnemonicMovesTheFocusBeforeClicking() {
    QFETCH(int, key);
    QFETCH(int, button);
    QFETCH(bool, openFileDialog);
    UiTestEnv env;
    CConvertDlg dlg;
    dlg.m_strInputFile = env.Write(QStringLiteral("plate.txt"), "").toStdString();
    dlg.m_strOutputFile = env.StdPath(QStringLiteral("plate.sdb"));
    CUiTestScript::CancelFileDialog();
    CUiTestScript::AnswerMessageBox(IDOK);
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        d.Window().GetDlgItem(IDCANCEL)->setFocus();
        QTest::keyClick(&d.Window(), static_cast<Qt::Key>(key), Qt::AltModifier);
        QVERIFY(IsFocused(d, button));
        // The click follows.
        if (openFileDialog) {
            QTRY_COMPARE(CUiTestScript::FileDialogs().size(), std::size_t(1));
        } else {
            QTRY_COMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
        }
        QVERIFY(IsFocused(d, button));
    });
}

void DialogFitTest::enterAfterChoosingAFileDoesNotClose() {
    UiTestEnv env;
    const QString input = env.Write(QStringLiteral("plate7.txt"), "");
    CConvertDlg dlg;
    dlg.m_strInputFile = "[Not Specified]";
    dlg.m_strOutputFile = "[Not Specified]";
    CUiTestScript::AcceptFileDialog(input);
    CUiTestScript::CancelFileDialog();
    bool closedByEnter = true;
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        // A first start: Convert is disabled, so Close has the focus.
        QVERIFY(!d.IsControlEnabled(IDC_CONVERT));
        d.Window().GetDlgItem(IDCANCEL)->setFocus();
        QTest::keyClick(&d.Window(), Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(Shown(d, IDC_INPUT_FILE), input);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        closedByEnter = !d.IsWindowVisible();
        // Enter pressed the focused Select... again, not Close.
        QTRY_COMPARE(CUiTestScript::FileDialogs().size(), std::size_t(2));
    });
    QVERIFY(!closedByEnter);
    QCOMPARE(QString::fromStdString(dlg.m_strInputFile), input);
}

void DialogFitTest::everyControlIsNamedAndLongPathsElideInTheMiddle() {
    UiTestEnv env;
    const std::string path = env.StdPath(QStringLiteral("runs/") + QString(80, u'r') +
                                         QStringLiteral("/plate7_2026-12-01.txt"));
    CConvertDlg main;
    main.m_strInputFile = path;
    main.m_strOutputFile = "[Not Specified]";
    RunModal<CConvertDlg>(main, [&](CConvertDlg& d) {
        CheckNamed(d);
        QCOMPARE(Accessible(d.Window().GetDlgItem(IDC_SELECT_INPUT), QAccessible::Name),
                 QStringLiteral("Select the Korrin input file"));
        QCOMPARE(Accessible(d.Window().GetDlgItem(IDC_SELECT_OUTPUT), QAccessible::Name),
                 QStringLiteral("Select the Sample List output file"));

        // The painting elides in the middle; the text and tooltip stay whole.
        auto* label = d.Window().GetDlgItemAs<QLabel>(IDC_INPUT_FILE);
        QVERIFY(ElidesInTheMiddle(*label));
        QCOMPARE(label->text(), DecodePath(path));
        QCOMPARE(label->toolTip(), label->text());
        const QString painted = PaintedPathText(*label);
        QVERIFY2(painted.contains(QChar(0x2026)) && painted.endsWith(QStringLiteral(".txt")),
                 qPrintable(painted));
        QVERIFY(label->fontMetrics().horizontalAdvance(painted) <= label->contentsRect().width());
        QCOMPARE(PaintedPathText(*d.Window().GetDlgItemAs<QLabel>(IDC_OUTPUT_FILE)),
                 QStringLiteral("[Not Specified]"));
        // No locations: each method field says so, whole, and to a screen reader.
        for (const int id : {IDC_MS_FILE, IDC_INLET_FILE, IDC_MACRO_FILE}) {
            auto* combo = d.Window().GetDlgItemAs<QComboBox>(id);
            QLineEdit* edit = combo->lineEdit();
            const QString shown = edit->placeholderText();
            QVERIFY(!shown.isEmpty());
            QVERIFY2(
                edit->fontMetrics().horizontalAdvance(shown) <= edit->contentsRect().width() - 4,
                qPrintable(shown + QStringLiteral(" is cut")));
            QCOMPARE(Accessible(edit, QAccessible::Name), Accessible(combo, QAccessible::Name));
            QVERIFY2(Accessible(edit, QAccessible::Description)
                         .contains(QStringLiteral("folder is set")),
                     qPrintable(Accessible(edit, QAccessible::Description)));
        }
        d.SendCommand(IDOK);  // takes the data from the controls
    });
    QVERIFY(main.m_strInputFile == path);

    COptionsDlg options;
    RunModal<COptionsDlg>(options, [](COptionsDlg& d) { CheckNamed(d); });
    CAboutDlg about;
    RunModal<CAboutDlg>(about, [](CAboutDlg& d) { CheckNamed(d); });
    CMethodFoldersDlg folders;
    RunModal<CMethodFoldersDlg>(folders, [](CMethodFoldersDlg& d) {
        CheckNamed(d);
        QCOMPARE(Accessible(d.Window().GetDlgItem(IDC_MS_BROWSE), QAccessible::Name),
                 QStringLiteral("Browse for the MS method folder"));
    });
}

void DialogFitTest::previewFitsASmallScreenAndScales() {
    PreviewContent content;
    content.findings = {std::string(300, 'w')};
    CTableWindow window(PreviewWindow::Table(content), nullptr);
    // An 800 x 600 screen, in the device-independent pixels of this scale.
    const QSize screen = QSize(800, 600) / window.devicePixelRatioF();
    window.FitInto(QRect(QPoint(0, 0), screen));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.width() < screen.width() && window.height() < screen.height());
    QWidget* close = window.Buttons()->button(QDialogButtonBox::Close);
    QVERIFY(window.rect().contains(QRect(close->mapTo(&window, QPoint(0, 0)), close->size())));
    window.FitInto(QRect(0, 0, 4000, 3000));  // a large screen: the size it asks for
    const CDialogUnits units(window.font());
    QCOMPARE(window.size(), QSize(units.ToPixelsX(PreviewWindow::kWidthUnits),
                                  units.ToPixelsY(PreviewWindow::kHeightUnits)));
}

K2L_QTEST_MAIN(DialogFitTest)
#include "dialog_fit_test.moc"
