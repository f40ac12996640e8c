#include "HistoryLines.h"
#include "TempDirectory.h"
#include "WebFixture.h"
#include "history/SummarySchema.h"
#include "history/SummaryStore.h"
#include "web/MetricsText.h"
#include "web/NumberText.h"
#include "web/WebAccess.h"

#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>
#include <fstream>
#include <sys/stat.h>
#include <thread>

using namespace std::chrono_literals;

namespace {
QString Serial(const SimUnit& unit) {
    return QString::fromStdString(unit.profile.serialNo);
}

std::string Base64(const std::string& text) {
    return QByteArray::fromStdString(text).toBase64().toStdString();
}

// Runs the Prometheus project's own parser and promtool's checks over the
// text; one line per sample: "type name labels value", labels sorted, then
// what promtool finds wrong.
std::string ParsedByPrometheus(const std::string& text) {
    const char* directory = std::getenv("HELIOWATCH_TEST_TMP");
    const std::string path = std::string(directory != nullptr ? directory : "/tmp") + "/metrics-" +
                             std::to_string(::getpid()) + ".txt";
    std::ofstream(path) << text;
    const std::string command =
        "/usr/bin/python3 -c 'import sys\n"
        "from prometheus_client.parser import text_string_to_metric_families as parse\n"
        "for f in parse(open(sys.argv[1]).read()):\n"
        "  for s in f.samples:\n"
        "    print(f.type, s.name, sorted(s.labels.items()), s.value)' " +
        path + " 2>&1 && promtool check metrics < " + path + " 2>&1";
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            output.append(buffer, n);
        }
        EXPECT_EQ(::pclose(pipe), 0) << output;
    }
    std::remove(path.c_str());
    return output;
}
} // namespace

using WebApiTest = WebFixture;

