#include "store/SettingsStore.h"

#include "HistLogFixture.h"
#include "SmallTmpfs.h"
#include "store/BusSettings.h"
#include "store/MqttSettings.h"
#include "store/SettingsKeys.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

class SettingsStoreTest : public HistLogFixture {
protected:
    std::string Path() const { return m_dataDirectory + "/Heliowatch.ini"; }
};

TEST_F(SettingsStoreTest, SavingChangesOnlyTheLineOfItsKey) {
    const std::string before = std::string("\xEF\xBB\xBF") + "; written by hand\r\n"
                                                             "[Interval]\r\n"
                                                             "# seconds\r\n"
                                                             "  Interval = 5 \r\n"
                                                             "\r\n"
                                                             "[Com3]\r\n"
                                                             "Enable=1\r\n"
                                                             "; sensor below\r\n";
    WriteFile(Path(), before);
    SettingsStore store(Path());
    EXPECT_EQ(store.Problem(), "");
    EXPECT_EQ(store.GetInt("Interval", "Interval", -1), 5);

    EXPECT_TRUE(store.WriteInt("Interval", "Interval", 9));
    EXPECT_TRUE(store.WriteInt("Com3", "EnvironmentCom", 4));
    EXPECT_TRUE(store.WriteInt("Com5", "Enable", 0));
    EXPECT_EQ(ReadFile(Path()), std::string("\xEF\xBB\xBF") + "; written by hand\r\n"
                                                              "[Interval]\r\n"
                                                              "# seconds\r\n"
                                                              "  Interval = 9\r\n"
                                                              "\r\n"
                                                              "[Com3]\r\n"
                                                              "Enable=1\r\n"
                                                              "EnvironmentCom=4\r\n"
                                                              "; sensor below\r\n"
                                                              "\r\n"
                                                              "[Com5]\r\n"
                                                              "Enable=0\r\n");
    EXPECT_EQ(SettingsStore(Path()).GetInt("Com3", "EnvironmentCom", -1), 4);
}

TEST_F(SettingsStoreTest, SavingThroughALinkKeepsTheLink) {
    const std::string real = m_dataDirectory + "/real.ini";
    WriteFile(real, "[Interval]\nInterval=5\n");
    std::filesystem::create_symlink(real, Path());
    EXPECT_TRUE(SettingsStore(Path()).WriteInt("Interval", "Interval", 9));
    EXPECT_TRUE(std::filesystem::is_symlink(Path()));
    EXPECT_EQ(ReadFile(real), "[Interval]\nInterval=9\n");
}

// Numbers once wrapped: 4294967297 read as 1.
TEST_F(SettingsStoreTest, NumbersOutsideTheirRangeAreRefusedNamingFileAndLine) {
    const std::pair<std::string, int> cases[] = {
        {"4294967297", -1}, {"2147483647", -1},           {"86401", -1},    {"0", -1},  {"1.5", -1},
        {"", -1},           {"99999999999999999999", -1}, {"86400", 86400}, {" 7 ", 7}, {"+3", 3},
    };
    for (const auto& [text, expected] : cases) {
        WriteFile(Path(), "[Interval]\nInterval=" + text + "\n");
        const SettingsStore settings(Path());
        EXPECT_EQ(settings.GetInt("Interval", "Interval", -1, INTERVAL_RANGE), expected) << text;
        const std::vector<std::string> problems = settings.KeyProblems();
        if (expected == -1) {
            ASSERT_EQ(problems.size(), 1U) << text;
            EXPECT_EQ(problems[0],
                      Path() + " line 2: Interval=" + text +
                          " is not a whole number from 1 to 86400; the default 2 is used")
                << text;
        } else {
            EXPECT_TRUE(problems.empty()) << problems[0];
        }
    }
}

TEST_F(SettingsStoreTest, EveryKnownKeyAtItsDefaultIsTaken) {
    std::string text;
    for (const SettingKey& key : SettingsKeys()) {
        const std::string section =
            key.section == std::string(PORT_SECTION) ? "Com19" : key.section;
        text += "[" + section + "]\n" + key.key + "=" + key.defaultText + "\n";
    }
    WriteFile(Path(), text);
    const std::vector<std::string> problems = SettingsStore(Path()).KeyProblems();
    EXPECT_TRUE(problems.empty()) << problems[0];
}

TEST_F(SettingsStoreTest, KeysTheStationWritesAreKnown) {
    MqttSettings mqtt;
    mqtt.stationId = "roof-1";
    mqtt.password = "secret";
    ASSERT_TRUE(SaveMqttSettings(Path(), mqtt));
    SettingsStore store(Path());
    ASSERT_TRUE(WriteFastReplies(store, true));
    const std::vector<std::string> problems = SettingsStore(Path()).KeyProblems();
    EXPECT_TRUE(problems.empty()) << problems[0];
}

TEST_F(SettingsStoreTest, UnknownKeysAndValuesOfTheWrongKindAreNamed) {
    WriteFile(Path(), "[Com3]\nEnable=2\nEnabled=1\n[com4]\nEnable=1\nEnvironmentCom=1\n"
                      "[Com20]\nEnable=1\n[Web]\nPort=http\nListen=0.0.0.0\n; Colour=red\n");
    const std::string at = Path() + " line ";
    EXPECT_EQ(
        SettingsStore(Path()).KeyProblems(),
        (std::vector<std::string>{
            at + "2: Enable=2 is not 0 or 1; the default 0 is used",
            at + "3: unknown key Enabled in [Com3]; it is ignored",
            at + "5: unknown section [com4]; it is ignored",
            at + "8: unknown section [Com20]; it is ignored",
            at + "10: Port=http is not a whole number from 1 to 65535; the default 8080 is used",
        }));
}

TEST_F(SettingsStoreTest, FailedSaveSaysSoAndLeavesTheFileAsItWas) {
    SmallTmpfs disk(m_dataDirectory + "/disk", 64 * 1024);
    if (!disk.Mounted()) {
        GTEST_SKIP() << "no permission to mount a tmpfs";
    }
    const std::string path = disk.Path() + "/Heliowatch.ini";
    const std::string before = "; keep\n[Interval]\nInterval=5\n" + std::string(4000, ';') + "\n";
    WriteFile(path, before);
    SmallTmpfs::FillWith(disk.Path() + "/filler");
    SettingsStore store(path);

    testing::internal::CaptureStderr();
    EXPECT_FALSE(store.WriteInt("Interval", "Interval", 9));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("No space left on device"),
              std::string::npos);
    EXPECT_EQ(ReadFile(path), before);
    std::filesystem::remove(disk.Path() + "/filler");
    EXPECT_TRUE(store.WriteInt("Interval", "Interval", 9));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
