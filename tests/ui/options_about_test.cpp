// The Conversion Options dialog and the About box on their own; the Method
// Folders dialog, which stores the data system's locations by the rules and
// with the messages of korr2ld-cli locations set, and the method lists that
// say when their folder is not set.
#include <sys/stat.h>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "convert/LocationSetting.h"
#include "minimal_datasystem/minimal_datasystem.h"
#include "support/child_process.h"
#include "tests/ui/dialog_runner.h"
#include "tests/ui/ui_test_env.h"
#include "ui/AboutDlg.h"
#include "ui/ConvertDlg.h"
#include "ui/MethodFoldersDlg.h"
#include "ui/OptionsDlg.h"

namespace {

// Control ID's edit field (a combo box's included).
QLineEdit* Edit(CDialog& dlg, int id) {
    auto* combo = dlg.Window().GetDlgItemAs<QComboBox>(id);
    return combo != nullptr ? combo->lineEdit() : dlg.Window().GetDlgItemAs<QLineEdit>(id);
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

void Fill(COptionsDlg& dlg) {
    dlg.m_strDataFile = "DATA";
    dlg.m_strInletName = "INLET";
    dlg.m_strMacroName = "MACRO";
    dlg.m_strMSName = "MS";
}

}  // namespace

class OptionsAboutTest : public QObject {
    Q_OBJECT

private slots:
    void optionsShowsMembersAndAcceptsTwelveCharacterMacro();
    void optionsRefusesEachLimitedFieldAndStaysOpen_data();
    void optionsRefusesEachLimitedFieldAndStaysOpen();
    void optionsCancelTakesNothing();
    void optionsTabOrderAndMnemonics();
    void aboutShowsNameVersionAndIcon();
    void unsetListsSayItAndMethodFoldersFillsThem();
    void refusedRowStoresNothingAndSaysWhatTheCliSays_data();
    void refusedRowStoresNothingAndSaysWhatTheCliSays();
    void dataSystemsOwnSettingsAreShownReadOnly();
};

void OptionsAboutTest::optionsShowsMembersAndAcceptsTwelveCharacterMacro() {
    UiTestEnv env;
    COptionsDlg dlg;
    Fill(dlg);
    const INT_PTR result = RunModal<COptionsDlg>(dlg, [](COptionsDlg& d) {
        QCOMPARE(d.GetWindowText(), std::string("Conversion Options"));
        QCOMPARE(d.GetDlgItemText(IDC_DATA_FILE), std::string("DATA"));
        QCOMPARE(d.GetDlgItemText(IDC_INLET_FILE), std::string("INLET"));
        QCOMPARE(d.GetDlgItemText(IDC_MACRO_FILE), std::string("MACRO"));
        QCOMPARE(d.GetDlgItemText(IDC_MS_FILE), std::string("MS"));
        QVERIFY(d.Window().GetDlgItemAs<QPushButton>(IDOK)->isDefault());
        // The macro edit has no typing limit; the others stop at 8.
        QLineEdit* macro = Edit(d, IDC_MACRO_FILE);
        macro->clear();
        QTest::keyClicks(macro, "MACRO_TWELVE");
        QCOMPARE(macro->text(), QStringLiteral("MACRO_TWELVE"));
        QLineEdit* ms = Edit(d, IDC_MS_FILE);
        ms->clear();
        QTest::keyClicks(ms, "ABCDEFGHIJ");
        QCOMPARE(ms->text(), QStringLiteral("ABCDEFGH"));
        QTest::keyClick(ms, Qt::Key_Return);  // the default button
    });
    QCOMPARE(result, INT_PTR(IDOK));
    QCOMPARE(Q(dlg.m_strMacroName), QStringLiteral("MACRO_TWELVE"));
    QCOMPARE(Q(dlg.m_strMSName), QStringLiteral("ABCDEFGH"));
    QVERIFY(CUiTestScript::MessageBoxes().empty());
}

void OptionsAboutTest::optionsRefusesEachLimitedFieldAndStaysOpen_data() {
    QTest::addColumn<int>("field");
    QTest::newRow("Data File") << IDC_DATA_FILE;
    QTest::newRow("Inlet Name") << IDC_INLET_FILE;
    QTest::newRow("MS Name") << IDC_MS_FILE;
}

void OptionsAboutTest::optionsRefusesEachLimitedFieldAndStaysOpen() {
    QFETCH(int, field);
    UiTestEnv env;
    COptionsDlg dlg;
    Fill(dlg);
    if (field == IDC_DATA_FILE) {
        dlg.m_strDataFile = "NINECHARS";
    } else if (field == IDC_INLET_FILE) {
        dlg.m_strInletName = "NINECHARS";
    } else {
        dlg.m_strMSName = "NINECHARS";
    }
    const INT_PTR result = RunModal<COptionsDlg>(dlg, [field](COptionsDlg& d) {
        d.Window().GetDlgItemAs<QPushButton>(IDOK)->click();
        QVERIFY(d.IsWindowVisible());
        QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
        QCOMPARE(CUiTestScript::MessageBoxes().front().text,
                 QStringLiteral("Please enter no more than 8 characters in the %1 field.")
                     .arg(QLatin1String(QTest::currentDataTag())));
        QCOMPARE(d.GetFocusId(), field);
        QCOMPARE(Edit(d, field)->selectedText(), QStringLiteral("NINECHARS"));
        // Shortened, OK ends the dialog.
        Edit(d, field)->setText(QStringLiteral("EIGHTCHR"));
        d.Window().GetDlgItemAs<QPushButton>(IDOK)->click();
        QVERIFY(!d.IsWindowVisible());
    });
    QCOMPARE(result, INT_PTR(IDOK));
}

void OptionsAboutTest::optionsCancelTakesNothing() {
    UiTestEnv env;
    for (int way = 0; way < 3; ++way) {
        COptionsDlg dlg;
        Fill(dlg);
        const INT_PTR result = RunModal<COptionsDlg>(dlg, [way](COptionsDlg& d) {
            Edit(d, IDC_MS_FILE)->setText(QStringLiteral("CHANGED"));
            Edit(d, IDC_DATA_FILE)->setText(QStringLiteral("TOOLONGVALUE"));
            if (way == 0) {
                d.Window().GetDlgItemAs<QPushButton>(IDCANCEL)->click();
            } else if (way == 1) {
                QTest::keyClick(&d.Window(), Qt::Key_Escape);
            } else {
                d.Window().close();
            }
        });
        QCOMPARE(result, INT_PTR(IDCANCEL));
        QCOMPARE(Q(dlg.m_strMSName), QStringLiteral("MS"));
        QCOMPARE(Q(dlg.m_strDataFile), QStringLiteral("DATA"));
    }
    QVERIFY(CUiTestScript::MessageBoxes().empty());
}

void OptionsAboutTest::optionsTabOrderAndMnemonics() {
    UiTestEnv env;
    COptionsDlg dlg;
    RunModal<COptionsDlg>(dlg, [](COptionsDlg& d) {
        const int order[] = {IDOK,           IDCANCEL,       IDC_MS_FILE,
                             IDC_INLET_FILE, IDC_MACRO_FILE, IDC_DATA_FILE};
        d.Window().GetDlgItem(IDOK)->setFocus();
        for (std::size_t i = 1; i < std::size(order); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), d.Window().GetDlgItem(order[i]));
        }
        QTest::keyClick(&d.Window(), Qt::Key_A, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), d.Window().GetDlgItem(IDC_MACRO_FILE));
        QTest::keyClick(&d.Window(), Qt::Key_M, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), d.Window().GetDlgItem(IDC_MS_FILE));
    });
}

