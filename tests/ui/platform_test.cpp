// The dialog layer beneath the dialogs: dialog units, combo box lists,
// typing limits, text crossing, file dialog filters, message formatting,
// cursors and the file status query.
#include <QFontMetrics>
#include <QLineEdit>
#include <QtTest>

#include "tests/ui/ui_test_env.h"
#include "ui/platform/ComboBox.h"
#include "ui/platform/Cursor.h"
#include "ui/platform/DialogUnits.h"
#include "ui/platform/FileDialog.h"
#include "ui/platform/FileStatus.h"
#include "ui/platform/MessageBox.h"
#include "ui/platform/TextCodec.h"
#include "ui/platform/TypingLimit.h"

namespace {

QStringList Entries(const QComboBox& combo) {
    QStringList entries;
    for (int i = 0; i < combo.count(); ++i) {
        entries << combo.itemText(i);
    }
    return entries;
}

}  // namespace

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void dialogUnitsScaleWithTheFont();
    void sortedComboInsertsCaseInsensitively();
    void insertAndDeleteKeepPositionsAndFieldText();
    void selectStringFindsFirstPrefixIgnoringCase();
    void typingLimitCountsOnlyTypedText();
    void recordTextAcceptsPrintableAsciiOnly();
    void pathsRoundTripThroughTheLocale();
    void filterTranslatesToQtSyntax_data();
    void filterTranslatesToQtSyntax();
    void formatMessageInsertsArgument();
    void cursorIsPutBackToWhatItReplaced();
    void fileEntryExistsForAnyKindOfEntry();
    void scriptRecordsUnscriptedRequests();
};

void PlatformTest::dialogUnitsScaleWithTheFont() {
    QFont font = QApplication::font();
    font.setPointSize(10);
    const CDialogUnits small(font);
    font.setPointSize(20);
    const CDialogUnits large(font);

    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    QCOMPARE(large.BaseUnitX(), (letters / 26 + 1) / 2);
    QCOMPARE(large.BaseUnitY(), metrics.height());
    // A horizontal unit is a quarter of the average width, a vertical one
    // an eighth of the height, rounded.
    QCOMPARE(large.ToPixelsX(4), large.BaseUnitX());
    QCOMPARE(large.ToPixelsY(8), large.BaseUnitY());
    QCOMPARE(large.ToPixelsX(2), (large.BaseUnitX() * 2 + 2) / 4);
    QCOMPARE(large.MapDialogRect(8, 16, 4, 8),
             QRect(large.ToPixelsX(8), large.ToPixelsY(16), large.BaseUnitX(), large.BaseUnitY()));
    QVERIFY(large.ToPixelsX(225) > small.ToPixelsX(225));
    QVERIFY(large.ToPixelsY(172) > small.ToPixelsY(172));
}

void PlatformTest::sortedComboInsertsCaseInsensitively() {
    CComboBox sorted(nullptr, true);
    for (const char* text : {"beta", "Alpha", "alpha", "Gamma", "ALPHA", "b"}) {
        sorted.AddString(QString::fromLatin1(text));
    }
    QCOMPARE(Entries(sorted),
             QStringList({QStringLiteral("ALPHA"), QStringLiteral("Alpha"), QStringLiteral("alpha"),
                          QStringLiteral("b"), QStringLiteral("beta"), QStringLiteral("Gamma")}));
    CComboBox unsorted(nullptr, false);
    unsorted.AddString(QStringLiteral("z"));
    QCOMPARE(unsorted.AddString(QStringLiteral("a")), 1);
    QCOMPARE(Entries(unsorted), QStringList({QStringLiteral("z"), QStringLiteral("a")}));
}

void PlatformTest::insertAndDeleteKeepPositionsAndFieldText() {
    CComboBox combo(nullptr, true);
    combo.SetWindowText(QStringLiteral("typed"));
    combo.AddString(QStringLiteral("b.x"));
    combo.AddString(QStringLiteral("a.x"));
    QCOMPARE(combo.GetWindowText(), QStringLiteral("typed"));
    QCOMPARE(combo.DeleteString(0), 1);
    QCOMPARE(combo.InsertString(0, QStringLiteral("zzz")), 0);  // not re-sorted
    QCOMPARE(Entries(combo), QStringList({QStringLiteral("zzz"), QStringLiteral("b.x")}));
    QCOMPARE(combo.InsertString(-1, QStringLiteral("end")), 2);
    QCOMPARE(combo.InsertString(5, QStringLiteral("past")), CB_ERR);
    QCOMPARE(combo.DeleteString(3), CB_ERR);
    QString text;
    QCOMPARE(combo.GetLBText(1, text), 3);
    QCOMPARE(text, QStringLiteral("b.x"));
    QCOMPARE(combo.GetLBText(3, text), CB_ERR);
    QCOMPARE(combo.GetWindowText(), QStringLiteral("typed"));
    // Typing into the field never adds an entry.
    QTest::keyClicks(combo.lineEdit(), "x");
    QTest::keyClick(combo.lineEdit(), Qt::Key_Return);
    QCOMPARE(combo.GetCount(), 3);
}

