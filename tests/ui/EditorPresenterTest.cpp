#include "ui/editor/EditorPresenter.h"

#include "model/ChannelWords.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tevra {
namespace {

using P = EditorPresenter;
using Action = std::function<void(P&)>;
using BI = ButtonImage;
using BS = ButtonState;
using M = ChannelMode;

std::uint8_t cellOf(ChannelMode mode, int code) {
    return static_cast<std::uint8_t>(((static_cast<unsigned>(code) & 0x1F) << 3) |
                                     static_cast<unsigned>(mode));
}

std::uint8_t cellAt(const P& p, int channel, int step = 1) {
    return p.model().working().cell(step, channel);
}

// A byte put into the working image as a file read would, then a redraw with that channel's
// primary button focused.
void loadCell(P& p, int channel, std::uint8_t cell) {
    p.model().workingForRead().setCell(p.model().currentStep(), channel, cell);
    p.refresh(channel);
}

Action press(ArrowKey key) {
    return [key](P& p) { p.arrowPressed(key); };
}

Action slide(EditorSlider slider, int position) {
    return [slider, position](P& p) { p.sliderMoved(slider, position); };
}

TEST(EditorPresenter, ModeFromAFileRendersByTheTable) {
    const struct {
        BI primary;
        BS primaryState;
        BI secondary; // None: still the fresh face
        BS secondaryState;
        bool secondaryVisible;
        char detail; // 'L', 'D' or none
    } rows[8] = {{BI::Dark, BS::Clear, BI::None, BS::Clear, false, 0},
                 {BI::Lit, BS::Checked, BI::None, BS::Clear, false, 0},
                 {BI::Ramp, BS::Indeterminate, BI::Dark, BS::Clear, true, 'D'},
                 {BI::Ramp, BS::Indeterminate, BI::Ramp, BS::Indeterminate, false, 'L'},
                 {BI::Ramp, BS::Indeterminate, BI::Ramp, BS::Indeterminate, false, 'D'},
                 {BI::Ramp, BS::Indeterminate, BI::Lit, BS::Checked, true, 'D'},
                 {BI::Ramp, BS::Indeterminate, BI::Lit, BS::Checked, true, 'D'},
                 {BI::Ramp, BS::Indeterminate, BI::Ramp, BS::Indeterminate, true, 'D'}};
    for (int mode = 0; mode < 8; ++mode) {
        SCOPED_TRACE(mode);
        const auto& r = rows[mode];
        P p;
        EditorView expected = p.view();
        // Code 6: dimmer slider position 6, level 7, both shown as they are.
        const std::uint8_t cell = cellOf(static_cast<M>(mode), 6);
        loadCell(p, 9, cell);
        expected.channels[0].markerVisible = false;
        expected.channels[9] = {true,           r.primary,        r.primaryState,
                                r.secondary,    r.secondaryState, r.secondaryVisible,
                                cellWords(cell)};
        if (r.detail != 0) {
            const bool level = r.detail == 'L';
            expected.detailVisible = expected.stopDimmerVisible = true;
            expected.detailCaption =
                level ? "Яркость 10-го канала: 7 " : "Скорость диммера 10 -го канала: 420 mS.";
            expected.levelSliderVisible = expected.stopDimmerChecked = level;
            expected.dimmerSliderVisible = expected.timeFromDimmerVisible = !level;
            (level ? expected.levelSliderPosition : expected.dimmerSliderPosition) = level ? 7 : 6;
        }
        EXPECT_EQ(p.view(), expected);
        EXPECT_EQ(cellAt(p, 9), cell);
    }
}

// A shown detail slider writes back a value it cannot show, with no snapshot; channel 3 is not
// shown and keeps its code until selected.
TEST(EditorPresenter, DetailSliderRewritesOnlyTheShownChannel) {
    const struct {
        ChannelMode mode;
        int loaded;
        int written;
    } rows[] = {{M::DimmerRamp, -16, -10}, {M::DimmerRamp, -1, 1},  {M::DimmerRamp, 0, 1},
                {M::DimmerRamp, 11, 11},   {M::DimmerRamp, 12, -4}, {M::Level, 0, 0},
                {M::Level, 31, 31}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(r.mode) << " " << r.loaded);
        P p;
        p.model().workingForRead().setCell(1, 3, cellOf(r.mode, r.loaded));
        loadCell(p, 4, cellOf(r.mode, r.loaded));
        EXPECT_EQ(cellAt(p, 4), cellOf(r.mode, r.written));
        EXPECT_EQ(cellAt(p, 3), cellOf(r.mode, r.loaded));
        EXPECT_EQ(p.model().undoImage(), ProgramImage::startProgram());
        // Settled: drawing again changes nothing.
        const EditorView shown = p.view();
        p.refresh();
        EXPECT_EQ(p.view(), shown);
        EXPECT_EQ(r.mode == M::Level ? p.view().levelSliderPosition : p.view().dimmerSliderPosition,
                  r.mode == M::Level ? r.written + 1 : dimmerSliderFromCell(cellAt(p, 4)));
    }
}

