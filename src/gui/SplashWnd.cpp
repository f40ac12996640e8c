#include "SplashWnd.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

CSplashWnd::CSplashWnd(QImage picture)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint), m_picture(std::move(picture)) {
    // The picture covers every pixel, so no background is painted first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // Start-up closes the splash before the main window shows; that must not
    // end the application.
    setAttribute(Qt::WA_QuitOnClose, false);
    setCursor(Qt::ArrowCursor);
    setFixedSize(m_picture.size());
}

void CSplashWnd::ShowCentred() {
    if (m_picture.isNull()) {
        return;
    }
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.center() - rect().center());
    show();
}

void CSplashWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

void CSplashWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_bDragging = true;
    m_dragOffset = event->globalPosition().toPoint() - pos();
}

void CSplashWnd::mouseMoveEvent(QMouseEvent* event) {
    if (m_bDragging) {
        move(event->globalPosition().toPoint() - m_dragOffset);
    }
}

void CSplashWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_bDragging = false;
    }
}

void CSplashWnd::closeEvent(QCloseEvent* event) {
    if (m_bMayClose) {
        event->accept();
    } else {
        event->ignore();
    }
}
