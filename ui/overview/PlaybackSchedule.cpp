#include "ui/overview/PlaybackSchedule.h"

#include <algorithm>

namespace tevra {

namespace {

using std::chrono::microseconds;

// Speeds in halves, so that every step's duration is a whole number of microseconds.
constexpr std::int64_t kNormalHalves = 2;
constexpr std::int64_t halves(PlaybackSpeed speed) {
    switch (speed) {
    case PlaybackSpeed::Half:
        return 1;
    case PlaybackSpeed::Normal:
        break;
    case PlaybackSpeed::Double:
        return 4;
    case PlaybackSpeed::Quadruple:
        return 8;
    }
    return kNormalHalves;
}

} // namespace

PlaybackSchedule::PlaybackSchedule(const ProgramImage& program, PlaybackClock clock)
    : m_program(program), m_clock(std::move(clock)) {}

void PlaybackSchedule::play(int fromStep) {
    switch (m_state) {
    case PlaybackState::Playing:
        return;
    case PlaybackState::Paused:
        m_pausedTotal += m_clock() - m_pausedAt;
        m_state = PlaybackState::Playing;
        return;
    case PlaybackState::Stopped:
        break;
    }
    const int count = std::min(m_program.stepCount(), kMaxSteps);
    if (count < 1) {
        return;
    }
    m_startInstant = m_clock();
    m_pausedTotal = microseconds{0};
    m_stepStart = microseconds{0};
    m_state = PlaybackState::Playing;
    beginStep(std::clamp(fromStep, 1, count));
}

void PlaybackSchedule::pause() {
    if (m_state == PlaybackState::Playing) {
        advance();
        m_pausedAt = m_clock();
        m_state = PlaybackState::Paused;
    }
}

void PlaybackSchedule::stop() {
    m_state = PlaybackState::Stopped;
}

void PlaybackSchedule::setSpeed(PlaybackSpeed speed) {
    if (m_state == PlaybackState::Stopped) {
        m_speed = speed;
        return;
    }
    advance();
    const microseconds played = playTime() - m_stepStart;
    const microseconds rest = programDuration(m_stepDuration - played);
    m_speed = speed;
    m_stepDuration = played + playedDuration(rest);
}

bool PlaybackSchedule::followStepCount() {
    const int count = std::min(m_program.stepCount(), kMaxSteps);
    if (m_state == PlaybackState::Stopped || m_step <= count) {
        return false;
    }
    if (count < 1) {
        stop();
        return false;
    }
    m_stepStart = playTime();
    beginStep(1);
    return true;
}

bool PlaybackSchedule::advance() {
    bool began = followStepCount();
    if (m_state != PlaybackState::Playing) {
        return false;
    }
    const microseconds now = playTime();
    // A program whose every step lasts 0 would begin steps forever at one instant.
    int instantSteps = 0;
    while (now >= m_stepStart + m_stepDuration && instantSteps <= kMaxSteps) {
        instantSteps = m_stepDuration.count() == 0 ? instantSteps + 1 : 0;
        m_stepStart += m_stepDuration;
        const int count = std::min(m_program.stepCount(), kMaxSteps);
        beginStep(m_step < count ? m_step + 1 : 1);
        began = true;
    }
    return began;
}

std::optional<int> PlaybackSchedule::playingStep() const {
    if (m_state == PlaybackState::Stopped) {
        return std::nullopt;
    }
    return m_step;
}

microseconds PlaybackSchedule::intoStep() const {
    if (m_state == PlaybackState::Stopped) {
        return microseconds{0};
    }
    // Counted back from the step's end, as the part already played may have run at another
    // speed.
    const microseconds rest =
        std::clamp(m_stepStart + m_stepDuration - playTime(), microseconds{0}, m_stepDuration);
    return std::max(kStepTimeUnit * m_stepTime - programDuration(rest), microseconds{0});
}

microseconds PlaybackSchedule::playTime() const {
    const microseconds now = m_state == PlaybackState::Paused ? m_pausedAt : m_clock();
    return now - m_startInstant - m_pausedTotal;
}

void PlaybackSchedule::beginStep(int step) {
    m_step = step;
    m_stepTime = m_program.stepTime(step);
    for (int channel = 0; channel < kChannelCount; ++channel) {
        m_cells[static_cast<std::size_t>(channel)] = m_program.cell(step, channel);
    }
    m_stepDuration = playedDuration(kStepTimeUnit * m_stepTime);
}

microseconds PlaybackSchedule::playedDuration(microseconds programTime) const {
    return programTime * kNormalHalves / halves(m_speed);
}

microseconds PlaybackSchedule::programDuration(microseconds playTime) const {
    return playTime * halves(m_speed) / kNormalHalves;
}

} // namespace tevra
