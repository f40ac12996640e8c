#include "AlertText.h"

#include <QByteArrayView>
#include <QStringDecoder>

std::string Utf8Text(const std::string& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text =
        decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!decoder.hasError()) {
        return bytes;
    }
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())).toStdString();
}

std::string HeaderText(const std::string& bytes) {
    std::string text = Utf8Text(bytes);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    return text;
}
