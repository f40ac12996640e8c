#include "WebFixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace std::chrono_literals;

void WebFixture::TearDown() {
    server.reset();
    CommBusFixture::TearDown();
}

void WebFixture::StartPlantAndServer(int inverters, WebServerConfig config) {
    StartBus(inverters);
    station->Start();
    ASSERT_TRUE(AwaitPolledRecords(static_cast<std::size_t>(inverters), 30s));
    CInverterGroup& group = station->Group();
    StartServer([&group](const auto& visit) { visit(group); }, std::move(config));
}

void WebFixture::StartServer(GroupVisitor groups, WebServerConfig config) {
    config.port = 0;
    config.liveInterval = 200ms;
    server = std::make_unique<WebServer>(std::move(groups), std::move(config));
    std::string problem;
    ASSERT_TRUE(server->Start(&problem)) << problem;
}

void WebFixture::ServeGroup(std::unique_ptr<CInverterGroup> group) {
    servedGroup = std::move(group);
    StartServer([this](const auto& visit) { visit(*servedGroup); }, {});
}

httplib::Client WebFixture::Client() const {
    httplib::Client client("127.0.0.1", server->Port());
    client.set_read_timeout(5, 0);
    return client;
}

QJsonDocument WebFixture::GetJson(const std::string& path, int expectedStatus) {
    auto result = Client().Get(path);
    EXPECT_TRUE(result) << path;
    if (!result) {
        return {};
    }
    EXPECT_EQ(result->status, expectedStatus) << path << ": " << result->body;
    return QJsonDocument::fromJson(QByteArray::fromStdString(result->body));
}

int WebFixture::Connect(const char* from) const {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in source{};
    source.sin_family = AF_INET;
    ::inet_pton(AF_INET, from, &source.sin_addr);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(server->Port()));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&source), sizeof source) != 0 ||
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::string WebFixture::RawExchange(const std::string& request) const {
    const int fd = Connect();
    std::string reply;
    if (fd >= 0) {
        timeval limit{5, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        (void)!::write(fd, request.data(), request.size());
        char buffer[4096];
        for (ssize_t n; reply.find("\r\n\r\n") == std::string::npos &&
                        (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
            reply.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(fd);
    }
    return reply;
}
