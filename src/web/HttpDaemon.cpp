#include "HttpDaemon.h"

#include "Gzip.h"
#include "platform/Log.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <microhttpd.h>
#include <mutex>
#include <netdb.h>
#include <optional>

namespace {
// The library's tag for a request: its target as sent, and its answer once
// decided.
struct RequestState {
    std::string target;
    bool gzip = false;
    bool queued = false;
    std::optional<HttpResponse> late;
};

struct ConnectionState {
    bool turnedAway = false;
};

// A live stream and the connection it runs on. The connection sleeps
// (suspended) while the body has nothing, and the body's wake call resumes
// it; the lock makes sure a connection is only resumed once suspended.
struct StreamLink {
    std::shared_ptr<StreamBody> body;
    MHD_Connection* connection = nullptr;
    std::string pending;
    std::mutex lock;
    bool suspended = false;
    bool woken = false;
    bool closed = false;
};

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// "gzip" among the codings, unless with q=0.
bool AcceptsGzip(const std::string& acceptEncoding) {
    std::size_t start = 0;
    while (start < acceptEncoding.size()) {
        std::size_t end = acceptEncoding.find(',', start);
        end = end == std::string::npos ? acceptEncoding.size() : end;
        std::string coding = LowerCase(acceptEncoding.substr(start, end - start));
        coding.erase(std::remove(coding.begin(), coding.end(), ' '), coding.end());
        const std::size_t semicolon = coding.find(';');
        const std::size_t quality = coding.find("q=", semicolon);
        if (coding.substr(0, semicolon) == "gzip" &&
            (quality == std::string::npos || std::atof(coding.c_str() + quality + 2) > 0.0)) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

bool Compressible(const HttpResponse& response) {
    constexpr std::size_t WORTH_IT = 1024;
    const std::string& type = response.contentType;
    return response.body.size() >= WORTH_IT &&
           (type.rfind("text/", 0) == 0 || type.rfind("application/json", 0) == 0);
}

std::string ClientAddress(MHD_Connection* connection) {
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    char host[NI_MAXHOST] = "";
    if (info != nullptr && info->client_addr != nullptr) {
        const socklen_t length =
            info->client_addr->sa_family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
        getnameinfo(info->client_addr, length, host, sizeof host, nullptr, 0, NI_NUMERICHOST);
    }
    return host;
}

MHD_Result CollectHeader(void* cls, MHD_ValueKind, const char* key, const char* value) {
    auto* request = static_cast<HttpRequest*>(cls);
    request->headers.emplace(LowerCase(key), value != nullptr ? value : "");
    ++request->headerCount;
    return MHD_YES;
}

HttpRequest RequestOf(MHD_Connection* connection, const char* method, const std::string& target) {
    HttpRequest request;
    request.method = method;
    request.target = target;
    request.client = ClientAddress(connection);
    MHD_get_connection_values(connection, MHD_HEADER_KIND, CollectHeader, &request);
    return request;
}

HttpResponse Busy() {
    HttpResponse busy;
    busy.status = 503;
    busy.contentType = "application/json";
    busy.body = R"({"error":"too many connections"})";
    busy.Header("Connection", "close").Header("Retry-After", "5");
    return busy;
}

ConnectionState* StateOf(MHD_Connection* connection) {
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
    return info != nullptr ? static_cast<ConnectionState*>(info->socket_context) : nullptr;
}

void Wake(StreamLink& link) {
    const std::lock_guard guard(link.lock);
    if (link.closed) {
        return;
    }
    if (link.suspended) {
        link.suspended = false;
        MHD_resume_connection(link.connection);
    } else {
        link.woken = true;
    }
}

ssize_t SleepUntilReady(const std::shared_ptr<StreamLink>& link) {
    const std::weak_ptr<StreamLink> weak = link;
    link->body->WhenReady([weak] {
        if (const auto alive = weak.lock()) {
            Wake(*alive);
        }
    });
    const std::lock_guard guard(link->lock);
    if (link->woken) {
        link->woken = false;
        return 0;
    }
    link->suspended = true;
    MHD_suspend_connection(link->connection);
    return 0;
}

ssize_t ReadStream(void* cls, std::uint64_t, char* buffer, std::size_t max) {
    const std::shared_ptr<StreamLink>& link = *static_cast<std::shared_ptr<StreamLink>*>(cls);
    if (link->pending.empty() && !link->body->Read(link->pending)) {
        return MHD_CONTENT_READER_END_OF_STREAM;
    }
    if (link->pending.empty()) {
        return SleepUntilReady(link);
    }
    const std::size_t count = std::min(max, link->pending.size());
    std::memcpy(buffer, link->pending.data(), count);
    link->pending.erase(0, count);
    return static_cast<ssize_t>(count);
}

void FreeStream(void* cls) {
    auto* link = static_cast<std::shared_ptr<StreamLink>*>(cls);
    {
        const std::lock_guard guard((*link)->lock);
        (*link)->closed = true;
    }
    delete link;
}

MHD_Response* StreamResponse(MHD_Connection* connection, std::shared_ptr<StreamBody> body) {
    constexpr std::size_t BLOCK = 8192;
    auto* link = new std::shared_ptr<StreamLink>(std::make_shared<StreamLink>());
    (*link)->body = std::move(body);
    (*link)->connection = connection;
    return MHD_create_response_from_callback(MHD_SIZE_UNKNOWN, BLOCK, ReadStream, link, FreeStream);
}

MHD_Response* BodyResponse(const HttpResponse& response, bool gzip) {
    std::shared_ptr<const std::string> compressed = response.gzipBody;
    if (gzip && !compressed && Compressible(response)) {
        compressed = std::make_shared<const std::string>(GzipCompressed(response.body));
    }
    const std::string& body = gzip && compressed ? *compressed : response.body;
    MHD_Response* answer = MHD_create_response_from_buffer(
        body.size(), const_cast<char*>(body.data()), MHD_RESPMEM_MUST_COPY);
    if (gzip && compressed) {
        MHD_add_response_header(answer, "Content-Encoding", "gzip");
    }
    if (compressed || Compressible(response)) {
        MHD_add_response_header(answer, "Vary", "Accept-Encoding");
    }
    return answer;
}

using HeaderList = std::vector<std::pair<std::string, std::string>>;

MHD_Result Queue(MHD_Connection* connection, const HttpResponse& response, bool gzip,
                 const HeaderList& common) {
    MHD_Response* answer = response.stream ? StreamResponse(connection, response.stream)
                                           : BodyResponse(response, gzip);
    if (answer == nullptr) {
        return MHD_NO;
    }
    if (!response.contentType.empty()) {
        MHD_add_response_header(answer, "Content-Type", response.contentType.c_str());
    }
    for (const HeaderList* list : {&common, &response.headers}) {
        for (const auto& [name, value] : *list) {
            MHD_add_response_header(answer, name.c_str(), value.c_str());
        }
    }
    const MHD_Result queued =
        MHD_queue_response(connection, static_cast<unsigned int>(response.status), answer);
    MHD_destroy_response(answer);
    return queued;
}
} // namespace

struct HttpDaemon::Glue {
    static void* OnUri(void*, const char* uri, MHD_Connection*) {
        auto* state = new RequestState;
        state->target = uri;
        return state;
    }

    static MHD_Result OnRequest(void* cls, MHD_Connection* connection, const char*,
                                const char* method, const char*, const char*,
                                std::size_t* uploadSize, void** context) {
        auto& self = *static_cast<HttpDaemon*>(cls);
        auto* state = static_cast<RequestState*>(*context);
        if (state->late) {
            const HttpResponse late = std::move(*state->late);
            state->late.reset();
            return Queue(connection, late, state->gzip, self.m_config.commonHeaders);
        }
        if (state->queued) {
            *uploadSize = 0; // a body nobody asked for is dropped
            return MHD_YES;
        }
        state->queued = true;
        const HttpRequest request = RequestOf(connection, method, state->target);
        state->gzip = AcceptsGzip(request.Header("accept-encoding"));
        const ConnectionState* connectionState = StateOf(connection);
        HttpResponse response = connectionState != nullptr && connectionState->turnedAway
                                    ? Busy()
                                    : self.m_handler(request);
        self.m_guard.RequestArrived(connection, response.stream != nullptr);
        if (response.delay.count() > 0) {
            return AnswerLate(self, connection, *state, std::move(response));
        }
        return Queue(connection, response, state->gzip, self.m_config.commonHeaders);
    }

    // Suspended first: the guard may resume it as soon as it is scheduled.
    static MHD_Result AnswerLate(HttpDaemon& self, MHD_Connection* connection, RequestState& state,
                                 HttpResponse response) {
        const auto delay = response.delay;
        state.late = std::move(response);
        MHD_suspend_connection(connection);
        if (!self.m_guard.After(delay, [connection] { MHD_resume_connection(connection); })) {
            MHD_resume_connection(connection);
        }
        return MHD_YES;
    }

    static void OnCompleted(void* cls, MHD_Connection* connection, void** context,
                            MHD_RequestTerminationCode) {
        delete static_cast<RequestState*>(*context);
        *context = nullptr;
        static_cast<HttpDaemon*>(cls)->m_guard.AnswerSent(connection);
    }

    static void OnConnection(void* cls, MHD_Connection* connection, void** socketContext,
                             MHD_ConnectionNotificationCode code) {
        auto& self = *static_cast<HttpDaemon*>(cls);
        if (code == MHD_CONNECTION_NOTIFY_STARTED) {
            const MHD_ConnectionInfo* socket =
                MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
            auto* state = new ConnectionState;
            state->turnedAway =
                !self.m_guard.Opened(connection, socket->connect_fd, ClientAddress(connection));
            *socketContext = state;
            return;
        }
        self.m_guard.Closed(connection);
        delete static_cast<ConnectionState*>(*socketContext);
        *socketContext = nullptr;
    }

    __attribute__((format(printf, 2, 0))) static void OnLog(void* cls, const char* format,
                                                            va_list arguments) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, arguments);
        std::string line(text);
        while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) {
            line.pop_back();
        }
        auto& self = *static_cast<HttpDaemon*>(cls);
        if (self.m_starting) {
            const std::lock_guard guard(self.m_startLogLock);
            self.m_startLog += (self.m_startLog.empty() ? "" : " ") + line;
        }
        Log(LogLevel::Debug, "web server: " + line);
    }
};

