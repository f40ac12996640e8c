#include "HistoryCommands.h"

#include "HistoryReport.h"
#include "StationOptions.h"
#include "TerminalProgress.h"
#include "history/SummaryLock.h"
#include "history/SummaryReader.h"
#include "history/SummaryRebuild.h"
#include "history/SummarySchema.h"
#include "history/SummaryStore.h"
#include "platform/DataDirectory.h"
#include "platform/Log.h"
#include "store/LocalCalendar.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {
int Fail(const std::string& problem) {
    Log(LogLevel::Error, problem);
    return 1;
}

int Rebuild() {
    SummaryLock writeRight;
    std::string problem;
    if (!writeRight.Acquire(&problem)) {
        return Fail(problem);
    }
    TerminalProgress bar(stderr, "Rebuilding the history summary");
    RebuildReport report;
    const auto begun = std::chrono::steady_clock::now();
    const bool rebuilt = RebuildSummary(
        [&bar](std::int64_t done, std::int64_t total) {
            bar.Show(done, total);
            return true;
        },
        report, &problem);
    bar.Finish();
    if (!rebuilt) {
        return Fail(problem);
    }
    if (const std::string note = RebuildNote(report); !note.empty()) {
        Log(LogLevel::Warning, note);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
    std::printf("history summary rebuilt from %d files: %lld lines, %lld skipped, in %.1f s\n",
                report.files, static_cast<long long>(report.counts.lines),
                static_cast<long long>(report.counts.skipped), seconds);
    return 0;
}

// A summary nobody else writes is brought up to date first.
void CatchUp() {
    SummaryLock writeRight;
    std::string problem;
    if (writeRight.Acquire(&problem)) {
        SummaryStore store;
        RebuildReport report;
        const bool opened = OpenSummary(store, report, &problem);
        if (const std::string note = opened ? RebuildNote(report) : problem; !note.empty()) {
            Log(LogLevel::Warning, note);
        }
    }
}

int Report(const StationOptions& options) {
    const PeriodKind kind = options.report == "day"     ? PeriodKind::DAY
                            : options.report == "month" ? PeriodKind::MONTH
                                                        : PeriodKind::YEAR;
    int anchor = LocalCalendar().DayKeyOf(std::time(nullptr));
    if (!options.reportDate.empty()) {
        const std::optional<int> date = ParsePeriodDate(options.reportDate, kind);
        if (!date) {
            return Fail("not a " + options.report +
                        " (2026-11-03, 2026-11 or 2026): " + options.reportDate);
        }
        anchor = *date;
    }
    CatchUp();
    SummaryReader reader;
    std::string problem;
    std::string text;
    if (!reader.Open(SummaryPath(), &problem) ||
        !HistoryReport(reader, {kind, anchor}, options.serial, text, problem)) {
        return Fail(problem);
    }
    std::fputs(text.c_str(), stdout);
    return 0;
}
} // namespace

int RunHistoryCommand(const StationOptions& options) {
    SetDataDirectory(options.dataDirectory);
    return options.rebuildHistory ? Rebuild() : Report(options);
}
