#include "StationOptions.h"

#include <QStandardPaths>
#include <filesystem>
#include <string_view>
#include <unistd.h>

namespace {
bool TakeValue(int argc, char** argv, int& i, std::string& target, StationOptions& options) {
    if (i + 1 >= argc) {
        options.error = std::string(argv[i]) + " needs a value";
        return false;
    }
    target = argv[++i];
    return true;
}

std::string ProgramDirectory() {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : program.parent_path().string();
}
} // namespace

StationOptions ParseStationOptions(int argc, char** argv) {
    StationOptions options;
    for (int i = 1; i < argc && options.error.empty(); ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--headless") {
            options.headless = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--config") {
            TakeValue(argc, argv, i, options.configFile, options);
        } else if (argument == "--port-dir") {
            TakeValue(argc, argv, i, options.portDirectory, options);
        } else if (argument == "--data-dir") {
            TakeValue(argc, argv, i, options.dataDirectory, options);
        } else {
            options.error = "unknown option " + std::string(argument);
        }
    }
    return options;
}

const char* StationUsage() {
    return "usage: heliowatch [--headless] [--config FILE] [--port-dir DIR] [--data-dir DIR]\n"
           "\n"
           "Monitors the photovoltaic inverters on the serial ports enabled in the settings,\n"
           "in a window unless --headless is given. Only one copy runs with a window.\n"
           "\n"
           "  --headless       run without a window: one line per event on standard output\n"
           "                   (registered, online, offline, fault-opened, fault-closed,\n"
           "                   removed, port-opened, port-lost) and a 'plant' summary line\n"
           "                   every minute; SIGINT or SIGTERM ends it\n"
           "  --config FILE    settings file (default $XDG_CONFIG_HOME/heliowatch/Heliowatch.ini)\n"
           "                   [Interval] Interval=<seconds>; [Com<n>] Enable=1, "
           "EnvironmentCom=<m>\n"
           "  --port-dir DIR   directory of COM<n> entries naming the serial devices (default\n"
           "                   $HELIOWATCH_PORT_DIR, else $XDG_CONFIG_HOME/heliowatch/ports);\n"
           "                   a port without an entry is /dev/ttyS<n-1>\n"
           "  --data-dir DIR   where the HistLog folder with the history and fault files goes\n"
           "                   (default: the program's directory when writable, else\n"
           "                   $XDG_DATA_HOME/heliowatch)\n"
           "  --help           this text\n";
}

std::string DefaultDataDirectory() {
    const std::string program = ProgramDirectory();
    if (!program.empty() && access(program.c_str(), W_OK) == 0) {
        return program;
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() +
           "/heliowatch";
}
