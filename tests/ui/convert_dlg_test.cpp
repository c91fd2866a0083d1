// The main dialog as a user meets it: start-up state, the file choices,
// the method lists, the data exchange and its validation, the Convert
// button, conversions and their messages, the About and Options dialogs.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

#include "tests/ui/dialog_runner.h"
#include "tests/ui/ui_test_env.h"
#include "ui/ConvertDlg.h"
#include "ui/OptionsDlg.h"
#include "ui/PreviewWindow.h"
#include "ui/platform/qt/ComboBox.h"
#include "ui/platform/qt/DialogBuilder.h"
#include "ui/platform/qt/TableWindow.h"

namespace {

constexpr const char* kCaption = "Korrin File Conversion";
// The validation message for a value longer than 8 characters in FIELD.
QString TooLong(const char* field) {
    return QStringLiteral("Please enter no more than 8 characters in the %1 field.")
        .arg(QLatin1String(field));
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QStringList Entries(CConvertDlg& dlg, int id) {
    QStringList entries;
    auto* combo = dlg.Window().GetDlgItemAs<CComboBox>(id);
    for (int i = 0; combo != nullptr && i < combo->count(); ++i) {
        entries << combo->itemText(i);
    }
    return entries;
}

void Click(CConvertDlg& dlg, int id) {
    dlg.Window().GetDlgItemAs<QPushButton>(id)->click();
}

// TRUE when control ID (or its edit field) has the dialog's focus.
bool HasFocus(CConvertDlg& dlg, int id) {
    QWidget* control = dlg.Window().GetDlgItem(id);
    QWidget* focus = dlg.Window().focusWidget();
    return focus != nullptr && (focus == control || control->isAncestorOf(focus));
}

bool ConvertEnabled(CConvertDlg& dlg) {
    return dlg.IsControlEnabled(IDC_CONVERT) != FALSE;
}

// The values of a first start, before any settings were saved; or the
// files INPUT and OUTPUT, where given.
void SetDefaults(CConvertDlg& dlg, const QString& input = QString(),
                 const QString& output = QString()) {
    dlg.m_strInputFile = input.isEmpty() ? "[Not Specified]" : input.toStdString();
    dlg.m_strOutputFile = output.isEmpty() ? "[Not Specified]" : output.toStdString();
}

// An input file that exists, so that Convert is enabled.
void SetExistingInput(CConvertDlg& dlg, const UiTestEnv& env) {
    dlg.m_strInputFile = env.Write(QStringLiteral("existing.txt"), "Pos\tName\n").toStdString();
}

QLineEdit* EditOf(CConvertDlg& dlg, int id) {
    QWidget* control = dlg.Window().GetDlgItem(id);
    if (auto* combo = dynamic_cast<QComboBox*>(control)) {
        return combo->lineEdit();
    }
    return dynamic_cast<QLineEdit*>(control);
}

const QByteArray kExport =
    "Pos\tSample\tVolume\tTime\tWell\tFractions\tRack\tComment\n"
    "1\tBSA_1\t1.5\t2\tA1M2.5\tR1:3:5\tRack1\tdigest\n"
    "2\tBSA_2\t1.5\t2.25\tA2M2.5\tR1:1:2\tRack1\tdigest\n";

}  // namespace

class ConvertDlgTest : public QObject {
    Q_OBJECT

private slots:
    void firstStartShowsDefaultsWithConvertDisabled();
    void layoutFollowsTheTemplateInDialogUnits();
    void tabOrderIsTemplateOrderAndMnemonicsReachFields();
    void closeEndsWithCancelAndTakesNoData();
    void enterInAFieldPressesConvert();
    void selectInputProposesNotSpecifiedWithoutDirectory();
    void selectInputDerivesOutputAndDataFile();
    void selectInputWhoseNameHoldsABackslashIsRefused();
    void selectInputWithUnspecifiedOutputUsesCurrentDirectory();
    void longInputTitleShowsWholeAndIsRefusedLater();
    void dataFileTypingIsLimitedToEight();
    void methodListsOfferStemsInOrderOfFullNames();
    void methodListsStayEmptyWithoutLocation();
    void valueSelectsFirstEntryWithItsPrefix_data();
    void valueSelectsFirstEntryWithItsPrefix();
    void tooLongValuesLoadUnchangedAndAreRefusedAtExchange();
    void selectInputRefusedWithTooLongMethodSelectOutputNot();
    void typedNameDiscardedByOutputChoiceKeptByCancel();
    void typingNeverChangesConvertButton();
    void vanishedInputStillEnabledUntilNextExchange();
    void overwriteQuestionOnlyWhenOutputExists();
    void answeringNoStopsTheConversion();
    void successfulConversionReportsAndWritesList();
    void failingConversionGivesReasonAsDetail();
    void readErrorNamesInputAndRestoresCursor();
    void outputWithAFinalDotIsRefusedBeforeTheQuestion();
    void locationThatCannotBeStoredIsADetailOfTheSuccess();
    void nonAsciiTextIsRefusedByField();
    void nameWithASeparatorIsRefusedByField();
    void everyAboutCommandOpensAboutBox();
    void menuBarAndContextMenuShareEntriesAndShortcuts();
    void optionsOkCopiesValuesBackAndShowsThem();
    void optionsCancelChangesNothing();
    void pathBytesSurviveTheExchange();
};

void ConvertDlgTest::firstStartShowsDefaultsWithConvertDisabled() {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        QCOMPARE(d.Window().windowTitle(), QString::fromLatin1(kCaption));
        QCOMPARE(Shown(d, IDC_INPUT_FILE), QStringLiteral("[Not Specified]"));
        QCOMPARE(Shown(d, IDC_OUTPUT_FILE), QStringLiteral("[Not Specified]"));
        QCOMPARE(Shown(d, IDC_MS_FILE), QString());
        QCOMPARE(Shown(d, IDC_INLET_FILE), QString());
        QCOMPARE(Shown(d, IDC_MACRO_FILE), QString());
        QCOMPARE(Shown(d, IDC_DATA_FILE), QString());
        QVERIFY(!ConvertEnabled(d));
        // Convert is the default button whenever no other button has the focus.
        d.Window().GetDlgItem(IDC_DATA_FILE)->setFocus();
        QVERIFY(d.Window().GetDlgItemAs<QPushButton>(IDC_CONVERT)->isDefault());
        QVERIFY(!d.Window().windowIcon().isNull());
        QVERIFY(d.OnQueryDragIcon() != nullptr);
    });
    QVERIFY(CUiTestScript::MessageBoxes().empty());
}

