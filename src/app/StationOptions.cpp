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

// --report KIND, then a date unless the next argument is an option.
void TakeReport(int argc, char** argv, int& i, StationOptions& options) {
    if (!TakeValue(argc, argv, i, options.report, options)) {
        return;
    }
    if (options.report != "day" && options.report != "month" && options.report != "year") {
        options.error = "--report takes day, month or year, not " + options.report;
        return;
    }
    if (i + 1 < argc && std::string_view(argv[i + 1]).substr(0, 2) != "--") {
        options.reportDate = argv[++i];
    }
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
        } else if (argument == "--rebuild-history") {
            options.rebuildHistory = true;
        } else if (argument == "--report") {
            TakeReport(argc, argv, i, options);
        } else if (argument == "--serial") {
            TakeValue(argc, argv, i, options.serial, options);
        } else {
            options.error = "unknown option " + std::string(argument);
        }
    }
    if (options.error.empty() && !options.serial.empty() && options.report.empty()) {
        options.error = "--serial goes with --report";
    }
    return options;
}

const char* StationUsage() {
    return "usage: heliowatch [--headless] [--config FILE] [--port-dir DIR] [--data-dir DIR]\n"
           "       heliowatch --rebuild-history [--data-dir DIR]\n"
           "       heliowatch --report day|month|year [DATE] [--serial S] [--data-dir DIR]\n"
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
           "  --rebuild-history  build the history summary (HistSummary.db beside HistLog)\n"
           "                   anew from the history files, then end\n"
           "  --report day|month|year [DATE]\n"
           "                   print the energy in kWh of a day by hour, of a month by day\n"
           "                   or of a year by month, for the plant and each inverter, then\n"
           "                   end; DATE is 2026-11-03, 2026-11 or 2026 (default: now)\n"
           "  --serial S       the report for the inverter with serial number S only\n"
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
