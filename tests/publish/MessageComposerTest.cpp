#include "publish/MessageComposer.h"

#include "model/SingleRuntimeData.h"

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

TEST(MessageComposerTest, StateCarriesWhatTheInverterSentInSiUnitsAndNothingElse) {
    MessageComposer composer(Topics("p", "ha"), false);
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

TEST(MessageComposerTest, DiscoveryOnceThenOnReconnectAndRemovedWithTheInverter) {
    MessageComposer composer(Topics("p", "ha"), true);
    const auto first = composer.Compose(Sample({0x44, 0x47, 0x48}), 0);
    // pac_w, e_total_kwh, work mode and fault text; availability; state
    ASSERT_EQ(first.size(), 6U);
    EXPECT_EQ(first[0].topic, "ha/sensor/heliowatch_S_2F1/pac_w/config");
    EXPECT_TRUE(first[0].retain);
    EXPECT_EQ(composer.Compose(Sample({0x44, 0x47, 0x48}), 0).size(), 1U);

    StationEvent offline{StationEventKind::Offline, 0, {3, 7, "S/1", "M1", false, false, 0, {}}};
    const auto told = composer.Compose(offline, 0);
    ASSERT_EQ(TopicsOf(told), (std::vector<std::string>{"p/events", "p/S_2F1/availability"}));
    EXPECT_EQ(Json(told[0].payload)["event"].toString(), "offline");
    EXPECT_FALSE(told[0].retain);
    EXPECT_EQ(told[1].payload, "offline");

    const auto again = composer.Reconnected();
    EXPECT_EQ(again.front().topic, "p/status");
    EXPECT_EQ(again.front().payload, "online");
    EXPECT_EQ(again.size(), 1U + 4U + 1U) << "an offline inverter's old state is not repeated";

    offline.kind = StationEventKind::Removed;
    const auto removal = composer.Compose(offline, 0);
    EXPECT_GT(removal.size(), 30U);
    for (std::size_t i = 1; i < removal.size(); ++i) {
        EXPECT_TRUE(removal[i].retain && removal[i].payload.empty()) << removal[i].topic;
    }
    EXPECT_EQ(composer.Reconnected().size(), 1U);
}

} // namespace