void ConvertDlgTest::layoutFollowsTheTemplateInDialogUnits() {
    UiTestEnv env;
    for (const int pointSize : {9, 14}) {
        QFont font = QApplication::font();
        font.setPointSize(pointSize);
        const QFont previous = QApplication::font();
        QApplication::setFont(font);
        CConvertDlg dlg;
        SetDefaults(dlg);
        RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
            const CDialogUnits units(d.Window().font());
            // The template's layout, below the dialog's menu bar.
            const int bar = d.Window().findChild<QMenuBar*>()->height();
            QCOMPARE(d.Window().size(), QSize(units.ToPixelsX(225), units.ToPixelsY(172) + bar));
            QCOMPARE(d.Window().GetDlgItem(IDC_CONVERT)->geometry(),
                     units.MapDialogRect(63, 154, 50, 14).translated(0, bar));
            QCOMPARE(d.Window().GetDlgItem(IDC_DATA_FILE)->geometry(),
                     units.MapDialogRect(151, 131, 45, 12).translated(0, bar));
            const QRect combo = d.Window().GetDlgItem(IDC_MACRO_FILE)->geometry();
            QCOMPARE(combo.topLeft(),
                     units.MapDialogRect(151, 116, 61, 52).translated(0, bar).topLeft());
            QCOMPARE(combo.width(), units.ToPixelsX(61));
            QVERIFY(!(d.Window().windowFlags() & Qt::WindowMaximizeButtonHint));
            QVERIFY(d.Window().windowFlags() & Qt::WindowMinimizeButtonHint);
        });
        QApplication::setFont(previous);
        if (QTest::currentTestFailed()) {
            return;
        }
    }
}

void ConvertDlgTest::tabOrderIsTemplateOrderAndMnemonicsReachFields() {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    dlg.m_strInputFile = env.StdPath("work");  // an existing entry enables Convert
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        const int order[] = {IDC_CONVERT, IDCANCEL,       IDC_SELECT_INPUT, IDC_SELECT_OUTPUT,
                             IDC_MS_FILE, IDC_INLET_FILE, IDC_MACRO_FILE,   IDC_DATA_FILE};
        d.Window().GetDlgItem(IDC_CONVERT)->setFocus();
        for (std::size_t i = 1; i < std::size(order); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            QWidget* expected = d.Window().GetDlgItem(order[i]);
            QVERIFY2(focus == expected || expected->isAncestorOf(focus),
                     qPrintable(QStringLiteral("tab stop %1").arg(i)));
        }

        const struct {
            Qt::Key key;
            int id;
        } mnemonics[] = {{Qt::Key_M, IDC_MS_FILE},
                         {Qt::Key_I, IDC_INLET_FILE},
                         {Qt::Key_A, IDC_MACRO_FILE},
                         {Qt::Key_D, IDC_DATA_FILE}};
        for (const auto& mnemonic : mnemonics) {
            d.Window().GetDlgItem(IDC_CONVERT)->setFocus();
            QTest::keyClick(&d.Window(), mnemonic.key, Qt::AltModifier);
            QWidget* focus = QApplication::focusWidget();
            QWidget* expected = d.Window().GetDlgItem(mnemonic.id);
            QVERIFY2(focus == expected || expected->isAncestorOf(focus),
                     qPrintable(QStringLiteral("Alt+%1").arg(QChar(mnemonic.key))));
        }
    });
}

void ConvertDlgTest::closeEndsWithCancelAndTakesNoData() {
    UiTestEnv env;
    for (int way = 0; way < 3; ++way) {
        CConvertDlg dlg;
        SetDefaults(dlg);
        dlg.m_strMSFile = "OLD";
        const INT_PTR result = RunModal<CConvertDlg>(dlg, [way](CConvertDlg& d) {
            QTest::keyClicks(EditOf(d, IDC_MS_FILE), "NEW");
            if (way == 0) {
                Click(d, IDCANCEL);
            } else if (way == 1) {
                QTest::keyClick(&d.Window(), Qt::Key_Escape);
            } else {
                d.Window().close();  // the window's close box
            }
        });
        QCOMPARE(result, INT_PTR(IDCANCEL));
        QCOMPARE(Q(dlg.m_strMSFile), QStringLiteral("OLD"));
    }
    // The standard OK command takes the data and ends with IDOK.
    CConvertDlg dlg;
    SetDefaults(dlg);
    const INT_PTR result = RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        QTest::keyClicks(EditOf(d, IDC_MS_FILE), "NEW");
        d.SendCommand(IDOK);
    });
    QCOMPARE(result, INT_PTR(IDOK));
    QCOMPARE(Q(dlg.m_strMSFile), QStringLiteral("NEW"));
}

void ConvertDlgTest::enterInAFieldPressesConvert() {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    SetExistingInput(dlg, env);
    dlg.m_strMSFile = "TOO_LONG_MS";
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        // Each Convert stops at the validation message, which counts it.
        for (const int id : {IDC_MS_FILE, IDC_DATA_FILE, IDC_MACRO_FILE}) {
            const std::size_t before = CUiTestScript::MessageBoxes().size();
            d.Window().GetDlgItem(id)->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(CUiTestScript::MessageBoxes().size(), before + 1);
            QVERIFY(d.IsWindowVisible());
        }
        QCOMPARE(d.GetComboCount(IDC_MS_FILE), 0);  // nothing inserted
    });
}

