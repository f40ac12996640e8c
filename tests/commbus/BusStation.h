#pragma once

#include "DecodeCounter.h"
#include "GroupSnapshot.h"
#include "Recorders.h"
#include "comm/CommThread.h"
#include "model/InverterGroup.h"

#include <memory>
#include <vector>

// The station side of one port: its group and its communication thread on
// real serial devices and real time, with the list view's messages and the
// thread's message boxes recorded.
class BusStation {
public:
    explicit BusStation(int port);
    ~BusStation();
    BusStation(const BusStation&) = delete;
    BusStation& operator=(const BusStation&) = delete;

    void Start();
    // Ends the thread as the document does at shutdown, and joins it.
    void Stop();

    CInverterGroup& Group() { return m_group; }
    bool ThreadFinished() const { return m_thread && m_thread->Finished(); }
    std::vector<InverterSnapshot> Inverters() const { return SnapshotGroup(m_group); }
    // The record at a list position, or null.
    CInverter* Record(std::size_t index) const;

    const RecordingTarget& List() const { return m_list; }
    const RecordingNotifier& Notifier() const { return m_notifier; }
    int DecodedPolls() const { return m_decoded.Count(); }

private:
    RecordingTarget m_list;
    RecordingNotifier m_notifier;
    DecodeCounter m_decoded;
    CInverterGroup m_group;
    std::unique_ptr<CommThread> m_thread;
};
