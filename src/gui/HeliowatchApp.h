#pragma once

#include "station/ExitStatus.h"

#include <memory>

struct StationOptions;
class AlertCenter;
class CHeliowatchDoc;
class CMainFrame;
class GuiNotifier;
class Publisher;
class QApplication;
class QWidget;
class SingleInstance;
class StationHistory;
class StationWatchPump;
class WebServer;

// The station with its window: a single copy, a splash while it starts, the
// document with its communication threads, the main frame with its panes.
class CHeliowatchApp {
public:
    explicit CHeliowatchApp(const StationOptions& options);
    ~CHeliowatchApp();
    CHeliowatchApp(const CHeliowatchApp&) = delete;
    CHeliowatchApp& operator=(const CHeliowatchApp&) = delete;

    // Start-up, the event loop and shutdown; the process exit code.
    int Run(int argc, char** argv);

private:
    bool InitInstance();
    void StartAlerts();
    void ShowAlertsDialog(QWidget* parent);
    void Shutdown();

    const StationOptions& m_options;
    std::unique_ptr<SingleInstance> m_dataLock;
    int m_nStartFailure = EXIT_SETTINGS_OR_USAGE; // the exit status when InitInstance fails
    std::unique_ptr<GuiNotifier> m_notifier;
    std::unique_ptr<Publisher> m_publisher; // outlives the threads that feed it
    std::unique_ptr<AlertCenter> m_alerts;
    std::unique_ptr<StationWatchPump> m_watchPump;
    std::unique_ptr<StationHistory> m_history; // outlives the document that feeds it
    std::unique_ptr<CHeliowatchDoc> m_document;
    std::unique_ptr<WebServer> m_web; // stops before the document closes
    std::unique_ptr<CMainFrame> m_mainFrame;
};
