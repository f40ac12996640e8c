#pragma once

#include <cstdint>

// When a read that expects one reply may end before its deadline. The
// protocol layer knows what a whole reply is; the port only asks.
struct ReplyEnd {
    // Returned by bytesMissing for bytes that can never become whole: the
    // read then runs to its deadline as a plain read does.
    static constexpr int NEVER_WHOLE = -1;

    // Bytes still to come before bytes[0, count) form a whole reply; 0 once
    // they do.
    int (*bytesMissing)(const std::uint8_t* bytes, int count) = nullptr;
    // Character times the line is watched after a whole reply before the
    // read ends; it ends early at the first byte heard in that time.
    int quietCharacters = 0;
    // Whether a byte in the quiet time means a second sender answered: the
    // read then runs to its deadline, gathering everything, and reports a
    // collision. Otherwise the byte is left to the purge before the next
    // write.
    bool heardMeansCollision = false;
};

// How a read that may end early ended.
enum class ReceiveOutcome {
    Nothing,   // no byte before the deadline, or the port failed
    Received,  // the count bytes read are the reply
    Collision, // a second sender answered within the quiet time
};
