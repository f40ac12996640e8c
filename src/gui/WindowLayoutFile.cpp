#include "WindowLayoutFile.h"

#include <QString>
#include <QStringList>

namespace {
const char* const FILE_NAME = "HeliowatchWindow.ini";
const char* const WINDOW = "Window";
const char* const PANE_KEYS[] = {"List", "GeneralStatus", "TodayEnergy", "Power"};
const char* const LIST = "InverterList";

std::string Beside(const std::string& settingsPath) {
    const auto slash = settingsPath.rfind('/');
    return slash == std::string::npos ? FILE_NAME : settingsPath.substr(0, slash + 1) + FILE_NAME;
}

std::optional<QRectF> ReadShare(const std::string& text) {
    const QStringList parts = QString::fromStdString(text).split(',');
    if (parts.size() != 4) {
        return std::nullopt;
    }
    std::array<double, 4> values{};
    for (std::size_t index = 0; index < values.size(); ++index) {
        bool ok = false;
        values[index] = parts[static_cast<int>(index)].toDouble(&ok);
        if (!ok || values[index] < 0.0 || values[index] > 1.0) {
            return std::nullopt;
        }
    }
    return QRectF(values[0], values[1], values[2], values[3]);
}

std::string ShareText(const QRectF& share) {
    return QString("%1,%2,%3,%4")
        .arg(share.x(), 0, 'f', 4)
        .arg(share.y(), 0, 'f', 4)
        .arg(share.width(), 0, 'f', 4)
        .arg(share.height(), 0, 'f', 4)
        .toStdString();
}

QList<int> ReadWidths(const std::string& text) {
    QList<int> widths;
    for (const QString& part : QString::fromStdString(text).split(',', Qt::SkipEmptyParts)) {
        widths << std::max(part.toInt(), 0);
    }
    return widths;
}

std::string WidthsText(const QList<int>& widths) {
    QStringList parts;
    for (const int width : widths) {
        parts << QString::number(width);
    }
    return parts.join(',').toStdString();
}
} // namespace

WindowLayoutFile::WindowLayoutFile(const std::string& settingsPath)
    : m_store(Beside(settingsPath)) {}

WindowLayoutFile::Layout WindowLayoutFile::Read() const {
    Layout layout;
    layout.geometry = QByteArray::fromBase64(
        QByteArray::fromStdString(m_store.GetString(WINDOW, "Geometry", {})));
    PaneShares panes;
    bool allPanes = true;
    for (std::size_t index = 0; index < PANES; ++index) {
        const auto share = ReadShare(m_store.GetString(WINDOW, PANE_KEYS[index], {}));
        allPanes = allPanes && share.has_value();
        panes[index] = share.value_or(QRectF());
    }
    if (allPanes) {
        layout.panes = panes;
    }
    layout.columnWidths = ReadWidths(m_store.GetString(LIST, "ColumnWidths", {}));
    layout.sortColumn = m_store.GetInt(LIST, "SortColumn", -1, {-1, 100});
    layout.sortDescending = m_store.GetInt(LIST, "SortDescending", 0, {0, 1}) == 1;
    return layout;
}

bool WindowLayoutFile::Write(const Layout& layout) {
    SettingsStore::KeyValues window{{"Geometry", layout.geometry.toBase64().toStdString()}};
    for (std::size_t index = 0; index < PANES && layout.panes; ++index) {
        window.emplace_back(PANE_KEYS[index], ShareText((*layout.panes)[index]));
    }
    return m_store.WriteValues(WINDOW, window) &&
           m_store.WriteValues(LIST, {{"ColumnWidths", WidthsText(layout.columnWidths)},
                                      {"SortColumn", std::to_string(layout.sortColumn)},
                                      {"SortDescending", layout.sortDescending ? "1" : "0"}});
}
