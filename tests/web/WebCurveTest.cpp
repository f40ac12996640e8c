// Day curves that cost little to serve, the live stream that carries only
// what is new, and serial numbers that try to break out of their place.
#include "WebFixture.h"
#include "model/InverterGroup.h"
#include "model/SingleRuntimeData.h"
#include "web/CurveCache.h"
#include "web/MinuteBuckets.h"
#include "web/PageRoutes.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QUrl>
#include <poll.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {
// Inverters with these serial numbers, each with a sample every second
// since midnight.
std::unique_ptr<CInverterGroup> GroupWithADay(const std::vector<std::string>& serials) {
    auto group = std::make_unique<CInverterGroup>();
    group->m_nComPort = 3;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::time_t midnight = now - (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
    for (std::size_t i = 0; i < serials.size(); ++i) {
        auto inverter = group->CreateInverter(static_cast<std::uint8_t>(i + 1));
        inverter->m_strSerialNo = serials[i];
        inverter->m_bOnline = 1;
        auto data = std::make_unique<SingleRuntimeData>();
        data->m_tSample = now;
        inverter->m_pRuntimeData = std::move(data);
        for (std::time_t t = midnight; t <= now; ++t) {
            inverter->m_powerGraph.AddSample({t, 1000.0 + static_cast<double>(t % 7)});
        }
        group->AppendInverter(std::move(inverter));
    }
    return group;
}

// What the live stream sent within the time given, asked with these headers.
std::string LiveText(int fd, const std::string& headers, std::chrono::milliseconds time) {
    const std::string request = "GET /api/live HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "\r\n";
    if (fd < 0 ||
        ::write(fd, request.data(), request.size()) != static_cast<ssize_t>(request.size())) {
        return {};
    }
    std::string text;
    const auto end = std::chrono::steady_clock::now() + time;
    char buffer[8192];
    while (std::chrono::steady_clock::now() < end) {
        pollfd wait{fd, POLLIN, 0};
        if (::poll(&wait, 1, 50) > 0) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            text.append(buffer, static_cast<std::size_t>(n));
        }
    }
    ::close(fd);
    return text;
}
} // namespace

TEST(MinuteBucketsTest, HalfMinutesFoldIntoTheMinutesTheyFallIn) {
    CDaySeries series;
    for (const CGraphSample& sample :
         std::vector<CGraphSample>{{600, 10}, {630, 30}, {659, 20}, {660, 5}, {779, 7}}) {
        series.AddSample(sample);
    }
    const std::vector<DayPoint> points = MinutePoints(series);
    ASSERT_EQ(points.size(), 3u);
    const struct {
        std::time_t time;
        double mean, low, high;
    } expected[] = {{600, 20, 10, 30}, {660, 5, 5, 5}, {720, 7, 7, 7}};
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i].time, expected[i].time);
        EXPECT_DOUBLE_EQ(points[i].watts, expected[i].mean);
        EXPECT_DOUBLE_EQ(points[i].low, expected[i].low);
        EXPECT_DOUBLE_EQ(points[i].high, expected[i].high);
    }
    const std::vector<DayPoint> since = MinutePoints(series, 665);
    ASSERT_EQ(since.size(), 2u);
    EXPECT_EQ(since[0].time, 660);
}

TEST(CurveCacheTest, AnAnswerIsKeptItsMinuteUnlessAPastWasReadBackSince) {
    CurveCache cache;
    int made = 0;
    const auto make = [&made] {
        ++made;
        HttpResponse answer;
        answer.body = "{}";
        return answer;
    };
    const struct {
        std::time_t now;
        std::uint64_t pastsHanded;
        int madeSoFar;
    } asked[] = {{600, 0, 1}, {659, 0, 1}, {659, 1, 2}, {659, 1, 2}, {660, 1, 3}};
    for (const auto& ask : asked) {
        cache.Get("20261207 plant", ask.now, ask.pastsHanded, make);
        EXPECT_EQ(made, ask.madeSoFar) << ask.now << " " << ask.pastsHanded;
    }
}

