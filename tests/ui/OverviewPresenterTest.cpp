#include "ui/OverviewPresenter.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace tevra {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;
using BI = ButtonImage;

constexpr int kParamShift = 3;

class OverviewPresenterTest : public testing::Test {
protected:
    ProgramImage& program() { return m_editor.model().workingForRead(); }

    EditorPresenter m_editor;
    microseconds m_now{0};
    OverviewPresenter m_overview{m_editor, [this] { return m_now; }};
};

struct FaceRow {
    int mode;
    CellFace face;
    const char* words;
    const char* detail; // the editor's caption for the channel, or nullptr
    const char* lampText;
};

void PrintTo(const FaceRow& row, std::ostream* out) {
    *out << "mode " << row.mode;
}

class OverviewFaces : public OverviewPresenterTest, public testing::WithParamInterface<FaceRow> {};

// Speed code 6 (420 ms) for the dimmers, level 7 for Level; the faces are the editor's
// buttons, the secondary one only where the editor shows it.
TEST_P(OverviewFaces, EachModeShowsTheEditorsFacesAndWords) {
    const FaceRow& r = GetParam();
    const auto cell = static_cast<std::uint8_t>((6 << kParamShift) | r.mode);
    program().setCell(3, 8, cell);
    m_editor.stepAndChannelChosen(3, 0);

    EXPECT_EQ(OverviewPresenter::cellFace(cell), r.face);
    std::string tip = std::string("Шаг 3, Канал 9\nВремя шага 1000 mS.\n") + r.words;
    if (r.detail != nullptr) {
        tip += std::string("\n") + r.detail;
    }
    EXPECT_EQ(m_overview.toolTip({3, 8}), tip);
    EXPECT_EQ(m_overview.lamps()[8], (LampView{r.face, r.lampText}));
    EXPECT_EQ(m_overview.lamps()[7], LampView{});
}

// The detail caption and lamp text of every dimmer row.
constexpr const char* kDimmerCaption = "Скорость диммера 9 -го канала: 420 mS.";
constexpr const char* kDimmerTime = "420 mS";

INSTANTIATE_TEST_SUITE_P(
    AllModes, OverviewFaces,
    testing::Values(
        FaceRow{0, {BI::Dark, BI::None, 0}, "Выключен", nullptr, ""},
        FaceRow{1, {BI::Lit, BI::None, 0}, "Включен", nullptr, ""},
        FaceRow{2, {BI::Ramp, BI::Dark, 0}, "Диммер: тёмный", kDimmerCaption, kDimmerTime},
        FaceRow{3, {BI::Ramp, BI::None, 7}, "Стоп диммер", "Яркость 9-го канала: 7 ", ""},
        FaceRow{4, {BI::Ramp, BI::None, 0}, "Диммер: режим 4", kDimmerCaption, kDimmerTime},
        FaceRow{5, {BI::Ramp, BI::Lit, 0}, "Диммер: режим 5", kDimmerCaption, kDimmerTime},
        FaceRow{6, {BI::Ramp, BI::Lit, 0}, "Диммер: светлый", kDimmerCaption, kDimmerTime},
        FaceRow{7, {BI::Ramp, BI::Ramp, 0}, "Диммер: волна", kDimmerCaption, kDimmerTime}),
    [](const testing::TestParamInfo<FaceRow>& row) {
        return "Mode" + std::to_string(row.param.mode);
    });

TEST_F(OverviewPresenterTest, HeaderAndLabelTexts) {
    program().setStepTime(4, 2560);
    EXPECT_EQ(OverviewPresenter::headerNumber(4), "4");
    EXPECT_EQ(m_overview.headerTime(4), "25600");
    EXPECT_EQ(m_overview.toolTip({4, {}}), "Шаг 4\nВремя шага 25600 mS.");
    EXPECT_EQ(m_overview.toolTip({{}, 15}), "Канал 16");
    EXPECT_EQ(m_overview.toolTip({}), "");
}

// A click moves the editor as its step selector and a click on a channel's number would: the
// program and the undo image stay as they are, and the editor refreshes once.
TEST_F(OverviewPresenterTest, AClickMovesTheEditorsStepAndChannel) {
    const struct {
        const char* name;
        GridHit hit;
        bool refreshed;
        int step;
        int channel;
        std::optional<int> focus;
    } rows[] = {
        {"cell", {7, 11}, true, 7, 11, 11},
        {"header keeps the channel", {9, {}}, true, 9, 2, 2},
        {"number keeps the step", {{}, 5}, true, 3, 5, 5},
        {"beyond the count", {25, 0}, true, 20, 0, 0},
        {"outside", {}, false, 3, 2, 2},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        m_editor.stepAndChannelChosen(3, 2);
        m_editor.channelButtonClicked(4, ChannelButton::Secondary, ButtonState::Checked);
        m_editor.channelLabelClicked(2);
        const ProgramImage working = m_editor.model().working();
        const ProgramImage undo = m_editor.model().undoImage();

        EXPECT_EQ(m_overview.clicked(r.hit), r.refreshed);
        EXPECT_EQ(m_overview.currentStep(), r.step);
        EXPECT_EQ(m_overview.selectedChannel(), r.channel);
        EXPECT_EQ(m_editor.view().stepText, std::to_string(r.step));
        EXPECT_TRUE(m_editor.view().channels[static_cast<std::size_t>(r.channel)].markerVisible);
        EXPECT_EQ(m_editor.focusedPrimaryChannel(), r.focus);
        if (r.refreshed) {
            EXPECT_EQ(m_editor.lastRefreshPasses(), 1);
        }
        EXPECT_EQ(m_editor.model().working(), working);
        EXPECT_EQ(m_editor.model().undoImage(), undo);
    }
}

