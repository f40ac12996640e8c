#pragma once

#include "SerialPort.h"

#include <string>

class Deadline;

// A serial device in raw mode with fixed time-outs: a read gives up 1 ms per
// requested byte plus the read constant after it started.
class CSerial : public SerialPort {
public:
    static constexpr int NO_HANDLE = -1;      // never opened, or closed
    static constexpr int INVALID_HANDLE = -2; // the last open failed

    CSerial() = default;
    CSerial(int port, int baud, int parity, int dataBits, int stopBits);
    explicit CSerial(const SerialSettings& settings);
    ~CSerial() override;
    CSerial(const CSerial&) = delete;
    CSerial& operator=(const CSerial&) = delete;

    int Open() override;
    bool IsOpen() const override;
    void Close() override;
    int SetTimeouts(int readConstantMs, int writeConstantMs);
    void PurgeRx() override;
    void PurgeTx() override;
    int Send(const std::uint8_t* bytes, int count) override;
    int Receive(std::uint8_t* buffer, int& count) override;
    ReceiveOutcome ReceiveWhole(std::uint8_t* buffer, int& count, const ReplyEnd& end) override;
    std::string LastError() const override { return m_strLastError; }

    int m_hComm = NO_HANDLE;
    int m_nCommPort = 0;
    int m_nCommBaud = 0;
    int m_nCommParity = 0;
    int m_nCommDataBits = 0;
    int m_nCommStopBits = 0;

private:
    class PortLine;

    SerialSettings Settings() const;
    // False, with the trace line for a port never opened, when no read can
    // start.
    bool CanRead(const std::uint8_t* buffer, int count) const;
    // The descriptor of the port, or -1 with m_strLastError set.
    int OpenDevice();
    void DrainOutput();
    bool WriteAll(const std::uint8_t* bytes, int count, const Deadline& deadline);
    // Bytes gathered until count or the deadline; -1 when the port failed.
    int Gather(std::uint8_t* buffer, int count, const Deadline& deadline);
    // False on time-out or failure; a hung-up port is dropped.
    bool AwaitReady(short events, const Deadline& deadline);
    // Keeps the reason of a failed read or write; a vanished device is
    // dropped, any other failure is told once until the port works again.
    void KeepIoError(const char* what, int error);
    void DropVanishedPort();

    int m_nReadConstantMs = 100;
    int m_nWriteConstantMs = 100;
    bool m_bThroughEntry = false; // opened through the port-directory entry
    std::string m_strLastError;
    std::string m_strToldIoError; // the failure last told, until an exchange succeeds
};
