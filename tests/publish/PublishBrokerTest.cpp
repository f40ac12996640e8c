#include "BrokerRecorder.h"
#include "DiscoveryCheck.h"
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
#include <set>
#include <thread>
#include <time.h>

namespace {

using namespace std::chrono_literals;
using sim::InverterKind;

constexpr char PREFIX[] = "site/a";
const std::string PLANT_CONFIG = "homeassistant/device/heliowatch_st1/config";

QJsonObject Json(const std::string& payload) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(payload)).object();
}

// extra: more [Mqtt] lines.
std::string StationSettings(int brokerPort, const std::vector<int>& ports,
                            const std::string& extra = "") {
    std::string text = "[Bus]\nFastReplies=1\n";
    for (const int port : ports) {
        text += "[Com" + std::to_string(port) + "]\nEnable=1\n";
    }
    return text + "[Interval]\nInterval=1\n[Mqtt]\nEnable=1\nHost=127.0.0.1\nPort=" +
           std::to_string(brokerPort) + "\nTopicPrefix=" + PREFIX + "\nStationId=st1\n" + extra;
}

std::string Topic(const std::string& serialNo, const char* leaf) {
    return std::string(PREFIX) + "/" + serialNo + "/" + leaf;
}

std::string DeviceConfigTopic(const std::string& serialNo) {
    return "homeassistant/device/heliowatch_st1_" + serialNo + "/config";
}

MqttSettings PublisherSettings(int brokerPort) {
    MqttSettings settings;
    settings.enable = true;
    settings.host = "127.0.0.1";
    settings.port = brokerPort;
    settings.topicPrefix = PREFIX;
    settings.stationId = "st1";
    return settings;
}

// The last message on a topic before index end.
QJsonObject Latest(const std::vector<ReceivedMessage>& messages, const std::string& topic,
                   std::size_t end = SIZE_MAX) {
    QJsonObject latest;
    for (std::size_t i = 0; i < std::min(end, messages.size()); ++i) {
        if (messages[i].topic == topic && !messages[i].payload.empty()) {
            latest = Json(messages[i].payload);
        }
    }
    return latest;
}

// Totals as the station reads them once every port has registered what it
// found and read it.
PlantTotals SettledTotals(std::time_t when) {
    PlantTotals totals;
    totals.when = when;
    totals.eTotalKWh = 12345.6;
    return totals;
}

// A record as a decoded poll leaves it.
struct PolledInverter {
    PolledInverter(const std::string& serialNo, int port) {
        group.m_nComPort = port;
        auto created = group.CreateInverter(1);
        created->m_strSerialNo = serialNo;
        created->m_strModel = "Skylark S3000";
        created->m_runtimeFormat = sim::DefaultRuntimeFields(InverterKind::Single);
        auto data = std::make_unique<SingleRuntimeData>();
        data->m_dwETotal = 123456;
        data->m_dwHTotal = 789;
        created->m_pRuntimeData = std::move(data);
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

TEST_F(PublishBrokerTest,
       EveryInverterAndThePlantAreOneValidDeviceEachAndAgainForANewHomeAssistant) {
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
                            {"zac_ohm", r.zac / 1000.0},
                            {"e_today_kwh", r.eToday / 100.0},
                            {"e_total_kwh", r.eTotal / 10.0},
                            {"h_total_h", r.hTotal},
                            {"pac_w", r.PacTotal() / 10.0}});
        if (port == 7) {
            EXPECT_EQ(json["kind"].toString(), "three");
            ExpectValues(json, {{"pac_l2_w", r.pac[1] / 10.0},
                                {"vac_l3_v", r.vac[2] / 10.0},
                                {"fac_l1_hz", r.fac[0] / 100.0},
                                {"e_total_l1_kwh", r.eTotalPhase[0] / 10.0}});
        } else {
            ExpectValues(json, {{"vac_v", r.vac[0] / 10.0},
                                {"iac_a", r.iac[0] / 10.0},
                                {"fac_hz", r.fac[0] / 100.0}});
        }
    }
    ASSERT_TRUE(recorder.WaitFor(std::string(PREFIX) + "/plant", 20s));

    const std::vector<ReceivedMessage> messages = recorder.Messages();
    std::map<std::string, QJsonObject> configs; // the last of each device
    std::set<QString> uniqueIds;
    for (const ReceivedMessage& message : messages) {
        EXPECT_EQ(message.payload.find("object_id"), std::string::npos) << message.topic;
        if (message.topic.rfind("homeassistant/device/", 0) == 0) {
            configs[message.topic] = Json(message.payload);
        }
        EXPECT_EQ(message.topic.rfind("homeassistant/sensor/", 0), std::string::npos);
    }
    ASSERT_EQ(configs.size(), 4U);
    for (const auto& [topic, config] : configs) {
        SCOPED_TRACE(topic);
        const bool isPlant = topic == PLANT_CONFIG;
        const std::string serialNo = config["device"]["serial_number"].toString().toStdString();
        const QJsonObject state =
            Latest(messages, isPlant ? std::string(PREFIX) + "/plant" : Topic(serialNo, "state"));
        for (const std::string& problem : DeviceConfigProblems(config, state)) {
            ADD_FAILURE() << problem;
        }
        EXPECT_EQ(config["device"]["via_device"].toString(), isPlant ? "" : "heliowatch_st1");
        const QJsonObject components = config["cmps"].toObject();
        for (auto it = components.begin(); it != components.end(); ++it) {
            EXPECT_TRUE(uniqueIds.insert(it.value().toObject()["unique_id"].toString()).second)
                << it.key().toStdString();
        }
        EXPECT_FALSE(components.contains("vpv_v") && components.contains("vpv1_v"));
        EXPECT_FALSE(components.contains("fac_hz") && components.contains("fac_l1_hz"));
    }
    const QJsonObject plantComponents = configs[PLANT_CONFIG]["cmps"].toObject();
    EXPECT_EQ(plantComponents["e_total_kwh"].toObject()["state_class"].toString(),
              "total_increasing");
    EXPECT_FALSE(plantComponents.contains("reconnect_all")) << "no buttons without Commands=1";

    // Home Assistant restarted: the station tells it again what there is.
    const std::size_t mark = recorder.Count();
    recorder.Publish("homeassistant/status", "online");
    EXPECT_TRUE(recorder.WaitFor(DeviceConfigTopic(plant.Serial(7)), 5s, mark));
    EXPECT_TRUE(recorder.WaitFor(PLANT_CONFIG, 5s, mark));

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
    for (const auto& config : configs) {
        const auto kept = late.WaitFor(config.first, 5s);
        EXPECT_TRUE(kept && kept->retained) << config.first;
    }
    for (const int port : {5, 6, 7}) {
        EXPECT_TRUE(retainedOnline(Topic(plant.Serial(port), "availability"))) << port;
    }
}

