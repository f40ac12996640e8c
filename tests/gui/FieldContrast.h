#pragma once

class QLineEdit;

// Contrast ratio, 1 to 21, between the text of a box showing a value and the
// box's own background, as the operator sees it.
double FieldContrast(QLineEdit& field);
