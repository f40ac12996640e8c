#include "SummaryReader.h"

#include "SpanColumns.h"
#include "SummarySchema.h"
#include "store/HistoryFileName.h"

namespace {
constexpr double MW_PER_W = 1000.0;

// The serial number the file was named after; the bare name for a file this
// station did not name.
std::string NameOf(const std::string& file) {
    if (std::optional<std::string> serialNo = SerialOfHistoryFileName(file)) {
        return *serialNo;
    }
    constexpr std::string_view SUFFIX = ".csv";
    return file.ends_with(SUFFIX) ? file.substr(0, file.size() - SUFFIX.size()) : file;
}
} // namespace

bool SummaryReader::Open(const std::string& path, std::string* problem) {
    m_path = path;
    std::string reason;
    if (!m_db.Open(path, true) || !(reason = SummaryUnusableReason(m_db)).empty()) {
        if (problem != nullptr) {
            *problem = "no usable history summary in " + path + ": " +
                       (reason.empty() ? m_db.Error() : reason);
        }
        m_db.Close();
        return false;
    }
    return true;
}

template <class T>
Outcome<T> SummaryReader::Finished(const SqliteStatement& query, T value) const {
    if (query.Failed()) {
        return Outcome<T>::Failure("cannot read the history summary " + m_path + ": " +
                                   query.Error());
    }
    return value;
}

Outcome<std::vector<SummarySource>> SummaryReader::Sources() {
    std::vector<SummarySource> sources;
    SqliteStatement query = m_db.Prepare("SELECT id, file FROM source WHERE EXISTS"
                                         " (SELECT 1 FROM day WHERE day.source = source.id)"
                                         " ORDER BY file");
    while (query.Step()) {
        sources.push_back({query.Int(0), NameOf(query.Text(1))});
    }
    return Finished(query, std::move(sources));
}

Outcome<std::optional<SummarySource>> SummaryReader::SourceOfSerial(const std::string& serialNo) {
    using Found = std::optional<SummarySource>;
    const auto sources = Sources();
    if (!sources) {
        return Outcome<Found>::Failure(sources.Reason());
    }
    for (const SummarySource& source : *sources) {
        if (source.name == serialNo) {
            return Found(source);
        }
    }
    return Found();
}

Outcome<std::map<int, std::int64_t>> SummaryReader::Energy(int firstDay, int lastDay, int divisor,
                                                           std::int64_t source) {
    std::map<int, std::int64_t> energy;
    SqliteStatement query =
        source == PLANT
            ? m_db.Prepare("SELECT day / ?3, SUM(energy_wh) FROM day WHERE day BETWEEN ?1 AND ?2"
                           " GROUP BY 1")
            : m_db.Prepare("SELECT day / ?3, SUM(energy_wh) FROM day WHERE source = ?4"
                           " AND day BETWEEN ?1 AND ?2 GROUP BY 1");
    query.Bind(1, std::int64_t{firstDay})
        .Bind(2, std::int64_t{lastDay})
        .Bind(3, std::int64_t{divisor});
    if (source != PLANT) {
        query.Bind(4, source);
    }
    while (query.Step()) {
        energy[static_cast<int>(query.Int(0))] = query.Int(1);
    }
    return Finished(query, std::move(energy));
}

Outcome<std::map<std::int64_t, std::map<int, std::int64_t>>>
SummaryReader::EnergyBySource(int firstDay, int lastDay, int divisor) {
    std::map<std::int64_t, std::map<int, std::int64_t>> energy;
    SqliteStatement query = m_db.Prepare("SELECT source, day / ?3, SUM(energy_wh) FROM day WHERE "
                                         "day BETWEEN ?1 AND ?2 GROUP BY 1, 2");
    query.Bind(1, std::int64_t{firstDay})
        .Bind(2, std::int64_t{lastDay})
        .Bind(3, std::int64_t{divisor});
    while (query.Step()) {
        energy[query.Int(0)][static_cast<int>(query.Int(1))] = query.Int(2);
    }
    return Finished(query, std::move(energy));
}

