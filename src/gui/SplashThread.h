#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <memory>

class CSplashWnd;

// Keeps the splash picture up while the application starts. Widgets live on
// the user-interface thread only, so this object lives there too; start-up
// runs event loops while it waits, and those keep the picture painted.
class CSplashThread : public QObject {
    Q_OBJECT

public:
    CSplashThread();
    ~CSplashThread() override;

    // Choose the picture before Start.
    void SetBitmap(int resourceId);
    void SetBitmapFile(const QString& fileName);

    // Creates the splash window and shows it in the middle of the screen.
    void Start();
    // Closes and destroys the splash window. Waits up to the bound for a
    // window that does not exist yet, then gives up and says so in the trace.
    void Hide(std::chrono::milliseconds bound = std::chrono::milliseconds(1000));

    CSplashWnd* Window() const { return m_pSplashWnd.get(); }

signals:
    void WindowCreated();

private:
    bool m_bFromFile = false;
    int m_nResourceId = 0;
    QString m_strFileName;
    std::unique_ptr<CSplashWnd> m_pSplashWnd;
};
