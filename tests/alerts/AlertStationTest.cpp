#include "BrokerRecorder.h"
#include "ChildProcess.h"
#include "HttpReceiver.h"
#include "TempDirectory.h"
#include "TestBroker.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>

namespace {
using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

const std::string BIN = HELIOWATCH_BIN_DIR;

class AlertStationTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(webhook.Start()); }

    std::string Config(const std::string& text) const {
        const std::string path = directory.Path() + "/Heliowatch.ini";
        std::ofstream(path) << text;
        return path;
    }
    std::string Alerts() const { return "[Alerts]\nWebhookUrl=" + webhook.Url("/hook") + "\n"; }

    TempDirectory directory;
    HttpReceiver webhook;
};

TEST_F(AlertStationTest, TestAlertSaysWhetherItWentAndFailsWithTheReason) {
    TestBroker broker;
    ASSERT_TRUE(broker.Start());
    BrokerRecorder recorder(broker.Port());
    const std::string config = Config(Alerts() + "[Mqtt]\nEnable=1\nHost=127.0.0.1\nPort=" +
                                      std::to_string(broker.Port()) + "\nTopicPrefix=sites/roof\n");
    for (const char* channel : {"webhook", "mqtt"}) {
        ChildProcess sent({BIN + "/heliowatch", "--test-alert", channel, "--config", config});
        EXPECT_TRUE(sent.WaitForLine(std::string(channel) + ": sent", 15s)) << sent.ErrorOutput();
        EXPECT_EQ(sent.Wait(5s), 0);
    }
    EXPECT_EQ(webhook.Requests().size(), 1U);
    EXPECT_TRUE(recorder.WaitFor("sites/roof/alert", 5s));

    webhook.Stop();
    ChildProcess failed({BIN + "/heliowatch", "--test-alert", "webhook", "--config", config});
    EXPECT_TRUE(failed.WaitForLine("webhook: Failed to connect to 127.0.0.1", 15s));
    EXPECT_EQ(failed.Wait(5s), 1);
}

// The station polls a simulated inverter whose fault comes for 4 s in every
// 10; each opening is timed from the moment the inverter reports it to the
// webhook's arrival. The broker's alert topic carries the same alerts.
TEST_F(AlertStationTest, AFaultReachesTheWebhookWithinSecondsOfItsStart) {
    const std::string ports = directory.Path() + "/ports";
    ChildProcess sim({BIN + "/heliowatch-sim", "--port-dir", ports, "--bus", "COM3:single*2",
                      "--exec", "set COM3:1 episode 10 4 2 0x400"});
    ASSERT_TRUE(sim.WaitForLine("ready", 10s)) << sim.ErrorOutput();
    const SteadyClock::time_point start = SteadyClock::now();
    TestBroker broker;
    ASSERT_TRUE(broker.Start());
    BrokerRecorder recorder(broker.Port());
    const std::string config =
        Config("[Com3]\nEnable=1\n[Interval]\nInterval=2\n[Mqtt]\nEnable=1\nHost=127.0.0.1\nPort=" +
               std::to_string(broker.Port()) + "\nTopicPrefix=sites/roof\n" + Alerts() +
               "RepeatMinutes=0\n");
    ChildProcess station({BIN + "/heliowatch", "--headless", "--config", config, "--port-dir",
                          ports, "--data-dir", directory.Path() + "/data"});
    ASSERT_TRUE(webhook.WaitFor(6, 90s)) << station.ErrorOutput();
    EXPECT_TRUE(recorder.WaitFor(
        [](const ReceivedMessage& message) {
            return message.topic == "sites/roof/alert" &&
                   message.payload.find("\"rule\":\"fault\"") != std::string::npos;
        },
        5s));
    station.Signal(SIGTERM);
    EXPECT_EQ(station.Wait(15s), 0);

    constexpr double PERIOD = 10.0;
    std::vector<double> latencies;
    for (const auto& request : webhook.Requests()) {
        const QJsonObject alert =
            QJsonDocument::fromJson(QByteArray::fromStdString(request.body)).object();
        const double since = std::chrono::duration<double>(request.received - start).count();
        if (alert["state"].toString() == "open" && since > PERIOD) {
            latencies.push_back(since - PERIOD * std::floor(since / PERIOD));
        }
    }
    ASSERT_FALSE(latencies.empty());
    const double worst = *std::max_element(latencies.begin(), latencies.end());
    std::cout << "fault to webhook: worst " << worst << " s of " << latencies.size()
              << " openings, polling every 2 s\n";
    EXPECT_LT(worst, 5.0);
}

} // namespace
