#include "FakeClock.h"
#include "HttpReceiver.h"
#include "LocalTime.h"
#include "SmtpReceiver.h"
#include "TempDirectory.h"
#include "alerts/AlertCenter.h"
#include "alerts/MailChannel.h"
#include "alerts/RuleAlerts.h"
#include "alerts/WebhookChannel.h"
#include "platform/TimeText.h"
#include "store/FaultText.h"
#include "store/StationEvent.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
using namespace std::chrono_literals;

EventSubject Inverter(int address) {
    EventSubject inverter;
    inverter.comPort = 3;
    inverter.address = address;
    inverter.serialNo = "SIM000000000300" + std::to_string(address);
    inverter.online = true;
    inverter.inFault = true;
    inverter.errorBits = 0x400;
    return inverter;
}

Alert FaultAlert() {
    Alert alert = RuleAlerts::FaultOpened(Inverter(2));
    alert.time = LocalTime(2026, 6, 15, 12, 34, 56);
    alert.station = "roof";
    return alert;
}

std::string SecretFile(const TempDirectory& directory, const std::string& secret, mode_t mode) {
    const std::string path = directory.Path() + "/secret";
    std::ofstream(path) << secret << "\n";
    chmod(path.c_str(), mode);
    return path;
}

QJsonObject JsonOf(const std::string& text) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

TEST(AlertDeliveryTest, TheWebhookGetsTheJsonWithTheTokenAndTheNtfyFormWithTitleAndPriority) {
    HttpReceiver receiver;
    ASSERT_TRUE(receiver.Start());
    TempDirectory directory;
    AlertSettings settings;
    settings.webhookUrl = receiver.Url("/hook");
    settings.webhookTokenFile = SecretFile(directory, "s3cret", 0600);
    EXPECT_EQ(WebhookChannel(settings).Deliver(FaultAlert()), "");
    settings.webhookFormat = WebhookFormat::Ntfy;
    EXPECT_EQ(WebhookChannel(settings).Deliver(FaultAlert()), "");
    receiver.AnswerWith(503);
    EXPECT_NE(WebhookChannel(settings).Deliver(FaultAlert()).find("HTTP 503"), std::string::npos);
    settings.webhookTokenFile = SecretFile(directory, "s3cret", 0644);
    EXPECT_NE(WebhookChannel(settings).Deliver(FaultAlert()).find("chmod o="), std::string::npos)
        << "a token others may read is not sent";

    const auto requests = receiver.Requests();
    ASSERT_EQ(requests.size(), 3U);
    const QJsonObject json = JsonOf(requests[0].body);
    EXPECT_EQ(requests[0].headers.at("Authorization"), "Bearer s3cret");
    EXPECT_EQ(json["rule"].toString(), "fault");
    EXPECT_EQ(json["state"].toString(), "open");
    EXPECT_EQ(json["serial"].toString(), "SIM0000000003002");
    EXPECT_EQ(json["port"].toInt(), 3);
    EXPECT_EQ(json["address"].toInt(), 2);
    EXPECT_EQ(json["count"].toInt(), 1);
    EXPECT_EQ(json["station"].toString(), "roof");
    EXPECT_EQ(json["time"].toString().toStdString(), IsoTimeText(FaultAlert().time));
    EXPECT_TRUE(json["text"].toString().contains(QString::fromStdString(FaultText(0x400))));

    EXPECT_EQ(requests[1].body, FaultAlert().text);
    EXPECT_EQ(requests[1].headers.at("Title"), "Fault: SIM0000000003002");
    EXPECT_EQ(requests[1].headers.at("Priority"), "5");
}

