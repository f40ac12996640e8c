#include "MeterPicture.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

const QColor NEEDLE(255, 0, 0);

struct Needle {
    QPoint tip;
    QPoint sideA; // up-stream of the pivot when the needle points up
    QPoint sideB;
};

Needle NeedleAt(const MeterGeometry& geometry, double degrees) {
    const double angle = degrees * std::numbers::pi / 180.0;
    const int halfWidth = geometry.radius / 20 * 10;
    const QPoint side(static_cast<int>(halfWidth * std::sin(angle) / 8),
                      static_cast<int>(halfWidth * std::cos(angle) / 8));
    return {geometry.At(degrees, geometry.radius * 95 / 100), geometry.pivot - side,
            geometry.pivot + side};
}

// The shadow edge runs from the tip down the needle's right side as seen from
// the upper left: side A when the needle leans left, side B otherwise.
bool ShadowEdgeAt(const QImage& picture, const MeterGeometry& geometry, double degrees) {
    const Needle needle = NeedleAt(geometry, degrees);
    const QPoint side = degrees > 90 ? needle.sideA : needle.sideB;
    return HasColourNear(picture, (needle.tip + side) / 2, SHADOW_COLOUR);
}

class MeterNeedle : public ::testing::Test {
protected:
    void SetUp() override {
        meter.resize(420, 420);
        UseTestColours(meter);
        meter.SetRange(0.0, 100.0);
    }
    QImage At(double value) {
        meter.SetValue(value);
        return Snapshot(meter);
    }

    CMeter meter;
};

TEST_F(MeterNeedle, PointsAtTheValueAndIsFilledOnlyInsideTheScale) {
    const QImage picture = At(50.0);
    const MeterGeometry geometry(meter.size());
    EXPECT_TRUE(ShadowEdgeAt(picture, geometry, 90.0));
    EXPECT_EQ(QColor(picture.pixel(geometry.At(90.0, geometry.radius * 0.8))), NEEDLE);
    // Below the chord that closes the scale segment the needle is not filled.
    EXPECT_NE(QColor(picture.pixel(geometry.At(90.0, geometry.radius * 0.3))), NEEDLE);
}

TEST_F(MeterNeedle, ValuesOutsideTheRangePinItToTheScaleEnds) {
    const MeterGeometry geometry(meter.size());
    const QImage atMinimum = At(0.0);
    EXPECT_TRUE(ShadowEdgeAt(atMinimum, geometry, 150.0));
    EXPECT_FALSE(ShadowEdgeAt(atMinimum, geometry, 30.0));
    const QImage atMaximum = At(100.0);
    EXPECT_TRUE(ShadowEdgeAt(atMaximum, geometry, 30.0));
    EXPECT_FALSE(ShadowEdgeAt(atMaximum, geometry, 150.0));

    // Only the value text tells them apart.
    const QRect needleArea(0, 0, 420, geometry.pivot.y() + geometry.radius / 6 + 2);
    EXPECT_EQ(At(-40.0).copy(needleArea), atMinimum.copy(needleArea));
    EXPECT_EQ(At(250.0).copy(needleArea), atMaximum.copy(needleArea));
}

TEST_F(MeterNeedle, AnEmptyRangeNeverDividesByZero) {
    CMeter fresh; // its range is 0 to 0 until an owner sets one
    fresh.resize(420, 420);
    UseTestColours(fresh);
    const MeterGeometry geometry(fresh.size());
    EXPECT_TRUE(ShadowEdgeAt(Snapshot(fresh), geometry, 150.0));
    fresh.SetValue(5.0);
    EXPECT_TRUE(ShadowEdgeAt(Snapshot(fresh), geometry, 30.0));
    fresh.SetValue(-5.0);
    EXPECT_TRUE(ShadowEdgeAt(Snapshot(fresh), geometry, 150.0));
}

TEST_F(MeterNeedle, HubShadesFromBlackRimToWhiteCentre) {
    const QImage picture = At(50.0);
    const MeterGeometry geometry(meter.size());
    const int unit = geometry.radius / 20;
    const int rim = 3 * unit / 4;
    const int rimGrey = static_cast<int>(255.0 - 255.0 * rim * 4 / (3.0 * unit));
    EXPECT_EQ(QColor(picture.pixel(geometry.pivot)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(picture.pixel(geometry.pivot + QPoint(0, rim))),
              QColor(rimGrey, rimGrey, rimGrey));
    EXPECT_LT(rimGrey, 40);
}

} // namespace
