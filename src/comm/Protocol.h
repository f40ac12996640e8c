#pragma once

#include "model/SerialNumber.h"

#include <cstddef>
#include <cstdint>

// Bus addresses, control and function codes of the inverter protocol.

inline constexpr std::uint8_t FRAME_SYNC = 0xA5;
inline constexpr std::uint8_t FRAME_END_LF = 0x0A;
inline constexpr std::uint8_t FRAME_END_CR = 0x0D;
inline constexpr std::size_t FRAME_OVERHEAD = 11;   // sync, header, checksum, trailer
inline constexpr std::size_t FRAME_HEADER_SIZE = 7; // sync bytes and the five message bytes
inline constexpr std::size_t MESSAGE_HEADER_SIZE = 5;
inline constexpr std::size_t MESSAGE_SIZE = 262;
inline constexpr std::size_t FRAME_BUFFER_SIZE = 269;
inline constexpr int MAX_REPLY_BYTES = 269;

inline constexpr std::uint8_t MONITOR_ADDRESS = 1;
inline constexpr std::uint8_t BROADCAST_ADDRESS = 0;

inline constexpr std::uint8_t ACK = 0x06;
inline constexpr std::uint8_t NAK = 0x15;

inline constexpr std::uint8_t CTRL_REGISTER = 0x30;
inline constexpr std::uint8_t CTRL_READ = 0x31;
inline constexpr std::uint8_t CTRL_WRITE = 0x32;
inline constexpr std::uint8_t CTRL_EXECUTE = 0x33;

// CTRL_REGISTER
inline constexpr std::uint8_t FN_OFFLINE_QUERY = 0x40;
inline constexpr std::uint8_t FN_SEND_ADDRESS = 0x41;
inline constexpr std::uint8_t FN_REMOVE_REGISTER = 0x42;
inline constexpr std::uint8_t FN_RECONNECT_ALL = 0x43;
inline constexpr std::uint8_t FN_RE_REGISTER = 0x44;

// CTRL_READ
inline constexpr std::uint8_t FN_READ_RUNTIME_FORMAT = 0x40;
inline constexpr std::uint8_t FN_READ_PARAM_FORMAT = 0x41;
inline constexpr std::uint8_t FN_READ_RUNTIME_DATA = 0x42;
inline constexpr std::uint8_t FN_READ_DEVICE_INFO = 0x43;
inline constexpr std::uint8_t FN_READ_PARAM_VALUES = 0x44;

// CTRL_WRITE: a parameter write uses the parameter identifier as function code.
inline constexpr std::uint8_t FN_WRITE_SERIAL_NO = 0x4C;

// CTRL_EXECUTE
inline constexpr std::uint8_t FN_RESET_TOTALS = 0x40;

// Every reply to a request with this function code is accepted whatever its
// destination.
inline constexpr std::uint8_t FN_ANY_DESTINATION = 0x40;

inline constexpr std::size_t DEVICE_INFO_LENGTH = 64;
