#include "WebFixture.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {
constexpr std::time_t OPENED = 1750000000;
const std::string HOSTILE_SERIAL = "</script>\xB5";
const std::string HOSTILE_TEXT = "<img src=x onerror=alert(1)> is in fault: \"GFCI\"";

AlertsSnapshot TwoChannels() {
    Alert fault;
    fault.rule = "fault";
    fault.state = AlertState::Open;
    fault.severity = Severity::Error;
    fault.serial = HOSTILE_SERIAL;
    fault.port = 3;
    fault.address = 1;
    fault.text = HOSTILE_TEXT;
    fault.time = OPENED;
    fault.count = 2;
    AlertsSnapshot snapshot;
    snapshot.open = {fault};
    snapshot.lastSent = {{fault,
                          OPENED + 5,
                          {{"mail", SentAlert::Outcome::Waiting, 0, 3, "connection refused"},
                           {"webhook", SentAlert::Outcome::Sent, OPENED + 5, 1, ""}}}};
    snapshot.channels = {{"mail", {0, 3, 1}}, {"webhook", {1, 0, 0}}};
    return snapshot;
}
} // namespace

using WebAlertsTest = WebFixture;

TEST_F(WebAlertsTest, OpenAndSentAlertsComeAsJsonWithTheirTextsIntactAndEachChannelsOutcome) {
    WebServerConfig config;
    config.alerts = TwoChannels;
    StartServer([](const auto&) {}, config);
    auto reply = Client().Get("/api/alerts");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->get_header_value("Content-Type").rfind("application/json", 0), 0U);
    const QJsonObject json =
        QJsonDocument::fromJson(QByteArray::fromStdString(reply->body)).object();

    const QJsonObject open = json["open"].toArray().at(0).toObject();
    EXPECT_EQ(open["serial"].toString(), QString::fromLatin1(HOSTILE_SERIAL.c_str()));
    EXPECT_EQ(open["text"].toString().toStdString(), HOSTILE_TEXT);
    EXPECT_EQ(open["rule"].toString(), "fault");
    EXPECT_EQ(open["port"].toInt(), 3);
    EXPECT_EQ(open["address"].toInt(), 1);
    EXPECT_EQ(open["epoch"].toInteger(), OPENED);

    const QJsonObject sent = json["sent"].toArray().at(0).toObject();
    EXPECT_EQ(sent["state"].toString(), "open");
    EXPECT_EQ(sent["count"].toInt(), 2);
    const QJsonArray deliveries = sent["deliveries"].toArray();
    ASSERT_EQ(deliveries.size(), 2);
    EXPECT_EQ(deliveries[0].toObject(), (QJsonObject{{"channel", "mail"},
                                                     {"outcome", "waiting"},
                                                     {"sent", QJsonValue()},
                                                     {"attempts", 3},
                                                     {"error", "connection refused"}}));
    EXPECT_EQ(deliveries[1]["outcome"].toString(), "sent");
    EXPECT_EQ(deliveries[1]["sent"].toInteger(), OPENED + 5);
    EXPECT_EQ(json["channels"].toArray()[0].toObject(),
              (QJsonObject{{"channel", "mail"}, {"sent", 0}, {"failed", 3}, {"queued", 1}}));
}
