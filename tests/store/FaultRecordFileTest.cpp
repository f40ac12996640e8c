#include "store/FaultRecordFile.h"

#include "HistLogFixture.h"
#include "store/FaultRecordCodec.h"
#include "store/FaultRecordReader.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>
#include <numeric>
#include <thread>
#include <vector>

namespace {

const std::string HEADER = "Fault Record File";

InvFaultRecord Record(const std::string& serialNo, std::int32_t startTime) {
    InvFaultRecord record;
    std::copy_n(serialNo.begin(), std::min(serialNo.size(), record.serialNo.size()),
                record.serialNo.begin());
    record.mode = 2;
    record.errorBits = 1U << 10;
    record.value1 = 123;
    record.startTime = startTime;
    record.endTime = -1;
    return record;
}

std::string Bytes(const InvFaultRecord& record) {
    const FaultRecordBytes bytes = EncodeFaultRecord(record);
    return std::string(bytes.begin(), bytes.end());
}

bool SameRecord(const InvFaultRecord& a, const InvFaultRecord& b) {
    return Bytes(a) == Bytes(b);
}

TEST(FaultRecordCodec, FieldsAtTheirOffsetsLittleEndian) {
    InvFaultRecord record;
    std::memcpy(record.serialNo.data(), "SN-7", 4);
    record.mode = 0x0302;
    record.errorBits = 0x07060504;
    record.value1 = 0x0908;
    record.value2 = 0x0B0A;
    record.value3 = 0x0D0C;
    record.startTime = 0x11100F0E;
    record.endTime = -2;
    const FaultRecordBytes bytes = EncodeFaultRecord(record);
    const std::uint8_t expected[40] = {'S',  'N',  '-',  '7',  0,    0,    0,    0,    0,    0,
                                       0,    0,    0,    0,    0,    0,    0x02, 0x03, 0,    0,
                                       0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D,
                                       0,    0,    0x0E, 0x0F, 0x10, 0x11, 0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), expected));
    EXPECT_TRUE(SameRecord(DecodeFaultRecord(bytes), record));
    EXPECT_EQ(DecodeFaultRecord(bytes).endTime, -2);
}

TEST(FaultRecordCodec, SixteenCharacterSerialFillsTheFieldWithoutNul) {
    const FaultRecordBytes bytes = EncodeFaultRecord(Record("ABCDEFGHIJKLMNOP", 0));
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 16), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(bytes[16], 2);
}

class FaultRecordFileTest : public HistLogFixture {
protected:
    std::string FaultFile() const { return InHistLog("InvFaultRecord.dat"); }
    std::string Content() const { return ReadFile(FaultFile()); }
    std::vector<std::string> MovedAside() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(HistLog())) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("InvFaultRecord.dat.bad-", 0) == 0) {
                names.push_back(name);
            }
        }
        return names;
    }
};

TEST_F(FaultRecordFileTest, MissingFileIsCreatedWithHeaderAndFirstRecord) {
    EXPECT_EQ(FaultRecordFilePath(), FaultFile());
    const InvFaultRecord first = Record("A", 100);
    EXPECT_EQ(StoreFaultRecord(first, -1), 0);
    EXPECT_EQ(Content(), HEADER + Bytes(first));
    EXPECT_EQ(Content().size(), 57U);
    EXPECT_EQ(StoreFaultRecord(Record("B", 200), -1), 1);
    EXPECT_EQ(Content().size(), 97U);
}

TEST_F(FaultRecordFileTest, EmptyFileJustGetsTheHeader) {
    WriteFile(FaultFile(), "");
    EXPECT_EQ(StoreFaultRecord(Record("A", 1), -1), 0);
    EXPECT_EQ(Content(), HEADER + Bytes(Record("A", 1)));
    EXPECT_TRUE(MovedAside().empty());
}

TEST_F(FaultRecordFileTest, UpdateRewritesOnlyThatRecord) {
    InvFaultRecord a = Record("A", 100);
    const InvFaultRecord b = Record("B", 200);
    StoreFaultRecord(a, -1);
    StoreFaultRecord(b, -1);
    a.endTime = 150;
    EXPECT_EQ(StoreFaultRecord(a, 0), 0);
    EXPECT_EQ(Content(), HEADER + Bytes(a) + Bytes(b));
}

TEST_F(FaultRecordFileTest, UpdateOutsideTheFileWritesNothing) {
    InvFaultRecord a = Record("A", 100);
    StoreFaultRecord(a, -1);
    const std::string before = Content();
    a.endTime = 150;
    EXPECT_EQ(StoreFaultRecord(a, 1), -1);
    EXPECT_EQ(StoreFaultRecord(a, 1000), -1);
    EXPECT_EQ(StoreFaultRecord(a, -2), -1);
    EXPECT_EQ(Content(), before);
}

