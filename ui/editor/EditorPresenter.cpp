#include "ui/editor/EditorPresenter.h"

#include "model/ChannelWords.h"

#include <algorithm>

namespace tevra {

namespace {

// Each write-back leaves values the sliders show exactly, so a second pass always settles;
// the bound only guards against a conversion that would not round-trip.
constexpr int kMaxRefreshPasses = 8;

// Indexed by the cell's mode bits, 0..7.
constexpr std::array<ButtonFaces, 8> kButtonFaces{{
    {ButtonImage::Dark, ButtonState::Clear, false, ButtonImage::None, ButtonState::Clear, false},
    {ButtonImage::Lit, ButtonState::Checked, false, ButtonImage::None, ButtonState::Clear, false},
    {ButtonImage::Ramp, ButtonState::Indeterminate, true, ButtonImage::Dark, ButtonState::Clear,
     true},
    {ButtonImage::Ramp, ButtonState::Indeterminate, true, ButtonImage::Ramp,
     ButtonState::Indeterminate, false},
    {ButtonImage::Ramp, ButtonState::Indeterminate, true, ButtonImage::Ramp,
     ButtonState::Indeterminate, false},
    {ButtonImage::Ramp, ButtonState::Indeterminate, true, ButtonImage::Lit, ButtonState::Checked,
     true},
    {ButtonImage::Ramp, ButtonState::Indeterminate, true, ButtonImage::Lit, ButtonState::Checked,
     true},
    {ButtonImage::Ramp, ButtonState::Indeterminate, true, ButtonImage::Ramp,
     ButtonState::Indeterminate, true},
}};

bool isChannel(int channel) {
    return channel >= 0 && channel < kChannelCount;
}

std::string channelOrdinal(int channel) {
    return std::to_string(channel + 1);
}

// The cell as the visible detail slider would write it back; unchanged when no slider shows.
std::uint8_t cellAsDetailSliderWrites(std::uint8_t cell) {
    const int mode = modeOf(cell);
    if (mode == static_cast<int>(ChannelMode::Level)) {
        return cellWithLevel(cell,
                             std::clamp(levelFromCell(cell), kLevelSliderMin, kLevelSliderMax));
    }
    if (isDimmerMode(mode)) {
        return dimmerCodeFromSlider(
            std::clamp(dimmerSliderFromCell(cell), kDimmerSliderMin, kDimmerSliderMax), cell);
    }
    return cell;
}

} // namespace

EditorPresenter::EditorPresenter() {
    m_model.setStepCountListener([this](int stepCount) { onStepCountChanged(stepCount); });
    onStepCountChanged(m_model.working().stepCount());
    m_focusedPrimaryChannel = 0;
    settle();
}

void EditorPresenter::setFocus(std::optional<int> primaryChannel) {
    m_focusedPrimaryChannel =
        primaryChannel && isChannel(*primaryChannel) ? primaryChannel : std::nullopt;
}

void EditorPresenter::refresh(std::optional<int> focusedPrimaryChannel) {
    setFocus(focusedPrimaryChannel);
    settle();
}

void EditorPresenter::refresh() {
    settle();
}

void EditorPresenter::sliderMoved(EditorSlider which, int position) {
    const std::string channel = channelOrdinal(m_model.selectedChannel());
    std::string name;
    switch (which) {
    case EditorSlider::StepSelector:
        m_model.setCurrentStep(
            std::clamp(position, m_view.stepSelectorMin, m_view.stepSelectorMax));
        settle();
        return;
    case EditorSlider::StepTime:
        name = "время шага";
        break;
    case EditorSlider::DimmerSpeed:
        if (!m_view.dimmerSliderVisible) {
            m_lastRefreshPasses = 0;
            return;
        }
        name = "скорость диммера канала ";
        name += channel;
        break;
    case EditorSlider::Brightness:
        if (!m_view.levelSliderVisible) {
            m_lastRefreshPasses = 0;
            return;
        }
        name = "яркость канала ";
        name += channel;
        break;
    }
    // One drag or one run of keys on one slider, at one step, is one entry.
    std::string gesture = name;
    gesture += ", шаг ";
    gesture += std::to_string(m_model.currentStep());
    m_model.recordChange(
        name,
        [&] {
            writeSlider(which, position);
            settle();
        },
        gesture);
}

void EditorPresenter::writeSlider(EditorSlider which, int position) {
    switch (which) {
    case EditorSlider::StepSelector:
        break;
    case EditorSlider::StepTime:
        m_model.setCurrentStepTime(static_cast<std::uint16_t>(
            std::clamp(position, kStepTimeSliderMin, kStepTimeSliderMax)));
        break;
    case EditorSlider::DimmerSpeed:
        m_model.setCurrentCell(dimmerCodeFromSlider(
            std::clamp(position, kDimmerSliderMin, kDimmerSliderMax), m_model.currentCell()));
        break;
    case EditorSlider::Brightness:
        m_model.setCurrentCell(cellWithLevel(
            m_model.currentCell(), std::clamp(position, kLevelSliderMin, kLevelSliderMax)));
        break;
    }
}

void EditorPresenter::sliderPressed() {
    m_model.endGesture();
}

void EditorPresenter::channelButtonClicked(int channel, ChannelButton which,
                                           ButtonState stateAfterClick) {
    if (!isChannel(channel)) {
        m_lastRefreshPasses = 0;
        return;
    }
    m_focusedPrimaryChannel =
        which == ChannelButton::Primary ? std::optional<int>{channel} : std::nullopt;
    m_model.selectChannel(channel);
    m_model.applyChannelButton(channel, which, static_cast<int>(stateAfterClick));
    settle();
}

ButtonState EditorPresenter::stateAfterClick(ButtonState before) {
    switch (before) {
    case ButtonState::Clear:
        return ButtonState::Checked;
    case ButtonState::Checked:
        return ButtonState::Indeterminate;
    case ButtonState::Indeterminate:
        break;
    }
    return ButtonState::Clear;
}

const ButtonFaces& EditorPresenter::buttonFaces(std::uint8_t cell) {
    return kButtonFaces[static_cast<std::size_t>(modeOf(cell))];
}

std::string EditorPresenter::stepTimeCaption(int stepTime) {
    return "Время шага " + std::to_string(stepTime * kStepTimeUnit.count()) + " mS.";
}

std::string EditorPresenter::levelCaption(int channel, std::uint8_t cell) {
    return "Яркость " + channelOrdinal(channel) +
           "-го канала: " + std::to_string(levelFromCell(cell)) + " ";
}

std::string EditorPresenter::dimmerCaption(int channel, std::uint8_t cell) {
    return "Скорость диммера " + channelOrdinal(channel) +
           " -го канала: " + std::to_string(dimmerMillis(cell)) + " mS.";
}

void EditorPresenter::stopDimmerClicked(bool checked) {
    if (!m_view.stopDimmerVisible) {
        m_lastRefreshPasses = 0;
        return;
    }
    pushButtonAction();
    m_model.recordChange("стоп диммер", [&] {
        m_model.setCurrentCell(stopDimmerCell(checked));
        settle();
    });
}

void EditorPresenter::startBlockClicked(bool checked) {
    pushButtonAction();
    m_model.setStartBlock(checked);
    // Only the check box itself follows; everything else waits for the next refresh.
    m_view.startBlockChecked = m_model.working().startBlock();
    m_lastRefreshPasses = 0;
}

void EditorPresenter::countButtonClicked(int delta) {
    pushButtonAction();
    settleIf(m_model.adjustStepCount(delta));
}

void EditorPresenter::insertStepClicked() {
    pushButtonAction();
    settleIf(m_model.insertStep());
}

void EditorPresenter::deleteStepClicked() {
    pushButtonAction();
    settleIf(m_model.deleteStep());
}

void EditorPresenter::undoClicked() {
    pushButtonAction();
    m_model.recordChange("отмена действия", [this] {
        m_model.restoreSnapshot();
        settle();
    });
}

bool EditorPresenter::applyEdit(std::string_view name,
                                const std::function<bool(ProgramImage&)>& edit) {
    bool changed = false;
    m_model.recordChange(name, [&] {
        changed = m_model.applyEdit(name, edit);
        settleIf(changed);
    });
    return changed;
}

bool EditorPresenter::undoChange() {
    return stepThroughHistory(m_model.undo());
}

bool EditorPresenter::redoChange() {
    return stepThroughHistory(m_model.redo());
}

bool EditorPresenter::stepThroughHistory(bool stepped) {
    if (stepped) {
        // The restored channel shows as a click on its number would show it.
        m_focusedPrimaryChannel = m_model.selectedChannel();
    }
    settleIf(stepped);
    return stepped;
}

std::optional<ShiftRefusal> EditorPresenter::shiftTimesClicked(bool longer) {
    pushButtonAction();
    auto refusal = m_model.shiftAllTimes(longer ? kTimeShiftUnits : -kTimeShiftUnits);
    settle();
    return refusal;
}

std::string EditorPresenter::shiftRefusalText(const ShiftRefusal& refusal) {
    return "Время шага номер: " + std::to_string(refusal.step) +
           (refusal.longer ? "\nне может быть больше 25,6 секунды!"
                           : "\nне может быть меньше 0,05 секунды!");
}

void EditorPresenter::timeFromDimmerClicked() {
    if (!m_view.timeFromDimmerVisible) {
        m_lastRefreshPasses = 0;
        return;
    }
    pushButtonAction();
    m_model.setTimeFromDimmer(m_view.dimmerSliderPosition);
    settle();
}

void EditorPresenter::copyConfirmed(const CopyRange& range) {
    pushButtonAction();
    m_model.copySteps(m_model.working(), range);
    settle();
}

void EditorPresenter::stepTimesConfirmed(const StepTimesRange& range) {
    pushButtonAction();
    m_model.setStepTimes(range);
    settle();
}

void EditorPresenter::importReady() {
    pushButtonAction();
    m_model.beginInsertFromFile();
    m_lastRefreshPasses = 0;
}

void EditorPresenter::importCopyConfirmed(const CopyRange& range) {
    pushButtonAction();
    m_model.finishInsertFromFile(range);
    settle();
}

void EditorPresenter::programRead() {
    pushButtonAction();
    // The read wrote the image directly; the entry measures it from the recorded state.
    m_model.recordChange("чтение программы", [this] {
        m_model.resetPosition();
        onStepCountChanged(m_model.working().stepCount());
        settle();
    });
}

int EditorPresenter::tabPressed(FocusedControl from, bool backwards) {
    const int last = kChannelCount - 1;
    int to = backwards ? last : 0;
    if (isChannel(from.channel)) {
        const int c = from.channel;
        switch (from.kind) {
        case FocusedControl::Kind::PrimaryButton:
            to = (c + (backwards ? last : 1)) % kChannelCount;
            break;
        case FocusedControl::Kind::SecondaryButton:
            // The template orders the buttons by identifier: an odd-numbered channel's
            // primary button comes before its secondary one, an even-numbered channel's after.
            if (c % 2 == 0) {
                to = backwards ? c : c + 1;
            } else {
                to = backwards ? c - 1 : c;
            }
            break;
        case FocusedControl::Kind::Other:
            break;
        }
    }
    m_focusedPrimaryChannel = to;
    settle();
    return to;
}

void EditorPresenter::arrowPressed(ArrowKey key) {
    constexpr int kLonger = 1;
    constexpr int kShorter = -1;
    switch (key) {
    case ArrowKey::Left:
        settleIf(m_model.previousStep());
        return;
    case ArrowKey::Right:
        settleIf(m_model.nextStep());
        return;
    case ArrowKey::Up:
        settleIf(m_model.nudgeStepTime(kLonger));
        return;
    case ArrowKey::Down:
        settleIf(m_model.nudgeStepTime(kShorter));
        return;
    }
}

void EditorPresenter::channelLabelClicked(int channel) {
    if (!isChannel(channel)) {
        m_lastRefreshPasses = 0;
        return;
    }
    m_focusedPrimaryChannel = channel;
    settle();
}

void EditorPresenter::stepAndChannelChosen(int step, std::optional<int> channel) {
    if (channel && isChannel(*channel)) {
        m_focusedPrimaryChannel = channel;
    }
    sliderMoved(EditorSlider::StepSelector, step);
}

std::optional<int>
EditorPresenter::channelAtPoint(const std::array<MarkerRect, kChannelCount>& markers,
                                PointPx point) {
    for (int c = 0; c < kChannelCount; ++c) {
        const MarkerRect& r = markers[static_cast<std::size_t>(c)];
        const bool insideX =
            point.x >= r.left && point.x < r.left + r.width + kMarkerHitExtensionPx;
        const bool insideY = point.y >= r.top && point.y < r.top + r.height;
        if (insideX && insideY) {
            return c;
        }
    }
    return std::nullopt;
}

void EditorPresenter::settle() {
    int passes = 0;
    bool changed = true;
    while (changed && passes < kMaxRefreshPasses) {
        ++passes;
        if (m_focusedPrimaryChannel) {
            m_model.selectChannel(*m_focusedPrimaryChannel);
        }
        deriveView();
        changed = writeBackSliders();
    }
    m_lastRefreshPasses = passes;
}

void EditorPresenter::settleIf(bool modelChanged) {
    if (modelChanged) {
        settle();
    } else {
        m_lastRefreshPasses = 0;
    }
}

void EditorPresenter::deriveView() {
    const ProgramImage& image = m_model.working();
    const int step = m_model.currentStep();
    const int selected = m_model.selectedChannel();

    m_view.stepSelectorPosition = std::clamp(step, m_view.stepSelectorMin, m_view.stepSelectorMax);
    m_view.stepText = std::to_string(step);
    m_view.countText = std::to_string(image.stepCount());

    const int stepTime = m_model.currentStepTime();
    m_view.stepTimeCaption = stepTimeCaption(stepTime);
    m_view.stepTimeSliderPosition = std::clamp(stepTime, kStepTimeSliderMin, kStepTimeSliderMax);

    for (int c = 0; c < kChannelCount; ++c) {
        ChannelView& row = m_view.channels[static_cast<std::size_t>(c)];
        const ButtonFaces& faces = buttonFaces(image.cell(step, c));
        row.markerVisible = c == selected;
        row.primaryImage = faces.primaryImage;
        row.primaryState = faces.primaryState;
        if (faces.setsSecondary) {
            row.secondaryImage = faces.secondaryImage;
            row.secondaryState = faces.secondaryState;
        }
        row.secondaryVisible = faces.secondaryVisible;
        row.description = cellWords(image.cell(step, c));
    }

    m_view.startBlockChecked = image.startBlock();

    const std::uint8_t cell = m_model.currentCell();
    const int mode = modeOf(cell);
    const bool level = mode == static_cast<int>(ChannelMode::Level);
    const bool dimmer = !level && isDimmerMode(mode);
    m_view.detailVisible = level || dimmer;
    m_view.dimmerSliderVisible = dimmer;
    m_view.levelSliderVisible = level;
    m_view.stopDimmerVisible = level || dimmer;
    m_view.stopDimmerChecked = level;
    m_view.timeFromDimmerVisible = dimmer;
    if (level) {
        m_view.detailCaption = levelCaption(selected, cell);
        m_view.levelSliderPosition =
            std::clamp(levelFromCell(cell), kLevelSliderMin, kLevelSliderMax);
    } else if (dimmer) {
        m_view.detailCaption = dimmerCaption(selected, cell);
        m_view.dimmerSliderPosition =
            std::clamp(dimmerSliderFromCell(cell), kDimmerSliderMin, kDimmerSliderMax);
    }
}

// Each slider that shows writes its position back, as it does whenever it draws. The step
// selector goes first; the others then take their positions from the step it settled on,
// as they would after the refresh its write-back causes.
bool EditorPresenter::writeBackSliders() {
    bool changed = false;

    const int step = m_model.currentStep();
    const int shownStep = std::clamp(step, m_view.stepSelectorMin, m_view.stepSelectorMax);
    if (shownStep != step) {
        m_model.setCurrentStep(shownStep);
        changed = true;
    }

    const std::uint16_t time = m_model.currentStepTime();
    const auto shownTime = static_cast<std::uint16_t>(
        std::clamp(static_cast<int>(time), kStepTimeSliderMin, kStepTimeSliderMax));
    if (shownTime != time) {
        m_model.setCurrentStepTime(shownTime);
        changed = true;
    }

    const std::uint8_t cell = m_model.currentCell();
    const std::uint8_t written = cellAsDetailSliderWrites(cell);
    if (written != cell) {
        m_model.setCurrentCell(written);
        changed = true;
    }
    return changed;
}

void EditorPresenter::onStepCountChanged(int stepCount) {
    // An empty program still shows step 1; a header claiming more than the image holds is
    // kept to the records that exist.
    m_view.stepSelectorMax = std::clamp(stepCount, m_view.stepSelectorMin, kMaxSteps);
}

void EditorPresenter::pushButtonAction() {
    m_focusedPrimaryChannel.reset();
}

} // namespace tevra
