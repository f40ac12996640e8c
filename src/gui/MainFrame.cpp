#include "MainFrame.h"

#include "AboutDlg.h"
#include "BrokerStateLabel.h"
#include "ColumnWidths.h"
#include "CommConfigDlg.h"
#include "DeviceListView.h"
#include "ErrorListDlg.h"
#include "GeneralStatusView.h"
#include "HistoryDlg.h"
#include "InverterIdentity.h"
#include "InverterStatusDlg.h"
#include "MessageTee.h"
#include "MqttSettingDlg.h"
#include "PaneFrame.h"
#include "PaneLayout.h"
#include "ParameterSettingDlg.h"
#include "PlantCountsButton.h"
#include "SamplingIntervalDlg.h"
#include "StationProblemLabel.h"
#include "charts/PowerView.h"
#include "charts/TodayEnergyView.h"
#include "comm/CommShared.h"
#include "comm/WindowMessages.h"
#include "model/InverterGroup.h"
#include "platform/Trace.h"
#include "publish/Publisher.h"
#include "res/ResourceIds.h"
#include "store/HeliowatchDoc.h"
#include "store/PaneTargets.h"
#include "widgets/MessageBox.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <array>

namespace {
constexpr int SELECTION_COMMANDS[] = {ID_INVERTER_STATUS, ID_PARAMETER_SETTING, ID_REMOVE_DEVICE,
                                      ID_RESET_TOTALS};
constexpr int FEEDBACK_MS = 10000;

QRectF ShareOf(const QRect& pane, const QSize& client) {
    return QRectF(static_cast<double>(pane.x()) / client.width(),
                  static_cast<double>(pane.y()) / client.height(),
                  static_cast<double>(pane.width()) / client.width(),
                  static_cast<double>(pane.height()) / client.height());
}

QRect PlaceOf(const QRectF& share, const QSize& client) {
    return QRectF(share.x() * client.width(), share.y() * client.height(),
                  share.width() * client.width(), share.height() * client.height())
        .toRect();
}

// A form of fixed size scrolls in a pane smaller than itself rather than
// losing its edge.
QScrollArea* Scrolling(QWidget* form) {
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    form->setMinimumSize(form->sizeHint());
    scroll->setWidget(form);
    return scroll;
}
} // namespace

