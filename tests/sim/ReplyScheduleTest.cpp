#include "ReplySchedule.h"

#include "CharacterTime.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Clock = sim::ReplySchedule::Clock;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct Heard {
    Clock::duration at; // after the request's first byte came in
    Bytes bytes;
};

// Steps through the schedule by its own due times.
std::vector<Heard> Replay(sim::ReplySchedule& schedule, Clock::time_point start) {
    std::vector<Heard> heard;
    while (const auto due = schedule.NextDue()) {
        heard.push_back({*due - start, schedule.TakeDue(*due)});
    }
    return heard;
}

bool operator==(const Heard& a, const Heard& b) {
    return a.at == b.at && a.bytes == b.bytes;
}

TEST(ReplyScheduleTest, BytesAreDueOneCharacterTimeApartAfterTheTurnaround) {
    struct Case {
        const char* name;
        Clock::duration characterTime;
        Clock::duration turnaround;
        std::vector<Bytes> answers;
        std::vector<Heard> expected;
    };
    const std::vector<Case> cases{
        {"paced", 1ms, 5ms, {{1, 2, 3}}, {{9ms, {1}}, {10ms, {2}}, {11ms, {3}}}},
        {"unpaced", 0ms, 0ms, {{1, 2, 3}}, {{0ms, {1, 2, 3}}}},
        {"overlapping",
         1ms,
         5ms,
         {{1, 2, 3}, {7, 8}},
         {{9ms, {1, 7}}, {10ms, {2, 8}}, {11ms, {3}}}},
    };
    for (const Case& c : cases) {
        sim::ReplySchedule schedule(c.turnaround);
        const Clock::time_point start{1s};
        schedule.Heard(3, c.characterTime, start);
        schedule.Send(sim::LineBurst(c.answers), c.characterTime);
        EXPECT_EQ(Replay(schedule, start), c.expected) << c.name;
    }
}

TEST(ReplyScheduleTest, AReplyWaitsForTheOneStillOnTheLine) {
    sim::ReplySchedule schedule(5ms);
    const Clock::time_point start{1s};
    schedule.Heard(1, 1ms, start);
    schedule.Send(sim::LineBurst(std::vector<Bytes>{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}), 1ms);
    schedule.Heard(1, 1ms, start + 2ms);
    schedule.Send(sim::LineBurst(std::vector<Bytes>{{11}}), 1ms);
    const std::vector<Heard> heard = Replay(schedule, start);
    ASSERT_EQ(heard.size(), 11U);
    EXPECT_EQ(heard.back(), (Heard{17ms, {11}}));
}

TEST(ReplyScheduleTest, CharacterTimeFollowsTheLineSettings) {
    struct Case {
        speed_t speed;
        tcflag_t framing;
        std::chrono::nanoseconds expected;
    };
    const std::vector<Case> cases{
        {B9600, CS8, 1'041'666ns},
        {B9600, CS8 | PARENB | CSTOPB, 1'250'000ns},
        {B19200, CS7, 468'750ns},
        {B0, CS8, 1'041'666ns},
    };
    for (const Case& c : cases) {
        termios line{};
        line.c_cflag = c.framing;
        cfsetospeed(&line, c.speed);
        EXPECT_EQ(sim::CharacterTime(line), c.expected) << c.framing;
    }
}

} // namespace
