#include "Topics.h"

namespace {
bool KeptAsIs(unsigned char byte) {
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= '0' && byte <= '9') || byte == '-';
}
} // namespace

std::string TopicId(const std::string& serialNo) {
    static constexpr char HEX[] = "0123456789ABCDEF";
    if (serialNo.empty()) {
        return "_";
    }
    std::string id;
    id.reserve(serialNo.size());
    for (const char c : serialNo) {
        const auto byte = static_cast<unsigned char>(c);
        if (KeptAsIs(byte)) {
            id += c;
        } else {
            id += '_';
            id += HEX[byte >> 4];
            id += HEX[byte & 0x0F];
        }
    }
    return id;
}

Topics::Topics(std::string prefix, std::string discoveryPrefix)
    : m_prefix(std::move(prefix)), m_discoveryPrefix(std::move(discoveryPrefix)) {}
