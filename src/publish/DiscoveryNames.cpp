#include "DiscoveryNames.h"

DiscoveryNames::DiscoveryNames(std::string stationId) : m_stationId(std::move(stationId)) {}

std::string DiscoveryNames::EntityId(const char* platform, const std::string& subject,
                                     const char* component) {
    const std::string name = "heliowatch_" + subject + "_" + component;
    std::string slug;
    for (const char c : name) {
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if ((lower >= 'a' && lower <= 'z') || (lower >= '0' && lower <= '9')) {
            slug += lower;
        } else if (!slug.empty() && slug.back() != '_') {
            slug += '_';
        }
    }
    while (!slug.empty() && slug.back() == '_') {
        slug.pop_back();
    }
    return std::string(platform) + "." + slug;
}