TEST_F(PublishBrokerTest, OldSingleSensorConfigsOfThisStationAreRemovedOnUpgrade) {
    BrokerRecorder recorder(broker.Port());
    const std::string own = "homeassistant/sensor/heliowatch_OLD1/pac_w/config";
    const std::string others = "homeassistant/sensor/heliowatch_OLD2/pac_w/config";
    recorder.Publish(own, R"({"state_topic":"site/a/OLD1/state"})", true);
    recorder.Publish(others, R"({"state_topic":"site/b/OLD2/state"})", true);
    ASSERT_TRUE(recorder.WaitFor(others, 5s));

    Publisher publisher;
    publisher.Configure(PublisherSettings(broker.Port()));
    EXPECT_TRUE(recorder.WaitFor(
        [&own](const ReceivedMessage& message) {
            return message.topic == own && message.payload.empty();
        },
        5s));

    BrokerRecorder late(broker.Port());
    ASSERT_TRUE(late.WaitFor(others, 5s));
    EXPECT_FALSE(late.WaitFor(own, 1s)) << "nothing is kept for the old sensor";
}

TEST_F(PublishBrokerTest, PlantIsSilentUntilEveryInverterIsFoundAndReadThenSumsTheirLastValues) {
    FrozenPlant plant({{5, InverterKind::Single, 2}, {6, InverterKind::Single, 2}});
    ASSERT_TRUE(plant.Start());
    BrokerRecorder recorder(broker.Port());
    PublishingStation station(plant.PortDirectory(), StationSettings(broker.Port(), {5, 6}));
    const std::string plantTopic = std::string(PREFIX) + "/plant";
    ASSERT_TRUE(recorder.WaitFor(plantTopic, 30s));

    const std::vector<ReceivedMessage> messages = recorder.Messages();
    const std::size_t first = static_cast<std::size_t>(
        std::find_if(messages.begin(), messages.end(),
                     [&](const ReceivedMessage& message) { return message.topic == plantTopic; }) -
        messages.begin());
    double power = 0;
    double eToday = 0;
    double eTotal = 0;
    for (const int port : {5, 6}) {
        for (const int position : {1, 2}) {
            const QJsonObject state =
                Latest(messages, Topic(plant.Serial(port, position), "state"), first);
            ASSERT_FALSE(state.isEmpty()) << "every inverter reported before the plant";
            power += state["pac_w"].toDouble();
            eToday += state["e_today_kwh"].toDouble();
            eTotal += state["e_total_kwh"].toDouble();
        }
    }
    const QJsonObject plantState = Json(messages[first].payload);
    EXPECT_NEAR(plantState["power_w"].toDouble(), power, 0.05);
    EXPECT_NEAR(plantState["e_today_kwh"].toDouble(), eToday, 0.005);
    EXPECT_NEAR(plantState["e_total_kwh"].toDouble(), eTotal, 0.05);
    EXPECT_EQ(plantState["inverters_registered"].toInt(), 4);

    // A vanished port: its inverters' power no longer counts, their energy
    // still does.
    ASSERT_EQ(plant.Execute("vanish COM6"), "ok");
    const double remaining =
        plant.Reading(5, 1).PacTotal() / 10.0 + plant.Reading(5, 2).PacTotal() / 10.0;
    const auto lowered = recorder.WaitFor(
        [&](const ReceivedMessage& message) {
            return message.topic == plantTopic &&
                   std::abs(Json(message.payload)["power_w"].toDouble() - remaining) < 0.05;
        },
        15s, first);
    ASSERT_TRUE(lowered);
    EXPECT_NEAR(Json(lowered->payload)["e_total_kwh"].toDouble(), eTotal, 0.05);
    EXPECT_NEAR(Json(lowered->payload)["e_today_kwh"].toDouble(), eToday, 0.005);
}

