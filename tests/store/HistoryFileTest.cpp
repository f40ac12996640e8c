#include "store/HistoryFile.h"

#include "HistLogFixture.h"
#include "SmallTmpfs.h"
#include "model/Inverter.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"
#include "platform/DataDirectory.h"
#include "store/HistoryFileName.h"
#include "store/HistoryLine.h"
#include "store/HistoryWriter.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

namespace {

class HistoryFileTest : public HistLogFixture {
protected:
    CInverter& SingleInverter(const std::string& serialNo) {
        m_inverter.m_strSerialNo = serialNo;
        auto data = std::make_unique<SingleRuntimeData>();
        data->m_tSample = 1339675200;
        data->m_nPac = 1000;
        m_inverter.m_pRuntimeData = std::move(data);
        return m_inverter;
    }

    std::string SingleLine() const { return SingleHistoryLine(*m_inverter.m_pRuntimeData); }

    CInverter m_inverter;
};

TEST_F(HistoryFileTest, FirstSampleCreatesTheFileWithHeaderThenLine) {
    const CInverter& inverter = SingleInverter("S1234");
    WriteSingleHistory(inverter);
    const std::string first = std::string(SINGLE_HISTORY_HEADER) + SingleLine();
    EXPECT_EQ(ReadFile(InHistLog("S1234.csv")), first);

    WriteSingleHistory(inverter);
    EXPECT_EQ(ReadFile(InHistLog("S1234.csv")), first + SingleLine());
}

TEST_F(HistoryFileTest, ThreePhaseFileGetsTheThreePhaseHeader) {
    m_inverter.m_strSerialNo = "T1";
    m_inverter.m_pRuntimeData = std::make_unique<ThreeRuntimeData>();
    WriteThreeHistory(m_inverter);
    EXPECT_EQ(ReadFile(InHistLog("T1.csv")),
              std::string(THREE_HISTORY_HEADER) + ThreeHistoryLine(*m_inverter.m_pRuntimeData));
}

TEST_F(HistoryFileTest, SerialChangeStartsANewFileAndLeavesTheOldOne) {
    CInverter& inverter = SingleInverter("OLD1");
    WriteSingleHistory(inverter);
    const std::string oldContent = ReadFile(InHistLog("OLD1.csv"));
    inverter.m_strSerialNo = "NEW2";
    WriteSingleHistory(inverter);
    EXPECT_EQ(ReadFile(InHistLog("OLD1.csv")), oldContent);
    EXPECT_EQ(ReadFile(InHistLog("NEW2.csv")), std::string(SINGLE_HISTORY_HEADER) + SingleLine());
}

TEST_F(HistoryFileTest, ExistingFileWithoutHeaderGetsNone) {
    WriteFile(InHistLog("S9.csv"), "");
    WriteSingleHistory(SingleInverter("S9"));
    EXPECT_EQ(ReadFile(InHistLog("S9.csv")), SingleLine());
}

// A new file is written aside and linked into place; what a crash left aside
// is overwritten and nothing stays behind.
TEST_F(HistoryFileTest, NewFileAppearsWholeAndLeavesNothingAside) {
    WriteFile(InHistLog("S8.csv.part"), "torn");
    WriteSingleHistory(SingleInverter("S8"));
    EXPECT_EQ(ReadFile(InHistLog("S8.csv")), std::string(SINGLE_HISTORY_HEADER) + SingleLine());
    EXPECT_FALSE(std::filesystem::exists(InHistLog("S8.csv.part")));
}

TEST_F(HistoryFileTest, HistLogRemovedWhileRunningIsCreatedAgain) {
    std::filesystem::remove(HistLog());
    WriteSingleHistory(SingleInverter("S5"));
    EXPECT_EQ(ReadFile(InHistLog("S5.csv")), std::string(SINGLE_HISTORY_HEADER) + SingleLine());
}

TEST_F(HistoryFileTest, FileInPlaceOfHistLogLosesOnlyThatLine) {
    std::filesystem::remove(HistLog());
    WriteFile(HistLog(), "");
    const CInverter& inverter = SingleInverter("S5");
    WriteSingleHistory(inverter);
    EXPECT_EQ(FilesBelowDataDirectory(), std::vector<std::string>{"HistLog"});

    std::filesystem::remove(HistLog());
    WriteSingleHistory(inverter);
    EXPECT_EQ(ReadFile(InHistLog("S5.csv")), std::string(SINGLE_HISTORY_HEADER) + SingleLine());
}

TEST_F(HistoryFileTest, InverterWithoutRuntimeDataWritesNothing) {
    m_inverter.m_strSerialNo = "S6";
    WriteSingleHistory(m_inverter);
    WriteThreeHistory(m_inverter);
    EXPECT_TRUE(FilesBelowDataDirectory().empty());
}

TEST_F(HistoryFileTest, UnsafeSerialNumbersStayInsideHistLog) {
    const std::pair<std::string, std::string> cases[] = {
        {"../x", "%2E.%2Fx.csv"},
        {"a/b", "a%2Fb.csv"},
        {"a_b", "a_b.csv"},
        {"a%2Fb", "a%252Fb.csv"},
        {"..", "%2E..csv"},
        {".", "%2E.csv"},
        {".hidden", "%2Ehidden.csv"},
        {std::string("a\x01\n\x7f\xff", 5), "a%01%0A%7F%FF.csv"},
        {std::string("A\0B", 3), "A%00B.csv"},
        {"../../tmp/evil", "%2E.%2F..%2Ftmp%2Fevil.csv"},
        {"SN 1,2;3*", "SN%201%2C2%3B3%2A.csv"},
        {"\x1b[31m", "%1B%5B31m.csv"},
        {std::string(16, '\xff'), "%FF%FF%FF%FF%FF%FF%FF%FF%FF%FF%FF%FF%FF%FF%FF%FF.csv"},
        {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOP.csv"},
        {"sn-2024_a.b", "sn-2024_a.b.csv"},
        {"unknown-serial", "unknown-serial.csv"},
        {"", std::string(UNKNOWN_SERIAL_FILE_NAME)},
    };
    std::vector<std::string> expected;
    for (const auto& [serialNo, name] : cases) {
        EXPECT_EQ(HistoryFileName(serialNo), name);
        EXPECT_EQ(SerialOfHistoryFileName(name), serialNo) << name;
        WriteSingleHistory(SingleInverter(serialNo));
        expected.push_back("HistLog/" + name);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FilesBelowDataDirectory(), expected);
}

TEST(HistoryFileName, EveryTwoByteSerialHasANameOfItsOwn) {
    std::unordered_set<std::string> names;
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            const std::string serialNo{static_cast<char>(first), static_cast<char>(second)};
            const std::string name = HistoryFileName(serialNo);
            ASSERT_EQ(SerialOfHistoryFileName(name), serialNo) << name;
            names.insert(name);
        }
    }
    EXPECT_EQ(names.size(), 256U * 256U);
}

