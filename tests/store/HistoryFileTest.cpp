#include "store/HistoryFile.h"

#include "HistLogFixture.h"
#include "model/Inverter.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"
#include "store/HistoryFileName.h"
#include "store/HistoryLine.h"
#include "store/HistoryWriter.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
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

TEST_F(HistoryFileTest, MissingDirectoryLosesOnlyThatLine) {
    std::filesystem::remove(HistLog());
    const CInverter& inverter = SingleInverter("S5");
    WriteSingleHistory(inverter);
    EXPECT_TRUE(FilesBelowDataDirectory().empty());

    std::filesystem::create_directory(HistLog());
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
        {"../x", "_._x.csv"},
        {"a/b", "a_b.csv"},
        {"..", "_..csv"},
        {".", "_.csv"},
        {".hidden", "_hidden.csv"},
        {std::string("a\x01\n\x7f\xff", 5), "a____.csv"},
        {std::string("A\0B", 3), "A_B.csv"},
        {"../../../../tmp/evil", "_._.._.._.._tmp_evil.csv"},
        {"SN 1,2;3*", "SN_1_2_3_.csv"},
        {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOP.csv"},
        {"sn-2024_a.b", "sn-2024_a.b.csv"},
        {"", std::string(UNKNOWN_SERIAL_FILE_NAME)},
    };
    std::vector<std::string> expected;
    for (const auto& [serialNo, name] : cases) {
        EXPECT_EQ(HistoryFileName(serialNo), name);
        WriteSingleHistory(SingleInverter(serialNo));
        expected.push_back("HistLog/" + name);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FilesBelowDataDirectory(), expected);
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
                AppendHistoryLine(path, "header\r\n", line);
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
