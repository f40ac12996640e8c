#include "SimOptions.h"

#include "ControlCommands.h"
#include "InverterProfile.h"
#include "TextNumbers.h"
#include "comm/Protocol.h"

#include <QCommandLineParser>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace sim {

namespace {
using Setter = std::function<bool(SimOptions&, const std::string&, std::string&)>;

bool SetBus(SimOptions& options, const std::string& value, std::string& error) {
    const auto layout = BusLayout::Parse(value, error);
    if (!layout) {
        return false;
    }
    for (const BusLayout& existing : options.buses) {
        if (existing.port == layout->port) {
            error = "COM" + std::to_string(layout->port) + " given twice";
            return false;
        }
    }
    options.buses.push_back(*layout);
    return true;
}

// COM<n>:<position>=SERIAL
bool SetSerial(SimOptions& options, const std::string& value, std::string& error) {
    error = "--serial '" + value + "': expected COM<n>:<position>=SERIAL (1 to 16 characters)";
    const std::size_t colon = value.find(':');
    const std::size_t equals = value.find('=');
    if (colon == std::string::npos || equals == std::string::npos || equals < colon) {
        return false;
    }
    const auto port = ParsePortName(value.substr(0, colon));
    const long long position = ParseNumber(value.substr(colon + 1, equals - colon - 1)).value_or(0);
    const std::string serial = value.substr(equals + 1);
    if (!port || position < 1 || serial.empty() || serial.size() > SERIAL_NO_LENGTH) {
        return false;
    }
    options.serials[{*port, static_cast<int>(position)}] = serial;
    return true;
}

// KIND=ID,ID,...
bool SetFields(std::map<InverterKind, std::vector<std::uint8_t>>& lists, const std::string& value,
               std::string& error) {
    const std::size_t equals = value.find('=');
    const auto kind = ParseKind(value.substr(0, equals));
    const auto ids =
        equals == std::string::npos ? std::nullopt : ParseIdentifierList(value.substr(equals + 1));
    if (!kind || !ids || ids->size() > MAX_FIELDS) {
        error = "fields '" + value + "': expected single|three=ID,ID,... (hexadecimal, at most " +
                std::to_string(MAX_FIELDS) + ")";
        return false;
    }
    lists[*kind] = *ids;
    return true;
}

bool SetSpeed(SimOptions& options, const std::string& value, std::string& error) {
    char* end = nullptr;
    const double speed = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || !std::isfinite(speed) || speed <= 0.0 || speed > 1e6) {
        error = "--speed '" + value + "': expected a factor above 0";
        return false;
    }
    options.speed = speed;
    return true;
}

// HH:MM or HH:MM:SS
bool SetStart(SimOptions& options, const std::string& value, std::string& error) {
    const std::vector<std::string> parts = SplitText(value, ':');
    int seconds = 0;
    bool valid = parts.size() == 2 || parts.size() == 3;
    for (std::size_t i = 0; valid && i < 3; ++i) {
        const auto part = i < parts.size() ? ParseNumber(parts[i]) : 0LL;
        valid = part && *part >= 0 && *part < (i == 0 ? 24 : 60);
        seconds = seconds * 60 + (valid ? static_cast<int>(*part) : 0);
    }
    if (!valid) {
        error = "--start '" + value + "': expected HH:MM or HH:MM:SS";
        return false;
    }
    options.startSecondOfDay = seconds;
    return true;
}

std::optional<double> ParseDecimal(const std::string& value, double lowest, double highest) {
    char* end = nullptr;
    const double number = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || !(number >= lowest && number <= highest)) {
        return std::nullopt;
    }
    return number;
}

bool SetAmbient(SimOptions& options, const std::string& value, std::string& error) {
    const auto celsius = ParseDecimal(value, -60.0, 80.0);
    if (!celsius) {
        error = "--ambient '" + value + "': expected degrees Celsius, -60 to 80";
        return false;
    }
    options.ambientTenths = static_cast<int>(std::lround(*celsius * 10.0));
    return true;
}

bool SetWireTime(SimOptions& options, const std::string& value, std::string& error) {
    if (value != "on" && value != "off") {
        error = "--wire-time '" + value + "': expected on or off";
        return false;
    }
    options.wireTime.paced = value == "on";
    return true;
}

bool SetTurnaround(SimOptions& options, const std::string& value, std::string& error) {
    const auto milliseconds = ParseDecimal(value, 0.0, 1000.0);
    if (!milliseconds) {
        error = "--turnaround '" + value + "': expected milliseconds, 0 to 1000";
        return false;
    }
    options.wireTime.turnaround = std::chrono::microseconds(std::lround(*milliseconds * 1000.0));
    return true;
}

