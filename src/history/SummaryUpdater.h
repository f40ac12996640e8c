#pragma once

#include "SummaryStore.h"
#include "store/LocalCalendar.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

// What reading history files came to.
struct ReadCounts {
    std::int64_t lines = 0;   // data lines counted
    std::int64_t skipped = 0; // lines that could not be read, left out
    std::int64_t bytes = 0;
    std::vector<std::string> unreadable; // why files were left out, until the next time
};

// Reads history files into the summary from where it stopped last time, to
// the end of the last complete line: a line still being written is left for
// the next time. A file that was replaced or cut short since is read again
// from its start. Spans are kept of today's samples only, today being the
// local day when the updater was made. Works inside the caller's transaction.
class SummaryUpdater {
public:
    // Told the bytes read so far after every chunk; false abandons the read.
    using Progress = std::function<bool(std::int64_t bytes)>;

    SummaryUpdater(SummaryStore& store, std::string histLogDirectory);

    // False only when the summary could not be written; Error() tells why. A
    // file that cannot be read is named in the counts and left as it was.
    [[nodiscard]] bool Update(const std::string& fileName, ReadCounts& counts,
                              const Progress& progress = {});
    // The 5-minute stretches whose rows changed since the last call.
    std::set<std::time_t> TakeTouched() { return std::exchange(m_touched, {}); }
    std::string Error() const { return m_error; }

private:
    class FileReader;

    SummaryStore& m_store;
    std::string m_directory;
    LocalCalendar m_calendar;
    std::time_t m_tSpansFrom;
    std::set<std::time_t> m_touched;
    std::string m_error;
    // One read buffer for every file and pass: the station reads a few lines
    // from each of hundreds of files every few seconds.
    std::vector<char> m_buffer;
};
