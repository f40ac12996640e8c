#include "HistoryWriter.h"

#include "HistoryFile.h"
#include "HistoryFileName.h"
#include "HistoryLine.h"
#include "StorageHealth.h"
#include "model/Inverter.h"
#include "platform/DataDirectory.h"

namespace {
using LineFormatter = std::string (*)(const RuntimeData&);

void WriteHistory(const CInverter& inverter, std::string_view header, LineFormatter format) {
    std::string serialNo;
    std::string line;
    {
        auto lock = inverter.Lock();
        if (!inverter.m_pRuntimeData) {
            return;
        }
        serialNo = inverter.m_strSerialNo;
        line = format(*inverter.m_pRuntimeData);
    }
    const std::string path = HistoryFilePath(serialNo);
    std::string failure;
    const bool written = AppendHistoryLine(path, header, line, &failure);
    ReportStorageWrite(path, written ? std::string() : failure);
}
} // namespace

std::string HistoryFilePath(const std::string& serialNo) {
    return HistLogDirectory() + "/" + HistoryFileName(serialNo);
}

void WriteSingleHistory(const CInverter& inverter) {
    WriteHistory(inverter, SINGLE_HISTORY_HEADER, SingleHistoryLine);
}

void WriteThreeHistory(const CInverter& inverter) {
    WriteHistory(inverter, THREE_HISTORY_HEADER, ThreeHistoryLine);
}
