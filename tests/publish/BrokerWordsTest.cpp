#include "publish/CommandVerdict.h"
#include "publish/TlsFailure.h"
#include "publish/Topics.h"

#include <gtest/gtest.h>

namespace {

TEST(TlsFailureTest, EachHandshakeFailureIsOneSentenceWithItsCause) {
    const struct {
        const char* error;
        const char* caFile;
        const char* sentence;
    } cases[] = {
        {"OpenSSL Error[0]: error:0A000126:SSL routines::unexpected eof while reading", "",
         "TLS handshake failed: the broker does not speak TLS on 127.0.0.1:1883"},
        {"OpenSSL Error[0]: error:0A00010B:SSL routines::wrong version number", "",
         "TLS handshake failed: the broker does not speak TLS on 127.0.0.1:1883"},
        {"Error: host name verification failed.", "/etc/ca.pem",
         "TLS handshake failed: the certificate of 127.0.0.1:1883 is not made out to 127.0.0.1"},
        {"OpenSSL Error[0]: error:0A000086:SSL routines::certificate verify failed", "",
         "TLS handshake failed: the certificate of 127.0.0.1:1883 is not trusted by the "
         "system's certificate authorities (unknown authority, expired or not yet valid)"},
        {"Error: Unable to load CA certificates, check cafile \"/x\".", "/x",
         "TLS cannot start: no certificate authority could be loaded from /x"},
        {"OpenSSL Error[0]: error:0A000410:SSL routines::sslv3 alert handshake failure", "",
         "TLS handshake failed with 127.0.0.1:1883: sslv3 alert handshake failure"},
        {"", "", "TLS handshake failed with 127.0.0.1:1883: no reason given"},
    };
    for (const auto& each : cases) {
        EXPECT_EQ(TlsFailureText("127.0.0.1", 1883, each.caFile, each.error), each.sentence)
            << each.error;
    }
}

TEST(CommandVerdictTest, OnlyAnAllowedPressOfReconnectAllIsTaken) {
    const Topics topics("p", "ha");
    const std::string reconnect = topics.Command("reconnect_all");
    const struct {
        std::string topic;
        bool allowed;
        bool retained;
        bool taken;
        const char* words;
    } cases[] = {
        {reconnect, true, false, true, ": every port sends \"reconnect all\""},
        {reconnect, false, false, false, " refused: commands are off ([Mqtt] Commands=0)"},
        {reconnect, true, true, false, " ignored: a retained message is not a press"},
        {topics.Command("reset_totals"), true, false, false,
         " refused: the station has no such command"},
    };
    for (const auto& each : cases) {
        const CommandVerdict verdict =
            JudgeCommand(topics, each.allowed, each.topic, each.retained);
        EXPECT_EQ(verdict.reconnectAll, each.taken) << each.words;
        EXPECT_EQ(verdict.level, each.taken ? LogLevel::Info : LogLevel::Warning) << each.words;
        EXPECT_EQ(verdict.line, "MQTT command on " + each.topic + each.words);
    }
}

} // namespace
