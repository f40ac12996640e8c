#include "AlertMetrics.h"

namespace {
using Counted = double (*)(const ChannelCounts&);

void ChannelFamily(MetricsWriter& out, const std::map<std::string, ChannelCounts>& channels,
                   const char* name, const char* type, const char* help, Counted counted) {
    out.Family(name, type, help);
    for (const auto& [channel, counts] : channels) {
        out.Sample(name, Label("channel", channel), counted(counts));
    }
}
} // namespace

MetricsSection AlertMetrics(std::function<AlertsSnapshot()> alerts) {
    return [alerts = std::move(alerts)](MetricsWriter& out) {
        const std::map<std::string, ChannelCounts> channels = alerts().channels;
        ChannelFamily(out, channels, "heliowatch_alerts_sent_total", "counter",
                      "Alerts the channel delivered since the station started.",
                      [](const ChannelCounts& c) { return static_cast<double>(c.sent); });
        ChannelFamily(out, channels, "heliowatch_alerts_failed_total", "counter",
                      "Deliveries through the channel that failed since the station started.",
                      [](const ChannelCounts& c) { return static_cast<double>(c.failed); });
        ChannelFamily(out, channels, "heliowatch_alerts_queued", "gauge",
                      "Alerts waiting for the channel.",
                      [](const ChannelCounts& c) { return static_cast<double>(c.queued); });
    };
}
