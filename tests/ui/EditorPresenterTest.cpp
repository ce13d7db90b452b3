#include "ui/EditorPresenter.h"

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tevra {
namespace {

constexpr int kParamShift = 3;

std::uint8_t cellOf(ChannelMode mode, int code) {
    return static_cast<std::uint8_t>(((static_cast<unsigned>(code) & 0x1F) << kParamShift) |
                                     static_cast<unsigned>(mode));
}

const ChannelView& row(const EditorPresenter& p, int channel) {
    return p.view().channels[static_cast<std::size_t>(channel)];
}

std::uint8_t cellAt(const EditorPresenter& p, int channel, int step = 1) {
    return p.model().working().cell(step, channel);
}

// Puts a byte into the working image as a file read would, then lets the window redraw with
// that channel's primary button focused.
void loadCell(EditorPresenter& p, int channel, std::uint8_t cell) {
    p.model().workingForRead().setCell(p.model().currentStep(), channel, cell);
    p.refresh(channel);
}

// A click as the window delivers it: the button advances its own 3-state value first.
void clickPrimary(EditorPresenter& p, int channel) {
    p.channelButtonClicked(channel, ChannelButton::Primary,
                           EditorPresenter::stateAfterClick(row(p, channel).primaryState));
}

void clickSecondary(EditorPresenter& p, int channel) {
    p.channelButtonClicked(channel, ChannelButton::Secondary,
                           EditorPresenter::stateAfterClick(row(p, channel).secondaryState));
}

using P = EditorPresenter;
using Action = std::function<void(P&)>;

Action press(ArrowKey key) {
    return [key](P& p) { p.arrowPressed(key); };
}

Action slide(EditorSlider slider, int position) {
    return [slider, position](P& p) { p.sliderMoved(slider, position); };
}

Action countBy(int delta) {
    return [delta](P& p) { p.countButtonClicked(delta); };
}

Action label(int channel) {
    return [channel](P& p) { p.channelLabelClicked(channel); };
}

// Window actions in order, named for test listings.
struct Scenario {
    const char* name;
    std::vector<Action> acts;
};

void PrintTo(const Scenario& row, std::ostream* out) {
    *out << row.name;
}

void play(P& p, const std::vector<Action>& acts) {
    for (const Action& act : acts) {
        act(p);
    }
}

TEST(EditorPresenterStart, FreshWindowShowsStepOneOfTwentyWithChannelOneSelected) {
    const EditorPresenter p;
    const EditorView& v = p.view();
    EXPECT_EQ(v.stepSelectorMin, 1);
    EXPECT_EQ(v.stepSelectorMax, 20);
    EXPECT_EQ(v.stepSelectorPosition, 1);
    EXPECT_EQ(v.stepText, "1");
    EXPECT_EQ(v.countText, "20");
    EXPECT_EQ(v.stepTimeCaption, "Время шага 1000 mS.");
    EXPECT_EQ(v.stepTimeSliderPosition, 100);
    for (int c = 0; c < kChannelCount; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(row(p, c).primaryImage, ButtonImage::Dark);
        EXPECT_EQ(row(p, c).primaryState, ButtonState::Clear);
        EXPECT_FALSE(row(p, c).secondaryVisible);
        EXPECT_EQ(row(p, c).markerVisible, c == 0);
    }
    EXPECT_FALSE(v.detailVisible || v.dimmerSliderVisible || v.levelSliderVisible ||
                 v.stopDimmerVisible || v.timeFromDimmerVisible || v.startBlockChecked);
    EXPECT_EQ(p.focusedPrimaryChannel(), 0);
    EXPECT_EQ(p.model().selectedChannel(), 0);
    EXPECT_FALSE(p.isModified());
}

// The faces of each mode are in the rendering table; here the clicks themselves. Each click
// snapshots the program first, keeps the parameter and selects the clicked channel.
TEST(EditorPresenterChannels, ClicksStepThroughTheModes) {
    using M = ChannelMode;
    constexpr auto kPrimary = ChannelButton::Primary;
    constexpr auto kSecondary = ChannelButton::Secondary;
    const struct {
        ChannelMode from;
        ChannelButton button;
        ChannelMode to;
    } rows[] = {{M::Off, kPrimary, M::On},
                {M::On, kPrimary, M::DimmerDark},
                {M::DimmerDark, kPrimary, M::Off},
                {M::Level, kPrimary, M::Off},
                {M::DimmerLit, kPrimary, M::Off},
                {M::DimmerRamp, kPrimary, M::Off},
                {M::DimmerDark, kSecondary, M::DimmerLit},
                {M::DimmerLit, kSecondary, M::DimmerRamp},
                {M::DimmerRamp, kSecondary, M::DimmerDark}};
    constexpr int kChannel = 7;
    for (const auto& r : rows) {
        SCOPED_TRACE(static_cast<int>(r.from) * 10 + static_cast<int>(r.button));
        EditorPresenter p;
        loadCell(p, kChannel, cellOf(r.from, 5));
        p.refresh(0);
        const ProgramImage before = p.model().working();
        if (r.button == kPrimary) {
            clickPrimary(p, kChannel);
        } else {
            clickSecondary(p, kChannel);
        }
        EXPECT_EQ(cellAt(p, kChannel), cellOf(r.to, 5));
        EXPECT_EQ(p.model().undoImage(), before);
        EXPECT_TRUE(p.isModified());
        EXPECT_TRUE(row(p, kChannel).markerVisible);
        EXPECT_FALSE(row(p, 0).markerVisible);
        EXPECT_EQ(p.model().selectedChannel(), kChannel);
        EXPECT_EQ(p.focusedPrimaryChannel(),
                  r.button == kPrimary ? std::optional(kChannel) : std::nullopt);
    }
}

struct RenderRow {
    int mode;
    ButtonImage primaryImage;
    ButtonState primaryState;
    ButtonImage secondaryImage; // None: still the fresh face
    ButtonState secondaryState;
    bool secondaryVisible;
    bool dimmerDetail;
    bool levelDetail;
};

void PrintTo(const RenderRow& row, std::ostream* out) {
    *out << "mode " << row.mode;
}

class EditorPresenterRendering : public testing::TestWithParam<RenderRow> {};

TEST_P(EditorPresenterRendering, ModeFromAFileRendersByTheTable) {
    const RenderRow& r = GetParam();
    EditorPresenter p;
    constexpr int kCode = 6; // slider position 6, so nothing is rewritten
    const std::uint8_t cell = static_cast<std::uint8_t>((kCode << kParamShift) | r.mode);
    loadCell(p, 9, cell);
    const EditorView& v = p.view();
    EXPECT_EQ(cellAt(p, 9), cell);
    EXPECT_EQ(row(p, 9).primaryImage, r.primaryImage);
    EXPECT_EQ(row(p, 9).primaryState, r.primaryState);
    EXPECT_EQ(row(p, 9).secondaryImage, r.secondaryImage);
    EXPECT_EQ(row(p, 9).secondaryState, r.secondaryState);
    EXPECT_EQ(row(p, 9).secondaryVisible, r.secondaryVisible);
    EXPECT_EQ(v.detailVisible, r.dimmerDetail || r.levelDetail);
    EXPECT_EQ(v.dimmerSliderVisible, r.dimmerDetail);
    EXPECT_EQ(v.timeFromDimmerVisible, r.dimmerDetail);
    EXPECT_EQ(v.levelSliderVisible, r.levelDetail);
    EXPECT_EQ(v.stopDimmerVisible, r.dimmerDetail || r.levelDetail);
    EXPECT_EQ(v.stopDimmerChecked, r.levelDetail);
    if (r.dimmerDetail) {
        EXPECT_EQ(v.detailCaption, "Скорость диммера 10 -го канала: 420 mS.");
        EXPECT_EQ(v.dimmerSliderPosition, 6);
    }
    if (r.levelDetail) {
        EXPECT_EQ(v.detailCaption, "Яркость 10-го канала: 7 ");
        EXPECT_EQ(v.levelSliderPosition, 7);
    }
}

using BI = ButtonImage;
using BS = ButtonState;
INSTANTIATE_TEST_SUITE_P(
    AllModes, EditorPresenterRendering,
    testing::Values(
        RenderRow{0, BI::Dark, BS::Clear, BI::None, BS::Clear, false, false, false},
        RenderRow{1, BI::Lit, BS::Checked, BI::None, BS::Clear, false, false, false},
        RenderRow{2, BI::Ramp, BS::Indeterminate, BI::Dark, BS::Clear, true, true, false},
        RenderRow{3, BI::Ramp, BS::Indeterminate, BI::Ramp, BS::Indeterminate, false, false, true},
        RenderRow{4, BI::Ramp, BS::Indeterminate, BI::Ramp, BS::Indeterminate, false, true, false},
        RenderRow{5, BI::Ramp, BS::Indeterminate, BI::Lit, BS::Checked, true, true, false},
        RenderRow{6, BI::Ramp, BS::Indeterminate, BI::Lit, BS::Checked, true, true, false},
        RenderRow{7, BI::Ramp, BS::Indeterminate, BI::Ramp, BS::Indeterminate, true, true, false}),
    [](const testing::TestParamInfo<RenderRow>& row) {
        return "Mode" + std::to_string(row.param.mode);
    });

TEST(EditorPresenterDetail, DimmerSliderRewritesEveryCodeItCannotShow) {
    // Signed speed code as loaded -> code after the dimmer slider first draws.
    const std::vector<std::pair<int, int>> table = {
        {-16, -10}, {-15, -10}, {-14, -10}, {-13, -10}, {-12, -10}, {-11, -10}, {-10, -10},
        {-9, -9},   {-8, -8},   {-7, -7},   {-6, -6},   {-5, -5},   {-4, -4},   {-3, -3},
        {-2, -2},   {-1, 1},    {0, 1},     {1, 1},     {2, 2},     {3, 3},     {4, 4},
        {5, 5},     {6, 6},     {7, 7},     {8, 8},     {9, 9},     {10, 10},   {11, 11},
        {12, -4},   {13, -3},   {14, -2},   {15, 1}};
    ASSERT_EQ(table.size(), 32U);
    for (const auto& [loaded, shown] : table) {
        SCOPED_TRACE(loaded);
        EditorPresenter p;
        p.model().workingForRead().setCell(1, 3, cellOf(ChannelMode::DimmerRamp, loaded));
        loadCell(p, 4, cellOf(ChannelMode::DimmerRamp, loaded));
        EXPECT_EQ(speedCode(cellAt(p, 4)), shown);
        EXPECT_EQ(modeOf(cellAt(p, 4)), 7);
        EXPECT_EQ(p.view().dimmerSliderPosition, dimmerSliderFromCell(cellAt(p, 4)));
        EXPECT_EQ(p.lastRefreshPasses(), loaded == shown ? 1 : 2);
        // Only the shown channel's slider draws: channel 3 keeps its code until selected.
        EXPECT_EQ(speedCode(cellAt(p, 3)), loaded);
    }
}

TEST(EditorPresenterDetail, EveryBrightnessLevelStaysAsLoaded) {
    for (int level = kLevelSliderMin; level <= kLevelSliderMax; ++level) {
        EditorPresenter p;
        const std::uint8_t cell = cellOf(ChannelMode::Level, level - 1);
        loadCell(p, 0, cell);
        EXPECT_EQ(cellAt(p, 0), cell);
        EXPECT_EQ(p.view().levelSliderPosition, level);
        EXPECT_EQ(p.lastRefreshPasses(), 1);
    }
}

// The detail panel edits the selected channel in place; only the step time it sets is undoable.
TEST(EditorPresenterDetail, PanelControlsWriteTheShownChannel) {
    const struct {
        const char* name;
        std::uint8_t loaded;
        Action act;
        std::uint8_t expected;
        bool levelShown;
        const char* caption; // nullptr: no detail panel
        int stepTime = 100;  // a changed one is snapshotted first
    } rows[] = {
        {"stop dimmer on", cellOf(ChannelMode::DimmerDark, 4),
         [](P& p) { p.stopDimmerClicked(true); }, kStopDimmerCheckedCell, true,
         "Яркость 2-го канала: 16 "},
        // 0xFE carries code -1, which the dimmer slider shows at 11 and rewrites as code 1.
        {"stop dimmer off", kStopDimmerCheckedCell, [](P& p) { p.stopDimmerClicked(false); }, 0x0E,
         false, "Скорость диммера 2 -го канала: 2560 mS."},
        {"brightness", cellOf(ChannelMode::Level, 0), slide(EditorSlider::Brightness, 40),
         cellOf(ChannelMode::Level, 31), true, "Яркость 2-го канала: 32 "},
        {"dimmer speed", cellOf(ChannelMode::DimmerLit, 0), slide(EditorSlider::DimmerSpeed, 12),
         cellOf(ChannelMode::DimmerLit, -2), false, "Скорость диммера 2 -го канала: 5120 mS."},
        {"brightness while hidden", 0, slide(EditorSlider::Brightness, 30), 0, false, nullptr},
        {"dimmer speed while hidden", 0, slide(EditorSlider::DimmerSpeed, 3), 0, false, nullptr},
        {"time from dimmer", cellOf(ChannelMode::DimmerLit, -2), &P::timeFromDimmerClicked,
         cellOf(ChannelMode::DimmerLit, -2), false, "Скорость диммера 2 -го канала: 5120 mS.", 512},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EditorPresenter p;
        loadCell(p, 1, r.loaded);
        const ProgramImage before = p.model().working();
        r.act(p);
        EXPECT_EQ(cellAt(p, 1), r.expected);
        EXPECT_EQ(p.view().detailVisible, r.caption != nullptr);
        if (r.caption != nullptr) {
            EXPECT_EQ(p.view().detailCaption, r.caption);
            EXPECT_EQ(p.view().levelSliderVisible, r.levelShown);
            EXPECT_EQ(p.view().dimmerSliderVisible, !r.levelShown);
            EXPECT_EQ(p.view().timeFromDimmerVisible, !r.levelShown);
            EXPECT_EQ(p.view().stopDimmerChecked, r.levelShown);
        }
        EXPECT_EQ(p.model().working().stepTime(1), r.stepTime);
        EXPECT_EQ(p.view().stepTimeCaption,
                  "Время шага " + std::to_string(r.stepTime * 10) + " mS.");
        EXPECT_EQ(p.model().undoImage(), r.stepTime == 100 ? ProgramImage::startProgram() : before);
    }
}

// Navigation and count changes keep the current step inside the selector's range; the arrows
// act on the step whatever has focus; a step time the slider cannot show is clamped as it draws.
TEST(EditorPresenterSteps, StepNavigationCountAndTime) {
    const Action right = press(ArrowKey::Right);
    const Action left = press(ArrowKey::Left);
    const Action up = press(ArrowKey::Up);
    const auto time = [](int units) { return slide(EditorSlider::StepTime, units); };
    // Stored behind the presenter's back, as a file read would.
    const auto stored = [](int step, std::uint16_t units) {
        return [step, units](P& p) { p.model().workingForRead().setStepTime(step, units); };
    };
    const auto at = [](int step) { return slide(EditorSlider::StepSelector, step); };
    const struct {
        int step;
        int count;
        bool snapshot;
        std::optional<int> passes;
        Scenario scenario;
        int stepTime = 100; // a changed one is snapshotted first
    } rows[] = {
        {2, 20, false, {}, {"arrows", {right, right, left}}},
        {1, 20, false, 0, {"left at step one is refused", {left}}},
        {20, 20, false, {}, {"selector past the end", {at(25)}}},
        {19, 19, true, 2, {"delete the last step", {at(20), &P::deleteStepClicked}}},
        {10, 10, false, {}, {"count below the step", {at(15), countBy(-10)}}},
        {10, 11, false, {}, {"count up again", {at(15), countBy(-10), countBy(+1)}}},
        {4, 21, true, {}, {"insert", {at(3), &P::insertStepClicked}}},
        {3, 20, true, {}, {"undo an insert", {at(3), &P::insertStepClicked, &P::undoClicked}}},
        {1, 20, false, {}, {"time arrows", {up, up, press(ArrowKey::Down)}}, 101},
        {1, 20, false, {}, {"time slider below the range", {time(3)}}, 5},
        {1, 20, false, {}, {"time slider", {time(777)}}, 777},
        {2, 20, false, 2, {"time 0 raised", {stored(2, 0), right}}, 5},
        {2, 20, false, 2, {"time 4 raised", {stored(2, 4), right}}, 5},
        {2, 20, false, 1, {"time 5 kept", {stored(2, 5), right}}, 5},
        {2, 20, false, 1, {"time 2560 kept", {stored(2, 2560), right}}, 2560},
        {2, 20, false, 2, {"time 2561 lowered", {stored(2, 2561), right}}, 2560},
        {2, 20, false, 2, {"time 65535 lowered", {stored(2, 65535), right}}, 2560},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.scenario.name);
        EditorPresenter p;
        p.setFocus(std::nullopt); // a slider has focus: the arrows still step
        play(p, r.scenario.acts);
        EXPECT_EQ(p.model().currentStep(), r.step);
        EXPECT_EQ(p.view().stepSelectorPosition, r.step);
        EXPECT_EQ(p.view().stepText, std::to_string(r.step));
        EXPECT_EQ(p.view().stepSelectorMax, r.count);
        EXPECT_EQ(p.view().countText, std::to_string(r.count));
        EXPECT_EQ(p.model().working().stepTime(r.step), r.stepTime);
        EXPECT_EQ(p.view().stepTimeSliderPosition, r.stepTime);
        EXPECT_EQ(p.view().stepTimeCaption,
                  "Время шага " + std::to_string(r.stepTime * 10) + " mS.");
        if (!r.snapshot) {
            EXPECT_EQ(p.model().undoImage(), ProgramImage::startProgram());
        }
        if (r.passes) {
            EXPECT_EQ(p.lastRefreshPasses(), *r.passes);
        }
    }
}

TEST(EditorPresenterSteps, RefusedTimeShiftNamesTheFailingStepAndMakesItCurrent) {
    EditorPresenter p;
    p.model().workingForRead().setStepTime(2, 2556);
    const auto longer = p.shiftTimesClicked(true);
    ASSERT_TRUE(longer);
    EXPECT_EQ(p.model().currentStep(), 2);
    EXPECT_EQ(p.model().working().stepTime(1), 100);
    EXPECT_EQ(EditorPresenter::shiftRefusalText(*longer),
              "Время шага номер: 2\nне может быть больше 25,6 секунды!");

    p.model().workingForRead().setStepTime(7, 9);
    const auto shorter = p.shiftTimesClicked(false);
    ASSERT_TRUE(shorter);
    EXPECT_EQ(p.view().stepText, "7");
    EXPECT_EQ(EditorPresenter::shiftRefusalText(*shorter),
              "Время шага номер: 7\nне может быть меньше 0,05 секунды!");

    p.model().workingForRead().setStepTime(2, 100);
    p.model().workingForRead().setStepTime(7, 100);
    EXPECT_FALSE(p.shiftTimesClicked(true));
    EXPECT_EQ(p.view().stepTimeCaption, "Время шага 1050 mS.");
}

TEST(EditorPresenterSteps, StartBlockSetsTheFlagOnlyWithoutRefreshOrSnapshot) {
    EditorPresenter p;
    p.arrowPressed(ArrowKey::Right);
    // Changed behind the presenter's back: a refresh would show it, the start block must not.
    p.model().workingForRead().setStepTime(2, 300);
    EditorView expected = p.view();
    const ProgramImage undoBefore = p.model().undoImage();

    p.startBlockClicked(true);
    EXPECT_EQ(p.model().working().headerWord(), 0x8014);
    expected.startBlockChecked = true;
    EXPECT_EQ(p.view(), expected);
    EXPECT_EQ(p.model().undoImage(), undoBefore);
    EXPECT_EQ(p.lastRefreshPasses(), 0);

    p.refresh();
    EXPECT_EQ(p.view().countText, "20");
    EXPECT_TRUE(p.view().startBlockChecked);
}

TEST(EditorPresenterFocus, TabMovesToTheNextPrimaryButtonInTemplateOrder) {
    using Kind = FocusedControl::Kind;
    struct Row {
        Kind kind;
        int channel;
        bool backwards;
        int reached;
    };
    // In the template an odd-numbered channel's primary button precedes its secondary one and
    // an even-numbered channel's follows it; every other control lies outside the rows.
    const std::vector<Row> rows = {
        {Kind::PrimaryButton, 0, false, 1},
        {Kind::PrimaryButton, 15, false, 0},
        {Kind::PrimaryButton, 0, true, 15},
        {Kind::PrimaryButton, 7, true, 6},
        {Kind::SecondaryButton, 0, false, 1},
        {Kind::SecondaryButton, 0, true, 0},
        {Kind::SecondaryButton, 1, false, 1},
        {Kind::SecondaryButton, 1, true, 0},
        {Kind::SecondaryButton, 14, true, 14},
        {Kind::SecondaryButton, 15, false, 15},
        {Kind::Other, 0, false, 0},
        {Kind::Other, 0, true, 15},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(r.kind) << " " << r.channel
                                          << (r.backwards ? " back" : " forward"));
        EditorPresenter p;
        p.model().workingForRead().setCell(1, r.reached, cellOf(ChannelMode::Level, 2));
        p.setFocus(std::nullopt);
        p.model().selectChannel(8);

        EXPECT_EQ(p.tabPressed({r.kind, r.channel}, r.backwards), r.reached);
        EXPECT_EQ(p.focusedPrimaryChannel(), r.reached);
        EXPECT_EQ(p.model().selectedChannel(), r.reached);
        EXPECT_TRUE(row(p, r.reached).markerVisible);
        EXPECT_EQ(p.view().detailCaption,
                  "Яркость " + std::to_string(r.reached + 1) + "-го канала: 3 ");
    }
}

