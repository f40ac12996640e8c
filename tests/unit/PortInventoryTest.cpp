#include "platform/PortInventory.h"

#include "TempDirectory.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text << "\n";
}

// A USB adapter in sysfs: the ids on the device, the tty two levels below.
void AddUsbAdapter(const fs::path& root, const std::string& ttyName) {
    const fs::path usbDevice = root / "sys/usb1/1-1";
    Write(usbDevice / "idVendor", "0403");
    Write(usbDevice / "idProduct", "6001");
    Write(usbDevice / "manufacturer", "Acme");
    Write(usbDevice / "product", "Serial Widget");
    Write(usbDevice / "serial", "A1");
    fs::create_directories(usbDevice / "1-1:1.0" / ttyName);
    fs::create_directories(root / "class" / ttyName);
    fs::create_symlink(usbDevice / "1-1:1.0" / ttyName, root / "class" / ttyName / "device");
}

TEST(PortInventoryTest, DescribesEntriesDevicesAndAdapters) {
    TempDirectory directory;
    const fs::path root = fs::canonical(directory.Path());
    const fs::path ports = root / "ports";
    const fs::path byId = root / "by-id" / "usb-Acme_Serial_Widget_A1-if00-port0";
    fs::create_directories(ports);
    fs::create_directories(byId.parent_path());
    fs::create_symlink("/dev/null", byId); // any character device stands in for the tty
    fs::create_symlink(byId, ports / "COM1");
    Write(ports / "COM2", "not a device");
    fs::create_symlink("../dev/ttyUSB7", ports / "COM5");
    Write(root / "dev/ttyUSB3", "");
    AddUsbAdapter(root, "null");

    std::vector<std::string> lines;
    for (const PortDescription& port :
         DescribePorts({ports.string(), (root / "dev").string(), (root / "class").string(),
                        byId.parent_path().string()})) {
        lines.push_back(DescriptionLine(port));
    }
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  "COM1 /dev/null by-id=" + byId.string() +
                      " usb=0403:6001 vendor=\"Acme\" product=\"Serial Widget\" serial=\"A1\"",
                  "COM2 " + (ports / "COM2").string() + " not-a-device",
                  "COM5 " + (root / "dev/ttyUSB7").string() + " missing",
                  "- " + (root / "dev/ttyUSB3").string() + " no-entry",
              }));
}

} // namespace
