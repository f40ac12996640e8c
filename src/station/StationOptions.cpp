#include "StationOptions.h"

#include "platform/StationPlaces.h"

#include <QCommandLineParser>
#include <variant>
#include <vector>

namespace {
using Field = std::variant<bool StationOptions::*, std::string StationOptions::*>;

struct OptionSpec {
    const char* names; // comma-separated, the long one last
    const char* valueName;
    const char* description;
    Field field;
};

// One row per option: the parser, the usage text and the result all come
// from here.
const std::vector<OptionSpec>& OptionTable() {
    static const std::vector<OptionSpec> table{
        {"headless", "",
         "run without a window: one line per event on standard\n"
         "output (registered, online, offline, fault-opened,\n"
         "fault-closed, removed, port-opened, port-lost,\n"
         "port-failed with the reason) and a\n"
         "'plant' summary line every minute; SIGINT or SIGTERM\n"
         "ends it",
         &StationOptions::headless},
        {"config", "FILE",
         "settings file: [Interval] Interval=<seconds>;\n"
         "[Com<n>] Enable=1, EnvironmentCom=<m>",
         &StationOptions::configFile},
        {"port-dir", "DIR",
         "directory of COM<n> entries naming the serial devices;\n"
         "a port without an entry is /dev/ttyS<n-1>",
         &StationOptions::portDirectory},
        {"data-dir", "DIR",
         "where the HistLog folder with the history and fault\n"
         "files goes",
         &StationOptions::dataDirectory},
        {"list-ports", "",
         "list every port the station could use: its number,\n"
         "the device it leads to and, for USB adapters, the\n"
         "stable /dev/serial/by-id name, vendor, product and\n"
         "serial; opens no port",
         &StationOptions::listPorts},
        {"check", "",
         "open each port enabled in the settings once and print\n"
         "'ok' or the reason per port; the exit status is 1 when\n"
         "any failed",
         &StationOptions::check},
        {"rebuild-history", "",
         "build the history summary (HistSummary.db beside\n"
         "HistLog) anew from the history files, then end",
         &StationOptions::rebuildHistory},
        {"report", "KIND",
         "KIND is day, month or year, optionally followed by a\n"
         "DATE (2026-11-03, 2026-11 or 2026; default: now):\n"
         "print the energy in kWh of a day by hour, a month by\n"
         "day or a year by month, for the plant and each\n"
         "inverter, then end",
         &StationOptions::report},
        {"serial", "S", "with --report: the inverter with serial number S only",
         &StationOptions::serial},
        {"test-alert", "CHANNEL",
         "CHANNEL is webhook, mail, desktop or mqtt: send one\n"
         "test alert through it as [Alerts] sets it up and print\n"
         "'sent' or the reason; the exit status is 1 when it\n"
         "failed",
         &StationOptions::testAlert},
        {"h,help", "", "this text", &StationOptions::help},
        {"version", "", "the version", &StationOptions::version},
    };
    return table;
}

QCommandLineOption MakeOption(const OptionSpec& spec) {
    QCommandLineOption option(QString::fromLatin1(spec.names).split(','));
    option.setValueName(QString::fromLatin1(spec.valueName));
    return option;
}

QString LongName(const OptionSpec& spec) {
    return QString::fromLatin1(spec.names).split(',').constLast();
}

std::string DashedName(const QString& name) {
    return (name.size() == 1 ? "-" : "--") + name.toStdString();
}

std::string ParseError(const QCommandLineParser& parser) {
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
        return "unknown option " + DashedName(unknown.constFirst());
    }
    return parser.errorText().toStdString();
}

void Store(const QCommandLineParser& parser, const OptionSpec& spec, StationOptions& options) {
    const QString name = LongName(spec);
    if (const auto* flag = std::get_if<bool StationOptions::*>(&spec.field)) {
        options.*(*flag) = parser.isSet(name);
    } else if (parser.isSet(name)) {
        options.*std::get<std::string StationOptions::*>(spec.field) =
            parser.value(name).toStdString();
    }
}

