#include "MainFrame.h"

#include "AboutDlg.h"
#include "BrokerStateLabel.h"
#include "CommConfigDlg.h"
#include "DeviceListView.h"
#include "ErrorListDlg.h"
#include "GeneralStatusView.h"
#include "HistoryDlg.h"
#include "InverterStatusDlg.h"
#include "MessageTee.h"
#include "MqttSettingDlg.h"
#include "PaneFrame.h"
#include "PaneLayout.h"
#include "ParameterSettingDlg.h"
#include "SamplingIntervalDlg.h"
#include "StationProblemLabel.h"
#include "charts/PowerView.h"
#include "charts/TodayEnergyView.h"
#include "comm/CommShared.h"
#include "comm/WindowMessages.h"
#include "model/InverterGroup.h"
#include "platform/Trace.h"
#include "res/ResourceIds.h"
#include "store/BusText.h"
#include "store/HeliowatchDoc.h"
#include "store/PaneTargets.h"
#include "widgets/MessageBox.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QTimer>

namespace {
constexpr int SELECTION_COMMANDS[] = {ID_INVERTER_STATUS, ID_PARAMETER_SETTING, ID_REMOVE_DEVICE,
                                      ID_RESET_TOTALS};

// Names the inverter a confirmation is about, as the list shows it.
QString InverterIdentity(const CInverter& inverter, const CInverterGroup& group) {
    return QString("Com%1, Address %2, Serno %3")
        .arg(group.m_nComPort)
        .arg(static_cast<int>(inverter.m_nAddress))
        .arg(BusText(inverter.m_strSerialNo));
}
} // namespace

CMainFrame::CMainFrame(CHeliowatchDoc& document)
    : m_document(document), m_mdiArea(new QMdiArea(this)) {
    setWindowTitle("Zazavoz communicator");
    setCentralWidget(m_mdiArea);
    m_mdiArea->viewport()->installEventFilter(this);
    BuildMenus();
    UpdateCommandStates();
    new StationProblemLabel(m_document, *this);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    AddCommand(file, "Error", ID_FILE_ERROR, &CMainFrame::OnErrorList);
    AddCommand(file, "History...", ID_VIEW_HISTORY, &CMainFrame::OnHistory);
    file->addSeparator();
    AddCommand(file, "E&xit", ID_APP_EXIT, nullptr);
    connect(Command(ID_APP_EXIT), &QAction::triggered, this, &QWidget::close);

    QMenu* inverter = menuBar()->addMenu("Inverter");
    AddCommand(inverter, "Inverter status", ID_INVERTER_STATUS, &CMainFrame::OnInverterStatus);
    AddCommand(inverter, "Parameter setting", ID_PARAMETER_SETTING,
               &CMainFrame::OnParameterSetting);
    AddCommand(inverter, "Remove device", ID_REMOVE_DEVICE, &CMainFrame::OnRemoveDevice);
    AddCommand(inverter, "Reconnect all device", ID_RECONNECT_ALL, &CMainFrame::OnReconnectAll);
    AddCommand(inverter, "Reset E-total/H-total", ID_RESET_TOTALS, &CMainFrame::OnResetTotals);
    connect(inverter, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);

    QMenu* setting = menuBar()->addMenu("Setting");
    AddCommand(setting, "Communication setting", ID_COMM_SETTING, &CMainFrame::OnCommSetting);
    AddCommand(setting, "Interval setting", ID_INTERVAL_SETTING, &CMainFrame::OnIntervalSetting);
    AddCommand(setting, "MQTT setting...", ID_MQTT_SETTING, &CMainFrame::OnMqttSetting);
    AddCommand(setting, "Alerts...", ID_ALERTS_SETTING, &CMainFrame::OnAlertsSetting);

    QMenu* help = menuBar()->addMenu("&Help");
    AddCommand(help, "About", ID_APP_ABOUT, &CMainFrame::OnAbout);
}

QAction* CMainFrame::AddCommand(QMenu* menu, const QString& text, int id,
                                void (CMainFrame::*handler)()) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::number(id));
    if (handler != nullptr) {
        connect(action, &QAction::triggered, this, handler);
    }
    return action;
}

QAction* CMainFrame::Command(int id) const {
    return findChild<QAction*>(QString::number(id));
}

void CMainFrame::UpdateCommandStates() {
    const bool selected = m_document.GetCurInverter() != nullptr;
    for (const int id : SELECTION_COMMANDS) {
        Command(id)->setEnabled(selected);
    }
}

void CMainFrame::CreateListPane() {
    m_listView = new CDeviceListView(m_document);
    m_listFrame = new CViewFrame("Inverter List");
    m_listFrame->setWidget(m_listView);
    m_mdiArea->addSubWindow(m_listFrame);
    m_listView->OnInitialUpdate();
    m_listFrame->show();
    connect(m_listView, &CDeviceListView::currentInverterChanged, this,
            &CMainFrame::UpdateCommandStates);
    connect(m_listView, &CDeviceListView::statusDialogRequested, this,
            &CMainFrame::ShowInverterStatus);
}

// The panes are laid out from the client area of the shown window, on the
// first pass of the event loop after it is shown, once.
void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_bPaneTimerArmed) {
        m_bPaneTimerArmed = true;
        QTimer::singleShot(1, this, &CMainFrame::OnPaneTimer);
    }
}

