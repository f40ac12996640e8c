#pragma once

#include <string>

// Empty when text is a well-formed settings file: blank lines, comments
// (';' or '#'), "[section]" headers and "key=value" lines. Otherwise says
// which line is wrong.
std::string IniSyntaxProblem(const std::string& text);
