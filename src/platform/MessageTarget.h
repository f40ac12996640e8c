#pragma once

#include <atomic>
#include <cstdint>

// Where a worker thread posts a window message. Posting never blocks and never
// runs the receiver's handler on the poster's thread.
class MessageTarget {
public:
    virtual ~MessageTarget() = default;
    virtual void Post(unsigned message, std::uintptr_t wParam) = 0;
};

// Posts to a target that may not exist (yet, or any more).
inline void PostTo(const std::atomic<MessageTarget*>& target, unsigned message,
                   std::uintptr_t wParam) {
    if (MessageTarget* receiver = target.load()) {
        receiver->Post(message, wParam);
    }
}
