#pragma once

#include <cstdint>

// Where a worker thread posts a window message. Posting never blocks and never
// runs the receiver's handler on the poster's thread.
class MessageTarget {
public:
    virtual ~MessageTarget() = default;
    virtual void Post(unsigned message, std::uintptr_t wParam) = 0;
};
