#include "HttpMessage.h"

const std::string& HttpRequest::Header(const std::string& lowerName) const {
    static const std::string none;
    const auto found = headers.find(lowerName);
    return found != headers.end() ? found->second : none;
}
