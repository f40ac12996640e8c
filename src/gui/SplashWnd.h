#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

// The borderless start-up picture: its size is the picture's, it sits in the
// middle of the screen, has no taskbar entry, ignores close requests until
// the application allows them, and can be dragged with the left button.
class CSplashWnd : public QWidget {
    Q_OBJECT

public:
    // A null picture gives a window of no size that is never shown.
    explicit CSplashWnd(QImage picture);

    void ShowCentred();
    void SetMayClose() { m_bMayClose = true; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool m_bMayClose = false;
    QImage m_picture;
    bool m_bDragging = false;
    QPoint m_dragOffset; // from the window's corner to the grabbing mouse
};
