#pragma once

#include <string>

// "what: <the system's words for error>", the form every failure of a system
// call takes on its way to a person.
std::string SystemError(const std::string& what, int error);