void ConvertDlgTest::selectInputProposesNotSpecifiedWithoutDirectory() {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    CUiTestScript::CancelFileDialog();
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { Click(d, IDC_SELECT_INPUT); });
    QCOMPARE(CUiTestScript::FileDialogs().size(), std::size_t(1));
    const ShownFileDialog& asked = CUiTestScript::FileDialogs().front();
    QVERIFY(asked.open);
    QCOMPARE(asked.title, QStringLiteral("Korrin Input File"));
    QCOMPARE(asked.proposedName, QStringLiteral("[Not Specified]"));
    QCOMPARE(asked.initialDir, QString());
    QCOMPARE(asked.filter, QStringLiteral("Text Files (*.txt);;All Files (*)"));
    QCOMPARE(asked.defaultExt, QStringLiteral("txt"));
    // Cancelled: nothing changed.
    QCOMPARE(Q(dlg.m_strInputFile), QStringLiteral("[Not Specified]"));
    QCOMPARE(Q(dlg.m_strOutputFile), QStringLiteral("[Not Specified]"));
    QCOMPARE(Q(dlg.m_strDataFile), QString());
}

void ConvertDlgTest::selectInputDerivesOutputAndDataFile() {
    UiTestEnv env;
    const QString input = env.Write(QStringLiteral("Runs/Plate7.txt"), kExport);
    CConvertDlg dlg;
    SetDefaults(dlg, env.Path(QStringLiteral("Runs/Earlier.txt")),
                env.Path(QStringLiteral("Lists/Old.sdb")));
    CUiTestScript::AcceptFileDialog(input);
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        QVERIFY(!ConvertEnabled(d));
        Click(d, IDC_SELECT_INPUT);
        QCOMPARE(Shown(d, IDC_INPUT_FILE), input);
        QCOMPARE(Shown(d, IDC_OUTPUT_FILE), env.Path(QStringLiteral("Lists/Plate7.sdb")));
        QCOMPARE(Shown(d, IDC_DATA_FILE), QStringLiteral("Plate7"));
        QVERIFY(ConvertEnabled(d));
    });
    const ShownFileDialog& asked = CUiTestScript::FileDialogs().front();
    QCOMPARE(asked.proposedName, QStringLiteral("Earlier.txt"));
    QCOMPARE(asked.initialDir, env.Path(QStringLiteral("Runs/")));
    QCOMPARE(Q(dlg.m_strInputFile), input);
    QCOMPARE(Q(dlg.m_strOutputFile), env.Path(QStringLiteral("Lists/Plate7.sdb")));
    QCOMPARE(Q(dlg.m_strDataFile), QStringLiteral("Plate7"));
}

void ConvertDlgTest::selectInputWhoseNameHoldsABackslashIsRefused() {
    UiTestEnv env;
    const QString input = env.Write(QStringLiteral("Runs/..\\lists\\victim.txt"), kExport);
    CConvertDlg dlg;
    SetDefaults(dlg, QString(), env.Path(QStringLiteral("Lists/Old.sdb")));
    dlg.m_strDataFile = "OLD";
    CUiTestScript::AcceptFileDialog(input);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { Click(d, IDC_SELECT_INPUT); });
    QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    const ShownMessageBox& refused = CUiTestScript::MessageBoxes().front();
    QVERIFY2(refused.text.contains(input), qPrintable(refused.text));
    QVERIFY2(refused.detail.contains(QStringLiteral("holds '\\'")), qPrintable(refused.detail));
    QCOMPARE(refused.type & MB_ICONMASK, MB_ICONEXCLAMATION);
    QCOMPARE(Q(dlg.m_strInputFile), QStringLiteral("[Not Specified]"));
    QCOMPARE(Q(dlg.m_strOutputFile), env.Path(QStringLiteral("Lists/Old.sdb")));
    QCOMPARE(Q(dlg.m_strDataFile), QStringLiteral("OLD"));
}

void ConvertDlgTest::selectInputWithUnspecifiedOutputUsesCurrentDirectory() {
    UiTestEnv env;
    const QString input = env.Write(QStringLiteral("Runs/Plate7.txt"), kExport);
    CConvertDlg dlg;
    SetDefaults(dlg);
    CUiTestScript::AcceptFileDialog(input);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { Click(d, IDC_SELECT_INPUT); });
    // The test runs in work/, the process's current directory.
    QCOMPARE(Q(dlg.m_strOutputFile), env.Path(QStringLiteral("work/Plate7.sdb")));
}

void ConvertDlgTest::longInputTitleShowsWholeAndIsRefusedLater() {
    UiTestEnv env;
    const QString input = env.Write(QStringLiteral("Runs/LongTitle123.txt"), kExport);
    CConvertDlg dlg;
    SetDefaults(dlg);
    CUiTestScript::AcceptFileDialog(input);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        Click(d, IDC_SELECT_INPUT);
        QCOMPARE(Shown(d, IDC_DATA_FILE), QStringLiteral("LongTitle123"));
        QVERIFY(ConvertEnabled(d));

        Click(d, IDC_CONVERT);
        QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
        const ShownMessageBox& refused = CUiTestScript::MessageBoxes().back();
        QCOMPARE(refused.text, TooLong("Data File"));
        QCOMPARE(refused.type & MB_ICONMASK, MB_ICONEXCLAMATION);
        QVERIFY(HasFocus(d, IDC_DATA_FILE));
        QCOMPARE(EditOf(d, IDC_DATA_FILE)->selectedText(), QStringLiteral("LongTitle123"));

        // Select input is refused the same way: no file dialog is asked.
        Click(d, IDC_SELECT_INPUT);
        QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(2));
        QCOMPARE(CUiTestScript::FileDialogs().size(), std::size_t(1));
    });
    // No conversion happened.
    QVERIFY(!QFile::exists(env.Path(QStringLiteral("work/LongTitle123.sdb"))));
}

