#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <optional>

// Off-screen buffer over a rectangle of a target painter: everything drawn on
// Painter() lands on the target in one copy when the buffer goes, so a
// picture built in several layers never flickers. On a printer, or when
// opened unbuffered or over an empty rectangle, it draws on the target
// directly.
class CMemDC {
public:
    CMemDC(QPainter* target, const QRect& rect, bool buffered = true);
    ~CMemDC();
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    QPainter& Painter() { return m_painter ? *m_painter : *m_target; }

private:
    QPainter* m_target;
    QRect m_rect;
    QImage m_image;
    std::optional<QPainter> m_painter;
};
