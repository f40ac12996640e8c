#include "store/FaultRecordReader.h"

#include "HistLogFixture.h"
#include "store/FaultRecordCodec.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

InvFaultRecord Record(char serial, std::int32_t startTime) {
    InvFaultRecord record;
    record.serialNo[0] = serial;
    record.mode = 3;
    record.errorBits = 1U << 15;
    record.value1 = 4120;
    record.startTime = startTime;
    record.endTime = startTime + 60;
    return record;
}

std::string Bytes(const InvFaultRecord& record) {
    const FaultRecordBytes bytes = EncodeFaultRecord(record);
    return std::string(bytes.begin(), bytes.end());
}

class FaultRecordReaderTest : public HistLogFixture {
protected:
    std::string Path() const { return InHistLog("InvFaultRecord.dat"); }
};

// Every prefix of a valid file loads: whole records only, never a row beyond the data.
TEST_F(FaultRecordReaderTest, EveryTruncationLoadsTheWholeRecordsBeforeIt) {
    const std::vector<InvFaultRecord> records = {Record('A', 10), Record('B', 20), Record('C', 30)};
    std::string file = "Fault Record File";
    for (const auto& record : records) {
        file += Bytes(record);
    }
    for (std::size_t length = 0; length <= file.size(); ++length) {
        WriteFile(Path(), file.substr(0, length));
        const auto loaded = LoadFaultRecords(Path());
        const std::size_t whole = length > 17 ? (length - 17) / 40 : 0;
        ASSERT_EQ(loaded.size(), whole) << length;
        for (std::size_t i = 0; i < whole; ++i) {
            EXPECT_EQ(Bytes(loaded[i]), Bytes(records[i])) << length;
        }
    }
}

TEST_F(FaultRecordReaderTest, FileWithoutTheHeaderGivesNoRecords) {
    WriteFile(Path(), "Fault Record Filx" + Bytes(Record('A', 10)));
    EXPECT_TRUE(LoadFaultRecords(Path()).empty());
    WriteFile(Path(), Bytes(Record('A', 10)) + Bytes(Record('B', 10)));
    EXPECT_TRUE(LoadFaultRecords(Path()).empty());
}

TEST_F(FaultRecordReaderTest, MissingFileOrDirectoryGivesNoRecords) {
    EXPECT_TRUE(LoadFaultRecords(Path()).empty());
    EXPECT_TRUE(LoadFaultRecords(HistLog()).empty());
}

} // namespace
