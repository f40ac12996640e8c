#pragma once

#include <cstdint>

// A parameter write queued for the communication thread.
struct ParamWrite {
    std::uint16_t m_nId = 0;
    std::uint16_t m_nValue = 0;
    std::uint32_t m_nTicket = 0; // names the write in its report
};
