#pragma once

#include <QLabel>

class Publisher;
class QMainWindow;

// The broker's state in the window's status bar, which appears the first
// time publishing is on.
class BrokerStateLabel : public QLabel {
    Q_OBJECT

public:
    BrokerStateLabel(const Publisher& publisher, QMainWindow& window);

private:
    void Refresh();

    const Publisher& m_publisher;
    QMainWindow& m_window;
    bool m_placed = false;
};
