#include "WindowProgram.h"

#include "ExitStatus.h"
#include "platform/Log.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {
constexpr const char* WINDOW_PROGRAM = "heliowatch-gui";

std::string ProgramDirectory() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) {
        return "/usr/bin";
    }
    const std::string program(path, static_cast<std::size_t>(length));
    return program.substr(0, program.rfind('/'));
}
} // namespace

int RunWindowProgram(char** argv) {
    const std::string window = ProgramDirectory() + "/" + WINDOW_PROGRAM;
    execv(window.c_str(), argv);
    if (errno == ENOENT) {
        Log(LogLevel::Error, std::string("the window is in the package ") + WINDOW_PROGRAM +
                                 ", which is not installed; install it, or run heliowatch "
                                 "--headless");
    } else {
        Log(LogLevel::Error, "cannot start " + window + ": " + std::strerror(errno));
    }
    return EXIT_SETTINGS_OR_USAGE;
}
