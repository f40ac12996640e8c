#pragma once

#include "HistoryFollower.h"
#include "MqttSettings.h"
#include "PlantDayCurves.h"
#include "StationPollSink.h"
#include "comm/CommEnvironment.h"

#include <chrono>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CInverter;
class CInverterGroup;
class CommThread;
class SettingsStore;

// The station's one document: owner of the port groups and their
// communication threads, keeper of the settings, source of plant totals.
class CHeliowatchDoc {
public:
    // The environment gives the threads their clock, ports and message boxes;
    // the document adds its own sink for fault tracking and history.
    CHeliowatchDoc(CommEnvironment environment, std::string settingsPath);
    virtual ~CHeliowatchDoc();
    CHeliowatchDoc(const CHeliowatchDoc&) = delete;
    CHeliowatchDoc& operator=(const CHeliowatchDoc&) = delete;

    // Reads the settings, starts one thread per enabled port and creates the
    // history directory. False, with the reason, when the settings file cannot
    // be read; nothing is started then.
    bool OnNewDocument(std::string* problem = nullptr);
    bool LoadSettings(std::string* problem = nullptr);
    const std::string& SettingsPath() const;
    void AddPortGroup(int comPort, int envComPort);
    bool SaveComSettings();
    int GetInterval() const;
    // False when the setting could not be written. The dialog keeps seconds
    // within INTERVAL_RANGE; the file is read back within it in any case.
    bool SetInterval(int seconds);
    bool GetFastReplies() const;
    // Takes effect with the next exchange on every port; false when the
    // setting could not be written.
    bool SetFastReplies(bool on);
    // The clock the communication threads stamp samples with.
    std::time_t Now() const;
    double GetTotalEToday() const;
    double GetTotalETotal() const;
    double GetTotalPower() const;
    void SetCurInverter(CInverter* inverter) { m_pCurInverter = inverter; }
    CInverter* GetCurInverter() const { return m_pCurInverter; }
    std::vector<CInverterGroup*> GetGroups() const;
    // Runs visit on every group while none can be added or removed: for
    // threads other than the one that adds and removes them.
    void VisitGroups(const std::function<void(const CInverterGroup&)>& visit) const;
    // Installed before OnNewDocument; without one the station keeps no
    // history beyond the files.
    void FollowHistory(HistoryFollower* follower);
    // The plant's power and energy of the day, which every sample moves.
    const PlantDayCurves& PlantCurves() const { return m_plantCurves; }
    PlantDayCurves& PlantCurves() { return m_plantCurves; }
    // Runs use on the inverter under its group's lock if the record is still
    // registered; false when it is gone. Records named in posted messages may
    // have been destroyed since, so readers go through here.
    bool WithInverter(const CInverter* inverter,
                      const std::function<void(CInverter&, CInverterGroup&)>& use) const;
    void RemovePortGroup(CInverterGroup* group);
    // Asks every port to send "reconnect all"; safe from any thread.
    void ReconnectAll();
    // Another sink hears of every sample after the station's own.
    void ChainPollSink(PollSink* sink) { m_sink.Chain(sink); }
    const MqttSettings& GetMqttSettings() const { return m_mqtt; }
    // Keeps and saves them; false when the file could not be written.
    bool SetMqttSettings(const MqttSettings& settings);
    // Why the last save of a setting failed, for a person; empty after one
    // that went through.
    const std::string& SaveProblem() const { return m_strSaveProblem; }
    // Ends every communication thread, waiting up to the bound; threads still
    // running then are reported and their groups are never destroyed.
    void OnCloseDocument(std::chrono::milliseconds bound = std::chrono::milliseconds(2500));

private:
    struct Port {
        std::unique_ptr<CInverterGroup> group;
        std::unique_ptr<CommThread> thread;
    };
    // Keeps the reason of a failed save.
    bool Saved(bool written);
    template <class Accessor>
    double SumOverInverters(Accessor accessor, bool onlyProducing) const;

    CommEnvironment m_environment;
    HistoryFollower* m_history = nullptr;
    PlantDayCurves m_plantCurves;
    StationPollSink m_sink;
    std::unique_ptr<SettingsStore> m_settings;
    std::vector<Port> m_groups;
    mutable std::mutex m_groupsLock; // held while m_groups changes or is visited
    CInverter* m_pCurInverter = nullptr;
    MqttSettings m_mqtt;
    std::string m_strSaveProblem;
};
