#include "StationProblemLabel.h"

#include "model/InverterGroup.h"
#include "platform/PortDirectory.h"
#include "store/HeliowatchDoc.h"
#include "store/StorageHealth.h"
#include "widgets/StationPalette.h"

#include <QMainWindow>
#include <QStatusBar>
#include <QTextDocument>
#include <QTimer>

namespace {
constexpr int REFRESH_MS = 1000;

QStringList Problems(const CHeliowatchDoc& document) {
    QStringList problems;
    for (const CInverterGroup* group : document.GetGroups()) {
        if (const std::string problem = group->PortProblem(); !problem.empty()) {
            problems << QString::fromStdString(PortRouteText(group->m_nComPort) + ": " + problem);
        }
    }
    if (const std::string problem = StorageProblem(); !problem.empty()) {
        problems << QString::fromStdString("history not written: " + problem);
    }
    return problems;
}
} // namespace

StationProblemLabel::StationProblemLabel(const CHeliowatchDoc& document, QMainWindow& window)
    : QLabel(&window), m_document(document), m_window(window) {
    setTextFormat(Qt::PlainText);
    setObjectName("StationProblems");
    setStyleSheet(QString("color: %1;").arg(StationPalette::PROBLEM_TEXT.name()));
    hide();
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &StationProblemLabel::Refresh);
    timer->start(REFRESH_MS);
}

void StationProblemLabel::Refresh() {
    const QStringList problems = Problems(m_document);
    if (!m_placed && problems.isEmpty()) {
        return;
    }
    if (!m_placed) {
        m_placed = true;
        m_window.statusBar()->addWidget(this, 1);
        show();
    }
    setText(problems.join("; "));
    setToolTip(Qt::convertFromPlainText(problems.join("\n")));
}
