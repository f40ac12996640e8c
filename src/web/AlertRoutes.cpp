#include "AlertRoutes.h"

#include "PlantJson.h"
#include "WebContext.h"
#include "WebReplies.h"
#include "alerts/AlertJson.h"

#include <QJsonArray>

namespace {
const char* OutcomeName(SentAlert::Outcome outcome) {
    switch (outcome) {
    case SentAlert::Outcome::Sent: return "sent";
    case SentAlert::Outcome::Waiting: return "waiting";
    case SentAlert::Outcome::GivenUp: return "given up";
    }
    return "waiting";
}

QJsonValue TimeOrNull(std::time_t time) {
    return time == 0 ? QJsonValue() : QJsonValue(static_cast<qint64>(time));
}

QJsonObject DeliveryJson(const SentAlert::Delivery& delivery) {
    return {{"channel", QString::fromStdString(delivery.channel)},
            {"outcome", OutcomeName(delivery.outcome)},
            {"sent", TimeOrNull(delivery.sentAt)},
            {"attempts", delivery.attempts},
            {"error", QString::fromStdString(delivery.error)}};
}

QJsonObject SentJson(const SentAlert& sent) {
    QJsonObject object = AlertObject(sent.alert);
    object["sent"] = TimeOrNull(sent.sentAt);
    QJsonArray deliveries;
    for (const SentAlert::Delivery& delivery : sent.deliveries) {
        deliveries.append(DeliveryJson(delivery));
    }
    object["deliveries"] = deliveries;
    return object;
}

QJsonArray ChannelsJson(const std::map<std::string, ChannelCounts>& channels) {
    QJsonArray list;
    for (const auto& [name, counts] : channels) {
        list.append(QJsonObject{{"channel", QString::fromStdString(name)},
                                {"sent", static_cast<qint64>(counts.sent)},
                                {"failed", static_cast<qint64>(counts.failed)},
                                {"queued", static_cast<qint64>(counts.queued)}});
    }
    return list;
}
} // namespace

QJsonObject AlertsJson(const AlertsSnapshot& snapshot) {
    QJsonArray open;
    for (const Alert& alert : snapshot.open) {
        open.append(AlertObject(alert));
    }
    QJsonArray sent;
    for (const SentAlert& each : snapshot.lastSent) {
        sent.append(SentJson(each));
    }
    return {{"open", open}, {"sent", sent}, {"channels", ChannelsJson(snapshot.channels)}};
}

HttpResponse AlertsRoute(WebContext& context, const HttpRequest&, const RequestTarget&) {
    const auto& alerts = context.Config().alerts;
    return JsonReply(JsonText(AlertsJson(alerts ? alerts() : AlertsSnapshot{})));
}
