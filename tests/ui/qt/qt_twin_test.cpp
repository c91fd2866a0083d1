// What only the Qt twin has: dialog units from Qt's font metrics; its
// combo box's prefix selection; its text crossing between the program's
// 8-bit strings and QString.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QFontMetrics>

#include "ui/platform/qt/ComboBox.h"
#include "ui/platform/qt/DialogBuilder.h"
#include "ui/platform/qt/TextCodec.h"

TEST(QtTwin, DialogUnitsScaleWithTheFont) {
    QFont font = QApplication::font();
    font.setPointSize(10);
    const CDialogUnits small(font);
    font.setPointSize(20);
    const CDialogUnits large(font);

    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(large.BaseUnitX(), (letters / 26 + 1) / 2);
    EXPECT_EQ(large.BaseUnitY(), metrics.height());
    // A horizontal unit is a quarter of the average width, a vertical one
    // an eighth of the height, rounded.
    EXPECT_EQ(large.ToPixelsX(4), large.BaseUnitX());
    EXPECT_EQ(large.ToPixelsY(8), large.BaseUnitY());
    EXPECT_EQ(large.ToPixelsX(2), (large.BaseUnitX() * 2 + 2) / 4);
    EXPECT_EQ(large.MapDialogRect(8, 16, 4, 8),
              QRect(large.ToPixelsX(8), large.ToPixelsY(16), large.BaseUnitX(), large.BaseUnitY()));
    EXPECT_GT(large.ToPixelsX(225), small.ToPixelsX(225));
    EXPECT_GT(large.ToPixelsY(172), small.ToPixelsY(172));
}

TEST(QtTwin, SelectStringFindsFirstPrefixIgnoringCase) {
    CComboBox combo(nullptr);
    combo.addItems({QStringLiteral("APCI"), QStringLiteral("ESI1"), QStringLiteral("ESI2")});
    EXPECT_EQ(combo.SelectString(-1, QStringLiteral("esi")), 1);
    EXPECT_EQ(combo.GetWindowText(), QStringLiteral("ESI1"));
    EXPECT_EQ(combo.SelectString(1, QStringLiteral("esi")), 2);
    EXPECT_EQ(combo.SelectString(-1, QStringLiteral("ESI3")), CB_ERR);
    EXPECT_EQ(combo.GetWindowText(), QStringLiteral("ESI2"));  // unchanged by a miss
}

TEST(QtTwin, RecordTextAcceptsPrintableAsciiOnly) {
    std::string out = "before";
    QString offending;
    EXPECT_TRUE(EncodeRecordText(QStringLiteral("ESI_POS 1~"), out, offending));
    EXPECT_EQ(out, "ESI_POS 1~");
    out = "before";
    EXPECT_FALSE(EncodeRecordText(QStringLiteral("Gr\u00fc\u00dfe"), out, offending));
    EXPECT_EQ(offending, QStringLiteral("\u00fc"));
    EXPECT_EQ(out, "before");
    EXPECT_FALSE(EncodeRecordText(QStringLiteral("a\tb"), out, offending));
    EXPECT_EQ(offending, QStringLiteral("\t"));
    EXPECT_FALSE(EncodeRecordText(QString::fromUtf8("x\xf0\x9f\x98\x80"), out, offending));
    EXPECT_EQ(offending.size(), 2);  // one character, two UTF-16 units

    EXPECT_EQ(DecodeRecordText("plain"), QStringLiteral("plain"));
    EXPECT_EQ(DecodeRecordText("M\xc3\xa9th"), QStringLiteral("M\u00e9th"));
    EXPECT_EQ(DecodeRecordText("M\xe9th"), QStringLiteral("M\u00e9th"));  // not UTF-8: Latin-1
}

TEST(QtTwin, PathsRoundTripThroughTheLocale) {
    const std::string path = "/data/r\xc3\xa9sultat.txt";
    EXPECT_EQ(EncodePath(DecodePath(path)), path);
    EXPECT_EQ(DecodePath(path), QFile::decodeName(QByteArray::fromStdString(path)));
}