TEST(HistoryFileName, NamesItNeverGivesHaveNoSerial) {
    for (const char* name : {"a_b", ".csv", "%2e.csv", "%2.csv", "%41.csv", "a%.csv", ".hidden.csv",
                             "a b.csv", "%unknown.csv"}) {
        EXPECT_EQ(SerialOfHistoryFileName(name), std::nullopt) << name;
    }
}

// A line that finds the disk full is cut off whole, so that the line written
// once there is room again does not glue itself to its remains.
TEST_F(HistoryFileTest, FullDiskLosesWholeLinesOnly) {
    SmallTmpfs disk(m_dataDirectory + "/disk", 64 * 1024);
    if (!disk.Mounted()) {
        GTEST_SKIP() << "no permission to mount a tmpfs";
    }
    SetDataDirectory(disk.Path());
    const CInverter& inverter = SingleInverter("S1");
    WriteSingleHistory(inverter);
    SmallTmpfs::FillWith(disk.Path() + "/filler");
    for (int i = 0; i < 50; ++i) {
        WriteSingleHistory(inverter);
    }
    std::filesystem::remove(disk.Path() + "/filler");
    WriteSingleHistory(inverter);

    const std::string content = ReadFile(disk.Path() + "/HistLog/S1.csv");
    const std::string line = SingleLine();
    ASSERT_EQ(content.substr(0, SINGLE_HISTORY_HEADER.size()), SINGLE_HISTORY_HEADER);
    const std::string lines = content.substr(SINGLE_HISTORY_HEADER.size());
    ASSERT_EQ(lines.size() % line.size(), 0U) << lines.size();
    EXPECT_LT(lines.size() / line.size(), 52U);
    for (std::size_t offset = 0; offset < lines.size(); offset += line.size()) {
        ASSERT_EQ(lines.substr(offset, line.size()), line) << offset;
    }
    SetDataDirectory(m_dataDirectory);
}

// Lines of two ports that share a serial number must arrive whole.
TEST_F(HistoryFileTest, ConcurrentAppendsNeverInterleave) {
    constexpr int THREADS = 4;
    constexpr int LINES = 200;
    const std::string path = InHistLog("shared.csv");
    std::vector<std::thread> threads;
    for (int t = 0; t < THREADS; ++t) {
        threads.emplace_back([&path, t] {
            const std::string line = std::string(100, static_cast<char>('a' + t)) + "\r\n";
            for (int i = 0; i < LINES; ++i) {
                EXPECT_TRUE(AppendHistoryLine(path, "header\r\n", line));
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    const std::string content = ReadFile(path);
    ASSERT_EQ(content.substr(0, 8), "header\r\n");
    ASSERT_EQ(content.size(), 8U + THREADS * LINES * 102U);
    for (std::size_t offset = 8; offset < content.size(); offset += 102) {
        const std::string line = content.substr(offset, 102);
        ASSERT_EQ(line, std::string(100, line[0]) + "\r\n") << offset;
    }
}

} // namespace
