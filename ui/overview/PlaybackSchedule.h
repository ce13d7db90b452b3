#pragma once

#include "model/ProgramImage.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

namespace tevra {

// Microseconds from any fixed instant; the window reads a steady clock, tests set the time.
using PlaybackClock = std::function<std::chrono::microseconds()>;

// 0.5x, 1x, 2x, 4x.
enum class PlaybackSpeed { Half, Normal, Double, Quadruple };

enum class PlaybackState { Stopped, Playing, Paused };

// Plays a program on a clock without ever changing it: each step lasts its stepTime x 10 ms
// divided by the speed, and after the last step play goes on at step 1. A step's time and
// cells are taken when it begins, so an edit shows from the next step on. Step boundaries are
// summed exactly from the start instant, so however late the clock is read, no step begins
// later than that reading and the error never grows.
class PlaybackSchedule {
public:
    PlaybackSchedule(const ProgramImage& program, PlaybackClock clock);

    PlaybackState state() const { return m_state; }
    PlaybackSpeed speed() const { return m_speed; }
    // When stopped, starts at fromStep (taken into 1..stepCount); when paused, goes on where
    // it stopped. A program without steps does not play.
    void play(int fromStep);
    void pause();
    void stop();
    // Takes effect at once: the rest of the playing step runs at the new speed.
    void setSpeed(PlaybackSpeed speed);

    // Catches up with the clock; true when another step began.
    bool advance();
    // After the program lost steps: a playing step that no longer exists ends at once and play
    // goes on from step 1; without steps play stops. A step that still exists plays on. True
    // when step 1 began.
    bool followStepCount();

    // While playing or paused: the step, and its cells as they were when it began.
    std::optional<int> playingStep() const;
    const std::array<std::uint8_t, kChannelCount>& playingCells() const { return m_cells; }
    // Play time (pauses left out, microseconds) from the start instant to the playing step's
    // start.
    std::chrono::microseconds stepStart() const { return m_stepStart; }
    // How far play is into the step, in program time (as at 1x), at most the step's time.
    std::chrono::microseconds intoStep() const;

private:
    std::chrono::microseconds playTime() const;
    void beginStep(int step);
    // At the current speed.
    std::chrono::microseconds playedDuration(std::chrono::microseconds programTime) const;
    std::chrono::microseconds programDuration(std::chrono::microseconds playTime) const;

    const ProgramImage& m_program;
    PlaybackClock m_clock;
    PlaybackState m_state = PlaybackState::Stopped;
    PlaybackSpeed m_speed = PlaybackSpeed::Normal;
    std::chrono::microseconds m_startInstant{0};
    // Time spent paused, and the instant the current pause began.
    std::chrono::microseconds m_pausedTotal{0};
    std::chrono::microseconds m_pausedAt{0};
    int m_step = 1;
    std::uint16_t m_stepTime = 0;
    std::array<std::uint8_t, kChannelCount> m_cells{};
    std::chrono::microseconds m_stepStart{0};
    std::chrono::microseconds m_stepDuration{0};
};

} // namespace tevra