void CMainFrame::OnPaneTimer() {
    if (m_listFrame != nullptr) {
        m_listView->Target()->Post(WM_FILL_DEVICE_LIST, 0);
        g_hListWnd = ListTarget();
        Trace("Create views \n");
        auto* generalStatus = new CGeneralStatusView(m_document);
        m_generalStatusPane = CreatePane(new CViewFrame("General Status"), generalStatus);
        generalStatus->OnInitialUpdate();
        auto* todayEnergy = new CTodayEnergyView(m_document);
        m_todayEnergyPane = CreatePane(new CGraphFrame("Today Energy"), todayEnergy);
        todayEnergy->OnInitialUpdate();
        auto* power = new CPowerView(m_document);
        m_powerPane = CreatePane(new CGraphFrame("Power"), power);
        power->OnInitialUpdate();
        PlacePanes();
        m_generalStatusPane->PublishAs(g_hGeneralStatusWnd);
        m_todayEnergyPane->PublishAs(g_hTodayEnergyWnd);
        m_powerPane->PublishAs(g_hPowerWnd);
    }
    // The targets are published before the threads are let go.
    g_viewsCreated = 1;
    m_bPanesCreated = true;
    if (m_listFrame != nullptr) {
        // The operator starts in the list, where the inverter commands are chosen.
        m_mdiArea->setActiveSubWindow(m_listFrame);
        m_listView->setFocus();
    }
    raise();
}

PaneFrame* CMainFrame::CreatePane(PaneFrame* frame, QWidget* view) {
    frame->setWidget(view);
    m_mdiArea->addSubWindow(frame);
    frame->show();
    return frame;
}

void CMainFrame::PlacePanes() {
    const QSize client = m_mdiArea->viewport()->size();
    const PaneLayout layout = LayOutPanes(client.width(), client.height());
    m_listFrame->setGeometry(layout.list);
    m_generalStatusPane->setGeometry(layout.generalStatus);
    m_todayEnergyPane->setGeometry(layout.todayEnergy);
    m_powerPane->setGeometry(layout.power);
}

// The panes follow the client area whenever the window changes size.
bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_mdiArea->viewport() && event->type() == QEvent::Resize &&
        m_powerPane != nullptr && !m_mdiArea->viewport()->size().isEmpty()) {
        PlacePanes();
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Every communication thread ends before any pane or the document goes.
    if (m_shutdown) {
        m_shutdown();
        m_shutdown = nullptr;
    }
    g_hListWnd = nullptr;
    event->accept();
}

void CMainFrame::OnRemoveDevice() {
    ConfirmRequest("Are you sure to delete device?", true);
}

void CMainFrame::OnResetTotals() {
    ConfirmRequest("Are you sure to reset e-total and h-total?", false);
}

void CMainFrame::ConfirmRequest(const QString& question, bool removal) {
    CInverter* selected = m_document.GetCurInverter();
    QString identity;
    const auto identify = [&identity](CInverter& inverter, CInverterGroup& group) {
        identity = InverterIdentity(inverter, group);
    };
    if (selected == nullptr || !m_document.WithInverter(selected, identify)) {
        return;
    }
    const auto answer = MessageBox::Show(this, question + "\n\n" + identity, "Warning",
                                         QMessageBox::Yes | QMessageBox::No, QMessageBox::Warning);
    if (answer == QMessageBox::No) {
        return;
    }
    m_document.WithInverter(selected, [removal](CInverter& inverter, CInverterGroup&) {
        (removal ? inverter.m_bRemoveRequest : inverter.m_bResetTotalsRequest) = 1;
    });
}

void CMainFrame::OnReconnectAll() {
    m_document.ReconnectAll();
}

void CMainFrame::OnIntervalSetting() {
    CSamplingIntervalDlg dialog(this);
    dialog.SetDocument(&m_document);
    dialog.exec();
}

void CMainFrame::OnErrorList() {
    CErrorListDlg dialog(this);
    dialog.exec();
}

void CMainFrame::OnHistory() {
    CHistoryDlg dialog(this);
    dialog.exec();
}

void CMainFrame::OnInverterStatus() {
    ShowInverterStatus(m_document.GetCurInverter());
}

void CMainFrame::ShowInverterStatus(CInverter* inverter) {
    CInverterStatusDlg dialog(m_document, this);
    dialog.SetInverter(inverter);
    dialog.exec();
}

void CMainFrame::OnParameterSetting() {
    CParameterSettingDlg dialog(m_document, m_document.GetCurInverter(), this);
    dialog.exec();
}

void CMainFrame::OnCommSetting() {
    CCommConfigDlg dialog(m_document, this);
    dialog.exec();
}

void CMainFrame::Publish(Publisher& publisher, MessageTarget& listTap) {
    m_publisher = &publisher;
    m_listTap = &listTap;
    new BrokerStateLabel(publisher, *this);
}

MessageTarget* CMainFrame::ListTarget() {
    if (m_listTap == nullptr) {
        return m_listView->Target();
    }
    m_listTee = std::make_unique<MessageTee>(*m_listView->Target(), *m_listTap);
    return m_listTee.get();
}

void CMainFrame::OnMqttSetting() {
    if (m_publisher != nullptr) {
        CMqttSettingDlg dialog(m_document, *m_publisher, this);
        dialog.exec();
    }
}

void CMainFrame::OnAlertsSetting() {
    if (m_showAlerts) {
        m_showAlerts(this);
    }
}

void CMainFrame::OnAbout() {
    CAboutDlg dialog(this);
    dialog.exec();
}
