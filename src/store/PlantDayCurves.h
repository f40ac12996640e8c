#pragma once

#include "model/DaySeries.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class CInverter;

// The plant's output power and energy of the day, moved by every sample as
// it arrives: power sums the last reading of each inverter that is fresh and
// free of faults, energy the energy of the day of each inverter heard from
// today. Both curves have a point wherever an inverter reported, so a station
// that was down, or a plant that was silent, leaves a gap and never a zero.
class PlantDayCurves {
public:
    struct InverterEnergy {
        std::string serialNo;
        double eTodayKWh = 0.0;
    };

    // On a communication thread, once the sample's faults were tracked.
    void OnSample(const CInverter& inverter);
    // The past of the day is being read back: points wait for it, so that
    // the live curve never begins below the plant it does not know yet.
    void AwaitPast();
    // The day up to the station's start, and the energy of the day each
    // inverter had reached then; ends the wait.
    void AddPast(CDaySeries power, CDaySeries energy, const std::vector<InverterEnergy>& reached);
    // Runs read with both curves while no sample can change them.
    void
    Read(const std::function<void(const CDaySeries& power, const CDaySeries& energy)>& read) const;
    // Counts the pasts handed so far, the plant's and each inverter's: a
    // curve made before the latest of them is out of date.
    void PastHanded() { ++m_nPastsHanded; }
    std::uint64_t PastsHanded() const { return m_nPastsHanded.load(); }

private:
    struct Contribution {
        std::string serialNo;
        double powerW = 0.0;
        double eTodayKWh = 0.0;
        bool powerCounted = false;
        bool energyCounted = false;
        std::uint64_t generation = 0; // of its latest reading
    };
    struct Expiry {
        std::time_t at = 0;
        Contribution* contribution = nullptr;
        std::uint64_t generation = 0;
    };

    void StartDayOf(std::time_t time);
    void ExpireUntil(std::time_t now);
    void CountPower(Contribution& contribution, double watts, std::time_t staleAt);
    void CountEnergy(Contribution& contribution, double kWh);
    void Arrived(Contribution& contribution, const std::string& serialNo);

    mutable std::mutex m_lock;
    CDaySeries m_power;
    CDaySeries m_energy;
    std::unordered_map<const CInverter*, Contribution> m_inverters;
    // What inverters not heard from since the start had reached today, by
    // serial number; an inverter's first sample takes its place.
    std::unordered_map<std::string, double> m_reached;
    std::deque<Expiry> m_expiries; // in the order they were set
    double m_dPowerW = 0.0;
    double m_dEnergyKWh = 0.0;
    int m_nPowerCounted = 0;
    int m_nDate = 0;
    std::time_t m_tFirstSample = 0; // of the day, while the past is awaited
    bool m_bAwaitingPast = false;
    std::atomic<std::uint64_t> m_nPastsHanded{0};
    CLocalDay m_day;
};
