#include "FaultRecordFile.h"

#include "FaultRecordCodec.h"
#include "MoveFileAside.h"
#include "PositionalIo.h"
#include "UniqueFd.h"
#include "platform/DataDirectory.h"
#include "platform/Trace.h"

#include <algorithm>
#include <climits>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Bytes of a record that stay the same from its opening to its close.
constexpr std::size_t RECORD_IDENTITY_SIZE = 36;
constexpr mode_t FILE_MODE = 0644;

std::mutex g_faultFileLock;

enum class HeaderState { EMPTY, VALID, FOREIGN };

off_t FileSize(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 ? status.st_size : -1;
}

HeaderState ReadHeaderState(int fd) {
    const off_t size = FileSize(fd);
    if (size == 0) {
        return HeaderState::EMPTY;
    }
    char header[FAULT_FILE_HEADER.size()];
    if (size < static_cast<off_t>(sizeof header) || !ReadAt(fd, header, sizeof header, 0)) {
        return HeaderState::FOREIGN;
    }
    return std::equal(FAULT_FILE_HEADER.begin(), FAULT_FILE_HEADER.end(), header)
               ? HeaderState::VALID
               : HeaderState::FOREIGN;
}

bool WriteHeader(int fd) {
    if (WriteAt(fd, FAULT_FILE_HEADER.data(), FAULT_FILE_HEADER.size(), 0)) {
        return true;
    }
    // A file left shorter than the header would be moved aside next time.
    static_cast<void>(::ftruncate(fd, 0));
    return false;
}

// A file whose header no reader accepts is moved aside, so that no record is
// appended where it could never be read back.
UniqueFd OpenForAppend(const std::string& path) {
    UniqueFd file(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, FILE_MODE));
    if (!file.IsOpen()) {
        return {};
    }
    switch (ReadHeaderState(file.Get())) {
    case HeaderState::VALID: return file;
    case HeaderState::EMPTY: return WriteHeader(file.Get()) ? std::move(file) : UniqueFd();
    case HeaderState::FOREIGN: break;
    }
    file.Reset();
    if (!MoveFileAside(path)) {
        Trace("Fault record file %s has no valid header and cannot be moved aside\n", path.c_str());
        return {};
    }
    file = UniqueFd(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, FILE_MODE));
    if (!file.IsOpen() || !WriteHeader(file.Get())) {
        return {};
    }
    return file;
}

// A partial record at the end (a crash mid-write) is cut off, so that the new
// record lands at the offset its index names.
int AppendRecord(const FaultRecordBytes& bytes) {
    UniqueFd file = OpenForAppend(FaultRecordFilePath());
    const off_t size = file.IsOpen() ? FileSize(file.Get()) : -1;
    if (size < 0) {
        return -1;
    }
    const long long index = (size - FaultRecordOffset(0)) / static_cast<long long>(bytes.size());
    const off_t end = static_cast<off_t>(FaultRecordOffset(index));
    if (index > INT_MAX || (size != end && ::ftruncate(file.Get(), end) != 0)) {
        return -1;
    }
    if (!WriteAt(file.Get(), bytes.data(), bytes.size(), end)) {
        static_cast<void>(::ftruncate(file.Get(), end));
        return -1;
    }
    return static_cast<int>(index);
}

bool UpdateRecord(const FaultRecordBytes& bytes, int index) {
    UniqueFd file(::open(FaultRecordFilePath().c_str(), O_RDWR | O_CLOEXEC));
    if (index < 0 || !file.IsOpen() || ReadHeaderState(file.Get()) != HeaderState::VALID) {
        return false;
    }
    const off_t offset = static_cast<off_t>(FaultRecordOffset(index));
    FaultRecordBytes stored{};
    if (!ReadAt(file.Get(), stored.data(), stored.size(), offset) ||
        !std::equal(bytes.begin(), bytes.begin() + RECORD_IDENTITY_SIZE, stored.begin())) {
        return false;
    }
    return WriteAt(file.Get(), bytes.data(), bytes.size(), offset);
}
} // namespace

std::string FaultRecordFilePath() {
    return HistLogDirectory() + "/InvFaultRecord.dat";
}

int StoreFaultRecord(const InvFaultRecord& record, int index) {
    const FaultRecordBytes bytes = EncodeFaultRecord(record);
    std::lock_guard lock(g_faultFileLock);
    if (index == -1) {
        return AppendRecord(bytes);
    }
    if (!UpdateRecord(bytes, index)) {
        Trace("Fault record %d not updated\n", index);
        return -1;
    }
    return index;
}