const std::map<std::string, Setter>& Setters() {
    static const std::map<std::string, Setter> setters{
        {"--port-dir",
         [](SimOptions& o, const std::string& v, std::string&) {
             o.portDirectory = v;
             return true;
         }},
        {"--control",
         [](SimOptions& o, const std::string& v, std::string&) {
             o.controlPath = v;
             return true;
         }},
        {"--bus", SetBus},
        {"--serial-prefix",
         [](SimOptions& o, const std::string& v, std::string& e) {
             if (v.size() > SERIAL_NO_LENGTH - 4) {
                 e = "--serial-prefix: at most 12 characters";
                 return false;
             }
             o.serialPrefix = v;
             return true;
         }},
        {"--serial", SetSerial},
        {"--runtime-fields", [](SimOptions& o, const std::string& v,
                                std::string& e) { return SetFields(o.runtimeFields, v, e); }},
        {"--param-fields", [](SimOptions& o, const std::string& v,
                              std::string& e) { return SetFields(o.paramFields, v, e); }},
        {"--speed", SetSpeed},
        {"--start", SetStart},
        {"--ambient", SetAmbient},
        {"--wire-time", SetWireTime},
        {"--turnaround", SetTurnaround},
        {"--exec",
         [](SimOptions& o, const std::string& v, std::string&) {
             o.commands.push_back(v);
             return true;
         }},
    };
    return setters;
}

// The options in the order given: values set later override earlier ones,
// and a repeated option is applied once per value.
bool ApplyInOrder(const QCommandLineParser& parser, SimOptions& options, std::string& error) {
    std::map<QString, qsizetype> used;
    for (const QString& name : parser.optionNames()) {
        const auto setter = Setters().find("--" + name.toStdString());
        if (setter == Setters().end()) {
            continue;
        }
        const QString value = parser.values(name).at(used[name]++);
        if (!setter->second(options, value.toStdString(), error)) {
            return false;
        }
    }
    return true;
}

std::string ParseError(const QCommandLineParser& parser) {
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
        const QString& name = unknown.constFirst();
        return "unknown option '" + std::string(name.size() == 1 ? "-" : "--") +
               name.toStdString() + "'";
    }
    return parser.errorText().toStdString();
}

bool CheckSerialTargets(const SimOptions& options, std::string& error) {
    for (const auto& [target, serial] : options.serials) {
        bool found = false;
        for (const BusLayout& bus : options.buses) {
            found = found || (bus.port == target.first && target.second <= bus.InverterCount());
        }
        if (!found) {
            error = "--serial for COM" + std::to_string(target.first) + ":" +
                    std::to_string(target.second) + ", which no --bus creates";
            return false;
        }
    }
    return true;
}
} // namespace

SimOptions::Outcome SimOptions::Parse(const std::vector<std::string>& args, SimOptions& options,
                                      std::string& error) {
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version("version");
    parser.addOptions({help, version});
    for (const auto& [name, setter] : Setters()) {
        parser.addOption(QCommandLineOption(QString::fromStdString(name.substr(2)), {}, "value"));
    }
    QStringList arguments{"heliowatch-sim"};
    for (const std::string& arg : args) {
        arguments << QString::fromStdString(arg);
    }
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(help)) {
        return Outcome::Help;
    }
    if (parser.isSet(version)) {
        return Outcome::Version;
    }
    if (!parsed) {
        error = ParseError(parser);
        return Outcome::Invalid;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error =
            "unexpected argument '" + parser.positionalArguments().constFirst().toStdString() + "'";
        return Outcome::Invalid;
    }
    if (!ApplyInOrder(parser, options, error)) {
        return Outcome::Invalid;
    }
    if (options.buses.empty()) {
        error = "at least one --bus is needed";
        return Outcome::Invalid;
    }
    return CheckSerialTargets(options, error) ? Outcome::Run : Outcome::Invalid;
}

std::string SimOptions::Usage() {
    return "Usage: heliowatch-sim --bus COM<n>:KIND[/RATED][*COUNT][,...] [--bus ...] [options]\n"
           "\n"
           "Simulates inverters on serial buses. Each bus is a pseudo-terminal whose\n"
           "slave is linked into the port directory as COM<n>.\n"
           "KIND is single or three; RATED the rated power in W (1 to 6500);\n"
           "COUNT the number of such inverters, e.g. --bus COM4:three*2,single/2000*1\n"
           "\n"
           "Options:\n"
           "  --port-dir DIR           port directory (default: the station's, see\n"
           "                           heliowatch --help)\n"
           "  --control PATH           UNIX socket taking the control commands below\n"
           "  --serial-prefix TEXT     serial numbers are TEXT, then port and position in\n"
           "                           16 characters (default SIM: SIM0000000003001)\n"
           "  --serial COM<n>:<pos>=SERIAL   the serial number of one inverter\n"
           "  --runtime-fields KIND=ID,...   runtime field list of a kind (hexadecimal)\n"
           "  --param-fields KIND=ID,...     parameter field list of a kind (hexadecimal)\n"
           "  --speed FACTOR           simulated time runs FACTOR times as fast (default 1)\n"
           "  --start HH:MM[:SS]       simulated time starts at this local time of today\n"
           "  --ambient CELSIUS        ambient temperature (default 20)\n"
           "  --wire-time on|off       replies take their time on the line: one character\n"
           "                           time per byte at the speed the station set, after\n"
           "                           the turnaround (default on; off: whole, at once)\n"
           "  --turnaround MS          from a request's last byte to the reply's first,\n"
           "                           in milliseconds (default 5)\n"
           "  --exec COMMAND           run a control command at start, e.g. a fault;\n"
           "                           repeatable\n"
           "  -h, --help               this text\n"
           "  --version                the version\n"
           "\n"
           "Prints 'bus COM<n> link PATH pty PATH' per bus, 'control PATH' and 'ready',\n"
           "then runs until SIGINT or SIGTERM and removes its links.\n"
           "\n" +
           ControlCommands::Help();
}

} // namespace sim
