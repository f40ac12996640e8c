#include "MeterPicture.h"

#include <gtest/gtest.h>

namespace {

class MeterSettings : public ::testing::Test {
protected:
    void SetUp() override {
        meter.resize(300, 260);
        meter.SetRange(0.0, 100.0);
        meter.SetValue(40.0);
        first = Snapshot(meter);
    }

    CMeter meter;
    QImage first;
};

TEST_F(MeterSettings, ANewMinimumAloneChangesNothing) {
    meter.SetRange(50.0, 100.0);
    EXPECT_EQ(meter.GetRangeMin(), 0.0);
    EXPECT_EQ(Snapshot(meter), first);
    EXPECT_EQ(meter.FaceBuildCount(), 1);

    meter.SetRange(50.0, 200.0);
    EXPECT_EQ(meter.GetRangeMin(), 50.0);
    EXPECT_EQ(meter.GetRangeMax(), 200.0);
}

TEST_F(MeterSettings, AValueMovesTheNeedleOverTheCachedFace) {
    meter.SetValue(70.0);
    const QImage moved = Snapshot(meter);
    EXPECT_NE(moved, first);
    EXPECT_EQ(meter.FaceBuildCount(), 1);
    meter.SetValueAndRange(70.0, 0.0, 100.0); // nothing new
    Snapshot(meter);
    EXPECT_EQ(meter.FaceBuildCount(), 1);
}

TEST_F(MeterSettings, EverySettingAndEverySizeChangeRebuildsTheFace) {
    int builds = 1;
    auto expectRebuild = [&](const char* what) {
        Snapshot(meter);
        EXPECT_EQ(meter.FaceBuildCount(), ++builds) << what;
    };
    meter.SetValueAndRange(41.0, 0.0, 100.0);
    expectRebuild("value through SetValueAndRange");
    meter.SetRange(0.0, 200.0);
    expectRebuild("maximum");
    meter.SetNeedleColour(Qt::white);
    expectRebuild("needle colour");
    meter.EnableColourBand(1);
    expectRebuild("colour band");
    meter.SetScaleDigits(1);
    expectRebuild("scale digits");
    meter.SetValueDigits(1);
    expectRebuild("value digits");
    meter.SetUnit("kW");
    expectRebuild("unit");
    meter.SetDivisions(5);
    expectRebuild("divisions");
    meter.SetSubdivisions(4);
    expectRebuild("subdivisions");
    meter.SetAngles(180, 360);
    expectRebuild("angles");
    meter.resize(320, 260);
    expectRebuild("size");
    Snapshot(meter);
    EXPECT_EQ(meter.FaceBuildCount(), builds);
}

TEST_F(MeterSettings, ScalesBeyondTheTickListsAreRefused) {
    EXPECT_FALSE(meter.SetDivisions(100)); // 201 positions
    // 99 divisions of 2 need 199 ticks, but the step truncated to hundredths
    // of a degree walks 201 positions.
    EXPECT_FALSE(meter.SetDivisions(99));
    EXPECT_FALSE(meter.SetDivisions(0));
    EXPECT_FALSE(meter.SetSubdivisions(-1));
    EXPECT_FALSE(meter.SetAngles(150, 510));   // no sweep
    EXPECT_FALSE(meter.SetAngles(150, 600));   // backwards
    EXPECT_FALSE(meter.SetSubdivisions(2000)); // a step below a hundredth of a degree
    EXPECT_EQ(Snapshot(meter), first);
    EXPECT_EQ(meter.FaceBuildCount(), 1);
}

TEST_F(MeterSettings, AScaleOfExactlyTwoHundredTicksIsDrawn) {
    ASSERT_TRUE(meter.SetSubdivisions(1));
    ASSERT_TRUE(meter.SetAngles(150, 311)); // 199 degrees
    ASSERT_TRUE(meter.SetDivisions(199));   // one tick per degree
    meter.resize(600, 600);                 // ticks a few pixels apart
    const QImage picture = Snapshot(meter);
    const MeterGeometry geometry(meter.size());
    const int middle = (geometry.outer + geometry.inner) / 2;
    EXPECT_TRUE(HasBlackNear(picture, geometry.At(150.0, middle)));
    EXPECT_TRUE(HasBlackNear(picture, geometry.At(-49.0, middle)));
    EXPECT_FALSE(HasBlackNear(picture, geometry.At(-51.0, middle)));
}

} // namespace
