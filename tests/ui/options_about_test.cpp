// The Conversion Options dialog and the About box on their own.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "tests/ui/dialog_runner.h"
#include "tests/ui/ui_test_env.h"
#include "ui/AboutDlg.h"
#include "ui/OptionsDlg.h"

namespace {

QLineEdit* Edit(CDialog& dlg, int id) {
    return dlg.GetDlgItemAs<QLineEdit>(id);
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
};

void OptionsAboutTest::optionsShowsMembersAndAcceptsTwelveCharacterMacro() {
    UiTestEnv env;
    COptionsDlg dlg;
    Fill(dlg);
    const INT_PTR result = RunModal<COptionsDlg>(dlg, [](COptionsDlg& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Conversion Options"));
        QCOMPARE(Edit(d, IDC_DATA_FILE)->text(), QStringLiteral("DATA"));
        QCOMPARE(Edit(d, IDC_INLET_FILE)->text(), QStringLiteral("INLET"));
        QCOMPARE(Edit(d, IDC_MACRO_FILE)->text(), QStringLiteral("MACRO"));
        QCOMPARE(Edit(d, IDC_MS_FILE)->text(), QStringLiteral("MS"));
        QVERIFY(d.GetDlgItemAs<QPushButton>(IDOK)->isDefault());
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
        d.GetDlgItemAs<QPushButton>(IDOK)->click();
        QVERIFY(d.isVisible());
        QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(1));
        QCOMPARE(CUiTestScript::MessageBoxes().front().text,
                 QStringLiteral("Please enter no more than 8 characters in the %1 field.")
                     .arg(QLatin1String(QTest::currentDataTag())));
        QCOMPARE(d.focusWidget(), d.GetDlgItem(field));
        QCOMPARE(Edit(d, field)->selectedText(), QStringLiteral("NINECHARS"));
        // Shortened, OK ends the dialog.
        Edit(d, field)->setText(QStringLiteral("EIGHTCHR"));
        d.GetDlgItemAs<QPushButton>(IDOK)->click();
        QVERIFY(!d.isVisible());
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
                d.GetDlgItemAs<QPushButton>(IDCANCEL)->click();
            } else if (way == 1) {
                QTest::keyClick(&d, Qt::Key_Escape);
            } else {
                d.close();
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
        d.GetDlgItem(IDOK)->setFocus();
        for (std::size_t i = 1; i < std::size(order); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), d.GetDlgItem(order[i]));
        }
        QTest::keyClick(&d, Qt::Key_A, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), d.GetDlgItem(IDC_MACRO_FILE));
        QTest::keyClick(&d, Qt::Key_M, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), d.GetDlgItem(IDC_MS_FILE));
    });
}

void OptionsAboutTest::aboutShowsNameVersionAndIcon() {
    UiTestEnv env;
    CAboutDlg dlg;
    const INT_PTR result = RunModal<CAboutDlg>(dlg, [](CAboutDlg& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("About Korrin File Conversion"));
        QStringList texts;
        bool icon = false;
        for (QLabel* label : d.findChildren<QLabel*>()) {
            if (!label->pixmap().isNull()) {
                icon = true;
            } else {
                texts << label->text();
            }
        }
        QVERIFY(icon);
        QVERIFY(texts.contains(QStringLiteral("Korrin File Conversion Version 3.3")));
        QVERIFY(texts.contains(QStringLiteral("Korrin to Lumenda Sample List Conversion")));
        QTest::keyClick(&d, Qt::Key_Return);
    });
    QCOMPARE(result, INT_PTR(IDOK));
}

K2L_QTEST_MAIN(OptionsAboutTest)
#include "options_about_test.moc"
