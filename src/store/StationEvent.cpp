#include "StationEvent.h"

const char* StationEventName(StationEventKind kind) {
    switch (kind) {
    case StationEventKind::Registered: return "registered";
    case StationEventKind::Online: return "online";
    case StationEventKind::Offline: return "offline";
    case StationEventKind::FaultOpened: return "fault-opened";
    case StationEventKind::FaultClosed: return "fault-closed";
    case StationEventKind::Removed: return "removed";
    case StationEventKind::PortOpened: return "port-opened";
    case StationEventKind::PortLost: return "port-lost";
    case StationEventKind::PortFailed: return "port-failed";
    }
    return "unknown";
}