void ConvertDlgTest::dataFileTypingIsLimitedToEight() {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        QLineEdit* edit = EditOf(d, IDC_DATA_FILE);
        QTest::keyClicks(edit, "ABCDEFGHIJK");
        QCOMPARE(edit->text(), QStringLiteral("ABCDEFGH"));

        // Text set by the program is shown whole and can be shortened, but
        // not lengthened, by the user.
        d.m_strDataFile = "Twelve_Chars";
        d.UpdateData(FALSE);
        QCOMPARE(edit->text(), QStringLiteral("Twelve_Chars"));
        QCOMPARE(edit->cursorPosition(), 0);  // shown from its beginning
        edit->setFocus();
        edit->end(false);
        QTest::keyClick(edit, Qt::Key_X);
        QCOMPARE(edit->text(), QStringLiteral("Twelve_Chars"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QStringLiteral("Twelve_Char"));
        QTest::keyClick(edit, Qt::Key_X);
        QCOMPARE(edit->text(), QStringLiteral("Twelve_Char"));
        edit->selectAll();
        QTest::keyClicks(edit, "short");
        QCOMPARE(edit->text(), QStringLiteral("short"));
    });
}

void ConvertDlgTest::methodListsOfferStemsInOrderOfFullNames() {
    UiTestEnv env;
    for (const char* name : {"ESI2.ext", "ESI1.ext", "A.B.ext", ".ext", "other.txt"}) {
        env.Write(QStringLiteral("ms/") + QLatin1String(name), "method");
    }
    // A name in Latin-1, not the locale's UTF-8, is listed as what it is.
    k2ltest::WriteFile(env.StdPath(QStringLiteral("ms/")) + "M\xE9th.ext", "method");
    QVERIFY(UiTestEnv::ConfigureLocation("MS_FUNC_DB", env.Path(QStringLiteral("ms/")), "ext"));
    // A directory without its separator, and an extension given with its dot.
    env.Write(QStringLiteral("lc/Fast.LC"), "inlet");
    env.Write(QStringLiteral("lc/slow.lc"), "inlet");
    QVERIFY(UiTestEnv::ConfigureLocation("LC_DB", env.Path(QStringLiteral("lc")), ".lc", true));

    CConvertDlg dlg;
    SetDefaults(dlg);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        QCOMPARE(Entries(d, IDC_MS_FILE),
                 QStringList({QStringLiteral(".ext"), QStringLiteral("A"), QStringLiteral("ESI1"),
                              QStringLiteral("ESI2"), QStringLiteral("M\u00e9th")}));
        QCOMPARE(Entries(d, IDC_INLET_FILE),
                 QStringList({QStringLiteral("Fast"), QStringLiteral("slow")}));
        QCOMPARE(Entries(d, IDC_MACRO_FILE), QStringList());
        // Filling the lists leaves the fields as loaded.
        QCOMPARE(Shown(d, IDC_MS_FILE), QString());
    });
}

void ConvertDlgTest::methodListsStayEmptyWithoutLocation() {
    UiTestEnv env;
    env.Write(QStringLiteral("work/Stray.ms"), "m");  // the current directory
    QVERIFY(UiTestEnv::ConfigureLocation("LC_DB", env.Path(QStringLiteral("missing/")), "lc"));
    const QString settings = env.Path(QStringLiteral("lumenda/Lumenda.ini"));
    const QByteArray before = UiTestEnv::Read(settings);
    CConvertDlg dlg;
    SetDefaults(dlg);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        QCOMPARE(Entries(d, IDC_MS_FILE), QStringList());
        QCOMPARE(Entries(d, IDC_INLET_FILE), QStringList());
        QCOMPARE(Entries(d, IDC_MACRO_FILE), QStringList());
    });
    QVERIFY(CUiTestScript::MessageBoxes().empty());
    // Filling the lists reads the locations and changes nothing.
    QCOMPARE(UiTestEnv::Read(settings), before);
    QVERIFY(!QFile::exists(env.Path(QStringLiteral("missing"))));
}

void ConvertDlgTest::valueSelectsFirstEntryWithItsPrefix_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("index");
    QTest::newRow("a prefix, ignoring case")
        << QStringLiteral("esi") << QStringLiteral("ESI1") << 0;
    QTest::newRow("a later entry") << QStringLiteral("esi2") << QStringLiteral("ESI2") << 1;
    QTest::newRow("no entry begins with it")
        << QStringLiteral("XYZ") << QStringLiteral("XYZ") << -1;
    // Empty begins every entry, but stays empty.
    QTest::newRow("empty") << QString() << QString() << -1;
}

void ConvertDlgTest::valueSelectsFirstEntryWithItsPrefix() {
    QFETCH(QString, value);
    QFETCH(QString, shown);
    QFETCH(int, index);
    UiTestEnv env;
    env.Write(QStringLiteral("ms/ESI1.ms"), "m");
    env.Write(QStringLiteral("ms/ESI2.ms"), "m");
    QVERIFY(UiTestEnv::ConfigureLocation("MS_FUNC_DB", env.Path(QStringLiteral("ms/")), "ms"));
    const QString output = env.Path(QStringLiteral("new.sdb"));
    CConvertDlg dlg;
    SetDefaults(dlg);
    dlg.m_strMSFile = value.toStdString();
    CUiTestScript::AcceptFileDialog(output);
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        // At start the lists are filled after the first exchange.
        QCOMPARE(Shown(d, IDC_MS_FILE), value);
        Click(d, IDC_SELECT_OUTPUT);
        QCOMPARE(Shown(d, IDC_MS_FILE), shown);
        QCOMPARE(d.Window().GetDlgItemAs<QComboBox>(IDC_MS_FILE)->currentIndex(), index);
    });
    // The member keeps its value until the next exchange from the controls.
    QCOMPARE(Q(dlg.m_strMSFile), value);
    const ShownFileDialog& asked = CUiTestScript::FileDialogs().front();
    QVERIFY(!asked.open);
    QCOMPARE(asked.title, QStringLiteral("Sample List Output File"));
    QCOMPARE(asked.proposedName, QStringLiteral("[Not Specified]"));
    QCOMPARE(asked.filter, QStringLiteral("Sample List Files (*.sdb)"));
    QCOMPARE(asked.defaultExt, QStringLiteral("sdb"));
    QCOMPARE(Q(dlg.m_strOutputFile), output);
}

