#include "MeterPicture.h"
#include "widgets/DialogUnits.h"

#include <QFontMetrics>
#include <QPainter>
#include <array>
#include <gtest/gtest.h>

namespace {

constexpr int TICKS = 21;
// Halfway between the ticks at 90 and 84 degrees, clear of everything checked.
constexpr double NEEDLE_BETWEEN_TICKS = 52.5;

double TickAngle(int tick) {
    return 150.0 - 6.0 * tick;
}

// The point a fraction of the way from one end of a tick to the other.
QPoint AlongTick(const MeterGeometry& geometry, int tick, double from, double to) {
    const QPoint start = geometry.At(TickAngle(tick), from);
    const QPoint end = geometry.At(TickAngle(tick), to);
    return (start + end) / 2;
}

class MeterScale : public ::testing::Test {
protected:
    void Show(QSize size, double minimum, double maximum, double value) {
        meter.resize(size);
        UseTestColours(meter);
        meter.SetRange(minimum, maximum);
        meter.SetValue(value);
        picture = Snapshot(meter);
    }

    CMeter meter;
    QImage picture;
};

TEST_F(MeterScale, TwentyOneTicksFromStartToEndEverySecondOneMajor) {
    Show(QSize(420, 420), 0.0, 100.0, NEEDLE_BETWEEN_TICKS);
    const MeterGeometry geometry(meter.size());
    for (int tick = 0; tick < TICKS; ++tick) {
        EXPECT_TRUE(HasBlackNear(picture, AlongTick(geometry, tick, geometry.outer, geometry.mid)))
            << tick;
        const QPoint nearInnerEnd = geometry.At(TickAngle(tick), geometry.inner + 2);
        EXPECT_EQ(HasBlackNear(picture, nearInnerEnd), tick % 2 == 0) << tick;
        const QPoint between = geometry.At(TickAngle(tick) - 3.0, geometry.outer - 3);
        EXPECT_FALSE(HasBlackNear(picture, between)) << tick;
    }
    // Nothing beyond either end of the scale.
    EXPECT_FALSE(HasBlackNear(picture, geometry.At(156.0, geometry.outer - 3)));
    EXPECT_FALSE(HasBlackNear(picture, geometry.At(24.0, geometry.outer - 3)));
}

// Largest font whose cell (ascent plus descent) fits the height.
QFont CellFont(int cellHeight) {
    QFont font("Arial");
    font.setStyleHint(QFont::SansSerif);
    int size = cellHeight;
    font.setPixelSize(size);
    while (QFontMetrics(font).height() > cellHeight) {
        font.setPixelSize(--size);
    }
    return font;
}

// Where a label starts, relative to the outer end of its tick, by the tick's angle.
struct LabelPlace {
    int tick;
    int widths; // in text widths
    bool halfLineUp;
    int extraX;
};
const LabelPlace LABEL_PLACES[] = {
    {0, -2, false, 0}, // 150 degrees: right end one width left of the tick
    {4, -1, true, 0},  // 126: right end at the tick, half a line up
    {8, -1, true, 0},  // 102
    {12, 0, true, 0},  // 78: starts at the tick, half a line up
    {16, 0, true, 0},  // 54
    {20, 0, false, 2}, // 30: starts two pixels right of the tick
};

// Each label wholly inside the picture, drawn exactly where its place says.
void ExpectLabels(const QImage& picture, const MeterGeometry& geometry,
                  const std::array<const char*, 6>& texts) {
    const QFont font = CellFont(geometry.radius / 6);
    const QFontMetrics metrics(font);
    for (std::size_t index = 0; index < texts.size(); ++index) {
        const LabelPlace& place = LABEL_PLACES[index];
        const char* text = texts[index];
        const QPoint q = geometry.At(TickAngle(place.tick), geometry.outer);
        const int width = metrics.horizontalAdvance(text);
        const int height = metrics.height();
        const int left = q.x() + place.widths * width + place.extraX;
        const int baseline = q.y() - (place.halfLineUp ? height / 2 : 0);
        const QRect cell(left, baseline - metrics.ascent(), width, height);
        ASSERT_TRUE(picture.rect().contains(cell))
            << text << " in " << picture.width() << "x" << picture.height();
        QImage expected(picture.size(), QImage::Format_RGB32);
        expected.fill(FACE_COLOUR);
        QPainter painter(&expected);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(left, baseline), text);
        painter.end();
        int differing = 0;
        int inked = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x) {
                differing += picture.pixel(x, y) != expected.pixel(x, y);
                inked += picture.pixel(x, y) != FACE_COLOUR.rgb();
            }
        }
        EXPECT_EQ(differing, 0) << text;
        EXPECT_GT(inked, 10) << text;
    }
}

