#pragma once

#include <QString>
#include <ostream>

// Lets test failures show texts rather than their bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
