// Whatever the fault record file holds: the reader reads exactly its whole
// records, and an append followed by the record's close keeps every one of
// them and adds the new record behind them.

#include "FuzzCheck.h"
#include "ScratchFiles.h"
#include "platform/DataDirectory.h"
#include "store/FaultRecordCodec.h"
#include "store/FaultRecordFile.h"
#include "store/FaultRecordReader.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace {
bool SameRecord(const InvFaultRecord& a, const InvFaultRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::size_t WholeRecords(const std::uint8_t* data, std::size_t size) {
    const std::size_t header = FAULT_FILE_HEADER.size();
    if (size < header || !std::equal(FAULT_FILE_HEADER.begin(), FAULT_FILE_HEADER.end(), data)) {
        return 0;
    }
    return (size - header) / FAULT_RECORD_SIZE;
}

InvFaultRecord OpenedRecord() {
    InvFaultRecord record;
    std::memcpy(record.serialNo.data(), "FUZZ000000000001", record.serialNo.size());
    record.mode = 2;
    record.errorBits = 0x10;
    record.value1 = 700;
    record.startTime = 1781524800;
    return record;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SetDataDirectory(ScratchDirectory());
    std::filesystem::create_directory(HistLogDirectory());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Files moved aside by the last input go too.
    for (const auto& entry : std::filesystem::directory_iterator(HistLogDirectory())) {
        std::filesystem::remove(entry.path());
    }
    const std::string path = FaultRecordFilePath();
    WriteWholeFile(path, data, size);

    const std::vector<InvFaultRecord> before = LoadFaultRecords(path);
    Require(before.size() == WholeRecords(data, size),
            "the reader reads every whole record behind a valid header and nothing else");
    for (const InvFaultRecord& record : before) {
        Require(SameRecord(DecodeFaultRecord(EncodeFaultRecord(record)), record),
                "a record reads back as it was written");
    }

    InvFaultRecord record = OpenedRecord();
    const int index = StoreFaultRecord(record, -1);
    Require(index == static_cast<int>(before.size()),
            "an append lands behind the readable records");
    record.endTime = record.startTime + 60;
    Require(StoreFaultRecord(record, index) == index, "the appended record can be closed");

    const std::vector<InvFaultRecord> after = LoadFaultRecords(path);
    Require(after.size() == before.size() + 1 &&
                std::equal(before.begin(), before.end(), after.begin(), SameRecord) &&
                SameRecord(after.back(), record),
            "the file keeps its records and adds the closed one behind them");
    return 0;
}
