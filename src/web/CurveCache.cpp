#include "CurveCache.h"

#include "Gzip.h"

#include <algorithm>

HttpResponse CurveCache::Get(const std::string& key, std::time_t now, std::uint64_t pastsHanded,
                             const std::function<HttpResponse()>& make) {
    const std::time_t minute = now / 60;
    {
        const std::lock_guard guard(m_lock);
        const auto found = m_entries.find(key);
        if (found != m_entries.end() && found->second.minute == minute &&
            found->second.pastsHanded == pastsHanded) {
            return found->second.answer;
        }
    }
    HttpResponse answer = make();
    if (answer.status != 200) {
        return answer;
    }
    answer.gzipBody = std::make_shared<const std::string>(GzipCompressed(answer.body));
    const std::lock_guard guard(m_lock);
    if (m_entries.size() >= KEPT && m_entries.count(key) == 0) {
        const auto oldest =
            std::min_element(m_entries.begin(), m_entries.end(), [](const auto& a, const auto& b) {
                return a.second.minute < b.second.minute;
            });
        m_entries.erase(oldest);
    }
    m_entries[key] = {minute, pastsHanded, answer};
    return answer;
}
