#include "MetricsText.h"

#include "NumberText.h"
#include "SampleFields.h"

namespace {
std::string InverterLabels(const InverterView& inverter) {
    return Label("serial", inverter.serial);
}

std::string InfoLabels(const InverterView& inverter) {
    return Label("port", "COM" + std::to_string(inverter.port)) + ',' +
           Label("address", std::to_string(inverter.address)) + ',' +
           Label("model", inverter.model) + ',' + Label("serial", inverter.serial);
}

bool Fresh(const InverterView& inverter) {
    return inverter.freshness == Freshness::Fresh && inverter.sample;
}

// One family over every inverter with a fresh sample.
template <class Value>
void FreshFamily(MetricsWriter& out, const PlantSnapshot& snapshot, const char* name,
                 const char* help, Value value) {
    out.Family(name, "gauge", help);
    for (const InverterView& inverter : snapshot.inverters) {
        if (Fresh(inverter)) {
            out.Sample(name, InverterLabels(inverter), value(*inverter.sample));
        }
    }
}

// One family with a sample per phase or input of every fresh inverter.
template <class Values>
void PhaseFamily(MetricsWriter& out, const PlantSnapshot& snapshot, const char* name,
                 const char* label, const char* help, Values values) {
    out.Family(name, "gauge", help);
    for (const InverterView& inverter : snapshot.inverters) {
        if (!Fresh(inverter)) {
            continue;
        }
        const std::vector<double> list = values(GridReadingsOf(*inverter.sample));
        for (std::size_t i = 0; i < list.size(); ++i) {
            out.Sample(name, InverterLabels(inverter) + ',' + Label(label, std::to_string(i + 1)),
                       list[i]);
        }
    }
}

void InverterFamilies(MetricsWriter& out, const PlantSnapshot& snapshot) {
    out.Family("heliowatch_inverter_info", "gauge",
               "Where each inverter is registered and what it is; always 1.");
    for (const InverterView& inverter : snapshot.inverters) {
        out.Sample("heliowatch_inverter_info", InfoLabels(inverter), 1);
    }
    out.Family("heliowatch_inverter_online", "gauge", "1 while the inverter answers its polls.");
    for (const InverterView& inverter : snapshot.inverters) {
        out.Sample("heliowatch_inverter_online", InverterLabels(inverter), inverter.online ? 1 : 0);
    }
    out.Family("heliowatch_inverter_last_sample_timestamp_seconds", "gauge",
               "When the inverter's last sample was taken.");
    for (const InverterView& inverter : snapshot.inverters) {
        if (inverter.sample) {
            out.Sample("heliowatch_inverter_last_sample_timestamp_seconds",
                       InverterLabels(inverter),
                       static_cast<double>(inverter.sample->GetSampleTime()));
        }
    }
    FreshFamily(out, snapshot, "heliowatch_inverter_power_watts", "Output power.",
                [](const RuntimeData& data) { return data.GetOutputPower(); });
    FreshFamily(out, snapshot, "heliowatch_inverter_energy_today_kwh", "Energy fed in today.",
                [](const RuntimeData& data) { return data.GetEToday(); });
    FreshFamily(out, snapshot, "heliowatch_inverter_energy_lifetime_kwh",
                "Energy fed in over the inverter's life.",
                [](const RuntimeData& data) { return data.GetETotal(); });
    FreshFamily(out, snapshot, "heliowatch_inverter_temperature_celsius", "Inverter temperature.",
                [](const RuntimeData& data) { return GridReadingsOf(data).temperatureC; });
    FreshFamily(out, snapshot, "heliowatch_inverter_mode",
                "Work mode: 0 wait, 1 normal, 2 fault, 3 permanent fault.",
                [](const RuntimeData& data) { return GridReadingsOf(data).mode; });
    PhaseFamily(out, snapshot, "heliowatch_inverter_pv_voltage_volts", "input", "PV input voltage.",
                [](const GridReadings& readings) {
                    return std::vector<double>{readings.pvVolts[0], readings.pvVolts[1]};
                });
    PhaseFamily(out, snapshot, "heliowatch_inverter_grid_voltage_volts", "phase", "Grid voltage.",
                [](const GridReadings& readings) { return readings.acVolts; });
    PhaseFamily(out, snapshot, "heliowatch_inverter_grid_frequency_hertz", "phase",
                "Grid frequency.",
                [](const GridReadings& readings) { return readings.frequencyHz; });
}

void PlantFamilies(MetricsWriter& out, const PlantSnapshot& snapshot) {
    const PlantTotals& totals = snapshot.totals;
    const struct {
        const char* name;
        const char* help;
        double value;
    } families[] = {
        {"heliowatch_plant_power_watts",
         "Output power of the inverters reporting current readings free of faults.",
         Rounded(totals.powerW, 1)},
        {"heliowatch_plant_energy_today_kwh", "Energy fed in today.", Rounded(totals.eTodayKWh, 2)},
        {"heliowatch_plant_energy_lifetime_kwh", "Energy fed in over the inverters' lives.",
         Rounded(totals.eTotalKWh, 1)},
        {"heliowatch_plant_inverters", "Inverters registered.", double(totals.registered)},
        {"heliowatch_plant_inverters_online", "Inverters answering their polls.",
         double(totals.answering)},
        {"heliowatch_plant_inverters_reporting", "Inverters whose readings are current.",
         double(totals.reporting)},
        {"heliowatch_plant_inverters_faulty", "Inverters whose last reading carried a fault.",
         double(totals.faults)},
        {"heliowatch_plant_ports_lost", "Enabled ports that are closed or failing.",
         double(totals.portsLost)},
    };
    for (const auto& family : families) {
        out.Family(family.name, "gauge", family.help);
        out.Sample(family.name, "", family.value);
    }
}

template <class Value>
void PortFamily(MetricsWriter& out, const PlantSnapshot& snapshot, const char* name,
                const char* type, const char* help, Value value) {
    out.Family(name, type, help);
    for (const PortView& port : snapshot.ports) {
        out.Sample(name, Label("port", "COM" + std::to_string(port.port)), value(port));
    }
}

void PortFamilies(MetricsWriter& out, const PlantSnapshot& snapshot) {
    PortFamily(out, snapshot, "heliowatch_port_open", "gauge", "1 while the port is open.",
               [](const PortView& port) { return port.open ? 1.0 : 0.0; });
    PortFamily(out, snapshot, "heliowatch_port_polls_total", "counter", "Runtime data polls sent.",
               [](const PortView& port) { return static_cast<double>(port.polls); });
    PortFamily(out, snapshot, "heliowatch_port_failed_polls_total", "counter",
               "Polls without a valid reply.",
               [](const PortView& port) { return static_cast<double>(port.failedPolls); });
    PortFamily(out, snapshot, "heliowatch_port_reopens_total", "counter",
               "Times the port was opened again after it closed.",
               [](const PortView& port) { return static_cast<double>(port.reopens); });
    out.Family("heliowatch_port_rejected_frames_total", "counter",
               "Replies rejected, by the rule that rejected them.");
    for (const PortView& port : snapshot.ports) {
        for (const auto& [check, count] : port.rejects) {
            out.Sample("heliowatch_port_rejected_frames_total",
                       Label("port", "COM" + std::to_string(port.port)) + ',' +
                           Label("reason", ReplyCheckText(check)),
                       static_cast<double>(count));
        }
    }
}
// Left without samples while the station does not publish, so that no
// alert fires for a broker nobody set up.
void BrokerFamilies(MetricsWriter& out, const BrokerStatus& broker) {
    const bool publishing = broker.state != BrokerStatus::State::Disabled;
    out.Family("heliowatch_broker_connected", "gauge", "1 while the MQTT broker is connected.");
    if (publishing) {
        out.Sample("heliowatch_broker_connected", "",
                   broker.state == BrokerStatus::State::Connected ? 1 : 0);
    }
    out.Family("heliowatch_broker_dropped_messages_total", "counter",
               "Messages dropped because the queue to the broker was full.");
    if (publishing) {
        out.Sample("heliowatch_broker_dropped_messages_total", "",
                   static_cast<double>(broker.dropped));
    }
}
} // namespace

std::string MetricsText(const PlantSnapshot& snapshot, const MetricsInfo& info) {
    MetricsWriter out;
    InverterFamilies(out, snapshot);
    PlantFamilies(out, snapshot);
    PortFamilies(out, snapshot);
    BrokerFamilies(out, snapshot.broker);
    out.Family("heliowatch_uptime_seconds", "gauge", "Seconds since the station started.");
    out.Sample("heliowatch_uptime_seconds", "", info.uptimeSeconds);
    out.Family("heliowatch_build_info", "gauge", "The station's version.");
    out.Sample("heliowatch_build_info", Label("version", info.version), 1);
    for (const MetricsSection& section : info.sections) {
        section(out);
    }
    return out.Take();
}