void PlatformTest::selectStringFindsFirstPrefixIgnoringCase() {
    CComboBox combo(nullptr, true);
    for (const char* text : {"ESI2", "ESI1", "APCI"}) {
        combo.AddString(QString::fromLatin1(text));
    }
    QCOMPARE(combo.SelectString(-1, QStringLiteral("esi")), 1);
    QCOMPARE(combo.GetWindowText(), QStringLiteral("ESI1"));
    QCOMPARE(combo.SelectString(1, QStringLiteral("esi")), 2);
    QCOMPARE(combo.SelectString(-1, QStringLiteral("ESI3")), CB_ERR);
    QCOMPARE(combo.GetWindowText(), QStringLiteral("ESI2"));  // unchanged by a miss
}

void PlatformTest::typingLimitCountsOnlyTypedText() {
    QLineEdit edit;
    TypingLimit::Of(&edit)->SetMaxChars(8);
    QCOMPARE(TypingLimit::Of(&edit)->MaxChars(), 8);  // one limit per edit
    QTest::keyClicks(&edit, "123456789");
    QCOMPARE(edit.text(), QStringLiteral("12345678"));
    TypingLimit::SetProgramText(&edit, QStringLiteral("twelve-chars"));
    QCOMPARE(edit.text(), QStringLiteral("twelve-chars"));
    QCOMPARE(edit.cursorPosition(), 0);  // shown from its beginning
    edit.end(false);
    QTest::keyClick(&edit, Qt::Key_Z);
    QCOMPARE(edit.text(), QStringLiteral("twelve-chars"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QStringLiteral("twelve-char"));
    QTest::keyClick(&edit, Qt::Key_Z);
    QCOMPARE(edit.text(), QStringLiteral("twelve-char"));
    edit.selectAll();
    QTest::keyClicks(&edit, "abc");
    QCOMPARE(edit.text(), QStringLiteral("abc"));
    QTest::keyClicks(&edit, "defghij");
    QCOMPARE(edit.text(), QStringLiteral("abcdefgh"));
}

void PlatformTest::recordTextAcceptsPrintableAsciiOnly() {
    std::string out = "before";
    QString offending;
    QVERIFY(EncodeRecordText(QStringLiteral("ESI_POS 1~"), out, offending));
    QCOMPARE(QString::fromStdString(out), QStringLiteral("ESI_POS 1~"));
    out = "before";
    QVERIFY(!EncodeRecordText(QStringLiteral("Gr\u00fc\u00dfe"), out, offending));
    QCOMPARE(offending, QStringLiteral("\u00fc"));
    QCOMPARE(QString::fromStdString(out), QStringLiteral("before"));
    QVERIFY(!EncodeRecordText(QStringLiteral("a\tb"), out, offending));
    QCOMPARE(offending, QStringLiteral("\t"));
    QVERIFY(!EncodeRecordText(QString::fromUtf8("x\xf0\x9f\x98\x80"), out, offending));
    QCOMPARE(offending.size(), 2);  // one character, two UTF-16 units

    QCOMPARE(DecodeRecordText("plain"), QStringLiteral("plain"));
    QCOMPARE(DecodeRecordText("M\xc3\xa9th"), QStringLiteral("M\u00e9th"));
    QCOMPARE(DecodeRecordText("M\xe9th"), QStringLiteral("M\u00e9th"));  // not UTF-8: Latin-1
}

void PlatformTest::pathsRoundTripThroughTheLocale() {
    const std::string path = "/data/r\xc3\xa9sultat.txt";
    QCOMPARE(EncodePath(DecodePath(path)), path);
    QCOMPARE(DecodePath(path), QFile::decodeName(QByteArray::fromStdString(path)));
}

void PlatformTest::filterTranslatesToQtSyntax_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("text files") << QStringLiteral(
                                       "Text Files (*.txt) | *.txt | All Files (*.*) | *.* ||")
                                << QStringLiteral("Text Files (*.txt);;All Files (*)");
    QTest::newRow("sample lists") << QStringLiteral("Sample List Files (*.sdb) | *.sdb ||")
                                  << QStringLiteral("Sample List Files (*.sdb)");
    QTest::newRow("no blanks, two patterns")
        << QStringLiteral("Methods|*.ms;*.lc||") << QStringLiteral("Methods (*.ms *.lc)");
    QTest::newRow("empty") << QString() << QString();
}