void OptionsAboutTest::aboutShowsNameVersionAndIcon() {
    UiTestEnv env;
    CAboutDlg dlg;
    const INT_PTR result = RunModal<CAboutDlg>(dlg, [](CAboutDlg& d) {
        QCOMPARE(d.GetWindowText(), std::string("About Korrin File Conversion"));
        QStringList texts;
        bool icon = false;
        for (QLabel* label : d.Window().findChildren<QLabel*>()) {
            if (!label->pixmap().isNull()) {
                icon = true;
            } else {
                texts << label->text();
            }
        }
        QVERIFY(icon);
        QVERIFY(texts.contains(QStringLiteral("Korrin File Conversion Version " K2L_VERSION)));
        QVERIFY(texts.contains(QStringLiteral("Korrin to Lumenda Sample List Conversion")));
        QTest::keyClick(&d.Window(), Qt::Key_Return);
    });
    QCOMPARE(result, INT_PTR(IDOK));
}

void OptionsAboutTest::unsetListsSayItAndMethodFoldersFillsThem() {
    UiTestEnv env;
    env.Write(QStringLiteral("ms/ESI1.ms"), "m");
    env.Write(QStringLiteral("inlet/LC2.lc"), "m");
    env.Write(QStringLiteral("inlet/LC1.lc"), "m");
    QVERIFY(UiTestEnv::ConfigureLocation("MS_FUNC_DB", env.Path(QStringLiteral("ms/")), "ms"));
    const QString settings = env.Path(QStringLiteral("lumenda/Lumenda.ini"));
    const QByteArray before = UiTestEnv::Read(settings);
    CUiTestScript::AcceptFileDialog(env.Path(QStringLiteral("inlet")));
    OnEveryRun(IDD_METHOD_FOLDERS, [&](CDialog& shown) {
        QCOMPARE(Edit(shown, IDC_MS_FOLDER)->text(), env.Path(QStringLiteral("ms/")));
        QCOMPARE(Edit(shown, IDC_MS_EXTENSION)->text(), QStringLiteral("ms"));
        QCOMPARE(shown.Window().GetDlgItemAs<QLabel>(IDC_SETTINGS_FILE)->text(),
                 "Stored in " + settings);
        shown.Window().GetDlgItemAs<QPushButton>(IDC_INLET_BROWSE)->click();
        Edit(shown, IDC_INLET_EXTENSION)->setText(QStringLiteral(".lc"));
        QTest::keyClick(Edit(shown, IDC_INLET_EXTENSION), Qt::Key_Return);  // OK
    });

    CConvertDlg dlg;
    dlg.m_strInputFile = dlg.m_strOutputFile = "[Not Specified]";
    RunModal<CConvertDlg>(dlg, [&](CConvertDlg& d) {
        // Only a placeholder: the field's text, which the exchange takes,
        // stays empty.
        QCOMPARE(Edit(d, IDC_MS_FILE)->placeholderText(), QString());
        QCOMPARE(Edit(d, IDC_INLET_FILE)->placeholderText(), "no folder set");
        QVERIFY(Edit(d, IDC_MACRO_FILE)->accessibleDescription().contains("No macro folder"));
        QVERIFY(d.UpdateData(TRUE));
        QCOMPARE(d.m_strInletFile, std::string());

        d.SendCommand(IDC_METHOD_FOLDERS);
        QCOMPARE(d.GetComboEntry(IDC_INLET_FILE, 1), std::string("LC2"));
        QCOMPARE(d.GetComboCount(IDC_MS_FILE), 1);  // filled again, not added
        QCOMPARE(Edit(d, IDC_INLET_FILE)->placeholderText(), QString());
    });
    QVERIFY(CUiTestScript::FileDialogs().at(0).folder);
    QCOMPARE(CUiTestScript::FileDialogs().at(0).title, QStringLiteral("Inlet Method Folder"));
    // Stored as the CLI stores it; the MS line, not changed, as it was.
    QCOMPARE(UiTestEnv::Read(settings),
             before + "LC_DB=" + QFile::encodeName(env.Path(QStringLiteral("inlet/*.lc\n"))));
    QVERIFY(CUiTestScript::MessageBoxes().empty());
}

