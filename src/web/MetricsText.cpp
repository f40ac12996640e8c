#include "MetricsText.h"

#include "SampleFields.h"

#include <cmath>
#include <cstdio>

namespace {
class Exposition {
public:
    // Writes the HELP and TYPE lines once per metric family.
    void Family(const char* name, const char* type, const char* help) {
        m_text += "# HELP ";
        m_text += name;
        m_text += ' ';
        m_text += help;
        m_text += "\n# TYPE ";
        m_text += name;
        m_text += ' ';
        m_text += type;
        m_text += '\n';
    }
    void Sample(const char* name, const std::string& labels, double value) {
        m_text += name;
        if (!labels.empty()) {
            m_text += '{' + labels + '}';
        }
        char number[40];
        std::snprintf(number, sizeof number, " %.17g\n", value);
        m_text += std::isfinite(value) ? number : " NaN\n";
    }
    std::string Take() { return std::move(m_text); }

private:
    std::string m_text;
};

std::string Label(const char* name, const std::string& value) {
    return std::string(name) + "=\"" + LabelValue(value) + '"';
}

std::string InverterLabels(const InverterView& inverter) {
    return Label("port", "COM" + std::to_string(inverter.port)) + ',' +
           Label("address", std::to_string(inverter.address)) + ',' +
           Label("serial", inverter.serial) + ',' + Label("model", inverter.model);
}

bool Fresh(const InverterView& inverter) {
    return inverter.online && inverter.sample;
}

// One family over every inverter with a fresh sample.
template <class Value>
void FreshFamily(Exposition& out, const PlantSnapshot& snapshot, const char* name, const char* help,
                 Value value) {
    out.Family(name, "gauge", help);
    for (const InverterView& inverter : snapshot.inverters) {
        if (Fresh(inverter)) {
            out.Sample(name, InverterLabels(inverter), value(*inverter.sample));
        }
    }
}

// One family with a sample per phase or input of every fresh inverter.
template <class Values>
void PhaseFamily(Exposition& out, const PlantSnapshot& snapshot, const char* name,
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

void InverterFamilies(Exposition& out, const PlantSnapshot& snapshot) {
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

void PlantFamilies(Exposition& out, const PlantSnapshot& snapshot) {
    const SnapshotTotals totals = snapshot.Totals();
    const struct {
        const char* name;
        const char* help;
        double value;
    } families[] = {
        {"heliowatch_plant_power_watts", "Output power of the producing inverters.", totals.powerW},
        {"heliowatch_plant_energy_today_kwh", "Energy fed in today.", totals.energyTodayKwh},
        {"heliowatch_plant_energy_lifetime_kwh", "Energy fed in over the inverters' lives.",
         totals.energyTotalKwh},
        {"heliowatch_plant_inverters", "Inverters registered.",
         static_cast<double>(totals.inverters)},
        {"heliowatch_plant_inverters_online", "Inverters answering their polls.",
         static_cast<double>(totals.online)},
    };
    for (const auto& family : families) {
        out.Family(family.name, "gauge", family.help);
        out.Sample(family.name, "", family.value);
    }
}

template <class Value>
void PortFamily(Exposition& out, const PlantSnapshot& snapshot, const char* name, const char* type,
                const char* help, Value value) {
    out.Family(name, type, help);
    for (const PortView& port : snapshot.ports) {
        out.Sample(name, Label("port", "COM" + std::to_string(port.port)), value(port));
    }
}

void PortFamilies(Exposition& out, const PlantSnapshot& snapshot) {
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
void BrokerFamilies(Exposition& out, const BrokerStatus& broker) {
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

std::string LabelValue(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        } else if (c == '\\' || c == '"') {
            text += '\\';
            text += c;
        } else if (c == '\n') {
            text += "\\n";
        } else {
            text += c;
        }
    }
    return text;
}

std::string MetricsText(const PlantSnapshot& snapshot, const MetricsInfo& info) {
    Exposition out;
    InverterFamilies(out, snapshot);
    PlantFamilies(out, snapshot);
    PortFamilies(out, snapshot);
    BrokerFamilies(out, snapshot.broker);
    out.Family("heliowatch_uptime_seconds", "gauge", "Seconds since the station started.");
    out.Sample("heliowatch_uptime_seconds", "", info.uptimeSeconds);
    out.Family("heliowatch_build_info", "gauge", "The station's version.");
    out.Sample("heliowatch_build_info", Label("version", info.version), 1);
    return out.Take();
}
