#include "TodayHistory.h"

#include "comm/Polling.h"
#include "store/HistoryFileName.h"
#include "store/HistoryLineParser.h"
#include "store/LocalCalendar.h"
#include "store/UniqueFd.h"

#include <algorithm>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr off_t STEP_BACK_BYTES = 256 * 1024;
constexpr double WH_PER_KWH = 1000.0;

std::string ReadRange(int fd, off_t from, off_t to) {
    std::string bytes(static_cast<std::size_t>(to - from), '\0');
    const ssize_t got = ::pread(fd, bytes.data(), bytes.size(), from);
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return bytes;
}

// The day of the first data line that begins in the bytes; 0 when none does.
int FirstDayIn(std::string_view bytes, bool atFileStart) {
    std::size_t start = 0;
    if (!atFileStart) {
        start = bytes.find('\n');
        if (start == std::string_view::npos) {
            return 0;
        }
        ++start;
    }
    while (start < bytes.size()) {
        const std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) {
            return 0;
        }
        if (const auto values = ParseHistoryLine(bytes.substr(start, end - start))) {
            return values->time.DayKey();
        }
        start = end + 1;
    }
    return 0;
}

// Where the lines of days before dayKey end, give or take one step: files are
// written in time order, so the day sits at the end.
off_t StartOfDay(int fd, off_t size, int dayKey) {
    off_t position = size;
    while (position > 0) {
        position = std::max<off_t>(0, position - STEP_BACK_BYTES);
        const int day = FirstDayIn(
            ReadRange(fd, position, std::min(size, position + STEP_BACK_BYTES)), position == 0);
        if (day != 0 && day < dayKey) {
            break;
        }
    }
    return position;
}
} // namespace

std::vector<TodayHistory::Point> ReadDayFromEnd(const std::string& path, int dayKey) {
    std::vector<TodayHistory::Point> points;
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status {};
    if (!fd.IsOpen() || ::fstat(fd.Get(), &status) != 0) {
        return points;
    }
    const off_t from = StartOfDay(fd.Get(), status.st_size, dayKey);
    const std::string bytes = ReadRange(fd.Get(), from, status.st_size);
    std::size_t start = 0;
    if (from != 0) {
        start = bytes.find('\n');
        if (start == std::string::npos) {
            return points;
        }
        ++start;
    }
    LocalCalendar calendar;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        const auto values = ParseHistoryLine(std::string_view(bytes).substr(start, end - start));
        if (values && values->time.DayKey() == dayKey) {
            const std::time_t notBefore = points.empty() ? 0 : points.back().time;
            points.push_back({calendar.ToUtc(values->time, notBefore),
                              static_cast<double>(values->powerW),
                              static_cast<double>(values->eTodayWh) / WH_PER_KWH});
        }
    }
    return points;
}

void TodayHistory::Load(const std::string& histLogDirectory, std::time_t now) {
    LocalCalendar calendar;
    const int dayKey = calendar.DayKeyOf(now);
    std::map<std::string, std::vector<Point>> files;
    for (const std::string& file : HistoryFiles(histLogDirectory)) {
        std::vector<Point> points = ReadDayFromEnd(histLogDirectory + "/" + file, dayKey);
        if (!points.empty()) {
            files.emplace(file, std::move(points));
        }
    }
    std::lock_guard lock(m_lock);
    m_dayKey = dayKey;
    m_files = std::move(files);
}

std::vector<CGraphSample> TodayHistory::InverterCurve(const std::string& historyFileName,
                                                      std::time_t time) const {
    std::lock_guard lock(m_lock);
    std::vector<CGraphSample> curve;
    const auto found = m_files.find(historyFileName);
    if (found == m_files.end() || LocalCalendar().DayKeyOf(time) != m_dayKey) {
        return curve;
    }
    curve.reserve(found->second.size());
    for (const Point& point : found->second) {
        curve.push_back({point.time, point.powerW});
    }
    return curve;
}

TodayHistory::PlantCurves TodayHistory::Plant(int intervalSeconds) const {
    struct Reading {
        std::size_t file;
        const Point* point;
    };
    std::lock_guard lock(m_lock);
    std::vector<Reading> readings;
    std::vector<const Point*> latest;
    for (const auto& [name, points] : m_files) {
        for (const Point& point : points) {
            readings.push_back({latest.size(), &point});
        }
        latest.push_back(nullptr);
    }
    std::stable_sort(readings.begin(), readings.end(), [](const Reading& a, const Reading& b) {
        return a.point->time < b.point->time;
    });
    const int interval = std::max(intervalSeconds, 1);
    const std::time_t offlineAfter = static_cast<std::time_t>(MAX_FAILED_POLLS + 1) * interval;
    PlantCurves curves;
    for (std::size_t i = 0; i < readings.size(); ++i) {
        latest[readings[i].file] = readings[i].point;
        const std::time_t now = readings[i].point->time;
        const bool lastOfSecond = i + 1 == readings.size() || readings[i + 1].point->time != now;
        if (!lastOfSecond ||
            (!curves.power.empty() && now - curves.power.back().m_time < interval)) {
            continue;
        }
        double power = 0.0;
        double energy = 0.0;
        for (const Point* point : latest) {
            if (point != nullptr) {
                power += now - point->time <= offlineAfter ? point->powerW : 0.0;
                energy += point->eTodayKWh;
            }
        }
        curves.power.push_back({now, power});
        curves.energy.push_back({now, energy});
    }
    return curves;
}
