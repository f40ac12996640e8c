#include "AlertJson.h"

#include "AlertText.h"
#include "platform/TimeText.h"

#include <QJsonDocument>

namespace {
QJsonValue TextOrNull(const std::string& text) {
    return text.empty() ? QJsonValue() : QJsonValue(QString::fromStdString(Utf8Text(text)));
}

QJsonValue NumberOrNull(int number) {
    return number == 0 ? QJsonValue() : QJsonValue(number);
}

QString Text(const std::string& text) {
    return QString::fromStdString(Utf8Text(text));
}
} // namespace

std::string AlertJson(const Alert& alert) {
    return QJsonDocument(AlertObject(alert)).toJson(QJsonDocument::Compact).toStdString();
}

QJsonObject AlertObject(const Alert& alert) {
    QJsonObject object;
    object["rule"] = Text(alert.rule);
    object["state"] = AlertStateName(alert.state);
    object["severity"] = SeverityName(alert.severity);
    object["serial"] = TextOrNull(alert.serial);
    object["port"] = NumberOrNull(alert.port);
    object["address"] = NumberOrNull(alert.address);
    object["title"] = Text(alert.title);
    object["text"] = Text(alert.text);
    object["time"] = QString::fromStdString(IsoTimeText(alert.time));
    object["epoch"] = static_cast<qint64>(alert.time);
    object["count"] = alert.count;
    object["station"] = Text(alert.station);
    object["identity"] = Text(alert.identity);
    return object;
}
