#include "ui/platform/qt/TextCodec.h"

#include <QByteArray>
#include <QFile>
#include <QStringDecoder>

#include "framework/TextClass.h"

QString DecodePath(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string EncodePath(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString DecodeRecordText(const std::string& text) {
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return decoded;
    }
    return QString::fromLatin1(bytes);
}

bool EncodeRecordText(const QString& text, std::string& out, QString& offending) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (!IsPrintableAscii(unit)) {
            // A surrogate pair is one character to the user.
            const bool pair = QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
                              text.at(i + 1).isLowSurrogate();
            offending = text.mid(i, pair ? 2 : 1);
            return false;
        }
        bytes.push_back(static_cast<char>(unit));
    }
    out = std::move(bytes);
    return true;
}