std::string OptionHeading(const OptionSpec& spec) {
    std::string heading;
    for (const QString& name : QString::fromLatin1(spec.names).split(',')) {
        heading += (heading.empty() ? "  " : ", ") + DashedName(name);
    }
    if (*spec.valueName != '\0') {
        heading += std::string(" ") + spec.valueName;
    }
    return heading;
}

// The description starts in column 23; its further lines line up below.
std::string OptionHelp(const OptionSpec& spec) {
    constexpr std::size_t DESCRIPTION_COLUMN = 22;
    std::string text = OptionHeading(spec);
    text.append(text.size() < DESCRIPTION_COLUMN ? DESCRIPTION_COLUMN - text.size() : 1, ' ');
    for (const char* c = spec.description; *c != '\0'; ++c) {
        text += *c;
        if (*c == '\n') {
            text.append(DESCRIPTION_COLUMN, ' ');
        }
    }
    return text + "\n";
}
// A report may name its DATE after its kind; nothing else stands alone.
std::string CheckReport(const QStringList& positional, StationOptions& options) {
    if (!options.report.empty() && options.report != "day" && options.report != "month" &&
        options.report != "year") {
        return "--report takes day, month or year, not " + options.report;
    }
    if (!options.serial.empty() && options.report.empty()) {
        return "--serial goes with --report";
    }
    if (!options.testAlert.empty() && options.testAlert != "webhook" &&
        options.testAlert != "mail" && options.testAlert != "desktop" &&
        options.testAlert != "mqtt") {
        return "--test-alert takes webhook, mail, desktop or mqtt, not " + options.testAlert;
    }
    if (positional.size() == 1 && !options.report.empty()) {
        options.reportDate = positional.constFirst().toStdString();
    } else if (!positional.isEmpty()) {
        return "unexpected argument " + positional.constFirst().toStdString();
    }
    return {};
}
} // namespace

StationOptions ParseStationOptions(int argc, char** argv) {
    QCommandLineParser parser;
    for (const OptionSpec& spec : OptionTable()) {
        parser.addOption(MakeOption(spec));
    }
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    StationOptions options;
    const bool parsed = parser.parse(arguments);
    for (const OptionSpec& spec : OptionTable()) {
        Store(parser, spec, options);
    }
    options.error =
        parsed ? CheckReport(parser.positionalArguments(), options) : ParseError(parser);
    if (options.configFile.empty()) {
        options.configFile = DefaultSettingsFile();
    }
    if (options.dataDirectory.empty()) {
        options.dataDirectory = DefaultDataDirectory();
    }
    return options;
}

std::string StationUsage(const std::string& program) {
    std::string usage =
        "Usage: " + program +
        " [options]\n"
        "\n"
        "Monitors the photovoltaic inverters on the serial ports enabled in the settings,\n"
        "in a window unless --headless is given. Only one copy runs with a window; the\n"
        "window is the program heliowatch-gui (package heliowatch-gui).\n"
        "\n"
        "Options:\n";
    for (const OptionSpec& spec : OptionTable()) {
        usage += OptionHelp(spec);
    }
    return usage + "\n"
                   "Default places:\n"
                   "  settings  --config, else $CONFIGURATION_DIRECTORY/Heliowatch.ini (systemd),\n"
                   "            else $XDG_CONFIG_HOME/heliowatch/Heliowatch.ini (~/.config)\n"
                   "  ports     --port-dir, else $HELIOWATCH_PORT_DIR, else the folder 'ports'\n"
                   "            beside the default settings file\n"
                   "  data      --data-dir, else $HELIOWATCH_DATA_DIR, else $STATE_DIRECTORY\n"
                   "            (systemd), else $XDG_DATA_HOME/heliowatch (~/.local/share)\n"
                   "\n"
                   "Environment:\n"
                   "  HELIOWATCH_TRACE=1    write the debug trace to standard error\n"
                   "  QT_LOGGING_RULES      e.g. 'heliowatch.info=false' to keep only warnings\n"
                   "\n"
                   "Exit status:\n"
                   "  0  done, or stopped by SIGINT or SIGTERM (--check: every port opened)\n"
                   "  1  the command line or the settings cannot be used (--check: a port\n"
                   "     failed to open)\n"
                   "  2  the data directory cannot be made or written in\n"
                   "  3  another station holds the data directory, or already runs with a\n"
                   "     window\n";
}