void ConvertDlgTest::tooLongValuesLoadUnchangedAndAreRefusedAtExchange() {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    SetExistingInput(dlg, env);
    dlg.m_strMSFile = "MSMETHOD9";
    dlg.m_strDataFile = "DATAFILE9";
    dlg.m_strInletFile = "INLET";
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        QCOMPARE(Shown(d, IDC_MS_FILE), QStringLiteral("MSMETHOD9"));
        QCOMPARE(Shown(d, IDC_DATA_FILE), QStringLiteral("DATAFILE9"));
        QTest::keyClicks(EditOf(d, IDC_INLET_FILE), "2");
        Click(d, IDC_CONVERT);
        QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
        // The first field in exchange order fails; later ones are not taken.
        QVERIFY(HasFocus(d, IDC_MS_FILE));
        QCOMPARE(EditOf(d, IDC_MS_FILE)->selectedText(), QStringLiteral("MSMETHOD9"));
        QCOMPARE(Q(d.m_strInletFile), QStringLiteral("INLET"));

        EditOf(d, IDC_MS_FILE)->setText(QStringLiteral("MS"));
        Click(d, IDC_CONVERT);
        QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(2));
        QVERIFY(HasFocus(d, IDC_DATA_FILE));
        // Members up to the failing one were taken, the failing one too.
        QCOMPARE(Q(d.m_strMSFile), QStringLiteral("MS"));
        QCOMPARE(Q(d.m_strDataFile), QStringLiteral("DATAFILE9"));
        QCOMPARE(Q(d.m_strInletFile), QStringLiteral("INLET"));
    });
    QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(2));
    QCOMPARE(CUiTestScript::MessageBoxes().back().text, TooLong("Data File"));
}

void ConvertDlgTest::selectInputRefusedWithTooLongMethodSelectOutputNot() {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    dlg.m_strMacroFile = "LONGMACRO";
    CUiTestScript::CancelFileDialog();
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        Click(d, IDC_SELECT_INPUT);
        QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
        QCOMPARE(CUiTestScript::FileDialogs().size(), std::size_t(0));
        QVERIFY(HasFocus(d, IDC_MACRO_FILE));
        Click(d, IDC_SELECT_OUTPUT);
        QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
        QCOMPARE(CUiTestScript::FileDialogs().size(), std::size_t(1));
    });
}

void ConvertDlgTest::typedNameDiscardedByOutputChoiceKeptByCancel() {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    dlg.m_strMSFile = "OLD";
    CUiTestScript::CancelFileDialog();
    CUiTestScript::AcceptFileDialog(env.Path(QStringLiteral("out.sdb")));
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        QLineEdit* ms = EditOf(d, IDC_MS_FILE);
        ms->clear();
        QTest::keyClicks(ms, "TYPED");
        Click(d, IDC_SELECT_OUTPUT);  // cancelled
        QCOMPARE(Shown(d, IDC_MS_FILE), QStringLiteral("TYPED"));
        Click(d, IDC_SELECT_OUTPUT);  // chosen
        QCOMPARE(Shown(d, IDC_MS_FILE), QStringLiteral("OLD"));
    });
    QCOMPARE(Q(dlg.m_strMSFile), QStringLiteral("OLD"));
    QCOMPARE(Q(dlg.m_strOutputFile), env.Path(QStringLiteral("out.sdb")));
}

void ConvertDlgTest::typingNeverChangesConvertButton() {
    UiTestEnv env;
    const QString input = env.Write(QStringLiteral("in.txt"), kExport);
    CConvertDlg dlg;
    SetDefaults(dlg);
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        QVERIFY(!ConvertEnabled(d));
        QTest::keyClicks(EditOf(d, IDC_DATA_FILE), "abc");
        QTest::keyClicks(EditOf(d, IDC_MS_FILE), "abc");
        QVERIFY(!ConvertEnabled(d));
        // Only an exchange looks at the input again.
        d.m_strInputFile = input.toStdString();
        QVERIFY(!ConvertEnabled(d));
        d.UpdateData(FALSE);
        QVERIFY(ConvertEnabled(d));
    });
}

void ConvertDlgTest::vanishedInputStillEnabledUntilNextExchange() {
    UiTestEnv env;
    const QString input = env.Write(QStringLiteral("in.txt"), kExport);
    CConvertDlg dlg;
    SetDefaults(dlg, input, env.Path(QStringLiteral("out.sdb")));
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        QVERIFY(ConvertEnabled(d));
        QVERIFY(QFile::remove(input));
        QVERIFY(ConvertEnabled(d));
        // Convert's exchange disables the button, and the handler goes on
        // to report the conversion's failure.
        Click(d, IDC_CONVERT);
        QVERIFY(!ConvertEnabled(d));
    });
    QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    const ShownMessageBox& reported = CUiTestScript::MessageBoxes().front();
    QCOMPARE(reported.text, QStringLiteral("Sample List %1 could not be created")
                                .arg(env.Path(QStringLiteral("out.sdb"))));
    QVERIFY(reported.detail.contains(input));
}

