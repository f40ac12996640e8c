#include "BrokerRecorder.h"
#include "FakeClock.h"
#include "FakePlant.h"
#include "FrozenPlant.h"
#include "InverterProfile.h"
#include "LocalTime.h"
#include "PublishingStation.h"
#include "Recorders.h"
#include "TestBroker.h"
#include "WaitUntil.h"
#include "comm/CommShared.h"
#include "comm/CommThread.h"
#include "model/InverterGroup.h"
#include "model/SingleRuntimeData.h"
#include "platform/ExitEvent.h"
#include "publish/ConnectionTest.h"
#include "store/StationWatch.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>
#include <time.h>

namespace {

using namespace std::chrono_literals;
using sim::InverterKind;

constexpr char PREFIX[] = "site/a";

QJsonObject Json(const std::string& payload) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(payload)).object();
}

std::string StationSettings(int brokerPort, const std::vector<int>& ports) {
    std::string text;
    for (const int port : ports) {
        text += "[Com" + std::to_string(port) + "]\nEnable=1\n";
    }
    return text + "[Interval]\nInterval=1\n[Mqtt]\nEnable=1\nHost=127.0.0.1\nPort=" +
           std::to_string(brokerPort) + "\nTopicPrefix=" + PREFIX + "\n";
}

std::string Topic(const std::string& serialNo, const char* leaf) {
    return std::string(PREFIX) + "/" + serialNo + "/" + leaf;
}

MqttSettings PublisherSettings(int brokerPort) {
    MqttSettings settings;
    settings.enable = true;
    settings.host = "127.0.0.1";
    settings.port = brokerPort;
    settings.topicPrefix = PREFIX;
    return settings;
}

// A record as a decoded poll leaves it.
struct PolledInverter {
    PolledInverter(const std::string& serialNo, int port) {
        group.m_nComPort = port;
        auto created = group.CreateInverter(1);
        created->m_strSerialNo = serialNo;
        created->m_strModel = "Skylark S3000";
        created->m_runtimeFormat = sim::DefaultRuntimeFields(InverterKind::Single);
        created->m_pRuntimeData = std::make_unique<SingleRuntimeData>();
        record = group.AppendInverter(std::move(created));
    }

    CInverterGroup group;
    CInverter* record = nullptr;
};

class PublishBrokerTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Without TZ glibc reads the zone again at every mktime, freeing and
        // copying its name under a lock the thread sanitizer cannot see; the
        // same zone named once is read once.
        setenv("TZ", ":/etc/localtime", 0);
        tzset();
        ASSERT_TRUE(broker.Start());
    }

    TestBroker broker;
};

void ExpectValues(const QJsonObject& state, const std::map<std::string, double>& expected) {
    for (const auto& [key, value] : expected) {
        EXPECT_EQ(state[QString::fromStdString(key)].toDouble(-1), value) << key;
    }
}

