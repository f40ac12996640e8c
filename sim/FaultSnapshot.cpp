#include "FaultSnapshot.h"

namespace sim {

namespace {
template <typename Snapshot>
auto SingleSlot(Snapshot& s, std::uint8_t id) -> decltype(&s.gfci) {
    switch (id) {
    case 0x3A:
    case 0x7C: return &s.vpv[0];
    case 0x39:
    case 0x7B: return &s.temp;
    case 0x78: return &s.vac[0];
    case 0x79: return &s.fac[0];
    case 0x3D:
    case 0x7D: return &s.gfci;
    case 0x7A: return &s.zac;
    default: return nullptr;
    }
}

template <typename Snapshot>
auto ThreeSlot(Snapshot& s, std::uint8_t id) -> decltype(&s.gfci) {
    switch (id) {
    case 0x3A: return &s.vpv[0];
    case 0x3B: return &s.vpv[1];
    case 0x3C: return &s.vpv[2];
    case 0x39: return &s.temp;
    case 0x78: return &s.vac[0];
    case 0xB8: return &s.vac[1];
    case 0xF8: return &s.vac[2];
    case 0x79: return &s.fac[0];
    case 0xB9: return &s.fac[1];
    case 0xF9: return &s.fac[2];
    case 0x3D: return &s.gfci;
    default: return nullptr;
    }
}
} // namespace

std::uint16_t* FaultSnapshot::Slot(InverterKind kind, std::uint8_t id) {
    return kind == InverterKind::Three ? ThreeSlot(*this, id) : SingleSlot(*this, id);
}

const std::uint16_t* FaultSnapshot::Slot(InverterKind kind, std::uint8_t id) const {
    return kind == InverterKind::Three ? ThreeSlot(*this, id) : SingleSlot(*this, id);
}

} // namespace sim
