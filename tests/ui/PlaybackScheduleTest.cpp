#include "ui/PlaybackSchedule.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace tevra {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

// Steps of 1 s, 0.5 s and 0.2 s.
ProgramImage threeSteps() {
    ProgramImage program = ProgramImage::startProgram();
    program.setStepCount(3);
    program.setStepTime(2, 50);
    program.setStepTime(3, 20);
    for (int step = 1; step <= 3; ++step) {
        program.setCell(step, 0, static_cast<std::uint8_t>(step));
    }
    return program;
}

class PlaybackScheduleTest : public testing::Test {
protected:
    // The playing step once the clock has reached t.
    std::optional<int> stepAt(milliseconds t) {
        m_now = t;
        m_schedule.advance();
        return m_schedule.playingStep();
    }

    ProgramImage m_program = threeSteps();
    microseconds m_now{0};
    PlaybackSchedule m_schedule{m_program, [this] { return m_now; }};
};

// Each row: the speed, then the instants (ms) at which steps 2, 3, 1 (after the wrap) and 2
// begin when play starts at step 1 at 0 ms.
TEST_F(PlaybackScheduleTest, EachSpeedDividesEveryStepAndPlayGoesRoundToStepOne) {
    const struct {
        PlaybackSpeed speed;
        std::array<int, 4> starts;
    } rows[] = {{PlaybackSpeed::Half, {2000, 3000, 3400, 5400}},
                {PlaybackSpeed::Normal, {1000, 1500, 1700, 2700}},
                {PlaybackSpeed::Double, {500, 750, 850, 1350}},
                {PlaybackSpeed::Quadruple, {250, 375, 425, 675}}};
    for (const auto& r : rows) {
        SCOPED_TRACE(static_cast<int>(r.speed));
        m_schedule.stop();
        m_schedule.setSpeed(r.speed);
        m_now = microseconds{0};
        m_schedule.play(1);
        const std::array<int, 4> steps = {2, 3, 1, 2};
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const milliseconds start{r.starts[i]};
            EXPECT_EQ(stepAt(start - milliseconds{1}), i == 0 ? 1 : steps[i - 1]);
            EXPECT_EQ(stepAt(start), steps[i]);
            EXPECT_EQ(m_schedule.stepStart(), start);
            EXPECT_EQ(m_schedule.playingCells()[0], steps[i]);
        }
    }
}

TEST_F(PlaybackScheduleTest, PlayStartsAtTheGivenStepWithinTheProgram) {
    const struct {
        int from;
        int playing;
        int next;
    } rows[] = {{3, 3, 1}, {2, 2, 3}, {0, 1, 2}, {9, 3, 1}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.from);
        m_schedule.stop();
        EXPECT_EQ(m_schedule.playingStep(), std::nullopt);
        m_now = microseconds{0};
        m_schedule.play(r.from);
        EXPECT_EQ(m_schedule.playingStep(), r.playing);
        EXPECT_EQ(stepAt(milliseconds{10 * m_program.stepTime(r.playing)}), r.next);
    }
}