// Navigation and count changes keep the current step inside the selector's range, even in a
// program with no steps or with a header claiming more than the image holds; a read, or a
// cancelled one, starts again at step 1 and channel 1; a step time the slider cannot show is
// clamped as it draws, and every action settles within two passes.
TEST(EditorPresenter, StepNavigationCountAndTime) {
    const auto count = [](int delta) { return [delta](P& p) { p.countButtonClicked(delta); }; };
    const auto at = [](int step) { return slide(EditorSlider::StepSelector, step); };
    // Stored behind the presenter's back, as a file read would.
    const auto stored = [](std::uint16_t units) {
        return [units](P& p) {
            p.model().workingForRead().setStepTime(2, units);
            p.arrowPressed(ArrowKey::Right);
        };
    };
    const auto read = [](std::uint16_t header) {
        return [header](P& p) {
            p.channelLabelClicked(4);
            p.model().workingForRead().setHeaderWord(header);
            p.programRead();
        };
    };
    const Action left = press(ArrowKey::Left);
    const Action right = press(ArrowKey::Right);
    const struct {
        const char* name;
        std::vector<Action> acts;
        int step;
        int count;
        int stepTime = 100;
    } rows[] = {
        {"delete the last step", {at(20), &P::deleteStepClicked}, 19, 19},
        {"count below the step", {at(15), count(-10)}, 10, 10},
        {"time 4 raised", {stored(4)}, 2, 20, 5},
        {"time 5 kept", {stored(5)}, 2, 20, 5},
        {"time 2560 kept", {stored(2560)}, 2, 20, 2560},
        {"time 2561 lowered", {stored(2561)}, 2, 20, 2560},
        {"Up lengthens by 10 ms", {stored(100), press(ArrowKey::Up)}, 2, 20, 101},
        {"read", {at(7), read(20)}, 1, 20},
        {"read 5 steps", {at(7), read(5), at(9999)}, 5, 5},
        {"read 5 steps, then move", {read(5), at(9999), left, right, at(0), at(3)}, 3, 5},
        {"read 5 steps, then shorten", {read(5), at(5), count(-1), &P::deleteStepClicked}, 3, 3},
        {"read 5 steps, then undo", {read(5), at(5), &P::deleteStepClicked, &P::undoClicked}, 5, 5},
        {"read no steps", {at(7), read(0), at(9999), left, right, at(3)}, 1, 0},
        {"read no steps, then shorten", {read(0), count(-1), &P::deleteStepClicked}, 1, 0},
        {"read too many steps", {read(0x7FFF), at(9999), right}, kMaxSteps, 0x7FFF},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        P p;
        for (const Action& act : r.acts) {
            act(p);
            EXPECT_LE(p.lastRefreshPasses(), 2);
            EXPECT_TRUE(p.model().currentStep() >= 1 &&
                        p.model().currentStep() <= p.view().stepSelectorMax);
            EXPECT_EQ(p.view().stepSelectorPosition, p.model().currentStep());
        }
        const EditorView& v = p.view();
        EXPECT_EQ(p.model().currentStep(), r.step);
        EXPECT_EQ(v.stepText, std::to_string(r.step));
        EXPECT_EQ(v.stepSelectorMax, std::clamp(r.count, 1, kMaxSteps));
        EXPECT_EQ(v.countText, std::to_string(r.count));
        EXPECT_EQ(p.model().working().stepTime(r.step), r.stepTime);
        EXPECT_EQ(v.stepTimeSliderPosition, r.stepTime);
        EXPECT_EQ(v.stepTimeCaption, "Время шага " + std::to_string(r.stepTime * 10) + " mS.");
        EXPECT_EQ(p.model().selectedChannel(), 0);
        EXPECT_TRUE(v.channels[0].markerVisible);
    }
}

// Refused actions, and "Старт блок" which sets a flag only, report no refresh: the window then
// leaves its widgets as they are.
TEST(EditorPresenter, RefusedActionsDoNotRefresh) {
    const std::vector<Action> refused = {
        press(ArrowKey::Left),
        slide(EditorSlider::DimmerSpeed, 3),
        slide(EditorSlider::Brightness, 3),
        &P::timeFromDimmerClicked,
        &P::importReady,
        [](P& p) { p.stopDimmerClicked(true); },
        [](P& p) { p.startBlockClicked(true); },
        [](P& p) { p.channelLabelClicked(kChannelCount); },
        [](P& p) { p.channelButtonClicked(-1, ChannelButton::Primary, ButtonState::Checked); }};
    for (std::size_t i = 0; i < refused.size(); ++i) {
        SCOPED_TRACE(i);
        P p;
        refused[i](p);
        EXPECT_EQ(p.lastRefreshPasses(), 0);
    }
}

} // namespace
} // namespace tevra
