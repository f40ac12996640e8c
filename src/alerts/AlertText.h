#pragma once

#include <string>

// Serial numbers and model names may hold any byte. UTF-8 stays as it is;
// anything else is read as Latin-1, so every byte shows and the result is
// always UTF-8.
std::string Utf8Text(const std::string& bytes);

// For a header line: UTF-8 text with every control character, line breaks
// included, turned into a blank.
std::string HeaderText(const std::string& bytes);
