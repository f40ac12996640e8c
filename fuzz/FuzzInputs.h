#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// How the targets read their input bytes, and how the seed maker writes them.
// Fields past the end of an input read as zero or empty, so every input is
// a valid one. A reply marked for repair gets the checksum its length field
// calls for, so that mutated frames reach the code behind the check.

using Bytes = std::vector<std::uint8_t>;

// Flags, then the field list (count, identifiers), then the reply frame.
struct RuntimeReplyInput {
    bool repairChecksum = false;
    Bytes fields;
    Bytes frame;

    static RuntimeReplyInput Read(const std::uint8_t* data, std::size_t size);
    Bytes Write() const;
};

// The replies of one conversation in the order they are read; each is flags,
// a 16-bit length and its bytes. An empty reply is silence.
struct ConversationInput {
    struct Reply {
        bool repairChecksum = false;
        Bytes bytes;
    };
    std::vector<Reply> replies;

    static ConversationInput Read(const std::uint8_t* data, std::size_t size);
    Bytes Write() const;
};

// Event, port, address, time, then the serial number.
struct EventLineInput {
    std::uint8_t event = 0;
    std::int32_t comPort = 0;
    std::int32_t address = 0;
    std::uint32_t when = 0;
    std::string serialNo;

    static EventLineInput Read(const std::uint8_t* data, std::size_t size);
    Bytes Write() const;
};

void RepairChecksum(Bytes& frame);
