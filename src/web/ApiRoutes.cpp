#include "ApiRoutes.h"

#include "DayCurves.h"
#include "LiveStream.h"
#include "MetricsText.h"
#include "PlantJson.h"
#include "WebContext.h"
#include "WebReplies.h"
#include "store/FaultRecordReader.h"
#include "store/FaultRowText.h"
#include "store/PlantDayCurves.h"

#include <QString>
#include <cmath>

namespace {
constexpr int LIVE_STREAMS = 60;

std::string SerialOfSegment(const RequestTarget& target) {
    return SerialOfText(target.Segments().at(2));
}

std::string SerialOfQuery(const RequestTarget& target) {
    return SerialOfText(target.Query("serial").value_or(""));
}

HttpResponse DayAnswer(WebContext& context, int dayKey, const std::string& serial) {
    std::vector<DayPoint> power;
    if (dayKey == TodayKey() && serial.empty()) {
        const PlantDayCurves* plant = context.Config().plantCurves;
        power = plant != nullptr ? PlantPowerToday(*plant) : std::vector<DayPoint>();
    } else if (dayKey == TodayKey()) {
        std::optional<std::vector<DayPoint>> inverter =
            InverterPowerToday(context.Groups(), serial);
        if (!inverter) {
            return ErrorReply(404, "no inverter with this serial number");
        }
        power = std::move(*inverter);
    } else {
        SummaryCurve curve = SummaryDayCurve(context.Config().summaryFile, dayKey, serial);
        if (curve.status != 200) {
            return ErrorReply(curve.status, curve.problem);
        }
        power = std::move(curve.power);
    }
    return JsonReply(JsonText(QJsonObject{{"power", CurveJson(power, !serial.empty())},
                                          {"energy", CurveJson(EnergyCurve(power), false)}}));
}

// Kept a minute: the page adds what comes after from the live stream.
HttpResponse DayRoute(WebContext& context, const RequestTarget& target, const std::string& serial) {
    const std::string dateText = target.Query("date").value_or("");
    const std::optional<int> dayKey = dateText.empty() ? TodayKey() : DayKeyOfText(dateText);
    if (!dayKey) {
        return ErrorReply(400, "date must be YYYY-MM-DD");
    }
    const std::string key = std::to_string(*dayKey) + (serial.empty() ? " plant" : " " + serial);
    const PlantDayCurves* plant = context.Config().plantCurves;
    return context.Curves().Get(key, std::time(nullptr),
                                plant != nullptr ? plant->PastsHanded() : 0,
                                [&] { return DayAnswer(context, *dayKey, serial); });
}
} // namespace

std::string SerialOfText(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()))
        .toLatin1()
        .toStdString();
}

HttpResponse PlantRoute(WebContext& context, const HttpRequest&, const RequestTarget&) {
    return JsonReply(JsonText(PlantJson(context.Snapshot())));
}

HttpResponse InverterListRoute(WebContext& context, const HttpRequest&, const RequestTarget&) {
    return JsonReply(JsonText(InverterListJson(context.Snapshot())));
}

HttpResponse InverterRoute(WebContext& context, const HttpRequest&, const RequestTarget& target) {
    const std::string serial = SerialOfSegment(target);
    const PlantSnapshot snapshot = context.Snapshot({false, serial});
    if (const InverterView* inverter = snapshot.Find(serial)) {
        return JsonReply(JsonText(InverterJson(*inverter, snapshot.taken)));
    }
    return ErrorReply(404, "no inverter with this serial number");
}

HttpResponse PlantDayRoute(WebContext& context, const HttpRequest&, const RequestTarget& target) {
    return DayRoute(context, target, "");
}

HttpResponse InverterDayRoute(WebContext& context, const HttpRequest&,
                              const RequestTarget& target) {
    return DayRoute(context, target, SerialOfSegment(target));
}

HttpResponse FaultsRoute(WebContext& context, const HttpRequest&, const RequestTarget& target) {
    return JsonReply(
        JsonText(FaultsJson(LoadFaultRecords(context.Config().faultFile), SerialOfQuery(target))));
}

HttpResponse FaultsCsvRoute(WebContext& context, const HttpRequest&, const RequestTarget& target) {
    const std::string serial = SerialOfQuery(target);
    HttpResponse reply;
    reply.contentType = "text/csv; charset=ISO-8859-1";
    reply.body = FAULT_EXPORT_HEADER;
    for (const InvFaultRecord& record : LoadFaultRecords(context.Config().faultFile)) {
        if (serial.empty() || FaultSerialText(record) == serial) {
            reply.body += FaultExportLine(FaultRowTextsOf(record));
        }
    }
    reply.Header("Content-Disposition", "attachment; filename=\"ErrorList.csv\"");
    return reply;
}

HttpResponse LiveRoute(WebContext& context, const HttpRequest& request, const RequestTarget&) {
    if (context.streams >= LIVE_STREAMS) {
        return ErrorReply(503, "too many live streams");
    }
    HttpResponse reply;
    reply.contentType = "text/event-stream";
    reply.Header("Cache-Control", "no-store");
    reply.stream = std::make_shared<LiveStream>(*context.feed, context.streams,
                                                request.Header("last-event-id"));
    return reply;
}

HttpResponse MetricsRoute(WebContext& context, const HttpRequest&, const RequestTarget&) {
    const WebServerConfig& config = context.Config();
    const double uptime =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - config.started).count();
    HttpResponse reply;
    reply.contentType = "text/plain; version=0.0.4; charset=utf-8";
    reply.body = MetricsText(context.Snapshot(),
                             {config.version, std::floor(uptime), config.metricsSections});
    return reply;
}
