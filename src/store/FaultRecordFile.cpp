#include "FaultRecordFile.h"

#include "DataFile.h"
#include "FaultRecordCodec.h"
#include "MoveFileAside.h"
#include "PositionalIo.h"
#include "StorageHealth.h"
#include "platform/DataDirectory.h"
#include "platform/Log.h"
#include "platform/Trace.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Bytes of a record that stay the same from its opening to its close.
constexpr std::size_t RECORD_IDENTITY_SIZE = 36;

std::mutex g_faultFileLock;

enum class HeaderState { EMPTY, VALID, FOREIGN };

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
    CutBack(fd, 0);
    return false;
}

// A file whose header no reader accepts is moved aside, so that no record is
// appended where it could never be read back. A failure goes to storage
// health, which tells of it once with the system's reason.
UniqueFd ReplaceForeignFile(const std::string& path, int& error) {
    errno = 0;
    const Outcome<std::string> moved = MoveFileAside(path);
    if (!moved) {
        error = errno != 0 ? errno : EEXIST;
        return {};
    }
    Log(LogLevel::Warning,
        path + " is not a fault record file; moved aside to " + *moved + " and started anew");
    return OpenDataFile(path, O_RDWR | O_CREAT | O_EXCL, error);
}

UniqueFd OpenForAppend(const std::string& path, int& error) {
    UniqueFd file = OpenDataFile(path, O_RDWR | O_CREAT, error);
    if (!file.IsOpen()) {
        return {};
    }
    switch (ReadHeaderState(file.Get())) {
    case HeaderState::VALID: return file;
    case HeaderState::EMPTY: break;
    case HeaderState::FOREIGN:
        file.Reset();
        file = ReplaceForeignFile(path, error);
        if (!file.IsOpen()) {
            return {};
        }
        break;
    }
    if (!WriteHeader(file.Get())) {
        error = errno;
        return {};
    }
    return file;
}

// A partial record at the end (a crash mid-write) is cut off, so that the new
// record lands at the offset its index names. 0 or the errno of the failure.
int AppendRecord(const std::string& path, const FaultRecordBytes& bytes, int& index) {
    int error = 0;
    UniqueFd file = OpenForAppend(path, error);
    if (!file.IsOpen()) {
        return error;
    }
    const off_t size = FileSize(file.Get());
    if (size < 0) {
        return errno;
    }
    const long long count = (size - FaultRecordOffset(0)) / static_cast<long long>(bytes.size());
    const off_t end = static_cast<off_t>(FaultRecordOffset(count));
    if (count > INT_MAX) {
        return EFBIG;
    }
    if (size != end && ::ftruncate(file.Get(), end) != 0) {
        return errno;
    }
    if (!WriteAt(file.Get(), bytes.data(), bytes.size(), end)) {
        error = errno;
        CutBack(file.Get(), end);
        return error;
    }
    index = static_cast<int>(count);
    return 0;
}

// False when the record cannot be rewritten; error is then 0 unless the file
// itself failed.
bool UpdateRecord(const std::string& path, const FaultRecordBytes& bytes, int index, int& error) {
    UniqueFd file = OpenDataFile(path, O_RDWR, error);
    if (!file.IsOpen()) {
        return false;
    }
    error = 0;
    if (index < 0 || ReadHeaderState(file.Get()) != HeaderState::VALID) {
        return false;
    }
    const off_t offset = static_cast<off_t>(FaultRecordOffset(index));
    FaultRecordBytes stored{};
    if (!ReadAt(file.Get(), stored.data(), stored.size(), offset) ||
        !std::equal(bytes.begin(), bytes.begin() + RECORD_IDENTITY_SIZE, stored.begin())) {
        return false;
    }
    if (!WriteAt(file.Get(), bytes.data(), bytes.size(), offset)) {
        error = errno;
        return false;
    }
    return true;
}
} // namespace

std::string FaultRecordFilePath() {
    return HistLogDirectory() + "/InvFaultRecord.dat";
}

int StoreFaultRecord(const InvFaultRecord& record, int index) {
    const FaultRecordBytes bytes = EncodeFaultRecord(record);
    const std::string path = FaultRecordFilePath();
    std::lock_guard lock(g_faultFileLock);
    int error = 0;
    if (index == -1) {
        int stored = -1;
        error = AppendRecord(path, bytes, stored);
        ReportStorageWrite(path, error != 0 ? DataFileProblem(path, error) : std::string());
        return stored;
    }
    if (UpdateRecord(path, bytes, index, error)) {
        ReportStorageWrite(path, {});
        return index;
    }
    Trace("Fault record %d not updated\n", index);
    if (error != 0) {
        ReportStorageWrite(path, DataFileProblem(path, error));
    }
    return -1;
}
