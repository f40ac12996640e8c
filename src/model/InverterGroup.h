#pragma once

#include "Inverter.h"
#include "ReplyCheck.h"
#include "ScheduleMark.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class SerialPort;

// One enabled port: its serial settings, its inverters and the requests the
// user interface hands to its communication thread.
//
// m_lock guards m_inverters and the wide fields of every inverter in it. It is
// held while the list is walked or changed and while such a field is read or
// replaced, never across serial I/O. It is recursive so that code walking the
// list may call helpers that lock again.
class CInverterGroup {
public:
    static constexpr std::uint8_t NO_ADDRESS = 0xFF;
    static constexpr int MAX_ADDRESS = 20;

    CInverterGroup();
    virtual ~CInverterGroup();
    CInverterGroup(const CInverterGroup&) = delete;
    CInverterGroup& operator=(const CInverterGroup&) = delete;

    std::unique_lock<std::recursive_mutex> Lock() const {
        return std::unique_lock<std::recursive_mutex>(m_lock);
    }

    // The next address for a new serial number, or NO_ADDRESS when the number
    // is already registered here (FindBySerial) or the port has handed out all
    // its addresses.
    std::uint8_t AllocateAddress(const std::uint8_t* serial, std::size_t length);
    // A new record for an address no inverter of the group has, else null.
    std::unique_ptr<CInverter> CreateInverter(std::uint8_t address);
    // Sets the record's group and appends it to m_inverters.
    CInverter* AppendInverter(std::unique_ptr<CInverter> inverter);
    CInverter* FindByAddress(std::uint8_t address) const;
    // The first record that has this serial number, exactly, as its own or as
    // the one its inverter gave on the bus; else null.
    CInverter* FindBySerial(const std::string& serialNo) const;
    void RemoveInverter(CInverter* inverter);
    // The records in list order. Only the group's communication thread adds or
    // removes records, so on that thread the pointers stay valid without the
    // lock; other threads must hold the lock while they use them.
    std::vector<CInverter*> Inverters() const;
    // Why the inverter port last failed to open, in words; empty while it
    // opens. Swapping gives back the reason it replaces.
    std::string PortProblem() const;
    std::string SwapPortProblem(std::string problem);
    // Another inverter of the group has this serial number, ignoring case.
    bool IsSerialTaken(const CInverter* inverter, const std::string& serialNo) const;

    int m_nComPort = 0;
    int m_nBaudRate = 0;
    int m_nParity = 0;
    int m_nDataBits = 0;
    int m_nStopBits = 0;
    std::atomic<int> m_nEnvComPort{0};
    int m_nEnvBaudRate = 0;
    int m_nEnvParity = 0;
    int m_nEnvDataBits = 0;
    int m_nEnvStopBits = 0;
    std::vector<std::unique_ptr<CInverter>> m_inverters;
    std::atomic<int> m_bPortOpen{0};
    std::atomic<int> m_bEnvEnabled{0};
    std::atomic<int> m_bEnvPortOpen{0};
    std::atomic<int> m_bStopRequest{0};
    std::atomic<int> m_bEnvChangeRequest{0};
    std::atomic<int> m_nNewEnvComPort{0}; // stored before m_bEnvChangeRequest is set
    std::unique_ptr<SerialPort> m_pSerial;
    std::unique_ptr<SerialPort> m_pEnvSerial;
    // None until the first: the first registration and poll are due at once.
    std::optional<ScheduleMark> m_tLastRegister;
    std::optional<ScheduleMark> m_tLastPoll;
    std::atomic<int> m_bReconnectRequest{0};
    // Set once an offline query found nobody left to register: the port's
    // first registration round is over.
    std::atomic<int> m_bRegistrationRoundDone{0};
    int m_nNextAddress = 1; // wider than a bus address so that it never wraps to 0
    ReplyRejectCounts m_rejects;
    // Counted by the communication thread, read by anyone.
    std::atomic<std::uint64_t> m_nPolls{0};
    std::atomic<std::uint64_t> m_nFailedPolls{0};
    std::atomic<std::uint64_t> m_nReopens{0};
    // How long the last whole polling cycle took, in milliseconds; 0 before
    // the first ends.
    std::atomic<std::int64_t> m_nLastCycleMs{0};
    // When the communication thread last finished a step (an exchange, a pass
    // of its loop, an attempt to open the port), in milliseconds on its
    // clock's monotonic scale: what the service watchdog watches.
    std::atomic<std::int64_t> m_nHeartbeatMs{0};

private:
    mutable std::recursive_mutex m_lock;
    std::string m_strPortProblem; // guarded by m_lock
};