CMainFrame::CMainFrame(CHeliowatchDoc& document)
    : m_document(document), m_mdiArea(new QMdiArea(this)), m_layoutFile(document.SettingsPath()),
      m_layout(m_layoutFile.Read()), m_paneShares(m_layout.panes) {
    setWindowTitle("Zazavoz communicator");
    setCentralWidget(m_mdiArea);
    m_mdiArea->viewport()->installEventFilter(this);
    BuildMenus();
    UpdateCommandStates();
    new StationProblemLabel(m_document, *this);
    auto* counts = new PlantCountsButton(m_document, this);
    statusBar()->addPermanentWidget(counts);
    connect(counts, &QToolButton::clicked, this, &CMainFrame::OnErrorList);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    AddCommand(file, "&Error", ID_FILE_ERROR, &CMainFrame::OnErrorList);
    AddCommand(file, "&History...", ID_VIEW_HISTORY, &CMainFrame::OnHistory);
    file->addSeparator();
    AddCommand(file, "E&xit", ID_APP_EXIT, nullptr);
    connect(Command(ID_APP_EXIT), &QAction::triggered, this, &QWidget::close);

    QMenu* inverter = menuBar()->addMenu("&Inverter");
    AddCommand(inverter, "Inverter &status", ID_INVERTER_STATUS, &CMainFrame::OnInverterStatus);
    AddCommand(inverter, "&Parameter setting", ID_PARAMETER_SETTING,
               &CMainFrame::OnParameterSetting);
    AddCommand(inverter, "Re&move device", ID_REMOVE_DEVICE, &CMainFrame::OnRemoveDevice);
    AddCommand(inverter, "Re&connect all device", ID_RECONNECT_ALL, &CMainFrame::OnReconnectAll);
    AddCommand(inverter, "Reset &E-total/H-total", ID_RESET_TOTALS, &CMainFrame::OnResetTotals);
    connect(inverter, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);

    QMenu* setting = menuBar()->addMenu("&Setting");
    AddCommand(setting, "&Communication setting", ID_COMM_SETTING, &CMainFrame::OnCommSetting);
    AddCommand(setting, "&Interval setting", ID_INTERVAL_SETTING, &CMainFrame::OnIntervalSetting);
    AddCommand(setting, "&MQTT setting...", ID_MQTT_SETTING, &CMainFrame::OnMqttSetting);
    AddCommand(setting, "&Alerts...", ID_ALERTS_SETTING, &CMainFrame::OnAlertsSetting);

    QMenu* help = menuBar()->addMenu("&Help");
    AddCommand(help, "&About", ID_APP_ABOUT, &CMainFrame::OnAbout);
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
    m_listView->Widths().SetOperatorWidths(m_layout.columnWidths);
    m_listView->SetSorting(m_layout.sortColumn,
                           m_layout.sortDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

// Without a window manager nothing maximizes; the screen's size is the same.
void CMainFrame::ShowAsLeft() {
    if (!m_layout.geometry.isEmpty() && restoreGeometry(m_layout.geometry)) {
        show();
        return;
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(screen->availableGeometry());
    }
    showMaximized();
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
        m_generalStatusPane =
            CreatePane(new CViewFrame("General Status"), Scrolling(generalStatus));
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
    frame->installEventFilter(this);
    return frame;
}

// The general status form and the pane's title bar and borders around it.
QSize CMainFrame::GeneralStatusNeeds() const {
    const QMargins frame = m_generalStatusPane->contentsMargins();
    return m_generalStatusPane->View()->sizeHint() +
           QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
}

void CMainFrame::PlacePanes() {
    const QSize client = m_mdiArea->viewport()->size();
    const PaneLayout layout = LayOutPanes(client.width(), client.height(), GeneralStatusNeeds());
    std::array<QRect, WindowLayoutFile::PANES> places = {layout.list, layout.generalStatus,
                                                         layout.todayEnergy, layout.power};
    if (m_paneShares) {
        for (std::size_t index = 0; index < places.size(); ++index) {
            places[index] = PlaceOf((*m_paneShares)[index], client);
        }
    }
    m_bPlacing = true;
    m_listFrame->setGeometry(places[0]);
    m_generalStatusPane->setGeometry(places[1]);
    m_todayEnergyPane->setGeometry(places[2]);
    m_powerPane->setGeometry(places[3]);
    m_bPlacing = false;
}

// A pane minimized or maximized keeps the share it had before.
void CMainFrame::NotePaneShares() {
    const PaneFrame* panes[] = {m_listFrame, m_generalStatusPane, m_todayEnergyPane, m_powerPane};
    const QSize client = m_mdiArea->viewport()->size();
    WindowLayoutFile::PaneShares shares = m_paneShares.value_or(WindowLayoutFile::PaneShares{});
    for (std::size_t index = 0; index < shares.size(); ++index) {
        if (!panes[index]->isMinimized() && !panes[index]->isMaximized()) {
            shares[index] = ShareOf(panes[index]->geometry(), client);
        }
    }
    m_paneShares = shares;
}

// The panes follow the client area whenever the window changes size; a pane
// the operator moves or resizes sets the shares they keep from then on.
bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    const bool laidOut = m_bPanesCreated && m_powerPane != nullptr;
    if (watched == m_mdiArea->viewport() && event->type() == QEvent::Resize &&
        m_powerPane != nullptr && !m_mdiArea->viewport()->size().isEmpty()) {
        PlacePanes();
    } else if (laidOut && !m_bPlacing && watched->inherits("QMdiSubWindow") &&
               (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        NotePaneShares();
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::SaveLayout() {
    if (!m_bPanesCreated || m_listView == nullptr) {
        return;
    }
    WindowLayoutFile::Layout layout;
    layout.geometry = saveGeometry();
    layout.panes = m_paneShares;
    layout.columnWidths = m_listView->Widths().OperatorWidths();
    layout.sortColumn = m_listView->horizontalHeader()->sortIndicatorSection();
    layout.sortDescending =
        m_listView->horizontalHeader()->sortIndicatorOrder() == Qt::DescendingOrder;
    static_cast<void>(m_layoutFile.Write(layout));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    SaveLayout();
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
    if (selected == nullptr || !m_document.WithInverter(selected, identify) ||
        !Confirm(question + "\n\n" + identity)) {
        return;
    }
    m_document.WithInverter(selected, [removal](CInverter& inverter, CInverterGroup&) {
        (removal ? inverter.m_bRemoveRequest : inverter.m_bResetTotalsRequest) = 1;
    });
}

bool CMainFrame::Confirm(const QString& question) {
    return MessageBox::Show(this, question, "Warning", QMessageBox::Yes | QMessageBox::No,
                            QMessageBox::Warning, QMessageBox::No) == QMessageBox::Yes;
}

void CMainFrame::OnReconnectAll() {
    if (!Confirm("Are you sure to reconnect all devices?\n\nEvery port registers its "
                 "inverters anew; their readings pause meanwhile.")) {
        return;
    }
    m_document.ReconnectAll();
    statusBar()->showMessage("Reconnecting all devices...", FEEDBACK_MS);
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
    publisher.OnReconnectAll([&document = m_document] { document.ReconnectAll(); });
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
