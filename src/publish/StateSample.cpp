#include "StateSample.h"

#include "model/InverterGroup.h"

StateSample CaptureState(const CInverter& inverter) {
    StateSample sample;
    sample.comPort = inverter.m_pGroup != nullptr ? inverter.m_pGroup->m_nComPort : 0;
    sample.address = inverter.m_nAddress;
    sample.serialNo = inverter.m_strSerialNo;
    sample.model = inverter.m_strModel;
    sample.manufacturer = inverter.m_strManufacturer;
    sample.firmware = inverter.m_strFirmwareVer;
    if (inverter.m_pRuntimeData) {
        sample.data = inverter.m_pRuntimeData->Clone();
    }
    sample.offered = OfferedFieldsOf(inverter.m_runtimeFormat);
    return sample;
}
