#include "PastHistory.h"

#include "InverterFactory.h"
#include "LocalDayTime.h"
#include "ReadingModel.h"
#include "RuntimeEncoding.h"
#include "SunModel.h"
#include "comm/RuntimeDecode.h"
#include "model/Inverter.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"
#include "store/HistoryFileName.h"
#include "store/HistoryLine.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace sim {

namespace {
constexpr int AWAKE_BEFORE_SUNRISE = 15 * 60;
constexpr int AWAKE_AFTER_SUNSET = 15 * 60;
constexpr double CLOUDIEST_DAY = 0.3;

// The sky of a local day, from 0.3 (overcast) to 1 (clear), the same on
// every run.
double Weather(std::int64_t day) {
    std::uint32_t hash = static_cast<std::uint32_t>(day) * 2654435761U;
    hash ^= hash >> 15;
    hash *= 2246822519U;
    hash ^= hash >> 13;
    return CLOUDIEST_DAY + (1.0 - CLOUDIEST_DAY) * static_cast<double>(hash % 1000) / 999.0;
}

// Noon UTC falls on the same local date wherever the offset is under 12 h.
std::int64_t TimeOnDay(std::int64_t day, int secondOfDay) {
    constexpr std::int64_t NOON = 12 * 3600;
    return LocalTimeOnSameDay(day * 86'400 + NOON, secondOfDay);
}

std::uint16_t Scaled(std::uint16_t value, double factor) {
    return static_cast<std::uint16_t>(std::lround(value * factor));
}

// The reading under the day's sky, the lifetime counter carrying every
// earlier day's energy.
InverterReading CloudyReading(const InverterProfile& profile, std::int64_t time, double weather,
                              std::uint32_t earlierHundredths) {
    InverterReading reading = ComputeReading(profile, EnergyCounters{}, time);
    for (std::size_t i = 0; i < 3; ++i) {
        reading.pac[i] = Scaled(reading.pac[i], weather);
        reading.iac[i] = Scaled(reading.iac[i], weather);
        reading.ipv[i] = Scaled(reading.ipv[i], weather);
    }
    reading.eToday = Scaled(reading.eToday, weather);
    reading.eTotal = profile.eTotalBase + (earlierHundredths + reading.eToday) / 10;
    return reading;
}

class InverterHistory {
public:
    InverterHistory(const InverterProfile& profile, const PastHistoryPlan& plan)
        : m_profile(profile), m_plan(plan) {
        const bool three = profile.kind == InverterKind::Three;
        m_record.m_nPhaseType = three ? 3 : 1;
        m_record.m_runtimeFormat = profile.runtimeFields;
        m_record.m_pRuntimeData = three ? std::unique_ptr<RuntimeData>(new ThreeRuntimeData)
                                        : std::unique_ptr<RuntimeData>(new SingleRuntimeData);
        m_text = std::string(three ? THREE_HISTORY_HEADER : SINGLE_HISTORY_HEADER);
    }

    std::int64_t WriteDay(std::int64_t day, int interval) {
        const double weather = m_plan.sky ? m_plan.sky(m_profile.serialNo, day) : Weather(day);
        std::int64_t lines = 0;
        std::uint16_t eToday = 0;
        for (int second = SunModel::SUNRISE - AWAKE_BEFORE_SUNRISE;
             second <= SunModel::SUNSET + AWAKE_AFTER_SUNSET; second += interval, ++lines) {
            const std::int64_t time = TimeOnDay(day, second);
            const InverterReading reading = CloudyReading(m_profile, time, weather, m_earlier);
            eToday = reading.eToday;
            Append(reading, time);
        }
        m_earlier += eToday;
        return lines;
    }

    const std::string& Text() const { return m_text; }

private:
    // The bytes the inverter would send, decoded as the station decodes them.
    void Append(const InverterReading& reading, std::int64_t time) {
        const std::vector<std::uint8_t> payload =
            EncodeRuntimeData(m_profile.kind, reading, m_profile.runtimeFields);
        if (m_profile.kind == InverterKind::Three) {
            DecodeThree(m_record, payload.data(), payload.size(), static_cast<std::time_t>(time));
            m_text += ThreeHistoryLine(*m_record.m_pRuntimeData);
        } else {
            DecodeSingle(m_record, payload.data(), payload.size(), static_cast<std::time_t>(time));
            m_text += SingleHistoryLine(*m_record.m_pRuntimeData);
        }
    }

    const InverterProfile& m_profile;
    const PastHistoryPlan& m_plan;
    CInverter m_record;
    std::string m_text;
    std::uint32_t m_earlier = 0; // 0.01 kWh of the days written so far
};

bool WriteNewFile(const std::string& path, const std::string& text, std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    error = written ? "" : path + ": " + std::strerror(errno);
    return ::close(fd) == 0 && written;
}
} // namespace

bool WritePastHistory(const PastHistoryPlan& plan, const std::string& histLogDirectory,
                      std::int64_t now, PastHistoryResult& result, std::string& error) {
    InverterFactory::Settings settings;
    settings.serialPrefix = plan.serialPrefix;
    const InverterFactory factory(settings);
    const std::int64_t today = LocalDayTime::FromTime(now).day;
    for (const BusLayout& bus : plan.buses) {
        int position = 0;
        for (const BusLayout::Units& units : bus.units) {
            for (int i = 0; i < units.count; ++i) {
                const SimInverter inverter =
                    factory.Make(units.kind, bus.port, ++position, units.ratedPowerW);
                InverterHistory history(inverter.Profile(), plan);
                for (std::int64_t day = today - plan.days; day < today; ++day) {
                    result.lines += history.WriteDay(day, plan.intervalSeconds);
                }
                const std::string path =
                    histLogDirectory + "/" + HistoryFileName(inverter.Profile().serialNo);
                if (!WriteNewFile(path, history.Text(), error)) {
                    return false;
                }
                ++result.files;
            }
        }
    }
    return true;
}

} // namespace sim
