#include "BusText.h"

QString BusText(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string BusBytes(const QString& text) {
    return text.toLatin1().toStdString();
}
