#pragma once

#include "station/MessageQueue.h"
#include "store/StationWatch.h"

#include <QObject>

class CHeliowatchDoc;
class QTimer;

// The window's side of the station watch: what the threads post to the
// inverter list also arrives here, and is turned into events on the GUI
// thread, which owns the document, a few times a second.
class StationWatchPump : public QObject {
    Q_OBJECT

public:
    explicit StationWatchPump(const CHeliowatchDoc& document, QObject* parent = nullptr);

    MessageTarget& Tap() { return m_tap; }
    void AddObserver(StationObserver* observer) { m_watch.AddObserver(observer); }

private:
    void Pump();

    MessageQueue m_tap;
    StationWatch m_watch;
    QTimer* m_timer;
};
