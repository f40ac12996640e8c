// heliowatch-history: past days of a simulated plant's history files, so a
// new station has months to browse.
#include "PastHistory.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

namespace {
const char* const USAGE =
    "usage: heliowatch-history --data-dir DIR --bus COM<n>:KIND[/RATED][*COUNT][,...] [--bus ...]\n"
    "                          [--days N] [--interval SECONDS] [--serial-prefix TEXT]\n"
    "\n"
    "Writes the history files (HistLog/<serial>.csv) that the station would have written\n"
    "for the inverters of heliowatch-sim's buses over the N days before today (default\n"
    "90), one line per interval (default 60 s) from sunrise to sunset. Files that exist\n"
    "are never touched. Then 'heliowatch --rebuild-history --data-dir DIR' makes the\n"
    "summary the history browser shows.\n";

bool TakeNumber(const std::string& text, int low, int high, int& value) {
    try {
        std::size_t used = 0;
        value = std::stoi(text, &used);
        return used == text.size() && value >= low && value <= high;
    } catch (const std::exception&) {
        return false;
    }
}

int Usage(const std::string& error) {
    std::fprintf(stderr, "heliowatch-history: %s\n%s", error.c_str(), USAGE);
    return 2;
}
} // namespace

int main(int argc, char** argv) {
    sim::PastHistoryPlan plan;
    std::string dataDirectory;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help") {
            std::fputs(USAGE, stdout);
            return 0;
        }
        if (i + 1 >= argc) {
            return Usage(option + " needs a value");
        }
        const std::string value = argv[++i];
        std::string error;
        if (option == "--data-dir") {
            dataDirectory = value;
        } else if (option == "--bus") {
            const auto bus = sim::BusLayout::Parse(value, error);
            if (!bus) {
                return Usage(error);
            }
            plan.buses.push_back(*bus);
        } else if (option == "--days") {
            if (!TakeNumber(value, 1, 3660, plan.days)) {
                return Usage("--days takes 1 to 3660");
            }
        } else if (option == "--interval") {
            if (!TakeNumber(value, 1, 3600, plan.intervalSeconds)) {
                return Usage("--interval takes 1 to 3600 seconds");
            }
        } else if (option == "--serial-prefix") {
            plan.serialPrefix = value;
        } else {
            return Usage("unknown option " + option);
        }
    }
    if (dataDirectory.empty() || plan.buses.empty()) {
        return Usage("--data-dir and at least one --bus are needed");
    }
    const std::string histLog = dataDirectory + "/HistLog";
    std::error_code ignored;
    std::filesystem::create_directories(histLog, ignored);
    sim::PastHistoryResult result;
    std::string error;
    if (!sim::WritePastHistory(plan, histLog, std::time(nullptr), result, error)) {
        std::fprintf(stderr, "heliowatch-history: %s\n", error.c_str());
        return 1;
    }
    std::printf("wrote %lld lines of %d days into %d files in %s\n",
                static_cast<long long>(result.lines), plan.days, result.files, histLog.c_str());
    return 0;
}