TEST_F(FaultRecordFileTest, UpdateNeverOverwritesAnotherRecord) {
    StoreFaultRecord(Record("A", 100), -1);
    const std::string before = Content();
    InvFaultRecord other = Record("B", 100);
    other.endTime = 150;
    EXPECT_EQ(StoreFaultRecord(other, 0), -1);
    EXPECT_EQ(Content(), before);
}

TEST_F(FaultRecordFileTest, UpdateWithoutFileCreatesNothing) {
    EXPECT_EQ(StoreFaultRecord(Record("A", 100), 0), -1);
    EXPECT_FALSE(std::filesystem::exists(FaultFile()));
}

TEST_F(FaultRecordFileTest, FileInPlaceOfHistLogStoresNothing) {
    std::filesystem::remove(HistLog());
    WriteFile(HistLog(), "");
    EXPECT_EQ(StoreFaultRecord(Record("A", 100), -1), -1);
    EXPECT_EQ(FilesBelowDataDirectory(), std::vector<std::string>{"HistLog"});
}

TEST_F(FaultRecordFileTest, HistLogRemovedWhileRunningIsCreatedAgain) {
    std::filesystem::remove(HistLog());
    EXPECT_EQ(StoreFaultRecord(Record("A", 100), -1), 0);
    EXPECT_EQ(Content(), HEADER + Bytes(Record("A", 100)));
}

TEST_F(FaultRecordFileTest, ForeignFileIsMovedAsideNeverDeleted) {
    for (const std::string& foreign : {std::string(100, 'x'), std::string("Fault"),
                                       std::string("fault record file") + std::string(40, '\0')}) {
        SCOPED_TRACE(foreign.size());
        std::filesystem::remove_all(HistLog());
        std::filesystem::create_directory(HistLog());
        WriteFile(FaultFile(), foreign);
        EXPECT_EQ(StoreFaultRecord(Record("A", 1), -1), 0);
        EXPECT_EQ(Content(), HEADER + Bytes(Record("A", 1)));
        const auto moved = MovedAside();
        ASSERT_EQ(moved.size(), 1U);
        EXPECT_EQ(ReadFile(InHistLog(moved[0])), foreign);
    }
}

TEST_F(FaultRecordFileTest, SecondForeignFileInTheSameSecondGetsItsOwnName) {
    WriteFile(FaultFile(), "first");
    StoreFaultRecord(Record("A", 1), -1);
    WriteFile(FaultFile(), "second");
    StoreFaultRecord(Record("A", 1), -1);
    std::vector<std::string> contents;
    for (const auto& name : MovedAside()) {
        contents.push_back(ReadFile(InHistLog(name)));
    }
    std::sort(contents.begin(), contents.end());
    EXPECT_EQ(contents, (std::vector<std::string>{"first", "second"}));
}

TEST_F(FaultRecordFileTest, PartialTailIsCutSoTheIndexNamesTheRecord) {
    const InvFaultRecord a = Record("A", 100);
    const InvFaultRecord b = Record("B", 200);
    WriteFile(FaultFile(), HEADER + Bytes(a) + Bytes(b).substr(0, 13));
    EXPECT_EQ(StoreFaultRecord(b, -1), 1);
    EXPECT_EQ(Content(), HEADER + Bytes(a) + Bytes(b));
}

// Several port threads append at once: each must get the index of its own record.
TEST_F(FaultRecordFileTest, ConcurrentAppendsGetDistinctConsecutiveIndices) {
    constexpr int THREADS = 4;
    constexpr int APPENDS = 50;
    std::mutex mutex;
    std::vector<std::pair<int, InvFaultRecord>> stored;
    std::vector<std::thread> threads;
    for (int t = 0; t < THREADS; ++t) {
        threads.emplace_back([&, t] {
            const std::string serialNo = "T" + std::to_string(t);
            for (int i = 0; i < APPENDS; ++i) {
                const InvFaultRecord record = Record(serialNo, i);
                const int index = StoreFaultRecord(record, -1);
                std::lock_guard lock(mutex);
                stored.emplace_back(index, record);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    const auto loaded = LoadFaultRecords(FaultFile());
    ASSERT_EQ(loaded.size(), static_cast<std::size_t>(THREADS * APPENDS));
    std::vector<int> indices;
    for (const auto& [index, record] : stored) {
        ASSERT_GE(index, 0);
        ASSERT_LT(static_cast<std::size_t>(index), loaded.size());
        EXPECT_TRUE(SameRecord(loaded[index], record)) << index;
        indices.push_back(index);
    }
    std::sort(indices.begin(), indices.end());
    std::vector<int> expected(THREADS * APPENDS);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(indices, expected);
}

} // namespace
