#include "HistoryTail.h"

#include "store/HistoryLineParser.h"
#include "store/LocalCalendar.h"
#include "store/UniqueFd.h"

#include <algorithm>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace {
constexpr off_t CHUNK_BYTES = 256 * 1024;

class TailReader {
public:
    TailReader(int fd, off_t size) : m_fd(fd), m_size(size), m_chunk(CHUNK_BYTES) {}

    // Where the lines from `from` on begin, give or take a chunk.
    off_t StartOf(std::time_t from) {
        off_t position = m_size;
        while (position > 0) {
            position = std::max<off_t>(0, position - CHUNK_BYTES);
            const std::optional<std::time_t> first = FirstTimeIn(position);
            if (first && *first < from) {
                break;
            }
        }
        return position;
    }

    void ReadFrom(off_t position, std::time_t from, const HistoryTail::Visit& visit) {
        std::string partial;
        bool skipFirst = position != 0; // a line cut by the step back
        while (position < m_size) {
            const std::string_view bytes = Chunk(position);
            if (bytes.empty()) {
                return;
            }
            position += static_cast<off_t>(bytes.size());
            std::size_t start = 0;
            for (std::size_t end; (end = bytes.find('\n', start)) != std::string_view::npos;
                 start = end + 1) {
                partial.append(bytes.substr(start, end - start));
                if (!skipFirst) {
                    Line(partial, from, visit);
                }
                skipFirst = false;
                partial.clear();
            }
            partial.append(bytes.substr(start));
        }
    }

private:
    std::string_view Chunk(off_t position) {
        const ssize_t got = ::pread(m_fd, m_chunk.data(), m_chunk.size(), position);
        return got > 0 ? std::string_view(m_chunk.data(), static_cast<std::size_t>(got))
                       : std::string_view();
    }

    std::optional<std::time_t> FirstTimeIn(off_t position) {
        const std::string_view bytes = Chunk(position);
        std::size_t start = 0;
        if (position != 0) {
            start = bytes.find('\n');
            start = start == std::string_view::npos ? bytes.size() : start + 1;
        }
        for (std::size_t end; (end = bytes.find('\n', start)) != std::string_view::npos;
             start = end + 1) {
            if (const auto values = ParseHistoryLine(bytes.substr(start, end - start))) {
                return m_calendar.ToUtc(values->time, 0);
            }
        }
        return std::nullopt;
    }

    void Line(std::string_view line, std::time_t from, const HistoryTail::Visit& visit) {
        const auto values = ParseHistoryLine(line);
        if (!values) {
            return;
        }
        const std::time_t time = m_calendar.ToUtc(values->time, m_last);
        m_last = time;
        if (time >= from) {
            visit({time, values->time.DayKey(), values->tempTenths, values->powerW,
                   values->eTodayWh, values->eTotalWh});
        }
    }

    int m_fd;
    off_t m_size;
    std::vector<char> m_chunk;
    LocalCalendar m_calendar;
    std::time_t m_last = 0;
};
} // namespace

void HistoryTail::Read(const std::string& path, std::time_t from, const Visit& visit) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (!fd.IsOpen() || ::fstat(fd.Get(), &status) != 0) {
        return;
    }
    TailReader reader(fd.Get(), status.st_size);
    reader.ReadFrom(reader.StartOf(from), from, visit);
}
