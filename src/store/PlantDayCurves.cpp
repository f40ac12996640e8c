#include "PlantDayCurves.h"

#include "comm/CommShared.h"
#include "model/ErrorState.h"
#include "model/InverterGroup.h"
#include "model/StaleAfter.h"

void PlantDayCurves::OnSample(const CInverter& inverter) {
    const RuntimeData* data = inverter.m_pRuntimeData.get();
    if (data == nullptr) {
        return;
    }
    const std::time_t time = data->GetSampleTime();
    const int interval = g_nInterval.load();
    const std::time_t staleAfter = inverter.m_pGroup != nullptr
                                       ? StaleAfterSeconds(*inverter.m_pGroup, interval)
                                       : 2 * static_cast<std::time_t>(interval);
    const bool producing = inverter.m_nErrorState == ERROR_STATE_CLEAR;

    std::lock_guard lock(m_lock);
    StartDayOf(time);
    ExpireUntil(time);
    Contribution& contribution = m_inverters[&inverter];
    if (contribution.generation == 0) {
        Arrived(contribution, inverter.m_strSerialNo);
    }
    CountPower(contribution, producing ? data->GetOutputPower() : 0.0, time + staleAfter);
    CountEnergy(contribution, data->GetEToday());
    if (m_bAwaitingPast) {
        m_tFirstSample = m_tFirstSample != 0 ? m_tFirstSample : time;
        return;
    }
    m_power.AddSample({time, m_dPowerW});
    m_energy.AddSample({time, m_dEnergyKWh});
}

// Yesterday's energies end with yesterday: an inverter counts again from its
// first sample of the day.
void PlantDayCurves::StartDayOf(std::time_t time) {
    const int date = m_day.Date(time);
    if (date == m_nDate) {
        return;
    }
    m_nDate = date;
    m_tFirstSample = 0;
    for (auto& [inverter, contribution] : m_inverters) {
        contribution.energyCounted = false;
    }
    m_reached.clear();
    m_dEnergyKWh = 0.0;
}

void PlantDayCurves::Arrived(Contribution& contribution, const std::string& serialNo) {
    contribution.serialNo = serialNo;
    if (const auto reached = m_reached.find(serialNo); reached != m_reached.end()) {
        m_dEnergyKWh -= reached->second;
        m_reached.erase(reached);
    }
}

// Readings older than their inverter's staleness limit leave the power,
// oldest first.
void PlantDayCurves::ExpireUntil(std::time_t now) {
    while (!m_expiries.empty() && m_expiries.front().at < now) {
        const Expiry expiry = m_expiries.front();
        m_expiries.pop_front();
        Contribution& contribution = *expiry.contribution;
        if (expiry.generation != contribution.generation || !contribution.powerCounted) {
            continue;
        }
        contribution.powerCounted = false;
        m_dPowerW -= contribution.powerW;
        if (--m_nPowerCounted == 0) {
            m_dPowerW = 0.0; // no rounding left over from the sums
        }
    }
}

void PlantDayCurves::CountPower(Contribution& contribution, double watts, std::time_t staleAt) {
    if (contribution.powerCounted) {
        m_dPowerW -= contribution.powerW;
    } else {
        ++m_nPowerCounted;
    }
    contribution.powerW = watts;
    contribution.powerCounted = true;
    m_dPowerW += watts;
    m_expiries.push_back({staleAt, &contribution, ++contribution.generation});
}

void PlantDayCurves::CountEnergy(Contribution& contribution, double kWh) {
    if (contribution.energyCounted) {
        m_dEnergyKWh -= contribution.eTodayKWh;
    }
    contribution.eTodayKWh = kWh;
    contribution.energyCounted = true;
    m_dEnergyKWh += kWh;
}

void PlantDayCurves::AwaitPast() {
    std::lock_guard lock(m_lock);
    m_bAwaitingPast = m_power.Empty();
}

void PlantDayCurves::AddPast(CDaySeries power, CDaySeries energy,
                             const std::vector<InverterEnergy>& reached) {
    std::lock_guard lock(m_lock);
    m_bAwaitingPast = false;
    if (power.Date() != 0 && m_nDate != 0 && power.Date() != m_nDate) {
        return; // read back for a day that has ended since
    }
    m_nDate = m_nDate != 0 ? m_nDate : power.Date();
    const std::time_t liveFrom = m_power.Empty() ? m_tFirstSample : m_power.FirstTime();
    if (liveFrom != 0) {
        power.KeepBefore(liveFrom);
        energy.KeepBefore(liveFrom);
    }
    std::unordered_map<std::string, double> notHeard;
    for (const InverterEnergy& inverter : reached) {
        notHeard[inverter.serialNo] = inverter.eTodayKWh;
    }
    for (const auto& [inverter, contribution] : m_inverters) {
        notHeard.erase(contribution.serialNo);
    }
    for (const auto& [serialNo, kWh] : notHeard) {
        m_dEnergyKWh += kWh - (m_reached.count(serialNo) != 0 ? m_reached[serialNo] : 0.0);
        m_reached[serialNo] = kWh;
    }
    m_power.Prepend(std::move(power));
    m_energy.Prepend(std::move(energy));
    PastHanded();
}

void PlantDayCurves::Read(
    const std::function<void(const CDaySeries& power, const CDaySeries& energy)>& read) const {
    std::lock_guard lock(m_lock);
    read(m_power, m_energy);
}