TEST_F(PublishBrokerTest, CountersFromTheSimulatorNeverGoBackExceptAtALoggedReset) {
    FrozenPlant plant({{5, InverterKind::Three}});
    ASSERT_TRUE(plant.Start());
    BrokerRecorder recorder(broker.Port());
    const std::string stateTopic = Topic(plant.Serial(5), "state");
    const auto statesAfter = [&](std::size_t count) {
        const std::size_t mark = recorder.Count();
        for (std::size_t i = 0; i < count; ++i) {
            if (!recorder.WaitFor(stateTopic, 5s, recorder.Count())) {
                return false;
            }
        }
        return recorder.Count() > mark;
    };
    ::testing::internal::CaptureStderr();
    std::string log;
    {
        PublishingStation station(plant.PortDirectory(), StationSettings(broker.Port(), {5}));
        EXPECT_TRUE(recorder.WaitFor(stateTopic, 20s));
        EXPECT_TRUE(statesAfter(2));
        EXPECT_EQ(plant.Execute("set COM5:1 etotal-shift -1"), "ok etotal-shift=-1");
        EXPECT_TRUE(statesAfter(4));
        EXPECT_EQ(plant.Execute("clear COM5:1"), "ok");
        EXPECT_EQ(plant.Execute("reset COM5:1"), "ok");
        EXPECT_TRUE(recorder.WaitFor(
            [&](const ReceivedMessage& message) {
                return message.topic == stateTopic &&
                       Json(message.payload)["e_total_kwh"].toDouble(-1) == 0.0;
            },
            15s));
    }
    log = ::testing::internal::GetCapturedStderr();

    for (const char* key :
         {"e_total_kwh", "e_total_l1_kwh", "e_total_l2_kwh", "e_total_l3_kwh", "h_total_h"}) {
        SCOPED_TRACE(key);
        double last = -1;
        int resets = 0;
        for (const ReceivedMessage& message : recorder.Messages()) {
            if (message.topic != stateTopic) {
                continue;
            }
            const double value = Json(message.payload)[key].toDouble(-1);
            resets += value < last ? 1 : 0;
            EXPECT_TRUE(value >= last || value == 0.0) << last << " then " << value;
            last = value;
        }
        EXPECT_EQ(resets, 1);
        EXPECT_NE(log.find(plant.Serial(5) + ": " + key + " went from "), std::string::npos) << log;
    }
}