TEST(AlertDeliveryTest, TheFaultMailGoesThroughStartTlsAndALoginWithTheSerialTextAndTime) {
    SmtpReceiver server("station", "mail-pass");
    ASSERT_TRUE(server.Start());
    TempDirectory directory;
    AlertSettings settings;
    settings.smtpUrl = server.Url();
    settings.caFile = server.CaFile();
    settings.smtpUser = "station";
    settings.smtpPasswordFile = SecretFile(directory, "mail-pass", 0600);
    settings.mailFrom = "Heliowatch <station@example.org>";
    settings.mailTo = {"owner@example.org", "installer@example.org"};
    ASSERT_EQ(MailChannel(settings).Deliver(FaultAlert()), "");

    const auto received = server.NextMessage(10s);
    ASSERT_TRUE(received);
    const QJsonObject message = JsonOf(*received);
    EXPECT_TRUE(message["tls"].toBool());
    EXPECT_TRUE(message["authenticated"].toBool());
    EXPECT_EQ(message["from"].toString(), "station@example.org");
    EXPECT_EQ(message["to"].toArray().size(), 2);
    const std::string mail = message["data"].toString().toStdString();
    EXPECT_NE(mail.find("Subject: [Heliowatch roof] Fault: SIM0000000003002"), std::string::npos);
    EXPECT_NE(mail.find(FaultText(0x400)), std::string::npos) << mail;
    EXPECT_NE(mail.find(IsoTimeText(FaultAlert().time)), std::string::npos) << mail;

    settings.smtpPasswordFile = SecretFile(directory, "wrong", 0600);
    EXPECT_NE(MailChannel(settings).Deliver(FaultAlert()).find("Login denied"), std::string::npos);
    settings.caFile.clear();
    EXPECT_NE(MailChannel(settings).Deliver(FaultAlert()), "") << "an unknown certificate";
}

// The receiver is away for an hour, the station restarts in the middle of it,
// and every alert of the hour arrives once, in order, when it is back.
TEST(AlertDeliveryTest, AChannelDownForAnHourGetsEveryAlertOnceAfterwardsAcrossARestart) {
    TempDirectory data;
    HttpReceiver receiver;
    FakeClock clock(LocalTime(2026, 6, 15, 10, 0, 0));
    AlertSettings settings;
    settings.webhookUrl = receiver.Url("/hook");
    const auto station = [&] {
        auto center = std::make_unique<AlertCenter>(clock);
        std::string problem;
        EXPECT_TRUE(center->Open(data.Path(), problem)) << problem;
        center->Configure(settings, {}, false);
        return center;
    };
    const auto fault = [](int address, StationEventKind kind) {
        return StationEvent{kind, 0, Inverter(address)};
    };

    auto center = station();
    for (int address = 1; address <= 3; ++address) {
        center->OnStationEvent(fault(address, StationEventKind::FaultOpened));
        clock.Advance(10min);
        center->Dispatcher().DeliverDue();
    }
    center = station();                                              // the restart
    center->OnStationEvent(fault(1, StationEventKind::FaultOpened)); // still in fault: told before
    center->OnStationEvent(fault(2, StationEventKind::FaultClosed));
    clock.Advance(30min);
    const AlertsSnapshot down = center->Snapshot();
    EXPECT_EQ(down.channels.at("webhook").queued, 4U);
    ASSERT_EQ(down.lastSent.size(), 1U); // only the oldest was tried; the others wait behind it
    const SentAlert::Delivery& tried = down.lastSent[0].deliveries.at(0);
    EXPECT_EQ(tried.outcome, SentAlert::Outcome::Waiting);
    EXPECT_EQ(tried.attempts, 3);
    EXPECT_NE(tried.error, "");

    ASSERT_TRUE(receiver.Start());
    clock.Advance(5min);
    center->Dispatcher().DeliverDue();
    center->Dispatcher().DeliverDue();
    std::vector<std::string> told;
    for (const auto& request : receiver.Requests()) {
        const QJsonObject json = JsonOf(request.body);
        told.push_back(json["state"].toString().toStdString() + " " +
                       json["serial"].toString().toStdString());
    }
    EXPECT_EQ(told, (std::vector<std::string>{"open SIM0000000003001", "open SIM0000000003002",
                                              "open SIM0000000003003", "closed SIM0000000003002"}));
    const AlertsSnapshot snapshot = center->Snapshot();
    EXPECT_EQ(snapshot.channels.at("webhook").queued, 0U);
    ASSERT_EQ(snapshot.lastSent.size(), 4U);
    EXPECT_EQ(snapshot.lastSent[0].alert.state, AlertState::Closed); // the latest first
    EXPECT_EQ(snapshot.lastSent[0].deliveries.at(0).outcome, SentAlert::Outcome::Sent);
    ASSERT_EQ(snapshot.open.size(), 2U);
    EXPECT_EQ(snapshot.open[0].time, LocalTime(2026, 6, 15, 10, 0, 0)); // since it first opened
}

} // namespace
