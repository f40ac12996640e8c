#include "HistoryLines.h"

#include "LocalTime.h"
#include "history/SqliteDb.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"
#include "store/HistoryLine.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {
template <class Data>
Data Filled(const LineSample& sample) {
    Data data;
    data.m_tSample = sample.time;
    data.m_nTemp = static_cast<std::int16_t>(sample.tempTenths);
    data.m_nEToday = static_cast<std::uint16_t>(sample.eTodayHundredths);
    data.m_dwETotal = sample.eTotalTenths;
    data.m_nFac = 5000;
    return data;
}
} // namespace

std::string SingleLines(const std::vector<LineSample>& samples) {
    std::string text;
    for (const LineSample& sample : samples) {
        SingleRuntimeData data = Filled<SingleRuntimeData>(sample);
        data.m_nPac = static_cast<std::uint16_t>(sample.powerW * 10);
        data.m_nVac = 2300;
        text += SingleHistoryLine(data);
    }
    return text;
}

std::string SingleFile(const std::vector<LineSample>& samples) {
    return std::string(SINGLE_HISTORY_HEADER) + SingleLines(samples);
}

std::string ThreeFile(const std::vector<LineSample>& samples) {
    std::string text(THREE_HISTORY_HEADER);
    for (const LineSample& sample : samples) {
        ThreeRuntimeData data = Filled<ThreeRuntimeData>(sample);
        data.m_dwETotalPhase[0] = sample.eTotalTenths;
        data.m_nPac = static_cast<std::uint16_t>(sample.powerW);
        text += ThreeHistoryLine(data);
    }
    return text;
}

std::time_t Berlin(int year, int month, int day, int hour, int minute, int second) {
    return LocalTime(year, month, day, hour, minute, second);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void AppendBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

std::vector<std::string> SummaryRowsOf(const std::string& path) {
    static const char* const QUERIES[] = {
        "SELECT file, read_bytes, skipped_lines, last_time, last_day, last_e_today_wh,"
        " last_e_total_wh FROM source ORDER BY file",
        "SELECT s.file, d.* FROM day d JOIN source s ON s.id = d.source ORDER BY s.file, d.day",
        "SELECT s.file, b.* FROM bucket b JOIN source s ON s.id = b.source"
        " ORDER BY s.file, b.start",
        "SELECT * FROM plant_bucket ORDER BY start",
    };
    std::vector<std::string> rows;
    SqliteDb db;
    if (!db.Open(path, true)) {
        return rows;
    }
    for (const char* sql : QUERIES) {
        SqliteStatement query = db.Prepare(sql);
        while (query.Step()) {
            std::string row;
            for (int column = 0; column < 12; ++column) {
                row += (query.IsNull(column) ? "-" : query.Text(column)) + "|";
            }
            rows.push_back(row);
        }
    }
    return rows;
}

void DropDayTable(const std::string& summaryPath) {
    SqliteDb db;
    ASSERT_TRUE(db.Open(summaryPath, false)) << db.Error();
    ASSERT_TRUE(db.Exec("DROP TABLE day")) << db.Error();
}