void ConvertDlgTest::overwriteQuestionOnlyWhenOutputExists() {
    UiTestEnv env;
    const QString input = env.Write(QStringLiteral("in.txt"), kExport);
    const QString output = env.Path(QStringLiteral("out.sdb"));
    CConvertDlg dlg;
    SetDefaults(dlg, input, output);
    CUiTestScript::AnswerMessageBox(IDOK);   // created
    CUiTestScript::AnswerMessageBox(IDYES);  // overwrite
    CUiTestScript::AnswerMessageBox(IDOK);   // created again
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        Click(d, IDC_CONVERT);
        Click(d, IDC_CONVERT);
    });
    const auto& boxes = CUiTestScript::MessageBoxes();
    QCOMPARE(boxes.size(), std::size_t(3));
    QCOMPARE(boxes[0].text, QStringLiteral("Sample List %1 created successfully").arg(output));
    QCOMPARE(boxes[1].text,
             QStringLiteral("Sample List %1 already exists. Overwrite?").arg(output));
    QCOMPARE(boxes[1].caption, QString::fromLatin1(kCaption));
    QCOMPARE(boxes[1].type & MB_TYPEMASK, MB_YESNO);
    QCOMPARE(boxes[1].type & MB_ICONMASK, MB_ICONQUESTION);
    QCOMPARE(boxes[1].type & MB_DEFMASK, MB_DEFBUTTON1);
    QCOMPARE(boxes[2].text, boxes[0].text);
}

void ConvertDlgTest::answeringNoStopsTheConversion() {
    UiTestEnv env;
    const QString input = env.Write(QStringLiteral("in.txt"), kExport);
    const QString output = env.Write(QStringLiteral("out.sdb"), "not a sample list");
    CConvertDlg dlg;
    SetDefaults(dlg, input, output);
    CUiTestScript::AnswerMessageBox(IDNO);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { Click(d, IDC_CONVERT); });
    QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    QCOMPARE(UiTestEnv::Read(output), QByteArray("not a sample list"));
}

void ConvertDlgTest::successfulConversionReportsAndWritesList() {
    UiTestEnv env;
    const QString input =
        env.Write(QStringLiteral("Runs/plate7.txt"),
                  UiTestEnv::Read(QStringLiteral(K2L_EXAMPLES_DIR "/exports/plate7.txt")));
    QVERIFY(QFileInfo(input).size() > 0);
    const QString output = env.Path(QStringLiteral("Lists/plate7.sdb"));
    QDir().mkpath(env.Path(QStringLiteral("Lists")));
    CConvertDlg dlg;
    SetDefaults(dlg, input, output);
    dlg.m_strMSFile = "ESI_POS";
    dlg.m_strInletFile = "LC_30MIN";
    dlg.m_strMacroFile = "ACQUIRE";
    dlg.m_strDataFile = "plate7";
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        Click(d, IDC_CONVERT);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    });
    QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    const ShownMessageBox& reported = CUiTestScript::MessageBoxes().front();
    QCOMPARE(reported.text, QStringLiteral("Sample List %1 created successfully").arg(output));
    QCOMPARE(reported.caption, QString::fromLatin1(kCaption));
    QCOMPARE(reported.type, MB_OK);
    QVERIFY(QFileInfo(output).isFile());
    QVERIFY(QFileInfo(output).size() > 0);
}

void ConvertDlgTest::failingConversionGivesReasonAsDetail() {
    UiTestEnv env;
    const QString input = env.Write(QStringLiteral("in.txt"), kExport);
    const QString output = env.Path(QStringLiteral("no/such/dir/out.sdb"));
    CConvertDlg dlg;
    SetDefaults(dlg, input, output);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        Click(d, IDC_CONVERT);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    });
    QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    const ShownMessageBox& reported = CUiTestScript::MessageBoxes().front();
    QCOMPARE(reported.text, QStringLiteral("Sample List %1 could not be created").arg(output));
    QCOMPARE(reported.type & MB_ICONMASK, MB_ICONEXCLAMATION);
    // The cause, once: the folder that is missing, not the headline again.
    QVERIFY2(reported.detail.startsWith(QStringLiteral("The folder %1 does not exist")
                                            .arg(env.Path(QStringLiteral("no/such/dir")))),
             qPrintable(reported.detail));
    QVERIFY2(!reported.detail.contains(QStringLiteral("could not be created")),
             qPrintable(reported.detail));
    QVERIFY(!QFile::exists(output));
}

void ConvertDlgTest::readErrorNamesInputAndRestoresCursor() {
    UiTestEnv env;
    const QString input = env.Write(QStringLiteral("Runs/plate7.txt"), kExport);
    const QString output = env.Path(QStringLiteral("out.sdb"));
    CConvertDlg dlg;
    SetDefaults(dlg, QString(), output);
    CUiTestScript::AcceptFileDialog(input);
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        Click(d, IDC_SELECT_INPUT);
        QVERIFY(ConvertEnabled(d));
        // The input turns into a directory: it opens, but cannot be read.
        QVERIFY(QFile::remove(input));
        QVERIFY(QDir().mkdir(input));
        Click(d, IDC_CONVERT);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(d.IsWindowVisible());
    });
    QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    const ShownMessageBox& reported = CUiTestScript::MessageBoxes().front();
    QVERIFY2(reported.text.contains(input), qPrintable(reported.text));
    QVERIFY2(reported.text.contains(QStringLiteral("could not be read")),
             qPrintable(reported.text));
    QVERIFY2(reported.detail.contains(QString::fromLocal8Bit(std::strerror(EISDIR))),
             qPrintable(reported.detail));
    QCOMPARE(reported.type & MB_ICONMASK, MB_ICONEXCLAMATION);
}

