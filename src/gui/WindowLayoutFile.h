#pragma once

#include "store/SettingsStore.h"

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <array>
#include <optional>
#include <string>

// The window, its panes and the inverter list's columns as the operator left
// them, in a file of their own beside the station's settings, so that the
// settings a service shares are never touched by a window.
class WindowLayoutFile {
public:
    static constexpr std::size_t PANES = 4;
    // Each pane's rectangle as shares of the client area's width and height.
    using PaneShares = std::array<QRectF, PANES>;

    struct Layout {
        QByteArray geometry; // as QWidget::saveGeometry gives it; empty when unknown
        std::optional<PaneShares> panes;
        QList<int> columnWidths; // 0 where the operator chose none
        int sortColumn = -1;
        bool sortDescending = false;
    };

    explicit WindowLayoutFile(const std::string& settingsPath);

    Layout Read() const;
    // False, with a warning, when it could not be written.
    [[nodiscard]] bool Write(const Layout& layout);
    const std::string& Path() const { return m_store.Path(); }

private:
    SettingsStore m_store;
};