Outcome<std::vector<CurvePoint>> SummaryReader::Curve(std::time_t start, std::time_t end,
                                                      std::int64_t source) {
    std::vector<CurvePoint> curve;
    SqliteStatement query =
        source == PLANT
            ? m_db.Prepare("SELECT start, power_mw, -1, energy_wh FROM plant_bucket"
                           " WHERE start >= ?1 AND start < ?2 ORDER BY start")
            : m_db.Prepare("SELECT start, power_sum_w * 1000 / samples, power_max_w, energy_wh"
                           " FROM bucket WHERE source = ?3 AND start >= ?1 AND start < ?2"
                           " ORDER BY start");
    query.Bind(1, std::int64_t{start}).Bind(2, std::int64_t{end});
    if (source != PLANT) {
        query.Bind(3, source);
    }
    while (query.Step()) {
        curve.push_back({static_cast<std::time_t>(query.Int(0)),
                         static_cast<double>(query.Int(1)) / MW_PER_W, query.Int(2), query.Int(3)});
    }
    return Finished(query, std::move(curve));
}

Outcome<PeakPower> SummaryReader::Peak(int firstDay, int lastDay, std::time_t start,
                                       std::time_t end, std::int64_t source) {
    SqliteStatement query =
        source == PLANT
            ? m_db.Prepare(
                  "SELECT power_mw / 1000, start FROM plant_bucket"
                  " WHERE start >= ?3 AND start < ?4 ORDER BY power_mw DESC, start LIMIT 1")
            : m_db.Prepare("SELECT peak_w, peak_time FROM day WHERE source = ?5"
                           " AND day BETWEEN ?1 AND ?2 ORDER BY peak_w DESC, peak_time LIMIT 1");
    query.Bind(1, std::int64_t{firstDay})
        .Bind(2, std::int64_t{lastDay})
        .Bind(3, std::int64_t{start})
        .Bind(4, std::int64_t{end});
    if (source != PLANT) {
        query.Bind(5, source);
    }
    PeakPower peak;
    if (query.Step()) {
        peak = {query.Int(0), static_cast<std::time_t>(query.Int(1))};
    }
    return Finished(query, peak);
}

Outcome<std::pair<int, int>> SummaryReader::DaysWithData() {
    SqliteStatement query = m_db.Prepare("SELECT MIN(day), MAX(day) FROM day");
    std::pair<int, int> days{0, 0};
    if (query.Step() && !query.IsNull(0)) {
        days = {static_cast<int>(query.Int(0)), static_cast<int>(query.Int(1))};
    }
    return Finished(query, days);
}

Outcome<std::time_t> SummaryReader::SpansSince() {
    SqliteStatement query = m_db.Prepare("SELECT MAX(since) FROM span_since");
    std::time_t since = 0;
    if (query.Step() && !query.IsNull(0)) {
        since = static_cast<std::time_t>(query.Int(0));
    }
    return Finished(query, since);
}

Outcome<std::optional<FileReach>> SummaryReader::ReachOf(const std::string& historyFileName) {
    SqliteStatement query = m_db.Prepare("SELECT id, last_time FROM source WHERE file = ?1");
    query.Bind(1, historyFileName);
    std::optional<FileReach> reach;
    if (query.Step()) {
        reach = FileReach{query.Int(0), static_cast<std::time_t>(query.Int(1))};
    }
    return Finished(query, reach);
}

Outcome<std::vector<SpanRow>> SummaryReader::Spans(std::int64_t source, std::time_t start,
                                                   std::time_t end) {
    const std::string text = std::string("SELECT source, ") + SPAN_COLUMNS +
                             " FROM span WHERE source = ?3 AND start >= ?1 AND start < ?2"
                             " ORDER BY start";
    SqliteStatement query = m_db.Prepare(text.c_str());
    query.Bind(1, std::int64_t{start}).Bind(2, std::int64_t{end}).Bind(3, source);
    std::vector<SpanRow> rows;
    while (query.Step()) {
        rows.push_back(SpanAt(query, 1));
    }
    return Finished(query, std::move(rows));
}

Outcome<bool>
SummaryReader::VisitSpans(std::time_t start, std::time_t end,
                          const std::function<void(std::int64_t source, const SpanRow&)>& visit) {
    const std::string text = std::string("SELECT source, ") + SPAN_COLUMNS +
                             " FROM span WHERE start >= ?1 AND start < ?2 ORDER BY source, start";
    SqliteStatement query = m_db.Prepare(text.c_str());
    query.Bind(1, std::int64_t{start}).Bind(2, std::int64_t{end});
    while (query.Step()) {
        visit(query.Int(0), SpanAt(query, 1));
    }
    return Finished(query, true);
}