TEST_F(PublishBrokerTest, CommandsAreRefusedWithALogLineUnlessAllowedAndThenReachEveryPort) {
    FrozenPlant plant({{5, InverterKind::Single}, {6, InverterKind::Single}});
    ASSERT_TRUE(plant.Start());
    BrokerRecorder recorder(broker.Port());
    const std::string press = std::string(PREFIX) + "/station/command/reconnect_all";
    {
        PublishingStation refusing(plant.PortDirectory(), StationSettings(broker.Port(), {5, 6}));
        ASSERT_TRUE(refusing.WaitForLine(" broker-connected", 10s));
        ASSERT_TRUE(recorder.WaitFor(Topic(plant.Serial(6), "state"), 20s));
        ::testing::internal::CaptureStderr();
        recorder.Publish(press, "PRESS");
        std::this_thread::sleep_for(2s);
        const std::string log = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(
            log.find("MQTT command on " + press + " refused: commands are off ([Mqtt] Commands=0)"),
            std::string::npos)
            << log;
        EXPECT_EQ(plant.Execute("heard COM5"), "ok reconnect-all=0");
    }

    const std::size_t mark = recorder.Count();
    PublishingStation allowing(plant.PortDirectory(),
                               StationSettings(broker.Port(), {5, 6}, "Commands=1\n"));
    const auto button = recorder.WaitFor(
        [](const ReceivedMessage& message) {
            return message.topic == PLANT_CONFIG &&
                   Json(message.payload)["cmps"].toObject().contains("reconnect_all");
        },
        10s, mark);
    ASSERT_TRUE(button);
    const QJsonObject reconnect =
        Json(button->payload)["cmps"].toObject()["reconnect_all"].toObject();
    EXPECT_EQ(reconnect["command_topic"].toString().toStdString(), press);
    ASSERT_TRUE(recorder.WaitFor(Topic(plant.Serial(6), "state"), 20s, mark));
    recorder.Publish(press, "PRESS");
    for (const char* port : {"COM5", "COM6"}) {
        EXPECT_TRUE(WaitUntil(
            [&] { return plant.Execute(std::string("heard ") + port) == "ok reconnect-all=1"; },
            5s))
            << port;
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
    EXPECT_TRUE(late.WaitFor(DeviceConfigTopic("NEW1"), 5s));
    for (const ReceivedMessage& message : late.Messages()) {
        EXPECT_EQ(message.topic.find("OLD1"), std::string::npos) << message.topic;
    }
}

// What a station killed or stopped left retained must not outlive it for an
// inverter that does not come back, nor flap one that does.
TEST_F(PublishBrokerTest, InverterOnlineInAnEarlierRunStaysSoUntilItsOfflineRuleWouldHaveFired) {
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
    const auto told = [&recorder](const std::string& serialNo, const char* payload,
                                  std::chrono::milliseconds wait) {
        return recorder.WaitFor(
            [&](const ReceivedMessage& message) {
                return message.topic == Topic(serialNo, "availability") &&
                       message.payload == payload && !message.retained;
            },
            wait);
    };
    const std::time_t start = std::time(nullptr);
    publisher.OnPlantTotals(SettledTotals(start));
    ASSERT_TRUE(recorder.WaitFor(std::string(PREFIX) + "/plant", 5s));
    EXPECT_FALSE(told("GONE1", "offline", 1s)) << "not before the offline rule would fire";
    publisher.OnPlantTotals(SettledTotals(start + 42));
    EXPECT_TRUE(told("GONE1", "offline", 5s));
    EXPECT_FALSE(told("BACK1", "offline", 0s));

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
    EXPECT_TRUE(recorder.WaitFor(DeviceConfigTopic(serialNo), 5s, mark));
    EXPECT_TRUE(recorder.WaitFor(Topic(serialNo, "state"), 5s, mark));
}

TEST_F(PublishBrokerTest, BadSettingsAreToldInOneSentenceByTheTestAndTheStation) {
    TestBroker secured("station", "secret");
    ASSERT_TRUE(secured.Start());
    TestBroker tlsBroker(TestBroker::Tls{"broker.example"});
    ASSERT_TRUE(tlsBroker.Start());
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
    const std::string plain = "127.0.0.1:" + std::to_string(secured.Port());
    const std::string tls = "127.0.0.1:" + std::to_string(tlsBroker.Port());
    const auto toTls = [&tlsBroker](MqttSettings& s, const std::string& caFile) {
        s.port = tlsBroker.Port();
        s.tls = true;
        s.caFile = caFile;
    };

    const struct {
        const char* name;
        std::function<void(MqttSettings&)> spoil;
        std::string reason;
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
         "TLS cannot start: no certificate authority could be loaded from " + garbage},
        {"TLS to a plain broker", [](MqttSettings& s) { s.tls = true; },
         "TLS handshake failed: the broker does not speak TLS on " + plain},
        {"host name mismatch", [&](MqttSettings& s) { toTls(s, tlsBroker.CaFile()); },
         "TLS handshake failed: the certificate of " + tls + " is not made out to 127.0.0.1"},
        {"unknown authority", [&](MqttSettings& s) { toTls(s, ""); },
         "TLS handshake failed: the certificate of " + tls +
             " is not trusted by the system's certificate authorities"},
        {"plain to a TLS broker", [&tlsBroker](MqttSettings& s) { s.port = tlsBroker.Port(); },
         "cannot connect to " + tls +
             ": the broker closed the connection without answering (a TLS port needs Tls=1)"},
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
        EXPECT_EQ(publisher.Status().reason, reason) << "one wording for one failure";
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