void PlatformTest::filterTranslatesToQtSyntax() {
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(CFileDialog::TranslateFilter(filter.toStdString()), expected);
}

void PlatformTest::formatMessageInsertsArgument() {
    QCOMPARE(
        QString::fromStdString(FormatMessage("Sample List %1 created successfully", "/a/b.sdb")),
        QStringLiteral("Sample List /a/b.sdb created successfully"));
    QCOMPARE(QString::fromStdString(FormatMessage("%1 and %1, 100%%", "x")),
             QStringLiteral("x and x, 100%"));
    // An argument holding "%1" is inserted as it is.
    QCOMPARE(QString::fromStdString(FormatMessage("[%1]", "%1%2")), QStringLiteral("[%1%2]"));
}

void PlatformTest::cursorIsPutBackToWhatItReplaced() {
    QVERIFY(QApplication::overrideCursor() == nullptr);
    const HCURSOR outer = SetCursor(LoadCursor(IDC_WAIT));
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    const HCURSOR inner = SetCursor(LoadCursor(IDC_ARROW));
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    SetCursor(inner);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    SetCursor(outer);
    QVERIFY(QApplication::overrideCursor() == nullptr);
    SetCursor(LoadCursor(IDC_WAIT));
    SetCursor(outer);  // also undoes cursors set after it
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void PlatformTest::fileEntryExistsForAnyKindOfEntry() {
    UiTestEnv env;
    const QString file = env.Write(QStringLiteral("f.txt"), "x");
    QFile::link(env.Path(QStringLiteral("gone")), env.Path(QStringLiteral("dangling")));
    QVERIFY(FileEntryExists(file.toStdString()));
    QVERIFY(FileEntryExists(env.StdPath(QStringLiteral("work"))));
    QVERIFY(FileEntryExists(env.StdPath(QStringLiteral("dangling"))));
    QVERIFY(!FileEntryExists(env.StdPath(QStringLiteral("gone"))));
    QVERIFY(!FileEntryExists(""));
    QVERIFY(!FileEntryExists("[Not Specified]"));
    QVERIFY(!FileEntryExists(std::string("f.txt\0x", 7)));
}

void PlatformTest::scriptRecordsUnscriptedRequests() {
    UiTestEnv env;
    QCOMPARE(
        ShowMessageBox(nullptr, QStringLiteral("q"), QStringLiteral("c"), MB_YESNO | MB_DEFBUTTON2),
        IDNO);
    CUiTestScript::AnswerMessageBox(IDYES);
    QCOMPARE(ShowMessageBox(nullptr, QStringLiteral("q"), QStringLiteral("c"), MB_YESNO), IDYES);
    QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(2));
    QVERIFY(!CUiTestScript::MessageBoxes()[0].scripted);
    QVERIFY(CUiTestScript::MessageBoxes()[1].scripted);

    CFileDialog dialog(TRUE, "txt", "name.txt", OFN_FILEMUSTEXIST, "All (*.*) | *.* ||");
    QCOMPARE(dialog.DoModal(), INT_PTR(IDCANCEL));
    QVERIFY(!CUiTestScript::FileDialogs().back().scripted);
    CUiTestScript::AcceptFileDialog(env.Path(QStringLiteral("dir/archive.tar.gz")));
    QCOMPARE(dialog.DoModal(), INT_PTR(IDOK));
    QCOMPARE(QString::fromStdString(dialog.GetPathName()),
             env.Path(QStringLiteral("dir/archive.tar.gz")));
    QCOMPARE(QString::fromStdString(dialog.GetFileTitle()), QStringLiteral("archive.tar"));
}

K2L_QTEST_MAIN(PlatformTest)
#include "platform_test.moc"
