#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// One request as the server received it. The target stays as sent
// (percent-encoded), so that an encoded "/" inside a serial number is not
// taken for a separator.
struct HttpRequest {
    std::string method;
    std::string target;
    std::string client;                         // the peer's address, numeric
    std::map<std::string, std::string> headers; // names in lower case
    std::size_t headerCount = 0;

    // The header's value; empty when absent.
    const std::string& Header(const std::string& lowerName) const;
};

// A body that goes on while the connection stays open: the live stream.
class StreamBody {
public:
    virtual ~StreamBody() = default;
    // Appends what is ready to out; false once the stream has ended.
    virtual bool Read(std::string& out) = 0;
    // Called when Read gave nothing: wake is to be called once when more is
    // ready (at once, when it already is).
    virtual void WhenReady(std::function<void()> wake) = 0;
};

struct HttpResponse {
    int status = 200;
    std::string contentType;
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
    // The body compressed ahead, for answers kept in a cache.
    std::shared_ptr<const std::string> gzipBody;
    std::shared_ptr<StreamBody> stream;
    // Sent this much later, without holding up anyone else.
    std::chrono::milliseconds delay{0};

    HttpResponse& Header(std::string name, std::string value) {
        headers.emplace_back(std::move(name), std::move(value));
        return *this;
    }
};