TEST(EditorPresenterFocus, ClickOnANumberSelectsItsChannelWithoutChangingIt) {
    std::array<MarkerRect, kChannelCount> markers{};
    for (int c = 0; c < kChannelCount; ++c) {
        markers[static_cast<std::size_t>(c)] = {100, 40 + 20 * c, 10, 12};
    }
    const struct {
        PointPx point;
        std::optional<int> channel;
    } rows[] = {{{100, 40}, 0},   {{109, 51}, 0},   {{124, 40}, 0},
                {{125, 40}, {}},  {{99, 40}, {}},   {{110, 52}, {}},
                {{115, 260}, 11}, {{100, 340}, 15}, {{100, 352}, {}}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.point.x * 1000 + r.point.y);
        EXPECT_EQ(EditorPresenter::channelAtPoint(markers, r.point), r.channel);
    }

    EditorPresenter p;
    p.channelLabelClicked(11);
    EXPECT_EQ(p.focusedPrimaryChannel(), 11);
    EXPECT_EQ(p.model().selectedChannel(), 11);
    EXPECT_TRUE(row(p, 11).markerVisible);
    EXPECT_EQ(p.model().working(), ProgramImage::startProgram());
    EXPECT_FALSE(p.isModified());
}

// A read, or a cancelled one, starts again at step 1 and channel 1; no action then moves the
// step outside the program, even one with no steps or with more than the image holds.
TEST(EditorPresenterFiles, ReadReturnsToStepOneAndTheStepStaysWithinTheProgram) {
    const struct {
        std::uint16_t header;
        int max;
        const char* count;
    } rows[] = {{20, 20, "20"}, {5, 5, "5"}, {0, 1, "0"}, {0x7FFF, kMaxSteps, nullptr}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.header);
        EditorPresenter p;
        p.sliderMoved(EditorSlider::StepSelector, 7);
        p.channelLabelClicked(4);
        p.model().workingForRead().setHeaderWord(r.header);
        p.model().workingForRead().setCell(1, 0, cellOf(ChannelMode::DimmerLit, 0));
        p.programRead();
        EXPECT_EQ(p.model().currentStep(), 1);
        EXPECT_EQ(p.model().selectedChannel(), 0);
        EXPECT_TRUE(row(p, 0).markerVisible);
        EXPECT_EQ(p.view().stepText, "1");
        EXPECT_EQ(p.view().stepSelectorMin, 1);
        EXPECT_EQ(p.view().stepSelectorMax, r.max);
        if (r.count != nullptr) {
            EXPECT_EQ(p.view().countText, r.count);
        }
        EXPECT_EQ(speedCode(cellAt(p, 0)), 1);

        p.sliderMoved(EditorSlider::StepSelector, 9999);
        EXPECT_EQ(p.model().currentStep(), r.max);
        EXPECT_EQ(p.view().stepSelectorPosition, r.max);
        EXPECT_EQ(p.lastRefreshPasses(), 1);
        const std::vector<Action> actions = {press(ArrowKey::Left),
                                             press(ArrowKey::Right),
                                             slide(EditorSlider::StepSelector, 0),
                                             slide(EditorSlider::StepSelector, 3),
                                             countBy(-1),
                                             &P::deleteStepClicked,
                                             &P::undoClicked};
        for (const Action& act : actions) {
            act(p);
            EXPECT_GE(p.model().currentStep(), 1);
            EXPECT_LE(p.model().currentStep(), p.view().stepSelectorMax);
            EXPECT_EQ(p.view().stepSelectorPosition, p.model().currentStep());
        }
    }
}

