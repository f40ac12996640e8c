#include "PlantCountsButton.h"

#include "store/HeliowatchDoc.h"
#include "store/PlantTotals.h"

#include <QTimer>

namespace {
QString Counted(int count, const QString& one, const QString& many) {
    return QString("%1 %2").arg(count).arg(count == 1 ? one : many);
}
} // namespace

PlantCountsButton::PlantCountsButton(const CHeliowatchDoc& document, QWidget* parent)
    : QToolButton(parent), m_document(document) {
    setObjectName("PlantCounts");
    setAutoRaise(true);
    setToolTip("Open the error list");
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &PlantCountsButton::Refresh);
    timer->start(REFRESH_MS);
    Refresh();
}

void PlantCountsButton::Refresh() {
    setText(CountsText(ReadPlantTotals(m_document, m_document.Now())));
}

QString PlantCountsButton::CountsText(const PlantTotals& totals) {
    QStringList counts;
    if (totals.faults > 0) {
        counts << Counted(totals.faults, "fault", "faults");
    }
    if (totals.offline > 0) {
        counts << Counted(totals.offline, "offline", "offline");
    }
    if (totals.portsLost > 0) {
        counts << Counted(totals.portsLost, "port lost", "ports lost");
    }
    return counts.isEmpty() ? QStringLiteral("No faults") : counts.join(" \u00b7 ");
}