TEST_F(MeterScale, LabelsReadTheRangeAtEverySecondMajorTickPlacedByTheirAngle) {
    Show(QSize(420, 420), 0.0, 100.0, NEEDLE_BETWEEN_TICKS);
    ExpectLabels(picture, MeterGeometry(meter.size()), {"0", "20", "40", "60", "80", "100"});
}

TEST_F(MeterScale, ColourBandRunsGreenYellowRedAndStopsOneStepShort) {
    meter.EnableColourBand(1);
    Show(QSize(1400, 1400), 0.0, 100.0, NEEDLE_BETWEEN_TICKS);
    const MeterGeometry geometry(meter.size());
    // Between the tick lines, well inside the band.
    const int radius = geometry.radius * 5 / 6;
    const double step = 120.0 / 250;
    auto quad = [&](int index) {
        return QColor(picture.pixel(geometry.At(150.0 - (index + 0.5) * step, radius)));
    };
    EXPECT_EQ(quad(0), QColor(0, 255, 0));
    EXPECT_EQ(quad(124), QColor(252, 255, 0));
    EXPECT_EQ(quad(125), QColor(255, 255, 0));
    EXPECT_EQ(quad(248), QColor(255, 4, 0));
    EXPECT_EQ(quad(249), FACE_COLOUR);
}

TEST_F(MeterScale, WithoutTheBandTheInnerArcIsYellow) {
    Show(QSize(420, 420), 0.0, 100.0, NEEDLE_BETWEEN_TICKS);
    const MeterGeometry geometry(meter.size());
    EXPECT_TRUE(HasColourNear(picture, geometry.At(147.0, geometry.inner), QColor(255, 255, 0)));
    EXPECT_TRUE(HasColourNear(picture, geometry.At(33.0, geometry.inner), QColor(255, 255, 0)));
    EXPECT_FALSE(HasColourNear(picture, geometry.At(160.0, geometry.inner), QColor(255, 255, 0)));
    EXPECT_EQ(QColor(picture.pixel(geometry.At(140.0, (geometry.outer + geometry.inner) / 2))),
              FACE_COLOUR);
}

// Sized by its width, a flat control would hold the top labels above its edge.
TEST_F(MeterScale, AFlatControlShrinksItsScaleToShowEveryLabel) {
    const DialogUnits units(DialogUnits::DialogFont());
    const QSize sizes[] = {QSize(400, 200), units.Rect(0, 0, 139, 104).size(),
                           units.Rect(0, 0, 104, 91).size()};
    for (const QSize size : sizes) {
        Show(size, 0.0, 100.0, NEEDLE_BETWEEN_TICKS);
        ExpectLabels(picture, MeterGeometry(size, meter.Radius()),
                     {"0", "20", "40", "60", "80", "100"});
        Show(size, 0.0, 20000.0, 10500.0);
        ExpectLabels(picture, MeterGeometry(size, meter.Radius()),
                     {"0", "4000", "8000", "12000", "16000", "20000"});
    }
    // Only as much smaller as it has to be.
    Show(QSize(400, 200), 0.0, 100.0, NEEDLE_BETWEEN_TICKS);
    EXPECT_LT(meter.Radius(), MeterGeometry(QSize(400, 200)).radius);
    EXPECT_GT(meter.Radius(), 90);
}

} // namespace
