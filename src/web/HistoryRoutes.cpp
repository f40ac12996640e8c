#include "HistoryRoutes.h"

#include "ApiRoutes.h"
#include "DayCurves.h"
#include "PeriodBars.h"
#include "PlantJson.h"
#include "WebContext.h"
#include "WebReplies.h"
#include "history/HistoryCsv.h"
#include "history/SummaryReader.h"

#include <cctype>
#include <map>

namespace {
HttpResponse PeriodRoute(WebContext& context, const RequestTarget& target, PeriodKind kind,
                         const std::string& name, const std::string& form) {
    const std::optional<std::string> text = target.Query(name);
    const std::optional<HistoryPeriod> period =
        text ? PeriodOfText(*text, kind) : HistoryPeriod{kind, TodayKey()};
    if (!period) {
        return ErrorReply(400, name + " must be " + form);
    }
    const PeriodAnswer answer = SummaryPeriodBars(
        context.Config().summaryFile, *period, SerialOfText(target.Query("serial").value_or("")));
    if (answer.status != 200) {
        return ErrorReply(answer.status, answer.problem);
    }
    return JsonReply(JsonText(answer.json));
}
std::optional<HistoryPeriod> CsvPeriod(const RequestTarget& target) {
    static const std::map<std::string, PeriodKind> KINDS{
        {"day", PeriodKind::DAY}, {"month", PeriodKind::MONTH}, {"year", PeriodKind::YEAR}};
    const auto kind = KINDS.find(target.Query("period").value_or("day"));
    const std::optional<std::string> date = target.Query("date");
    if (kind == KINDS.end()) {
        return std::nullopt;
    }
    const std::optional<int> anchor = date ? ParsePeriodDate(*date, kind->second) : TodayKey();
    return anchor ? std::optional(HistoryPeriod{kind->second, *anchor}) : std::nullopt;
}

// Letters, digits and "-" of the subject, so that any serial number makes a
// file name that needs no quoting.
std::string FileName(const std::string& subject, const HistoryPeriod& period) {
    std::string name = "History-" + subject + "-" + period.Label() + ".csv";
    for (char& c : name) {
        const bool plain = std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.';
        c = plain ? c : '_';
    }
    return name;
}
} // namespace

HttpResponse HistoryCsvRoute(WebContext& context, const HttpRequest&, const RequestTarget& target) {
    const std::optional<HistoryPeriod> period = CsvPeriod(target);
    if (!period) {
        return ErrorReply(400, "period must be day, month or year and date YYYY-MM-DD, "
                               "YYYY-MM or YYYY");
    }
    SummaryReader reader;
    std::string problem;
    if (!reader.Open(context.Config().summaryFile, &problem)) {
        return ErrorReply(503, "the history summary cannot be read: " + problem);
    }
    const std::string serial = SerialOfText(target.Query("serial").value_or(""));
    std::int64_t source = SummaryReader::PLANT;
    if (!serial.empty()) {
        const auto found = reader.SourceOfSerial(serial);
        if (!found || !*found) {
            return found ? ErrorReply(404, "no inverter with serial number " + serial +
                                               " in the history summary")
                         : ErrorReply(500, found.Reason());
        }
        source = (*found)->id;
    }
    const auto csv = HistoryCsv(reader, *period, source);
    if (!csv) {
        return ErrorReply(500, csv.Reason());
    }
    HttpResponse reply;
    reply.contentType = "text/csv; charset=utf-8";
    reply.body = *csv;
    reply.Header("Content-Disposition", "attachment; filename=\"" +
                                            FileName(serial.empty() ? "Plant" : serial, *period) +
                                            "\"");
    return reply;
}

HttpResponse MonthRoute(WebContext& context, const HttpRequest&, const RequestTarget& target) {
    return PeriodRoute(context, target, PeriodKind::MONTH, "month", "YYYY-MM");
}

HttpResponse YearRoute(WebContext& context, const HttpRequest&, const RequestTarget& target) {
    return PeriodRoute(context, target, PeriodKind::YEAR, "year", "YYYY");
}
