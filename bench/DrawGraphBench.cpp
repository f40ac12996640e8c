#include "charts/DrawGraph.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <ctime>
#include <numbers>

namespace {

// A full day at the default sampling interval of 2 s.
constexpr int SAMPLES_PER_DAY = 43'200;
constexpr int SAMPLE_INTERVAL = 2;

std::time_t LocalMidnight() {
    std::tm calendar{};
    calendar.tm_year = 124;
    calendar.tm_mon = 5;
    calendar.tm_mday = 21;
    calendar.tm_isdst = -1;
    return std::mktime(&calendar);
}

// A sunny day with passing clouds: nothing at night, a wavy arch by day.
double PlantPower(int secondOfDay) {
    const double daylight = (secondOfDay - 5 * 3600) / (16.0 * 3600);
    if (daylight <= 0 || daylight >= 1) {
        return 0.0;
    }
    return 4800 * std::sin(std::numbers::pi * daylight) *
           (0.8 + 0.2 * std::sin(secondOfDay / 97.0));
}

void FillDay(CDrawGraph& graph, int samples) {
    const std::time_t midnight = LocalMidnight();
    for (int i = 0; i < samples; ++i) {
        const int second = i * SAMPLE_INTERVAL;
        graph.AddSample(CGraphSample{midnight + second, PlantPower(second)});
    }
}

void BM_DrawDay(benchmark::State& state) {
    CDrawGraph graph;
    graph.SetAppearance(QColor(0, 0, 240), "W", QString(), false);
    FillDay(graph, static_cast<int>(state.range(0)));
    QImage screen(1000, 600, QImage::Format_RGB32);
    QPainter painter(&screen);
    for (auto _ : state) {
        graph.Draw(painter, screen.rect());
    }
    state.counters["samples"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_DrawDay)->Arg(0)->Arg(SAMPLES_PER_DAY)->Unit(benchmark::kMillisecond);

} // namespace

// Fonts need a GUI application; the offscreen platform needs no display.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
