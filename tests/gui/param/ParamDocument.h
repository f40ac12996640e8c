#pragma once

#include "Recorders.h"
#include "TempDirectory.h"
#include "model/CommandReport.h"
#include "model/ParamWrite.h"
#include "store/HeliowatchDoc.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class CInverterGroup;

using Params = std::array<std::uint16_t, 12>;

// Vpv-Start 150.0, T-Start 20, PV stops 500.0 and 100.0, Vac-Min 190.0,
// Vac-Max 250.0, Fac-Min 49.80, Fac-Max 50.20.
inline constexpr Params TYPICAL_PARAMS{1500, 20, 5000, 1000, 1900, 2500, 4980, 5020};

// A document with one port whose communication thread ends at once, so the
// test plays the thread's part on the records. Its data directory, where the
// writes are recorded, is a fresh one.
class ParamDocument {
public:
    ParamDocument();
    ~ParamDocument();

    CHeliowatchDoc& Document() { return *m_document; }
    CInverter* AddInverter(const Params& params = TYPICAL_PARAMS);
    void Remove(CInverter* inverter);
    CInverterGroup& Group() { return *m_pGroup; }
    // What the communication thread does once the inverter has answered the
    // newest queued write: keeps an acknowledged value and reports.
    void Answer(CInverter* inverter, CommandOutcome outcome);
    std::vector<ParamWrite> Pending(CInverter* inverter) const;

private:
    TempDirectory m_data;
    RecordingNotifier m_notifier;
    std::unique_ptr<CHeliowatchDoc> m_document;
    CInverterGroup* m_pGroup = nullptr;
    std::uint8_t m_nNextAddress = 1;
};

bool operator==(const ParamWrite& a, const ParamWrite& b);