TEST_F(WebApiTest, RoutesServeTheValuesTheSimulatedInvertersSent) {
    WebServerConfig config;
    config.brokerStatus = [] {
        return BrokerStatus{BrokerStatus::State::Lost, "connection refused", 7, 3};
    };
    // The station's own totals, as the window shows them; sums of tenths
    // carry float noise the answer must not.
    config.plantTotals = [](std::time_t when) {
        PlantTotals totals{when};
        totals.powerW = 2874.0 + 2849.9999999999995;
        totals.eTotalKWh = 27033.6 + 24283.3;
        totals.registered = 2;
        totals.answering = 2;
        totals.reporting = 1;
        return totals;
    };
    config.plantCurves = &plantCurves;
    StartPlantAndServer(2, config);
    // What fault tracking sets after a sample without error bits, and the
    // plant's curves then; this station has neither.
    for (std::size_t index = 0; index < 2; ++index) {
        auto lock = station->Group().Lock();
        station->Record(index)->m_nErrorState = 1;
        plantCurves.OnSample(*station->Record(index));
    }
    const QJsonArray list = GetJson("/api/inverters").array();
    ASSERT_EQ(list.size(), 2);
    for (int position = 1; position <= 2; ++position) {
        // What it reads at the plant's frozen moment, which is today's noon.
        const SimUnit unit = plant->Unit(position);
        const double powerW = unit.reading.PacTotal() / 10.0;
        const QJsonObject row = list[position - 1].toObject();
        EXPECT_EQ(row["serial"].toString(), Serial(unit));
        EXPECT_EQ(row["address"].toInt(), unit.address);
        EXPECT_EQ(row["status"].toString(), "normal");
        EXPECT_DOUBLE_EQ(row["power"].toDouble(), powerW);
        EXPECT_DOUBLE_EQ(row["vpv1"].toDouble(), 360.0);
        EXPECT_DOUBLE_EQ(row["energy_total"].toDouble(), unit.reading.eTotal / 10.0);

        const std::string path = "/api/inverters/" + unit.profile.serialNo;
        const QJsonObject detail = GetJson(path).object();
        EXPECT_EQ(detail["model"].toString(), QString::fromStdString(unit.profile.model));
        EXPECT_EQ(detail["firmware"].toString(), QString::fromStdString(unit.profile.firmware));
        EXPECT_EQ(detail["params"].toArray().size(),
                  static_cast<int>(unit.profile.paramFields.size()));
        bool frequency = false;
        for (const auto& field : detail["sample"].toArray()) {
            if (field.toObject()["key"] == "fac_hz") {
                EXPECT_EQ(field.toObject()["name"], "Grid frequency");
                EXPECT_DOUBLE_EQ(field.toObject()["value"].toDouble(), unit.reading.fac[0] / 100.0);
                frequency = true;
            }
        }
        EXPECT_TRUE(frequency);
        EXPECT_EQ(detail["mode_text"].toString(), "Normal");
        const QJsonArray day = GetJson(path + "/day").object()["power"].toArray();
        ASSERT_FALSE(day.isEmpty());
        EXPECT_DOUBLE_EQ(day.last().toArray()[1].toDouble(), powerW);
    }
    auto plantAnswer = Client().Get("/api/plant");
    ASSERT_TRUE(plantAnswer);
    EXPECT_NE(plantAnswer->body.find("\"power\":5724,"), std::string::npos) << plantAnswer->body;
    EXPECT_NE(plantAnswer->body.find("\"energy_total\":51316.9,"), std::string::npos);
    const QJsonObject totals = GetJson("/api/plant").object();
    EXPECT_EQ(totals["inverters_online"].toInt(), 2);
    EXPECT_EQ(totals["inverters_reporting"].toInt(), 1);
    EXPECT_EQ(totals["ports"].toArray()[0].toObject()["port"].toInt(), PORT);
    const QJsonObject broker = totals["broker"].toObject();
    EXPECT_EQ(broker["state"].toString(), "lost");
    EXPECT_EQ(broker["reason"].toString(), "connection refused");
    EXPECT_EQ(broker["queued"].toInt(), 3);
    EXPECT_EQ(broker["dropped"].toInt(), 7);
    const QJsonArray plantDay = GetJson("/api/plant/day").object()["power"].toArray();
    ASSERT_FALSE(plantDay.isEmpty());
    EXPECT_LE(plantDay.last().toArray()[1].toDouble(), 5724.0); // both inverters at most
    GetJson("/api/inverters/NOSUCH", 404);
    GetJson("/api/plant/day?date=2024-02-30", 400);
    EXPECT_TRUE(GetJson("/api/faults").object()["faults"].toArray().isEmpty());
    auto csv = Client().Get("/api/faults.csv");
    ASSERT_TRUE(csv);
    EXPECT_EQ(csv->body, "Serno, Start time, Error time, Mode, Message, Value\r\n");
}

