#include "TempDirectory.h"
#include "platform/PortDirectory.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class PortNamingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_directory.Path().empty());
        SetPortDirectory(m_directory.Path());
    }
    void TearDown() override { SetPortDirectory(""); }

    std::string Entry(int port) const { return m_directory.Path() + "/COM" + std::to_string(port); }

    TempDirectory m_directory;
};

TEST_F(PortNamingTest, NumbersWithAnEntryResolveToIt) {
    for (const int port : {1, 9, 10, 12, 19}) {
        ASSERT_EQ(symlink("/dev/null", Entry(port).c_str()), 0);
    }
    for (const int port : {1, 9, 10, 12, 19}) {
        EXPECT_EQ(PortDevicePath(port), Entry(port)) << port;
    }
}

// COM1 must not answer for COM11, nor COM1 for COM10.
TEST_F(PortNamingTest, NumbersWithoutAnEntryFallBackToTheirOnboardPort) {
    ASSERT_EQ(symlink("/dev/null", Entry(1).c_str()), 0);

    EXPECT_EQ(PortDevicePath(2), "/dev/ttyS1");
    EXPECT_EQ(PortDevicePath(10), "/dev/ttyS9");
    EXPECT_EQ(PortDevicePath(11), "/dev/ttyS10");
}

TEST_F(PortNamingTest, DanglingEntryStillNamesThePort) {
    ASSERT_EQ(symlink("/dev/pts/no-such-terminal", Entry(4).c_str()), 0);

    EXPECT_EQ(PortDevicePath(4), Entry(4));
}

TEST_F(PortNamingTest, TheRouteNamesTheEntryAndWhereItLeadsEvenOnceTheEntryIsGone) {
    ASSERT_EQ(symlink("/dev/pts/77", Entry(5).c_str()), 0);
    EXPECT_EQ(PortRouteText(5), "COM5 \u2192 /dev/pts/77");
    ASSERT_EQ(unlink(Entry(5).c_str()), 0);
    EXPECT_EQ(PortRouteText(5), "COM5 \u2192 /dev/pts/77");
    ASSERT_EQ(symlink("ttyUSB0", Entry(5).c_str()), 0);
    EXPECT_EQ(PortTarget(5), m_directory.Path() + "/ttyUSB0");
    EXPECT_EQ(PortRouteText(18), "COM18 \u2192 /dev/ttyS17");
}

} // namespace
