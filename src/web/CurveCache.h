#pragma once

#include "HttpMessage.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <map>
#include <mutex>
#include <string>

// Day curves made at most once a minute each, kept with their compressed
// form: however many pages ask, the station builds and compresses a curve
// once. Only answers that succeeded are kept.
class CurveCache {
public:
    static constexpr std::size_t KEPT = 64;

    // An answer made for another count of pasts read back is made anew.
    HttpResponse Get(const std::string& key, std::time_t now, std::uint64_t pastsHanded,
                     const std::function<HttpResponse()>& make);

private:
    struct Entry {
        std::time_t minute = 0;
        std::uint64_t pastsHanded = 0;
        HttpResponse answer;
    };

    std::mutex m_lock;
    std::map<std::string, Entry> m_entries;
};
