#pragma once

#include <string>

// A field of a CSV line that a spreadsheet reads as the one text it is: in
// double quotes (inner quotes doubled) when it holds a comma, a quote or a
// line break, and behind an apostrophe when it begins like a formula ('=',
// '+', '-', '@').
std::string CsvField(const std::string& text);