TEST(ScriptSafeJsonTest, NothingInAStringCanEndTheScriptElement) {
    EXPECT_EQ(ScriptSafeJson("{\"s\":\"</script><!--&\xE2\x80\xA8\xE2\x80\xA9\"}"),
              "{\"s\":\"\\u003c/script\\u003e\\u003c!--\\u0026\\u2028\\u2029\"}");
}

using WebCurveTest = WebFixture;

TEST_F(WebCurveTest, ADayOfSecondsIsServedAsMinutesCompressedAndKeptAMinute) {
    ServeGroup(GroupWithADay({"A/B 1"}));
    auto client = Client();
    client.set_decompress(false);
    const httplib::Headers gzip{{"Accept-Encoding", "gzip, deflate, br"}};
    const auto compressed = client.Get("/api/inverters/A%2FB%201/day", gzip);
    ASSERT_TRUE(compressed);
    EXPECT_EQ(compressed->status, 200);
    EXPECT_EQ(compressed->get_header_value("Content-Encoding"), "gzip");
    EXPECT_LT(compressed->body.size(), 50u * 1024);
    const QJsonArray power = GetJson("/api/inverters/A%2FB%201/day").object()["power"].toArray();
    EXPECT_LE(power.size(), 1440);
    EXPECT_GE(power.size(), 1);
    EXPECT_EQ(power[0].toArray().size(), 4); // time, mean, lowest, highest
    EXPECT_EQ(GetJson("/api/inverters/A%2FB%201").object()["serial"].toString(), "A/B 1");
    GetJson("/api/inverters/A/B%201", 404);
}

TEST_F(WebCurveTest, TheLiveStreamSendsEachUpdateOnceWithOnlyTheNewMinutes) {
    ServeGroup(GroupWithADay({"S1"}));
    const std::string stream = LiveText(Connect(), "", 1100ms); // about five updates at 200 ms
    std::vector<std::uint64_t> ids;
    for (std::size_t at = stream.find("\nid: "); at != std::string::npos;
         at = stream.find("\nid: ", at + 1)) {
        const std::size_t dash = stream.find('-', at);
        ids.push_back(std::stoull(stream.substr(dash + 1)));
        const std::size_t data = stream.find("data: ", at) + 6;
        const QJsonObject event =
            QJsonDocument::fromJson(
                QByteArray::fromStdString(stream.substr(data, stream.find('\n', data) - data)))
                .object();
        EXPECT_LE(event["inverters"].toArray()[0].toObject()["minutes"].toArray().size(), 2);
    }
    ASSERT_GE(ids.size(), 3u) << stream;
    for (std::size_t i = 1; i < ids.size(); ++i) {
        EXPECT_EQ(ids[i], ids[i - 1] + 1);
    }
    // An id of another run of the station: the page must fetch its curves anew.
    const std::string restarted = LiveText(Connect(), "Last-Event-ID: 0-1\r\n", 300ms);
    EXPECT_NE(restarted.find("event: resync"), std::string::npos) << restarted;
}

TEST_F(WebCurveTest, HostileSerialNumbersStayTextAndEachHasItsRoute) {
    const std::vector<std::string> hostile{"<!--<script>", "</script>", "\"'><svg/onload=1",
                                           "A/B 1"};
    ServeGroup(GroupWithADay(hostile));
    const auto page = Client().Get("/");
    ASSERT_TRUE(page);
    const std::size_t data = page->body.find("id=\"first\">") + 11;
    const std::string first = page->body.substr(data, page->body.find("</script>", data) - data);
    EXPECT_EQ(first.find_first_of("<>&"), std::string::npos) << first;
    const QJsonArray list =
        QJsonDocument::fromJson(QByteArray::fromStdString(first)).object()["inverters"].toArray();
    ASSERT_EQ(list.size(), 4);
    for (const std::string& serial : hostile) {
        const QByteArray encoded = QUrl::toPercentEncoding(QString::fromLatin1(serial.c_str()));
        EXPECT_EQ(GetJson("/api/inverters/" + encoded.toStdString()).object()["serial"].toString(),
                  QString::fromLatin1(serial.c_str()));
    }
}