TEST_F(WebApiTest, MetricsParseWithTypesAndLabelsAndOfflineValuesAreLeftOut) {
    WebServerConfig config;
    config.brokerStatus = [] { return BrokerStatus{BrokerStatus::State::Connected, "", 5, 0}; };
    config.plantTotals = [](std::time_t when) {
        PlantTotals totals{when};
        totals.answering = 1;
        return totals;
    };
    config.alerts = [] {
        AlertsSnapshot alerts;
        alerts.channels["webhook"] = {2, 1, 3};
        return alerts;
    };
    StartPlantAndServer(2, config);
    ASSERT_TRUE(plant->SwitchOff(2));
    const std::string serial1 = plant->Unit(1).profile.serialNo;
    const std::string serial2 = plant->Unit(2).profile.serialNo;
    // Marked as the thread marks it after its failed polls, without the wait.
    station->Record(1)->m_bOnline = 0;
    auto result = Client().Get("/metrics");
    ASSERT_TRUE(result);
    const std::string parsed = ParsedByPrometheus(result->body);
    const std::string labels1 = "[('serial', '" + serial1 + "')]";
    for (const std::string& line : std::vector<std::string>{
             "gauge heliowatch_inverter_info [('address', '1'), ('model', '" +
                 plant->Unit(1).profile.model + "'), ('port', 'COM5'), ('serial', '" + serial1 +
                 "')] 1.0",
             "gauge heliowatch_inverter_online " + labels1 + " 1.0",
             "gauge heliowatch_inverter_power_watts " + labels1,
             "gauge heliowatch_inverter_grid_frequency_hertz",
             "gauge heliowatch_plant_inverters_online [] 1.0",
             "counter heliowatch_port_polls_total [('port', 'COM5')]",
             "counter heliowatch_port_failed_polls_total [('port', 'COM5')]",
             "counter heliowatch_port_reopens_total [('port', 'COM5')]",
             "gauge heliowatch_build_info",
             "gauge heliowatch_uptime_seconds",
             "gauge heliowatch_broker_connected [] 1.0",
             "counter heliowatch_broker_dropped_messages_total [] 5.0",
             "counter heliowatch_alerts_sent_total [('channel', 'webhook')] 2.0",
             "counter heliowatch_alerts_failed_total [('channel', 'webhook')] 1.0",
             "gauge heliowatch_alerts_queued [('channel', 'webhook')] 3.0",
         }) {
        EXPECT_NE(parsed.find(line), std::string::npos) << line << "\n" << parsed;
    }
    const std::string labels2 = "[('serial', '" + serial2 + "')]";
    EXPECT_NE(parsed.find("heliowatch_inverter_online " + labels2 + " 0.0"), std::string::npos);
    EXPECT_NE(parsed.find("heliowatch_inverter_last_sample_timestamp_seconds " + labels2),
              std::string::npos);
    EXPECT_EQ(parsed.find("heliowatch_inverter_power_watts " + labels2), std::string::npos);
    for (const char* noise : {"00000000001", "99999999999"}) {
        EXPECT_EQ(result->body.find(noise), std::string::npos) << "float noise: " << noise;
    }
}

TEST(WebAccessTest, PasswordIsRequiredOffLoopbackAndTheTlsPairWhole) {
    const struct {
        const char* listen;
        bool refused;
    } cases[] = {{"127.0.0.1", false},
                 {"::1", false},
                 {"localhost", false},
                 {"0.0.0.0", true},
                 {"192.168.1.5", true}};
    for (const auto& each : cases) {
        WebSettings settings;
        settings.listen = each.listen;
        EXPECT_EQ(DecideAccess(settings).refusal.empty(), !each.refused) << each.listen;
    }
    const struct {
        const char* cert;
        const char* key;
        const char* refusal;
    } pairs[] = {{"", "/k.pem", "TlsKey is set without TlsCert"},
                 {"/c.pem", "", "TlsCert is set without TlsKey"}};
    for (const auto& each : pairs) {
        WebSettings settings;
        settings.tlsCert = each.cert;
        settings.tlsKey = each.key;
        EXPECT_NE(DecideAccess(settings).refusal.find(each.refusal), std::string::npos);
    }
    TempDirectory directory;
    WebSettings open;
    open.passwordFile = directory.Path() + "/password";
    std::ofstream(open.passwordFile) << "secret\n";
    ::chmod(open.passwordFile.c_str(), 0644);
    EXPECT_NE(DecideAccess(open).refusal.find("chmod o="), std::string::npos);
    ::chmod(open.passwordFile.c_str(), 0640);
    open.listen = "0.0.0.0";
    const AccessDecision plain = DecideAccess(open);
    EXPECT_EQ(plain.refusal, "");
    EXPECT_NE(plain.warning.find("passwords cross the network in clear"), std::string::npos);
    const Credentials credentials{"owner", "secret"};
    EXPECT_TRUE(Authorized("Basic " + Base64("owner:secret"), credentials));
    EXPECT_FALSE(Authorized("Basic " + Base64("owner:secreT"), credentials));
    EXPECT_FALSE(Authorized("Basic " + Base64("owner:secret2"), credentials));
    EXPECT_FALSE(Authorized("Bearer x", credentials));
    EXPECT_EQ(ShortestText(3597 / 10.0), "359.7");
    EXPECT_EQ(LabelValue("a\"b\\c\nd\xB5"), "a\\\"b\\\\c\\nd\xC2\xB5");
}

