#include "SunModel.h"

#include "InverterFactory.h"
#include "ReadingModel.h"
#include "SimTestSupport.h"

#include <gtest/gtest.h>
#include <numbers>

using namespace simtest;

namespace {

constexpr int HOUR = 3600;

TEST(SunModelTest, PowerFollowsTheDaylight) {
    for (const int second : {0, 5 * HOUR, 6 * HOUR, 18 * HOUR, 23 * HOUR + 3599}) {
        EXPECT_EQ(sim::SunModel::PowerFraction(second), 0.0) << second;
    }
    EXPECT_DOUBLE_EQ(sim::SunModel::PowerFraction(12 * HOUR), 1.0);
    EXPECT_GT(sim::SunModel::PowerFraction(6 * HOUR + 60), 0.0);
    EXPECT_DOUBLE_EQ(sim::SunModel::PowerFraction(9 * HOUR),
                     sim::SunModel::PowerFraction(15 * HOUR));
}

TEST(SunModelTest, EnergyOfTheDayIsTheIntegralOfThePower) {
    EXPECT_EQ(sim::SunModel::RatedHoursToday(0), 0.0);
    EXPECT_EQ(sim::SunModel::RatedHoursToday(6 * HOUR), 0.0);
    double integral = 0.0;
    for (int second = 0; second < 24 * HOUR; second += 60) {
        integral += sim::SunModel::PowerFraction(second + 30) * 60.0 / HOUR;
        EXPECT_NEAR(sim::SunModel::RatedHoursToday(second + 60), integral, 1e-4);
    }
    EXPECT_NEAR(integral, 24.0 / std::numbers::pi, 1e-4);
}

class ReadingOverTheDayTest : public ::testing::Test {
protected:
    sim::InverterReading At(std::int64_t time) const {
        return sim::ComputeReading(profile, counters, time);
    }

    sim::InverterProfile profile =
        sim::MakeProfile(sim::InverterKind::Single, "SIM0000000003001", 3000);
    sim::EnergyCounters counters{sim::LocalDayTime::Midnight(2024, 1, 1), 12345, 678};
    std::int64_t midnight = UtcTime(2026, 9, 20, 0, 0);
};

TEST_F(ReadingOverTheDayTest, EnergyOfTheDayRisesFromZeroAndStartsAgainAtMidnight) {
    EXPECT_EQ(At(midnight).eToday, 0);
    std::uint16_t previous = 0;
    for (std::int64_t t = midnight; t < midnight + 24 * HOUR; t += 600) {
        const std::uint16_t eToday = At(t).eToday;
        EXPECT_GE(eToday, previous) << (t - midnight) / HOUR << " h";
        previous = eToday;
    }
    EXPECT_GT(previous, 2000);
    EXPECT_EQ(At(midnight + 24 * HOUR).eToday, 0);
}

TEST_F(ReadingOverTheDayTest, LifetimeCountersGrowByTheDaysEnergy) {
    const sim::InverterReading start = At(midnight);
    const sim::InverterReading evening = At(midnight + 20 * HOUR);
    const sim::InverterReading nextMorning = At(midnight + 30 * HOUR);
    EXPECT_GT(start.eTotal, 12345U);
    EXPECT_NEAR(evening.eTotal - start.eTotal, evening.eToday / 10.0, 1.0);
    EXPECT_EQ(nextMorning.eTotal, evening.eTotal);
    EXPECT_EQ(evening.hTotal - start.hTotal, 12U);
}

TEST(LifetimeEnergyTest, ThePhasesOfAGrowingTotalNeverGoBackAndAddUpToIt) {
    sim::InverterReading reading;
    std::array<std::uint32_t, 3> before{};
    for (std::uint32_t total = 48610; total < 48622; ++total) {
        sim::SetLifetimeEnergy(reading, sim::InverterKind::Three, total);
        for (std::size_t phase = 0; phase < 3; ++phase) {
            EXPECT_GE(reading.eTotalPhase[phase], before[phase]) << total << " phase " << phase;
        }
        EXPECT_EQ(reading.eTotalPhase[0] + reading.eTotalPhase[1] + reading.eTotalPhase[2], total);
        before = reading.eTotalPhase;
    }
}

TEST_F(ReadingOverTheDayTest, NightIsWaitingAndDayIsNormal) {
    const sim::InverterReading night = At(midnight + 3 * HOUR);
    EXPECT_EQ(night.mode, 0);
    EXPECT_EQ(night.PacTotal(), 0U);
    EXPECT_EQ(night.vpv[0], 0);
    const sim::InverterReading noon = At(midnight + 12 * HOUR);
    EXPECT_EQ(noon.mode, 1);
    EXPECT_GT(noon.PacTotal(), 0U);
    EXPECT_NEAR(noon.vac[0], 2300, 30);
    EXPECT_NEAR(noon.fac[0], 5000, 3);
}

TEST_F(ReadingOverTheDayTest, TemperatureFollowsAmbientBelowZero) {
    profile.ambientTenths = -85;
    EXPECT_EQ(At(midnight + 2 * HOUR).temp, -85);
    EXPECT_EQ(At(midnight + 12 * HOUR).temp, 165);
}

} // namespace
