#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

// History lines as the station writes them, made by its own line writers.
struct LineSample {
    std::time_t time = 0;
    int powerW = 0;
    int eTodayHundredths = 0;       // 0.01 kWh
    std::uint32_t eTotalTenths = 0; // 0.1 kWh
    int tempTenths = 250;
};

std::string SingleFile(const std::vector<LineSample>& samples); // header and lines
std::string ThreeFile(const std::vector<LineSample>& samples);
std::string SingleLines(const std::vector<LineSample>& samples); // lines only

// A Berlin local time, the zone every history test runs in.
std::time_t Berlin(int year, int month, int day, int hour, int minute, int second = 0);

void WriteBytes(const std::string& path, const std::string& bytes);
void AppendBytes(const std::string& path, const std::string& bytes);

// Every row of the summary's tables as text, inverters named by file, in a
// fixed order; so two summaries compare whatever ids they gave their sources.
std::vector<std::string> SummaryRowsOf(const std::string& path);

// Leaves a summary that opens but fails every query that reads its days
// ("no such table: day").
void DropDayTable(const std::string& summaryPath);
