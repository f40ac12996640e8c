#include "app/ParamWriteSequence.h"

#include "ParamDocument.h"
#include "app/ParamRows.h"

#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;

constexpr std::uint16_t VPV_START_ID = 0x40;
constexpr std::uint16_t FAC_MIN_ID = 0x46;

// The record holds the typical values; the wanted set changes Vpv-Start to
// 150.5 and Fac-Min to 49.50.
class ParamWriteSequenceTest : public ::testing::Test {
protected:
    ParamWriteSequence Sequence() {
        Params wanted = TYPICAL_PARAMS;
        wanted[0] = 1505;
        wanted[6] = 4950;
        return ParamWriteSequence(plant.Document(), inverter, wanted, ParamWriteTiming{});
    }

    ParamDocument plant;
    CInverter* inverter = plant.AddInverter();
};

TEST_F(ParamWriteSequenceTest, QueuesAfterASecondAndTakesAConfirmationOnTheLastCheck) {
    ParamWriteSequence sequence = Sequence();
    EXPECT_EQ(sequence.Advance(), milliseconds(1000));
    EXPECT_TRUE(plant.Pending(inverter).empty());
    for (int check = 1; check <= 10; ++check) {
        EXPECT_EQ(sequence.Advance(), milliseconds(100)) << check;
    }
    EXPECT_EQ(plant.Pending(inverter), (std::vector<ParamWrite>{{VPV_START_ID, 1505}}));

    plant.Accept(inverter, 0, 1505);
    EXPECT_EQ(sequence.Advance(), milliseconds(1000)); // the 11th check, then Fac-Min
    sequence.Advance();
    EXPECT_EQ(plant.Pending(inverter),
              (std::vector<ParamWrite>{{VPV_START_ID, 1505}, {FAC_MIN_ID, 4950}}));
    plant.Accept(inverter, 6, 4950);
    sequence.Advance();
    EXPECT_FALSE(sequence.Running());
    EXPECT_EQ(sequence.FailedRow(), -1);
}

TEST_F(ParamWriteSequenceTest, AnUnconfirmedRowFailsAfterElevenChecksAndStopsTheRest) {
    ParamWriteSequence sequence = Sequence();
    sequence.Advance();
    for (int check = 1; check <= 11; ++check) {
        EXPECT_EQ(sequence.Advance(), milliseconds(100)) << check;
    }
    EXPECT_TRUE(sequence.Running());
    sequence.Advance();
    EXPECT_FALSE(sequence.Running());
    EXPECT_EQ(sequence.FailedRow(), static_cast<int>(ROW_VPV_START));
    EXPECT_EQ(plant.Pending(inverter).size(), 1U);
}

TEST_F(ParamWriteSequenceTest, ARemovedRecordFailsTheRow) {
    ParamWriteSequence sequence = Sequence();
    sequence.Advance();
    plant.Remove(inverter);
    sequence.Advance();
    EXPECT_FALSE(sequence.Running());
    EXPECT_EQ(sequence.FailedRow(), static_cast<int>(ROW_VPV_START));
}

} // namespace
