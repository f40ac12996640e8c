#include "SummaryUpdater.h"

#include "SummaryAccumulator.h"
#include "platform/SystemError.h"
#include "store/UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr std::size_t CHUNK_BYTES = 1 << 20;
// No history line comes near this; a longer one is damage, skipped whole.
constexpr std::size_t MAX_LINE_BYTES = 64 * 1024;

std::string ErrnoText(const std::string& what) {
    return SystemError(what, errno);
}
} // namespace

// One pass over a file from the stored offset, line by line.
class SummaryUpdater::FileReader {
public:
    FileReader(SummaryUpdater& owner, SourceRecord& record, ReadCounts& counts)
        : m_owner(owner), m_record(record), m_counts(counts),
          m_sums(record.state, owner.m_tSpansFrom) {}

    bool Read(int fd, const Progress& progress) {
        std::vector<char>& buffer = m_owner.m_buffer;
        buffer.resize(CHUNK_BYTES);
        std::string partial;
        bool discarding = false;
        std::int64_t offset = m_record.readBytes;
        for (;;) {
            const ssize_t got = ::pread(fd, buffer.data(), buffer.size(), offset);
            if (got < 0) {
                m_counts.unreadable.push_back(
                    ErrnoText("read " + m_owner.m_directory + "/" + m_record.file));
                break;
            }
            if (got == 0) {
                break;
            }
            offset += got;
            m_counts.bytes += got;
            std::string_view chunk(buffer.data(), static_cast<std::size_t>(got));
            for (std::size_t end; (end = chunk.find('\n')) != std::string_view::npos;) {
                const std::string_view piece = chunk.substr(0, end + 1);
                m_record.readBytes += static_cast<std::int64_t>(partial.size() + piece.size());
                if (discarding) {
                    discarding = false;
                    Skipped();
                } else if (partial.empty()) {
                    Line(piece);
                } else {
                    partial.append(piece);
                    Line(partial);
                    partial.clear();
                }
                chunk.remove_prefix(end + 1);
            }
            if (!discarding) {
                partial.append(chunk);
            }
            if (partial.size() > MAX_LINE_BYTES) {
                m_record.readBytes += static_cast<std::int64_t>(partial.size());
                partial.clear();
                discarding = true;
            } else if (discarding) {
                m_record.readBytes += static_cast<std::int64_t>(chunk.size());
            }
            if (!Flush()) {
                return false;
            }
            if (progress && !progress(m_counts.bytes)) {
                m_owner.m_error = "stopped before every history file was read";
                return false;
            }
        }
        m_record.state = m_sums.State();
        return true;
    }

private:
    void Skipped() {
        ++m_counts.skipped;
        ++m_record.skippedLines;
    }

    void Line(std::string_view line) {
        if (IsHistoryHeader(line)) {
            return;
        }
        const std::optional<HistoryLineValues> values = ParseHistoryLine(line);
        if (!values) {
            Skipped();
            return;
        }
        ++m_counts.lines;
        SummarySample sample;
        sample.time = m_owner.m_calendar.ToUtc(values->time, m_sums.State().lastTime);
        sample.dayKey = values->time.DayKey();
        sample.tempTenths = values->tempTenths;
        sample.powerW = values->powerW;
        sample.eTodayWh = values->eTodayWh;
        sample.eTotalWh = values->eTotalWh;
        m_sums.Add(sample);
    }

    bool Flush() {
        const std::vector<DayRow> days = m_sums.TakeDays();
        const std::vector<BucketRow> buckets = m_sums.TakeBuckets();
        for (const BucketRow& bucket : buckets) {
            m_owner.m_touched.insert(bucket.start);
        }
        if (!m_owner.m_store.AddRows(m_record.id, days, buckets) ||
            !m_owner.m_store.AddSpans(m_record.id, m_sums.TakeSpans())) {
            m_owner.m_error = m_owner.m_store.Error();
            return false;
        }
        return true;
    }

    SummaryUpdater& m_owner;
    SourceRecord& m_record;
    ReadCounts& m_counts;
    SummaryAccumulator m_sums;
};

SummaryUpdater::SummaryUpdater(SummaryStore& store, std::string histLogDirectory)
    : m_store(store), m_directory(std::move(histLogDirectory)),
      m_tSpansFrom(m_calendar.Bounds(m_calendar.DayKeyOf(std::time(nullptr))).start) {}

bool SummaryUpdater::Update(const std::string& fileName, ReadCounts& counts,
                            const Progress& progress) {
    const std::string path = m_directory + "/" + fileName;
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.IsOpen() && errno == ENOENT) {
        return true; // its lines were lost before they reached the file
    }
    struct stat status {};
    if (!fd.IsOpen() || ::fstat(fd.Get(), &status) != 0) {
        counts.unreadable.push_back(ErrnoText("open " + path));
        return true;
    }
    SourceRecord record;
    if (!m_store.LoadSource(fileName, record)) {
        m_error = m_store.Error();
        return false;
    }
    const bool sameFile = record.device == static_cast<std::int64_t>(status.st_dev) &&
                          record.inode == static_cast<std::int64_t>(status.st_ino) &&
                          record.readBytes <= status.st_size;
    if (!sameFile) {
        if (record.readBytes > 0 && !m_store.ForgetRows(record.id, m_touched)) {
            m_error = m_store.Error();
            return false;
        }
        const std::int64_t id = record.id;
        record = SourceRecord{};
        record.id = id;
        record.file = fileName;
        record.device = static_cast<std::int64_t>(status.st_dev);
        record.inode = static_cast<std::int64_t>(status.st_ino);
    } else if (record.readBytes == status.st_size) {
        return true;
    }
    // The first lines of the day drop the days before from the spans.
    if (record.state.lastTime < m_tSpansFrom && !m_store.PruneSpans(record.id, m_tSpansFrom)) {
        m_error = m_store.Error();
        return false;
    }
    FileReader reader(*this, record, counts);
    if (!reader.Read(fd.Get(), progress)) {
        return false;
    }
    if (!m_store.SaveSource(record)) {
        m_error = m_store.Error();
        return false;
    }
    return true;
}
