#include "ui/overview/OverviewPresenter.h"

#include "model/ChannelWords.h"

#include <algorithm>
#include <cstdio>

namespace tevra {

namespace {

using std::chrono::milliseconds;

std::string channelName(int channel) {
    return "Канал " + std::to_string(channel + 1);
}

// Units of 10 ms from step first up to step last.
milliseconds programTime(const ProgramImage& program, int first, int last) {
    milliseconds total{0};
    for (int step = first; step <= last; ++step) {
        total += kStepTimeUnit * program.stepTime(step);
    }
    return total;
}

// "m:ss,t", or "h:mm:ss,t" from an hour on; tenths of a second as the editor's steps come
// in 10 ms and a frame lasts longer.
std::string clockText(milliseconds time) {
    const long long tenths = time.count() / 100;
    const long long seconds = tenths / 10;
    const long long minutes = seconds / 60;
    char text[32];
    if (minutes >= 60) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld,%lld", minutes / 60, minutes % 60,
                      seconds % 60, tenths % 10);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld,%lld", minutes, seconds % 60, tenths % 10);
    }
    return text;
}

} // namespace

OverviewPresenter::OverviewPresenter(EditorPresenter& editor, PlaybackClock clock)
    : m_editor(editor), m_playback(editor.model().working(), std::move(clock)) {
    refresh();
}

CellFace OverviewPresenter::cellFace(std::uint8_t cell) {
    const ButtonFaces& faces = EditorPresenter::buttonFaces(cell);
    if (modeOf(cell) == static_cast<int>(ChannelMode::Level)) {
        return {faces.primaryImage, ButtonImage::None, levelFromCell(cell)};
    }
    return {faces.primaryImage, faces.secondaryVisible ? faces.secondaryImage : ButtonImage::None,
            0};
}

std::optional<int> OverviewPresenter::refresh() {
    m_layout.layOut(program(), m_columnsByTime);
    m_playback.followStepCount();
    if (currentStep() == m_revealedStep) {
        return std::nullopt;
    }
    m_revealedStep = currentStep();
    return m_revealedStep;
}

ScreenRect OverviewPresenter::firstPlace(const ScreenRect& editorFrame, int width, int minimumWidth,
                                         int height, const ScreenRect& screen) {
    const int screenRight = screen.left + screen.width;
    const int editorRight = editorFrame.left + editorFrame.width;
    const int rightSpace = screenRight - editorRight - kWindowGapPx;
    const int leftSpace = editorFrame.left - kWindowGapPx - screen.left;
    const bool rightSide = rightSpace >= width || (leftSpace < width && rightSpace >= leftSpace);
    // Narrower, down to the minimum, where that lets it stand beside the editor.
    const int fitted = std::min(
        std::max(std::min(width, rightSide ? rightSpace : leftSpace), minimumWidth), screen.width);
    const int left =
        rightSide ? editorRight + kWindowGapPx : editorFrame.left - kWindowGapPx - fitted;
    const int fittedHeight = std::min(height, screen.height);
    return {
        std::max(std::min(left, screenRight - fitted), screen.left),
        std::max(std::min(editorFrame.top, screen.top + screen.height - fittedHeight), screen.top),
        fitted, fittedHeight};
}

int OverviewPresenter::reveal() {
    m_revealedStep = currentStep();
    return m_revealedStep;
}

int OverviewPresenter::levelShade(int level) {
    const int from = std::clamp(level, kLevelSliderMin, kLevelSliderMax) - kLevelSliderMin;
    return kDimmestLevelShade +
           from * (kBrightestLevelShade - kDimmestLevelShade) / (kLevelSliderMax - kLevelSliderMin);
}

void OverviewPresenter::setColumnsByTime(bool byTime) {
    m_columnsByTime = byTime;
    m_layout.layOut(program(), m_columnsByTime);
}

std::string OverviewPresenter::headerNumber(int step) {
    return std::to_string(step);
}

std::string OverviewPresenter::headerTime(int step) const {
    return std::to_string((kStepTimeUnit * program().stepTime(step)).count());
}

std::string OverviewPresenter::toolTip(const GridHit& hit) const {
    if (hit.step && hit.channel) {
        return cellText(*hit.step, *hit.channel);
    }
    if (hit.step) {
        return "Шаг " + headerNumber(*hit.step) + "\n" +
               EditorPresenter::stepTimeCaption(program().stepTime(*hit.step));
    }
    if (hit.channel) {
        return channelName(*hit.channel);
    }
    return {};
}

std::string OverviewPresenter::cellText(int step, int channel) const {
    const std::uint8_t cell = program().cell(step, channel);
    std::string text = "Шаг " + headerNumber(step) + ", " + channelName(channel) + "\n" +
                       EditorPresenter::stepTimeCaption(program().stepTime(step)) + "\n" +
                       modeWords(modeOf(cell));
    if (modeOf(cell) == static_cast<int>(ChannelMode::Level)) {
        text += '\n';
        text += EditorPresenter::levelCaption(channel, cell);
    } else if (isDimmerMode(modeOf(cell))) {
        text += '\n';
        text += EditorPresenter::dimmerCaption(channel, cell);
    }
    return text;
}

bool OverviewPresenter::clicked(const GridHit& hit) {
    if (hit.step) {
        m_editor.stepAndChannelChosen(*hit.step, hit.channel);
    } else if (hit.channel) {
        m_editor.channelLabelClicked(*hit.channel);
    } else {
        return false;
    }
    return m_editor.lastRefreshPasses() > 0;
}

void OverviewPresenter::playPressed() {
    m_playback.play(currentStep());
}

void OverviewPresenter::pausePressed() {
    m_playback.pause();
}

void OverviewPresenter::stopPressed() {
    m_playback.stop();
}

void OverviewPresenter::playPausePressed() {
    if (m_playback.state() == PlaybackState::Playing) {
        pausePressed();
    } else {
        playPressed();
    }
}

void OverviewPresenter::speedChosen(PlaybackSpeed speed) {
    m_playback.setSpeed(speed);
}

bool OverviewPresenter::tick() {
    return m_playback.advance();
}

PlaybackControls OverviewPresenter::controls() const {
    switch (m_playback.state()) {
    case PlaybackState::Playing:
        return {false, true, true};
    case PlaybackState::Paused:
        return {true, false, true};
    case PlaybackState::Stopped:
        break;
    }
    return {program().stepCount() > 0, false, false};
}

std::array<LampView, kChannelCount> OverviewPresenter::lamps() const {
    std::array<LampView, kChannelCount> lamps{};
    for (int channel = 0; channel < kChannelCount; ++channel) {
        const auto c = static_cast<std::size_t>(channel);
        const std::uint8_t cell =
            playingStep() ? m_playback.playingCells()[c] : program().cell(currentStep(), channel);
        lamps[c].face = cellFace(cell);
        if (isDimmerMode(modeOf(cell))) {
            lamps[c].dimmerText = std::to_string(dimmerMillis(cell)) + " mS";
        }
    }
    return lamps;
}

std::string OverviewPresenter::statusText() const {
    const int step = playingStep().value_or(currentStep());
    const int count = program().stepCount();
    const milliseconds elapsed = programTime(program(), 1, step - 1) +
                                 std::chrono::duration_cast<milliseconds>(m_playback.intoStep());
    const milliseconds total = programTime(program(), 1, std::min(count, kMaxSteps));
    return "Шаг " + std::to_string(step) + " из " + std::to_string(count) + ", время " +
           clockText(elapsed) + " из " + clockText(total);
}

} // namespace tevra
