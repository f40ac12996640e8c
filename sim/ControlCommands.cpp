#include "ControlCommands.h"

#include "TextNumbers.h"

#include <cstdio>
#include <map>
#include <sstream>

namespace sim {

namespace {
constexpr int MAX_EPISODE_SECONDS = 86400 * 365;
constexpr long long MAX_ETOTAL_SHIFT = 0x7FFFFFFF;

std::string Ok(const std::string& text = {}) {
    return text.empty() ? "ok" : "ok " + text;
}

std::string Error(const std::string& text) {
    return "error " + text;
}

std::vector<std::string> SplitWords(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

std::string Fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// MODE BITS [ID=VALUE ...] from words[first] on.
bool ParseCondition(const std::vector<std::string>& words, std::size_t first,
                    FaultCondition& condition, std::string& error) {
    if (words.size() < first + 2) {
        error = "expected MODE BITS [ID=VALUE ...]";
        return false;
    }
    const auto mode = ParseNumber(words[first]);
    const auto bits = ParseNumber(words[first + 1]);
    if (!mode || (*mode != 2 && *mode != 3)) {
        error = "fault mode must be 2 or 3";
        return false;
    }
    if (!bits || *bits > 0xFFFFFFFFLL) {
        error = "bad error bits " + words[first + 1];
        return false;
    }
    condition = {static_cast<int>(*mode), static_cast<std::uint32_t>(*bits), {}};
    for (std::size_t i = first + 2; i < words.size(); ++i) {
        const std::size_t equals = words[i].find('=');
        const auto id = ParseIdentifier(words[i].substr(0, equals));
        const auto value =
            equals == std::string::npos ? std::nullopt : ParseNumber(words[i].substr(equals + 1));
        if (!id || !value || *value > 0xFFFF) {
            error = "bad fault value " + words[i] + " (ID=VALUE, ID in hex)";
            return false;
        }
        condition.values[*id] = static_cast<std::uint16_t>(*value);
    }
    return true;
}

bool* WireFault(FaultSettings& faults, const std::string& name) {
    static const std::map<std::string, bool FaultSettings::*> switches{
        {"silent", &FaultSettings::silent},           {"nak", &FaultSettings::nak},
        {"badsum", &FaultSettings::badChecksum},      {"trailing", &FaultSettings::trailingByte},
        {"misaddress", &FaultSettings::misaddressed},
    };
    const auto found = switches.find(name);
    return found == switches.end() ? nullptr : &(faults.*(found->second));
}
} // namespace

std::string ControlCommands::Help() {
    return "Control commands (TARGET is COM<n>:<position>, positions counted from 1,\n"
           "or a serial number; identifiers are hexadecimal, other numbers decimal or 0x):\n"
           "  list                          all inverters with their state\n"
           "  buses                         the buses with their ptys\n"
           "  show TARGET                   one inverter\n"
           "  set TARGET silent|nak|badsum|trailing|misaddress on|off\n"
           "  set TARGET fault MODE BITS [ID=VALUE ...]\n"
           "                                report work mode 2 or 3 with these error bits\n"
           "  set TARGET episode EVERY LASTING MODE BITS [ID=VALUE ...]\n"
           "                                the fault for LASTING s of every EVERY s\n"
           "  set TARGET etotal-shift TENTHS  report E-total this many 0.1 kWh off\n"
           "  clear TARGET|all              all fault injection off\n"
           "  param TARGET ID VALUE         set a parameter, its limits ignored\n"
           "  serial TARGET SERIAL          give the inverter a new serial number\n"
           "  unregister TARGET             the inverter forgets its bus address\n"
           "  reset TARGET                  the lifetime counters start again from 0\n"
           "  add COM<n> KIND[/RATED] [SERIAL]  a new inverter, KIND single or three\n"
           "  vanish COM<n>                 close the bus's pty and remove its link\n"
           "  restore COM<n>                a new pty under the same link\n"
           "  heard COM<n>                  broadcasts the bus has heard\n"
           "  help                          this summary\n";
}

std::string ControlCommands::Execute(const std::string& line) {
    using Handler = std::string (ControlCommands::*)(const Words&);
    static const std::map<std::string, Handler> commands{
        {"list", &ControlCommands::List},       {"buses", &ControlCommands::ListBuses},
        {"show", &ControlCommands::Show},       {"set", &ControlCommands::Set},
        {"clear", &ControlCommands::Clear},     {"param", &ControlCommands::Param},
        {"serial", &ControlCommands::Serial},   {"unregister", &ControlCommands::Unregister},
        {"add", &ControlCommands::Add},         {"vanish", &ControlCommands::Vanish},
        {"restore", &ControlCommands::Restore}, {"reset", &ControlCommands::Reset},
        {"heard", &ControlCommands::Heard},
    };
    const Words words = SplitWords(line);
    if (words.empty()) {
        return Error("empty command");
    }
    if (words[0] == "help") {
        std::string summary = Help();
        for (char& c : summary) {
            c = c == '\n' ? ';' : c;
        }
        return Ok(summary);
    }
    const auto command = commands.find(words[0]);
    if (command == commands.end()) {
        return Error("unknown command " + words[0] + " (try help)");
    }
    return (this->*(command->second))(words);
}

SimBus* ControlCommands::FindBus(const std::string& name) {
    const auto port = ParsePortName(name);
    for (SimBus* bus : m_plant.Buses()) {
        if (port && bus->Port() == *port) {
            return bus;
        }
    }
    return nullptr;
}

bool ControlCommands::FindTarget(const std::string& name, Target& target) {
    const std::size_t colon = name.find(':');
    if (colon != std::string::npos) {
        SimBus* bus = FindBus(name.substr(0, colon));
        const auto position = ParseNumber(name.substr(colon + 1));
        if (bus == nullptr || !position || *position < 1 ||
            static_cast<std::size_t>(*position) > bus->Inverters().size()) {
            return false;
        }
        const auto index = static_cast<std::size_t>(*position - 1);
        target = {bus, index, &bus->Inverters()[index]};
        return true;
    }
    for (SimBus* bus : m_plant.Buses()) {
        for (std::size_t i = 0; i < bus->Inverters().size(); ++i) {
            if (bus->Inverters()[i].Profile().serialNo == name) {
                target = {bus, i, &bus->Inverters()[i]};
                return true;
            }
        }
    }
    return false;
}

std::string ControlCommands::Describe(const Target& target) {
    SimInverter& inverter = *target.inverter;
    const InverterProfile& profile = inverter.Profile();
    const InverterReading reading = inverter.Reading(m_clock.Now());
    std::string text =
        "COM" + std::to_string(target.bus->Port()) + ":" + std::to_string(target.index + 1);
    text += " addr=" + std::to_string(inverter.Address());
    text += " serial=" + profile.serialNo;
    text += " kind=" + KindName(profile.kind);
    text += " rated=" + std::to_string(profile.ratedPowerW);
    text += " mode=" + std::to_string(reading.mode);
    text += " pac=" + Fixed(reading.PacTotal() / 10.0, 1);
    text += " vpv=" + Fixed(reading.vpv[0] / 10.0, 1);
    text += " vac=" + Fixed(reading.vac[0] / 10.0, 1);
    text += " temp=" + Fixed(reading.temp / 10.0, 1);
    text += " etoday=" + Fixed(reading.eToday / 100.0, 2);
    text += " etotal=" + Fixed(reading.eTotal / 10.0, 1);
    text += " htotal=" + std::to_string(reading.hTotal);
    text += " params=" + inverter.Params().Describe();
    text += " faults=" + inverter.Faults().Describe();
    return text;
}

std::string ControlCommands::List(const Words&) {
    std::string text;
    std::size_t count = 0;
    for (SimBus* bus : m_plant.Buses()) {
        for (std::size_t i = 0; i < bus->Inverters().size(); ++i, ++count) {
            text += "; " + Describe({bus, i, &bus->Inverters()[i]});
        }
    }
    return Ok(std::to_string(count) + " inverters" + text);
}

std::string ControlCommands::ListBuses(const Words&) {
    std::string text;
    for (SimBus* bus : m_plant.Buses()) {
        const std::string pty = m_plant.PtyPath(bus->Port());
        text += (text.empty() ? "" : "; ") + ("COM" + std::to_string(bus->Port())) + " " +
                (pty.empty() ? "vanished" : pty) + " " + std::to_string(bus->Inverters().size());
    }
    return Ok(text);
}

std::string ControlCommands::Show(const Words& words) {
    Target target;
    if (words.size() != 2 || !FindTarget(words[1], target)) {
        return Error("usage: show TARGET, with an existing TARGET");
    }
    return Ok(Describe(target));
}

std::string ControlCommands::Set(const Words& words) {
    Target target;
    if (words.size() < 3 || !FindTarget(words[1], target)) {
        return Error("usage: set TARGET WHAT ..., with an existing TARGET");
    }
    if (words[2] == "fault") {
        return SetFault(*target.inverter, words);
    }
    if (words[2] == "episode") {
        return SetEpisode(*target.inverter, words);
    }
    if (words[2] == "etotal-shift") {
        return SetETotalShift(*target.inverter, words);
    }
    bool* flag = WireFault(target.inverter->Faults(), words[2]);
    if (flag == nullptr || words.size() != 4 || (words[3] != "on" && words[3] != "off")) {
        return Error("usage: set TARGET silent|nak|badsum|trailing|misaddress on|off");
    }
    *flag = words[3] == "on";
    return Ok(target.inverter->Faults().Describe());
}

std::string ControlCommands::SetFault(SimInverter& inverter, const Words& words) {
    FaultCondition condition;
    std::string error;
    if (!ParseCondition(words, 3, condition, error)) {
        return Error(error);
    }
    inverter.Faults().condition = condition;
    return Ok(inverter.Faults().Describe());
}

std::string ControlCommands::SetEpisode(SimInverter& inverter, const Words& words) {
    if (words.size() < 5) {
        return Error("usage: set TARGET episode EVERY LASTING MODE BITS [ID=VALUE ...]");
    }
    const auto every = ParseNumber(words[3]);
    const auto lasting = ParseNumber(words[4]);
    if (!every || !lasting || *every < 1 || *every > MAX_EPISODE_SECONDS || *lasting < 1 ||
        *lasting > *every) {
        return Error("episode needs 1 <= LASTING <= EVERY seconds");
    }
    FaultEpisode episode{static_cast<int>(*every), static_cast<int>(*lasting), m_clock.Now(), {}};
    std::string error;
    if (!ParseCondition(words, 5, episode.condition, error)) {
        return Error(error);
    }
    inverter.Faults().episode = episode;
    return Ok(inverter.Faults().Describe());
}

std::string ControlCommands::SetETotalShift(SimInverter& inverter, const Words& words) {
    const auto shift = words.size() == 4 ? ParseSignedNumber(words[3]) : std::nullopt;
    if (!shift || *shift < -MAX_ETOTAL_SHIFT || *shift > MAX_ETOTAL_SHIFT) {
        return Error("usage: set TARGET etotal-shift TENTHS, a whole number of 0.1 kWh");
    }
    inverter.Faults().eTotalShift = static_cast<std::int32_t>(*shift);
    return Ok(inverter.Faults().Describe());
}

std::string ControlCommands::Clear(const Words& words) {
    if (words.size() == 2 && words[1] == "all") {
        for (SimBus* bus : m_plant.Buses()) {
            for (SimInverter& inverter : bus->Inverters()) {
                inverter.Faults() = {};
            }
        }
        return Ok();
    }
    Target target;
    if (words.size() != 2 || !FindTarget(words[1], target)) {
        return Error("usage: clear TARGET|all, with an existing TARGET");
    }
    target.inverter->Faults() = {};
    return Ok();
}

std::string ControlCommands::Param(const Words& words) {
    Target target;
    if (words.size() != 4 || !FindTarget(words[1], target)) {
        return Error("usage: param TARGET ID VALUE, with an existing TARGET");
    }
    const auto id = ParseIdentifier(words[2]);
    const auto value = ParseNumber(words[3]);
    if (!id || !value || *value > 0xFFFF || !target.inverter->Params().Set(*id, *value)) {
        return Error("parameter identifiers are 40 to 4B, values 0 to 65535");
    }
    return Ok(target.inverter->Params().Describe());
}

std::string ControlCommands::Serial(const Words& words) {
    Target target;
    if (words.size() != 3 || !FindTarget(words[1], target) || words[2].size() > SERIAL_NO_LENGTH) {
        return Error("usage: serial TARGET SERIAL, SERIAL at most 16 characters");
    }
    target.inverter->SetSerialNo(words[2]);
    return Ok(words[2]);
}

std::string ControlCommands::Unregister(const Words& words) {
    Target target;
    if (words.size() != 2 || !FindTarget(words[1], target)) {
        return Error("usage: unregister TARGET, with an existing TARGET");
    }
    target.inverter->Unregister();
    return Ok();
}

std::string ControlCommands::Reset(const Words& words) {
    Target target;
    if (words.size() != 2 || !FindTarget(words[1], target)) {
        return Error("usage: reset TARGET, with an existing TARGET");
    }
    target.inverter->ResetTotals(m_clock.Now());
    return Ok();
}

std::string ControlCommands::Add(const Words& words) {
    SimBus* bus = words.size() >= 3 ? FindBus(words[1]) : nullptr;
    const std::vector<std::string> kindAndRating =
        words.size() >= 3 ? SplitText(words[2], '/') : std::vector<std::string>{};
    const auto kind = kindAndRating.empty() ? std::nullopt : ParseKind(kindAndRating[0]);
    const auto rated = kindAndRating.size() == 2 ? ParseNumber(kindAndRating[1]) : 0LL;
    if (bus == nullptr || !kind || kindAndRating.size() > 2 || !rated || *rated < 0 ||
        *rated > MAX_RATED_POWER_W || words.size() > 4 ||
        (words.size() == 4 && words[3].size() > SERIAL_NO_LENGTH)) {
        return Error("usage: add COM<n> single|three[/RATED] [SERIAL], on an existing bus");
    }
    const int position = static_cast<int>(bus->Inverters().size()) + 1;
    bus->AddInverter(m_factory.Make(*kind, bus->Port(), position, static_cast<int>(*rated),
                                    words.size() == 4 ? words[3] : std::string{}));
    return Ok(Describe({bus, bus->Inverters().size() - 1, &bus->Inverters().back()}));
}

std::string ControlCommands::Vanish(const Words& words) {
    SimBus* bus = words.size() == 2 ? FindBus(words[1]) : nullptr;
    if (bus == nullptr) {
        return Error("usage: vanish COM<n>, on an existing bus");
    }
    std::string error;
    return m_plant.Vanish(bus->Port(), error) ? Ok() : Error(error);
}

std::string ControlCommands::Heard(const Words& words) {
    const SimBus* bus = words.size() == 2 ? FindBus(words[1]) : nullptr;
    if (bus == nullptr) {
        return Error("usage: heard COM<n>, on an existing bus");
    }
    return Ok("reconnect-all=" + std::to_string(bus->ReconnectsHeard()));
}

std::string ControlCommands::Restore(const Words& words) {
    SimBus* bus = words.size() == 2 ? FindBus(words[1]) : nullptr;
    if (bus == nullptr) {
        return Error("usage: restore COM<n>, on an existing bus");
    }
    std::string error;
    return m_plant.Restore(bus->Port(), error) ? Ok(m_plant.PtyPath(bus->Port())) : Error(error);
}

} // namespace sim
