// The history browser opening on a year of a 20-inverter plant: the dialog
// built, its first view read from the summary and drawn.
#include "HistoryBenchData.h"
#include "gui/HistoryDlg.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <filesystem>

namespace {

void OpenBrowser(benchmark::State& state) {
    const std::string directory = FreshDataDirectory("browser-open-bench");
    if (!FillSummary(20, 20)) {
        state.SkipWithError("no summary");
    }
    for (auto _ : state) {
        CHistoryDlg dialog;
        dialog.resize(1100, 560);
        dialog.ShowPeriod({PeriodKind::YEAR, 20260615});
        QImage picture(dialog.size(), QImage::Format_RGB32);
        dialog.render(&picture);
        benchmark::DoNotOptimize(picture.bits());
    }
    std::filesystem::remove_all(directory);
}
BENCHMARK(OpenBrowser)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
