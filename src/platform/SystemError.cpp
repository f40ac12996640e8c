#include "SystemError.h"

#include <cstring>

std::string SystemError(const std::string& what, int error) {
    return what + ": " + std::strerror(error);
}