TEST(EditorPresenterFiles, InsertFromFileSnapshotsBeforeTheDialogAndCopiesFromTheImport) {
    EditorPresenter p;
    clickPrimary(p, 0);
    ProgramImage& import = p.model().importForRead();
    import.setStepCount(3);
    import.setCell(2, 6, cellOf(ChannelMode::On, 0));

    const EditorView before = p.view();
    p.importReady();
    EXPECT_EQ(p.lastRefreshPasses(), 0);
    EXPECT_EQ(p.view(), before);
    EXPECT_EQ(p.model().undoImage(), p.model().working());

    p.importCopyConfirmed({2, 2, 21, 22});
    EXPECT_EQ(p.view().stepSelectorMax, 22);
    EXPECT_EQ(modeOf(cellAt(p, 6, 21)), 1);

    p.copyConfirmed({21, 22, 1, 2});
    EXPECT_EQ(row(p, 6).primaryImage, ButtonImage::Lit);
    p.stepTimesConfirmed({1, 30, 250});
    EXPECT_EQ(p.view().countText, "30");
    EXPECT_EQ(p.view().stepTimeCaption, "Время шага 2500 mS.");
}

// On a program full of values the sliders cannot show, every action settles in two passes.
class EditorPresenterRefresh : public testing::TestWithParam<Scenario> {
protected:
    EditorPresenterRefresh() {
        m_presenter.model().workingForRead().setStepCount(400);
        m_presenter.sliderMoved(EditorSlider::StepSelector, 100);
        spoil();
        // Drawn once so the detail panel shows channel 1's dimmer, then spoiled again.
        m_presenter.refresh();
        spoil();
    }

