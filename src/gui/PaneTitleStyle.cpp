#include "PaneTitleStyle.h"

#include <QStyleOptionTitleBar>

void PaneTitleStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                        QPainter* painter, const QWidget* widget) const {
    if (control == CC_TitleBar) {
        if (const auto* titleBar = qstyleoption_cast<const QStyleOptionTitleBar*>(option)) {
            QStyleOptionTitleBar withoutClose(*titleBar);
            withoutClose.subControls &= ~SC_TitleBarCloseButton;
            QProxyStyle::drawComplexControl(control, &withoutClose, painter, widget);
            return;
        }
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}
