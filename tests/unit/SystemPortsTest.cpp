#include "platform/SystemPorts.h"

#include "TempDirectory.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path).put('\n');
}

void WriteUartType(const fs::path& ttyClass, const std::string& line, const std::string& type) {
    fs::create_directories(ttyClass / line);
    std::ofstream(ttyClass / line / "type") << type << "\n";
}

TEST(SystemPortsTest, EntriesThatLeadSomewhereAndUartBackedLines) {
    TempDirectory directory;
    const fs::path root = directory.Path();
    const fs::path ports = root / "ports";
    const fs::path dev = root / "dev";
    const fs::path ttyClass = root / "class";
    Touch(root / "adapter");
    Touch(ports / "COM3");
    fs::create_symlink(root / "adapter", ports / "COM12");
    fs::create_symlink(root / "unplugged", ports / "COM7"); // dangling
    for (const char* odd : {"COM", "COM0", "COM05", "COMx", "com4", "COM2.bak"}) {
        Touch(ports / odd);
    }
    for (const char* line : {"ttyS0", "ttyS1", "ttyS2", "ttyS11", "ttyUSB0", "ttyS"}) {
        Touch(dev / line);
    }
    WriteUartType(ttyClass, "ttyS0", "4");  // a 16550A
    WriteUartType(ttyClass, "ttyS1", "0");  // reserved line, no UART
    WriteUartType(ttyClass, "ttyS11", "4"); // port 12, also named by an entry
    WriteUartType(ttyClass, "ttyUSB0", "4");

    const std::vector<int> found =
        ListSystemPorts({ports.string(), dev.string(), ttyClass.string()});
    EXPECT_EQ(found, (std::vector<int>{1, 3, 12}));
}

TEST(SystemPortsTest, MissingPlacesGiveNoPorts) {
    EXPECT_TRUE(
        ListSystemPorts({"/nonexistent/ports", "/nonexistent/dev", "/nonexistent/class"}).empty());
}

} // namespace