    void spoil() {
        ProgramImage& image = m_presenter.model().workingForRead();
        for (int step = 1; step <= kMaxSteps; ++step) {
            image.setStepTime(step, static_cast<std::uint16_t>(step % 2 == 0 ? 3000 : 1));
            for (int c = 0; c < kChannelCount; ++c) {
                const ChannelMode mode = c % 2 == 0 ? ChannelMode::DimmerLit : ChannelMode::Level;
                image.setCell(step, c, cellOf(mode, step + c));
            }
        }
    }

    EditorPresenter m_presenter;
};

TEST_P(EditorPresenterRefresh, SettlesWithinTwoPasses) {
    play(m_presenter, GetParam().acts);
    EXPECT_LE(m_presenter.lastRefreshPasses(), 2);
    if (m_presenter.lastRefreshPasses() == 0) {
        EXPECT_EQ(std::string(GetParam().name), "Up"); // 3000 units cannot grow: refused
        return;
    }
    const EditorView settled = m_presenter.view();
    m_presenter.refresh();
    EXPECT_EQ(m_presenter.lastRefreshPasses(), 1);
    EXPECT_EQ(m_presenter.view(), settled);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, EditorPresenterRefresh,
    testing::Values(
        Scenario{"Refresh", {[](P& p) { p.refresh(); }}},
        Scenario{"StepSelector", {slide(EditorSlider::StepSelector, 400)}},
        Scenario{"StepTime", {slide(EditorSlider::StepTime, 9999)}},
        Scenario{"Dimmer", {slide(EditorSlider::DimmerSpeed, 20)}},
        Scenario{"Brightness", {label(1), slide(EditorSlider::Brightness, 2)}},
        Scenario{"Primary", {[](P& p) { clickPrimary(p, 3); }}},
        Scenario{"Secondary", {[](P& p) { clickSecondary(p, 3); }}},
        Scenario{"StopDimmer", {[](P& p) { p.stopDimmerClicked(false); }}},
        Scenario{"CountLess10", {countBy(-10)}}, Scenario{"CountMore10", {countBy(+10)}},
        Scenario{"Insert", {&P::insertStepClicked}}, Scenario{"Delete", {&P::deleteStepClicked}},
        Scenario{"Undo", {&P::undoClicked}},
        Scenario{"TimesLonger", {[](P& p) { p.shiftTimesClicked(true); }}},
        Scenario{"TimesShorter", {[](P& p) { p.shiftTimesClicked(false); }}},
        Scenario{"TimeFromDimmer", {label(0), &P::timeFromDimmerClicked}},
        Scenario{"Copy", {[](P& p) {
                     p.copyConfirmed(CopyRange{1, 2, 40, 60});
                 }}},
        Scenario{"StepTimes", {[](P& p) {
                     p.stepTimesConfirmed(StepTimesRange{1, 3, 77});
                 }}},
        Scenario{"ImportCopy", {[](P& p) {
                     p.importCopyConfirmed(CopyRange{1, 2, 5, 9});
                 }}},
        Scenario{"Read", {&P::programRead}},
        Scenario{"Tab", {[](P& p) { p.tabPressed({}, false); }}},
        Scenario{"ShiftTab", {[](P& p) { p.tabPressed({}, true); }}},
        Scenario{"Right", {press(ArrowKey::Right)}}, Scenario{"Left", {press(ArrowKey::Left)}},
        Scenario{"Up", {press(ArrowKey::Up)}}, Scenario{"Down", {press(ArrowKey::Down)}},
        Scenario{"Label", {label(6)}}),
    [](const testing::TestParamInfo<Scenario>& row) { return std::string(row.param.name); });

} // namespace
} // namespace tevra
