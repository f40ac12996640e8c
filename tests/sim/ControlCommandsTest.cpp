#include "ControlCommands.h"

#include "FakeSimPlant.h"
#include "SimTestSupport.h"

#include <gtest/gtest.h>

using namespace simtest;

namespace {

class ControlCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { plant.AddExampleBuses(factory); }

    sim::SimInverter& Inverter(std::size_t bus, std::size_t index) {
        return plant.m_buses[bus].Inverters()[index];
    }

    FakePlant plant;
    sim::InverterFactory factory;
    FixedClock clock{UtcTime(2026, 6, 15, 12, 0)};
    sim::ControlCommands commands{plant, factory, clock};
};

TEST_F(ControlCommandsTest, ListDescribesEveryInverterOnOneLine) {
    const std::string reply = commands.Execute("list");
    EXPECT_EQ(reply.rfind("ok 3 inverters; COM3:1 addr=0 serial=SIM0000000003001 kind=single", 0),
              0U)
        << reply;
    EXPECT_NE(reply.find("; COM4:1 addr=0 serial=SIM0000000004001 kind=three rated=6000 mode=1"),
              std::string::npos);
    EXPECT_NE(reply.find("params=40:1500,41:60,"), std::string::npos);
    EXPECT_EQ(reply.find('\n'), std::string::npos);
    EXPECT_EQ(commands.Execute("buses"), "ok COM3 /dev/pts/3 2; COM4 /dev/pts/4 1");
}

TEST_F(ControlCommandsTest, WireFaultsAreSwitchedByPositionOrSerial) {
    EXPECT_EQ(commands.Execute("set COM3:2 silent on"), "ok silent");
    EXPECT_TRUE(Inverter(0, 1).Faults().silent);
    EXPECT_EQ(commands.Execute("set SIM0000000004001 badsum on"), "ok badsum");
    EXPECT_EQ(commands.Execute("set COM4:1 trailing on"), "ok badsum trailing");
    EXPECT_EQ(commands.Execute("set COM4:1 misaddress on"), "ok badsum trailing misaddress");
    EXPECT_EQ(commands.Execute("set COM4:1 nak on"), "ok nak badsum trailing misaddress");
    EXPECT_EQ(commands.Execute("set COM4:1 badsum off"), "ok nak trailing misaddress");
    EXPECT_EQ(commands.Execute("clear all"), "ok");
    EXPECT_EQ(Inverter(1, 0).Faults().Describe(), "none");
    EXPECT_FALSE(Inverter(0, 1).Faults().silent);
}

TEST_F(ControlCommandsTest, FaultModesAndEpisodes) {
    EXPECT_EQ(commands.Execute("set COM3:1 fault 2 0x400 3D=350"),
              "ok fault(mode=2 bits=0x00000400 3D=350)");
    const sim::FaultCondition& condition = *Inverter(0, 0).Faults().condition;
    EXPECT_EQ(condition.values.at(0x3D), 350);
    EXPECT_EQ(commands.Execute("set COM3:2 episode 600 60 3 8192"),
              "ok episode(every=600 lasting=60 mode=3 bits=0x00002000)");
    EXPECT_EQ(Inverter(0, 1).Faults().episode->anchor, clock.Now());
    EXPECT_EQ(commands.Execute("clear COM3:1"), "ok");
    EXPECT_FALSE(Inverter(0, 0).Faults().condition);
}

TEST_F(ControlCommandsTest, ParametersSerialsAndRegistration) {
    EXPECT_EQ(commands.Execute("param COM3:1 44 1700")
                  .rfind("ok 40:1500,41:60,42:5500,43:150,44:1700", 0),
              0U);
    EXPECT_EQ(commands.Execute("param COM3:1 45 9999").substr(0, 2), "ok"); // limits ignored
    EXPECT_EQ(commands.Execute("serial COM3:1 RENAMED-1"), "ok RENAMED-1");
    EXPECT_EQ(Inverter(0, 0).Profile().serialNo, "RENAMED-1");
    EXPECT_EQ(commands.Execute("show RENAMED-1").rfind("ok COM3:1 addr=0 serial=RENAMED-1", 0), 0U);
    EXPECT_EQ(commands.Execute("unregister COM3:1"), "ok");
}

TEST_F(ControlCommandsTest, AddingAndVanishing) {
    EXPECT_EQ(commands.Execute("add COM4 single/2500")
                  .rfind("ok COM4:2 addr=0 serial=SIM0000000004002 kind=single rated=2500", 0),
              0U);
    EXPECT_EQ(commands.Execute("add COM4 three MY-OWN-SERIAL").substr(0, 40),
              "ok COM4:3 addr=0 serial=MY-OWN-SERIAL ki");
    EXPECT_EQ(commands.Execute("vanish COM4"), "ok");
    EXPECT_EQ(commands.Execute("vanish COM4"), "error gone already");
    EXPECT_EQ(commands.Execute("buses"), "ok COM3 /dev/pts/3 2; COM4 vanished 3");
    EXPECT_EQ(commands.Execute("restore COM4"), "ok /dev/pts/4");
}

TEST_F(ControlCommandsTest, CountersDipAndResetOnRequestAndBroadcastsAreCounted) {
    const std::uint32_t total = Inverter(1, 0).Reading(clock.Now()).eTotal;
    EXPECT_EQ(commands.Execute("set COM4:1 etotal-shift -1"), "ok etotal-shift=-1");
    EXPECT_EQ(Inverter(1, 0).Reading(clock.Now()).eTotal, total - 1);
    EXPECT_EQ(commands.Execute("set COM4:1 etotal-shift -2147483647").substr(0, 2), "ok");
    EXPECT_EQ(Inverter(1, 0).Reading(clock.Now()).eTotalPhase[0], 0U);
    EXPECT_EQ(commands.Execute("clear COM4:1"), "ok");
    EXPECT_EQ(Inverter(1, 0).Reading(clock.Now()).eTotal, total);
    EXPECT_EQ(commands.Execute("reset COM4:1"), "ok");
    EXPECT_EQ(Inverter(1, 0).Reading(clock.Now()).eTotal, 0U);

    EXPECT_EQ(commands.Execute("heard COM3"), "ok reconnect-all=0");
    plant.m_buses[0].Handle(simtest::Request(0, 0x30, 0x43), clock.Now());
    plant.m_buses[0].Handle(simtest::Request(0, 0x30, 0x44), clock.Now());
    EXPECT_EQ(commands.Execute("heard COM3"), "ok reconnect-all=1");
}

TEST_F(ControlCommandsTest, MistakesAreErrors) {
    for (const std::string line : {"",
                                   "fly",
                                   "show COM3:3",
                                   "show COM9:1",
                                   "show COM3:0",
                                   "set COM3:1 silent maybe",
                                   "set COM3:1 fault 1 0x400",
                                   "set COM3:1 fault 2 0x400 3D",
                                   "set COM3:1 fault 2 zz",
                                   "set COM3:1 episode 60 61 2 1",
                                   "param COM3:1 4C 1",
                                   "param COM3:1 40 70000",
                                   "serial COM3:1 SEVENTEEN-CHARS-X",
                                   "add COM9 single",
                                   "add COM3 double",
                                   "add COM3 single/9000",
                                   "vanish COM7",
                                   "clear",
                                   "set COM3:1 etotal-shift 1.5",
                                   "reset COM3:9",
                                   "heard COM8"}) {
        EXPECT_EQ(commands.Execute(line).rfind("error ", 0), 0U) << "'" << line << "'";
    }
}

} // namespace
