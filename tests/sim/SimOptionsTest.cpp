#include "SimOptions.h"

#include "PlantBuilder.h"
#include "SimTestSupport.h"

#include <gtest/gtest.h>

using namespace simtest;

namespace {

sim::SimOptions::Outcome Parse(const std::vector<std::string>& args, sim::SimOptions& options) {
    std::string error;
    return sim::SimOptions::Parse(args, options, error);
}

TEST(SimOptionsTest, FullCommandLineBuildsThePlant) {
    sim::SimOptions options;
    ASSERT_EQ(Parse({"--port-dir",
                     "/tmp/p",
                     "--bus",
                     "COM3:single*3",
                     "--bus=COM4:three/5000*2,single*1",
                     "--control",
                     "/tmp/c",
                     "--serial",
                     "COM4:3=CUSTOM-SERIAL",
                     "--serial-prefix",
                     "HW",
                     "--runtime-fields",
                     "single=00,0x44,4C",
                     "--speed",
                     "60",
                     "--start",
                     "10:30",
                     "--ambient",
                     "-5.5",
                     "--wire-time",
                     "off",
                     "--turnaround=2.5",
                     "--exec",
                     "set COM3:1 silent on"},
                    options),
              sim::SimOptions::Outcome::Run);
    EXPECT_EQ(options.startSecondOfDay, 10 * 3600 + 30 * 60);
    EXPECT_EQ(options.ambientTenths, -55);
    EXPECT_EQ(options.speed, 60.0);
    EXPECT_EQ(options.commands, std::vector<std::string>{"set COM3:1 silent on"});

    const sim::InverterFactory factory = sim::MakeFactory(options);
    sim::SimServerConfig config = sim::MakeServerConfig(options, factory);
    EXPECT_EQ(config.portDirectory, "/tmp/p");
    EXPECT_EQ(config.controlPath, "/tmp/c");
    EXPECT_FALSE(config.wireTime.paced);
    EXPECT_EQ(config.wireTime.turnaround, std::chrono::microseconds(2500));
    ASSERT_EQ(config.buses.size(), 2U);
    ASSERT_EQ(config.buses[1].Inverters().size(), 3U);
    const sim::InverterProfile& three = config.buses[1].Inverters()[0].Profile();
    EXPECT_EQ(three.kind, sim::InverterKind::Three);
    EXPECT_EQ(three.ratedPowerW, 5000);
    EXPECT_EQ(three.serialNo, "HW00000000004001");
    EXPECT_EQ(three.ambientTenths, -55);
    const sim::InverterProfile& last = config.buses[1].Inverters()[2].Profile();
    EXPECT_EQ(last.serialNo, "CUSTOM-SERIAL");
    EXPECT_EQ(last.runtimeFields, (std::vector<std::uint8_t>{0x00, 0x44, 0x4C}));
    EXPECT_EQ(config.buses[0].Inverters()[2].Profile().ratedPowerW, 3000);

    const std::int64_t now = UtcTime(2026, 5, 4, 17, 45, 12);
    EXPECT_EQ(sim::SimulatedStart(options, now), UtcTime(2026, 5, 4, 10, 30));
}

TEST(SimOptionsTest, HelpWins) {
    sim::SimOptions options;
    EXPECT_EQ(Parse({"--bus", "COM1:single", "--help", "--nonsense"}, options),
              sim::SimOptions::Outcome::Help);
}

TEST(SimOptionsTest, BadCommandLinesAreRefused) {
    const std::vector<std::vector<std::string>> bad{
        {},
        {"--port-dir", "/tmp"},
        {"--bus", "COM3:single", "--verbose"},
        {"--bus", "COM3:single", "--bus", "COM3:three"},
        {"--bus", "COM3"},
        {"--bus", "COM3:quad*2"},
        {"--bus", "COM3:single*0"},
        {"--bus", "COM3:single*100"},
        {"--bus", "COM3:single/7000"},
        {"--bus", "TTY3:single"},
        {"--bus", "COM3:single", "--serial", "COM3:2=X"},
        {"--bus", "COM3:single", "--serial", "COM3:1=SEVENTEEN-CHARS-X"},
        {"--bus", "COM3:single", "--speed", "0"},
        {"--bus", "COM3:single", "--start", "24:00"},
        {"--bus", "COM3:single", "--wire-time", "fast"},
        {"--bus", "COM3:single", "--turnaround", "-1"},
        {"--bus", "COM3:single", "--turnaround", "1001"},
        {"--bus", "COM3:single", "--runtime-fields", "single=1G"},
        {"--bus", "COM3:single", "--control"},
    };
    for (const auto& args : bad) {
        sim::SimOptions options;
        std::string error;
        EXPECT_EQ(sim::SimOptions::Parse(args, options, error), sim::SimOptions::Outcome::Invalid)
            << (args.empty() ? "(nothing)" : args.back());
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
