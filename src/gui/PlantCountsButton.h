#pragma once

#include <QToolButton>

class CHeliowatchDoc;
struct PlantTotals;

// The plant's troubles counted in the window's status bar ("2 faults ·
// 1 offline · 1 port lost"), from the same totals the web page and the
// published plant message use. A click opens the error list.
class PlantCountsButton : public QToolButton {
    Q_OBJECT

public:
    static constexpr int REFRESH_MS = 1000;

    explicit PlantCountsButton(const CHeliowatchDoc& document, QWidget* parent = nullptr);

    void Refresh();
    static QString CountsText(const PlantTotals& totals);

private:
    const CHeliowatchDoc& m_document;
};