void OptionsAboutTest::refusedRowStoresNothingAndSaysWhatTheCliSays_data() {
    QTest::addColumn<bool>("readOnlySettings");
    QTest::newRow("a folder that does not exist") << false;
    QTest::newRow("a settings file that is read-only") << true;
}

void OptionsAboutTest::refusedRowStoresNothingAndSaysWhatTheCliSays() {
    QFETCH(bool, readOnlySettings);
    UiTestEnv env;
    const QString settings = env.Path(QStringLiteral("lumenda/Lumenda.ini"));
    env.Write(QStringLiteral("inlet/LC1.lc"), "m");
    const QString good = env.Path(QStringLiteral("inlet"));
    const QString macro = readOnlySettings ? good : env.Path(QStringLiteral("none"));
    if (readOnlySettings) {
        env.Write(QStringLiteral("lumenda/Lumenda.ini"), "; kept\n");
        QVERIFY(::chmod(QFile::encodeName(settings).constData(), 0444) == 0);
    }
    const QByteArray before = QFile::exists(settings) ? UiTestEnv::Read(settings) : "none";

    CMethodFoldersDlg dlg;
    RunModal<CMethodFoldersDlg>(dlg, [&](CMethodFoldersDlg& d) {
        // A row that could be stored, then one that cannot.
        Edit(d, IDC_INLET_FOLDER)->setText(good);
        Edit(d, IDC_MACRO_FOLDER)->setText(macro);
        d.SendCommand(IDOK);
        QCOMPARE(d.Window().focusWidget(),
                 d.Window().GetDlgItem(readOnlySettings ? IDC_INLET_FOLDER : IDC_MACRO_FOLDER));
        // A row changed without a folder: a location is set here, never removed.
        Edit(d, IDC_INLET_FOLDER)->clear();
        Edit(d, IDC_INLET_EXTENSION)->setText(QStringLiteral("lc"));
        Edit(d, IDC_MACRO_FOLDER)->clear();
        d.SendCommand(IDOK);
        QVERIFY(d.IsWindowVisible());
    });
    QCOMPARE(QFile::exists(settings) ? UiTestEnv::Read(settings) : "none", before);

    // korr2ld-cli says the same of the same location.
    const k2ltest::ChildResult cli =
        k2ltest::ChildProcess::Start(
            {.program = K2L_BIN_DIR "/korr2ld-cli",
             .args = {"locations", "set", readOnlySettings ? "LC_DB" : "MACRO",
                      QFile::encodeName(macro).toStdString()}})
            .Wait();
    const QString prefix = QStringLiteral("korr2ld-cli locations: ");
    const QString said = QString::fromStdString(cli.err);
    QVERIFY2(cli.exitCode == 1 && said.startsWith(prefix), cli.err.c_str());
    const auto& boxes = CUiTestScript::MessageBoxes();
    QCOMPARE(boxes.size(), std::size_t(2));
    QCOMPARE(boxes[0].text, (readOnlySettings ? "Inlet methods: " : "Macros: ") +
                                said.mid(prefix.size()).chopped(1) + u'.');
    QCOMPARE(boxes[0].caption, QStringLiteral("Method Folders"));
    QCOMPARE(boxes[1].text,
             QStringLiteral("Inlet methods: a folder is needed; nothing was stored."));
}

