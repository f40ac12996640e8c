#include "InverterIdentity.h"

#include "model/InverterGroup.h"
#include "store/BusText.h"

QString InverterIdentity(const CInverter& inverter, const CInverterGroup& group) {
    return QString("Com%1, Address %2, Serno %3")
        .arg(group.m_nComPort)
        .arg(static_cast<int>(inverter.m_nAddress))
        .arg(BusText(inverter.m_strSerialNo));
}
