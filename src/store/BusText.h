#pragma once

#include <QString>
#include <string>

// Serial numbers and model names may hold any byte; Latin-1 shows each byte
// as one character and gives the same bytes back.
QString BusText(const std::string& bytes);
std::string BusBytes(const QString& text);
