#include "publish/MessageComposer.h"

#include "model/SingleRuntimeData.h"
#include "publish/PlantGate.h"
#include "store/MqttSettings.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

StateSample Sample(std::vector<std::uint8_t> fieldList) {
    auto data = std::make_unique<SingleRuntimeData>();
    data->m_tSample = 1781517600;
    data->m_nTemp = -15;  // -1.5 °C
    data->m_nPac = 12345; // 1234.5 W
    data->m_nFac = 4998;  // 49.98 Hz
    data->m_nZac = 250;   // 0.25 ohm
    data->m_nVpv = 3456;
    data->m_nVpv1 = 3456;
    data->m_dwETotal = 100000;
    data->m_nMode = 2;
    data->m_dwErrorBits = 0x0200;
    StateSample sample;
    sample.comPort = 3;
    sample.address = 7;
    sample.serialNo = "S/1";
    sample.model = "M1";
    sample.data = std::move(data);
    sample.offered = OfferedFieldsOf(fieldList);
    return sample;
}

MqttSettings Settings(bool discovery) {
    MqttSettings settings;
    settings.topicPrefix = "p";
    settings.discoveryPrefix = "ha";
    settings.discovery = discovery;
    settings.stationId = "st1";
    return settings;
}

QJsonObject Json(const std::string& payload) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(payload)).object();
}

std::vector<std::string> TopicsOf(const std::vector<MqttMessage>& messages) {
    std::vector<std::string> topics;
    for (const MqttMessage& message : messages) {
        topics.push_back(message.topic);
    }
    return topics;
}

StationEvent Event(StationEventKind kind, std::time_t when = 0) {
    return {kind, when, {3, 7, "S/1", "M1", false, false, 0x0400, {}, "GFCI : 0:450 A"}};
}

PlantTotals Totals(std::time_t when, int portsRegistering, double eTotalKWh = 500.0) {
    PlantTotals totals;
    totals.when = when;
    totals.eTotalKWh = eTotalKWh;
    totals.portsRegistering = portsRegistering;
    return totals;
}

