#pragma once

#include "model/ChannelCell.h"
#include "model/EditorModel.h"
#include "ui/editor/ChannelFaces.h"

#include <array>
#include <string>

namespace tevra {

inline constexpr int kStepTimeSliderMin = kMinStepTime;
inline constexpr int kStepTimeSliderMax = kMaxStepTime;

// One channel row of the window.
struct ChannelView {
    bool markerVisible = false;
    ButtonImage primaryImage = ButtonImage::None;
    ButtonState primaryState = ButtonState::Clear;
    // In modes Off and On the secondary button is hidden and keeps its last image and state.
    ButtonImage secondaryImage = ButtonImage::None;
    ButtonState secondaryState = ButtonState::Clear;
    bool secondaryVisible = false;
    // What the channel does in the step, for a screen reader: "уровень 16".
    std::string description;

    bool operator==(const ChannelView&) const = default;
};

// Everything the editor window shows, as plain values. Texts are UTF-8.
struct EditorView {
    // Range 1..stepCount; 1..1 for an empty program, so the position stays a valid step.
    int stepSelectorMin = 1;
    int stepSelectorMax = kDefaultStepCount;
    int stepSelectorPosition = 1;
    std::string stepText;
    std::string countText;

    // The caption shows the stored time (x 10 ms); the slider shows it clamped to 5..2560.
    std::string stepTimeCaption;
    int stepTimeSliderPosition = kDefaultStepTime;

    std::array<ChannelView, kChannelCount> channels{};
    bool startBlockChecked = false;

    // The detail area for the selected channel. A hidden control keeps its last caption or
    // position.
    bool detailVisible = false;
    std::string detailCaption = "Скорость диммера выбранного канала";
    bool dimmerSliderVisible = false;
    int dimmerSliderPosition = kDimmerSliderMin;
    bool levelSliderVisible = false;
    int levelSliderPosition = kLevelSliderMin;
    bool stopDimmerVisible = false;
    bool stopDimmerChecked = false;
    bool timeFromDimmerVisible = false;

    // Everything again from the model's current step and selected channel. The step
    // selector's range stays as the caller set it.
    void derive(const EditorModel& model);

    bool operator==(const EditorView&) const = default;
};

} // namespace tevra