void ExpectHomeAssistantConfig(const std::string& payload, const std::string& serialNo) {
    QJsonParseError error{};
    const QJsonObject config =
        QJsonDocument::fromJson(QByteArray::fromStdString(payload), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << payload;
    for (const char* key : {"name", "unique_id", "state_topic", "value_template", "device"}) {
        EXPECT_TRUE(config.contains(key)) << key << " in " << payload;
    }
    EXPECT_EQ(config["state_topic"].toString().toStdString(), Topic(serialNo, "state"));
    EXPECT_EQ(config["device"]["identifiers"][0].toString().toStdString(), serialNo);
    EXPECT_FALSE(config["device"]["model"].toString().isEmpty());
    EXPECT_EQ(config["availability_mode"].toString(), "all");
    const QJsonArray availability = config["availability"].toArray();
    ASSERT_EQ(availability.size(), 2);
    EXPECT_EQ(availability[0]["topic"].toString().toStdString(), std::string(PREFIX) + "/status");
    EXPECT_EQ(availability[1]["topic"].toString().toStdString(), Topic(serialNo, "availability"));
}

TEST_F(PublishBrokerTest,
       EveryInverterAppearsWithTheValuesTheSimulatorSentAndAgainForANewHomeAssistant) {
    FrozenPlant plant(
        {{5, InverterKind::Single}, {6, InverterKind::Single}, {7, InverterKind::Three}});
    ASSERT_TRUE(plant.Start());
    BrokerRecorder recorder(broker.Port());
    PublishingStation station(plant.PortDirectory(), StationSettings(broker.Port(), {5, 6, 7}));

    for (const int port : {5, 6, 7}) {
        SCOPED_TRACE(port);
        const auto state = recorder.WaitFor(Topic(plant.Serial(port), "state"), 20s);
        ASSERT_TRUE(state);
        const QJsonObject json = Json(state->payload);
        const sim::InverterReading r = plant.Reading(port);
        EXPECT_EQ(json["serial"].toString().toStdString(), plant.Serial(port));
        EXPECT_EQ(json["port"].toInt(), port);
        EXPECT_EQ(json["work_mode"].toInt(), r.mode);
        ExpectValues(json, {{"temperature_c", r.temp / 10.0},
                            {"vpv1_v", r.vpv[0] / 10.0},
                            {"fac_hz", r.fac[0] / 100.0},
                            {"zac_ohm", r.zac / 1000.0},
                            {"e_today_kwh", r.eToday / 100.0},
                            {"e_total_kwh", r.eTotal / 10.0},
                            {"h_total_h", r.hTotal},
                            {"pac_w", r.PacTotal() / 10.0}});
        if (port == 7) {
            EXPECT_EQ(json["kind"].toString(), "three");
            ExpectValues(json, {{"pac_l2_w", r.pac[1] / 10.0},
                                {"vac_l3_v", r.vac[2] / 10.0},
                                {"e_total_l1_kwh", r.eTotalPhase[0] / 10.0}});
        } else {
            ExpectValues(json, {{"vac_v", r.vac[0] / 10.0}, {"iac_a", r.iac[0] / 10.0}});
        }
    }

    int configs = 0;
    for (const ReceivedMessage& message : recorder.Messages()) {
        if (message.topic.rfind("homeassistant/sensor/heliowatch_", 0) == 0) {
            ++configs;
            const std::string serialNo = message.topic.substr(32, 16);
            ExpectHomeAssistantConfig(message.payload, serialNo);
        }
        if (message.topic.find("/e_total_kwh/config") != std::string::npos) {
            EXPECT_EQ(Json(message.payload)["state_class"].toString(), "total_increasing");
            EXPECT_EQ(Json(message.payload)["device_class"].toString(), "energy");
            EXPECT_EQ(Json(message.payload)["unit_of_measurement"].toString(), "kWh");
        }
    }
    EXPECT_GE(configs, 3 * 10);

    // Home Assistant restarted: the station tells it again what there is.
    const std::size_t mark = recorder.Count();
    recorder.Publish("homeassistant/status", "online");
    EXPECT_TRUE(recorder.WaitFor(
        "homeassistant/sensor/heliowatch_" + plant.Serial(7) + "/pac_l1_w/config", 5s, mark));

    // What a subscriber that comes later is told at once.
    BrokerRecorder late(broker.Port());
    const auto retainedOnline = [&late](const std::string& topic) {
        return late.WaitFor(
            [&topic](const ReceivedMessage& message) {
                return message.topic == topic && message.retained && message.payload == "online";
            },
            5s);
    };
    EXPECT_TRUE(retainedOnline(std::string(PREFIX) + "/status"));
    for (const int port : {5, 6, 7}) {
        EXPECT_TRUE(retainedOnline(Topic(plant.Serial(port), "availability"))) << port;
    }
}

// The offline rule runs in virtual time against a scripted inverter; the
// messages go to the real broker.
TEST_F(PublishBrokerTest, SilentInverterIsUnavailableOnceTheOfflineRuleFiresAndBackWhenItAnswers) {
    Publisher publisher;
    publisher.Configure(PublisherSettings(broker.Port()));

    CInverterGroup group;
    group.m_nComPort = 3;
    FakeClock clock(LocalTime(2026, 6, 15, 10, 0, 0));
    ScriptedWire wire;
    FakePlant plant;
    wire.responder = [&plant](const BusMessage& request) { return plant.Answer(request); };
    RecordingNotifier notifier;
    CommEnvironment environment{&clock,
                                [&](const SerialSettings&) -> std::unique_ptr<SerialPort> {
                                    return std::make_unique<ScriptedPort>(wire, clock);
                                },
                                &notifier, &publisher};
    MessageQueue list;
    g_hExitEvent.Reset();
    g_hListWnd = &list;
    g_viewsCreated = 1;
    g_nInterval = 1;
    StationWatch watch([&group] { return std::vector<CInverterGroup*>{&group}; },
                       [](std::time_t when) { return PlantTotals{when}; });
    watch.AddObserver(&publisher);
    const auto runFor = [&](std::chrono::seconds duration) {
        const std::int64_t end = clock.ElapsedMs() + duration.count() * 1000;
        clock.onWait = [end](FakeClock& now) {
            if (now.ElapsedMs() >= end) {
                g_hExitEvent.Set();
            }
        };
        CommThreadProc(&group, environment);
        g_hExitEvent.Reset();
        for (const QueuedMessage& message : list.Take(0ms)) {
            watch.Handle(message.message, message.wParam);
        }
    };
    BrokerRecorder recorder(broker.Port());
    const std::string availability = Topic("QUIET", "availability");
    const auto told = [&](const char* payload, std::size_t from,
                          std::chrono::milliseconds wait = 5s) {
        return recorder.WaitFor(
            [&](const ReceivedMessage& message) {
                return message.topic == availability && message.payload == payload;
            },
            wait, from);
    };

    FakeInverter& quiet = plant.Add("QUIET");
    runFor(8s);
    EXPECT_TRUE(told("online", 0));
    std::size_t mark = recorder.Count();
    quiet.silent = true;
    runFor(15s);
    EXPECT_FALSE(told("offline", mark, 1s)) << "twenty failed polls are not yet offline";
    runFor(20s);
    EXPECT_TRUE(told("offline", mark));
    mark = recorder.Count();
    quiet.silent = false;
    runFor(3s);
    EXPECT_TRUE(told("online", mark));

    g_hListWnd = nullptr;
    g_viewsCreated = 0;
    g_nInterval = 2;
}

TEST_F(PublishBrokerTest, ChangedSerialNumberTakesTheOldDeviceOffTheBroker) {
    BrokerRecorder recorder(broker.Port());
    Publisher publisher;
    publisher.Configure(PublisherSettings(broker.Port()));
    PolledInverter polled("OLD1", 4);
    publisher.OnSampleDecoded(*polled.record);
    ASSERT_TRUE(recorder.WaitFor(Topic("OLD1", "state"), 5s));
    polled.record->m_strSerialNo = "NEW1";
    publisher.OnSampleDecoded(*polled.record);
    ASSERT_TRUE(recorder.WaitFor(Topic("NEW1", "state"), 5s));

    BrokerRecorder late(broker.Port());
    EXPECT_TRUE(late.WaitFor(Topic("NEW1", "availability"), 5s));
    EXPECT_TRUE(late.WaitFor("homeassistant/sensor/heliowatch_NEW1/pac_w/config", 5s));
    for (const ReceivedMessage& message : late.Messages()) {
        EXPECT_EQ(message.topic.find("OLD1"), std::string::npos) << message.topic;
    }
}

// What a station killed or stopped left retained must not outlive it for an
// inverter that does not come back.
TEST_F(PublishBrokerTest, InverterOnlineInAnEarlierRunIsOfflineUntilItAnswersAgain) {
    PolledInverter gone("GONE1", 4);
    PolledInverter back("BACK1", 5);
    {
        Publisher earlier;
        earlier.Configure(PublisherSettings(broker.Port()));
        earlier.OnSampleDecoded(*gone.record);
        earlier.OnSampleDecoded(*back.record);
        ASSERT_TRUE(WaitUntil([&] { return earlier.Status().queued == 0; }, 5s));
        BrokerRecorder recorder(broker.Port());
        ASSERT_TRUE(recorder.WaitFor(Topic("BACK1", "availability"), 5s));
    }

    BrokerRecorder recorder(broker.Port());
    Publisher publisher;
    publisher.Configure(PublisherSettings(broker.Port()));
    publisher.OnSampleDecoded(*back.record);
    const auto told = [&recorder](const std::string& serialNo, const char* payload) {
        return recorder.WaitFor(
            [&](const ReceivedMessage& message) {
                return message.topic == Topic(serialNo, "availability") &&
                       message.payload == payload;
            },
            5s);
    };
    EXPECT_TRUE(told("GONE1", "offline"));
    ASSERT_TRUE(recorder.WaitFor(Topic("BACK1", "state"), 5s));

    BrokerRecorder late(broker.Port());
    const auto retained = [&late](const std::string& serialNo) {
        const auto message = late.WaitFor(Topic(serialNo, "availability"), 5s);
        return message ? message->payload : std::string("none");
    };
    EXPECT_EQ(retained("GONE1"), "offline");
    EXPECT_EQ(retained("BACK1"), "online");
}

TEST_F(PublishBrokerTest, StoppedBrokerNeitherSlowsPollingNorLosesTheStationsPlace) {
    FrozenPlant plant({{5, InverterKind::Single}});
    ASSERT_TRUE(plant.Start());
    const std::string serialNo = plant.Serial(5);
    BrokerRecorder recorder(broker.Port());
    PublishingStation station(plant.PortDirectory(), StationSettings(broker.Port(), {5}), 2);
    ASSERT_TRUE(recorder.WaitFor(Topic(serialNo, "state"), 20s));

    broker.Pause();
    const int before = station.HistoryLines(serialNo);
    std::this_thread::sleep_for(3s);
    EXPECT_GE(station.HistoryLines(serialNo) - before, 2);
    broker.Kill();
    EXPECT_TRUE(station.WaitForLine(" broker-lost connection lost", 5s)) << station.Output();
    std::this_thread::sleep_for(2s); // more than the queue holds
    EXPECT_GE(station.HistoryLines(serialNo) - before, 4);

    const std::size_t mark = recorder.Count();
    ASSERT_TRUE(broker.Start());
    EXPECT_TRUE(station.WaitForLine(" broker-connected dropped=", 10s)) << station.Output();
    EXPECT_TRUE(recorder.WaitFor("homeassistant/sensor/heliowatch_" + serialNo + "/pac_w/config",
                                 5s, mark));
    EXPECT_TRUE(recorder.WaitFor(Topic(serialNo, "state"), 5s, mark));
}

TEST_F(PublishBrokerTest, BadSettingsAreToldInWordsByTheTestAndTheStation) {
    TestBroker secured("station", "secret");
    ASSERT_TRUE(secured.Start());
    TempDirectory files;
    const std::string garbage = files.Path() + "/ca.pem";
    std::ofstream(garbage) << "not a certificate\n";
    MqttSettings good;
    good.enable = true;
    good.host = "127.0.0.1";
    good.port = secured.Port();
    good.user = "station";
    good.password = "secret";
    good.topicPrefix = PREFIX;

    const struct {
        const char* name;
        std::function<void(MqttSettings&)> spoil;
        const char* reason;
    } cases[] = {
        {"unknown host", [](MqttSettings& s) { s.host = "no-such-host.invalid"; },
         "unknown host no-such-host.invalid ("},
        {"refused", [](MqttSettings& s) { s.port = FreeLoopbackPort(); }, ": Connection refused"},
        {"wrong password", [](MqttSettings& s) { s.password = "guess"; },
         "the broker refused the connection: not authorised"},
        {"missing password file", [](MqttSettings& s) { s.passwordFile = "/nonexistent/password"; },
         "cannot read password file /nonexistent/password: No such file or directory"},
        {"bad CA file",
         [&garbage](MqttSettings& s) {
             s.tls = true;
             s.caFile = garbage;
         },
         "Unable to load CA certificates"},
    };
    EXPECT_EQ(TestBrokerConnection(good), "");
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        MqttSettings settings = good;
        entry.spoil(settings);
        const std::string reason = TestBrokerConnection(settings);
        EXPECT_NE(reason.find(entry.reason), std::string::npos) << reason;

        Publisher publisher;
        publisher.Configure(settings);
        ASSERT_TRUE(
            WaitUntil([&] { return publisher.Status().state == BrokerStatus::State::Lost; }, 5s));
        EXPECT_EQ(publisher.Status().reason, reason);
        const auto changes = publisher.TakeChanges();
        ASSERT_EQ(changes.size(), 1U);
        EXPECT_FALSE(changes[0].connected);
    }
}

TEST_F(PublishBrokerTest, UnreachableBrokerLeavesPollingAlone) {
    FrozenPlant plant({{5, InverterKind::Single}});
    ASSERT_TRUE(plant.Start());
    const int nobody = FreeLoopbackPort();
    PublishingStation station(plant.PortDirectory(), StationSettings(nobody, {5}));
    EXPECT_TRUE(station.WaitForLine(" broker-lost cannot connect to 127.0.0.1:" +
                                        std::to_string(nobody) + ": Connection refused",
                                    5s))
        << station.Output();
    ASSERT_TRUE(station.WaitForLine(" online", 10s));
    const int before = station.HistoryLines(plant.Serial(5));
    std::this_thread::sleep_for(3s);
    EXPECT_GE(station.HistoryLines(plant.Serial(5)) - before, 2);
}

} // namespace
