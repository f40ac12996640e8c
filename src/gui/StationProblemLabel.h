#pragma once

#include <QLabel>

class CHeliowatchDoc;
class QMainWindow;

// What keeps the station from doing its work, in the window's status bar:
// ports that cannot be opened, with the reason, and a data directory that
// takes no writes. It appears the first time there is a problem and is
// emptied when they are gone.
class StationProblemLabel : public QLabel {
    Q_OBJECT

public:
    StationProblemLabel(const CHeliowatchDoc& document, QMainWindow& window);

    void Refresh();

private:
    const CHeliowatchDoc& m_document;
    QMainWindow& m_window;
    bool m_placed = false;
};