TEST_F(PlaybackScheduleTest, PauseHoldsTheStepAndResumeGoesOnWhereItStopped) {
    m_schedule.play(1);
    stepAt(milliseconds{400});
    m_schedule.pause();
    EXPECT_EQ(m_schedule.state(), PlaybackState::Paused);
    EXPECT_EQ(stepAt(milliseconds{60'000}), 1);
    EXPECT_EQ(m_schedule.intoStep(), milliseconds{400});

    m_schedule.play(3); // resumes: the step given is for a fresh start only
    EXPECT_EQ(m_schedule.state(), PlaybackState::Playing);
    EXPECT_EQ(stepAt(milliseconds{60'599}), 1);
    EXPECT_EQ(m_schedule.intoStep(), milliseconds{999});
    EXPECT_EQ(stepAt(milliseconds{60'600}), 2);
    EXPECT_EQ(m_schedule.stepStart(), milliseconds{1000});

    // A speed chosen while paused applies to the rest of the step once play goes on.
    m_schedule.pause();
    m_schedule.setSpeed(PlaybackSpeed::Double);
    m_schedule.play(1);
    EXPECT_EQ(stepAt(milliseconds{60'849}), 2);
    EXPECT_EQ(stepAt(milliseconds{60'850}), 3);
}

TEST_F(PlaybackScheduleTest, ASpeedChangeRunsTheRestOfTheStepAtTheNewSpeed) {
    m_schedule.play(1);
    stepAt(milliseconds{500});
    m_schedule.setSpeed(PlaybackSpeed::Double);
    EXPECT_EQ(m_schedule.intoStep(), milliseconds{500});
    EXPECT_EQ(stepAt(milliseconds{749}), 1);
    EXPECT_EQ(m_schedule.intoStep(), milliseconds{998});
    EXPECT_EQ(stepAt(milliseconds{750}), 2);
    EXPECT_EQ(stepAt(milliseconds{1000}), 3);
}

// The program is read, never written; the playing step keeps the time and cells it began with.
TEST_F(PlaybackScheduleTest, AnEditDuringPlayTakesEffectFromTheNextStep) {
    m_schedule.play(1);
    stepAt(milliseconds{500});
    m_program.setStepTime(1, 300);
    m_program.setCell(1, 0, 0x33);
    m_program.setCell(2, 0, 0x44);
    m_program.setStepTime(2, 10);
    const ProgramImage edited = m_program;

    EXPECT_EQ(stepAt(milliseconds{999}), 1);
    EXPECT_EQ(m_schedule.playingCells()[0], 1);
    EXPECT_EQ(stepAt(milliseconds{1000}), 2);
    EXPECT_EQ(m_schedule.playingCells()[0], 0x44);
    EXPECT_EQ(stepAt(milliseconds{1100}), 3);
    // Round again: step 1 now lasts 3 s with its new cells.
    EXPECT_EQ(stepAt(milliseconds{1300}), 1);
    EXPECT_EQ(m_schedule.playingCells()[0], 0x33);
    EXPECT_EQ(stepAt(milliseconds{4299}), 1);
    EXPECT_EQ(stepAt(milliseconds{4300}), 2);
    EXPECT_EQ(m_program, edited);

    // A count lowered below the playing step sends play back to step 1 next.
    m_program.setStepCount(1);
    EXPECT_EQ(stepAt(milliseconds{4400}), 1);
}

TEST_F(PlaybackScheduleTest, NoStepsNoPlayAndStepsOfNoTimeNeverHang) {
    m_program.setStepCount(0);
    m_schedule.play(1);
    EXPECT_EQ(m_schedule.state(), PlaybackState::Stopped);

    m_program.setStepCount(3);
    for (int step = 1; step <= 3; ++step) {
        m_program.setStepTime(step, 0);
    }
    m_schedule.play(1);
    EXPECT_TRUE(m_schedule.playingStep().has_value());
    stepAt(milliseconds{5});
    EXPECT_EQ(m_schedule.state(), PlaybackState::Playing);
}

// However uneven the frames, step k begins exactly at the sum of the earlier steps' times, and
// is seen within the frame that reaches it.
TEST_F(PlaybackScheduleTest, StepStartsNeverDriftOverFiveHundredSteps) {
    m_program.setStepCount(kMaxSteps);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> stepTime(kMinStepTime, 40);
    std::uniform_int_distribution<int> jitter(-4000, 4000);
    // Ideal starts at 4x over two rounds; index round * 500 + step - 1.
    std::vector<microseconds> starts{microseconds{0}};
    for (int step = 1; step <= kMaxSteps; ++step) {
        m_program.setStepTime(step, static_cast<std::uint16_t>(stepTime(random)));
    }
    for (int i = 0; i < 2 * kMaxSteps; ++i) {
        starts.push_back(starts.back() +
                         microseconds{10'000 * m_program.stepTime(i % kMaxSteps + 1) / 4});
    }
    m_schedule.setSpeed(PlaybackSpeed::Quadruple);
    m_schedule.play(1);
    constexpr microseconds kFrame{16'667};
    bool wrapped = false;
    while (!wrapped) {
        const microseconds frame = kFrame + microseconds{jitter(random)};
        m_now += frame;
        if (!m_schedule.advance()) {
            continue;
        }
        wrapped = m_schedule.stepStart() >= starts[kMaxSteps];
        const int index = (wrapped ? kMaxSteps : 0) + *m_schedule.playingStep() - 1;
        ASSERT_EQ(m_schedule.stepStart(), starts[static_cast<std::size_t>(index)]);
        ASSERT_LT(m_now - m_schedule.stepStart(), frame);
    }
}

} // namespace
} // namespace tevra