// With the data system's own settings library the folders are shown as it
// has them, and nothing can be changed or stored.
void OptionsAboutTest::dataSystemsOwnSettingsAreShownReadOnly() {
    UiTestEnv env;
    const ScopedMinimalDataSystem minimal;
    MinimalSetLocation("MS_FUNC_DB", "/methods/ms/", "ms");
    CMethodFoldersDlg dlg;
    const INT_PTR result = RunModal<CMethodFoldersDlg>(dlg, [&](CMethodFoldersDlg& d) {
        QCOMPARE(Edit(d, IDC_MS_FOLDER)->text(), QStringLiteral("/methods/ms/"));
        QVERIFY(Edit(d, IDC_MS_FOLDER)->isReadOnly() && Edit(d, IDC_MACRO_EXTENSION)->isReadOnly());
        QVERIFY(!d.IsControlEnabled(IDC_INLET_BROWSE));
        QString sentence = QString::fromLatin1(kLocationsSetInDataSystem) + u'.';
        sentence[0] = sentence[0].toUpper();
        QCOMPARE(QString::fromStdString(d.GetDlgItemText(IDC_SETTINGS_FILE)), sentence);
        d.SendCommand(IDOK);
    });
    QCOMPARE(result, INT_PTR(IDCANCEL));
    QVERIFY(QString::fromLatin1(MinimalJournal()).indexOf(QStringLiteral("StoreGlobalFile")) < 0);
}

K2L_QTEST_MAIN(OptionsAboutTest)
#include "options_about_test.moc"
