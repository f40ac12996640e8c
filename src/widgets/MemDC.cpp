#include "MemDC.h"

#include <QPaintDevice>
#include <cassert>

CMemDC::CMemDC(QPainter* target, const QRect& rect, bool buffered)
    : m_target(target), m_rect(rect) {
    assert(target != nullptr);
    const QPaintDevice* device = target->device();
    if (!buffered || rect.isEmpty() || device->devType() == QInternal::Printer) {
        return;
    }
    const qreal ratio = device->devicePixelRatioF();
    m_image = QImage(rect.size() * ratio, QImage::Format_RGB32);
    m_image.setDevicePixelRatio(ratio);
    m_painter.emplace(&m_image);
    m_painter->translate(-rect.topLeft());
    m_painter->fillRect(rect, target->background());
}

CMemDC::~CMemDC() {
    if (!m_painter) {
        return;
    }
    m_painter->end();
    m_target->drawImage(m_rect.topLeft(), m_image);
}
