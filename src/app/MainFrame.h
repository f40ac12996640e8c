#pragma once

#include <QMainWindow>
#include <functional>

class CDeviceListView;
class CHeliowatchDoc;
class CInverter;
class PaneFrame;
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
    // Runs when the window closes, before any pane is destroyed.
    void SetShutdown(std::function<void()> shutdown) { m_shutdown = std::move(shutdown); }

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
    void OnRemoveDevice();
    void OnResetTotals();
    void OnReconnectAll();
    void OnIntervalSetting();
    void OnAbout();
    void OnErrorList();
    void OnInverterStatus();
    void ShowInverterStatus(CInverter* inverter);
    void OnParameterSetting();
    void OnCommSetting();
    // Asks for confirmation, then sets the request on the selected inverter.
    void ConfirmRequest(const QString& question, bool removal);

    CHeliowatchDoc& m_document;
    QMdiArea* m_mdiArea;
    PaneFrame* m_listFrame = nullptr;
    CDeviceListView* m_listView = nullptr;
    PaneFrame* m_generalStatusPane = nullptr;
    PaneFrame* m_todayEnergyPane = nullptr;
    PaneFrame* m_powerPane = nullptr;
    bool m_bPaneTimerArmed = false;
    bool m_bPanesCreated = false;
    std::function<void()> m_shutdown;
};
