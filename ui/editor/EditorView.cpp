#include "ui/editor/EditorView.h"

#include "model/ChannelWords.h"
#include "ui/editor/EditorCaptions.h"

#include <algorithm>

namespace tevra {

void EditorView::derive(const EditorModel& model) {
    const ProgramImage& image = model.working();
    const int step = model.currentStep();
    const int selected = model.selectedChannel();

    stepSelectorPosition = std::clamp(step, stepSelectorMin, stepSelectorMax);
    stepText = std::to_string(step);
    countText = std::to_string(image.stepCount());

    const int stepTime = model.currentStepTime();
    stepTimeCaption = EditorCaptions::stepTime(stepTime);
    stepTimeSliderPosition = std::clamp(stepTime, kStepTimeSliderMin, kStepTimeSliderMax);

    for (int c = 0; c < kChannelCount; ++c) {
        ChannelView& row = channels[static_cast<std::size_t>(c)];
        const ButtonFaces& faces = ChannelFaces::of(image.cell(step, c));
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

    startBlockChecked = image.startBlock();

    const std::uint8_t cell = model.currentCell();
    const int mode = modeOf(cell);
    const bool level = mode == static_cast<int>(ChannelMode::Level);
    const bool dimmer = !level && isDimmerMode(mode);
    detailVisible = level || dimmer;
    dimmerSliderVisible = dimmer;
    levelSliderVisible = level;
    stopDimmerVisible = level || dimmer;
    stopDimmerChecked = level;
    timeFromDimmerVisible = dimmer;
    if (level) {
        detailCaption = EditorCaptions::level(selected, cell);
        levelSliderPosition = std::clamp(levelFromCell(cell), kLevelSliderMin, kLevelSliderMax);
    } else if (dimmer) {
        detailCaption = EditorCaptions::dimmer(selected, cell);
        dimmerSliderPosition =
            std::clamp(dimmerSliderFromCell(cell), kDimmerSliderMin, kDimmerSliderMax);
    }
}

} // namespace tevra
