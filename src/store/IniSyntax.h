#pragma once

#include <string>

// Empty when text is a well-formed settings file: an optional UTF-8
// byte-order mark, then blank lines, comments (';' or '#'), "[section]"
// headers and "key=value" lines. Otherwise says which line is wrong.
std::string IniSyntaxProblem(const std::string& text);
