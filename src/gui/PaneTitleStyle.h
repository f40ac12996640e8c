#pragma once

#include <QProxyStyle>

// Draws a pane's title bar without its close button: panes cannot be closed,
// and the multiple-document area would otherwise always show one.
class PaneTitleStyle : public QProxyStyle {
public:
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;
};