HttpDaemon::HttpDaemon(Handler handler, HttpDaemonConfig config)
    : m_handler(std::move(handler)), m_config(std::move(config)), m_guard(m_config.limits) {}

HttpDaemon::~HttpDaemon() {
    Stop();
}

bool HttpDaemon::Start(ListenSocket socket, std::string* problem) {
    const bool tls = !m_config.certificatePem.empty();
    const unsigned int flags = MHD_USE_AUTO_INTERNAL_THREAD | MHD_ALLOW_SUSPEND_RESUME |
                               MHD_USE_ERROR_LOG | (tls ? MHD_USE_TLS : 0);
    m_starting = true;
    const int fd = socket.Release();
    const MHD_OptionItem tlsOptions[] = {
        {MHD_OPTION_HTTPS_MEM_CERT, 0, const_cast<char*>(m_config.certificatePem.c_str())},
        {MHD_OPTION_HTTPS_MEM_KEY, 0, const_cast<char*>(m_config.keyPem.c_str())},
        {MHD_OPTION_HTTPS_PRIORITIES, 0,
         const_cast<char*>("NORMAL:-VERS-ALL:+VERS-TLS1.3:+VERS-TLS1.2")},
        {MHD_OPTION_END, 0, nullptr},
    };
    const MHD_OptionItem noOptions[] = {{MHD_OPTION_END, 0, nullptr}};
    m_daemon = MHD_start_daemon(
        flags, 0, nullptr, nullptr, &Glue::OnRequest, this, MHD_OPTION_EXTERNAL_LOGGER,
        &Glue::OnLog, this, MHD_OPTION_LISTEN_SOCKET, fd, MHD_OPTION_THREAD_POOL_SIZE,
        m_config.threads, MHD_OPTION_CONNECTION_LIMIT, m_config.hardConnectionLimit,
        MHD_OPTION_CONNECTION_TIMEOUT, m_config.idleSeconds, MHD_OPTION_STRICT_FOR_CLIENT, 1,
        MHD_OPTION_URI_LOG_CALLBACK, &Glue::OnUri, this, MHD_OPTION_NOTIFY_COMPLETED,
        &Glue::OnCompleted, this, MHD_OPTION_NOTIFY_CONNECTION, &Glue::OnConnection, this,
        MHD_OPTION_ARRAY, tls ? tlsOptions : noOptions, MHD_OPTION_END);
    m_starting = false;
    if (m_daemon == nullptr) {
        const std::lock_guard guard(m_startLogLock);
        *problem = m_startLog.empty() ? "the web server library could not start" : m_startLog;
        return false;
    }
    return true;
}

void HttpDaemon::Stop() {
    m_guard.Stop();
    if (m_daemon != nullptr) {
        MHD_stop_daemon(m_daemon);
        m_daemon = nullptr;
    }
}