TEST(MessageComposerTest, StateCarriesWhatTheInverterSentInSiUnitsAndNothingElse) {
    MessageComposer composer(Settings(false));
    const auto messages = composer.Compose(Sample({0x00, 0x44, 0x43, 0x45, 0x47, 0x48, 0x4C}), 0);
    ASSERT_EQ(TopicsOf(messages),
              (std::vector<std::string>{"p/S_2F1/availability", "p/S_2F1/state"}));
    const QJsonObject state = Json(messages[1].payload);
    EXPECT_EQ(state["serial"].toString(), "S/1");
    EXPECT_EQ(state["port"].toInt(), 3);
    EXPECT_EQ(state["kind"].toString(), "single");
    EXPECT_EQ(state["epoch"].toInteger(), 1781517600);
    EXPECT_TRUE(state["time"].toString().contains(
        QRegularExpression(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d$)")));
    EXPECT_EQ(state["temperature_c"].toDouble(), -1.5);
    EXPECT_EQ(state["pac_w"].toDouble(), 1234.5);
    EXPECT_EQ(state["fac_hz"].toDouble(), 49.98);
    EXPECT_EQ(state["zac_ohm"].toDouble(), 0.25);
    EXPECT_EQ(state["e_total_kwh"].toDouble(), 10000.0);
    EXPECT_EQ(state["work_mode"].toInt(), 2);
    EXPECT_EQ(state["work_mode_text"].toString(), "Fault");
    EXPECT_EQ(state["error_bits"].toInteger(), 0x0200);
    EXPECT_EQ(state["fault_text"].toString(), "Grid voltage =0");
    for (const char* unsent : {"vac_v", "e_today_kwh", "h_total_h", "fault_vac_v"}) {
        EXPECT_FALSE(state.contains(unsent)) << unsent;
    }
    EXPECT_FALSE(messages[1].retain);
    EXPECT_TRUE(messages[0].retain);
    EXPECT_EQ(messages[0].payload, "online");
}

TEST(MessageComposerTest, OnePvVoltagePerString) {
    const struct {
        std::vector<std::uint8_t> fields;
        bool vpv;
        bool vpv1;
    } cases[] = {
        {{0x40}, true, false},
        {{0x01}, false, true},
        {{0x40, 0x01}, false, true},
    };
    for (const auto& each : cases) {
        MessageComposer composer(Settings(false));
        const QJsonObject state = Json(composer.Compose(Sample(each.fields), 0).back().payload);
        EXPECT_EQ(state.contains("vpv_v"), each.vpv) << each.fields.size();
        EXPECT_EQ(state.contains("vpv1_v"), each.vpv1) << each.fields.size();
    }
}

TEST(MessageComposerTest, OneDeviceConfigOnceAvailabilityOncePerChangeAndAllGoWithTheInverter) {
    MessageComposer composer(Settings(true));
    const auto first = composer.Compose(Sample({0x44, 0x47, 0x48}), 0);
    ASSERT_EQ(TopicsOf(first), (std::vector<std::string>{"ha/device/heliowatch_st1_S_2F1/config",
                                                         "p/S_2F1/availability", "p/S_2F1/state"}));
    EXPECT_TRUE(first[0].retain);
    EXPECT_EQ(composer.Compose(Sample({0x44, 0x47, 0x48}), 0).size(), 1U);
    EXPECT_EQ(composer.Compose(Event(StationEventKind::Online), 0).size(), 1U)
        << "already online: only the event";

    const auto offline = composer.Compose(Event(StationEventKind::Offline), 0);
    ASSERT_EQ(TopicsOf(offline), (std::vector<std::string>{"p/events", "p/S_2F1/availability"}));
    EXPECT_EQ(Json(offline[0].payload)["event"].toString(), "offline");
    EXPECT_EQ(offline[1].payload, "offline");
    EXPECT_EQ(composer.Compose(Event(StationEventKind::Offline), 0).size(), 1U);

    const auto again = composer.Reconnected();
    EXPECT_EQ(
        TopicsOf(again),
        (std::vector<std::string>{"p/status", "ha/device/heliowatch_st1/config",
                                  "ha/device/heliowatch_st1_S_2F1/config", "p/S_2F1/availability"}))
        << "an offline inverter's old state is not repeated";
    EXPECT_EQ(again.front().payload, "online");

    const auto removal = composer.Compose(Event(StationEventKind::Removed), 0);
    ASSERT_EQ(TopicsOf(removal),
              (std::vector<std::string>{"p/events", "ha/device/heliowatch_st1_S_2F1/config",
                                        "p/S_2F1/availability", "p/S_2F1/last_fault"}));
    for (std::size_t i = 1; i < removal.size(); ++i) {
        EXPECT_TRUE(removal[i].retain && removal[i].payload.empty()) << removal[i].topic;
    }
    EXPECT_EQ(composer.Reconnected().size(), 2U);
}

TEST(MessageComposerTest, SensorsAnInverterNoLongerSendsAreRemovedFromItsDevice) {
    MessageComposer composer(Settings(true));
    composer.Compose(Sample({0x44, 0x47, 0x48}), 0);
    const auto changed = composer.Compose(Sample({0x44}), 0);
    ASSERT_EQ(changed.size(), 2U);
    const QJsonObject components = Json(changed[0].payload)["cmps"].toObject();
    EXPECT_TRUE(components.contains("pac_w"));
    EXPECT_EQ(components["e_total_kwh"].toObject(), (QJsonObject{{"p", "sensor"}}));
}

TEST(MessageComposerTest, FaultsGoOutAsEventsAndAsTheRetainedLastFault) {
    MessageComposer composer(Settings(true));
    const auto opened = composer.Compose(Event(StationEventKind::FaultOpened, 1000), 0);
    ASSERT_EQ(TopicsOf(opened),
              (std::vector<std::string>{"p/events", "p/S_2F1/fault", "p/S_2F1/last_fault"}));
    const QJsonObject event = Json(opened[1].payload);
    EXPECT_EQ(event["event_type"].toString(), "fault_opened");
    EXPECT_EQ(event["fault_text"].toString(), "Ground current is too high");
    EXPECT_EQ(event["value"].toString(), "GFCI : 0:450 A");
    EXPECT_FALSE(opened[1].retain);
    EXPECT_TRUE(opened[2].retain);
    EXPECT_TRUE(Json(opened[2].payload)["open"].toBool());

    const auto closed = composer.Compose(Event(StationEventKind::FaultClosed, 1060), 0);
    EXPECT_EQ(Json(closed[1].payload)["event_type"].toString(), "fault_closed");
    const QJsonObject last = Json(closed[2].payload);
    EXPECT_EQ(last["text"].toString(), "Ground current is too high");
    EXPECT_EQ(last["epoch"].toInteger(), 1000) << "when the fault began";
    EXPECT_FALSE(last["open"].toBool());
}

TEST(MessageComposerTest, PlantWaitsUntilRegistrationIsOverOrTheLongestRoundHasPassed) {
    for (const bool settles : {true, false}) {
        MessageComposer composer(Settings(true));
        EXPECT_TRUE(composer.Compose(Totals(1000, 1), 0).empty());
        const std::time_t later = settles ? 1010 : 1000 + PlantGate::LONGEST_ROUND - 1;
        EXPECT_EQ(composer.Compose(Totals(later, settles ? 0 : 1), 0).size(), settles ? 1U : 0U);
        const auto opened = composer.Compose(Totals(1000 + PlantGate::LONGEST_ROUND, 1), 0);
        ASSERT_EQ(TopicsOf(opened), std::vector<std::string>{"p/plant"}) << settles;
        EXPECT_EQ(Json(opened[0].payload)["e_total_kwh"].toDouble(), 500.0);
    }
}

TEST(MessageComposerTest, InverterLeftOnlineByAnEarlierRunStaysSoUntilItsOfflineRuleWouldFire) {
    MessageComposer composer(Settings(true));
    composer.Compose(Sample({0x44}), 0);
    composer.LeftOnline("p/S_2F1/availability");
    composer.LeftOnline("p/GONE/availability");
    composer.Compose(Totals(1000, 0), 0);
    EXPECT_EQ(composer.Compose(Totals(1041, 0), 0).size(), 1U) << "only the plant, at 2 s polls";
    const auto expired = composer.Compose(Totals(1042, 0), 0);
    ASSERT_EQ(TopicsOf(expired), (std::vector<std::string>{"p/GONE/availability", "p/plant"}));
    EXPECT_EQ(expired[0].payload, "offline");
    EXPECT_TRUE(expired[0].retain);
}

TEST(MessageComposerTest, OnlyThisStationsOldSensorConfigsAreRemoved) {
    const MessageComposer composer(Settings(true));
    const struct {
        const char* topic;
        const char* payload;
        bool removed;
    } cases[] = {
        {"ha/sensor/heliowatch_S1/pac_w/config", R"({"state_topic":"p/S1/state"})", true},
        {"ha/sensor/heliowatch_S1/pac_w/config", R"({"state_topic":"q/S1/state"})", false},
        {"ha/sensor/heliowatch_S1/pac_w/config", R"({"state_topic":"pq/S1/state"})", false},
        {"ha/sensor/other_S1/pac_w/config", R"({"state_topic":"p/S1/state"})", false},
        {"ha/sensor/heliowatch_S1/pac_w/config", "not json", false},
        {"ha/sensor/heliowatch_S1/pac_w/config", "", false},
    };
    for (const auto& each : cases) {
        const auto removal = composer.OldSensorConfig(each.topic, each.payload);
        ASSERT_EQ(removal.has_value(), each.removed) << each.topic << " " << each.payload;
        if (removal) {
            EXPECT_EQ(removal->topic, each.topic);
            EXPECT_TRUE(removal->retain && removal->payload.empty());
        }
    }
}

} // namespace
