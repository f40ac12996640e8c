#include "charts/Meter.h"
#include "widgets/DialogUnits.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

namespace {

// The general status pane's gauge, or a larger one as in a maximized pane.
QSize GaugeSize(const benchmark::State& state) {
    if (state.range(0) == 0) {
        return DialogUnits().Rect(185, 20, 139, 104).size();
    }
    return QSize(640, 480);
}

struct Gauge {
    explicit Gauge(QSize size) : picture(size, QImage::Format_RGB32) {
        meter.resize(size);
        meter.SetNeedleColour(QColor(255, 255, 255));
        meter.EnableColourBand(1);
        meter.SetRange(0.0, 3000.0);
        meter.SetValue(2345.0);
        meter.render(&picture);
    }
    CMeter meter;
    QImage picture;
};

void BM_RepaintWithCachedFace(benchmark::State& state) {
    Gauge gauge(GaugeSize(state));
    const int buildsBefore = gauge.meter.FaceBuildCount();
    double value = 0.0;
    for (auto _ : state) {
        value = value < 3000.0 ? value + 7.0 : 0.0;
        gauge.meter.SetValue(value);
        gauge.meter.render(&gauge.picture);
    }
    state.counters["face_builds"] = gauge.meter.FaceBuildCount() - buildsBefore;
}
BENCHMARK(BM_RepaintWithCachedFace)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Each iteration draws the face and then paints over it once.
void BM_RepaintWithFaceRebuild(benchmark::State& state) {
    Gauge gauge(GaugeSize(state));
    for (auto _ : state) {
        gauge.meter.InvalidateFace();
        gauge.meter.render(&gauge.picture);
    }
}
BENCHMARK(BM_RepaintWithFaceRebuild)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
