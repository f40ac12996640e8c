#include "FaultRecordReader.h"

#include "FaultRecordCodec.h"

#include <algorithm>
#include <fstream>
#include <new>

namespace {
bool ReadHeader(std::istream& in) {
    char header[FAULT_FILE_HEADER.size()];
    in.read(header, sizeof header);
    return in.gcount() == static_cast<std::streamsize>(sizeof header) &&
           std::equal(FAULT_FILE_HEADER.begin(), FAULT_FILE_HEADER.end(), header);
}

bool ReadRecordBytes(std::istream& in, FaultRecordBytes& bytes) {
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return in.gcount() == static_cast<std::streamsize>(bytes.size());
}
} // namespace

std::vector<InvFaultRecord> LoadFaultRecords(const std::string& path) {
    std::vector<InvFaultRecord> records;
    std::ifstream in(path, std::ios::binary);
    if (!in || !ReadHeader(in)) {
        return records;
    }
    FaultRecordBytes bytes{};
    while (ReadRecordBytes(in, bytes)) {
        try {
            records.push_back(DecodeFaultRecord(bytes));
        } catch (const std::bad_alloc&) {
            break;
        }
    }
    return records;
}
