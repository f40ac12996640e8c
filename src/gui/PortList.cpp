#include "PortList.h"

#include <QComboBox>

namespace {
constexpr int PREFIX_LENGTH = 3;

int IndexOf(const QComboBox& list, const QString& text) {
    return list.findText(text, Qt::MatchFixedString); // whole text, any case
}
} // namespace

int PortNumberOfText(const QString& text) {
    const QString rest = text.mid(PREFIX_LENGTH);
    qsizetype digits = 0;
    while (digits < rest.size() && rest[digits].isDigit()) {
        ++digits;
    }
    return rest.left(digits).toInt(); // 0 for no digits or too many
}

QString PortText(int port) {
    return QString("Com%1").arg(port);
}

void AddPortInOrder(QComboBox& list, const QString& text) {
    if (text.isEmpty() || IndexOf(list, text) >= 0) {
        return;
    }
    const int port = PortNumberOfText(text);
    for (int index = 0; index < list.count(); ++index) {
        if (PortNumberOfText(list.itemText(index)) > port) {
            list.insertItem(index, text);
            return;
        }
    }
    list.addItem(text);
}

void RemovePortText(QComboBox& list, const QString& text) {
    if (const int index = IndexOf(list, text); index >= 0) {
        list.removeItem(index);
    }
}

void SelectPortText(QComboBox& list, const QString& text) {
    list.setCurrentIndex(text.isEmpty() ? -1 : IndexOf(list, text));
}
