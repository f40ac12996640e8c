#include "HeliowatchApp.h"

#include "DataDirectoryClaim.h"
#include "GuiNotifier.h"
#include "MainFrame.h"
#include "SplashThread.h"
#include "StationOptions.h"
#include "StopSignals.h"
#include "comm/CommEnvironment.h"
#include "platform/PortDirectory.h"
#include "platform/SingleInstance.h"
#include "res/ResourceIds.h"
#include "store/HeliowatchDoc.h"
#include "store/SettingsStore.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QEventLoop>
#include <QScreen>
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
        std::fprintf(stderr, "heliowatch: another copy is already running (%s)\n",
                     guard.Path().c_str());
        return 1;
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
    int exitCode = 1;
    if (InitInstance()) {
        exitCode = stopped ? 0 : QApplication::exec();
    }
    Shutdown();
    // Widgets go while the application object still exists.
    m_mainFrame.reset();
    return exitCode;
}

bool CHeliowatchApp::InitInstance() {
    CSplashThread splash;
    splash.SetBitmap(IDB_SPLASH);
    splash.Start();

    if (!m_options.portDirectory.empty()) {
        SetPortDirectory(m_options.portDirectory);
    }
    std::string problem;
    m_dataLock = ClaimDataDirectory(m_options, problem);
    if (!m_dataLock) {
        splash.Hide();
        std::fprintf(stderr, "heliowatch: %s\n", problem.c_str());
        MessageBox::Show(nullptr, QString::fromStdString(problem), APP_TITLE);
        return false;
    }
    m_notifier = std::make_unique<GuiNotifier>(qApp, APP_TITLE);
    CommEnvironment environment = CommEnvironment::Default();
    environment.notifier = m_notifier.get();
    m_document = std::make_unique<CHeliowatchDoc>(environment, m_options.configFile.empty()
                                                                   ? SettingsStore::DefaultPath()
                                                                   : m_options.configFile);
    m_mainFrame = std::make_unique<CMainFrame>(*m_document);
    m_mainFrame->SetShutdown([this] { Shutdown(); });

    if (!m_document->OnNewDocument(&problem)) {
        splash.Hide();
        MessageBox::Show(nullptr, QString::fromStdString(problem), APP_TITLE);
        return false;
    }
    m_mainFrame->CreateListPane();
    Pause(SPLASH_MS);
    splash.Hide();
    // Without a window manager nothing maximizes; the screen's size is the same.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        m_mainFrame->setGeometry(screen->availableGeometry());
    }
    m_mainFrame->showMaximized();
    return true;
}

void CHeliowatchApp::Shutdown() {
    if (m_notifier) {
        m_notifier->Cancel();
    }
    if (m_document) {
        m_document->OnCloseDocument();
    }
}
