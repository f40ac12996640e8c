#pragma once

#include <QString>

class CInverter;
class CInverterGroup;

// "Com3, Address 3, Serno SIM0000000003001": an inverter named as the list
// shows it. With the inverter's group locked.
QString InverterIdentity(const CInverter& inverter, const CInverterGroup& group);
