#pragma once

#include "CommandReport.h"
#include "DaySeries.h"
#include "InvFaultRecord.h"
#include "ParamSlots.h"
#include "ParamWrite.h"
#include "RuntimeData.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <ctime>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CInverterGroup;
class MessageTarget;

// One inverter registered on a bus. Written by its port's communication
// thread, read by the user interface.
//
// Fields wider than one word (strings, runtime data, day series, field lists,
// parameters, pending writes, tickets and reports) are guarded by the owning
// group's m_lock.
// Single-word fields that other threads read or set are atomics.
class CInverter {
public:
    CInverter();
    virtual ~CInverter();
    CInverter(const CInverter&) = delete;
    CInverter& operator=(const CInverter&) = delete;

    // Locks the owning group, which guards this record's wide fields. A record
    // not yet in a group is seen only by the thread creating it: no lock.
    std::unique_lock<std::recursive_mutex> Lock() const;

    std::string m_strSerialNo;
    std::string m_strBusSerialNo; // as the inverter gave it when it registered
    std::string m_strModel;
    std::string m_strFirmwareVer;
    std::string m_strManufacturer;
    std::atomic<int> m_nRatedPower{0};
    std::atomic<int> m_nPhaseType{0}; // 1 single, 3 three, 0 until described
    std::atomic<double> m_dNominalVpv{0.0};
    std::unique_ptr<RuntimeData> m_pRuntimeData;
    std::uint16_t m_nRadiation = 0;
    std::uint16_t m_nWindSpeed = 0;
    std::uint16_t m_nEnvTemp = 0;
    std::uint16_t m_nModuleTemp = 0;
    CDaySeries m_powerGraph;
    // The day before its first sample was asked for; its thread's alone.
    bool m_bPastAsked = false;
    std::vector<std::uint8_t> m_runtimeFormat;
    std::vector<std::uint8_t> m_paramFormat;
    ParamValues m_params{};
    std::vector<ParamWrite> m_pendingParamWrites;
    std::uint8_t m_nAddress = 0; // fixed for the record's life
    std::atomic<int> m_bOnline{0};
    // When the offline rule last fired; 0 while it never has.
    std::atomic<std::time_t> m_tOffline{0};
    std::atomic<int> m_nErrorState{0};
    std::atomic<std::uint32_t> m_dwErrorCode{0};
    std::atomic<int> m_nLastMode{0};
    InvFaultRecord m_faultRecord;
    int m_nFaultRecordIndex = -1;
    CInverterGroup* m_pGroup = nullptr;
    std::atomic<int> m_bRemoveRequest{0};
    std::string m_strNewSerialNo;         // stored before m_bChangeSerialRequest is set
    std::uint32_t m_nNewSerialTicket = 0; // stored with the number
    std::atomic<int> m_bChangeSerialRequest{0};
    std::uint32_t m_nLastTicket = 0;
    std::deque<CommandReport> m_commandReports; // newest last
    std::atomic<int> m_bResetTotalsRequest{0};
    int m_nFailCount = 0;
    std::atomic<MessageTarget*> m_hStatusWnd{nullptr};
};
