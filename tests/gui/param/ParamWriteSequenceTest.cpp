#include "gui/ParamWriteSequence.h"

#include "ParamDocument.h"
#include "comm/CommandReports.h"
#include "gui/ParamRows.h"
#include "store/ParamAudit.h"

#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;

constexpr std::uint16_t VPV_START_ID = 0x40;
constexpr std::uint16_t FAC_MIN_ID = 0x46;
constexpr int PAUSES_IN_LIMIT = 11;
const ParamWriteTiming TIMING{milliseconds(10), milliseconds(1000),
                              OutcomeTiming{milliseconds(100), milliseconds(1100)}};

// The record holds the typical values; the wanted set changes Vpv-Start to
// 150.5 and Fac-Min to 49.50.
class ParamWriteSequenceTest : public ::testing::Test {
protected:
    ParamWriteSequence Sequence(const ParamWriteTiming& timing = TIMING) {
        Params wanted = TYPICAL_PARAMS;
        wanted[0] = 1505;
        wanted[6] = 4950;
        return ParamWriteSequence(plant.Document(), inverter, wanted, timing);
    }

    ParamDocument plant;
    CInverter* inverter = plant.AddInverter();
};

TEST_F(ParamWriteSequenceTest, QueuesAfterASecondAndTakesAnAcknowledgementReportedAtTheLimit) {
    ParamWriteSequence sequence = Sequence();
    EXPECT_EQ(sequence.Advance(), milliseconds(1000));
    EXPECT_TRUE(plant.Pending(inverter).empty());
    for (int check = 1; check <= PAUSES_IN_LIMIT; ++check) {
        EXPECT_EQ(sequence.Advance(), milliseconds(100)) << check;
    }
    EXPECT_EQ(plant.Pending(inverter), (std::vector<ParamWrite>{{VPV_START_ID, 1505}}));

    plant.Answer(inverter, OUTCOME_ACKNOWLEDGED);
    EXPECT_EQ(sequence.Advance(), milliseconds(1000)); // the check at the limit, then Fac-Min
    sequence.Advance();
    EXPECT_EQ(plant.Pending(inverter),
              (std::vector<ParamWrite>{{VPV_START_ID, 1505}, {FAC_MIN_ID, 4950}}));
    plant.Answer(inverter, OUTCOME_ACKNOWLEDGED);
    sequence.Advance();
    EXPECT_FALSE(sequence.Running());
    EXPECT_EQ(sequence.FailedRow(), -1);
    std::vector<std::string> recorded;
    for (const ParamAuditEntry& entry : ReadParamAudit("")) {
        recorded.push_back(entry.parameter + " " + entry.oldValue + " " + entry.newValue + " " +
                           entry.unit + " " + entry.outcome);
    }
    EXPECT_EQ(recorded, (std::vector<std::string>{"Vpv-Start 150.0 150.5 V written",
                                                  "Fac-Min 49.80 49.50 Hz written"}));
}

TEST_F(ParamWriteSequenceTest, ARefusedRowFailsAtOnceAnUnreportedOneAtTheLimit) {
    const std::pair<CommandOutcome, int> cases[] = {
        {OUTCOME_REFUSED, 1}, {OUTCOME_NO_ANSWER, 1}, {OUTCOME_PENDING, PAUSES_IN_LIMIT}};
    for (const auto& [outcome, pauses] : cases) {
        ParamWriteSequence sequence = Sequence();
        sequence.Advance();
        int paused = 0;
        while (sequence.Advance() == milliseconds(100)) {
            if (++paused == 1 && outcome != OUTCOME_PENDING) {
                plant.Answer(inverter, outcome);
            }
        }
        EXPECT_FALSE(sequence.Running()) << outcome;
        EXPECT_EQ(paused, pauses) << outcome;
        EXPECT_EQ(sequence.FailedRow(), static_cast<int>(ROW_VPV_START)) << outcome;
        EXPECT_EQ(sequence.FailedOutcome(),
                  outcome == OUTCOME_PENDING ? OUTCOME_NO_ANSWER : outcome);
    }
}

TEST_F(ParamWriteSequenceTest, WithoutAGivenLimitTheWaitIsThePortsOwn) {
    ParamWriteTiming portsOwn = TIMING;
    portsOwn.outcome.limit.reset();
    ParamWriteSequence sequence = Sequence(portsOwn);
    sequence.Advance();
    int pauses = 0;
    while (sequence.Advance() == milliseconds(100)) {
        ++pauses;
    }
    EXPECT_EQ(pauses, CommandWaitLimit(plant.Group(), 1) / milliseconds(100));
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
