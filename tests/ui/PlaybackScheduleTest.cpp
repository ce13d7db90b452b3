#include "ui/overview/PlaybackSchedule.h"

#include <gtest/gtest.h>
#include <random>
#include <tuple>
#include <vector>

namespace tevra {
namespace {

using namespace std::chrono_literals;
using std::chrono::microseconds;
using enum PlaybackState;

// What the schedule shows: the state, the playing step, its start (ms of play) and how far
// play is into it (ms of program time), and channel 16's cell in it.
using Shown = std::tuple<PlaybackState, std::optional<int>, double, double, int>;

class PlaybackScheduleTest : public testing::Test {
protected:
    // Steps of 1 s, 0.5 s and 0.2 s; channel 16 holds the step's number.
    PlaybackScheduleTest() {
        m_program.setStepCount(3);
        m_program.setStepTime(2, 50);
        m_program.setStepTime(3, 20);
        for (int step = 1; step <= 3; ++step) {
            m_program.setCell(step, 15, static_cast<std::uint8_t>(step));
        }
    }

    // What it shows once the clock reads t ms.
    Shown at(int t) {
        m_now = std::chrono::milliseconds{t};
        m_schedule.advance();
        const std::optional<int> step = m_schedule.playingStep();
        using Ms = std::chrono::duration<double, std::milli>;
        return {m_schedule.state(), step, step ? Ms(m_schedule.stepStart()).count() : 0,
                Ms(m_schedule.intoStep()).count(), step ? m_schedule.playingCells()[15] : 0};
    }

    ProgramImage m_program = ProgramImage::startProgram();
    microseconds m_now{0};
    PlaybackSchedule m_schedule{m_program, [this] { return m_now; }};
};

// Pausing catches up with the clock and pauses are left out of play time; a new speed runs
// the rest of the step, once play goes on when chosen while paused; after a stop, play
// starts afresh at the given step within the program, one step going round to itself.
TEST_F(PlaybackScheduleTest, PauseSpeedAndStopKeepThePlace) {
    m_schedule.play(1);
    m_now = 1100ms;
    m_schedule.pause();
    EXPECT_EQ(at(60'000), Shown(Paused, 2, 1000, 100, 2));
    m_schedule.play(3); // resumes: the step is for a fresh start only
    EXPECT_EQ(at(60'100), Shown(Playing, 2, 1000, 200, 2));
    m_schedule.setSpeed(PlaybackSpeed::Double); // the 300 ms left take 150 ms
    EXPECT_EQ(at(60'200), Shown(Playing, 2, 1000, 400, 2));
    m_schedule.pause();
    m_schedule.setSpeed(PlaybackSpeed::Quadruple); // the 100 ms left take 25 ms
    EXPECT_EQ(at(70'000), Shown(Paused, 2, 1000, 400, 2));
    m_schedule.play(1);
    EXPECT_EQ(at(70'024), Shown(Playing, 2, 1000, 496, 2));
    EXPECT_EQ(at(70'025), Shown(Playing, 3, 1325, 0, 3));

    m_schedule.stop();
    EXPECT_EQ(at(80'000), Shown(Stopped, {}, 0, 0, 0));
    m_program.setStepCount(1);
    m_schedule.play(9);
    EXPECT_EQ(at(80'249), Shown(Playing, 1, 0, 996, 1));
    EXPECT_EQ(at(80'250), Shown(Playing, 1, 250, 0, 1));
}

// The playing step keeps the time and cells it began with.
TEST_F(PlaybackScheduleTest, AnEditDuringPlayTakesEffectFromTheNextStep) {
    m_schedule.play(1);
    at(500);
    m_program.setStepTime(1, 300);
    m_program.setCell(1, 15, 0x33);
    m_program.setStepTime(2, 10);
    m_program.setCell(2, 15, 0x44);
    EXPECT_EQ(at(999), Shown(Playing, 1, 0, 999, 1));
    EXPECT_EQ(at(1000), Shown(Playing, 2, 1000, 0, 0x44));
    EXPECT_EQ(at(1100), Shown(Playing, 3, 1100, 0, 3));
    EXPECT_EQ(at(4299), Shown(Playing, 1, 1300, 2999, 0x33));
    EXPECT_EQ(std::get<1>(at(4300)), 2);
    // A count lowered below the playing step ends it at once, and play goes on from step 1;
    // steps of no time never hang it; without steps play stops.
    m_program.setStepCount(1);
    EXPECT_EQ(at(4350), Shown(Playing, 1, 4350, 0, 0x33));
    m_program.setStepTime(1, 0);
    EXPECT_EQ(std::get<1>(at(4400)), 1);
    m_program.setStepCount(0);
    EXPECT_EQ(at(4400), Shown(Stopped, {}, 0, 0, 0));
}

// However uneven the frames, each shows the step due by then, begun exactly at the sum of the
// earlier steps' times divided by the speed, for two rounds of 500 steps.
TEST_F(PlaybackScheduleTest, EachSpeedDividesEveryStepWithoutDrift) {
    m_program.setStepCount(kMaxSteps);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> stepTime(kMinStepTime, 40);
    for (int step = 1; step <= kMaxSteps; ++step) {
        m_program.setStepTime(step, static_cast<std::uint16_t>(stepTime(random)));
    }
    std::uniform_int_distribution<int> frame(12'667, 20'667); // us, about 60 Hz
    for (int speed = 0; speed < 4; ++speed) { // as the window lists them: 0.5x, 1x, 2x, 4x
        const int halves = 1 << speed;
        // Start i begins step i % 500 + 1; a unit of step time is 10 ms at 1x, two halves.
        std::vector<microseconds> starts{0us};
        for (int i = 0; i < 2 * kMaxSteps; ++i) {
            const int time = m_program.stepTime(i % kMaxSteps + 1);
            starts.push_back(starts.back() + 20'000us * time / halves);
        }
        m_schedule.stop();
        m_schedule.setSpeed(static_cast<PlaybackSpeed>(speed));
        m_now = 0us;
        m_schedule.play(1);
        std::size_t due = 0;
        while (m_now < starts.back()) {
            m_now += microseconds{frame(random)};
            const std::size_t before = due;
            while (due + 1 < starts.size() && starts[due + 1] <= m_now) {
                ++due;
            }
            ASSERT_EQ(m_schedule.advance(), due != before);
            ASSERT_EQ(m_schedule.playingStep(), static_cast<int>(due % kMaxSteps) + 1);
            ASSERT_EQ(m_schedule.stepStart(), starts[due]);
        }
    }
}

} // namespace
} // namespace tevra
