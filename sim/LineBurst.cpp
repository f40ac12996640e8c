#include "LineBurst.h"

namespace sim {

LineBurst::LineBurst(const std::vector<std::vector<std::uint8_t>>& answers) {
    for (std::size_t offset = 0;; ++offset) {
        const std::size_t before = m_bytes.size();
        for (const auto& answer : answers) {
            if (offset < answer.size()) {
                m_bytes.push_back(answer[offset]);
            }
        }
        if (m_bytes.size() == before) {
            return;
        }
        m_heardBy.push_back(m_bytes.size());
    }
}

void LineBurst::Append(const LineBurst& next) {
    const std::size_t before = m_bytes.size();
    m_bytes.insert(m_bytes.end(), next.m_bytes.begin(), next.m_bytes.end());
    for (const std::size_t heard : next.m_heardBy) {
        m_heardBy.push_back(before + heard);
    }
}

} // namespace sim