TEST_F(WebApiTest, EveryRouteAsksForTheUserAndPassword) {
    WebServerConfig config;
    config.credentials = Credentials{"owner", "secret"};
    StartPlantAndServer(1, config);
    for (const char* path : {"/", "/api/plant", "/api/alerts", "/metrics", "/api/live"}) {
        auto anonymous = Client().Get(path);
        ASSERT_TRUE(anonymous);
        EXPECT_EQ(anonymous->status, 401) << path;
        EXPECT_NE(anonymous->get_header_value("WWW-Authenticate").find("Basic"), std::string::npos);
    }
    auto client = Client();
    client.set_basic_auth("owner", "wrong");
    EXPECT_EQ(client.Get("/api/plant")->status, 401);
    client.set_basic_auth("owner", "secret");
    EXPECT_EQ(client.Get("/api/plant")->status, 200);
}

TEST_F(WebApiTest, BadRequestsAreRefusedAndTheServerGoesOn) {
    StartPlantAndServer(1);
    std::string manyHeaders = "GET /api/plant HTTP/1.1\r\nHost: x\r\nConnection: close\r\n";
    for (int i = 0; i < 100; ++i) {
        manyHeaders += "X-" + std::to_string(i) + ": y\r\n";
    }
    const struct {
        std::string request;
        const char* status;
    } cases[] = {
        {"NONSENSE\r\n\r\n", ""}, // not HTTP: closed unanswered
        {"GET /api/plant HTTP/1.1\r\nConnection: close\r\n\r\n", "400"}, // no Host
        {"GET /" + std::string(20000, 'a') + " HTTP/1.1\r\nHost: x\r\n\r\n", "414"},
        {manyHeaders + "\r\n", "431"},
        {"GET /api/plant HTTP/1.1\r\nHost: x\r\nConnection: close\r\nContent-Length: "
         "100000\r\n\r\n" +
             std::string(100000, 'z'),
         "413"},
        {"DELETE /api/plant HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n", "405"},
    };
    for (const auto& each : cases) {
        const std::string reply = RawExchange(each.request);
        EXPECT_EQ(reply.substr(0, 12), *each.status ? std::string("HTTP/1.1 ") + each.status : "")
            << each.request.substr(0, 40);
    }
    GetJson("/api/plant");
}

TEST_F(WebApiTest, StreamsThatAreNotReadDoNotSlowPolling) {
    StartPlantAndServer(1);
    std::vector<std::thread> stalled;
    for (int i = 0; i < 8; ++i) {
        stalled.emplace_back([this] {
            const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_port = htons(static_cast<std::uint16_t>(server->Port()));
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            int small = 1024;
            ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
            if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
                const std::string request = "GET /api/live HTTP/1.1\r\nHost: x\r\n\r\n";
                (void)!::write(fd, request.data(), request.size());
                std::this_thread::sleep_for(4s);
            }
            ::close(fd);
        });
    }
    const int before = station->DecodedPolls();
    std::this_thread::sleep_for(4s);
    for (std::thread& thread : stalled) {
        thread.join();
    }
    // One poll a second; a blocked thread would show as none.
    EXPECT_GE(station->DecodedPolls() - before, 3);
    GetJson("/api/plant");
}

namespace {
// Two inverters' days in a summary, as the station's summary keeper writes them.
std::string FilledSummary(const TempDirectory& directory) {
    const std::string path = directory.Path() + "/" + SUMMARY_FILE_NAME;
    SummaryStore store;
    EXPECT_TRUE(store.Create(path, false));
    const struct {
        const char* file;
        std::vector<DayRow> days;
    } sources[] = {
        {"S1.csv", {{20260305, 4000, 900}, {20260610, 2500, 1200}, {20260611, 1000, 800}}},
        {"S2.csv", {{20260610, 1000, 500}}},
    };
    for (const auto& source : sources) {
        SourceRecord record;
        EXPECT_TRUE(store.LoadSource(source.file, record));
        EXPECT_TRUE(store.AddRows(record.id, source.days, {})) << store.Error();
    }
    return path;
}
} // namespace

