#pragma once

#include "WindowLayoutFile.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

class CDeviceListView;
class CHeliowatchDoc;
class CInverter;
class MessageTarget;
class MessageTee;
class PaneFrame;
class Publisher;
class QAction;
class QMdiArea;

// The main window: a multiple-document area holding the four panes, created
// on the first pass of the event loop after the window is shown and laid out
// again whenever it changes size, and the menu through which the operator
// steers the station.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(CHeliowatchDoc& document);
    ~CMainFrame() override;

    // The inverter list pane, created with the document at start-up.
    void CreateListPane();
    // Where the operator left it, else maximized on the whole screen.
    void ShowAsLeft();
    // Runs when the window closes, before any pane is destroyed.
    void SetShutdown(std::function<void()> shutdown) { m_shutdown = std::move(shutdown); }
    // Publishing: its settings under the Setting menu, the broker's state in
    // the status bar, and the inverter list's messages also told to listTap.
    void Publish(Publisher& publisher, MessageTarget& listTap);
    // "Alerts..." under the Setting menu runs this with the window.
    void SetAlertsDialog(std::function<void(QWidget*)> show) { m_showAlerts = std::move(show); }

    QMdiArea* MdiArea() const { return m_mdiArea; }
    CDeviceListView* ListView() const { return m_listView; }
    QAction* Command(int id) const;
    bool PanesCreated() const { return m_bPanesCreated; }
    void UpdateCommandStates();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    QAction* AddCommand(class QMenu* menu, const QString& text, int id,
                        void (CMainFrame::*handler)());
    void OnPaneTimer();
    PaneFrame* CreatePane(PaneFrame* frame, QWidget* view);
    void PlacePanes();
    QSize GeneralStatusNeeds() const;
    void NotePaneShares();
    void SaveLayout();
    void OnRemoveDevice();
    void OnResetTotals();
    void OnReconnectAll();
    void OnIntervalSetting();
    void OnAbout();
    void OnErrorList();
    void OnHistory();
    void OnInverterStatus();
    void ShowInverterStatus(CInverter* inverter);
    void OnParameterSetting();
    void OnCommSetting();
    void OnMqttSetting();
    void OnAlertsSetting();
    MessageTarget* ListTarget();
    // Asks for confirmation, then sets the request on the selected inverter.
    void ConfirmRequest(const QString& question, bool removal);
    // Yes or No, No the default.
    bool Confirm(const QString& question);

    CHeliowatchDoc& m_document;
    QMdiArea* m_mdiArea;
    PaneFrame* m_listFrame = nullptr;
    CDeviceListView* m_listView = nullptr;
    PaneFrame* m_generalStatusPane = nullptr;
    PaneFrame* m_todayEnergyPane = nullptr;
    PaneFrame* m_powerPane = nullptr;
    bool m_bPaneTimerArmed = false;
    bool m_bPanesCreated = false;
    bool m_bPlacing = false;
    WindowLayoutFile m_layoutFile;
    WindowLayoutFile::Layout m_layout;
    // Set once the operator moves or resizes a pane: the panes then keep
    // their shares of the client area instead of the two columns.
    std::optional<WindowLayoutFile::PaneShares> m_paneShares;
    std::function<void()> m_shutdown;
    Publisher* m_publisher = nullptr;
    MessageTarget* m_listTap = nullptr;
    std::unique_ptr<MessageTee> m_listTee;
    std::function<void(QWidget*)> m_showAlerts;
};
