#include "HistoryLine.h"

#include "HistoryNumberText.h"
#include "model/RuntimeData.h"
#include "platform/TimeText.h"

#include <cstdint>

const std::string_view SINGLE_HISTORY_HEADER =
    "  Time,Temp(C),Vpv(V),Vac(V),Iac(A),Fac(Hz),Pac(W),Zac(mOhm),E-Today(kWh),E-Total(kWh),"
    "h-Total(h),Radiation(w/m*2),WindSpeed(m/s),EnvironmentTemp(C),ModuleTemp(C)\r\n";

const std::string_view THREE_HISTORY_HEADER =
    "  Time,Temp(C),Vac(V),Iac(A),Fac(Hz),Pac(W),Zac(mOhm),E-Total(kWh),E-Today(kWh),h-Total(h),"
    "Vpv(V),Vpv1(V),Vpv2(V),Vpv3(V),Ipv1(A),Ipv2(A),Ipv3(A),Ppv1(W),Ppv2(W),Ppv3(W),Vac1(V),"
    "Vac2(A),Vac3(A),Iac1(A),Iac2(A),Iac3(A),Radiation(w/m*2),WindSpeed(m/s),EnvironmentTemp(C),"
    "ModuleTemp(C)\r\n";

namespace {
// Radiation, wind speed, environment and module temperature: never measured.
constexpr std::string_view ENVIRONMENT_COLUMNS = "0,0,0,0\r\n";
constexpr std::int64_t IMPEDANCE_NOT_AVAILABLE = 60000;

class LineBuilder {
public:
    explicit LineBuilder(const RuntimeData& data)
        : m_data(data), m_line(LocalTimeText(data.GetSampleTime())) {
        m_line += ',';
    }

    std::int64_t Value(int identifier) const { return m_data.GetFieldValue(identifier); }
    // 32-bit counters are unsigned however GetFieldValue hands them over.
    std::int64_t Counter(int identifier) const {
        return static_cast<std::uint32_t>(m_data.GetFieldValue(identifier));
    }

    void Add(const std::string& text) {
        m_line += text;
        m_line += ',';
    }
    void Tenths(int identifier) { Add(FixedPointText(Value(identifier), 1, 3)); }
    void Frequency(int identifier) { Add(FixedPointText(Value(identifier), 2, 3)); }
    void EnergyToday(int identifier) { Add(FixedPointText(Value(identifier), 2, 6)); }
    void EnergyTotal(int identifier) { Add(FixedPointText(Counter(identifier), 1, 8)); }
    // Both kinds send tenths of a watt; the column is in watts.
    void WholeWatts(int identifier) { Add(RightAlignedText(Value(identifier) / 10, 7)); }
    void Hours(int identifier) { Add(RightAlignedText(Counter(identifier), 6)); }
    void Impedance(int identifier) {
        const std::int64_t value = Value(identifier);
        Add(value >= IMPEDANCE_NOT_AVAILABLE ? "NA" : RightAlignedText(value, 6));
    }
    void StringPower(int voltageIdentifier, int currentIdentifier) {
        Add(std::to_string(Value(voltageIdentifier) * Value(currentIdentifier) / 100));
    }

    std::string Finish() {
        m_line += ENVIRONMENT_COLUMNS;
        return std::move(m_line);
    }

private:
    const RuntimeData& m_data;
    std::string m_line;
};
} // namespace

std::string SingleHistoryLine(const RuntimeData& data) {
    LineBuilder line(data);
    line.Tenths(0x00);
    line.Tenths(0x40);
    line.Tenths(0x42);
    line.Tenths(0x41);
    line.Frequency(0x43);
    line.WholeWatts(0x0B);
    line.Impedance(0x45);
    line.EnergyToday(0x0D);
    line.EnergyTotal(0x48);
    line.Hours(0x4A);
    return line.Finish();
}

std::string ThreeHistoryLine(const RuntimeData& data) {
    LineBuilder line(data);
    line.Tenths(0x00);
    line.Tenths(0x42);
    line.Tenths(0x41);
    line.Frequency(0x43);
    line.WholeWatts(0x0B);
    line.Impedance(0x45);
    line.EnergyTotal(0x48);
    line.EnergyToday(0x0D);
    line.Hours(0x4A);
    for (int identifier : {0x01, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06}) {
        line.Tenths(identifier);
    }
    line.StringPower(0x01, 0x04);
    line.StringPower(0x02, 0x05);
    line.StringPower(0x03, 0x06);
    for (int identifier : {0x42, 0x82, 0xC2, 0x41, 0x81, 0xC1}) {
        line.Tenths(identifier);
    }
    return line.Finish();
}
