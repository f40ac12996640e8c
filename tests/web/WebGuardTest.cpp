// What a hostile or careless client can and cannot do to the server.
#include "WebFixture.h"
#include "web/LoginThrottle.h"

#include <QByteArray>
#include <atomic>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

namespace {
// Reads until the peer closes; how long that took, or nothing when it was
// still open at the limit.
std::optional<SteadyClock::duration> UntilClosed(int fd, SteadyClock::time_point since,
                                                 std::chrono::milliseconds limit) {
    char buffer[512];
    while (SteadyClock::now() - since < limit) {
        pollfd wait{fd, POLLIN, 0};
        if (::poll(&wait, 1, 100) > 0 && ::read(fd, buffer, sizeof buffer) <= 0) {
            return SteadyClock::now() - since;
        }
    }
    return std::nullopt;
}

std::string Base64(const std::string& text) {
    return QByteArray::fromStdString(text).toBase64().toStdString();
}
} // namespace

using WebGuardTest = WebFixture;

// One client dribbling its headers a byte at a time, two hundred times over,
// neither keeps its connections past the header deadline nor holds up anyone
// else.
TEST_F(WebGuardTest, DribblingClientsAreCutOffAtTheHeaderDeadlineAndDelayNobody) {
    WebServerConfig config;
    config.credentials = Credentials{"owner", "secret"};
    StartServer([](const auto&) {}, config);
    std::vector<int> dribblers;
    const SteadyClock::time_point opened = SteadyClock::now();
    for (int i = 0; i < 200; ++i) {
        dribblers.push_back(Connect("127.0.0.2"));
        ASSERT_GE(dribblers.back(), 0);
    }
    std::atomic<bool> stop{false};
    std::thread dribble([&] {
        const std::string request = "GET /api/plant HTTP/1.1\r\nHost: 127.0.0.1\r\n";
        for (std::size_t sent = 0; !stop && sent < request.size(); ++sent) {
            for (const int fd : dribblers) {
                (void)!::send(fd, &request[sent], 1, MSG_NOSIGNAL);
            }
            std::this_thread::sleep_for(2s);
        }
    });
    std::this_thread::sleep_for(3s);
    auto client = Client();
    client.set_basic_auth("owner", "secret");
    const SteadyClock::time_point asked = SteadyClock::now();
    const auto answer = client.Get("/api/plant");
    const auto took = SteadyClock::now() - asked;
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 200);
    EXPECT_LT(took, 1s);
    int late = 0;
    for (const int fd : dribblers) {
        const auto closed = UntilClosed(fd, opened, 7s);
        late += !closed || *closed < 4500ms ? 1 : 0;
        ::close(fd);
    }
    stop = true;
    dribble.join();
    EXPECT_EQ(late, 0) << "connections not closed between 4.5 s and 7 s after they opened";
}

TEST_F(WebGuardTest, ManyConcurrentRequestsAreAllAnsweredAtOnce) {
    StartServer([](const auto&) {}, {});
    std::atomic<int> answered{0};
    std::atomic<int> busy{0};
    std::vector<std::thread> clients;
    const SteadyClock::time_point start = SteadyClock::now();
    for (int i = 0; i < 200; ++i) {
        clients.emplace_back([&] {
            const std::string reply = RawExchange(
                "GET /api/plant HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
            answered += reply.rfind("HTTP/1.1 200", 0) == 0 || reply.rfind("HTTP/1.1 503", 0) == 0;
            busy += reply.rfind("HTTP/1.1 503", 0) == 0;
        });
    }
    for (std::thread& client : clients) {
        client.join();
    }
    EXPECT_EQ(answered, 200);
    EXPECT_LT(SteadyClock::now() - start, 5s);
    RecordProperty("turned_away", busy.load());
}

TEST_F(WebGuardTest, HostsOtherThanTheStationsAreRefusedWithoutAPasswordAndHeadersProtect) {
    WebServerConfig config;
    config.allowedHosts = {"station.lan"};
    StartServer([](const auto&) {}, config);
    const struct {
        const char* host;
        const char* status;
    } cases[] = {{"127.0.0.1", "200"},
                 {"localhost:8080", "200"},
                 {"STATION.lan.", "200"},
                 {"evil.example", "421"},
                 {"127.0.0.1.evil.io", "421"}};
    for (const auto& each : cases) {
        const std::string reply = RawExchange(std::string("GET /api/plant HTTP/1.1\r\nHost: ") +
                                              each.host + "\r\nConnection: close\r\n\r\n");
        EXPECT_EQ(reply.substr(0, 12), std::string("HTTP/1.1 ") + each.status) << each.host;
        for (const char* header : {"X-Content-Type-Options: nosniff", "frame-ancestors 'none'",
                                   "Referrer-Policy: no-referrer",
                                   "Content-Security-Policy: default-src 'none'; "
                                   "script-src 'self'; style-src 'self'"}) {
            EXPECT_NE(reply.find(header), std::string::npos) << each.host << ": " << header;
        }
    }
}

TEST(LoginThrottleTest, WrongPasswordsWaitLongerEachTimeAndAreToldOncePerMinute) {
    LoginThrottle throttle;
    const SteadyClock::time_point start{};
    const struct {
        std::chrono::seconds at;
        std::chrono::milliseconds delay;
        const char* told; // nullptr: nothing logged
    } attempts[] = {
        {0s, 250ms, "wrong user name or password from 10.0.0.7"},
        {1s, 500ms, nullptr},
        {2s, 1000ms, nullptr},
        {3s, 2000ms, nullptr},
        {4s, 2000ms, nullptr},
        {64s, 2000ms, "(5 times since last told)"},
        {200s, 250ms, "wrong user name or password from 10.0.0.7"},
    };
    for (const auto& each : attempts) {
        const auto verdict = throttle.Failed("10.0.0.7", start + each.at);
        EXPECT_EQ(verdict.delay, each.delay) << each.at.count();
        if (each.told) {
            EXPECT_NE(verdict.logLine.find(each.told), std::string::npos) << verdict.logLine;
        } else {
            EXPECT_EQ(verdict.logLine, "") << each.at.count();
        }
    }
    EXPECT_EQ(throttle.Failed("10.0.0.8", start).delay, 250ms);
}

TEST_F(WebGuardTest, AWrongPasswordIsAnsweredLateWithoutHoldingUpOthers) {
    WebServerConfig config;
    config.credentials = Credentials{"owner", "secret"};
    StartServer([](const auto&) {}, config);
    auto wrong = Client();
    wrong.set_basic_auth("owner", "guess");
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(wrong.Get("/api/plant")->status, 401);
    }
    std::thread third([&] {
        const SteadyClock::time_point asked = SteadyClock::now();
        EXPECT_EQ(wrong.Get("/api/plant")->status, 401);
        EXPECT_GE(SteadyClock::now() - asked, 900ms);
    });
    std::this_thread::sleep_for(100ms);
    const std::string reply = RawExchange("GET /api/plant HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                                          "Authorization: Basic " +
                                          Base64("owner:secret") + "\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(reply.substr(0, 12), "HTTP/1.1 200");
    third.join();
}

TEST_F(WebGuardTest, ASecondServerOnTheSamePortIsRefusedWithTheReason) {
    StartServer([](const auto&) {}, {});
    WebServerConfig config;
    config.port = server->Port();
    WebServer second([](const auto&) {}, config);
    std::string problem;
    EXPECT_FALSE(second.Start(&problem));
    EXPECT_EQ(problem, "cannot listen on 127.0.0.1 port " + std::to_string(config.port) +
                           ": Address already in use");
    GetJson("/api/plant");
}
