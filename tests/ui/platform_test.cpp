// The dialog layer beneath the dialogs: dialog units, combo box fields,
// text crossing, the file status query and the script that answers message
// boxes and file dialogs.
#include <QFontMetrics>
#include <QLineEdit>
#include <QtTest>

#include "tests/ui/ui_test_env.h"
#include "ui/platform/qt/ComboBox.h"
#include "ui/platform/qt/DialogBuilder.h"
#include "ui/platform/qt/MessageBox.h"
#include "ui/platform/qt/TextCodec.h"

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void dialogUnitsScaleWithTheFont();
    void selectStringFindsFirstPrefixIgnoringCase();
    void recordTextAcceptsPrintableAsciiOnly();
    void pathsRoundTripThroughTheLocale();
    void fileEntryExistsForAnyKindOfEntry();
    void unansweredBoxesTakeTheirDefaultAndDialogsCancel();
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

void PlatformTest::selectStringFindsFirstPrefixIgnoringCase() {
    CComboBox combo(nullptr);
    combo.addItems({QStringLiteral("APCI"), QStringLiteral("ESI1"), QStringLiteral("ESI2")});
    QCOMPARE(combo.SelectString(-1, QStringLiteral("esi")), 1);
    QCOMPARE(combo.GetWindowText(), QStringLiteral("ESI1"));
    QCOMPARE(combo.SelectString(1, QStringLiteral("esi")), 2);
    QCOMPARE(combo.SelectString(-1, QStringLiteral("ESI3")), CB_ERR);
    QCOMPARE(combo.GetWindowText(), QStringLiteral("ESI2"));  // unchanged by a miss
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

void PlatformTest::unansweredBoxesTakeTheirDefaultAndDialogsCancel() {
    UiTestEnv env;
    const QString q = QStringLiteral("q");
    QCOMPARE(ShowMessageBox(nullptr, q, q, MB_YESNO | MB_DEFBUTTON2), IDNO);
    QCOMPARE(ShowMessageBox(nullptr, q, q, MB_YESNO | MB_ICONQUESTION), IDYES);
    CUiTestScript::AnswerMessageBox(IDNO);
    QCOMPARE(ShowMessageBox(nullptr, q, q, MB_YESNO), IDNO);
    QCOMPARE(CUiTestScript::MessageBoxes().size(), std::size_t(3));
    QCOMPARE(CUiTestScript::MessageBoxes()[1].type, MB_YESNO | MB_ICONQUESTION);

    const FileDialogRequest request;
    QCOMPARE(RunFileDialog(request), std::string());
    // The chosen file comes back as a full path.
    CUiTestScript::AcceptFileDialog(env.Path(QStringLiteral("dir/archive.tar.gz")));
    CUiTestScript::AcceptFileDialog(QStringLiteral("here.txt"));
    const std::string chosen = RunFileDialog(request);
    QCOMPARE(chosen, env.StdPath(QStringLiteral("dir/archive.tar.gz")));
    QCOMPARE(RunFileDialog(request), env.StdPath(QStringLiteral("work/here.txt")));
    QCOMPARE(CUiTestScript::FileDialogs().size(), std::size_t(3));
}

K2L_QTEST_MAIN(PlatformTest)
#include "platform_test.moc"
