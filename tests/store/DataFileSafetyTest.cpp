#include "HistLogFixture.h"
#include "model/Inverter.h"
#include "model/SingleRuntimeData.h"
#include "platform/DataDirectory.h"
#include "store/FaultRecordFile.h"
#include "store/HistoryWriter.h"
#include "store/StorageHealth.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class DataFileSafetyTest : public HistLogFixture {
protected:
    void SetUp() override {
        HistLogFixture::SetUp();
        m_inverter.m_strSerialNo = "S1";
        m_inverter.m_pRuntimeData = std::make_unique<SingleRuntimeData>();
    }

    void WriteHistory() { WriteSingleHistory(m_inverter); }
    static void WriteFault() { StoreFaultRecord(InvFaultRecord{}, -1); }

    CInverter m_inverter;
};

mode_t ModeOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

// A link planted in HistLog must not make the station write elsewhere, as
// root least of all; nor may a FIFO there hang its thread.
TEST_F(DataFileSafetyTest, AnythingButARegularFileInPlaceIsRefusedWithAWarning) {
    const std::string outside = m_dataDirectory + "/outside";
    WriteFile(outside, "precious");
    const std::pair<const char*, std::function<void()>> writers[] = {
        {"S1.csv", [this] { WriteHistory(); }},
        {"InvFaultRecord.dat", [] { WriteFault(); }},
    };
    const std::pair<const char*, std::function<void(const std::string&)>> plants[] = {
        {"is a symbolic link", [&](const std::string& at) { fs::create_symlink(outside, at); }},
        {"is a symbolic link",
         [&](const std::string& at) { fs::create_symlink(outside + "2", at); }},
        {"is not a regular file", [](const std::string& at) { ::mkfifo(at.c_str(), 0644); }},
    };
    int episode = 0;
    for (const auto& [name, write] : writers) {
        for (const auto& [warning, plant] : plants) {
            // Each case in a data directory of its own: one warning per episode.
            SetDataDirectory(m_dataDirectory + "/case" + std::to_string(++episode));
            ASSERT_TRUE(CreateDataDirectories());
            const std::string path = HistLogDirectory() + "/" + name;
            plant(path);
            testing::internal::CaptureStderr();
            write();
            const std::string stderrText = testing::internal::GetCapturedStderr();
            EXPECT_NE(stderrText.find(path + " " + warning), std::string::npos)
                << name << ": " << stderrText;
            EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(path))) << name;
        }
    }
    EXPECT_EQ(ReadFile(outside), "precious");
    EXPECT_FALSE(fs::exists(outside + "2"));
}

TEST_F(DataFileSafetyTest, DataFoldersAreNeverOpenToOthersWhateverTheUmask) {
    const mode_t before = ::umask(0);
    SetDataDirectory(m_dataDirectory + "/new/data");
    EXPECT_TRUE(CreateDataDirectories());
    fs::remove(HistLogDirectory());
    WriteHistory(); // makes HistLog again
    ::umask(before);
    for (const std::string folder : {"/new", "/new/data", "/new/data/HistLog"}) {
        EXPECT_EQ(ModeOf(m_dataDirectory + folder), 0755U) << folder;
    }
    EXPECT_EQ(ModeOf(HistLogDirectory() + "/S1.csv"), 0644U);
}

// A file where the data directory should be: every write fails, and the
// operator hears of it twice, not once per sample.
TEST_F(DataFileSafetyTest, UnusableDataDirectoryIsOneEpisodeWithOneWarningEachWay) {
    std::vector<std::pair<bool, std::string>> heard;
    SetStorageListener(
        [&heard](bool usable, const std::string& text) { heard.emplace_back(usable, text); });
    fs::remove(HistLog());
    WriteFile(HistLog(), "");
    testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i) {
        WriteHistory();
        WriteFault();
    }
    EXPECT_NE(StorageProblem().find("Not a directory"), std::string::npos) << StorageProblem();
    fs::remove(HistLog());
    WriteHistory();
    WriteFault();
    const std::string warnings = testing::internal::GetCapturedStderr();
    SetStorageListener(nullptr);

    EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'), 2) << warnings;
    ASSERT_EQ(heard.size(), 2U);
    EXPECT_FALSE(heard[0].first);
    EXPECT_NE(heard[0].second.find(InHistLog("S1.csv") + ": Not a directory"), std::string::npos);
    EXPECT_TRUE(heard[1].first);
    EXPECT_EQ(StorageProblem(), "");
}

} // namespace