void ConvertDlgTest::outputWithAFinalDotIsRefusedBeforeTheQuestion() {
    // The record library would write "l" for "l.": the file there is never
    // asked about nor touched.
    UiTestEnv env;
    const QString input = env.Write(QStringLiteral("in.txt"), kExport);
    const QString kept = env.Write(QStringLiteral("l"), "someone's file");
    CConvertDlg dlg;
    SetDefaults(dlg, input, kept + QLatin1Char('.'));
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { Click(d, IDC_CONVERT); });
    QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    const ShownMessageBox& reported = CUiTestScript::MessageBoxes().front();
    QCOMPARE(reported.type & MB_ICONMASK, MB_ICONEXCLAMATION);
    QVERIFY2(reported.detail.contains(QStringLiteral("cannot end in a dot")),
             qPrintable(reported.detail));
    QCOMPARE(UiTestEnv::Read(kept), QByteArray("someone's file"));
    QVERIFY(!QFile::exists(kept + QLatin1Char('.')));
}

void ConvertDlgTest::locationThatCannotBeStoredIsADetailOfTheSuccess() {
    UiTestEnv env;
    const QString input = env.Write(QStringLiteral("in.txt"), kExport);
    QDir(env.Path(QStringLiteral("lumenda"))).removeRecursively();
    env.Write(QStringLiteral("lumenda"), "a file where the settings folder should be");
    const QString output = env.Path(QStringLiteral("out.sdb"));
    CConvertDlg dlg;
    SetDefaults(dlg, input, output);
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { Click(d, IDC_CONVERT); });
    QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
    const ShownMessageBox& reported = CUiTestScript::MessageBoxes().front();
    QCOMPARE(reported.text, QStringLiteral("Sample List %1 created successfully").arg(output));
    QVERIFY2(reported.detail.contains(QStringLiteral("could not be stored")),
             qPrintable(reported.detail));
    QVERIFY(QFileInfo(output).isFile());
}

void ConvertDlgTest::nonAsciiTextIsRefusedByField() {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    SetExistingInput(dlg, env);
    dlg.m_strMSFile = "OLD";
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        QLineEdit* ms = EditOf(d, IDC_MS_FILE);
        ms->setText(QStringLiteral("M\u00e9th"));
        Click(d, IDC_CONVERT);
        QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
        const ShownMessageBox& refused = CUiTestScript::MessageBoxes().back();
        QVERIFY2(refused.text.contains(QStringLiteral("MS File")), qPrintable(refused.text));
        QVERIFY2(refused.text.contains(QStringLiteral("\"\u00e9\"")), qPrintable(refused.text));
        QCOMPARE(refused.type & MB_ICONMASK, MB_ICONEXCLAMATION);
        QVERIFY(HasFocus(d, IDC_MS_FILE));
        QCOMPARE(Q(d.m_strMSFile), QStringLiteral("OLD"));

        ms->setText(QStringLiteral("ESI"));
        QLineEdit* data = EditOf(d, IDC_DATA_FILE);
        QTest::keyClicks(data, "d");
        QTest::sendKeyEvent(QTest::Click, data, Qt::Key_Adiaeresis, QStringLiteral("\u00e4"),
                            Qt::NoModifier);
        QTest::keyClicks(data, "ta");
        QCOMPARE(data->text(), QStringLiteral("d\u00e4ta"));
        Click(d, IDC_CONVERT);
        QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(2));
        QVERIFY(CUiTestScript::MessageBoxes().back().text.contains(QStringLiteral("Data File")));
        QVERIFY(HasFocus(d, IDC_DATA_FILE));
        QCOMPARE(Q(d.m_strMSFile), QStringLiteral("ESI"));
    });
}

void ConvertDlgTest::nameWithASeparatorIsRefusedByField() {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg, env.Write(QStringLiteral("plate.txt"), kExport),
                env.Path(QStringLiteral("plate.sdb")));
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        QTest::keyClicks(EditOf(d, IDC_DATA_FILE), "a/b");
        Click(d, IDC_CONVERT);
        QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
        const ShownMessageBox& refused = CUiTestScript::MessageBoxes().back();
        QVERIFY2(refused.text.contains(QStringLiteral("Data File field holds '/'")),
                 qPrintable(refused.text));
        QCOMPARE(refused.type & MB_ICONMASK, MB_ICONEXCLAMATION);
        QVERIFY(HasFocus(d, IDC_DATA_FILE));
        QCOMPARE(EditOf(d, IDC_DATA_FILE)->selectedText(), QStringLiteral("a/b"));
    });
    QVERIFY(!QFile::exists(env.Path(QStringLiteral("plate.sdb"))));
}

void ConvertDlgTest::everyAboutCommandOpensAboutBox() {
    UiTestEnv env;
    int aboutRuns = 0;
    OnEveryRun(IDD_ABOUTBOX, [&aboutRuns](CDialog& about) {
        ++aboutRuns;
        QCOMPARE(about.GetWindowText(), std::string("About Korrin File Conversion"));
        about.SendCommand(IDOK);
    });
    CConvertDlg dlg;
    SetDefaults(dlg);
    RunModal<CConvertDlg>(dlg, [&aboutRuns](CConvertDlg& d) {
        for (UINT command = 0x10; command <= 0x1F; ++command) {
            d.SendSysCommand(command, 0);
        }
        QCOMPARE(aboutRuns, 16);
        d.SendSysCommand(0x20, 0);
        d.SendSysCommand(0x0F, 0);
        QCOMPARE(aboutRuns, 16);
        QVERIFY(d.IsWindowVisible());
    });
}

