#pragma once

#include "FakeClock.h"
#include "FakePlant.h"
#include "LocalTime.h"
#include "Recorders.h"
#include "ScriptedPort.h"
#include "comm/CommEnvironment.h"
#include "comm/CommShared.h"
#include "comm/CommThread.h"
#include "comm/WindowMessages.h"
#include "model/InverterGroup.h"
#include "platform/ExitEvent.h"

#include <functional>
#include <gtest/gtest.h>

// A port group driven by its communication thread on the test's own thread,
// in virtual time, against a scripted plant.
class CommFixture : public ::testing::Test {
protected:
    CommFixture();
    void SetUp() override;
    void TearDown() override;

    // Runs the thread until the given virtual time has passed; then is a
    // hook called at every loop wait.
    int RunFor(std::chrono::milliseconds duration, std::function<void()> then = {});
    int RunFor(int seconds, std::function<void()> then = {}) {
        return RunFor(std::chrono::seconds(seconds), std::move(then));
    }

    std::size_t CountSent(std::uint8_t control, std::uint8_t function) const {
        return wire.SentWith(control, function).size();
    }
    CInverter* Inverter(std::size_t index) const;

    FakeClock clock;
    ScriptedWire wire;
    FakePlant plant;
    RecordingTarget list;
    RecordingNotifier notifier;
    CInverterGroup group;
    CommEnvironment environment;
};