TEST_F(OverviewPresenterTest, LeftAndRightStepAsInTheEditor) {
    const struct {
        ArrowKey key;
        int from;
        int to;
        bool refreshed;
    } rows[] = {{ArrowKey::Right, 1, 2, true},
                {ArrowKey::Left, 1, 1, false},
                {ArrowKey::Up, 5, 5, false}}; // the step time stays
    for (const auto& r : rows) {
        m_editor.stepAndChannelChosen(r.from, std::nullopt);
        EXPECT_EQ(m_overview.arrowPressed(r.key), r.refreshed);
        EXPECT_EQ(m_overview.currentStep(), r.to);
    }
    EXPECT_EQ(program().stepTime(5), 100);
}

TEST_F(OverviewPresenterTest, ColumnsFollowTheProgramAndTheTimeToggle) {
    m_editor.countButtonClicked(10);
    program().setStepTime(2, 250);
    m_overview.refresh();
    EXPECT_EQ(m_overview.layout().columnCount(), 30);
    EXPECT_EQ(m_overview.layout().width(), 30 * 40);
    m_overview.setColumnsByTime(true);
    EXPECT_TRUE(m_overview.columnsByTime());
    EXPECT_EQ(m_overview.layout().width(), 29 * 40 + 100);
    EXPECT_EQ(m_overview.layout().columnLeft(3), 140);
}

// Buttons, status line and lamps through a whole play: the status counts program time, the
// lamps show the playing step's cells as they were when it began.
TEST_F(OverviewPresenterTest, PlaybackDrivesTheStatusLampsAndButtons) {
    program().setStepTime(1, 6000); // 60 s, longer than the editor sets: from a file
    program().setCell(2, 0, 1);
    m_editor.stepAndChannelChosen(2, 0);
    const struct {
        const char* name;
        void (OverviewPresenter::*press)();
        milliseconds at;
        PlaybackState state;
        PlaybackControls controls;
        const char* status;
        BI lamp;
    } rows[] = {
        {"stopped",
         nullptr,
         milliseconds{0},
         PlaybackState::Stopped,
         {true, false, false},
         "Шаг 2 из 20, время 1:00,0 из 1:19,0",
         BI::Lit},
        {"play",
         &OverviewPresenter::playPressed,
         milliseconds{0},
         PlaybackState::Playing,
         {false, true, true},
         "Шаг 2 из 20, время 1:00,0 из 1:19,0",
         BI::Lit},
        {"into step 2",
         nullptr,
         milliseconds{250},
         PlaybackState::Playing,
         {false, true, true},
         "Шаг 2 из 20, время 1:00,2 из 1:19,0",
         BI::Lit},
        {"space pauses",
         &OverviewPresenter::playPausePressed,
         milliseconds{999},
         PlaybackState::Paused,
         {true, false, true},
         "Шаг 2 из 20, время 1:00,9 из 1:19,0",
         BI::Lit},
        {"paused long",
         nullptr,
         milliseconds{9000},
         PlaybackState::Paused,
         {true, false, true},
         "Шаг 2 из 20, время 1:00,9 из 1:19,0",
         BI::Lit},
        {"space plays",
         &OverviewPresenter::playPausePressed,
         milliseconds{9000},
         PlaybackState::Playing,
         {false, true, true},
         "Шаг 2 из 20, время 1:00,9 из 1:19,0",
         BI::Lit},
        {"step 3",
         nullptr,
         milliseconds{9001},
         PlaybackState::Playing,
         {false, true, true},
         "Шаг 3 из 20, время 1:01,0 из 1:19,0",
         BI::Dark},
        // Stopped, the lamps show the current step as it is now.
        {"stop",
         &OverviewPresenter::stopPressed,
         milliseconds{9500},
         PlaybackState::Stopped,
         {true, false, false},
         "Шаг 2 из 20, время 1:00,0 из 1:19,0",
         BI::Dark},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        m_now = r.at;
        if (r.press != nullptr) {
            (m_overview.*r.press)();
        }
        m_overview.tick();
        if (std::string(r.name) == "into step 2") {
            program().setCell(2, 0, 0); // shows from the next step on
        }
        EXPECT_EQ(m_overview.playbackState(), r.state);
        EXPECT_EQ(m_overview.controls(), r.controls);
        EXPECT_EQ(m_overview.statusText(), r.status);
        EXPECT_EQ(m_overview.lamps()[0].face.primary, r.lamp);
    }
}

TEST_F(OverviewPresenterTest, StatusCountsHoursAndAProgramWithoutStepsCannotPlay) {
    program().setStepCount(kMaxSteps);
    for (int step = 1; step <= kMaxSteps; ++step) {
        program().setStepTime(step, kMaxStepTime);
    }
    m_overview.speedChosen(PlaybackSpeed::Quadruple);
    EXPECT_EQ(m_overview.speed(), PlaybackSpeed::Quadruple);
    EXPECT_EQ(m_overview.statusText(), "Шаг 1 из 500, время 0:00,0 из 3:33:20,0");

    program().setStepCount(0);
    EXPECT_EQ(m_overview.controls(), (PlaybackControls{false, false, false}));
    m_overview.playPressed();
    EXPECT_EQ(m_overview.playbackState(), PlaybackState::Stopped);
    EXPECT_EQ(m_overview.statusText(), "Шаг 1 из 0, время 0:00,0 из 0:00,0");
}

} // namespace
} // namespace tevra
