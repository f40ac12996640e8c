#pragma once

#include "PtyPair.h"
#include "TempDirectory.h"
#include "platform/ComSerial.h"
#include "platform/PortDirectory.h"

#include <chrono>
#include <cstdint>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <thread>
#include <vector>

// A CSerial on COM3 whose far end is the master of a pseudo-terminal.
class SerialLineTest : public ::testing::Test {
protected:
    static constexpr int PORT = 3;

    void SetUp() override {
        ASSERT_FALSE(m_directory.Path().empty());
        ASSERT_TRUE(m_pty.IsOpen());
        ASSERT_TRUE(m_pty.LinkAs(m_directory.Path(), PORT));
        SetPortDirectory(m_directory.Path());
    }

    void TearDown() override { SetPortDirectory(""); }

    // The master's bytes reach the slave asynchronously; wait until the
    // port has them.
    static bool WaitForInput(const CSerial& serial, int count) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        int available = 0;
        while (ioctl(serial.m_hComm, FIONREAD, &available) == 0 && available < count) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return available >= count;
    }

    static std::vector<std::uint8_t> Sequence(std::size_t count, std::uint8_t first) {
        std::vector<std::uint8_t> bytes(count);
        for (std::size_t i = 0; i < count; ++i) {
            bytes[i] = static_cast<std::uint8_t>(first + i);
        }
        return bytes;
    }

    // Sent by the port, read back at the master.
    bool ArrivesIntact(const std::vector<std::uint8_t>& bytes) {
        return m_serial.Send(bytes.data(), static_cast<int>(bytes.size())) == 1 &&
               m_pty.Read(bytes.size(), std::chrono::seconds(1)) == bytes;
    }

    TempDirectory m_directory;
    PtyPair m_pty;
    CSerial m_serial{PORT, 9600, 0, 8, 0};
};

using Milliseconds = std::chrono::duration<double, std::milli>;

template <typename Action>
double MillisecondsTaken(Action action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return Milliseconds(std::chrono::steady_clock::now() - start).count();
}
