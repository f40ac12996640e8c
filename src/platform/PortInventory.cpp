#include "PortInventory.h"

#include "DeviceNames.h"
#include "FirstLine.h"
#include "PortDirectory.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/stat.h>

namespace {
namespace fs = std::filesystem;

// Attributes a device does not have read as empty.
std::string FirstLine(const fs::path& path) {
    const Outcome<std::string> line = ReadFirstLine(path.string());
    return line ? *line : std::string();
}

std::string Canonical(const fs::path& path) {
    std::error_code error;
    const fs::path resolved = fs::canonical(path, error);
    return error ? std::string() : resolved.string();
}

// Where a dangling entry points, absolute.
std::string LinkTarget(const fs::path& entry) {
    std::error_code error;
    const fs::path target = fs::read_symlink(entry, error);
    return error ? entry.string() : (entry.parent_path() / target).lexically_normal().string();
}

bool IsCharacterDevice(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}

bool HasEntry(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

std::string StableName(const SystemPortPlaces& places, const std::string& device) {
    for (const std::string& name : EntryNames(places.byIdDirectory)) {
        const std::string link = places.byIdDirectory + "/" + name;
        if (name != "." && name != ".." && Canonical(link) == device) {
            return link;
        }
    }
    return {};
}

// The tty's sysfs device sits below the USB device that carries the ids.
void AddUsbDetails(const SystemPortPlaces& places, PortDescription& port) {
    port.stableName = StableName(places, port.device);
    const fs::path tty = fs::path(places.ttyClassDirectory) / fs::path(port.device).filename();
    std::error_code error;
    for (fs::path node = fs::canonical(tty / "device", error); !error && node.has_relative_path();
         node = node.parent_path()) {
        if (fs::exists(node / "idVendor")) {
            port.usbId = FirstLine(node / "idVendor") + ":" + FirstLine(node / "idProduct");
            port.vendor = FirstLine(node / "manufacturer");
            port.product = FirstLine(node / "product");
            port.serial = FirstLine(node / "serial");
            return;
        }
    }
}

std::vector<int> PortNumbers(const SystemPortPlaces& places) {
    std::vector<int> numbers = ListSystemPorts(places);
    for (const std::string& name : EntryNames(places.portDirectory)) {
        if (const int number = PortOfEntryName(name); number > 0) {
            numbers.push_back(number);
        }
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

bool IsUsbSerialName(const std::string& name) {
    return NumberAfter(name, "ttyUSB") >= 0 || NumberAfter(name, "ttyACM") >= 0;
}

void AddUnassigned(const SystemPortPlaces& places, std::vector<PortDescription>& ports) {
    std::set<std::string> assigned;
    for (const PortDescription& port : ports) {
        assigned.insert(port.device);
    }
    std::vector<std::string> names = EntryNames(places.deviceDirectory);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        PortDescription port;
        port.device = Canonical(places.deviceDirectory + "/" + name);
        if (IsUsbSerialName(name) && !port.device.empty() && assigned.count(port.device) == 0) {
            AddUsbDetails(places, port);
            ports.push_back(port);
        }
    }
}

std::string Quoted(const char* key, const std::string& value) {
    return value.empty() ? std::string() : std::string(" ") + key + "=\"" + value + "\"";
}
} // namespace

PortDescription DescribePort(const SystemPortPlaces& places, int number) {
    PortDescription port;
    port.port = number;
    std::string path = places.portDirectory + "/" + PortEntryName(number);
    if (!HasEntry(path)) {
        path = places.deviceDirectory + "/ttyS" + std::to_string(number - 1);
    }
    port.device = Canonical(path);
    if (port.device.empty()) {
        port.device = LinkTarget(path);
        port.state = PortDescription::State::Missing;
    } else if (!IsCharacterDevice(port.device)) {
        port.state = PortDescription::State::NotADevice;
    } else {
        AddUsbDetails(places, port);
    }
    return port;
}

std::vector<PortDescription> DescribePorts(const SystemPortPlaces& places) {
    std::vector<PortDescription> ports;
    for (const int number : PortNumbers(places)) {
        ports.push_back(DescribePort(places, number));
    }
    AddUnassigned(places, ports);
    return ports;
}

std::string DescriptionLine(const PortDescription& port) {
    std::string line = (port.port > 0 ? PortEntryName(port.port) : "-") + " " + port.device;
    switch (port.state) {
    case PortDescription::State::Missing: line += " missing"; break;
    case PortDescription::State::NotADevice: line += " not-a-device"; break;
    case PortDescription::State::Present: break;
    }
    if (port.port == 0) {
        line += " no-entry";
    }
    if (!port.stableName.empty()) {
        line += " by-id=" + port.stableName;
    }
    if (!port.usbId.empty()) {
        line += " usb=" + port.usbId;
    }
    return line + Quoted("vendor", port.vendor) + Quoted("product", port.product) +
           Quoted("serial", port.serial);
}