void ConvertDlgTest::menuBarAndContextMenuShareEntriesAndShortcuts() {
    UiTestEnv env;
    QStringList opened;
    for (const UINT id : {IDD_ABOUTBOX, IDD_OPTIONS, IDD_METHOD_FOLDERS}) {
        OnEveryRun(id, [&opened](CDialog& shown) {
            opened << shown.Window().windowTitle();
            shown.SendCommand(IDCANCEL);
        });
    }
    CTableWindow::SetShowHook([&opened](CTableWindow&) { opened << QStringLiteral("Preview"); });
    CConvertDlg dlg;
    SetDefaults(dlg);
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        QCOMPARE(d.Window().contextMenuPolicy(), Qt::ActionsContextMenu);
        QStringList texts;
        for (QAction* action : d.Window().actions()) {
            if (!action->isSeparator()) {
                texts << action->text();
            }
        }
        QCOMPARE(texts,
                 QStringList({QStringLiteral("&About Korrin File Conversion..."),
                              QStringLiteral("Conversion Options..."), QStringLiteral("Preview..."),
                              QStringLiteral("Method Folders...")}));
        auto* bar = d.Window().findChild<QMenuBar*>();
        QVERIFY(bar->isVisible() && !bar->isNativeMenuBar());
        QStringList entries;
        for (QAction* menu : bar->actions()) {
            for (QAction* action : menu->menu()->actions()) {
                entries << menu->text() + u'/' + action->text() + u' ' +
                               action->shortcut().toString();
                // The same entry, its shortcut shown, in the context menu.
                QVERIFY(d.Window().actions().contains(action) &&
                        action->isShortcutVisibleInContextMenu());
                // The shortcut works from a field, where the mnemonics are Alt's.
                QApplication::setActiveWindow(&d.Window());
                EditOf(d, IDC_DATA_FILE)->setFocus();
                QTest::keySequence(EditOf(d, IDC_DATA_FILE), action->shortcut());
            }
        }
        QCOMPARE(entries,
                 QStringList({"&Tools/Conversion Options... Ctrl+O", "&Tools/Preview... Ctrl+P",
                              "&Tools/Method Folders... Ctrl+M",
                              "&Help/&About Korrin File Conversion... F1"}));
        QCOMPARE(Shown(d, IDC_DATA_FILE), QString());
    });
    CTableWindow::SetShowHook(nullptr);
    QCOMPARE(opened, QStringList({"Conversion Options", "Preview", "Method Folders",
                                  "About Korrin File Conversion"}));
}

void ConvertDlgTest::optionsOkCopiesValuesBackAndShowsThem() {
    UiTestEnv env;
    OnEveryRun(IDD_OPTIONS, [](CDialog& shown) {
        auto& options = static_cast<COptionsDlg&>(shown);
        QCOMPARE(options.Window().GetDlgItemAs<QLineEdit>(IDC_MS_FILE)->text(),
                 QStringLiteral("MS1"));
        QCOMPARE(options.Window().GetDlgItemAs<QLineEdit>(IDC_INLET_FILE)->text(),
                 QStringLiteral("LC1"));
        QCOMPARE(options.Window().GetDlgItemAs<QLineEdit>(IDC_MACRO_FILE)->text(),
                 QStringLiteral("MAC1"));
        QCOMPARE(options.Window().GetDlgItemAs<QLineEdit>(IDC_DATA_FILE)->text(),
                 QStringLiteral("DATA1"));
        options.Window()
            .GetDlgItemAs<QLineEdit>(IDC_MACRO_FILE)
            ->setText(QStringLiteral("TwelveChars1"));
        options.Window().GetDlgItemAs<QLineEdit>(IDC_MS_FILE)->setText(QStringLiteral("MS2"));
        options.SendCommand(IDOK);
    });
    CConvertDlg dlg;
    SetDefaults(dlg);
    SetExistingInput(dlg, env);
    dlg.m_strMSFile = "MS1";
    dlg.m_strInletFile = "LC1";
    dlg.m_strMacroFile = "MAC1";
    dlg.m_strDataFile = "DATA1";
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        d.SendCommand(IDC_OPTIONS);
        QCOMPARE(Q(d.m_strMacroFile), QStringLiteral("TwelveChars1"));
        QCOMPARE(Q(d.m_strMSFile), QStringLiteral("MS2"));
        QCOMPARE(Shown(d, IDC_MACRO_FILE), QStringLiteral("TwelveChars1"));
        QCOMPARE(Shown(d, IDC_MS_FILE), QStringLiteral("MS2"));
        // The main dialog's own limit refuses the macro at its next exchange.
        Click(d, IDC_CONVERT);
        QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
        QCOMPARE(CUiTestScript::MessageBoxes().back().text, TooLong("Macro"));
        QVERIFY(HasFocus(d, IDC_MACRO_FILE));
    });
}

void ConvertDlgTest::optionsCancelChangesNothing() {
    UiTestEnv env;
    OnEveryRun(IDD_OPTIONS, [](CDialog& options) {
        options.Window().GetDlgItemAs<QLineEdit>(IDC_MS_FILE)->setText(QStringLiteral("X"));
        options.Window().GetDlgItemAs<QLineEdit>(IDC_DATA_FILE)->setText(QStringLiteral("Y"));
        QTest::keyClick(&options.Window(), Qt::Key_Escape);
    });
    CConvertDlg dlg;
    SetDefaults(dlg);
    dlg.m_strMSFile = "MS1";
    dlg.m_strDataFile = "DATA1";
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) {
        d.SendCommand(IDC_OPTIONS);
        QCOMPARE(Q(d.m_strMSFile), QStringLiteral("MS1"));
        QCOMPARE(Q(d.m_strDataFile), QStringLiteral("DATA1"));
        QCOMPARE(Shown(d, IDC_MS_FILE), QStringLiteral("MS1"));
    });
}

void ConvertDlgTest::pathBytesSurviveTheExchange() {
    UiTestEnv env;
    CConvertDlg dlg;
    SetDefaults(dlg);
    // Not valid in the locale's encoding: shown as best it can, kept exactly.
    const std::string odd = env.StdPath(QStringLiteral("run")) + "\xff\xfe.txt";
    dlg.m_strInputFile = odd;
    RunModal<CConvertDlg>(dlg, [](CConvertDlg& d) { d.SendCommand(IDOK); });
    QVERIFY(dlg.m_strInputFile == odd);
}

K2L_QTEST_MAIN(ConvertDlgTest)
#include "convert_dlg_test.moc"
