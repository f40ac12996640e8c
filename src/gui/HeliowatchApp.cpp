#include "HeliowatchApp.h"

#include "AlertsDlg.h"
#include "DesktopChannel.h"
#include "GuiNotifier.h"
#include "MainFrame.h"
#include "SplashThread.h"
#include "StationWatchPump.h"
#include "StopSignals.h"
#include "alerts/AlertCenter.h"
#include "comm/CommEnvironment.h"
#include "history/StationHistory.h"
#include "platform/Clock.h"
#include "platform/Log.h"
#include "platform/SingleInstance.h"
#include "publish/Publisher.h"
#include "res/ResourceIds.h"
#include "station/AlertStart.h"
#include "station/DataDirectoryClaim.h"
#include "station/StationOptions.h"
#include "station/WebStart.h"
#include "store/HeliowatchDoc.h"
#include "web/WebServer.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>

namespace {
constexpr int SPLASH_MS = 2000;
const char* const APP_TITLE = "Heliowatch";

// Waits while the event loop runs, so the splash keeps painting.
void Pause(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}
} // namespace

CHeliowatchApp::CHeliowatchApp(const StationOptions& options) : m_options(options) {}

CHeliowatchApp::~CHeliowatchApp() {
    Shutdown();
    m_mainFrame.reset();
    m_document.reset();
}

int CHeliowatchApp::Run(int argc, char** argv) {
    // A second copy ends before it touches any port or file.
    SingleInstance guard("Varnel communicator");
    if (!guard.Acquired()) {
        Log(LogLevel::Error, "another copy is already running (" + guard.Path() + ")");
        return EXIT_ANOTHER_STATION;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(APP_TITLE);
    StopSignals stopSignals;
    bool stopped = false;
    QObject::connect(&stopSignals, &StopSignals::stopRequested, [this, &stopped] {
        stopped = true;
        if (m_mainFrame) {
            m_mainFrame->close();
        }
    });
    const bool started = InitInstance();
    int exitCode = m_nStartFailure;
    if (started) {
        exitCode = stopped ? EXIT_OK : QApplication::exec();
    }
    Shutdown();
    // Widgets go while the application object still exists.
    m_mainFrame.reset();
    m_watchPump.reset();
    return exitCode;
}

bool CHeliowatchApp::InitInstance() {
    CSplashThread splash;
    splash.SetBitmap(IDB_SPLASH);
    splash.Start();

    std::string problem;
    int claimStatus = EXIT_OK;
    m_dataLock = ClaimDataDirectory(m_options, problem, claimStatus);
    if (!m_dataLock) {
        m_nStartFailure = claimStatus;
        splash.Hide();
        Log(LogLevel::Error, problem);
        MessageBox::Show(nullptr, QString::fromStdString(problem), APP_TITLE);
        return false;
    }
    m_notifier = std::make_unique<GuiNotifier>(qApp, APP_TITLE);
    CommEnvironment environment = CommEnvironment::Default();
    environment.notifier = m_notifier.get();
    m_document = std::make_unique<CHeliowatchDoc>(environment, m_options.configFile);
    m_history = std::make_unique<StationHistory>();
    m_document->FollowHistory(m_history.get());
    m_publisher = std::make_unique<Publisher>();
    m_document->ChainPollSink(m_publisher.get());
    m_mainFrame = std::make_unique<CMainFrame>(*m_document);
    m_mainFrame->SetShutdown([this] { Shutdown(); });

    if (!m_document->OnNewDocument(&problem)) {
        splash.Hide();
        MessageBox::Show(nullptr, QString::fromStdString(problem), APP_TITLE);
        return false;
    }
    m_alerts = std::make_unique<AlertCenter>(SystemClock::Instance());
    m_web = StartWebServer(*m_document, *m_publisher, *m_alerts, m_options.configFile);
    m_mainFrame->CreateListPane();
    m_watchPump = std::make_unique<StationWatchPump>(*m_document);
    m_watchPump->AddObserver(m_publisher.get());
    m_mainFrame->Publish(*m_publisher, m_watchPump->Tap());
    m_publisher->Configure(m_document->GetMqttSettings());
    StartAlerts();
    Pause(SPLASH_MS);
    splash.Hide();
    m_mainFrame->ShowAsLeft();
    return true;
}

void CHeliowatchApp::Shutdown() {
    if (m_notifier) {
        m_notifier->Cancel();
    }
    m_web.reset();
    if (m_document) {
        m_document->OnCloseDocument();
    }
    if (m_alerts) {
        m_alerts->Stop();
    }
    if (m_publisher) {
        m_publisher->Stop();
    }
}

namespace {
std::vector<std::unique_ptr<AlertChannel>>
WindowChannels(const AlertSettings& settings, const MqttSettings& mqtt, Publisher& publisher) {
    auto channels = StationAlertChannels(settings, mqtt, publisher);
    if (settings.desktop) {
        channels.push_back(MakeDesktopChannel());
    }
    return channels;
}
} // namespace

void CHeliowatchApp::StartAlerts() {
    const AlertSettings settings = LoadAlertSettings(m_options.configFile);
    ::StartAlerts(*m_alerts, settings, *m_publisher,
                  WindowChannels(settings, m_document->GetMqttSettings(), *m_publisher));
    m_watchPump->AddObserver(m_alerts.get());
    m_mainFrame->SetAlertsDialog([this](QWidget* parent) { ShowAlertsDialog(parent); });
}

void CHeliowatchApp::ShowAlertsDialog(QWidget* parent) {
    const MqttSettings& mqtt = m_document->GetMqttSettings();
    CAlertsDlg dialog(
        m_options.configFile, mqtt,
        [this, &mqtt](const AlertSettings& settings) {
            m_alerts->Configure(settings, WindowChannels(settings, mqtt, *m_publisher));
        },
        parent);
    dialog.exec();
}
