#pragma once

#include <QColor>

class QLineEdit;

// The contrast ratio of two colours by their relative luminance, 1 to 21.
double ContrastRatio(const QColor& one, const QColor& other);

// Contrast ratio, 1 to 21, between the text of a box showing a value and the
// box's own background, as the operator sees it.
double FieldContrast(QLineEdit& field);
