// Writes, from the table of settings keys, either the SETTINGS section of
// the manual (for help2man's --include) or the settings file the package
// installs, with every key commented out at its default.
//
//     heliowatch-settings-text --manual FILE | --ini FILE

#include "store/SettingsKeys.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {
std::vector<std::string> Sections() {
    std::vector<std::string> sections;
    for (const SettingKey& key : SettingsKeys()) {
        if (sections.empty() || sections.back() != key.section) {
            sections.emplace_back(key.section);
        }
    }
    return sections;
}

// Hyphens as roff wants them in names and values.
std::string Roff(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        escaped += c == '-' ? "\\-" : std::string(1, c);
    }
    return escaped;
}

std::string Manual() {
    std::string text =
        "[SETTINGS]\n"
        "The settings file holds \\fB[section]\\fR headers and \\fIkey\\fB=\\fIvalue\\fR lines; "
        "a line that begins with ';' or '#' is a comment. When the station reads it, a section "
        "or key it does not know and a value not of its key's kind are warned about with the "
        "file and line, and the key's default is used. Sections \\fB[Com1]\\fR to "
        "\\fB[Com19]\\fR are the serial ports, written \\fB[Com<n>]\\fR below.\n";
    for (const std::string& section : Sections()) {
        text += ".SS \"[" + section + "]\"\n";
        for (const SettingKey& key : SettingsKeys()) {
            if (key.section == section) {
                const std::string empty = *key.defaultText == '\0' ? "empty; " : "";
                text += ".TP\n\\fB" + Roff(key.key) + "\\fR=" + Roff(key.defaultText) + " (" +
                        empty + Roff(SettingKindText(key)) + ")\n" + Roff(key.meaning) + "\n";
            }
        }
    }
    return text;
}

constexpr const char* INI_HEADER =
    "; Settings of the Heliowatch station, every key at its default. To change\n"
    "; one, remove the ';' before it and set its value; \"man heliowatch\" lists\n"
    "; them all. The service reads /etc/heliowatch/Heliowatch.ini, a user's\n"
    "; station ~/.config/heliowatch/Heliowatch.ini.\n";

constexpr const char* PORT_COMMENT =
    "\n"
    "; One section per serial port with inverters on it, [Com1] to [Com19]. COM3\n"
    "; is the entry COM3 in the ports folder beside this file (/etc/heliowatch/ports\n"
    "; for the service), a link to the device such as /dev/serial/by-id/usb-...;\n"
    "; without an entry it is /dev/ttyS2. \"heliowatch --list-ports\" shows what\n"
    "; there is, \"heliowatch --check\" whether each enabled port opens. To poll\n"
    "; COM3, remove the ';' before [Com3] and Enable and set Enable=1.\n"
    ";[Com3]\n";

std::string Ini() {
    std::string text = INI_HEADER;
    for (const std::string& section : Sections()) {
        text += section == PORT_SECTION ? PORT_COMMENT : "\n[" + section + "]\n";
        for (const SettingKey& key : SettingsKeys()) {
            if (key.section == section) {
                text += "; " + std::string(key.meaning) + " (" + SettingKindText(key) + ")\n;" +
                        key.key + "=" + key.defaultText + "\n";
            }
        }
    }
    return text;
}
} // namespace

int main(int argc, char** argv) {
    const bool manual = argc == 3 && std::strcmp(argv[1], "--manual") == 0;
    if (!manual && !(argc == 3 && std::strcmp(argv[1], "--ini") == 0)) {
        std::fputs("Usage: heliowatch-settings-text --manual FILE | --ini FILE\n", stderr);
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << (manual ? Manual() : Ini());
    out.close();
    if (!out) {
        std::perror(argv[2]);
        return 1;
    }
    return 0;
}
