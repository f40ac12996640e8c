#include "SplashThread.h"

#include "Artwork.h"
#include "SplashWnd.h"
#include "platform/Trace.h"

#include <QEventLoop>
#include <QTimer>

CSplashThread::CSplashThread() = default;

CSplashThread::~CSplashThread() = default;

void CSplashThread::SetBitmap(int resourceId) {
    m_bFromFile = false;
    m_nResourceId = resourceId;
}

void CSplashThread::SetBitmapFile(const QString& fileName) {
    m_bFromFile = true;
    m_strFileName = fileName;
}

void CSplashThread::Start() {
    const QImage picture = m_bFromFile ? QImage(m_strFileName) : Artwork::Bitmap(m_nResourceId);
    if (picture.isNull()) {
        Trace("Splash picture %s could not be loaded\n",
              m_bFromFile ? qPrintable(m_strFileName) : qPrintable(QString::number(m_nResourceId)));
    }
    m_pSplashWnd = std::make_unique<CSplashWnd>(picture);
    m_pSplashWnd->ShowCentred();
    emit WindowCreated();
}

void CSplashThread::Hide(std::chrono::milliseconds bound) {
    if (!m_pSplashWnd) {
        QEventLoop wait;
        connect(this, &CSplashThread::WindowCreated, &wait, &QEventLoop::quit);
        QTimer::singleShot(bound, &wait, &QEventLoop::quit);
        wait.exec();
    }
    if (!m_pSplashWnd) {
        Trace("Splash window did not appear within %lld ms; start-up goes on\n",
              static_cast<long long>(bound.count()));
        return;
    }
    m_pSplashWnd->SetMayClose();
    m_pSplashWnd->close();
    m_pSplashWnd.reset();
}
