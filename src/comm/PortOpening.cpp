#include "PortOpening.h"

#include "model/InverterGroup.h"
#include "platform/Log.h"
#include "platform/PortDirectory.h"
#include "platform/SerialPort.h"

void OpenInverterPort(CInverterGroup& group) {
    group.m_bPortOpen = group.m_pSerial->Open();
    const std::string problem = group.m_bPortOpen ? std::string() : group.m_pSerial->LastError();
    const std::string before = group.SwapPortProblem(problem);
    // Asked at every attempt, so that where the entry led is known once it is gone.
    const std::string port = PortRouteText(group.m_nComPort);
    if (problem == before) {
        return;
    }
    if (problem.empty()) {
        Log(LogLevel::Info, port + " opened again");
    } else {
        Log(LogLevel::Warning, port + ": " + problem);
    }
}
