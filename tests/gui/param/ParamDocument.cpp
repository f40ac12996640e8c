#include "ParamDocument.h"

#include "IdleEnvironment.h"
#include "comm/CommShared.h"
#include "comm/CommandReports.h"
#include "comm/InverterCommands.h"
#include "model/InverterGroup.h"
#include "platform/DataDirectory.h"
#include "platform/ExitEvent.h"

#include <gtest/gtest.h>

ParamDocument::ParamDocument() {
    g_viewsCreated = 0;
    SetDataDirectory(m_data.Path());
    m_document = std::make_unique<CHeliowatchDoc>(IdleEnvironment(m_notifier),
                                                  ::testing::TempDir() + "/none.ini");
    m_document->AddPortGroup(5, 0);
    m_pGroup = m_document->GetGroups()[0];
}

ParamDocument::~ParamDocument() {
    m_document.reset();
    g_hExitEvent.Reset();
}

CInverter* ParamDocument::AddInverter(const Params& params) {
    auto inverter = m_pGroup->CreateInverter(m_nNextAddress++);
    inverter->m_params = params;
    return m_pGroup->AppendInverter(std::move(inverter));
}

void ParamDocument::Remove(CInverter* inverter) {
    m_pGroup->RemoveInverter(inverter);
}

void ParamDocument::Answer(CInverter* inverter, CommandOutcome outcome) {
    auto lock = m_pGroup->Lock();
    const ParamWrite& write = inverter->m_pendingParamWrites.back();
    if (outcome == OUTCOME_ACKNOWLEDGED) {
        StoreParamValue(write.m_nId, write.m_nValue, *inverter);
    }
    FileCommandReport(*inverter, write.m_nTicket, outcome);
}

std::vector<ParamWrite> ParamDocument::Pending(CInverter* inverter) const {
    auto lock = m_pGroup->Lock();
    return inverter->m_pendingParamWrites;
}

bool operator==(const ParamWrite& a, const ParamWrite& b) {
    return a.m_nId == b.m_nId && a.m_nValue == b.m_nValue;
}
