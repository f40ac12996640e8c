#include "FakePlant.h"

#include <algorithm>
#include <cstring>

FakeInverter& FakePlant::Add(const std::string& serial, char phase) {
    inverters.push_back(FakeInverter{});
    inverters.back().serial = serial;
    inverters.back().phase = phase;
    return inverters.back();
}

FakeInverter* FakePlant::ByAddress(std::uint8_t address) {
    for (FakeInverter& inverter : inverters) {
        if (inverter.address == address && address != 0) {
            return &inverter;
        }
    }
    return nullptr;
}

Bytes FakePlant::Answer(const BusMessage& request) {
    if (request.Destination() == BROADCAST_ADDRESS) {
        return AnswerBroadcast(request);
    }
    FakeInverter* inverter = ByAddress(request.Destination());
    if (inverter == nullptr || inverter->silent) {
        return {};
    }
    inverter->received.push_back(request);
    return AnswerAddressed(*inverter, request);
}

Bytes FakePlant::AnswerBroadcast(const BusMessage& request) {
    if (request.Control() != CTRL_REGISTER) {
        return {};
    }
    if (request.Function() == FN_OFFLINE_QUERY) {
        Bytes reply;
        for (const FakeInverter& inverter : inverters) {
            if (inverter.address != 0 || inverter.silent) {
                continue;
            }
            Bytes serial(inverter.serial.begin(), inverter.serial.end());
            serial.resize(SERIAL_NO_LENGTH, 0);
            const Bytes frame = ReplyFrame(0, CTRL_REGISTER, FN_OFFLINE_QUERY, serial, 0);
            // Two answers at once garble each other on the wire.
            reply.resize(std::max(reply.size(), frame.size()), 0);
            for (std::size_t i = 0; i < frame.size(); ++i) {
                reply[i] |= frame[i];
            }
            if (!collide) {
                break;
            }
        }
        return reply;
    }
    if (request.Function() == FN_SEND_ADDRESS) {
        const std::string serial(reinterpret_cast<const char*>(request.Data()),
                                 strnlen(reinterpret_cast<const char*>(request.Data()), 16));
        for (FakeInverter& inverter : inverters) {
            if (inverter.serial == serial && !inverter.silent) {
                inverter.address = request.Data()[SERIAL_NO_LENGTH];
                return ReplyFrame(inverter.address, CTRL_REGISTER, FN_SEND_ADDRESS,
                                  {inverter.ackAddress ? ACK : NAK});
            }
        }
    }
    return {};
}

Bytes FakePlant::AnswerAddressed(FakeInverter& inverter, const BusMessage& request) {
    const std::uint8_t me = inverter.address;
    const std::uint8_t to = inverter.replyDestination;
    const Bytes ack{inverter.ackCommands ? ACK : NAK};
    switch (request.Control() << 8 | request.Function()) {
    case CTRL_READ << 8 | FN_READ_DEVICE_INFO:
        return inverter.describe
                   ? ReplyFrame(me, CTRL_READ, FN_READ_DEVICE_INFO, DeviceInfo(inverter), to)
                   : Bytes{};
    case CTRL_READ << 8 | FN_READ_RUNTIME_FORMAT:
        return ReplyFrame(me, CTRL_READ, FN_READ_RUNTIME_FORMAT, inverter.runtimeFormat, to);
    case CTRL_READ << 8 | FN_READ_PARAM_FORMAT:
        return ReplyFrame(me, CTRL_READ, FN_READ_PARAM_FORMAT, inverter.paramFormat, to);
    case CTRL_READ << 8 | FN_READ_PARAM_VALUES:
        return ReplyFrame(me, CTRL_READ, FN_READ_PARAM_VALUES, inverter.paramValues, to);
    case CTRL_READ << 8 | FN_READ_RUNTIME_DATA:
        return ReplyFrame(me, CTRL_READ, FN_READ_RUNTIME_DATA, inverter.runtimeValues, to);
    case CTRL_REGISTER << 8 | FN_REMOVE_REGISTER:
        if (inverter.ackCommands) {
            inverter.address = 0;
        }
        return ReplyFrame(me, CTRL_REGISTER, FN_REMOVE_REGISTER, ack, to);
    case CTRL_EXECUTE << 8 | FN_RESET_TOTALS:
        return ReplyFrame(me, CTRL_EXECUTE, FN_RESET_TOTALS, ack, to);
    default:
        if (request.Control() == CTRL_WRITE) {
            return ReplyFrame(me, CTRL_WRITE, request.Function(), ack, to);
        }
        return {};
    }
}

Bytes DeviceInfo(const FakeInverter& inverter) {
    std::string text(64, ' ');
    text[0] = inverter.phase;
    text.replace(1, 6, "  3000");
    text.replace(7, 5, "V1.20");
    text.replace(12, 16, "SUNBOX 3000     ");
    text.replace(28, 16, "  Example Works ");
    std::string serial =
        inverter.describedSerial.empty() ? inverter.serial : inverter.describedSerial;
    serial.resize(16, ' ');
    text.replace(44, 16, serial);
    text.replace(60, 4, "3600");
    return Bytes(text.begin(), text.end());
}