TEST_F(WebApiTest, MonthAndYearBarsComeFromTheSummaryAndBadDatesAreRefused) {
    TempDirectory directory;
    WebServerConfig config;
    config.summaryFile = FilledSummary(directory);
    StartServer([](const auto&) {}, config);
    const struct {
        std::string query;
        int bars;
        int bar;
        const char* barDate;
        double barKwh;
        double totalKwh;
        const char* bestDay;
    } periods[] = {
        {"month?month=2026-06", 30, 9, "2026-06-10", 3.5, 4.5, "2026-06-10"},
        {"month?month=2026-06&serial=S2", 30, 9, "2026-06-10", 1.0, 1.0, "2026-06-10"},
        {"month?month=2026-04", 30, 0, "2026-04-01", 0.0, 0.0, nullptr},
        {"year?year=2026", 12, 5, "2026-06", 4.5, 8.5, "2026-03-05"},
        {"year?year=2026&serial=S1", 12, 2, "2026-03", 4.0, 7.5, "2026-03-05"},
    };
    for (const auto& each : periods) {
        const QJsonObject answer = GetJson("/api/history/" + each.query).object();
        const QJsonArray bars = answer["bars"].toArray();
        ASSERT_EQ(bars.size(), each.bars) << each.query;
        EXPECT_EQ(bars[each.bar].toObject()["date"].toString(), each.barDate) << each.query;
        EXPECT_DOUBLE_EQ(bars[each.bar].toObject()["energy"].toDouble(), each.barKwh);
        EXPECT_DOUBLE_EQ(answer["energy"].toDouble(), each.totalKwh) << each.query;
        EXPECT_EQ(answer["best_day"].toObject()["date"].toString(),
                  each.bestDay ? each.bestDay : "")
            << each.query;
        EXPECT_EQ(answer["serials"].toArray(), (QJsonArray{"S1", "S2"}));
    }
    EXPECT_EQ(GetJson("/api/history/year?year=2026&serial=S1")
                  .object()["peak"]
                  .toObject()["watts"]
                  .toInt(),
              1200);
    const struct {
        const char* query;
        int status;
        const char* error;
    } refused[] = {
        {"month?month=2026-6", 400, "month must be YYYY-MM"},
        {"month?month=2026-13", 400, "month must be YYYY-MM"},
        {"month?month=2026-06-10", 400, "month must be YYYY-MM"},
        {"month?month=1969-12", 400, "month must be YYYY-MM"},
        {"month?month=", 400, "month must be YYYY-MM"},
        {"year?year=2O26", 400, "year must be YYYY"},
        {"year?year=2026-06", 400, "year must be YYYY"},
        {"year?year=-2026", 400, "year must be YYYY"},
        {"year?year=2026&serial=S9", 404,
         "no inverter with serial number S9 in the history summary"},
    };
    for (const auto& each : refused) {
        EXPECT_EQ(GetJson(std::string("/api/history/") + each.query, each.status)
                      .object()["error"]
                      .toString(),
                  each.error);
    }
    EXPECT_EQ(GetJson("/api/plant").object()["broker"].toObject()["state"].toString(), "disabled");
}

TEST_F(WebApiTest, ASummaryThatCannotBeReadAnswersWithTheReason) {
    TempDirectory directory;
    WebServerConfig config;
    config.summaryFile = FilledSummary(directory);
    DropDayTable(config.summaryFile);
    StartServer([](const auto&) {}, config);
    const QString error =
        GetJson("/api/history/month?month=2026-06", 500).object()["error"].toString();
    EXPECT_TRUE(error.contains("no such table: day")) << error.toStdString();
}
