#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Messages the client library would not take: counted as dropped, and told
// once per run of failures, with the library's reason. Not locked: the
// publisher holds its lock around every call.
class SendFailures {
public:
    void Failed(std::size_t messages, const std::string& reason);
    void Succeeded() { m_failing = false; }
    std::uint64_t Dropped() const { return m_dropped; }

private:
    bool m_failing = false;
    std::uint64_t m_dropped = 0;
};
